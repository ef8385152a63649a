// The plot board: creation defaults, sizing and resampling, zoom, restore, mouse moves and
// stretches, labels, properties, the saved picture, and the handle registry.
#include <gtest/gtest.h>

#include <QDir>

#include "fault.h"
#include "fixture.h"
#include "guiapp.h"
#include "numtext.h"
#include "plotboard.h"
#include "plotregistry.h"
#include "surface.h"

using namespace quor;

namespace {

struct boardfixture {
    quortest::context ctx;
    tplotboard board;

    explicit boardfixture(const std::string& expression, bool drawaxis = true,
                          quor::tdialect d = quor::tdialect::plotter)
        : ctx(d), board(ctx.vars, &ctx.funcs, &ctx.host, ctx.session, drawaxis)
    {
        quortest::ensuregui();
        board.setup(expression, "x");
    }
    bool firstsize()
    {
        if (!board.resize(board.outerwidth(), board.outerheight())) return false;
        QImage image(board.areasize(), QImage::Format_RGB32);
        return board.draw(image);
    }
};

}  // namespace

TEST(PlotBoard, CreationDefaults)
{
    for (bool drawaxis : {false, true}) {
        boardfixture b("sin(x)*x", drawaxis);
        const tpaintsetting& s = b.board.record().setting;
        const tviewinfo& v = s.view;
        EXPECT_EQ((std::vector<int>{v.left, v.right, v.top, v.bottom, v.xstep, v.ystep}),
                  (std::vector<int>{0, 535, 0, 329, 50, 50}));
        EXPECT_EQ(v.xmin, 1.0);
        EXPECT_EQ(v.xmax, 20.0);
        EXPECT_TRUE(v.fixedrange);   // no variable x yet
        EXPECT_FALSE(v.fixedrect);
        EXPECT_EQ(s.drawaxis, drawaxis);
        EXPECT_EQ(s.caption.str(), "sin(x)*x");
        EXPECT_EQ(b.board.caption(), "sin(x)*x");
        EXPECT_EQ(s.colour, silver);
        EXPECT_EQ(b.board.viewmode(), viewhome);
        EXPECT_EQ(b.board.presspoint().x, -1);
        EXPECT_TRUE(b.board.samples().empty());   // sampled on the first size
    }
    boardfixture withvar("x");
    withvar.ctx.assign("x:=1");
    withvar.board.setup("x", "x");
    EXPECT_FALSE(withvar.board.record().setting.view.fixedrange);
}

TEST(PlotBoard, ResizeResamplesUnlessBoundsAreFixed)
{
    boardfixture b("x");
    ASSERT_TRUE(b.firstsize());
    EXPECT_EQ(b.board.samples().count(), 536);
    EXPECT_DOUBLE_EQ(b.board.record().setting.view.xunit, 19.0 / 535);
    ASSERT_TRUE(b.board.resize(344, 275));
    EXPECT_EQ(b.board.samples().count(), 336);
    EXPECT_EQ(b.board.record().setting.view.bottom, 229);

    b.board.record().setting.view.fixedrect = true;
    ASSERT_TRUE(b.board.resize(544, 375));
    EXPECT_EQ(b.board.samples().count(), 336);
    EXPECT_EQ(b.board.record().setting.view.right, 335);

    boardfixture bad("ln(x-5)");
    EXPECT_FALSE(bad.board.resize(544, 375));
}

TEST(PlotBoard, DragsMakeZoomRectanglesAndZoomNarrows)
{
    boardfixture b("x");
    ASSERT_TRUE(b.firstsize());
    b.board.zoom();   // no rectangle: nothing
    EXPECT_EQ(b.board.viewmode(), viewhome);

    const struct {
        tpixel press, release;
        bool rect;
    } drags[] = {
        {{100, 50}, {100, 150}, false},   // same column
        {{100, 50}, {200, 50}, false},    // same row
        {{100, 50}, {0, 150}, false},     // x < 1
        {{100, 50}, {200, 0}, false},     // y < 1
        {{200, 150}, {100, 50}, true},
        {{100, 50}, {200, 150}, true},
    };
    for (const auto& d : drags) {
        b.board.press(d.press.x, d.press.y, {});
        EXPECT_EQ(b.board.release(d.release.x, d.release.y, true, false),
                  d.rect ? treleaseaction::zoomrect : treleaseaction::none);
        EXPECT_EQ(!b.board.zoomrect().none(), d.rect);
    }
    const double xunit = 19.0 / 535;
    b.board.zoom();
    EXPECT_EQ(b.board.viewmode(), viewzoomed);
    EXPECT_TRUE(b.board.canrestoreimage());
    EXPECT_NEAR(b.board.current().view.xmin, 128 * xunit, 1e-12);
    EXPECT_NEAR(b.board.current().view.xmax, 228 * xunit, 1e-12);
    EXPECT_TRUE(b.board.current().view.fixedrange);
    EXPECT_NEAR(b.board.samples()[0].y, 329, 1e-6);   // refitted to the narrower range

    // Zooming again takes the same columns of the zoomed view.
    const double unit1 = b.board.current().view.xunit;
    const int origin1 = b.board.current().view.originx;
    b.board.zoom();
    EXPECT_NEAR(b.board.current().view.xmin, (100 - origin1) * unit1, 1e-12);
    EXPECT_NEAR(b.board.current().view.xmax, (200 - origin1) * unit1, 1e-12);

    b.board.restoreimage();
    EXPECT_EQ(b.board.viewmode(), viewhome);
    EXPECT_NEAR(b.board.samples()[0].y, 329, 1e-6);
    EXPECT_FALSE(b.board.canrestoreimage());
}

