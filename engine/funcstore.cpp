#include "funcstore.h"

#include "fast/fastrun.h"
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
            std::size_t at;
            std::size_t from = 0;
            while ((at = src.find(';', from)) != std::string::npos) {
                addline(src.substr(from, at - from), number);
                from = at + 1;
            }
            if (from < src.size()) addline(src.substr(from), number);
            ++number;
        }
    } catch (const std::bad_alloc&) {
        throw tfault("Error on assign from the strings");
    }
    return 1;
}

void tfuncstore::addline(const std::string& text, int sourceline)
{
    lines_.push_back({text, sourceline});
    indexed_ = false;
}

void tfuncstore::clearlines()
{
    lines_.clear();
    indexed_ = false;
}

void tfuncstore::index() const
{
    if (indexed_) return;
    const std::size_t n = lines_.size();
    code_.assign(n, kwnone);
    end_.assign(n, static_cast<int>(n));
    else_.assign(n, -1);
    // Open blocks, innermost last: an end closes the innermost, an else at the level of an
    // open if belongs to it. An end with nothing open closes nothing.
    std::vector<int> open;
    for (std::size_t j = 0; j < n; ++j) {
        const int k = keywordcode(getkeyword(static_cast<int>(j)));
        code_[j] = k;
        if (k == kwif || k == kwfor || k == kwwhile) {
            open.push_back(static_cast<int>(j));
        } else if (k == kwend && !open.empty()) {
            end_[static_cast<std::size_t>(open.back())] = static_cast<int>(j);
            open.pop_back();
        } else if (k == kwelse && !open.empty()) {
            const auto top = static_cast<std::size_t>(open.back());
            if (code_[top] == kwif && else_[top] < 0) else_[top] = static_cast<int>(j);
        }
    }
    indexed_ = true;
}

int tfuncstore::keyword(int i) const
{
    index();
    return code_[static_cast<std::size_t>(i)];
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
    return end_[static_cast<std::size_t>(i)];
}

int tfuncstore::elseline(int i, int e) const
{
    if (i >= 0 && i < count() && keyword(i) == kwif && end_[static_cast<std::size_t>(i)] == e) {
        const int at = else_[static_cast<std::size_t>(i)];
        return at < e ? at : -1;
    }
    // Any other range is searched line by line.
    int depth = 0;
    for (int j = i + 1; j <= e && j < count(); ++j) {
        const int k = keyword(j);
        if (k == kwif || k == kwfor || k == kwwhile) ++depth;
        else if (k == kwend) --depth;
        else if (k == kwelse && depth == 0) return j;
    }
    return -1;
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
        // The reports stand where the failing statement stood.
        const tplaceguard keepplace(s);
        if (fault.line >= 0) s.place = {&source, fault.sourceline};
        s.host.showmessage("Critical error on compile: " + name);
        memoline(memo, "Critical error on compile at: " + name);
    }
}

void runfuncbody(const tfuncitem& item, tvarlist& temp, tfunclist& funcs, tmemo* memo, tsession& s)
{
    tfuncstore store(item.name);
    store.source = item.source;
    store.assignlines(item.lines, item.firstline);
    store.runstore(temp, funcs, memo, s);
}

}  // namespace quor
