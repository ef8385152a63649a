#include "options.h"

namespace quorcli {

bool optionvalue(const std::vector<std::string>& args, std::size_t& i, std::string& out, std::string& error)
{
    if (i + 1 >= args.size()) {
        error = "option " + args[i] + " needs a value";
        return false;
    }
    out = args[++i];
    return true;
}

bool parseoptions(const std::vector<std::string>& args, toptions& o, std::string& error)
{
    bool havefile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) { return optionvalue(args, i, out, error); };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "-e") {
            if (!value(o.program)) return false;
            o.inlineprogram = true;
        } else if (a == "-u") {
            std::string u;
            if (!value(u)) return false;
            o.units.push_back(u);
        } else if (a == "--tables") {
            if (!value(o.tables)) return false;
        } else if (a == "--plots") {
            if (!value(o.plots)) return false;
        } else if (a == "--dialect") {
            std::string d;
            if (!value(d)) return false;
            if (d == "editor") o.dialect = quor::tdialect::editor;
            else if (d == "plotter") o.dialect = quor::tdialect::plotter;
            else {
                error = "unknown dialect: " + d + " (editor or plotter)";
                return false;
            }
        } else if (a == "--vars") {
            o.vars = true;
        } else if (a == "--transcript") {
            o.transcript = true;
        } else if (a == "--reference") {
            o.reference = true;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            error = "unknown option: " + a;
            return false;
        } else {
            if (havefile) {
                error = "more than one program file given";
                return false;
            }
            o.file = a;
            havefile = true;
        }
    }
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
    return R"(Usage: quor [options] FILE
       quor [options] -e TEXT
       quor plot EXPR [plot options]      (see quor plot --help)

Runs a Quor program the way the editor's Run does: the text is checked for
unbalanced brackets and unclosed blocks, then run as "Main function".

  FILE               the program text; - reads it from standard input
  -e TEXT            the program given on the command line (may hold several lines)
  -u FILE            load a unit of functions before the run (repeatable, in order)
  --tables DIR       read the name tables (command.dat, api.dat, math.dat,
                     strings.dat) from DIR; by default the current directory,
                     then the program's own data directory
  --dialect editor|plotter
                     read the program as the editor (default) or the plotter does
  --vars             after the run, print the global variables (name=value,
                     then name[k]=value for each element)
  --plots DIR        write every plot window the run opened as DIR/plot-N.png
  --transcript       write every event as one line on standard output:
                       memo: TEXT        a line of the result memo
                       box: TEXT         a message box
                       ask: CAPTION|PROMPT|DEFAULT, then answer: TEXT or cancel
                       open: DIR|PATTERN, then answer: PATH or cancel
                       error: TEXT       the application's error report
                       var: LINE         with --vars
                       plot: N|CAPTION|PATH  with --plots
                     carriage return, line feed and backslash are written
                     \r, \n and \\
  --reference        run with the literal algorithms instead of the compiled
                     fast path (slower; the output is the same)
  --help             this text
  --version          the version number

Input boxes read their answer as one line of standard input; the end of input
means Cancel (asking again after that fails the statement). A load command's
file dialog reads a file name the same way; an empty line means Cancel.

Without --transcript, memo lines go to standard output and boxes and errors to
standard error as "quor: TEXT"; when a run stops on a failure, a last line on
standard error names the file and source line of the statement that failed.

Exit status: 0 when the run ended (even if it reported errors along the way);
1 when it was stopped by a failure, did not start (a bracket or block fault),
or a name table or unit failed to load; 2 for a usage error or an unreadable FILE.
)";
}

}  // namespace quorcli
