#pragma once
// Name tables and unit files: reading text lines, the four tables, and loadunit.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "enginefwd.h"
#include "fault.h"
#include "session.h"

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

// Reads a name table's lines; false with the system's reason ("Is a directory",
// "Permission denied") when the file cannot be read.
bool readtablefile(const std::string& path, std::vector<std::string>& lines, std::string& reason);
using ttablereader = std::function<bool(const std::string& path, std::vector<std::string>& lines, std::string& reason)>;

// A name table that stopped the reading: found but unreadable, or found nowhere.
class ttablefault : public tfault {
public:
    ttablefault(const std::string& text, bool found) : tfault(text), found(found) {}
    bool found;   // something of that name was there (a folder, an unreadable file)
};

// The editor reads command, api, math, strings; the plotter api, command, strings, math.
// Each table is taken from the first of dirs where something of its name is ("" is the
// current directory) and read with read. A table that is there but cannot be read, or is
// found nowhere, raises a ttablefault naming the file and the reason; the tables after it
// stay empty.
void loadnametables(tfunclist& funcs, const std::vector<std::string>& dirs, tdialect order,
                    const ttablereader& read = readtablefile);

// Built-ins a loaded set of name tables leaves without a name (the table is shorter than
// its built-ins, or their lines are empty): one line per table, naming it and the missing
// lines; "" when every built-in has a name. The programs show it once at start.
std::string nametablewarning(const tfunclist& funcs);

// Reads the function ... endfunction blocks of a unit file into the function list.
void loadunit(const std::string& file, tfunclist& funcs, tdialect d);

// The same for a unit given as text lines; each item keeps source as the file it came from.
void loadunitlines(const std::vector<std::string>& lines, tfunclist& funcs, tdialect d,
                   const std::string& source = "");

}  // namespace quor
