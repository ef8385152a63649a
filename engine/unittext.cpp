#include "unittext.h"

#include "fault.h"
#include "numtext.h"

namespace quor {

int getlineclass(const std::string& line)
{
    std::size_t b = 0;
    while (b < line.size() && line[b] == ' ') ++b;
    if (b == line.size()) return 0;
    std::size_t e = b;
    while (e < line.size() && line[e] != ' ') ++e;
    const std::string word = lowercase(line.substr(b, e - b));
    if (word == "function") return 1;
    if (word == "endfunction") return 2;
    return 0;
}

std::string getfuncname(const std::string& head)
{
    const std::size_t eq = head.find('=');
    std::size_t i = eq == std::string::npos ? 0 : eq + 1;
    while (i < head.size() && head[i] == ' ') ++i;
    std::size_t j = i;
    while (j < head.size() && head[j] != ' ' && head[j] != '(') ++j;
    return head.substr(i, j - i);
}

void listfuncnames(const std::vector<std::string>& lines, std::vector<std::string>& out)
{
    out.clear();
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        if (getlineclass(lines[i]) == 1) out.push_back(getfuncname(lines[i]));
}

void findfunclines(const std::string& name, const std::vector<std::string>& lines, int& first, int& last)
{
    if (name.empty()) {
        first = last = 0;
        return;
    }
    const int count = static_cast<int>(lines.size());
    for (int i = 0; i < count; ++i) {
        const std::string& l = lines[static_cast<std::size_t>(i)];
        if (getlineclass(l) != 1 || getfuncname(l) != name) continue;
        if (i >= count - 1) return;
        first = i;
        last = count;
        for (int j = i + 1; j < count; ++j)
            if (getlineclass(lines[static_cast<std::size_t>(j)]) == 2) {
                last = j;
                break;
            }
        return;
    }
}

long getlineoffset(int n, const std::vector<std::string>& lines)
{
    if (n < 0 || n > static_cast<int>(lines.size()) - 1) throw tfault("Error on invalid line index--IDE");
    long offset = 0;
    for (int i = 0; i <= n; ++i) offset += static_cast<long>(lines[static_cast<std::size_t>(i)].size()) + 2;
    return offset;
}

bool checkbrackets(const std::string& line, tdialect d)
{
    long paren = 0, square = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\'' && d == tdialect::editor) {
            // Skip the literal: an odd run of quotes closes it, an even run stands for quotes.
            std::size_t j = i + 1;
            bool closed = false;
            while (j < line.size()) {
                if (line[j] == '\'') {
                    std::size_t run = 0;
                    while (j + run < line.size() && line[j + run] == '\'') ++run;
                    j += run;
                    if (run % 2 == 1) {
                        closed = true;
                        break;
                    }
                } else {
                    ++j;
                }
            }
            if (!closed) return false;
            i = j - 1;
            continue;
        }
        if (c == '(') ++paren;
        else if (c == ')') --paren;
        else if (c == '[') ++square;
        else if (c == ']') --square;
    }
    return paren == 0 && square == 0;
}

}  // namespace quor
