#pragma once
// Functions on the text of a unit: line classes, function names and bracket balance.
#include <string>
#include <vector>

#include "session.h"

namespace quor {

// 1 for a head line ("function ..."), 2 for an end line ("endfunction"), else 0.
int getlineclass(const std::string& line);
// The function name of a head line: after the first "=", up to a blank or "(".
std::string getfuncname(const std::string& head);
// Names of the head lines among lines 0..count-2, in order.
void listfuncnames(const std::vector<std::string>& lines, std::vector<std::string>& out);
// Finds the head of name: first receives its index, last the following end line (or count).
void findfunclines(const std::string& name, const std::vector<std::string>& lines, int& first, int& last);
// Character offset at which line n+1 starts, lines being separated by CR LF.
long getlineoffset(int n, const std::vector<std::string>& lines);
// True when the line's brackets and quoted literals balance.
bool checkbrackets(const std::string& line, tdialect d);

}  // namespace quor
