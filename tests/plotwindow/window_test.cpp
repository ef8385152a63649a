// The plot window: opening and first size, mouse zoom, moves and stretches, the popup
// menu's enabling, the exit question, labels, pictures, hiding, window commands by handle,
// and windows that go while their board samples.
#include <gtest/gtest.h>

#include <cmath>

#include <QDir>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <QWindow>

#include "numtext.h"
#include "units.h"
#include "plotarea.h"
#include "plotboard.h"
#include "widgetmemo.h"
#include "windowfixture.h"

using namespace quor;
using quortest::program;

namespace {

void drag(QWidget* area, QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier,
          Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(area, button, keys, from);
    QTest::mouseMove(area, to);
    QTest::mouseRelease(area, button, keys, to);
}

QStringList enabledpopup(Tcostructform* w)
{
    QStringList out;
    for (QAction* a : w->preparepopup()->actions())
        if (!a->isSeparator() && a->isEnabled()) out << a->text();
    return out;
}

// The pixel row of the curve at column x.
int rowat(const tplotboard* b, int x) { return int(std::trunc(b->samples()[x].y)); }

}  // namespace

TEST(PlotWindow, OpensSizedAndShownWithTheFlavoursAxes)
{
    for (auto flavour : {tplotflavour::plotter, tplotflavour::editor}) {
        program p(flavour);
        Tcostructform* w = p.open("sin(x)*x");
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->windowTitle(), "sin(x)*x");
        const tplotboard* b = w->board();
        EXPECT_EQ(b->samples().count(), 536);
        EXPECT_EQ(w->area()->size(), QSize(536, 330));
        EXPECT_EQ(b->record().setting.drawaxis, flavour == tplotflavour::plotter);
        EXPECT_EQ(w->surface().size(), QSize(536, 330));
        EXPECT_EQ(p.windows.windows(), std::vector<Tcostructform*>{w});
    }
}

TEST(PlotWindow, FailingFirstSamplingClosesWithTheBox)
{
    program p;
    const std::int32_t h = p.windows.createplotwindow("ln(x-5)", "x", p.vars, &p.funcs, &p.host);
    p.windows.showplotwindow(h);
    EXPECT_EQ(p.windows.find(h), nullptr);
    EXPECT_EQ(p.windows.board(h), nullptr);
    ASSERT_FALSE(p.dialogs.events.empty());
    EXPECT_EQ(p.dialogs.events.back().substr(p.dialogs.events.back().find('|') + 1),
              "Error on paint,this paint will quit!");
    program::flush();
    EXPECT_TRUE(p.windows.windows().empty());
}

TEST(PlotWindow, StoppedRunClosesItsNewPlotQuietly)
{
    program p(tplotflavour::editor);
    int statements = 0;
    p.host.pump = [&] {
        if (++statements == 20) p.session.stoprequested = true;
    };
    const std::int32_t h = p.windows.createplotwindow("x", "x", p.vars, &p.funcs, &p.host);
    p.windows.showplotwindow(h);
    EXPECT_EQ(statements, 20);
    EXPECT_EQ(p.windows.find(h), nullptr);
    EXPECT_TRUE(p.dialogs.events.empty());
    EXPECT_THROW(p.exec("1"), tstopped);   // the run ends at its next statement
}

TEST(PlotWindow, ZoomByDragInEitherDirection)
{
    // y = x over 1..20 on 536 columns: unit 19/535, origin column trunc(-1/unit) = -28.
    const double unit = 19.0 / 535;
    struct dragcase {
        QPoint from, to;
    };
    for (const dragcase& c : {dragcase{{100, 50}, {300, 200}}, dragcase{{300, 200}, {100, 50}},
                              dragcase{{300, 50}, {100, 200}}}) {
        program p;
        Tcostructform* w = p.open("x");
        drag(w->area(), c.from, c.to);
        ASSERT_TRUE(w->overlayrect());
        EXPECT_EQ(*w->overlayrect(), QRect(QPoint(100, 50), QPoint(300, 200)));
        w->zoomin(false);
        const tviewinfo& v = w->board()->current().view;
        EXPECT_DOUBLE_EQ(v.xmin, 128 * unit);
        EXPECT_DOUBLE_EQ(v.xmax, 328 * unit);
        EXPECT_EQ(w->board()->viewmode(), viewzoomed);
        EXPECT_FALSE(w->overlayrect());   // the main menu's item clears the overlay
        EXPECT_EQ(w->board()->samples()[0].x, 0);
        EXPECT_TRUE(p.dialogs.events.empty());
    }
}