TEST(PlotBoard, ShiftDragMovesTheCurve)
{
    boardfixture b("x");
    ASSERT_TRUE(b.firstsize());
    const cpaintpoint s100 = b.board.samples()[100];
    // Away from the curve: no move, but the press point is kept for labels.
    EXPECT_EQ(b.board.press(100, int(s100.y) - 30, {true, false, false}), tpressaction::none);
    EXPECT_EQ(b.board.viewmode(), viewhome);
    EXPECT_EQ(b.board.presspoint().y, int(s100.y) - 30);
    EXPECT_EQ(b.board.pointer(100, int(s100.y) - 30), tpointer::arrow);
    b.ctx.host.answers.push_back("here");
    EXPECT_TRUE(b.board.addlabel());
    EXPECT_EQ(b.board.record().labels.at(0).point.y, int(s100.y) - 30);
    EXPECT_TRUE(b.board.candeletelabels());

    EXPECT_EQ(b.board.pointer(100, int(s100.y) - 5), tpointer::hand);
    EXPECT_EQ(b.board.press(100, int(s100.y) - 5, {true, false, false}), tpressaction::movestarted);
    EXPECT_EQ(b.board.viewmode(), viewdragging);
    EXPECT_EQ(b.board.presspoint().y, int(s100.y));   // snapped onto the curve
    EXPECT_EQ(b.board.record().move.movekind, movetranslate);
    EXPECT_EQ(b.board.pointer(5, 5), tpointer::move);

    // Released 10 columns right, with Ctrl: new expression, same curve.
    EXPECT_EQ(b.board.release(110, int(s100.y), true, true), treleaseaction::movedkept);
    EXPECT_EQ(b.board.viewmode(), viewhome);
    const double a = -10 * 19.0 / 535;
    EXPECT_DOUBLE_EQ(b.board.record().move.xshift, a);
    EXPECT_EQ(b.board.expression(), "(x" + numtotext(a) + ")");
    EXPECT_TRUE(b.board.canrestoreexpression());
    EXPECT_EQ(b.board.samples()[100].y, s100.y);

    EXPECT_TRUE(b.board.restoreexpression());
    EXPECT_EQ(b.board.expression(), "x");
    EXPECT_EQ(b.board.record().move.movekind, movetranslate);
    EXPECT_FALSE(b.board.canrestoreexpression());

    // A drag up without Ctrl raises the curve and resamples.
    b.board.press(100, int(s100.y), {true, false, false});
    EXPECT_EQ(b.board.release(100, int(s100.y) - 20, true, false), treleaseaction::moved);
    EXPECT_NEAR(b.board.record().move.yshift, 20 * b.board.record().setting.view.yunit, 1e-9);
}

TEST(PlotBoard, CtrlAnchorThenAltDragStretches)
{
    boardfixture b("x");
    ASSERT_TRUE(b.firstsize());
    const auto& s = b.board.samples();
    EXPECT_EQ(b.board.press(28, int(s[28].y), {false, true, false}), tpressaction::anchorset);
    EXPECT_EQ(b.board.viewmode(), viewhome);
    EXPECT_EQ(b.board.anchorpoint().x, 28);
    QImage surface(b.board.areasize(), QImage::Format_RGB32);
    surface.fill(Qt::white);
    b.board.drawanchormark(surface);
    EXPECT_EQ(fromrgb(surface.pixel(28, b.board.anchorpoint().y) & 0xFFFFFF), silver);

    EXPECT_EQ(b.board.press(200, int(s[200].y), {false, false, true}), tpressaction::stretchstarted);
    EXPECT_EQ(b.board.record().move.movekind, movestretch);
    EXPECT_EQ(b.board.release(300, int(s[200].y), true, false), treleaseaction::moved);
    EXPECT_LT(b.board.record().move.xscale, 1);   // stretched to the right
    EXPECT_NE(b.board.expression(), "x");
}

