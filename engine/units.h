#pragma once
// Name tables and unit files: reading text lines, the four tables, and loadunit.
#include <cstddef>
#include <string>
#include <vector>

#include "session.h"
#include "enginefwd.h"

namespace quor {

// Program, unit, data and name-table files are read up to this size (256 MiB); larger
// ones are refused.
inline constexpr std::size_t maxfilebytes = std::size_t(256) << 20;

enum class treadfault { none, unreadable, toolarge };

// Reads a whole file in pieces, refusing it past limit bytes. A FIFO is opened without
// waiting for a writer: with none it reads as empty.
treadfault readboundedfile(const std::string& path, std::string& text, std::size_t limit = maxfilebytes);
// The same from an open descriptor (standard input), read to its end.
treadfault readboundedfd(int fd, std::string& text, std::size_t limit = maxfilebytes);
// Why a file was not read, for a message: "cannot be read", "is larger than 256 MiB".
std::string readfaulttext(treadfault f);

// Reads a text file as lines ended by CR, LF or CR LF (a final line end adds no line).
bool readtextlines(const std::string& path, std::vector<std::string>& lines, treadfault* why = nullptr);

// Reads a whole file; false when it cannot be read (a folder, no such file, no access,
// past maxfilebytes).
bool readtextfile(const std::string& path, std::string& text, treadfault* why = nullptr);

// Splits a text into lines the same way.
std::vector<std::string> splittextlines(const std::string& text);

// The editor reads command, api, math, strings; the plotter api, command, strings, math.
// Each table is taken from the first of dirs that has it ("" is the current directory).
// A table found nowhere raises a fault naming the file; the tables after it stay empty.
void loadnametables(tfunclist& funcs, const std::vector<std::string>& dirs, tdialect order);

// Built-ins a loaded set of name tables leaves without a name (the table is shorter than
// its built-ins, or their lines are empty): one line per table, naming it and the missing
// lines; "" when every built-in has a name. The programs show it once at start.
std::string nametablewarning(const tfunclist& funcs);

// Reads the function ... endfunction blocks of a unit file into the function list.
void loadunit(const std::string& file, tfunclist& funcs, tdialect d);

// The same for a unit given as text lines.
void loadunitlines(const std::vector<std::string>& lines, tfunclist& funcs, tdialect d);

}  // namespace quor
