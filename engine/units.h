#pragma once
// Name tables and unit files: reading text lines, the four tables, and loadunit.
#include <string>
#include <vector>

#include "session.h"
#include "enginefwd.h"

namespace quor {

// Reads a text file as lines ended by CR, LF or CR LF (a final line end adds no line).
bool readtextlines(const std::string& path, std::vector<std::string>& lines);

// Reads a whole file; false when it cannot be read (a folder, no such file, no access).
bool readtextfile(const std::string& path, std::string& text);

// Splits a text into lines the same way.
std::vector<std::string> splittextlines(const std::string& text);

// The editor reads command, api, math, strings; the plotter api, command, strings, math.
// Each table is taken from the first of dirs that has it ("" is the current directory).
// A table found nowhere raises a fault naming the file; the tables after it stay empty.
void loadnametables(tfunclist& funcs, const std::vector<std::string>& dirs, tdialect order);

// Reads the function ... endfunction blocks of a unit file into the function list.
void loadunit(const std::string& file, tfunclist& funcs, tdialect d);

// The same for a unit given as text lines; each item keeps source as the file it came from.
void loadunitlines(const std::vector<std::string>& lines, tfunclist& funcs, tdialect d,
                   const std::string& source = "");

}  // namespace quor