TEST(PlotBoard, PropertiesKeepALongExpression)
{
    boardfixture b("x");
    ASSERT_TRUE(b.firstsize());
    std::string longexpr = "x";
    while (longexpr.size() < 300) longexpr += "+0";
    b.board.changeexpression(longexpr, "x");
    trecordinfo working("temprecord", 3);
    tshortstring expression, variable;
    b.board.loadproperties(working, expression, variable);
    EXPECT_EQ(expression.str().size(), 255u);
    working.setting.caption = "renamed";
    working.setting.colour = white;
    b.board.applyproperties(working, expression, variable);
    EXPECT_EQ(b.board.expression(), longexpr);   // the cut copy shown by the dialog is no change
    EXPECT_EQ(b.board.caption(), "renamed");
    EXPECT_EQ(b.board.colour(), white);
}

TEST(PlotBoard, PictureIsTheDrawingAreaLessOneColumnAndRow)
{
    boardfixture b("sin(x)*x");
    ASSERT_TRUE(b.firstsize());
    const QImage picture = b.board.picture();
    ASSERT_EQ(picture.width(), 535);
    ASSERT_EQ(picture.height(), 329);
    const QImage drawn = b.board.render();
    for (int x = 0; x < 535; x += 7)
        for (int y = 0; y < 329; y += 5) ASSERT_EQ(picture.pixel(x, y), drawn.pixel(x, y));
    const std::string path = QDir::tempPath().toStdString() + "/quor-board-picture";
    ASSERT_TRUE(b.board.savepicture(path));   // no extension added, still a bitmap
    QImage back(QString::fromStdString(path), "BMP");
    EXPECT_EQ(back.size(), picture.size());
    QFile::remove(QString::fromStdString(path));
}

TEST(PlotRegistry, CreateFromArgumentsStoresTheHandle)
{
    quortest::ensuregui();
    quortest::context ctx;   // editor: quoted parts are text expressions
    tplotregistry reg;
    ctx.assign("k:=2");
    const std::int32_t h = reg.createfromargs("'x^'k,'x',win[1]", ctx.vars, &ctx.funcs, &ctx.host, ctx.session, false);
    ASSERT_NE(h, 0);
    EXPECT_EQ(ctx.eval("win[1]"), h);
    tplotboard* board = reg.find(h);
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->expression(), "x^2");
    EXPECT_EQ(board->plotvariable(), "x");
    EXPECT_FALSE(board->record().setting.drawaxis);
    EXPECT_TRUE(reg.show(h));
    EXPECT_TRUE(board->visible());
    EXPECT_EQ(board->samples().count(), 536);

    const std::int32_t bad = reg.create("ln(x-5)", "x", ctx.vars, &ctx.funcs, &ctx.host, ctx.session, true);
    EXPECT_NE(bad, h);
    EXPECT_FALSE(reg.show(bad));   // failed to sample: gone
    EXPECT_EQ(reg.find(bad), nullptr);
}

TEST(PlotRegistry, WindowCommands)
{
    quortest::ensuregui();
    quortest::context ctx;
    tplotregistry reg;
    const std::int32_t a = reg.create("x", "x", ctx.vars, &ctx.funcs, &ctx.host, ctx.session, true);
    const std::int32_t b = reg.create("x", "x", ctx.vars, &ctx.funcs, nullptr, ctx.session, true);
    EXPECT_NE(a, 0);
    EXPECT_NE(b, 0);
    EXPECT_NE(a, b);
    EXPECT_NE(reg.getdc(a), 0);
    EXPECT_EQ(reg.getdc(12345), 0);
    EXPECT_NE(reg.getdc(0), 0);   // the screen
    EXPECT_EQ(reg.showwnd(0, 1), 0);
    EXPECT_EQ(reg.setwndtext(0, "x"), 0);
    EXPECT_EQ(reg.showwnd(a, 5), 0);   // was hidden
    EXPECT_EQ(reg.showwnd(a, 0), 1);   // was visible
    EXPECT_FALSE(reg.find(a)->visible());
    EXPECT_EQ(reg.showwnd(12345, 5), 0);
    EXPECT_EQ(reg.setwndtext(a, "Result"), 1);
    EXPECT_EQ(reg.find(a)->caption(), "Result");
    EXPECT_EQ(reg.setwndtext(12345, "Result"), 0);

    reg.removeowned(&ctx.host);   // a's memo goes away, b has none
    EXPECT_EQ(reg.find(a), nullptr);
    EXPECT_NE(reg.find(b), nullptr);
    EXPECT_EQ(reg.getdc(a), 0);
}
