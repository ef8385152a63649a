#include "plotcommand.h"

#include <cstdio>

#include <QImage>

#include "consolehost.h"
#include "fault.h"
#include "funclist.h"
#include "plotmodule.h"
#include "numtext.h"
#include "options.h"
#include "picturefile.h"
#include "programrun.h"
#include "sampling.h"
#include "session.h"
#include "units.h"
#include "unittext.h"
#include "variables.h"

namespace quorcli {

namespace {

struct tplotoptions {
    std::string expression;
    std::string variable = "x";
    std::string output = "plot.png";
    int width = quor::defaultouterwidth;
    int height = quor::defaultouterheight;
    bool hasrange = false;
    double lo = 0, hi = 0;
    std::vector<std::string> units;
    std::string tables;
    bool axes = true;
    bool strict = false;
    bool help = false;
};

bool parsesize(const std::string& text, int& w, int& h)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    double a = 0, b = 0;
    if (!quor::texttonumber(text.substr(0, x), a) || !quor::texttonumber(text.substr(x + 1), b)) return false;
    // The drawing area is (w - 9) x (h - 46): both must hold at least two pixels.
    if (a != static_cast<int>(a) || b != static_cast<int>(b) || a < 11 || b < 48 || a > 4096 || b > 4096) return false;
    w = static_cast<int>(a);
    h = static_cast<int>(b);
    return true;
}

bool parserange(const std::string& text, double& lo, double& hi)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    return quor::texttonumber(text.substr(0, colon), lo) && quor::texttonumber(text.substr(colon + 1), hi) && lo != hi;
}

bool parseplot(const std::vector<std::string>& args, tplotoptions& o, std::string& error)
{
    bool haveexpr = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) { return optionvalue(args, i, out, error); };
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--var") {
            if (!value(o.variable)) return false;
        } else if (a == "-o") {
            if (!value(o.output)) return false;
        } else if (a == "--size") {
            if (!value(v)) return false;
            if (!parsesize(v, o.width, o.height)) {
                error = "bad size: " + v + " (WxH, from 11x48 to 4096x4096)";
                return false;
            }
        } else if (a == "--range") {
            if (!value(v)) return false;
            if (!parserange(v, o.lo, o.hi)) {
                error = "bad range: " + v + " (LO:HI with LO different from HI)";
                return false;
            }
            o.hasrange = true;
        } else if (a == "-u") {
            if (!value(v)) return false;
            o.units.push_back(v);
        } else if (a == "--tables") {
            if (!value(o.tables)) return false;
        } else if (a == "--no-axes") {
            o.axes = false;
        } else if (a == "--strict") {
            o.strict = true;
        } else if (a.rfind("--", 0) == 0) {
            error = "unknown option: " + a;
            return false;
        } else if (!haveexpr) {
            o.expression = a;
            haveexpr = true;
        } else {
            error = "more than one expression given";
            return false;
        }
    }
    if (!o.help && !haveexpr) {
        error = "no expression given";
        return false;
    }
    return true;
}

bool endswith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::string plotusagetext()
{
    return R"(Usage: quor plot EXPR [options]

Plots EXPR the way the plotter's draw button does, in the plotter's dialect, and
writes the picture of the plot window's drawing area.

  --var NAME       the independent variable (default x)
  -o FILE          the picture to write (default plot.png; a name ending in .bmp
                   gives a Windows bitmap, anything else a PNG)
  --size WxH       the plot window's outer size (default 544x375, at most
                   4096x4096; the picture is (W-9) x (H-46) pixels)
  --range LO:HI    the x range (default 1:20)
  -u FILE          load a unit of functions first (repeatable)
  --tables DIR     read the name tables from DIR
  --no-axes        draw no axes and labels
  --strict         stop (exit 1) when the ten-point pre-test finds the expression
                   suspicious instead of warning and going on

Exit status: 0 when the picture was written; 1 for unmatched brackets, a failed
sampling, a suspicious expression with --strict, a table or unit that failed to
load, or a picture that could not be written; 2 for a usage error.
)";
}

int plotcommand(const std::vector<std::string>& args)
{
    tplotoptions o;
    std::string error;
    if (!parseplot(args, o, error)) {
        std::fprintf(stderr, "quor: %s\nTry 'quor plot --help'.\n", error.c_str());
        return 2;
    }
    if (o.help) {
        std::fputs(plotusagetext().c_str(), stdout);
        return 0;
    }

    ensureguiapp();
    tconsolehost host(false, stdin, stdout, stderr);
    quor::tsession session(host, quor::tdialect::plotter);
    quor::tvarlist vars("paint", 1);
    quor::tfunclist funcs("paint", 1);
    tboardside side(vars, session);
    theadlessplots& plots = side.boards();
    host.plots = &side;
    try {
        quor::loadnametables(funcs, tabledirs(o.tables), quor::tdialect::plotter);
        for (const std::string& u : o.units) quor::loadunit(u, funcs, quor::tdialect::plotter);
    } catch (const std::exception& e) {
        host.errorreport(e.what());
        return 1;
    }

    const std::string& e = o.expression;
    // The plotter's own boxes appear on standard error as their bare texts.
    auto box = [](const std::string& text) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", text.c_str());
    };
    if (!quor::checkbrackets(e, quor::tdialect::plotter)) {
        box("非法表达式，出现了不匹配的符号");
        host.append("非法表达式.");
        return 1;
    }

    // Ten-point pre-test at 0.1, 0.2, ... 1: a failure or ten equal values is suspicious.
    bool suspicious = false;
    std::vector<double> values;
    for (int i = 1; i <= 10; ++i) {
        try {
            values.push_back(quor::evalat(e, o.variable, quor::numtotext(i / 10.0), vars, funcs, &host, session));
        } catch (const std::exception&) {
            suspicious = true;
            break;
        }
    }
    if (!suspicious) {
        suspicious = true;
        for (double v : values)
            if (v != values.front()) suspicious = false;
    }
    if (suspicious) {
        box("该表达式的图像可能会与您想象的不同，而且应起系统的不稳定。是否继续？\n原因：1。自变量错误，\n"
            "2。非法函数或符号\n3。其他原因");
        if (o.strict) return 1;
    }

    std::int32_t handle = 0;
    try {
        handle = plots.registry().createfromargs(e + "," + o.variable + ",y", vars, &funcs, &host, session, o.axes,
                                                 o.width, o.height);
    } catch (const std::exception& x) {
        host.errorreport(x.what());
        return 1;
    }
    if (quor::tplotboard* board = plots.registry().find(handle); board && o.hasrange) {
        quor::tviewinfo& view = board->record().setting.view;
        view.xmin = o.lo;
        view.xmax = o.hi;
        view.fixedrange = 1;
    }
    if (!plots.registry().show(handle)) {
        box("Error on paint,this paint will quit!");
        return 1;
    }
    quor::tplotboard* board = plots.registry().find(handle);
    const bool bmp = endswith(quor::lowercase(o.output), ".bmp");
    const std::string why = quor::writepicture(board->picture(), o.output, bmp ? "BMP" : "PNG");
    if (!why.empty()) {
        host.complain("cannot write " + o.output + ": " + why);
        return 1;
    }
    return 0;
}

}  // namespace quorcli
