#pragma once
// A program's worth of plot windows for tests: a host that hands plot windows and window
// commands to them and can run code between statements, scripted dialogs, and a queue of
// answers for the windows' modal dialogs.
#include <deque>
#include <functional>
#include <ostream>

#include <QApplication>
#include <QDialog>

#include "fixture.h"
#include "plotform.h"
#include "plotwindows.h"
#include "scripteddialogs.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace quortest {

class windowhost : public scriptedhost {
public:
    quor::tplotwindows* windows = nullptr;
    // Run before each statement, as pending events would be.
    std::function<void()> pump;

    void processevents() override
    {
        ++processed;
        if (pump) pump();
    }
    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, quor::tvarlist& vars,
                                  quor::tfunclist* funcs, quor::tmemo* memo) override
    {
        return windows->createplotwindow(expr, varname, vars, funcs, memo);
    }
    void showplotwindow(std::int32_t handle) override { windows->showplotwindow(handle); }
    std::int32_t getdc(std::int32_t handle) override { return windows->getdc(handle); }
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override { return windows->showwnd(handle, mode); }
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override
    {
        return windows->setwndtext(handle, text);
    }
};

struct program {
    explicit program(quor::tplotflavour flavour = quor::tplotflavour::plotter)
        : session(host, flavour == quor::tplotflavour::plotter ? quor::tdialect::plotter : quor::tdialect::editor),
          vars("global", 2), funcs("test", 2), windows(session, dialogs, flavour)
    {
        funcs.mathnames = mathtable();
        funcs.commandnames = commandtable();
        funcs.apinames = apitable();
        funcs.stringnames = stringtable();
        host.windows = &windows;
        windows.setglobals(vars);
        windows.runmodal = [this](QDialog& d) {
            if (modal.empty()) return int(QDialog::Rejected);
            auto answer = modal.front();
            modal.pop_front();
            return answer(d);
        };
    }
    ~program() { flush(); }

    windowhost host;
    quor::tsession session;
    quor::tvarlist vars;
    quor::tfunclist funcs;
    scripteddialogs dialogs;
    quor::tplotwindows windows;
    // Answers for the modal dialogs, in order; none left rejects.
    std::deque<std::function<int(QDialog&)>> modal;

    // Opens a plot window as the plotter's draw button does; null when it closed at once.
    quor::Tcostructform* open(const std::string& expr, const std::string& var = "x", quor::tmemo* memo = nullptr)
    {
        const std::int32_t h = windows.createplotwindow(expr, var, vars, &funcs, memo ? memo : &host);
        windows.showplotwindow(h);
        return windows.find(h);
    }
    std::string exec(const std::string& text) { return quor::execstatement(text, vars, funcs, &host, session); }
    // Lets deferred deletions and other posted events happen.
    static void flush()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
};

}  // namespace quortest
