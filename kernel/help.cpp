#include "help.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "funclist.h"
#include "variables.h"

namespace quorkernel {

namespace {

struct thelpline {
    const char* name;
    const char* line;
};

// One line per built-in, as the language guide describes them.
const thelpline helplines[] = {
    {"delvar", "delvar(name) — removes a variable"},
    {"cleararr", "cleararr(name) — empties a variable's elements"},
    {"load", "load(file) — runs the assignments of a data file and loads its functions (1; -1 when the file "
             "dialog of a pattern such as `'*.txt'` is cancelled; 0 for an empty name)"},
    {"plot", "plot(expression,variable,handle) — opens a plot window and stores its handle"},
    {"print", "print(text) — appends a line to the result"},
    {"setvar", "setvar(name,expression) — sets a variable"},
    {"redim", "redim(name,sizes) — declares an array"},
    {"msg", "msg(text) — shows a message box"},
    {"inputnum", "inputnum(caption,prompt,default) — asks for a number (the number)"},
    {"len", "len(name) — the number of elements (-1 when there is no such variable)"},
    {"getdim", "getdim(source,target) — stores the sizes of source into target's elements"},
    {"abs", "abs(x) — the absolute value"},
    {"tan", "tan(x) — the tangent"},
    {"atan", "atan(x) — the arc tangent"},
    {"cos", "cos(x) — the cosine"},
    {"exp", "exp(x) — e to the power x"},
    {"frac", "frac(x) — the fraction, keeps the sign"},
    {"ln", "ln(x) — the natural logarithm (fails for x <= 0)"},
    {"odd", "odd(x) — 1 when the truncated value is odd"},
    {"pi", "pi(0) — the number pi (its argument is ignored)"},
    {"random", "random(n) — a whole number from 0 to below n"},
    {"round", "round(x) — rounds, halves to even"},
    {"sin", "sin(x) — the sine"},
    {"sqr", "sqr(x) — the square"},
    {"sqrt", "sqrt(x) — the square root of the absolute value"},
    {"trunc", "trunc(x) — the whole part"},
    {"val", "val(text) — the value of a text expression: val('1+'x)"},
    {"getstr", "getstr(name) — the text of a variable"},
    {"setstr", "setstr(name,text) — sets a variable's text"},
    {"inputstr", "inputstr(caption,prompt,default) — asks for a text"},
    {"strcpy", "strcpy(target,source) — copies a variable's text"},
    {"getdc", "getdc(h) — the drawing context of window h (non-zero for a live window)"},
    {"showwnd", "showwnd(h,mode) — 0 hides window h, 5 shows it"},
    {"setwndtext", "setwndtext(h,text) — sets the caption of window h"},
};

bool namechar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || u >= 0x80;
}

std::string lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool startswith(const std::string& s, const std::string& prefix, bool nocase)
{
    if (s.size() < prefix.size()) return false;
    if (!nocase) return s.compare(0, prefix.size(), prefix) == 0;
    return lower(s.substr(0, prefix.size())) == lower(prefix);
}

}  // namespace

const std::vector<std::string>& keywords()
{
    static const std::vector<std::string> words = {"if", "else", "end", "for", "while", "break", "function",
                                                   "endfunction"};
    return words;
}

std::string builtinhelp(const std::string& name)
{
    const std::string n = lower(name);
    for (const thelpline& h : helplines)
        if (n == h.name) return h.line;
    return "";
}

tword wordbefore(const std::string& code, std::size_t at)
{
    at = std::min(at, code.size());
    std::size_t b = at;
    while (b > 0 && namechar(code[b - 1])) --b;
    return {b, code.substr(b, at - b)};
}

std::vector<std::string> inspectednames(const std::string& code, std::size_t at)
{
    std::vector<std::string> out;
    at = std::min(at, code.size());
    std::size_t e = at;
    while (e < code.size() && namechar(code[e])) ++e;
    const tword w = wordbefore(code, e);
    if (!w.text.empty()) out.push_back(w.text);
    // The names before the "(" still open on the line, innermost first.
    int depth = 0;
    for (std::size_t i = w.text.empty() ? at : w.start; i > 0; --i) {
        const char c = code[i - 1];
        if (c == '\n') break;
        if (c == ')') ++depth;
        else if (c == '(' && depth-- == 0) {
            depth = 0;
            const tword call = wordbefore(code, i - 1);
            if (!call.text.empty()) out.push_back(call.text);
        }
    }
    return out;
}

std::vector<std::string> completions(const std::string& prefix, const quor::tvarlist& vars,
                                     const quor::tfunclist& funcs)
{
    std::vector<std::string> out;
    auto offer = [&](const std::string& name, bool nocase) {
        if (name.empty() || !startswith(name, prefix, nocase)) return;
        if (!std::all_of(name.begin(), name.end(), namechar)) return;   // names with blanks cannot be typed
        out.push_back(name);
    };
    for (const quor::tvar& v : vars.items) offer(v.name, false);
    for (int i = 0; i < funcs.count(); ++i) offer(funcs.item(i).name, true);
    for (const quor::tnametable* t : {&funcs.commandnames, &funcs.mathnames, &funcs.apinames, &funcs.stringnames})
        for (const std::string& n : *t) offer(n, true);
    for (const std::string& k : keywords()) offer(k, true);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::size_t byteoffset(const std::string& text, int pos)
{
    std::size_t i = 0;
    for (int n = 0; i < text.size() && n < pos; ++n) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return i;
}

int codepoints(const std::string& text, std::size_t bytes)
{
    int n = 0;
    for (std::size_t i = 0; i < bytes && i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace quorkernel
