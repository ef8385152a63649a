#include "syntaxcolour.h"

#include "funclist.h"
#include "funcstore.h"
#include "numtext.h"
#include "scanner.h"
#include "unittext.h"

namespace quor {

namespace {

bool builtinname(const std::string& name, const tfunclist& funcs)
{
    return tableindex(funcs.mathnames, name) >= 0 || tableindex(funcs.commandnames, name) >= 0 ||
           tableindex(funcs.apinames, name) >= 0 || tableindex(funcs.stringnames, name) >= 0;
}

QTextCharFormat formatof(ttokenkind kind)
{
    QTextCharFormat f;
    switch (kind) {
    case ttokenkind::keyword: f.setForeground(QColor(0, 0, 160)); f.setFontWeight(QFont::Bold); break;
    case ttokenkind::unitline: f.setForeground(QColor(128, 0, 128)); f.setFontWeight(QFont::Bold); break;
    case ttokenkind::literal: f.setForeground(QColor(160, 80, 0)); break;
    case ttokenkind::number: f.setForeground(QColor(0, 120, 120)); break;
    case ttokenkind::builtin: f.setForeground(QColor(0, 110, 0)); break;
    }
    return f;
}

}  // namespace

std::vector<ttoken> colourtokens(const std::string& line, const tfunclist& funcs)
{
    std::vector<ttoken> out;
    // Head and end lines of a unit are not statements: the whole line is one stretch.
    if (getlineclass(line) != 0) {
        out.push_back({0, static_cast<int>(line.size()), ttokenkind::unitline});
        return out;
    }
    const long len = static_cast<long>(line.size());
    bool statementstart = true;   // no word seen yet since the start or the last ";"
    long i = 1;
    while (i <= len) {
        const char c = charat(line, i);
        if (c == '\'') {
            // A literal runs to its closing quote, or to the end when it does not close.
            const long e = literalend(line, i, tdialect::editor);
            const long stop = e > 0 ? e : len;
            out.push_back({static_cast<int>(i - 1), static_cast<int>(stop - i + 1), ttokenkind::literal});
            i = stop + 1;
            statementstart = false;
            continue;
        }
        if (c == ';') statementstart = true;
        // The scanner's names end at operators and brackets; statements (";"), arguments
        // (","), assignments and for terms (":") and literals are cut apart before it.
        std::string word = line.substr(static_cast<std::size_t>(i - 1),
                                       static_cast<std::size_t>(scanname(line, i, tdialect::editor).length));
        word = word.substr(0, word.find_first_of(";,:'"));
        if (word.empty()) {
            ++i;
            continue;
        }
        const tnamescan scan{static_cast<long>(word.size()), 0};
        double v = 0;
        // A word that reads as a number is a number; the scanner keeps a sign or point inside.
        if (texttonumber(word, v, false) && word.find_first_of("0123456789") != std::string::npos) {
            out.push_back({static_cast<int>(i - 1), static_cast<int>(scan.length), ttokenkind::number});
        } else if (statementstart && keywordcode(word) != kwnone) {
            out.push_back({static_cast<int>(i - 1), static_cast<int>(scan.length), ttokenkind::keyword});
        } else if (builtinname(word, funcs)) {
            out.push_back({static_cast<int>(i - 1), static_cast<int>(scan.length), ttokenkind::builtin});
        }
        if (word.find_first_not_of(' ') != std::string::npos) statementstart = false;
        i += scan.length;
    }
    return out;
}

tsyntaxcolour::tsyntaxcolour(QTextDocument* document, const tfunclist& funcs)
    : QSyntaxHighlighter(document), funcs_(funcs)
{
}

void tsyntaxcolour::highlightBlock(const QString& text)
{
    // The scanners count bytes of the UTF-8 text; Qt counts UTF-16 units.
    const QByteArray bytes = text.toUtf8();
    for (const ttoken& t : colourtokens(bytes.toStdString(), funcs_)) {
        const int from = QString::fromUtf8(bytes.left(t.start)).size();
        const int length = QString::fromUtf8(bytes.mid(t.start, t.length)).size();
        setFormat(from, length, formatof(t.kind));
    }
}

}  // namespace quor
