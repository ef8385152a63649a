#pragma once
// `quor plot`: the plotter's draw button from the command line.
#include <string>
#include <vector>

namespace quorcli {

// Runs `quor plot` with the arguments after "plot"; returns the exit status.
int plotcommand(const std::vector<std::string>& args);

// The --help text of `quor plot`.
std::string plotusagetext();

}  // namespace quorcli
