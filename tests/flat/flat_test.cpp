// The flat controls: clicks, hover and pressed faces, key reports, list selections.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include "flatbutton.h"
#include "flatedit.h"
#include "flatlist.h"

namespace {

TEST(FlatButton, ClicksAndShowsHoverAndPressedFaces)
{
    quor::tflatbutton b("M");
    b.resize(23, 22);
    quor::tflatcolours c;
    c.face = Qt::white;
    c.hover = Qt::yellow;
    c.down = Qt::gray;
    b.setcolours(c);
    QSignalSpy clicks(&b, &QAbstractButton::clicked);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(11, 11));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(40, 11));   // outside: no click
    EXPECT_EQ(clicks.count(), 1);

    EXPECT_EQ(b.currentface(), QColor(Qt::white));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&b, &enter);
    EXPECT_TRUE(b.hovered());
    EXPECT_EQ(b.currentface(), QColor(Qt::yellow));
    b.setDown(true);
    EXPECT_EQ(b.currentface(), QColor(Qt::gray));
    b.setDown(false);
    b.setEnabled(false);
    EXPECT_EQ(b.currentface(), QColor(Qt::white));   // a disabled button does not light up
    b.setEnabled(true);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    EXPECT_FALSE(b.hovered());
    EXPECT_EQ(b.currentface(), QColor(Qt::white));
}

TEST(FlatButton, PictureOrCaptionGivesTheSize)
{
    quor::tflatbutton b("A");
    const QSize captionsize = b.sizeHint();
    EXPECT_GT(captionsize.width(), 16);
    QPixmap pic(16, 12);
    pic.fill(Qt::red);
    b.setpicture(pic);
    EXPECT_EQ(b.sizeHint(), QSize(22, 18));
    // It paints the picture centred on the face.
    b.resize(24, 20);
    const QImage shot = b.grab().toImage();
    EXPECT_EQ(shot.pixelColor(12, 10), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(2, 10), b.colours().face);
}

TEST(FlatEdit, ReportsKeysAndStillEdits)
{
    quor::tflatedit e;
    QSignalSpy keys(&e, &quor::tflatedit::keydown);
    QTest::keyClicks(&e, "sin(x)");
    QTest::keyClick(&e, Qt::Key_Return);
    EXPECT_EQ(e.text(), "sin(x)");
    ASSERT_EQ(keys.count(), 7);
    EXPECT_EQ(keys.last().at(0).toInt(), int(Qt::Key_Return));
}

TEST(FlatList, SelectedRowsInListOrder)
{
    quor::tflatlist l;
    l.setlines({"sin(x)", "cos(x)", "sin(x)"});
    EXPECT_EQ(l.firstselected(), -1);
    EXPECT_TRUE(l.selectedrows().empty());
    l.item(2)->setSelected(true);
    l.item(0)->setSelected(true);
    EXPECT_EQ(l.selectedrows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(l.firstselected(), 0);
    EXPECT_EQ(l.lines(), (QStringList{"sin(x)", "cos(x)", "sin(x)"}));
    EXPECT_EQ(l.selectionMode(), QAbstractItemView::ExtendedSelection);
}

}  // namespace
