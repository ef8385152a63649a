// The editor's find, replace, go-to-line, undo/redo and bracket pairs, with scripted boxes.
#include <gtest/gtest.h>

#include <set>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "bracketmatch.h"
#include "findreplace.h"
#include "gotoline.h"
#include "padfixture.h"

using quortest::events;
using quortest::pad;

namespace {

// The selection of the text pane as "start-end".
std::string selection(pad& p)
{
    const QTextCursor c = p.ed().flowmemo->textCursor();
    return std::to_string(c.selectionStart()) + "-" + std::to_string(c.selectionEnd());
}

void caret(pad& p, int at, int anchor = -1)
{
    QTextCursor c(p.ed().flowmemo->document());
    c.setPosition(anchor < 0 ? at : anchor);
    if (anchor >= 0) c.setPosition(at, QTextCursor::KeepAnchor);
    p.ed().flowmemo->setTextCursor(c);
}

const char* found(quor::tfound f)
{
    switch (f) {
    case quor::tfound::found: return "found";
    case quor::tfound::wrapped: return "wrapped";
    default: return "notfound";
    }
}

TEST(editing, findin)
{
    struct row {
        const char* text;
        const char* what;
        int from;
        bool backward, matchcase, wholeword;
        int want;
    };
    const row rows[] = {
        {"abc abc ABC", "abc", 0, false, false, false, 0},
        {"abc abc ABC", "abc", 1, false, false, false, 4},
        {"abc abc ABC", "abc", 5, false, false, false, 8},    // case ignored
        {"abc abc ABC", "abc", 5, false, true, false, -1},
        {"abc abc ABC", "abc", 11, true, false, false, 8},    // backward from the end
        {"abc abc ABC", "abc", 11, true, true, false, 4},
        {"abc abc ABC", "abc", 4, true, false, false, 0},     // a match starting at from is not before it
        {"abc abc ABC", "abc", 5, true, false, false, 4},     // one that starts before from is
        {"abc abc ABC", "abc", 0, true, false, false, -1},
        {"abc abc ABC", "abc", 12, false, false, false, -1},  // past the end
        {"abc", "", 0, false, false, false, -1},
        {"cat concat cat_x cat", "cat", 1, false, false, true, 17},   // "_" belongs to a word
        {"cat concat cat_x cat", "cat", 17, true, false, true, 0},
        {"cat concat cat_x cat", "cat", 1, false, false, false, 7},
        {"f(x) (x)", "(x", 0, false, false, true, 5},   // a letter before "(" is a word edge too
        {"x1 x 1x", "x", 0, false, false, true, 3},     // digits belong to words
        {"变量x 变量", "变量", 0, false, false, true, 4},   // CJK letters are word letters
        {"aaaa", "aa", 1, false, false, false, 1},      // overlapping matches are found
    };
    for (const row& r : rows) {
        const quor::tfindoptions o{r.matchcase, r.wholeword};
        EXPECT_EQ(quor::findin(r.text, r.what, r.from, r.backward, o), r.want)
            << r.text << " / " << r.what << " from " << r.from << (r.backward ? " backward" : "");
    }
}

TEST(editing, findnextandpreviouswrap)
{
    pad p;
    p.type("x:=1\ny:=x+x\nX");
    quor::tfinder& f = p.ed().finddialog->finder();
    f.what = "x";
    caret(p, 0);
    std::vector<std::string> got;
    auto step = [&](bool backward) {
        const std::string what = found(f.findnext(backward));
        got.push_back(what + " " + selection(p));
    };
    for (int i = 0; i < 5; ++i) step(false);
    EXPECT_EQ(got, (std::vector<std::string>{"found 0-1", "found 8-9", "found 10-11", "found 12-13", "wrapped 0-1"}));
    got.clear();
    for (int i = 0; i < 3; ++i) step(true);
    EXPECT_EQ(got, (std::vector<std::string>{"wrapped 12-13", "found 10-11", "found 8-9"}));
    // Case counts: the last line's X is left out.
    f.options.matchcase = true;
    caret(p, 11);
    EXPECT_STREQ(found(f.findnext(false)), "wrapped");
    EXPECT_EQ(selection(p), "0-1");
    EXPECT_TRUE(p.take().empty());

    // Nothing anywhere: one box, the selection stays.
    caret(p, 6, 3);
    f.what = "zz";
    EXPECT_STREQ(found(f.findnext(false)), "notfound");
    EXPECT_EQ(p.take(), events{"message: Quor Editor|找不到“zz”"});
    EXPECT_EQ(selection(p), "3-6");
    // The only match, already selected, is found again by going round.
    f.what = "y";
    caret(p, 6, 5);
    EXPECT_STREQ(found(f.findnext(false)), "wrapped");
    EXPECT_EQ(selection(p), "5-6");
}

TEST(editing, replaceonlyamatchingselection)
{
    struct row {
        const char* name;
        int anchor, at;   // the selection before Replace
        bool matchcase, wholeword, backward;
        const char* text;
        const char* sel;  // afterwards: the next match
    };
    const row rows[] = {
        {"no selection: only finds", 0, 0, false, false, false, "ab ab Ab abc", "0-2"},
        {"a selection that is no match: only finds", 1, 3, false, false, false, "ab ab Ab abc", "3-5"},
        {"a match is replaced, the next found", 3, 5, false, false, false, "ab XYZ Ab abc", "7-9"},
        {"case ignored", 6, 8, false, false, false, "ab ab XYZ abc", "10-12"},
        {"case counts", 6, 8, true, false, false, "ab ab Ab abc", "9-11"},
        {"a part of a word is no whole word", 9, 11, false, true, false, "ab ab Ab abc", "0-2"},
        {"backward: the previous one is found", 3, 5, false, false, true, "ab XYZ Ab abc", "0-2"},
    };
    for (const row& r : rows) {
        pad p;
        p.type("ab ab Ab abc");
        quor::tfinder& f = p.ed().finddialog->finder();
        f.what = "ab";
        f.with = "XYZ";
        f.options = {r.matchcase, r.wholeword};
        caret(p, r.at, r.anchor);
        f.replace(r.backward);
        EXPECT_EQ(p.text(), r.text) << r.name;
        EXPECT_EQ(selection(p), r.sel) << r.name;
        EXPECT_TRUE(p.take().empty()) << r.name;
    }
}

TEST(editing, replaceallisoneundostep)
{
    struct row {
        const char* what;
        const char* with;
        bool matchcase, wholeword;
        int count;
        const char* text;
    };
    const char* before = "a:=a+1\nA:=aa;;print(a)";
    const row rows[] = {
        {"a", "b", false, false, 6, "b:=b+1\nb:=bb;;print(b)"},
        {"a", "b", true, false, 5, "b:=b+1\nA:=bb;;print(b)"},
        {"a", "b", false, true, 4, "b:=b+1\nb:=aa;;print(b)"},
        {"a", "aa", true, true, 3, "aa:=aa+1\nA:=aa;;print(aa)"},   // the replacement holds the text
        {"aa", "", false, false, 1, "a:=a+1\nA:=;;print(a)"},
        {"q", "z", false, false, 0, "a:=a+1\nA:=aa;;print(a)"},
    };
    for (const row& r : rows) {
        pad p;
        p.type(before);
        p.ed().flowmemo->document()->clearUndoRedoStacks();
        quor::tfinder& f = p.ed().finddialog->finder();
        f.what = r.what;
        f.with = r.with;
        f.options = {r.matchcase, r.wholeword};
        EXPECT_EQ(f.replaceall(), r.count) << r.what << "->" << r.with;
        EXPECT_EQ(p.text(), r.text) << r.what << "->" << r.with;
        EXPECT_EQ(p.take(), r.count ? events{} : events{"message: Quor Editor|找不到“q”"});
        EXPECT_EQ(p.ed().undoaction->isEnabled(), r.count > 0);
        if (r.count == 0) continue;
        // One undo brings back the whole text; one redo the whole replacement.
        p.ed().undoaction->trigger();
        EXPECT_EQ(p.text(), before) << r.what;
        EXPECT_FALSE(p.ed().undoaction->isEnabled());
        EXPECT_TRUE(p.ed().redoaction->isEnabled());
        p.ed().redoaction->trigger();
        EXPECT_EQ(p.text(), r.text) << r.what;
        EXPECT_FALSE(p.ed().redoaction->isEnabled());
    }
}

TEST(editing, undoredofollowthetext)
{
    pad p;
    QAction& undo = *p.ed().undoaction;
    QAction& redo = *p.ed().redoaction;
    EXPECT_FALSE(undo.isEnabled());
    EXPECT_FALSE(redo.isEnabled());
    p.type("a:=1");
    EXPECT_TRUE(undo.isEnabled());
    EXPECT_FALSE(redo.isEnabled());
    undo.trigger();
    EXPECT_EQ(p.text(), "");
    EXPECT_FALSE(undo.isEnabled());
    EXPECT_TRUE(redo.isEnabled());
    redo.trigger();
    EXPECT_EQ(p.text(), "a:=1");
    // An opened file starts a fresh history.
    p.dir.write("prog.txt", "b:=2\r\n");
    ASSERT_TRUE(p.ed().openpath(QString::fromStdString((p.dir.path / "prog.txt").string())));
    EXPECT_FALSE(undo.isEnabled());
    EXPECT_FALSE(redo.isEnabled());
}

TEST(editing, gotoline)
{
    struct row {
        const char* name;
        std::vector<std::string> answers;
        bool moved;
        int line;   // the caret's line afterwards (0-based)
        int boxes;  // out-of-range boxes shown
    };
    const row rows[] = {
        {"first", {"1"}, true, 0, 0},
        {"last", {"4"}, true, 3, 0},
        {"spaces around", {" 3 "}, true, 2, 0},
        {"0 is refused, then asked again", {"0", "2"}, true, 1, 1},
        {"past the end is refused", {"5", "<cancel>"}, false, 1, 1},
        {"not a number", {"two", "-1", "<cancel>"}, false, 1, 2},
        {"cancelled", {"<cancel>"}, false, 1, 0},
    };
    for (const row& r : rows) {
        pad p;
        p.type("a:=1\nb:=2\nc:=3\nd:=4");
        caret(p, 6);   // on line 2
        for (const std::string& a : r.answers) p.dialogs.answers.push_back(a);
        EXPECT_EQ(quor::gotoline(*p.ed().flowmemo, p.dialogs, &p.ed(), "Quor Editor"), r.moved) << r.name;
        const QTextCursor c = p.ed().flowmemo->textCursor();
        EXPECT_EQ(c.blockNumber(), r.line) << r.name;
        if (r.moved) {
            EXPECT_EQ(c.positionInBlock(), 0) << r.name;
        }
        const events got = p.take();
        ASSERT_FALSE(got.empty()) << r.name;
        EXPECT_EQ(got.front(), "input: 转到行|行号（1 - 4）：|2") << r.name;
        int boxes = 0;
        for (const std::string& e : got)
            if (e == "message: Quor Editor|行号超出范围：请输入 1 到 4 之间的数。") ++boxes;
        EXPECT_EQ(boxes, r.boxes) << r.name;
        EXPECT_EQ(got.size(), r.answers.size() + static_cast<std::size_t>(r.boxes)) << r.name;
        // The box asked again is preset with what was typed.
        if (r.boxes > 0) {
            EXPECT_EQ(got[2], "input: 转到行|行号（1 - 4）：|" + r.answers[0]) << r.name;
        }
    }
    EXPECT_EQ(quor::typedline("1", 1), 1);
    EXPECT_EQ(quor::typedline("2", 1), std::nullopt);
    EXPECT_EQ(quor::typedline("", 1), std::nullopt);
}

TEST(editing, bracketpairs)
{
    struct row {
        const char* line;
        int column;
        int at, partner;
    };
    const row rows[] = {
        {"f(x)", 1, 1, 3},                 // before an opening bracket
        {"f(x)", 4, 3, 1},                 // after a closing one
        {"f(x)", 2, -1, -1},               // after an opening one: nothing
        {"f(x)", 3, -1, -1},               // before a closing one: nothing
        {"a:=(b+(c*d))", 3, 3, 11},        // nested, outer
        {"a:=(b+(c*d))", 6, 6, 10},        // nested, inner
        {"a:=(b+(c*d))", 12, 11, 3},
        {"a:=(b+(c*d))", 11, 10, 6},       // closing before the caret wins over the one after
        {"(a)(b)", 3, 2, 0},
        {"x[i](2)", 1, 1, 3},              // kinds pair with their own kind
        {"x[(i])", 2, 2, 5},               // each kind nests on its own
        {"(a", 0, -1, -1},                 // unmatched
        {"a)", 2, -1, -1},
        {"(()", 0, -1, -1},
        {"(()", 1, 1, 2},
        {"plot('sin(x',x,h)", 4, 4, 16},   // brackets inside a literal do not count
        {"plot('sin(x)',x,h)", 9, 9, 11},  // but pair within it
        {"msg('(')", 5, -1, -1},           // a literal's lone bracket has no partner outside it
        {"msg('(')", 3, 3, 7},             // nor is it counted from outside
        {"", 0, -1, -1},
        {"()", 5, -1, -1},                 // a column past the end
    };
    for (const row& r : rows) {
        const quor::tbracketpair want = r.at < 0 ? quor::tbracketpair{} : quor::tbracketpair{r.at, r.partner};
        const quor::tbracketpair got = quor::caretbrackets(r.line, r.column);
        EXPECT_EQ(got.at, want.at) << r.line << " at " << r.column;
        EXPECT_EQ(got.partner, want.partner) << r.line << " at " << r.column;
    }
    EXPECT_EQ(quor::matchingbracket("x[(i])", 2), 5);
    EXPECT_EQ(quor::matchingbracket("x[(i])", 1), 4);
    EXPECT_EQ(quor::matchingbracket("x", 0), -1);
}

TEST(editing, bracketsarehighlightedatthecaret)
{
    pad p;
    p.type("a:=1\nb:=(a+(2))");
    auto marked = [&p] {
        std::set<int> at;
        for (const QTextEdit::ExtraSelection& s : p.ed().flowmemo->extraSelections())
            if (s.cursor.hasSelection()) at.insert(s.cursor.selectionStart());
        return at;
    };
    caret(p, 8);    // before "(" of line 2
    EXPECT_EQ(marked(), (std::set<int>{8, 14}));
    caret(p, 14);   // after the inner ")"
    EXPECT_EQ(marked(), (std::set<int>{11, 13}));
    caret(p, 2);
    EXPECT_TRUE(marked().empty());
    // An edit that breaks the pair takes the highlight away.
    caret(p, 15);
    EXPECT_EQ(marked(), (std::set<int>{8, 14}));
    QTextCursor c(p.ed().flowmemo->document());
    c.setPosition(8);
    c.deleteChar();
    EXPECT_EQ(p.text(), "a:=1\nb:=a+(2))");
    EXPECT_EQ(p.ed().flowmemo->textCursor().position(), 14);
    EXPECT_TRUE(marked().empty());
}

TEST(editing, editmenu)
{
    pad p;
    QMenu* edit = nullptr;
    for (QAction* a : p.ed().menuBar()->actions())
        if (a->text() == "编辑") edit = a->menu();
    ASSERT_NE(edit, nullptr);
    std::vector<std::string> got;
    for (QAction* a : edit->actions())
        got.push_back(a->isSeparator() ? "-" : a->text().toStdString() + " " + a->shortcut().toString().toStdString());
    EXPECT_EQ(got, (std::vector<std::string>{"复制 ", "剪切 ", "粘贴 ", "全选 ", "字体 ", "-", "撤销 Ctrl+Z",
                                             "重做 Ctrl+Shift+Z", "-", "查找... Ctrl+F", "查找下一个 F3",
                                             "查找上一个 Shift+F3", "替换... Ctrl+H", "转到行... Ctrl+G"}));
    // No two entries of the window share keys.
    std::set<QString> keys;
    for (QAction* m : p.ed().menuBar()->actions())
        for (QAction* a : m->menu()->actions())
            if (!a->shortcut().isEmpty()) {
                EXPECT_TRUE(keys.insert(a->shortcut().toString()).second) << a->text().toStdString();
            }
}

TEST(editing, finddialog)
{
    pad p;
    p.type("sin(x)\ncos(x)+SIN(x)");
    quor::tfinddialog& d = *p.ed().finddialog;
    // F3 before any search opens the find dialog, without its replace row.
    caret(p, 0);
    d.findnext();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.windowTitle(), "查找");
    EXPECT_FALSE(d.isModal());
    EXPECT_FALSE(d.replaceallbtn->isVisibleTo(&d));
    EXPECT_FALSE(d.findbtn->isEnabled());
    d.hide();
    // Ctrl+H takes a one-line selection as the text to find.
    caret(p, 3, 0);
    d.openreplace();
    EXPECT_EQ(d.windowTitle(), "替换");
    EXPECT_TRUE(d.replaceallbtn->isVisibleTo(&d));
    // Each box stands on its label's row, right of it.
    for (QLineEdit* box : {d.whatedit, d.withedit}) {
        QLabel* label = nullptr;
        for (QLabel* l : d.findChildren<QLabel*>())
            if (l->buddy() == box) label = l;
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(box->geometry().center().y(), label->geometry().center().y()) << label->text().toStdString();
        EXPECT_GT(box->x(), label->x()) << label->text().toStdString();
    }
    EXPECT_LT(d.whatedit->y(), d.withedit->y());
    EXPECT_EQ(d.whatedit->text(), "sin");
    EXPECT_TRUE(d.findbtn->isEnabled());
    d.findbtnClick();
    EXPECT_EQ(selection(p), "14-17");
    d.findbtnClick();
    EXPECT_EQ(selection(p), "0-3");
    EXPECT_EQ(d.note->text(), "已到末尾，从开头继续查找。");
    d.upbtn->setChecked(true);
    d.findbtnClick();
    EXPECT_EQ(selection(p), "14-17");
    EXPECT_EQ(d.note->text(), "已到开头，从末尾继续查找。");
    d.findprevious();   // Shift+F3
    EXPECT_EQ(selection(p), "0-3");
    EXPECT_EQ(d.note->text(), "");
    // A multi-line selection leaves the find box as it was.
    caret(p, 10, 0);
    d.openfind();
    EXPECT_EQ(d.whatedit->text(), "sin");
    d.matchcase->setChecked(true);
    d.withedit->setText("tan");
    d.replaceallbtnClick();
    EXPECT_EQ(p.text(), "tan(x)\ncos(x)+SIN(x)");
    EXPECT_EQ(d.note->text(), "已替换 1 处。");
    // Nothing left: the box goes over the dialog.
    d.replaceallbtnClick();
    EXPECT_EQ(p.take(), events{"message: Quor Editor|找不到“sin”"});
    EXPECT_EQ(d.note->text(), "");
}

}  // namespace
