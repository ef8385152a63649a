#pragma once
// The plot windows a desktop host opens for the plot command and addresses with the
// window commands. The plot window layer implements it; the Qt host hands these calls on.
#include <cstdint>
#include <string>

#include "enginefwd.h"

namespace quor {

class twindowhost {
public:
    virtual ~twindowhost() = default;
    // As thost::createplotwindow: a new window's handle, 0 when none could be made.
    virtual std::int32_t createplotwindow(const std::string& expr, const std::string& varname,
                                          tvarlist& vars, tfunclist* funcs, tmemo* memo) = 0;
    // As thost::showplotwindow: first size, sampling, shown.
    virtual void showplotwindow(std::int32_t handle) = 0;
    // The three window commands, as thost's.
    virtual std::int32_t getdc(std::int32_t handle) = 0;
    virtual std::int32_t showwnd(std::int32_t handle, std::int32_t mode) = 0;
    virtual std::int32_t setwndtext(std::int32_t handle, const std::string& text) = 0;
};

}  // namespace quor