TEST(PlotWindow, DegenerateDragsLeaveNoZoom)
{
    for (QPoint to : {QPoint(100, 200), QPoint(300, 50), QPoint(0, 200), QPoint(300, 0)}) {
        program p;
        Tcostructform* w = p.open("x");
        drag(w->area(), {100, 50}, to);
        EXPECT_FALSE(w->overlayrect());
        EXPECT_TRUE(w->board()->zoomrect().none());
        w->zoomin(false);
        EXPECT_EQ(w->board()->viewmode(), viewhome);
        EXPECT_DOUBLE_EQ(w->board()->current().view.xmin, 1.0);
        EXPECT_DOUBLE_EQ(w->board()->current().view.xmax, 20.0);
    }
}

TEST(PlotWindow, ZoomTwiceNarrowsByTheSameColumnsAndPopupKeepsTheRectangle)
{
    program p;
    Tcostructform* w = p.open("x");
    drag(w->area(), {100, 50}, {300, 200});
    w->zoomin(true);
    EXPECT_TRUE(w->overlayrect());   // the popup's item leaves it drawn
    const tviewinfo first = w->board()->current().view;
    w->zoomin(true);
    const tviewinfo& v = w->board()->current().view;
    const double origin = std::trunc(-first.xmin / first.xunit);
    EXPECT_DOUBLE_EQ(v.xmin, (100 - origin) * first.xunit);
    EXPECT_DOUBLE_EQ(v.xmax, (300 - origin) * first.xunit);
    EXPECT_LT(v.xmax - v.xmin, first.xmax - first.xmin);
    w->restoreimage();
    EXPECT_EQ(w->board()->viewmode(), viewhome);
    EXPECT_DOUBLE_EQ(w->board()->record().setting.view.xmin, 1.0);
}

TEST(PlotWindow, ShiftDragMovesTheCurve)
{
    program p;
    Tcostructform* w = p.open("x");
    const int row = rowat(w->board(), 100);
    drag(w->area(), {100, row}, {150, row}, Qt::ShiftModifier);
    // 50 columns right: x shifted by -50 * 19/535.
    EXPECT_EQ(w->board()->expression(), "(x-1.77570093457944)");
    EXPECT_EQ(w->board()->baseexpression(), "x");
    EXPECT_EQ(w->board()->viewmode(), viewhome);
    EXPECT_EQ(enabledpopup(w), QStringList({"放大", "表达式还原", "图像复制", "加注文本", "文本字体"}));
    w->restoreexpression();
    EXPECT_EQ(w->board()->expression(), "x");
    EXPECT_EQ(enabledpopup(w), QStringList({"放大", "图像复制", "加注文本", "文本字体"}));
}

TEST(PlotWindow, ShiftAwayFromTheCurveOnlyRecordsThePress)
{
    program p;
    Tcostructform* w = p.open("x");
    const int row = rowat(w->board(), 100);
    drag(w->area(), {100, row - 40}, {150, row - 80}, Qt::ShiftModifier);
    EXPECT_EQ(w->board()->expression(), "x");
    EXPECT_TRUE(w->overlayrect());   // an ordinary drag
    p.dialogs.answers = {"here"};
    w->addtext();
    ASSERT_EQ(w->board()->record().labels.size(), 1u);
    EXPECT_EQ(w->board()->record().labels[0].point.x, 100);
    EXPECT_EQ(w->board()->record().labels[0].point.y, row - 40);
    EXPECT_EQ(p.dialogs.events.back(), "input: Input the text|  |");
}

