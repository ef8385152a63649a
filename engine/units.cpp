#include "units.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "fault.h"
#include "funclist.h"
#include "unittext.h"

namespace quor {

std::vector<std::string> splittextlines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string current;
    bool open = false;   // a line has begun that no line end has closed yet
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
            open = true;
        }
    }
    if (open) lines.push_back(current);
    return lines;
}

treadfault readboundedfd(int fd, std::string& text, std::size_t limit)
{
    text.clear();
    try {
        char piece[1 << 14];   // filled by read, never zeroed: start-up reads six files
        for (;;) {
            const ssize_t n = ::read(fd, piece, sizeof piece);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return treadfault::unreadable;
            if (n == 0) return treadfault::none;
            if (text.size() + static_cast<std::size_t>(n) > limit) {
                text.clear();
                text.shrink_to_fit();
                return treadfault::toolarge;
            }
            text.append(piece, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        text.clear();
        text.shrink_to_fit();
        return treadfault::toolarge;
    }
}

treadfault readboundedfile(const std::string& path, std::string& text, std::size_t limit)
{
    text.clear();
    // Without O_NONBLOCK, opening a FIFO waits for a writer, for ever if none comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return treadfault::unreadable;
    struct closer {
        int fd;
        ~closer()
        {
            const int keep = errno;   // callers read why the file was refused
            ::close(fd);
            errno = keep;
        }
    } closeatend{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) return treadfault::unreadable;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return treadfault::unreadable;
    }
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > limit) return treadfault::toolarge;
    // Reads then wait for data as usual; a FIFO with no writer reads as ended.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return treadfault::unreadable;
    return readboundedfd(fd, text, limit);
}

std::string readfaulttext(treadfault f)
{
    switch (f) {
    case treadfault::none:
        return "";
    case treadfault::toolarge:
        return "is larger than " + std::to_string(maxfilebytes >> 20) + " MiB";
    default:
        return "cannot be read";
    }
}

bool readtextlines(const std::string& path, std::vector<std::string>& lines, treadfault* why)
{
    std::string text;
    if (!readtextfile(path, text, why)) return false;
    lines = splittextlines(text);
    return true;
}

bool readtextfile(const std::string& path, std::string& text, treadfault* why)
{
    const treadfault f = readboundedfile(path, text);
    if (why) *why = f;
    return f == treadfault::none;
}

bool readtablefile(const std::string& path, std::vector<std::string>& lines, std::string& reason)
{
    std::string text;
    errno = 0;
    const treadfault f = readboundedfile(path, text);
    if (f == treadfault::none) {
        lines = splittextlines(text);
        return true;
    }
    const int e = errno;
    if (f == treadfault::toolarge) reason = "File " + readfaulttext(f);
    else reason = std::generic_category().message(e != 0 ? e : EIO);
    return false;
}

void loadnametables(tfunclist& funcs, const std::vector<std::string>& dirs, tdialect order, const ttablereader& read)
{
    struct entry {
        const char* file;
        tnametable* table;
    };
    const entry editor[] = {{"command.dat", &funcs.commandnames}, {"api.dat", &funcs.apinames},
                            {"math.dat", &funcs.mathnames}, {"strings.dat", &funcs.stringnames}};
    const entry plotter[] = {{"api.dat", &funcs.apinames}, {"command.dat", &funcs.commandnames},
                             {"strings.dat", &funcs.stringnames}, {"math.dat", &funcs.mathnames}};
    for (const entry& e : order == tdialect::editor ? editor : plotter) {
        bool found = false;
        for (const std::string& dir : dirs) {
            const std::string path = dir.empty() ? e.file : dir + "/" + e.file;
            // Only a name that is not there at all passes the search on to the next folder: a
            // folder, an unreadable file or a dangling link of that name is the user's to mend.
            struct stat st {};
            std::string reason;
            if (::lstat(path.c_str(), &st) != 0) {
                if (errno == ENOENT || errno == ENOTDIR) continue;
                reason = std::generic_category().message(errno);
            } else {
                std::vector<std::string> lines;
                if (read(path, lines, reason)) {
                    *e.table = std::move(lines);
                    found = true;
                    break;
                }
            }
            throw ttablefault("Cannot open file \"" + path + "\". " + reason, true);
        }
        if (!found) throw ttablefault(std::string("Cannot open file \"") + e.file + "\". No such file or directory", false);
    }
}

std::string nametablewarning(const tfunclist& funcs)
{
    struct entry {
        const char* file;
        const tnametable* table;
        std::size_t builtins;
    };
    const entry tables[] = {{"command.dat", &funcs.commandnames, 11}, {"api.dat", &funcs.apinames, 3},
                            {"math.dat", &funcs.mathnames, 16}, {"strings.dat", &funcs.stringnames, 4}};
    std::string out;
    for (const entry& e : tables) {
        auto named = [&](std::size_t i) { return i < e.table->size() && !(*e.table)[i].empty(); };
        // Missing lines (1-based) as ranges: "3", "5 to 9".
        std::string missing;
        std::size_t count = 0;
        for (std::size_t i = 0; i < e.builtins; ++i) {
            if (named(i)) continue;
            std::size_t last = i;
            while (last + 1 < e.builtins && !named(last + 1)) ++last;
            missing += (missing.empty() ? "" : ", ") + std::to_string(i + 1);
            if (last > i) missing += " to " + std::to_string(last + 1);
            count += last - i + 1;
            i = last;
        }
        if (count == 0) continue;
        if (!out.empty()) out += "\n";
        out += std::string("name table ") + e.file + ": " + std::to_string(count) + " of its " +
               std::to_string(e.builtins) + " built-ins have no name (line" + (count > 1 ? "s " : " ") + missing +
               " missing or empty; the file has " + std::to_string(e.table->size()) + " lines)";
    }
    return out;
}

void loadunitlines(const std::vector<std::string>& lines, tfunclist& funcs, tdialect d, const std::string& source)
{
    const std::size_t n = lines.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t start = i;
        std::string line = lines[i++];
        if (getlineclass(line) != 1) continue;
        const std::string head = line;
        std::vector<std::string> body;
        // Reading past the end yields an empty line; the line read last at the end of the
        // file is not part of the body.
        line = i < n ? lines[i++] : "";
        while (getlineclass(line) != 2 && i < n) {
            body.push_back(line);
            line = lines[i++];
        }
        auto item = makefuncitem(head, body, d);
        item->source = source;
        item->firstline = static_cast<int>(start) + 2;   // the head stands on line start + 1
        funcs.insertfunc(std::move(item));
    }
}

void loadunit(const std::string& file, tfunclist& funcs, tdialect d)
{
    std::vector<std::string> lines;
    treadfault why = treadfault::none;
    if (!readtextlines(file, lines, &why)) {
        if (why == treadfault::toolarge) throw tfault("Error on load function form: " + file + " " + readfaulttext(why));
        throw tfault("Error on load function form: " + file);
    }
    try {
        loadunitlines(lines, funcs, d, file);
    } catch (const std::exception&) {
        throw tfault("Error on load function form: " + file);
    }
}

}  // namespace quor
