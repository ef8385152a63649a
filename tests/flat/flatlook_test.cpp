// The flat controls' looks: exact border and face pixels, caption and picture placement in
// every state, repaints on every change, and the style sheet of the text controls.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "flatbutton.h"
#include "flatedit.h"
#include "flatlist.h"
#include "flatmemo.h"

namespace {

quor::tflatcolours marked()
{
    quor::tflatcolours c;
    c.face = QColor(250, 250, 250);
    c.text = QColor(0, 0, 255);
    c.border = QColor(255, 0, 0);
    c.down = QColor(200, 200, 200);
    return c;
}

// The box around the pixels of colour c (null when there are none).
QRect boxof(const QImage& img, const QColor& c)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == c) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(FlatButtonLook, BorderRunsAlongEveryEdgeAroundTheFace)
{
    quor::tflatbutton b("M");
    b.setcolours(marked());
    b.resize(30, 20);
    const QImage img = b.grab().toImage();
    const QColor border = marked().border, face = marked().face;
    const struct { int x, y; QColor want; } pixels[] = {
        {0, 0, border}, {29, 0, border}, {0, 19, border}, {29, 19, border},
        {5, 0, border}, {5, 19, border}, {0, 10, border}, {29, 10, border},
        {5, 1, face}, {1, 10, face}, {28, 10, face}, {5, 18, face},
    };
    for (const auto& p : pixels) EXPECT_EQ(img.pixelColor(p.x, p.y), p.want) << p.x << "," << p.y;
}

TEST(FlatButtonLook, CaptionColourAndPressedShift)
{
    quor::tflatbutton b("MW");
    b.setcolours(marked());
    b.resize(60, 30);
    const QColor text = marked().text;
    const QRect up = boxof(b.grab().toImage(), text);
    ASSERT_FALSE(up.isNull());
    b.setDown(true);
    const QImage down = b.grab().toImage();
    EXPECT_EQ(boxof(down, text), up.translated(1, 1));
    EXPECT_EQ(down.pixelColor(1, 1), marked().down);
    b.setDown(false);
    b.setEnabled(false);
    const QImage off = b.grab().toImage();
    EXPECT_TRUE(boxof(off, text).isNull());
    EXPECT_EQ(boxof(off, QColor(Qt::gray)), up);
}

TEST(FlatButtonLook, PictureShiftsWhenPressedAndFadesWhenDisabled)
{
    quor::tflatbutton b;
    b.setcolours(marked());
    QPixmap pic(10, 8);
    pic.fill(Qt::green);
    b.setpicture(pic);
    b.resize(30, 20);
    const QColor green(Qt::green);
    const QRect up = boxof(b.grab().toImage(), green);
    EXPECT_EQ(up, QRect(10, 6, 10, 8));
    b.setDown(true);
    EXPECT_EQ(boxof(b.grab().toImage(), green), QRect(11, 7, 10, 8));
    b.setDown(false);
    // A picture larger than the face shrinks to fit inside the border, keeping its shape.
    QPixmap big(40, 40);
    big.fill(Qt::green);
    b.setpicture(big);
    EXPECT_EQ(boxof(b.grab().toImage(), green), QRect(6, 1, 18, 18));
    b.setpicture(pic);
    b.setEnabled(false);
    // 40% green over the face.
    const QColor faded = b.grab().toImage().pixelColor(15, 10);
    EXPECT_NEAR(faded.red(), 150, 2);
    EXPECT_NEAR(faded.green(), 252, 2);
    EXPECT_NEAR(faded.blue(), 150, 2);
}

TEST(FlatButtonLook, SizeFitsTheCaptionWithItsMargins)
{
    quor::tflatbutton b("Open &file");
    const QSize t = b.fontMetrics().size(Qt::TextShowMnemonic, "Open &file");
    EXPECT_EQ(b.sizeHint(), QSize(t.width() + 16, t.height() + 8));
    EXPECT_EQ(b.text(), "Open &file");
    EXPECT_EQ(b.focusPolicy(), Qt::StrongFocus);
    EXPECT_TRUE(b.testAttribute(Qt::WA_Hover));
}

