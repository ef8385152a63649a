#include "funcstore.h"

#include "fastrun.h"
#include "fault.h"
#include "flow.h"
#include "funclist.h"
#include "host.h"
#include "session.h"
#include "unittext.h"
#include "variables.h"

namespace quor {

int keywordcode(const std::string& word)
{
    if (word == "if") return kwif;
    if (word == "for") return kwfor;
    if (word == "while") return kwwhile;
    if (word == "end") return kwend;
    if (word == "break") return kwbreak;
    if (word == "else") return kwelse;
    return kwnone;
}

tfuncstore::tfuncstore(const std::string& n) : name(shortstring(n)) {}

int tfuncstore::assignlines(const std::vector<std::string>& source, int firstline)
{
    try {
        int number = firstline;
        for (const std::string& src : source) {
            std::string rest = src;
            std::size_t at;
            while ((at = rest.find(';')) != std::string::npos) {
                lines.push_back({rest.substr(0, at), number});
                rest.erase(0, at + 1);
            }
            if (!rest.empty()) lines.push_back({rest, number});
            ++number;
        }
    } catch (const std::bad_alloc&) {
        throw tfault("Error on assign from the strings");
    }
    return 1;
}

std::string tfuncstore::getkeyword(int i) const
{
    const std::string& t = line(i);
    std::size_t b = 0;
    while (b < t.size() && t[b] == ' ') ++b;
    std::size_t e = b;
    while (e < t.size() && t[e] != ' ' && t[e] != '(') ++e;
    return t.substr(b, e - b);
}

int tfuncstore::scanblockend(int i, int& code) const
{
    if (i < 0 || i > count() - 1) throw tfault("Error on invalid line index");
    code = keyword(i);
    if (code != kwif && code != kwfor && code != kwwhile) return i;
    int depth = 1;
    for (int j = i + 1; j < count(); ++j) {
        const int k = keyword(j);
        if (k == kwif || k == kwfor || k == kwwhile) ++depth;
        else if (k == kwend && --depth == 0) return j;
    }
    return count();
}

int tfuncstore::findblockend(int i, int& code) const
{
    const int e = scanblockend(i, code);
    if (e == count()) throw tfault("Error on key word mismatched");
    return e;
}

std::string tfuncstore::checkblocks(tsession& s) const
{
    for (int i = 0; i < count(); ++i)
        if (!checkbrackets(line(i), s.dialect)) return line(i);
    for (int i = 0; i < count(); ++i) {
        int code = 0;
        if (scanblockend(i, code) == count() && code != kwnone)
            return "mismatched on " + getkeyword(i) + " on " + line(i);
    }
    return "";
}

void tfuncstore::runstore(tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    if (!s.reference) {
        fastrunstore(*this, vars, funcs, memo, s);
        return;
    }
    fault = tfaultplace{};
    try {
        runlines(*this, 0, count() - 1, vars, funcs, memo, s);
    } catch (const std::exception& e) {
        if (fault.line < 0) fault.text = e.what();
        fault.stopped = true;
        s.host.showmessage("Critical error on compile: " + name);
        memoline(memo, "Critical error on compile at: " + name);
    }
}

void runfuncbody(const tfuncitem& item, tvarlist& temp, tfunclist& funcs, tmemo* memo, tsession& s)
{
    tfuncstore store(item.name);
    store.assignlines(item.lines);
    store.runstore(temp, funcs, memo, s);
}

}  // namespace quor
