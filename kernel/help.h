#pragma once
// What the notebook's Tab and Shift+Tab offer: completions and one-line help on built-ins.
#include <string>
#include <vector>

#include "enginefwd.h"

namespace quorkernel {

// The language's flow words, function block words included.
const std::vector<std::string>& keywords();

// The one-line help of a built-in, "name(arguments) — what it does"; "" for other names.
// Names are compared without regard to case, as calls are.
std::string builtinhelp(const std::string& name);

// The word that ends at byte offset at: its first byte and the word.
struct tword {
    std::size_t start = 0;
    std::string text;
};
tword wordbefore(const std::string& code, std::size_t at);
// The names a Shift+Tab at offset at may ask about, the likeliest first: the word under or
// before the cursor, then the calls whose brackets hold the cursor, innermost first.
std::vector<std::string> inspectednames(const std::string& code, std::size_t at);

// Variables, user functions, built-in names of the loaded tables and keywords that begin
// with prefix (built-ins and keywords without regard to case), sorted, each once.
std::vector<std::string> completions(const std::string& prefix, const quor::tvarlist& vars,
                                     const quor::tfunclist& funcs);

// Byte offset of the code point index pos in a UTF-8 text (the front end counts code points).
std::size_t byteoffset(const std::string& text, int pos);
// Code point index of a byte offset.
int codepoints(const std::string& text, std::size_t bytes);

}  // namespace quorkernel
