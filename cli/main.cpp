// quor: runs Quor programs (and, with `quor plot`, draws plots) from the command line.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bigstack.h"
#include "consolehost.h"
#include "fault.h"
#include "funclist.h"
#include "plotloader.h"
#include "options.h"
#include "programrun.h"
#include "session.h"
#include "units.h"
#include "variables.h"

namespace {

// The program text, from a file or "-" (standard input); both bounded in size.
quor::treadfault readall(const std::string& file, std::string& text)
{
    if (file == "-") return quor::readboundedfd(0, text);
    return quor::readboundedfile(file, text);
}

int runmain(const quorcli::toptions& o)
{
    std::string text = o.program;
    if (!o.inlineprogram) {
        const quor::treadfault why = readall(o.file, text);
        if (why != quor::treadfault::none) {
            const std::string reason = why == quor::treadfault::toolarge ? "it " + quor::readfaulttext(why)
                                                                         : quorcli::readfailure(o.file);
            std::fprintf(stderr, "quor: cannot read %s%s\n", o.file.c_str(), reason.empty() ? "" : (": " + reason).c_str());
            return 2;
        }
    }
    const std::string where = o.inlineprogram ? "-e" : (o.file == "-" ? "<stdin>" : o.file);

    // With the program on standard input there is nothing left to answer boxes from.
    quorcli::tconsolehost host(o.transcript, o.file == "-" ? nullptr : stdin, stdout, stderr);
    quor::tsession session(host, o.dialect);
    host.session = &session;
    host.program = where;
    session.reference = o.reference;
    quor::tvarlist vars("global", 2);
    quor::tfunclist funcs("quor", 2);
    funcs.basedir = ".";
    // The plotting module is loaded only when the run opens a plot window.
    quorcli::tplotloader plots(vars, session);
    host.plots = &plots;

    const std::vector<std::string> dirs = quorcli::tabledirs(o.tables);
    try {
        quor::loadnametables(funcs, dirs, o.dialect);
        // Built-ins a short or damaged table leaves unnamed cannot be called: said once.
        const std::string warning = quor::nametablewarning(funcs);
        for (std::size_t at = 0, end; at < warning.size(); at = end + 1) {
            end = std::min(warning.find('\n', at), warning.size());
            host.complain(warning.substr(at, end - at));
        }
    } catch (const quor::ttablefault& e) {
        // A table that is there but unreadable names its own path; one found nowhere, the places.
        host.errorreport(o.transcript || e.found ? e.what() : e.what() + quorcli::lookedin(dirs));
        return 1;
    }
    for (const std::string& u : o.units) {
        try {
            quor::loadunit(u, funcs, o.dialect);
        } catch (const std::exception& e) {
            const std::string why = quorcli::readfailure(u);
            host.errorreport(o.transcript || why.empty() ? e.what() : e.what() + (": " + why));
            return 1;
        }
    }

    const quorcli::trunresult r = quorcli::runprogram(text, vars, funcs, host, session, where);

    if (o.vars) {
        std::vector<std::string> lines;
        vars.listvars(lines);
        for (const std::string& l : lines) {
            if (o.transcript) host.event("var", l);
            else host.result(l);
        }
    }
    // A picture asked for but not written fails the run, whatever the program did.
    bool written = true;
    if (!o.plots.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(o.plots, ec);
        for (const auto& p : plots.writeall(o.plots)) {
            if (!p.fault.empty()) {
                host.complain("cannot write " + p.path + ": " + p.fault);
                written = false;
            } else if (o.transcript) {
                host.event("plot", std::to_string(p.number) + "|" + p.caption + "|" + p.path);
            }
        }
    }
    if (r.outcome == quorcli::toutcome::stopped) {
        std::string place = where;
        if (r.fault.sourceline > 0) place += ":" + std::to_string(r.fault.sourceline);
        host.complain(place + ": the run stopped here: " + r.fault.text);
        return 1;
    }
    if (r.outcome != quorcli::toutcome::ended || !written) return 1;
    return o.strict && host.faults > 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "plot") return quorcli::runplotcommand({args.begin() + 1, args.end()});
    quorcli::toptions o;
    std::string error;
    if (!quorcli::parseoptions(args, o, error)) {
        std::fprintf(stderr, "quor: %s\nTry 'quor --help'.\n", error.c_str());
        return 2;
    }
    if (o.help) {
        std::fputs(quorcli::usagetext().c_str(), stdout);
        return 0;
    }
    if (o.version) {
        std::puts(quorcli::versiontext);
        return 0;
    }
    // The run has a thread of its own, with a stack for the deepest nesting the limits allow.
    // That thread also ends the process: the plotting module's application object, made
    // on it, must be destroyed on it.
    quor::runonbigstack([](void* p) { std::exit(runmain(*static_cast<const quorcli::toptions*>(p))); }, &o);
    return 1;
}
