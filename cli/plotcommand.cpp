#include "plotcommand.h"

#include <cmath>
#include <cstdio>

#include <getopt.h>

#include <QBuffer>
#include <QByteArray>
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
    std::string format;   // "png", "bmp" or "svg"; by default from the output's name
    bool help = false;
    bool version = false;
};

// The plot window's outer size: the drawing area (w - 9) x (h - 46) holds at least two
// pixels each way.
constexpr int minwidth = 11, minheight = 48, maxside = 4096;

bool parsesize(const std::string& text, int& w, int& h)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos) return false;
    double a = 0, b = 0;
    if (!quor::texttonumber(text.substr(0, x), a) || !quor::texttonumber(text.substr(x + 1), b)) return false;
    if (!(a >= minwidth && a <= maxside && b >= minheight && b <= maxside)) return false;
    if (a != std::trunc(a) || b != std::trunc(b)) return false;
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
    enum { var = 256, size, range, tables, noaxes, strict, format };
    static const option longopts[] = {
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {"var", required_argument, nullptr, var},
        {"output", required_argument, nullptr, 'o'},
        {"size", required_argument, nullptr, size},
        {"range", required_argument, nullptr, range},
        {"tables", required_argument, nullptr, tables},
        {"no-axes", no_argument, nullptr, noaxes},
        {"strict", no_argument, nullptr, strict},
        {"format", required_argument, nullptr, format},
        {nullptr, 0, nullptr, 0},
    };
    std::vector<toptionhit> hits;
    std::vector<std::string> operands;
    // An expression such as -x^2 is an operand, not a cluster of options.
    if (!getoptions(args, "o:u:hV", longopts, true, hits, operands, error)) return false;
    for (const toptionhit& h : hits) {
        switch (h.code) {
        case 'h': o.help = true; break;
        case 'V': o.version = true; break;
        case var: o.variable = h.value; break;
        case 'o': o.output = h.value; break;
        case size:
            if (!parsesize(h.value, o.width, o.height)) {
                error = "bad size: " + h.value + " (WxH, from " + std::to_string(minwidth) + "x" +
                        std::to_string(minheight) + " to " + std::to_string(maxside) + "x" + std::to_string(maxside) + ")";
                return false;
            }
            break;
        case range:
            if (!parserange(h.value, o.lo, o.hi)) {
                error = "bad range: " + h.value + " (LO:HI with LO different from HI)";
                return false;
            }
            o.hasrange = true;
            break;
        case 'u': o.units.push_back(h.value); break;
        case tables: o.tables = h.value; break;
        case noaxes: o.axes = false; break;
        case strict: o.strict = true; break;
        case format:
            if (h.value != "png" && h.value != "bmp" && h.value != "svg") {
                error = "unknown format: " + h.value + " (png, bmp or svg)";
                return false;
            }
            o.format = h.value;
            break;
        default: break;
        }
    }
    if (operands.size() > 1) {
        error = "more than one expression given";
        return false;
    }
    if (operands.size() == 1) o.expression = operands[0];
    if (!o.help && !o.version && operands.empty()) {
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
    return R"help(Usage: quor plot [OPTION]... EXPR
Plot EXPR the way the plotter's draw button does, in the plotter's dialect, and
write the picture of the plot window's drawing area: a PNG, a Windows bitmap,
or the same vector drawing (SVG) the plot window saves.

Options may come before or after EXPR; -- ends the options. An EXPR such as
-x^2 whose letter is no option is taken as the expression.

  -o, --output=FILE      the picture to write (default plot.png); - writes it
                         to standard output
      --format=png|bmp|svg
                         the picture's format; by default a FILE ending in
                         .bmp gives a Windows bitmap, one ending in .svg the
                         vector drawing (SVG) the plot window saves, anything
                         else a PNG
      --var=NAME         the independent variable (default x)
      --size=WxH         the plot window's outer size (default 544x375, from
                         11x48 to 4096x4096; the picture is (W-9) x (H-46)
                         pixels)
      --range=LO:HI      the x range (default 1:20)
  -u FILE                load a unit of functions first (repeatable)
      --tables=DIR       read the name tables from DIR
      --no-axes          draw no axes and labels
      --strict           stop (exit 1) when the ten-point pre-test finds the
                         expression suspicious instead of warning and going on
  -h, --help             display this help and exit
  -V, --version          output version information and exit

The plotter's boxes go to standard error as their bare texts; error lines of
the sampling go there as "quor: TEXT", identical consecutive ones written once
as "quor: TEXT (repeated N times)".

Exit status:
  0  the picture was written
  1  unmatched brackets, a failed sampling, a suspicious expression with
     --strict, a table or unit that failed to load, or a picture that could not
     be written
  2  a usage error
)help";
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
    if (o.version) {
        std::puts(versiontext);
        return 0;
    }

    quor::ensureguiapp();
    tconsolehost host(false, stdin, stdout, stderr);
    quor::tsession session(host, quor::tdialect::plotter);
    quor::tvarlist vars("paint", 1);
    quor::tfunclist funcs("paint", 1);
    tboardside side(vars, session);
    quor::theadlessplots& plots = side.boards();
    host.plots = &side;
    const std::vector<std::string> dirs = tabledirs(o.tables);
    try {
        quor::loadnametables(funcs, dirs, quor::tdialect::plotter);
    } catch (const quor::ttablefault& e) {
        host.errorreport(e.found ? e.what() : e.what() + lookedin(dirs));
        return 1;
    }
    for (const std::string& u : o.units) {
        try {
            quor::loadunit(u, funcs, quor::tdialect::plotter);
        } catch (const std::exception& e) {
            const std::string why = readfailure(u);
            host.errorreport(why.empty() ? e.what() : e.what() + (": " + why));
            return 1;
        }
    }

    const std::string& e = o.expression;
    // The plotter's own boxes appear on standard error as their bare texts.
    auto box = [](const std::string& text) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", text.c_str());
    };
    if (!quor::checkbrackets(e, quor::tdialect::plotter)) {
        box("非法表达式，出现了不匹配的符号");
        host.result("非法表达式.");
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
    std::string format = o.format;
    if (format.empty()) {
        const std::string name = quor::lowercase(o.output);
        format = endswith(name, ".bmp") ? "bmp" : endswith(name, ".svg") ? "svg" : "png";
    }
    // The picture's bytes: the plot window's vector drawing, or its drawing area encoded.
    QByteArray bytes;
    if (format == "svg") {
        bytes = board->svg();
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!board->picture().save(&buffer, format == "bmp" ? "BMP" : "PNG")) bytes.clear();
    }
    if (bytes.isEmpty()) {
        host.complain("cannot write " + (o.output == "-" ? std::string("to standard output") : o.output) +
                      ": the picture could not be drawn");
        return 1;
    }
    if (o.output == "-") {
        // "-" is standard output.
        host.flush();
        bool written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) ==
                       static_cast<std::size_t>(bytes.size());
        written = std::fflush(stdout) == 0 && written;
        if (!written) {
            host.complain("cannot write to standard output");
            return 1;
        }
        return 0;
    }
    const std::string why = quor::writefilebytes(bytes, o.output);
    if (!why.empty()) {
        host.complain("cannot write " + o.output + ": " + why);
        return 1;
    }
    return 0;
}

}  // namespace quorcli
