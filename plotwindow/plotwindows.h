#pragma once
// The open plot windows of a desktop program: made for the plot command and the plotter's
// draw button, addressed by handle through the window commands, listed by the board manager.
#include <cstdint>
#include <string>
#include <vector>

#include "windowhost.h"

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

    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, tvarlist& vars,
                                  tfunclist* funcs, tmemo* memo) override;
    void showplotwindow(std::int32_t handle) override;
    std::int32_t getdc(std::int32_t handle) override;
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override;
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override;

    // The live plot windows in opening order (hidden ones included).
    std::vector<Tcostructform*> windows() const;
    // The window of a handle, or null.
    Tcostructform* find(std::int32_t handle) const;
    // Destroys one window (the board manager's clear); false for an unknown handle.
    bool destroy(std::int32_t handle);
    // Destroys every window (program end).
    void destroyall();
};

}  // namespace quor
