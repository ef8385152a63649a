// The line-number margin when the text scrolls: what the window shows afterwards, as kept in
// its backing store, matches a full repaint (stale numbers would not).
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>

#include "codeedit.h"

namespace {

QStringList numbered(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i) l << QString("x%1").arg(i);
    return l;
}

// What the window shows now, as kept in its backing store (no repaint).
QImage shown(QWidget& w)
{
    QApplication::processEvents();
    return w.screen()->grabWindow(w.winId()).toImage();
}

}  // namespace

TEST(MarginScroll, ScrolledMarginMatchesAFullRepaint)
{
    quor::tcodeedit e;
    e.resize(300, 200);
    e.setPlainText(numbered(200).join('\n'));
    e.show();
    shown(e);
    for (int value : {7, 20, 3}) {
        e.verticalScrollBar()->setValue(value);
        const QImage scrolled = shown(e);
        e.update();
        for (QWidget* child : e.findChildren<QWidget*>()) child->update();
        const QImage repainted = shown(e);
        ASSERT_FALSE(scrolled.isNull());
        ASSERT_EQ(scrolled.size(), repainted.size());
        const int width = e.marginwidth();
        int differ = 0;
        for (int y = 0; y < scrolled.height(); ++y)
            for (int x = 0; x < width; ++x) differ += scrolled.pixel(x, y) != repainted.pixel(x, y);
        EXPECT_EQ(differ, 0) << value;
    }
}
