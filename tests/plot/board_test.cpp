// The plot board: creation, sizing and resampling, zoom, restore, mouse moves and stretches,
// labels, properties, the saved picture, and the handle registry.
#include <gtest/gtest.h>

#include <QDir>
#include <QXmlStreamReader>

#include "fixture.h"
#include "tempdir.h"
#include "guiapp.h"
#include "numtext.h"
#include "plotboard.h"
#include "plotregistry.h"
#include "units.h"
#include "sampling.h"

using namespace quor;

namespace {

const tkeys shift{true, false, false}, ctrl{false, true, false}, alt{false, false, true};

struct boardfixture {
    quortest::context ctx;
    tplotboard board;

    explicit boardfixture(const std::string& expression, bool drawaxis = true)
        : ctx(tdialect::plotter), board(ctx.vars, &ctx.funcs, &ctx.host, ctx.session, drawaxis)
    {
        quortest::ensuregui();
        board.setup(expression, "x");
    }
    bool firstsize() { return board.resize(board.outerwidth(), board.outerheight()); }
    const tviewinfo& home() { return board.record().setting.view; }
};

}  // namespace

TEST(PlotBoard, SetupFillsTheHomeSetting)
{
    for (bool drawaxis : {false, true}) {
        boardfixture b("sin(x)*x", drawaxis);
        const tpaintsetting& s = b.board.record().setting;
        const tviewinfo& v = s.view;
        EXPECT_EQ((std::vector<int>{v.left, v.right, v.top, v.bottom, v.xstep, v.ystep}),
                  (std::vector<int>{0, 535, 0, 329, 50, 50}));
        EXPECT_EQ(std::pair(v.xmin, v.xmax), std::pair(1.0, 20.0));
        EXPECT_TRUE(v.fixedrange);   // no variable x yet
        EXPECT_EQ(s.drawaxis, drawaxis);
        EXPECT_EQ(s.caption.str(), "sin(x)*x");
        EXPECT_EQ(b.board.caption(), "sin(x)*x");
        EXPECT_EQ(s.colour, silver);
    }
    boardfixture withvar("x");
    withvar.ctx.assign("x:=1");
    withvar.board.setup("x", "x");
    EXPECT_FALSE(withvar.home().fixedrange);
}

TEST(PlotBoard, ResizeResamplesUnlessBoundsAreFixed)
{
    boardfixture b("x");
    ASSERT_TRUE(b.firstsize());
    EXPECT_EQ(b.board.samples().count(), 536);
    ASSERT_TRUE(b.board.resize(344, 275));
    EXPECT_EQ(b.board.samples().count(), 336);
    EXPECT_EQ(b.home().bottom, 229);
    EXPECT_EQ(b.board.areasize(), QSize(336, 230));   // the frame and the caption and menu bars off

    b.board.record().setting.view.fixedrect = true;
    ASSERT_TRUE(b.board.resize(544, 375));
    EXPECT_EQ(b.board.samples().count(), 336);
    EXPECT_EQ(b.home().right, 335);

    boardfixture bad("ln(x-5)");
    EXPECT_FALSE(bad.board.resize(544, 375));
}

