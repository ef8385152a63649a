#include "options.h"

#include <getopt.h>

#include <cstring>
#include <map>

namespace quorcli {

namespace {

// The option as the user wrote it, without an attached value.
std::string optionname(const char* arg)
{
    std::string a = arg;
    if (a.rfind("--", 0) == 0) return a.substr(0, a.find('='));
    return a;
}

bool isshortoption(const char* shortopts, char c)
{
    return c != ':' && c != '-' && c != '+' && std::strchr(shortopts, c) != nullptr;
}

}  // namespace

bool getoptions(const std::vector<std::string>& args, const char* shortopts, const option* longopts,
                bool dashoperands, std::vector<toptionhit>& hits, std::vector<std::string>& operands,
                std::string& error)
{
    // getopt_long permutes an argv of its own; arguments that must stay operands are
    // handed over as placeholders and read back through their addresses.
    std::vector<std::string> texts;
    texts.reserve(args.size() + 1);
    texts.push_back("quor");
    std::map<const char*, std::string> placeholders;
    bool ended = false;
    for (const std::string& a : args) {
        if (a == "--") ended = true;
        const bool dash = !ended && dashoperands && a.size() > 1 && a[0] == '-' && a[1] != '-' &&
                          !isshortoption(shortopts, a[1]);
        texts.push_back(dash ? "@" : a);
    }
    std::vector<char*> argv;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        argv.push_back(texts[i].data());
        if (i > 0 && texts[i] == "@" && args[i - 1] != "@") placeholders[texts[i].data()] = args[i - 1];
    }
    argv.push_back(nullptr);
    auto original = [&](const char* p) {
        const auto it = placeholders.find(p);
        return it != placeholders.end() ? it->second : std::string(p);
    };

    // A leading ':' makes a missing value distinguishable from an unknown option.
    const std::string opts = std::string(":") + shortopts;
    const int argc = static_cast<int>(argv.size()) - 1;
    opterr = 0;
    optind = 0;   // a fresh scan
    int c;
    while ((c = getopt_long(argc, argv.data(), opts.c_str(), longopts, nullptr)) != -1) {
        const char* last = argv[static_cast<std::size_t>(optind - 1)];
        if (c == ':') {
            const std::string name = std::strncmp(last, "--", 2) == 0 ? optionname(last) : std::string("-") + char(optopt);
            error = "option " + name + " needs a value";
            return false;
        }
        if (c == '?') {
            if (optopt != 0 && std::strncmp(last, "--", 2) == 0) error = "option " + optionname(last) + " takes no value";
            else if (optopt != 0) error = std::string("unknown option: -") + char(optopt);
            else error = "unknown option: " + optionname(last);
            return false;
        }
        hits.push_back({c, optarg ? original(optarg) : std::string()});
    }
    for (int i = optind; i < argc; ++i) operands.push_back(original(argv[static_cast<std::size_t>(i)]));
    return true;
}

bool parseoptions(const std::vector<std::string>& args, toptions& o, std::string& error)
{
    enum { tables = 256, plots, dialect, vars, transcript, strict, reference };
    static const option longopts[] = {
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {"tables", required_argument, nullptr, tables},
        {"plots", required_argument, nullptr, plots},
        {"dialect", required_argument, nullptr, dialect},
        {"vars", no_argument, nullptr, vars},
        {"transcript", no_argument, nullptr, transcript},
        {"strict", no_argument, nullptr, strict},
        {"reference", no_argument, nullptr, reference},
        {nullptr, 0, nullptr, 0},
    };
    std::vector<toptionhit> hits;
    std::vector<std::string> operands;
    if (!getoptions(args, "e:u:hV", longopts, false, hits, operands, error)) return false;
    for (const toptionhit& h : hits) {
        switch (h.code) {
        case 'h': o.help = true; break;
        case 'V': o.version = true; break;
        case 'e':
            o.program = h.value;
            o.inlineprogram = true;
            break;
        case 'u': o.units.push_back(h.value); break;
        case tables: o.tables = h.value; break;
        case plots: o.plots = h.value; break;
        case dialect:
            if (h.value == "editor") o.dialect = quor::tdialect::editor;
            else if (h.value == "plotter") o.dialect = quor::tdialect::plotter;
            else {
                error = "unknown dialect: " + h.value + " (editor or plotter)";
                return false;
            }
            break;
        case vars: o.vars = true; break;
        case transcript: o.transcript = true; break;
        case strict: o.strict = true; break;
        case reference: o.reference = true; break;
        default: break;
        }
    }
    if (operands.size() > 1) {
        error = "more than one program file given";
        return false;
    }
    const bool havefile = operands.size() == 1;
    if (havefile) o.file = operands[0];
    if (o.help || o.version) return true;
    if (havefile && o.inlineprogram) {
        error = "give either a program file or -e TEXT, not both";
        return false;
    }
    if (!havefile && !o.inlineprogram) {
        error = "no program given (a FILE, - for standard input, or -e TEXT)";
        return false;
    }
    return true;
}

