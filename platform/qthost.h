#pragma once
// The engine's host in the desktop programs: boxes and dialogs through tdialogs, plot
// windows and window commands through a twindowhost, and pending window events handled
// between statements, at most once per eventinterval of run time.
#include <cstdint>
#include <functional>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "dialogs.h"
#include "host.h"

namespace quor {

class twindowhost;

class tqthost : public thost {
public:
    // Milliseconds of run time between two rounds of pending events.
    static constexpr std::int64_t eventinterval = 10;

    // caption is the program's title, the caption of its message boxes.
    tqthost(tdialogs& dialogs, QString caption);

    // Plot windows and window commands go to windows (none: no windows are made).
    void setwindows(twindowhost* windows) { windows_ = windows; }
    // The window boxes belong to (may be null).
    void setowner(QWidget* owner) { owner_ = owner; }
    // Tests replace the monotonic millisecond clock and the event pump.
    void setclock(std::function<std::int64_t()> clock) { clock_ = std::move(clock); }
    void setpump(std::function<void()> pump) { pump_ = std::move(pump); }

    void showmessage(const std::string& text) override;
    bool inputbox(const std::string& caption, const std::string& prompt, const std::string& deflt,
                  std::string& answer) override;
    tanswer question(const std::string& caption, const std::string& text) override;
    bool openfile(const std::string& dir, const std::string& pattern, std::string& path) override;
    // Runs the pump when eventinterval has passed since it last ran (or never ran).
    void processevents() override;
    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, tvarlist& vars,
                                  tfunclist* funcs, tmemo* memo) override;
    void showplotwindow(std::int32_t handle) override;
    std::int32_t getdc(std::int32_t handle) override;
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override;
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override;
    void errorreport(const std::string& text) override;

    tdialogs& dialogs() { return dialogs_; }

private:
    tdialogs& dialogs_;
    QString caption_;
    twindowhost* windows_ = nullptr;
    QPointer<QWidget> owner_;
    std::function<std::int64_t()> clock_;
    std::function<void()> pump_;
    std::int64_t lastpump_ = 0;
    bool pumped_ = false;
};

// Milliseconds of a monotonic clock.
std::int64_t monotonicms();

}  // namespace quor
