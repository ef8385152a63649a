#include "interpreter.h"

#include <xeus/xhelper.hpp>
#include <xeus/xinput.hpp>

#include "cell.h"
#include "datadirs.h"
#include "fault.h"
#include "funcstore.h"
#include "help.h"
#include "units.h"

#ifndef QUOR_DATADIR
#define QUOR_DATADIR "/usr/local/share/quor"
#endif
#ifndef QUOR_VERSION
#define QUOR_VERSION "0"
#endif

namespace quorkernel {

tinterpreter::tinterpreter() : host_(vars_, session_), session_(host_, quor::tdialect::editor)
{
    // Statements are counted (with no reachable limit) so that an input refused twice
    // with no statement between, a box asking again and again, can be told apart.
    session_.steplimit = std::int64_t(1) << 62;
    xeus::register_interpreter(this);
}

void tinterpreter::configure_impl()
{
    // Tables come from the notebook's folder (the kernel's working folder), else the data folders.
    funcs_.basedir = ".";
    try {
        quor::loadnametables(funcs_, quor::datadirs(QUOR_DATADIR), session_.dialect);
        tablefault_ = quor::nametablewarning(funcs_);
    } catch (const std::exception& e) {
        tablefault_ = e.what();
    }
}

void tinterpreter::stream(const std::string& name, const std::string& text)
{
    if (!silent_) publish_stream(name, text);
}

void tinterpreter::display(const nl::json& data, const nl::json& metadata, const std::string& id, bool update)
{
    if (silent_) return;
    nl::json transient = nl::json::object();
    if (!id.empty()) transient["display_id"] = id;
    if (update) update_display_data(data, metadata, transient);
    else display_data(data, metadata, transient);
}

bool tinterpreter::ask(const std::string& prompt, std::string& answer)
{
    answer = xeus::blocking_input_request(prompt, false);
    return true;
}

nl::json tinterpreter::failed(const std::string& name, const std::string& value)
{
    const std::vector<std::string> trace{name + ": " + value};
    if (!silent_) publish_execution_error(name, value, trace);
    // xeus 2.4 fills the reply's ename from its second argument and evalue from its first.
    return xeus::create_error_reply(value, name, trace);
}

nl::json tinterpreter::execute_request_impl(int, const std::string& code, bool silent, bool, nl::json,
                                            bool allow_stdin)
{
    silent_ = silent;
    host_.begincell(*this, allow_stdin);
    // The name tables' fault is said once, in the first cell.
    if (!tablefault_.empty()) {
        host_.errorreport(tablefault_);
        tablefault_.clear();
    }
    // An interrupt counts from here to the cell's end; one that came while no cell ran is gone.
    session_.stoprequested = false;
    running_.store(true);
    struct tended {
        tinterpreter& i;
        ~tended()
        {
            i.running_.store(false);
            i.session_.stoprequested = false;
        }
    } ended{*this};
    const tcell cell = splitcell(code);
    try {
        if (cell.functions) quor::loadunitlines(cell.lines, funcs_, session_.dialect, "");
        quor::tfuncstore store("Main function");
        for (const tcellline& l : cell.procedure) store.assignlines({l.text}, l.number);
        const std::string fault = store.count() > 0 ? store.checkblocks(session_) : "";
        if (!fault.empty()) {
            host_.showmessage("Error on " + fault);
            host_.append("Error on " + fault);
            host_.endcell();
            return failed("Error", "Error on " + fault);
        }
        try {
            if (store.count() > 0) store.runstore(vars_, funcs_, &host_, session_);
        } catch (const quor::tstopped&) {
            host_.line("Stopped by the user: the cell ended before its next statement.");
            host_.endcell();
            return failed("Stopped", "Stopped by the user");
        }
        host_.endcell();
        if (store.fault.stopped) {
            const std::string place = store.fault.sourceline > 0 ? "cell line " + std::to_string(store.fault.sourceline)
                                                                 : "the cell";
            return failed("Error", "The run stopped at " + place + ": " + store.fault.text);
        }
        return xeus::create_successful_reply();
    } catch (const std::exception& e) {
        // Whatever escapes the engine (memory running out) ends the cell, not the kernel.
        host_.endcell();
        return failed("Error", e.what());
    }
}

nl::json tinterpreter::complete_request_impl(const std::string& code, int cursor_pos)
{
    const std::size_t at = byteoffset(code, cursor_pos);
    const tword w = wordbefore(code, at);
    nl::json matches = nl::json::array();
    for (const std::string& m : completions(w.text, vars_, funcs_)) matches.push_back(m);
    return xeus::create_complete_reply(matches, codepoints(code, w.start), cursor_pos);
}

nl::json tinterpreter::inspect_request_impl(const std::string& code, int cursor_pos, int)
{
    std::string help;
    for (const std::string& name : inspectednames(code, byteoffset(code, cursor_pos))) {
        help = builtinhelp(name);
        if (const quor::tfuncitem* f = help.empty() ? funcs_.findfunc(name) : nullptr) {
            std::string params;
            for (const std::string& p : f->params) params += (params.empty() ? "" : ",") + p;
            help = f->resultname + "=" + f->name + "(" + params + ") — a user function";
        }
        if (!help.empty()) break;
    }
    if (help.empty()) return xeus::create_inspect_reply(false);
    return xeus::create_inspect_reply(true, {{"text/plain", help}});
}

nl::json tinterpreter::is_complete_request_impl(const std::string& code)
{
    const std::string status = completeness(code, session_);
    return xeus::create_is_complete_reply(status, status == "incomplete" ? "  " : "");
}

nl::json tinterpreter::kernel_info_request_impl()
{
    return xeus::create_info_reply("5.3", "quor-kernel", QUOR_VERSION, "quor", QUOR_VERSION, "text/x-quor", ".txt", "text",
                                   "", "", "Quor " QUOR_VERSION " — a small calculation language, with plots inline");
}

}  // namespace quorkernel