TEST(PlotBoard, DragsMakeZoomRectanglesAndZoomNarrows)
{
    boardfixture b("x");
    b.ctx.vars.setscalar("x", 0);
    b.ctx.vars.setelement("x", 0, 5);
    b.ctx.vars.setelement("x", 1, -5);
    b.board.setup("x", "x");   // the home range comes from the variable: -5..5
    ASSERT_TRUE(b.firstsize());
    const double unit = 10.0 / 535;
    ASSERT_EQ(b.home().originx, 267);
    b.board.zoom();   // no rectangle: nothing
    EXPECT_EQ(b.board.viewmode(), viewhome);

    // No rectangle when the release is on the press point's column or row, or at x < 1 or y < 1.
    const struct { tpixel press, release; bool rect; } drags[] = {
        {{100, 50}, {100, 150}, false}, {{100, 50}, {200, 50}, false}, {{100, 50}, {0, 150}, false},
        {{100, 50}, {200, 0}, false},   {{200, 150}, {100, 50}, true}, {{100, 50}, {200, 150}, true},
    };
    for (const auto& d : drags) {
        b.board.press(d.press.x, d.press.y, {});
        EXPECT_EQ(b.board.release(d.release.x, d.release.y, true, false),
                  d.rect ? treleaseaction::zoomrect : treleaseaction::none);
        EXPECT_EQ(!b.board.zoomrect().none(), d.rect);
    }
    const tviewinfo& zoomed = b.board.current().view;
    b.board.zoom();
    EXPECT_EQ(b.board.viewmode(), viewzoomed);
    EXPECT_TRUE(b.board.canrestoreimage());
    EXPECT_NEAR(zoomed.xmin, (100 - 267) * unit, 1e-12);
    EXPECT_NEAR(zoomed.xmax, (200 - 267) * unit, 1e-12);
    EXPECT_TRUE(zoomed.fixedrange);   // from now on the variable's range is not read
    EXPECT_NEAR(zoomed.xunit, 100 * unit / 535, 1e-15);
    EXPECT_NEAR(b.board.samples()[0].y, 329, 1e-6);   // refitted to the narrower range

    // Zooming again takes the same columns of the zoomed view.
    const double unit1 = zoomed.xunit;
    const int origin1 = zoomed.originx;
    b.board.zoom();
    EXPECT_NEAR(zoomed.xmin, (100 - origin1) * unit1, 1e-12);
    EXPECT_NEAR(zoomed.xmax, (200 - origin1) * unit1, 1e-12);

    b.board.restoreimage();
    EXPECT_EQ(b.board.viewmode(), viewhome);
    EXPECT_DOUBLE_EQ(zoomed.xunit, unit);   // resampled in the home view, which zooms start from
    EXPECT_FALSE(b.board.canrestoreimage());
}

TEST(PlotBoard, ShiftDragMovesTheCurve)
{
    boardfixture b("x");
    ASSERT_TRUE(b.firstsize());
    const cpaintpoint s100 = b.board.samples()[100];
    const int row = int(s100.y);
    // Away from the curve: no move, but the press point is kept for labels.
    EXPECT_EQ(b.board.press(100, row - 30, shift), tpressaction::none);
    EXPECT_EQ(b.board.viewmode(), viewhome);
    EXPECT_EQ(b.board.pointer(100, row - 30), tpointer::arrow);
    b.ctx.host.answers.push_back("here");
    EXPECT_TRUE(b.board.addlabel());
    EXPECT_EQ(b.board.record().labels.at(0).point.y, row - 30);
    EXPECT_TRUE(b.board.candeletelabels());
    // Deleting goes through the record's dialog: here one that drops every label.
    struct tdropall : tlabeldeleter {
        void editlabels(tlabellist& entries) override { entries.clear(); }
    };
    b.board.record().setlabeldeleter(std::make_unique<tdropall>());
    b.board.deletelabels();
    EXPECT_FALSE(b.board.candeletelabels());
    b.ctx.host.answers.push_back("again");
    EXPECT_TRUE(b.board.addlabel());

    EXPECT_EQ(b.board.pointer(100, row - 5), tpointer::hand);
    EXPECT_EQ(b.board.press(100, row - 5, shift), tpressaction::movestarted);
    EXPECT_EQ(b.board.viewmode(), viewdragging);
    EXPECT_EQ(b.board.presspoint().y, row);   // snapped onto the curve
    EXPECT_EQ(b.board.record().move.movekind, movetranslate);
    EXPECT_EQ(b.board.pointer(5, 5), tpointer::move);

    // Released 10 columns right, with Ctrl: new expression, same curve.
    EXPECT_EQ(b.board.release(110, row, true, true), treleaseaction::movedkept);
    EXPECT_EQ(b.board.viewmode(), viewhome);
    const double a = -10 * 19.0 / 535;
    EXPECT_DOUBLE_EQ(b.board.record().move.xshift, a);
    EXPECT_EQ(b.board.expression(), "(x" + numtotext(a) + ")");
    EXPECT_TRUE(b.board.canrestoreexpression());
    EXPECT_EQ(b.board.samples()[100].y, s100.y);

    EXPECT_TRUE(b.board.restoreexpression());
    EXPECT_EQ(b.board.expression(), "x");
    EXPECT_FALSE(b.board.canrestoreexpression());

    // A drag up without Ctrl raises the curve and resamples.
    b.board.press(100, row, shift);
    EXPECT_EQ(b.board.release(100, row - 20, true, false), treleaseaction::moved);
    EXPECT_NEAR(b.board.record().move.yshift, 20 * b.home().yunit, 1e-9);
}

