#pragma once
// Colouring of program text, read with the interpreter's own scanners: keywords at the start
// of a statement, function head and end lines, quoted literals, numbers and the names of the
// built-ins in the loaded name tables.
#include <string>
#include <vector>

#include <QSyntaxHighlighter>

namespace quor {

class tfunclist;

// What a stretch of a line is.
enum class ttokenkind { keyword, unitline, literal, number, builtin };

struct ttoken {
    int start;    // 0-based byte offset in the line
    int length;   // bytes
    ttokenkind kind;
    bool operator==(const ttoken&) const = default;
};

// The coloured stretches of one line, in order; names of funcs' tables count as built-ins.
std::vector<ttoken> colourtokens(const std::string& line, const tfunclist& funcs);

class tsyntaxcolour : public QSyntaxHighlighter {
public:
    tsyntaxcolour(QTextDocument* document, const tfunclist& funcs);

protected:
    void highlightBlock(const QString& text) override;

private:
    const tfunclist& funcs_;
};

}  // namespace quor
