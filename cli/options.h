#pragma once
// Command-line options of the quor runner, read with getopt_long (no Qt needed).
#include <string>
#include <vector>

#include "session.h"

struct option;

namespace quorcli {

struct toptions {
    std::string file;                  // program file, "-" for standard input
    std::string program;               // program text given with -e
    bool inlineprogram = false;        // -e was given
    std::vector<std::string> units;    // -u, in order
    std::string tables;                // --tables DIR
    quor::tdialect dialect = quor::tdialect::editor;
    bool vars = false;                 // --vars
    bool transcript = false;           // --transcript
    bool strict = false;               // --strict
    bool reference = false;            // --reference
    std::string plots;                 // --plots DIR
    bool help = false;
    bool version = false;
};

// The version both commands print for --version.
inline constexpr const char* versiontext = "0.5.0.0";

// One option as getoptions saw it: its code (the short letter, or the long option's
// value) and its value, when it takes one.
struct toptionhit {
    int code;
    std::string value;
};

// Splits args (those after the command's name) into options and operands with
// getopt_long: --opt=value and --opt value, clustered short options, -- ends the options.
// With dashoperands, an argument like -x^2 whose letter is no short option is an operand.
// False with a message on a usage error (unknown option, missing or surplus value).
bool getoptions(const std::vector<std::string>& args, const char* shortopts, const option* longopts,
                bool dashoperands, std::vector<toptionhit>& hits, std::vector<std::string>& operands,
                std::string& error);

// Parses the runner's arguments after the program name; false with a message on a usage error.
bool parseoptions(const std::vector<std::string>& args, toptions& o, std::string& error);

// The --help text.
std::string usagetext();

}  // namespace quorcli