TEST(PlotBoard, CtrlAnchorThenAltDragStretches)
{
    boardfixture b("x");
    ASSERT_TRUE(b.firstsize());
    const auto& s = b.board.samples();
    EXPECT_EQ(b.board.press(28, int(s[28].y), ctrl), tpressaction::anchorset);
    EXPECT_EQ(b.board.viewmode(), viewhome);
    EXPECT_EQ(b.board.anchorpoint().x, 28);
    QImage surface = quortest::filled(536, 330, white);
    b.board.drawanchormark(surface);   // "*" in a cell of the window colour
    EXPECT_EQ(quortest::at(surface, 28, b.board.anchorpoint().y), silver);
    // The mark is written in the label font: a larger one takes a larger cell.
    auto cell = [&] {
        QImage on = quortest::filled(536, 330, white);
        b.board.drawanchormark(on);
        int n = 0;
        for (int y = 0; y < on.height(); ++y)
            for (int x = 0; x < on.width(); ++x) n += quortest::at(on, x, y) != white;
        return n;
    };
    const int small = cell();
    tfont large = b.board.textfont();
    large.size = 24;
    b.board.setlabelfont(large);
    EXPECT_EQ(b.board.textfont(), large);
    EXPECT_GT(cell(), 3 * small);

    EXPECT_EQ(b.board.press(200, int(s[200].y), alt), tpressaction::stretchstarted);
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
    const QImage picture = b.board.picture(), drawn = b.board.render();
    ASSERT_EQ(picture.size(), QSize(535, 329));
    for (int x = 0; x < 535; x += 7)
        for (int y = 0; y < 329; y += 5) ASSERT_EQ(picture.pixel(x, y), drawn.pixel(x, y));
    const QString path = QDir::tempPath() + "/quor-board-picture";
    ASSERT_TRUE(b.board.savepicture(path.toStdString()));   // no extension added, still a bitmap
    EXPECT_EQ(QImage(path, "BMP").size(), picture.size());
    QFile::remove(path);
}

TEST(PlotRegistry, HandlesShowingAndWindowCommands)
{
    quortest::ensuregui();
    quortest::context ctx;   // editor: quoted parts are text expressions
    tplotregistry reg;
    ctx.assign("k:=2");
    const std::int32_t a = reg.createfromargs("'x^'k,'x',win[1]", ctx.vars, &ctx.funcs, &ctx.host, ctx.session, false);
    const std::int32_t b = reg.create("x", "x", ctx.vars, &ctx.funcs, nullptr, ctx.session, true);
    EXPECT_TRUE(a != 0 && b != 0 && a != b);
    EXPECT_EQ(ctx.eval("win[1]"), a);
    tplotboard* board = reg.find(a);
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->expression() + "," + board->plotvariable(), "x^2,x");
    EXPECT_TRUE(reg.show(a));
    EXPECT_TRUE(board->visible());
    EXPECT_EQ(board->samples().count(), 536);   // sized when shown

    const std::int32_t bad = reg.create("ln(x-5)", "x", ctx.vars, &ctx.funcs, &ctx.host, ctx.session, true);
    EXPECT_FALSE(reg.show(bad));   // failed to sample: gone
    EXPECT_EQ(reg.find(bad), nullptr);

    EXPECT_NE(reg.getdc(a), 0);
    EXPECT_NE(reg.getdc(0), 0);   // the screen
    EXPECT_EQ(reg.getdc(12345), 0);
    EXPECT_EQ(reg.showwnd(0, 1), 0);
    EXPECT_EQ(reg.setwndtext(0, "x"), 0);
    EXPECT_EQ(reg.showwnd(12345, 5), 0);
    EXPECT_EQ(reg.setwndtext(12345, "Result"), 0);
    EXPECT_EQ(reg.showwnd(a, 0), 1);   // was visible
    EXPECT_FALSE(board->visible());
    EXPECT_EQ(reg.showwnd(a, 5), 0);   // was hidden
    EXPECT_EQ(reg.setwndtext(a, "Result"), 1);
    EXPECT_EQ(board->caption(), "Result");

    reg.removeowned(&ctx.host);   // a's memo goes away, b has none
    EXPECT_EQ(reg.find(a), nullptr);
    EXPECT_NE(reg.find(b), nullptr);
    EXPECT_EQ(reg.getdc(a), 0);
}

