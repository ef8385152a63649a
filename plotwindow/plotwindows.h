#pragma once
// The open plot windows of a desktop program: made for the plot command and the plotter's
// draw button, addressed by handle through the window commands, listed by the board manager.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "plotregistry.h"
#include "windowhost.h"

class QDialog;

namespace quor {

class Tcostructform;
class tdialogs;

// Where the windows differ between the two programs.
enum class tplotflavour {
    editor,   // new plots without axes; the editor's wording of the exit question
    plotter,  // new plots with axes; the plotter's wording
};

class tplotwindows : public twindowhost {
public:
    // Windows evaluate with s (host, dialect) and show their boxes through dialogs.
    tplotwindows(tsession& s, tdialogs& dialogs, tplotflavour flavour);
    ~tplotwindows() override;
    tplotwindows(const tplotwindows&) = delete;
    tplotwindows& operator=(const tplotwindows&) = delete;

    // The program's global variable list. A window made over any other list (a user
    // call's temporary one, which ends with the call) evaluates against a copy of it.
    // Unset, only lists named "temp" are copied.
    void setglobals(tvarlist& globals) { globals_ = &globals; }

    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, tvarlist& vars,
                                  tfunclist* funcs, tmemo* memo) override;
    void showplotwindow(std::int32_t handle) override;
    std::int32_t getdc(std::int32_t handle) override;
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override;
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override;

    // The live plot windows in opening order (hidden ones included, ones made but never
    // shown left out).
    std::vector<Tcostructform*> windows() const;
    // The window of a handle, or null.
    Tcostructform* find(std::int32_t handle) const;
    // Destroys one window (the board manager's clear); false for an unknown handle. A
    // window whose board is sampling goes when the sampling has ended.
    bool destroy(std::int32_t handle);
    // Destroys every window (program end).
    void destroyall();

    // The board of a live window, or null.
    tplotboard* board(std::int32_t handle) const;
    tdialogs& dialogs() const { return dialogs_; }
    tplotflavour flavour() const { return flavour_; }
    tsession& session() const { return session_; }
    // Runs a modal dialog of a plot window and gives its result; exec() unless replaced
    // (tests answer the dialogs without waiting).
    std::function<int(QDialog&)> runmodal;

    // Marks a window's board as in use for the life of the guard: its window and board
    // are then only destroyed after the guard ends. An evaluating guard (the board samples
    // or evaluates) makes the window refuse other board actions meanwhile and counts for
    // the limit on plots opened inside samplings.
    class tbusy {
    public:
        tbusy(tplotwindows& windows, std::int32_t handle, bool evaluating = true);
        ~tbusy();
        tbusy(const tbusy&) = delete;
        tbusy& operator=(const tbusy&) = delete;

    private:
        tplotwindows& windows_;
        std::int32_t handle_;
        bool evaluating_;
    };
    // True while an evaluating guard of the handle lives.
    bool evaluating(std::int32_t handle) const;

    // Called by a window whose object is going away (its owner went): the board follows
    // as soon as it is no longer in use.
    void windowgone(std::int32_t handle);

private:
    struct tentry {
        QPointer<Tcostructform> window;
        std::string expr, varname;
        tvarlist* vars = nullptr;
        std::unique_ptr<tvarlist> copy;   // a call's list, copied when the window is shown
        bool shown = false;
        int busy = 0;
        int evaluating = 0;
        bool doomed = false;              // destroyed while busy: goes when the guards end
    };
    tentry* entry(std::int32_t handle) const;
    // Removes a doomed entry's board and window once nothing uses them.
    void finish(std::int32_t handle);

    tsession& session_;
    tdialogs& dialogs_;
    tplotflavour flavour_;
    tvarlist* globals_ = nullptr;
    tplotregistry registry_;
    std::map<std::int32_t, std::unique_ptr<tentry>> entries_;
    std::vector<std::int32_t> order_;   // handles in opening order
    int sampling_ = 0;                  // guards alive right now
    bool closing_ = false;
};

}  // namespace quor
