#pragma once
// Loads the plotting module on first use and forwards to it.
#include <memory>

#include "plotside.h"

namespace quorcli {

class tplotloader : public tplotside {
public:
    tplotloader(quor::tvarlist& globals, quor::tsession& s);
    ~tplotloader() override;

    // True once a plot window was asked for (the module is then loaded).
    bool loaded() const { return side_ != nullptr; }

    std::int32_t create(const std::string& expr, const std::string& varname, quor::tvarlist& vars,
                        quor::tfunclist* funcs, quor::tmemo* memo) override;
    bool show(std::int32_t handle) override;
    std::int32_t getdc(std::int32_t handle) override;
    std::int32_t showwnd(std::int32_t handle, std::int32_t mode) override;
    std::int32_t setwndtext(std::int32_t handle, const std::string& text) override;
    std::vector<tpicture> writeall(const std::string& dir) override;

private:
    // The module's side, loaded now if needed; null (after one complaint) when it cannot be.
    tplotside* side();
    quor::tvarlist& globals_;
    quor::tsession& session_;
    tplotside* side_ = nullptr;
    bool failed_ = false;
};

// `quor plot ARGS...` through the module; 1 with a message when it cannot be loaded.
int runplotcommand(const std::vector<std::string>& args);

}  // namespace quorcli
