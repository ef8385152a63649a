#include "units.h"

#include <filesystem>
#include <fstream>
#include <iterator>
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

bool readtextlines(const std::string& path, std::vector<std::string>& lines)
{
    std::string text;
    if (!readtextfile(path, text)) return false;
    lines = splittextlines(text);
    return true;
}

bool readtextfile(const std::string& path, std::string& text)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return !in.bad();
    } catch (const std::exception&) {
        return false;
    }
}

void loadnametables(tfunclist& funcs, const std::vector<std::string>& dirs, tdialect order)
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
            if (readtextlines(path, *e.table)) {
                found = true;
                break;
            }
        }
        if (!found) throw tfault(std::string("Cannot open file \"") + e.file + "\". No such file or directory");
    }
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
    if (!readtextlines(file, lines)) throw tfault("Error on load function form: " + file);
    try {
        loadunitlines(lines, funcs, d, file);
    } catch (const std::exception&) {
        throw tfault("Error on load function form: " + file);
    }
}

}  // namespace quor