TEST(PlotWindow, CtrlReleaseKeepsTheCurve)
{
    program p;
    Tcostructform* w = p.open("x");
    const int row = rowat(w->board(), 100);
    const std::vector<double> before = [&] {
        std::vector<double> ys;
        for (const auto& s : w->board()->samples().points) ys.push_back(s.y);
        return ys;
    }();
    QTest::mousePress(w->area(), Qt::LeftButton, Qt::ShiftModifier, {100, row});
    QTest::mouseRelease(w->area(), Qt::LeftButton, Qt::ControlModifier, {100, row - 30});
    EXPECT_NE(w->board()->expression(), "x");
    std::vector<double> after;
    for (const auto& s : w->board()->samples().points) after.push_back(s.y);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(enabledpopup(w).contains("表达式还原"));
}

TEST(PlotWindow, StretchByAnchorAndDrag)
{
    program p;
    Tcostructform* w = p.open("x");
    const tplotboard* b = w->board();
    QTest::mouseClick(w->area(), Qt::LeftButton, Qt::ControlModifier, {50, rowat(b, 50)});
    EXPECT_EQ(b->anchorpoint().x, 50);
    EXPECT_EQ(b->anchorpoint().y, rowat(b, 50));
    // The middle button stretches like Alt with the left one, for desktops that take Alt.
    for (Qt::MouseButton button : {Qt::MiddleButton}) {
        drag(w->area(), {300, rowat(b, 300)}, {400, rowat(b, 300)}, Qt::NoModifier, button);
        EXPECT_NE(w->board()->expression(), "x");
        EXPECT_EQ(w->board()->record().move.movekind, movestretch);
        EXPECT_NE(w->board()->record().move.xscale, 1.0);
    }
    // The middle button away from the curve does nothing, not even a press point.
    const tpixel press = w->board()->presspoint();
    QTest::mousePress(w->area(), Qt::MiddleButton, Qt::NoModifier, {10, 5});
    EXPECT_EQ(w->board()->presspoint().x, press.x);
    QTest::mouseRelease(w->area(), Qt::MiddleButton, Qt::NoModifier, {10, 5});
}

TEST(PlotWindow, PopupEnablingFollowsTheBoard)
{
    program p;
    Tcostructform* w = p.open("x");
    EXPECT_EQ(enabledpopup(w), QStringList({"放大", "图像复制", "加注文本", "文本字体"}));
    drag(w->area(), {100, 50}, {300, 200});
    w->zoomin(true);
    p.dialogs.answers = {"label"};
    w->addtext();
    EXPECT_EQ(enabledpopup(w), QStringList({"放大", "图像还原", "图像复制", "加注文本", "删除文本", "文本字体"}));
    // The main menu's items are always enabled.
    for (const char* caption : {"图象还原", "删除文本", "表达式还原"})
        EXPECT_TRUE(w->menuaction(QString::fromUtf8(caption))->isEnabled()) << caption;
}

TEST(PlotWindow, ExitAsksInTheFlavoursWords)
{
    struct exitcase {
        tplotflavour flavour;
        const char* question;
    };
    for (const exitcase& c : {exitcase{tplotflavour::plotter, "这项操作将该画板彻底删除，是否继续？"},
                              exitcase{tplotflavour::editor, "该操作将该画板彻底删除，是否继续？"}}) {
        program p(c.flavour);
        Tcostructform* w = p.open("x");
        const std::int32_t h = w->handle();
        p.dialogs.answers = {"no"};
        w->menuaction("退出")->trigger();
        EXPECT_EQ(p.dialogs.events.back(), std::string("warning: Warning|") + c.question);
        EXPECT_EQ(p.windows.find(h), w);
        p.dialogs.answers = {"yes"};
        w->quitboard();
        EXPECT_EQ(p.windows.find(h), nullptr);
        EXPECT_EQ(p.windows.board(h), nullptr);
        QPointer<Tcostructform> gone(w);
        program::flush();
        EXPECT_TRUE(gone.isNull());
        EXPECT_EQ(p.exec("getdc(" + std::to_string(h) + ")"), "0");
    }
}