TEST(PlotRegistry, BoardsRemovedWhileTheySampleLiveUntilTheSamplingEnds)
{
    // A window closed while it samples (the board list's delete during a plot command in
    // the curve's function): it is gone for everyone at once, destroyed after its show.
    struct closinghost : quortest::scriptedhost {
        tplotregistry* reg = nullptr;
        std::int32_t victim = 0;
        int closed = 0;
        std::int32_t createplotwindow(const std::string& e, const std::string& v, tvarlist& vars, tfunclist* f,
                                      tmemo* m) override
        {
            if (victim != 0 && reg->remove(victim)) ++closed;
            EXPECT_EQ(reg->find(victim), nullptr);
            EXPECT_FALSE(reg->remove(victim));   // removed once only
            return scriptedhost::createplotwindow(e, v, vars, f, m);
        }
    };
    quortest::ensuregui();
    closinghost host;
    tsession session(host, tdialect::plotter);
    tvarlist vars("global", 2);
    quortest::context names;
    tfunclist& funcs = names.funcs;
    quor::loadunitlines({"function y=f(a)", "plot(1,x,g)", "y:=a", "endfunction"}, funcs, tdialect::plotter);
    tplotregistry reg;
    host.reg = &reg;
    const std::int32_t keep = reg.create("x", "x", vars, &funcs, &host, session, true);
    host.victim = reg.create("f(x)", "x", vars, &funcs, &host, session, true);
    EXPECT_EQ(reg.count(), 2);
    EXPECT_FALSE(reg.show(host.victim));   // it sampled to the end, but is closed
    EXPECT_EQ(host.closed, 1);
    EXPECT_EQ(reg.find(host.victim), nullptr);
    EXPECT_EQ(reg.handles(), std::vector<std::int32_t>{keep});
    EXPECT_EQ(reg.count(), 1);
    // Removing it outside a show destroys it at once.
    host.victim = 0;
    EXPECT_TRUE(reg.show(keep));
    EXPECT_TRUE(reg.remove(keep));
    EXPECT_EQ(reg.count(), 0);
}

TEST(PlotBoard, SvgIsAVectorDrawingOfThePicture)
{
    boardfixture b("x");
    ASSERT_TRUE(b.firstsize());
    b.board.record().addlabel(40, 20, "note");
    quortest::tempdir dir;
    const std::string path = dir.str() + "/plot.svg";
    ASSERT_TRUE(b.board.savesvg(path));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString viewbox, title, curve;
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"svg") viewbox = xml.attributes().value("viewBox").toString();
        else if (xml.name() == u"title") title = xml.readElementText();
        else if (xml.name() == u"text") {
            const QString x = xml.attributes().value("x").toString();
            texts << x + ":" + xml.readElementText();
        }
        else if (xml.name() == u"path") {
            const QString d = xml.attributes().value("d").toString();
            if (d.count('L') > curve.count('L')) curve = d;
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(viewbox, "0 0 535 329");
    EXPECT_EQ(title, "x");
    EXPECT_TRUE(texts.contains("40:note"));
    EXPECT_TRUE(texts.contains("0:0.994"));   // the first x-axis label
    // The curve: one path through the centres of the 536 sample pixels.
    EXPECT_EQ(curve.count('L'), 535);
    const auto centre = [&](int i) {
        return QString("%1,%2").arg(b.board.samples()[i].x + 0.5).arg(truncpixel(b.board.samples()[i].y) + 0.5);
    };
    EXPECT_TRUE(curve.startsWith("M" + centre(0) + " L" + centre(1))) << curve.left(40).toStdString();
    EXPECT_TRUE(curve.endsWith("L" + centre(535))) << curve.right(40).toStdString();
    EXPECT_FALSE(b.board.savesvg(dir.str() + "/none/plot.svg"));
}

TEST(PlotBoard, PictureKeepsTheCurveUpToItsLastColumn)
{
    // x over -536..-1: one unit a column, the curve falls (535 - c) * 329/535 rows below the top.
    boardfixture b("x", false);
    tviewinfo& v = b.board.record().setting.view;
    v.xmin = -536;
    v.xmax = -1;
    v.fixedrange = true;
    ASSERT_TRUE(b.firstsize());
    const QImage picture = b.board.picture();
    ASSERT_EQ(picture.size(), QSize(535, 329));
    const struct { int column, row; } cases[] = {{1, 328}, {2, 327}, {267, 164}, {533, 1}, {534, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(quortest::at(picture, c.column, c.row), black) << c.column;
        EXPECT_EQ(quortest::at(picture, c.column, c.row < 3 ? c.row + 3 : c.row - 3), silver) << c.column;
    }
    // The drawing area's own last column, which the picture leaves out, holds the last sample.
    const QImage drawn = b.board.render();
    EXPECT_EQ(quortest::at(drawn, 535, 0), black);
    EXPECT_EQ(quortest::at(drawn, 535, 3), silver);
}
