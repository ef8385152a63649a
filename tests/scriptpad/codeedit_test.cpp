// The program text box: the line-number margin's width and painting, the marked statement;
// the editor's tool bar and the run-function dialog's keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>

#include "codeedit.h"
#include "padfixture.h"
#include "runfuncdialog.h"

namespace {

QString linesof(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i) l << QString("x%1").arg(i);
    return l.join('\n');
}

TEST(CodeEdit, MarginFitsTheWidestLineNumberAndAtLeastTwoDigits)
{
    quor::tcodeedit e;
    const int nine = e.fontMetrics().horizontalAdvance(QLatin1Char('9'));
    const struct { int lines, digits; } rows[] = {
        {1, 2}, {9, 2}, {10, 2}, {99, 2}, {100, 3}, {999, 3}, {1000, 4}, {12, 2},
    };
    for (const auto& r : rows) {
        e.setPlainText(linesof(r.lines));
        ASSERT_EQ(e.blockCount(), r.lines);
        EXPECT_EQ(e.marginwidth(), 10 + nine * r.digits) << r.lines;
        EXPECT_EQ(e.viewport()->x() - e.contentsRect().left(), e.marginwidth()) << r.lines;
    }
}

TEST(CodeEdit, TextLines)
{
    quor::tcodeedit e;
    const struct { const char* text; std::vector<std::string> want; } rows[] = {
        {"", {}}, {"a", {"a"}}, {"a\nb", {"a", "b"}}, {"a\n", {"a", ""}}, {"\n\n", {"", "", ""}},
    };
    for (const auto& r : rows) {
        e.setPlainText(r.text);
        EXPECT_EQ(quor::textlines(&e), r.want) << r.text;
    }
}

// How many pixels of the box are red ink, and how many grey ink (darker than the margin).
int reds(const QImage& img, const QRect& box)
{
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() > c.green() + 60 && c.red() > c.blue() + 60) ++n;
        }
    return n;
}
int greys(const QImage& img, const QRect& box)
{
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() < 200 && c.red() == c.green() && c.green() == c.blue()) ++n;
        }
    return n;
}

TEST(CodeEdit, MarkedStatementIsRedInTheMarginAndShadedInTheText)
{
    quor::tcodeedit e;
    e.resize(300, 200);
    e.setPlainText(linesof(5));
    e.show();
    QApplication::processEvents();
    const int h = e.fontMetrics().height();
    auto marginrow = [&](int line) {
        const QRect r = e.cursorRect(QTextCursor(e.document()->findBlockByNumber(line)));
        return QRect(e.contentsRect().left(), e.viewport()->y() + r.top(), e.marginwidth(), h);
    };

    QImage img = e.grab().toImage();
    EXPECT_EQ(img.pixelColor(e.contentsRect().left() + 1, e.contentsRect().top() + 1), QColor(236, 236, 236));
    EXPECT_GT(greys(img, marginrow(2)), 0);
    EXPECT_EQ(reds(img, marginrow(2)), 0);
    EXPECT_TRUE(e.extraSelections().isEmpty());

    e.markline(2);
    QApplication::processEvents();
    img = e.grab().toImage();
    EXPECT_GT(reds(img, marginrow(2)), 0);
    EXPECT_EQ(greys(img, marginrow(2)), 0);
    EXPECT_GT(greys(img, marginrow(1)), 0);
    EXPECT_EQ(reds(img, marginrow(1)), 0);
    EXPECT_EQ(e.textCursor().blockNumber(), 2);
    ASSERT_EQ(e.extraSelections().size(), 1);
    EXPECT_EQ(e.extraSelections()[0].cursor.blockNumber(), 2);
    EXPECT_EQ(e.extraSelections()[0].format.background().color(), QColor(255, 214, 214));

    // A line that is not there marks nothing; an edit removes the mark.
    e.markline(7);
    EXPECT_TRUE(e.extraSelections().isEmpty());
    e.markline(1);
    ASSERT_EQ(e.extraSelections().size(), 1);
    QTextCursor c(e.document());
    c.insertText("y");
    EXPECT_TRUE(e.extraSelections().isEmpty());
    e.markline(-1);
    EXPECT_TRUE(e.extraSelections().isEmpty());
}

TEST(CodeEdit, StopButtonSitsOnTheToolBarAndWaitsForARun)
{
    quortest::pad p;
    const QList<QToolBar*> bars = p.ed().findChildren<QToolBar*>();
    ASSERT_FALSE(bars.isEmpty());
    bool onbar = false;
    for (QToolBar* b : bars) onbar = onbar || b->actions().contains(p.ed().stopaction);
    EXPECT_TRUE(onbar);
    EXPECT_FALSE(p.ed().stopaction->isEnabled());
    EXPECT_EQ(p.ed().stopaction->toolTip(), "停止 (Esc)");
}

TEST(CodeEdit, EscapeNeverClosesTheRunFunctionDialogAndF5Runs)
{
    quortest::pad p;
    p.type("function y=f(a)\ny:=a\nendfunction");
    p.ed().selbox->setEditText("f");
    p.ed().runfuncbtnClick();
    quor::Trunfuncdialog& d = *p.windows->runfunc;
    d.show();
    QApplication::processEvents();
    ASSERT_TRUE(d.isVisible());
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&d, &esc);
    QApplication::processEvents();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.runaction->shortcut(), QKeySequence(Qt::Key_F5));
    d.hide();
}

}  // namespace

TEST(CodeEdit, ToolButtonsInTheirOrderEachDoingItsWork)
{
    quortest::pad p;
    const struct { const char* name; const char* hint; } buttons[] = {
        {"newbtn", "新建"},   {"filebtn", "打开"},  {"saveflbtn", "保存"}, {"savebtn", "另存为"},
        {"Copybtn", "复制"},  {"cutbtn", "剪切"},   {"pastebtn", "粘贴"},  {"fontbtn", "字体"},
        {"runbtn", "调试过程"}, {"runfuncbtn", "调试函数"},
    };
    auto* first = p.ed().findChild<QToolButton*>("newbtn");
    ASSERT_NE(first, nullptr);
    auto* bar = qobject_cast<QToolBar*>(first->parentWidget());
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> order;   // the named buttons, left to right
    for (QAction* a : bar->actions())
        if (QWidget* w = bar->widgetForAction(a); w && !w->objectName().isEmpty()) order.push_back(w->objectName().toStdString());
    ASSERT_GE(order.size(), std::size(buttons));
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        EXPECT_EQ(order[i], buttons[i].name);
        auto* button = p.ed().findChild<QToolButton*>(buttons[i].name);
        ASSERT_NE(button, nullptr) << buttons[i].name;
        EXPECT_EQ(button->toolTip().toStdString(), buttons[i].hint) << buttons[i].name;
    }
    // "新建" empties an unmodified program.
    p.type("x:=1");
    p.ed().flowmemo->document()->setModified(false);
    p.ed().findChild<QToolButton*>("newbtn")->click();
    EXPECT_EQ(p.ed().flowmemo->toPlainText().toStdString(), "");
}
