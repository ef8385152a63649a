#pragma once
// The bracket that pairs with the one at the caret. A statement never leaves its line, so
// pairs are looked for within one line: ( ), [ ] and { } nest by kind, and brackets inside
// a quoted literal pair only with brackets of the same literal.
#include <QList>
#include <QString>
#include <QTextEdit>

class QPlainTextEdit;

namespace quor {

// Two columns of one line; at is -1 when there is no pair.
struct tbracketpair {
    int at = -1;
    int partner = -1;
    bool operator==(const tbracketpair&) const = default;
};

// The column of the bracket that pairs with the bracket at line[at]; -1 when it is unmatched
// or line[at] is no bracket.
int matchingbracket(const QString& line, int at);

// The pair for a caret at column: a closing bracket just before the caret when it has a
// partner, else an opening bracket just after it; none when neither pairs.
tbracketpair caretbrackets(const QString& line, int column);

// The highlights of the pair at the edit's caret (empty when there is none).
QList<QTextEdit::ExtraSelection> bracketmarks(const QPlainTextEdit& edit);

}  // namespace quor
