#pragma once
// Command-line options of the quor runner.
#include <string>
#include <vector>

#include "session.h"

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
    bool reference = false;            // --reference
    std::string plots;                 // --plots DIR
    bool help = false;
    bool version = false;
};

// The value after option args[i] into out, moving i onto it; false with a message when
// the option is the last argument.
bool optionvalue(const std::vector<std::string>& args, std::size_t& i, std::string& out, std::string& error);

// Parses the arguments after the program name; false with a message on a usage error.
bool parseoptions(const std::vector<std::string>& args, toptions& o, std::string& error);

// The --help text.
std::string usagetext();

}  // namespace quorcli
