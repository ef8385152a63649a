#pragma once
// Headless boards seen as the runner's plotting side (inside the plotting module).
#include "headlessplots.h"
#include "plotside.h"

namespace quorcli {

class tboardside : public tplotside {
public:
    tboardside(quor::tvarlist& globals, quor::tsession& s) : plots_(globals, s) {}

    std::int32_t create(const std::string& expr, const std::string& varname, quor::tvarlist& vars,
                        quor::tfunclist* funcs, quor::tmemo* memo) override
    {
        return plots_.create(expr, varname, vars, funcs, memo);
    }
    bool show(std::int32_t handle) override { return plots_.show(handle); }
    std::int32_t getdc(std::int32_t handle) override { return plots_.registry().getdc(handle); }
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override { return plots_.registry().showwnd(handle, mode); }
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override
    {
        return plots_.registry().setwndtext(handle, text);
    }
    std::vector<tpicture> writeall(const std::string& dir) override
    {
        std::vector<tpicture> out;
        for (const auto& p : plots_.writeall(dir)) out.push_back(tpicture{p.number, p.caption, p.path, p.fault});
        return out;
    }
    quor::theadlessplots& boards() { return plots_; }

private:
    quor::theadlessplots plots_;
};

}  // namespace quorcli