TEST(PlotWindow, CloseOnlyHides)
{
    program p;
    Tcostructform* w = p.open("x");
    w->close();
    program::flush();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(p.windows.find(w->handle()), w);
    EXPECT_EQ(p.windows.showwnd(w->handle(), 5), 0);   // was hidden
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(p.windows.showwnd(w->handle(), 0), 1);
}

TEST(PlotWindow, SaveAsBitmapDrawsThePictureAtomically)
{
    QTemporaryDir dir;
    program p;
    Tcostructform* w = p.open("sin(x)*x");
    w->resize(w->width() + 40, w->height() + 20);
    program::flush();
    const tplotboard* b = w->board();
    ASSERT_EQ(b->outerwidth(), 544 + 40);
    const QString path = dir.filePath("plot");   // no extension is added
    p.dialogs.answers = {path.toStdString()};
    w->savebitmap();
    EXPECT_EQ(p.dialogs.events.front(), "save: Save Function Rozez to file||BMP FILE|*.bmp|PNG FILE|*.png|SVG FILE|*.svg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), "BM");
    const QImage saved(path, "BMP");
    EXPECT_EQ(saved.size(), QSize(544 + 40 - 9, 375 + 20 - 46));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), w->board()->picture().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(saved.pixel(10, 10), w->surface().pixel(10, 10));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"plot"});   // no temporary left
    // PNG and SVG by extension; an unwritable place is reported.
    p.dialogs.answers = {dir.filePath("p.png").toStdString(), dir.filePath("p.SVG").toStdString(),
                         dir.filePath("none/x.bmp").toStdString()};
    w->savebitmap();
    EXPECT_EQ(QImage(dir.filePath("p.png"), "PNG").size(), saved.size());
    w->savebitmap();
    QFile svg(dir.filePath("p.SVG"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("viewBox=\"0 0 575 349\""));
    w->savebitmap();
    EXPECT_EQ(p.dialogs.events.back(), "error: Error on save picture: " + dir.filePath("none/x.bmp").toStdString());
    // The clipboard gets the same picture.
    w->copyimage();
    EXPECT_EQ(p.dialogs.clipboardimage.convertToFormat(QImage::Format_RGB32), saved.convertToFormat(QImage::Format_RGB32));
}

TEST(PlotWindow, DescriptionLoadAndSave)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.txt"), out = dir.filePath("out.txt");
    {
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("first\r\nsecond\n\nlast\n");
    }
    program p;
    Tcostructform* w = p.open("x");
    p.dialogs.answers = {in.toStdString(), out.toStdString(), dir.filePath("none/x").toStdString()};
    w->loaddescription();
    EXPECT_EQ(w->board()->record().description, (std::vector<std::string>{"first", "second", "", "last"}));
    w->savedescription();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "first\nsecond\n\nlast\n");
    w->savedescription();
    EXPECT_EQ(p.dialogs.events.back(), "error: Error on save file: " + dir.filePath("none/x").toStdString());
}

