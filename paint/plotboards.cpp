#include "plotboards.h"

#include "plotform.h"

namespace quor {

tplotboards::tplotboards(tsession& s, tdialogs& dialogs, tvarlist& globals)
    : windows_(s, dialogs, tplotflavour::plotter)
{
    windows_.setglobals(globals);
}

std::int32_t tplotboards::createplotwindow(const std::string& expr, const std::string& varname, tvarlist& vars,
                                           tfunclist* funcs, tmemo* memo)
{
    return windows_.createplotwindow(expr, varname, vars, funcs, memo);
}

void tplotboards::showplotwindow(std::int32_t handle) { windows_.showplotwindow(handle); }

std::int32_t tplotboards::getdc(std::int32_t handle) { return windows_.getdc(handle); }

std::int32_t tplotboards::showwnd(std::int32_t handle, std::int32_t mode) { return windows_.showwnd(handle, mode); }

std::int32_t tplotboards::setwndtext(std::int32_t handle, const std::string& text)
{
    return windows_.setwndtext(handle, text);
}

std::vector<tboards::tboard> tplotboards::list() const
{
    std::vector<tboard> out;
    for (Tcostructform* w : windows_.windows()) out.push_back({w->handle(), w->windowTitle(), w->isVisible()});
    return out;
}

bool tplotboards::destroy(std::int32_t handle) { return windows_.destroy(handle); }

void tplotboards::destroyall() { windows_.destroyall(); }

}  // namespace quor