std::string usagetext()
{
    return R"help(Usage: quor [OPTION]... FILE
  or:  quor [OPTION]... -e TEXT
  or:  quor plot EXPR [OPTION]...   (see quor plot --help)
Run a Quor program the way the editor's Run does: the text is checked for
unbalanced brackets and unclosed blocks, then run as "Main function".

FILE is the program text; - reads it from standard input. Options may come
before or after FILE; -- ends the options. A long option takes its value as
--opt=VALUE or --opt VALUE.

  -e TEXT                the program given on the command line (may hold
                         several lines)
  -u FILE                load a unit of functions before the run (repeatable,
                         in order)
      --tables=DIR       read the name tables (command.dat, api.dat, math.dat,
                         strings.dat) from DIR; by default the current
                         directory, then the program's own data directory
      --dialect=editor|plotter
                         read the program as the editor (default) or the
                         plotter does
      --vars             after the run, print the global variables (name=value,
                         then name[k]=value for each element)
      --plots=DIR        write every plot window the run opened as
                         DIR/plot-N.png
      --strict           exit with status 1 when the run reported any fault:
                         a box or an error line
      --transcript       write every event as one line on standard output
                         (see TRANSCRIPT below)
      --reference        run with the literal algorithms instead of the compiled
                         fast path (slower; the output is the same)
  -h, --help             display this help and exit
  -V, --version          output version information and exit

Input boxes read their answer as one line of standard input (a carriage
return before the line feed is dropped); the end of input means Cancel (asking
again after that fails the statement). A load command's file dialog reads a
file name the same way; an empty line means Cancel.

Plain output (without --transcript): the lines the program prints go to
standard output. Boxes and error lines go to standard error as
"quor: FILE:LINE: TEXT", where FILE:LINE is the statement that raised them
(a unit's file and line for statements of unit functions; "quor: TEXT" outside
any statement). A run of identical consecutive lines on standard error is
written once as "quor: FILE:LINE: TEXT (repeated N times)", N counting them
all (a line repeating for more than 5 seconds is written every 5 seconds). When a run stops on a failure, a last line "quor: FILE:LINE: the run
stopped here: REASON" names the statement that failed.

Transcript (--transcript): every event is one line on standard output:
  memo: TEXT             a line of the result memo
  box: TEXT              a message box
  ask: CAPTION|PROMPT|DEFAULT
                         an input box, followed by answer: TEXT or cancel
  open: DIR|PATTERN      a file dialog, followed by answer: PATH or cancel
  error: TEXT            the application's error report
  var: LINE              a global variable, with --vars
  plot: N|CAPTION|PATH   a plot window written, with --plots
Carriage return, line feed and backslash are written \r, \n and \\.

Exit status:
  0  the run ended (even if it reported errors along the way, unless --strict)
  1  the run was stopped by a failure, did not start (a bracket or block
     fault), a name table or unit failed to load, or --strict saw a fault
  2  a usage error or an unreadable FILE
)help";
}

}  // namespace quorcli