TEST(PlotWindow, LabelsByDoubleClickAndFont)
{
    program p;
    Tcostructform* w = p.open("x");
    p.dialogs.answers = {"A", "", "Serif,12,bold"};
    for (QPoint at : {QPoint(40, 30), QPoint(60, 30)}) {   // the second answer is empty: nothing
        QTest::mouseClick(w->area(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(w->area(), Qt::LeftButton, Qt::NoModifier, at);
    }
    ASSERT_EQ(w->board()->record().labels.size(), 1u);
    EXPECT_EQ(w->board()->record().labels[0].text, "A");
    EXPECT_EQ(w->board()->record().labels[0].point.x, 40);
    w->textfont();
    EXPECT_EQ(w->board()->record().labelfont.family, "Serif");
    EXPECT_EQ(w->board()->record().labelfont.size, 12);
    EXPECT_TRUE(w->board()->textfont().bold);
}

TEST(PlotWindow, HintShowsTheWorldPoint)
{
    program p;
    Tcostructform* w = p.open("x");
    // Column 0 is world x 1 truncated to whole columns from 0: origin -28, unit 19/535.
    QTest::mouseMove(w->area(), {100, 100});
    const QStringList parts = w->area()->toolTip().split(',');
    ASSERT_EQ(parts.size(), 2);
    EXPECT_NEAR(parts[0].toDouble(), 128 * 19.0 / 535, 1e-12);
    EXPECT_EQ(w->area()->cursor().shape(), Qt::ArrowCursor);
    const int row = int(w->board()->samples()[100].y);
    QTest::mouseMove(w->area(), {100, row + 3});
    EXPECT_EQ(w->area()->cursor().shape(), Qt::PointingHandCursor);
    // An open hint shows the new point as the pointer moves on, right to left too.
    QToolTip::showText(w->area()->mapToGlobal(QPoint(100, 100)), w->area()->toolTip(), w->area());
    ASSERT_TRUE(QToolTip::isVisible());
    for (int x : {200, 50}) {
        QTest::mouseMove(w->area(), {x, 100});
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_NEAR(QToolTip::text().split(',')[0].toDouble(), (x + 28) * 19.0 / 535, 1e-12) << x;
    }
    QToolTip::hideText();
}

TEST(PlotWindow, WheelZoomsAboutThePointer)
{
    program p;
    Tcostructform* w = p.open("x");
    const tviewinfo home = w->board()->record().setting.view;
    const double at = (200 - home.originx) * home.xunit;
    w->areawheel({200, 100}, 120);
    const tviewinfo& v = w->board()->current().view;
    EXPECT_DOUBLE_EQ(v.xmin, at - (at - 1) * 0.8);
    EXPECT_DOUBLE_EQ(v.xmax, at + (20 - at) * 0.8);
    EXPECT_TRUE(enabledpopup(w).contains("图像还原"));
    w->areawheel({200, 100}, -120);
    EXPECT_NEAR(w->board()->current().view.xmin, 1.0, 1e-9);
}

TEST(PlotWindow, WheelTurnsZoomByTheirPartOfANotch)
{
    // 120 is one notch, a zoom to 0.8; the vertical turn counts, a sideways one is ignored.
    const struct { QPoint angle; double factor; } cases[] = {
        {{0, 60}, std::sqrt(0.8)}, {{0, -60}, 1 / std::sqrt(0.8)}, {{0, 240}, 0.64}, {{0, 30}, std::pow(0.8, 0.25)},
        {{120, 0}, 1},
    };
    for (const auto& c : cases) {
        program p;
        Tcostructform* w = p.open("x");
        const tviewinfo home = w->board()->record().setting.view;
        const double at = (200 - home.originx) * home.xunit;
        QWheelEvent wheel(QPointF(200, 100), QPointF(200, 100), QPoint(), c.angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->area(), &wheel);
        const tviewinfo& v = w->board()->current().view;
        EXPECT_NEAR(v.xmin, at - (at - 1) * c.factor, 1e-9) << c.angle.y();
        EXPECT_NEAR(v.xmax, at + (20 - at) * c.factor, 1e-9) << c.angle.y();
        EXPECT_EQ(enabledpopup(w).contains("图像还原"), c.factor != 1) << c.angle.y();   // no turn, no zoom
    }
}

TEST(PlotWindow, MiddleDragWithoutAStretchIsNoZoom)
{
    program p;
    Tcostructform* w = p.open("x");
    drag(w->area(), {100, 50}, {300, 200}, Qt::NoModifier, Qt::MiddleButton);
    EXPECT_FALSE(w->overlayrect());
    EXPECT_EQ(w->board()->expression(), "x");
    drag(w->area(), {100, 50}, {300, 200});   // the left button's drag still zooms
    EXPECT_TRUE(w->overlayrect());
}

TEST(PlotWindow, WindowCommandsReachRealWindows)
{
    program p(tplotflavour::editor);
    EXPECT_EQ(p.exec("plot(x^2,x,h)"), "1");
    const std::int32_t h = std::int32_t(p.vars.find("h")->value);
    Tcostructform* w = p.windows.find(h);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(p.exec("getdc(h)"), std::to_string(h));
    EXPECT_EQ(p.exec("showwnd(h,0)"), "1");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(p.exec("showwnd(h,5)"), "0");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(p.exec("setwndtext(h,'Result')"), "1");
    EXPECT_EQ(w->windowTitle(), "Result");
    EXPECT_EQ(w->board()->caption(), "Result");
    EXPECT_EQ(p.exec("showwnd(h+1,5)"), "0");
    EXPECT_TRUE(p.windows.destroy(h));
    EXPECT_FALSE(p.windows.destroy(h));
    EXPECT_EQ(p.exec("showwnd(h,5)"), "0");
    // Made but never shown (the handle could not be stored): not listed, not shown.
    const std::int32_t orphan = p.windows.createplotwindow("x", "x", p.vars, &p.funcs, &p.host);
    EXPECT_TRUE(p.windows.windows().empty());
    EXPECT_EQ(p.windows.showwnd(orphan, 5), 0);
    EXPECT_FALSE(p.windows.find(orphan)->isVisible());
}

TEST(PlotWindowLifetime, PlotInsideAUserFunctionKeepsACopyOfItsList)
{
    program p(tplotflavour::editor);
    quor::loadunitlines({"function y=f(a)", "plot(x*a,x,h)", "y:=h", "endfunction"}, p.funcs, p.session.dialect);
    const std::string h = p.exec("f(3)");
    Tcostructform* w = p.windows.find(std::stoi(h));
    ASSERT_NE(w, nullptr);
    // The call and its list have ended: resampling uses the window's copy of it.
    w->resize(w->width() - 100, w->height());
    program::flush();
    ASSERT_EQ(w->board()->samples().count(), 436);
    w->restoreimage();
    const tviewinfo& v = w->board()->record().setting.view;
    EXPECT_DOUBLE_EQ(v.ymin, 3.0);
    EXPECT_NEAR(v.ymax, 60.0, 1e-9);
    EXPECT_FALSE(p.vars.varexists("a"));
    EXPECT_TRUE(p.dialogs.events.empty());
}

TEST(PlotWindowLifetime, PlotsOpenedWhileSamplingAreLimitedToOneLevel)
{
    program p(tplotflavour::editor);
    quor::loadunitlines({"function y=g(a)", "y:=a", "if(a<1.01)", "plot(g(x),x,k)", "end", "endfunction"}, p.funcs,
                        p.session.dialect);
    Tcostructform* w = p.open("g(x)");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(p.windows.windows().size(), 2u);
    for (Tcostructform* each : p.windows.windows()) EXPECT_EQ(each->board()->samples().count(), 536);
}

TEST(PlotWindowLifetime, WindowsThatGoWhileTheirBoardSamples)
{
    // Events run between the statements of a sampling; what they destroy goes only after it.
    enum class how { owner, quit, board };
    for (how what : {how::owner, how::quit, how::board}) {
        program p(tplotflavour::editor);   // the editor's statements let events run
        auto* owner = new QWidget;
        auto* edit = new QPlainTextEdit(owner);
        twidgetmemo memo(edit, owner);
        Tcostructform* w = p.open("x", "x", &memo);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), owner);
        EXPECT_TRUE(w->isWindow());
        const std::int32_t h = w->handle();
        QPointer<Tcostructform> window(w);
        int statements = 0;
        p.host.pump = [&] {
            if (++statements != 100) return;
            if (what == how::owner) delete owner;
            if (what == how::quit) {
                p.dialogs.answers = {"yes"};
                window->quitboard();
            }
            if (what == how::board) p.windows.destroy(h);
            EXPECT_EQ(p.windows.find(h), nullptr);
        };
        w->restoreimage();
        EXPECT_GT(statements, 500);   // the sampling ran to its end
        p.host.pump = nullptr;
        program::flush();
        EXPECT_TRUE(window.isNull());
        EXPECT_EQ(p.windows.board(h), nullptr);
        EXPECT_TRUE(p.windows.windows().empty());
        if (what != how::owner) delete owner;
    }
}

