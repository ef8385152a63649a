#pragma once
// The Quor interpreter behind the Jupyter protocol: one long session, a cell at a time.
#include <atomic>
#include <string>

#include <xeus/xinterpreter.hpp>

#include "funclist.h"
#include "kernelhost.h"
#include "outlet.h"
#include "session.h"
#include "variables.h"

namespace quorkernel {

class tinterpreter : public xeus::xinterpreter, private toutlet {
public:
    tinterpreter();
    // Asks the running cell to stop before its next statement (from the thread that takes
    // interrupts); nothing when no cell runs.
    void interrupt()
    {
        if (running_.load()) session_.stoprequested = true;
    }

private:
    void configure_impl() override;
    nl::json execute_request_impl(int execution_counter, const std::string& code, bool silent, bool store_history,
                                  nl::json user_expressions, bool allow_stdin) override;
    nl::json complete_request_impl(const std::string& code, int cursor_pos) override;
    nl::json inspect_request_impl(const std::string& code, int cursor_pos, int detail_level) override;
    nl::json is_complete_request_impl(const std::string& code) override;
    nl::json kernel_info_request_impl() override;
    void shutdown_request_impl() override {}

    // The cell's output, sent on the protocol's channels.
    void stream(const std::string& name, const std::string& text) override;
    void display(const nl::json& data, const nl::json& metadata, const std::string& id, bool update) override;
    bool ask(const std::string& prompt, std::string& answer) override;

    // The cell failed: the error is published and its reply made.
    nl::json failed(const std::string& name, const std::string& value);

    quor::tvarlist vars_{"global", 2};
    quor::tfunclist funcs_{"quor", 2};
    tkernelhost host_;
    quor::tsession session_;
    std::string tablefault_;   // why the name tables could not be loaded, "" when they were
    bool silent_ = false;
    std::atomic<bool> running_{false};   // a cell is being run
};

}  // namespace quorkernel
