#include "scanner.h"

#include <cstring>

namespace quor {

namespace {

long textlength(const std::string& t) { return static_cast<long>(t.size()); }

bool nameterminator(char c) { return c != '\0' && std::strchr(" ()*+-/<=>[]^", c) != nullptr; }

}  // namespace

long findquote(const std::string& t, long from, long to, int mode, tdialect d)
{
    if (from < 1 || to > textlength(t) || from >= to) return -1;
    long i = from;
    if (mode == 0) {
        while (i <= to) {
            const char c = charat(t, i);
            if (c == '(') {
                i = matchparen(t, i, d) + 1;
                continue;
            }
            if (c == '\'') return i;
            ++i;
        }
        return 0;
    }
    while (i <= to) {
        if (charat(t, i) == '\'') {
            long run = 0;
            while (i + run <= to && charat(t, i + run) == '\'') ++run;
            const long last = i + run - 1;
            if (run % 2 == 1) return last;
            i = last + 2;   // an even run stands for quote characters inside the literal
        } else {
            ++i;
        }
    }
    return 0;
}

long literalend(const std::string& t, long q, tdialect d)
{
    const long len = textlength(t);
    const long r = findquote(t, q + 1, len, 1, d);
    if (r > 0) return r;
    // A one-character range is refused by findquote; a quote there still closes the literal.
    if (r == -1 && q + 1 == len && charat(t, len) == '\'') return len;
    return 0;
}

long matchparen(const std::string& t, long s, tdialect d)
{
    const long len = textlength(t);
    long depth = 1, i = s + 1;
    for (;;) {
        if (d == tdialect::editor && charat(t, i) == '\'') {
            const long e = literalend(t, i, d);
            i = e > 0 ? e : len + 1;   // an unclosed literal runs to the end of the text
        }
        const char c = charat(t, i);
        if (c == '(') ++depth;
        else if (c == ')') --depth;
        ++i;
        if (depth == 0 || i - 1 > len) break;
    }
    return i - 1;
}

long matchbracket(const std::string& t, long s)
{
    const long len = textlength(t);
    long depth = 1, i = s + 1;
    for (;;) {
        const char c = charat(t, i);
        if (c == '[') ++depth;
        else if (c == ']') --depth;
        ++i;
        if (depth == 0 || i - 1 > len) break;
    }
    return i - 1;
}

std::string splitarg(std::string& a, tdialect d)
{
    const long len = textlength(a);
    long i = 1;
    while (i <= len) {
        const char c = charat(a, i);
        if (c == '(') {
            i = matchparen(a, i, d);
        } else if (c == '[') {
            i = matchbracket(a, i);
        } else if (c == '\'' && d == tdialect::editor) {
            const long e = literalend(a, i, d);
            i = e > 0 ? e : len;
        } else if (c == ',') {
            std::string first = a.substr(0, static_cast<std::size_t>(i - 1));
            a = a.substr(static_cast<std::size_t>(i));
            return first;
        }
        ++i;
    }
    std::string first = a;
    a.clear();
    return first;
}

std::string markunary(const std::string& text)
{
    std::string t;
    t.reserve(text.size() + text.size() / 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        t += text[i];
        if (text[i] == '-' && i + 1 < text.size()) {
            const char n = text[i + 1];
            if (n == '(' || n == '-' || (n >= 'a' && n <= 'z')) t += "1*";
        }
    }
    return t;
}

tnamescan scanname(const std::string& t, long s, tdialect d)
{
    long n = 0;
    while (charat(t, s + n) != '\0' && !nameterminator(charat(t, s + n))) ++n;
    const char term = charat(t, s + n);
    long q = s + n - 1;
    if (term == '(') q = matchparen(t, s + n, d);
    else if (term == '[') q = matchbracket(t, s + n);
    return {n, q};
}

}  // namespace quor
