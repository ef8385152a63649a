#pragma once
// The runner's plotting side: headless plot windows. It lives in a module of its own
// (libquorplots.so, beside the executable) that the runner loads on first use, so that runs
// which draw nothing never load the graphics libraries.
#include <cstdint>
#include <string>
#include <vector>

#include "enginefwd.h"

namespace quorcli {

struct tpicture {
    int number;            // 1, 2, ... in opening order
    std::string caption;
    std::string path;
    std::string fault;   // why it was not written, "" when it was
};

class tplotside {
public:
    virtual ~tplotside() = default;
    // A board for expr over varname, evaluating against vars; its handle (0 when none).
    virtual std::int32_t create(const std::string& expr, const std::string& varname, quor::tvarlist& vars,
                                quor::tfunclist* funcs, quor::tmemo* memo) = 0;
    // Sets the board up and samples it; false when that failed and the board is gone.
    virtual bool show(std::int32_t handle) = 0;
    // The three window commands on boards (getdc of 0 is the screen's context).
    virtual std::int32_t getdc(std::int32_t handle) = 0;
    virtual std::int32_t showwnd(std::int32_t handle, std::int32_t mode) = 0;
    virtual std::int32_t setwndtext(std::int32_t handle, const std::string& text) = 0;
    // Writes every open board as DIR/plot-N.png, in opening order.
    virtual std::vector<tpicture> writeall(const std::string& dir) = 0;
};

}  // namespace quorcli

// The module's entry points, looked up by name.
extern "C" {
// A plotting side whose boards evaluate against globals in session s.
quorcli::tplotside* quor_openplotside(quor::tvarlist& globals, quor::tsession& s);
// `quor plot ARGS...`; returns the exit status.
int quor_plotcommand(const std::vector<std::string>& args);
}
