#include "bracketmatch.h"

#include <vector>

#include <QPlainTextEdit>
#include <QTextBlock>

namespace quor {

namespace {

constexpr char16_t openings[] = u"([{";
constexpr char16_t closings[] = u")]}";

int kindof(QChar c, const char16_t* set)
{
    for (int i = 0; i < 3; ++i)
        if (c.unicode() == set[i]) return i;
    return -1;
}

// For every column: 0 outside literals, k inside the k-th literal of the line (its quotes
// included). A literal runs to its closing quote, or to the end of the line.
std::vector<int> regions(const QString& line)
{
    std::vector<int> out(static_cast<std::size_t>(line.size()), 0);
    int literal = 0;
    bool inside = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '\'' && !inside) {
            inside = true;
            ++literal;
            out[static_cast<std::size_t>(i)] = literal;
            continue;
        }
        if (inside) out[static_cast<std::size_t>(i)] = literal;
        if (line[i] == '\'') inside = false;
    }
    return out;
}

}  // namespace

int matchingbracket(const QString& line, int at)
{
    if (at < 0 || at >= line.size()) return -1;
    const QChar c = line[at];
    int kind = kindof(c, openings);
    const int step = kind >= 0 ? 1 : -1;
    if (kind < 0) kind = kindof(c, closings);
    if (kind < 0) return -1;
    const QChar self = c;
    const QChar other = step > 0 ? QChar(closings[kind]) : QChar(openings[kind]);
    const std::vector<int> region = regions(line);
    const int mine = region[static_cast<std::size_t>(at)];
    int depth = 0;
    for (int i = at; i >= 0 && i < line.size(); i += step) {
        if (region[static_cast<std::size_t>(i)] != mine) continue;
        if (line[i] == self) ++depth;
        else if (line[i] == other && --depth == 0) return i;
    }
    return -1;
}

tbracketpair caretbrackets(const QString& line, int column)
{
    if (column > 0 && column <= line.size() && kindof(line[column - 1], closings) >= 0) {
        const int partner = matchingbracket(line, column - 1);
        if (partner >= 0) return {column - 1, partner};
    }
    if (column >= 0 && column < line.size() && kindof(line[column], openings) >= 0) {
        const int partner = matchingbracket(line, column);
        if (partner >= 0) return {column, partner};
    }
    return {};
}

QList<QTextEdit::ExtraSelection> bracketmarks(const QPlainTextEdit& edit)
{
    QList<QTextEdit::ExtraSelection> marks;
    const QTextCursor caret = edit.textCursor();
    const QTextBlock block = caret.block();
    const tbracketpair pair = caretbrackets(block.text(), caret.positionInBlock());
    if (pair.at < 0) return marks;
    for (const int column : {pair.at, pair.partner}) {
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(QColor(168, 222, 186));
        mark.cursor = QTextCursor(block);
        mark.cursor.setPosition(block.position() + column);
        mark.cursor.setPosition(block.position() + column + 1, QTextCursor::KeepAnchor);
        marks.append(mark);
    }
    return marks;
}

}  // namespace quor
