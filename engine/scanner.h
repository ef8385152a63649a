#pragma once
// Text scanners shared by the whole interpreter. Positions are 1-based.
#include <cstring>
#include <string>

#include "session.h"

namespace quor {

// The character at 1-based position i, or '\0' outside the text.
inline char charat(const std::string& t, long i)
{
    return i >= 1 && i <= static_cast<long>(t.size()) ? t[static_cast<std::size_t>(i - 1)] : '\0';
}

// t[from..to], 1-based and inclusive, clipped to the text.
inline std::string slice(const std::string& t, long from, long to)
{
    const long len = static_cast<long>(t.size());
    if (from < 1) from = 1;
    if (to > len) to = len;
    if (to < from) return "";
    return t.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
}

// Characters as the evaluator classes them: a sign after one of these (or at the start)
// belongs to a number; digits; lower-case letters begin names.
inline bool signposition(char c) { return c != '\0' && std::strchr(" (*+-/<=>^", c) != nullptr; }
inline bool digitchar(char c) { return c >= '0' && c <= '9'; }
inline bool lowerchar(char c) { return c >= 'a' && c <= 'z'; }

// Position of the ")" matching the "(" at s, skipping quoted literals in the editor's
// dialect; length + 1 when there is none.
long matchparen(const std::string& t, long s, tdialect d);
// Position of the "]" matching the "[" at s; length + 1 when there is none.
long matchbracket(const std::string& t, long s);
// Mode 0: the first quote in from..to outside bracket groups (0 if none). Mode 1: the
// closing quote of a literal opened before from (0 if it does not close). -1 for a bad range.
long findquote(const std::string& t, long from, long to, int mode, tdialect d);
// The quote that closes the literal opened at q, or 0 when it does not close in the text.
long literalend(const std::string& t, long q, tdialect d);
// Cuts the first top-level comma-separated item off a, which keeps the rest after the comma.
std::string splitarg(std::string& a, tdialect d);
// Inserts "1*" after every "-" followed by "(", "-" or a lower-case letter.
std::string markunary(const std::string& text);

struct tnamescan {
    long length;   // length of the name
    long last;     // last position of the reference (through a following bracket group)
};
// Scans the name beginning at s up to the first name terminator.
tnamescan scanname(const std::string& t, long s, tdialect d);

}  // namespace quor