// Counts the paint events a widget gets.
struct paintcount : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(FlatButtonLook, EveryChangeRepaints)
{
    quor::tflatbutton b("M");
    b.resize(30, 20);
    b.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b));
    paintcount count;
    b.installEventFilter(&count);
    QPixmap pic(4, 4);
    pic.fill(Qt::red);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QEvent leave(QEvent::Leave);
    const struct { const char* what; std::function<void()> change; } changes[] = {
        {"colours", [&] { b.setcolours(marked()); }},
        {"picture", [&] { b.setpicture(pic); }},
        {"enter", [&] { QApplication::sendEvent(&b, &enter); }},
        {"leave", [&] { QApplication::sendEvent(&b, &leave); }},
    };
    for (const auto& c : changes) {
        QApplication::processEvents();
        const int before = count.paints;
        c.change();
        QApplication::processEvents();
        EXPECT_GT(count.paints, before) << c.what;
    }
}

TEST(FlatStyle, SheetNamesEveryColour)
{
    quor::tflatcolours c;
    c.face = QColor(1, 2, 3);
    c.text = QColor(4, 5, 6);
    c.border = QColor(7, 8, 9);
    c.focus = QColor(10, 11, 12);
    c.hover = QColor(140, 140, 140);
    EXPECT_EQ(quor::flatsheet("QLineEdit", c),
              "QLineEdit { background: #010203; color: #040506; border: 1px solid #070809; "
              "selection-background-color: #0a0b0c; } QLineEdit:hover { border-color: #646464; } "
              "QLineEdit:focus { border-color: #0a0b0c; }");
}

TEST(FlatStyle, TextControlsTakeTheSheetWithoutAFrame)
{
    const quor::tflatcolours c = marked();
    quor::tflatedit e;
    quor::tflatmemo m;
    quor::tflatlist l;
    e.setcolours(c);
    m.setcolours(c);
    l.setcolours(c);
    EXPECT_EQ(e.styleSheet(), quor::flatsheet("QLineEdit", c));
    EXPECT_EQ(m.styleSheet(), quor::flatsheet("QPlainTextEdit", c));
    EXPECT_EQ(l.styleSheet(), quor::flatsheet("QListWidget", c));
    EXPECT_EQ(e.colours().border, c.border);
    EXPECT_EQ(m.colours().border, c.border);
    EXPECT_FALSE(e.hasFrame());
    EXPECT_EQ(m.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(l.frameShape(), QFrame::NoFrame);
    // Fresh controls are white.
    EXPECT_EQ(quor::tflatedit().styleSheet(), quor::flatsheet("QLineEdit", quor::tflatcolours{Qt::white}));
    EXPECT_EQ(quor::tflatmemo().styleSheet(), quor::flatsheet("QPlainTextEdit", quor::tflatcolours{Qt::white}));
    EXPECT_EQ(quor::tflatlist().styleSheet(), quor::flatsheet("QListWidget", quor::tflatcolours{Qt::white}));
}

TEST(FlatList, NewLinesReplaceTheOldOnes)
{
    quor::tflatlist l;
    l.setlines({"a", "b", "c"});
    l.item(1)->setSelected(true);
    l.setlines({"x"});
    EXPECT_EQ(l.lines(), QStringList{"x"});
    EXPECT_TRUE(l.selectedrows().empty());
    EXPECT_EQ(l.firstselected(), -1);
}

TEST(FlatMemo, LongLinesScrollInsteadOfWrapping)
{
    quor::tflatmemo m;
    m.resize(80, 60);
    m.setPlainText(QString(200, 'x') + "\nshort");
    m.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    EXPECT_EQ(m.document()->lineCount(), 2);
    EXPECT_EQ(m.lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_GT(m.horizontalScrollBar()->maximum(), 0);
}

TEST(FlatEdit, KeyReportCarriesTheModifiers)
{
    quor::tflatedit e;
    QSignalSpy keys(&e, &quor::tflatedit::keydown);
    QTest::keyClick(&e, Qt::Key_A, Qt::ShiftModifier);
    QTest::keyClick(&e, Qt::Key_Left, Qt::ControlModifier);
    // The modifier keys themselves come too, each before the key it modifies.
    std::vector<std::pair<int, Qt::KeyboardModifiers>> got;
    for (const auto& k : keys) got.emplace_back(k.at(0).toInt(), k.at(1).value<Qt::KeyboardModifiers>());
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].first, int(Qt::Key_Shift));
    EXPECT_EQ(got[1], std::make_pair(int(Qt::Key_A), Qt::KeyboardModifiers(Qt::ShiftModifier)));
    EXPECT_EQ(got[2].first, int(Qt::Key_Control));
    EXPECT_EQ(got[3], std::make_pair(int(Qt::Key_Left), Qt::KeyboardModifiers(Qt::ControlModifier)));
    EXPECT_EQ(e.text(), QString("a"));   // the box still edits: the key went on to it
}

}  // namespace
