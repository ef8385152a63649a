#pragma once
// The plotter's plot windows: real windows of the plot window layer.
#include "boards.h"
#include "plotwindows.h"

namespace quor {

class tplotboards : public tboards {
public:
    // Windows evaluate with s and ask through dialogs; a window made over another list
    // than globals works on a copy of it.
    tplotboards(tsession& s, tdialogs& dialogs, tvarlist& globals);

    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, tvarlist& vars,
                                  tfunclist* funcs, tmemo* memo) override;
    void showplotwindow(std::int32_t handle) override;
    std::int32_t getdc(std::int32_t handle) override;
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override;
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override;
    std::vector<tboard> list() const override;
    bool destroy(std::int32_t handle) override;
    void destroyall() override;

    tplotwindows& windows() { return windows_; }

private:
    tplotwindows windows_;
};

}  // namespace quor