TEST(PlotWindowLifetime, OwnerGoesDuringTheFirstSampling)
{
    program p(tplotflavour::editor);
    auto* owner = new QWidget;
    twidgetmemo memo(new QPlainTextEdit(owner), owner);
    int statements = 0;
    p.host.pump = [&] {
        if (++statements == 10) delete owner;
    };
    EXPECT_EQ(p.open("x", "x", &memo), nullptr);
    p.host.pump = nullptr;
    program::flush();
    EXPECT_TRUE(p.windows.windows().empty());
    EXPECT_TRUE(p.dialogs.events.empty());
}

// A plot window stays in front of the window that opened it: a transient window of that
// window's native window, set again at every showing; a new one comes to the front.
TEST(PlotWindowOwner, StaysInFrontOfTheWindowThatOpenedIt)
{
    program p(tplotflavour::editor);
    QWidget editor;
    editor.show();
    twidgetmemo memo(new QPlainTextEdit(&editor), &editor);
    Tcostructform* first = p.open("x", "x", &memo);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->parentWidget(), &editor);   // it goes with its owner
    EXPECT_EQ(first->windowType(), Qt::Dialog);  // the transient kind of window
    EXPECT_TRUE(first->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    ASSERT_NE(first->windowHandle(), nullptr);
    EXPECT_EQ(first->windowHandle()->transientParent(), editor.windowHandle());
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), first);

    // Belonging to one window, in front of another (the plotter's result window and main
    // window); the owner may be hidden.
    QWidget results, main;
    main.show();
    twidgetmemo split(new QPlainTextEdit(&results), &results, &main);
    Tcostructform* second = p.open("x*2", "x", &split);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->parentWidget(), &results);
    EXPECT_EQ(second->windowHandle()->transientParent(), main.windowHandle());
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), second);

    // Hidden by a program and shown again by handle: linked again and in front again.
    p.windows.showwnd(first->handle(), 0);
    editor.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &editor);
    p.windows.showplotwindow(first->handle());
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowHandle()->transientParent(), editor.windowHandle());
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), first);

    // Without a window behind the memo (the runner's host) it stands on its own.
    Tcostructform* loose = p.open("x*3");
    ASSERT_NE(loose, nullptr);
    EXPECT_EQ(loose->windowHandle()->transientParent(), nullptr);
    p.windows.destroyall();
}

TEST(PlotWindow, ALeftDragShowsItsRubberBandUntilReleased)
{
    program p;
    Tcostructform* w = p.open("x");
    QTest::mousePress(w->area(), Qt::LeftButton, Qt::NoModifier, {300, 200});
    EXPECT_FALSE(w->rubberband());
    QTest::mouseMove(w->area(), {100, 50});   // right to left and upwards
    ASSERT_TRUE(w->rubberband());
    EXPECT_EQ(w->rubberband()->topLeft(), QPoint(100, 50));
    EXPECT_EQ(w->rubberband()->bottomRight().x(), 300);
    QTest::mouseRelease(w->area(), Qt::LeftButton, Qt::NoModifier, {100, 50});
    EXPECT_FALSE(w->rubberband());
}

TEST(PlotWindow, HoveringWithoutAButtonShowsWhatIsUnderThePointer)
{
    program p;
    Tcostructform* w = p.open("x");
    w->show();
    const int row = rowat(w->board(), 100);
    QTest::mouseMove(w->area(), {100, row});   // no button held: the area follows the pointer
    EXPECT_EQ(w->area()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(w->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));   // silver, as the board's surround
}
