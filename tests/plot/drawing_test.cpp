// Drawing a plot: the curve's rows and pen, the axes at the origins, label cells, and the
// home/zoomed view rules of drawplot.
#include <gtest/gtest.h>

#include "drawing.h"
#include "fixture.h"
#include "guiapp.h"
#include "sampling.h"
#include "surface.h"
#include "vectorcanvas.h"

using namespace quor;
using quortest::at;

namespace {

struct plotfixture {
    quortest::context ctx;
    trecordinfo record;
    tpaintsetting current;
    cpaintlist samples;

    explicit plotfixture(const std::string& expression, double xmin = 1, double xmax = 20)
    {
        quortest::ensuregui();
        record.labelfont = record.axisfont = windowtextfont();
        tviewinfo& v = record.setting.view;
        v.right = 535;
        v.bottom = 329;
        v.xmin = xmin;
        v.xmax = xmax;
        v.xstep = v.ystep = 50;
        v.fixedrange = true;
        samples = samplecurve(expression, "x", v, ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    }
    QImage draw(std::uint8_t viewmode = viewhome, tcolour background = white)
    {
        QImage image = quortest::filled(536, 330, background);
        tsurface s(image);
        EXPECT_TRUE(drawplot(s, record, current, silver, viewmode, samples));
        return image;
    }
};

}  // namespace

TEST(DrawPlot, CurveJoinsTheTruncatedSamplesWithTheCurvePen)
{
    const struct { tpen pen; tcolour background, curve; } cases[] = {
        {tpen{}, white, black},
        {tpen{black, 1, trastermode::invert, tpenstyle::solid}, silver, 0x3F3F3F},   // what is under, inverted
        {tpen{0x0000FF, 1, trastermode::xorpen, tpenstyle::solid}, silver, 0xC0C03F},
    };
    for (const auto& c : cases) {
        plotfixture p("sin(x)*x");
        p.record.funcpen = c.pen;
        const QImage image = p.draw(viewhome, c.background);
        for (int i = 0; i < p.samples.count(); ++i)
            EXPECT_EQ(at(image, p.samples[i].x, int(p.samples[i].y)), c.curve) << i;
        // Without axes, a column holds the curve only between its neighbours' rows.
        int rows = 0;
        for (int y = 0; y < 330; ++y) rows += at(image, 300, y) == c.curve;
        EXPECT_LT(rows, 20);
    }
}

TEST(DrawPlot, AxesAtTheOriginsWithLabelCells)
{
    plotfixture p("sin(x)*x", -10, 10);
    p.record.setting.drawaxis = true;
    const QImage image = p.draw();
    const tviewinfo& v = p.record.setting.view;
    ASSERT_TRUE(v.originx > 0 && v.originy > 0 && v.originy < 329);
    // Label cells start on the axis, so the line shows just before each anchor.
    for (int x : {98, 198, 298, 398, 498}) EXPECT_EQ(at(image, x, v.originy), black) << x;
    for (int y : {98, 198, 298}) EXPECT_EQ(at(image, v.originx, y), black) << y;
    // Label cells filled with the window colour below the x axis at every step.
    for (int px = 0; px <= 535; px += 50) {
        int silverpixels = 0;
        for (int y = v.originy + 1; y < v.originy + 8; ++y) silverpixels += at(image, px + 1, y) == silver;
        EXPECT_GT(silverpixels, 0) << px;
    }
    EXPECT_EQ(at(image, 40, 5), white);   // nothing between labels, far from axes and curve
    EXPECT_EQ(at(image, 535, v.originy), black);   // the x axis reaches the last column
    EXPECT_EQ(at(image, v.originx, 329), black);   // the y axis the last row

    p.record.setting.drawaxis = false;
    EXPECT_EQ(at(p.draw(), 400, v.originy), white);
}

TEST(DrawPlot, LabelsAloneWithoutSamples)
{
    plotfixture p("x");
    p.samples = cpaintlist{};
    p.record.labels = {{"note", {100, 100}}};
    p.record.setting.drawaxis = true;
    const QImage image = p.draw();
    EXPECT_EQ(at(image, 100, 100), silver);   // the top-left corner of the cell
    // Nothing else: no axes without a curve.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (x < 100 || y < 100 || x > 160 || y > 130) {
                ASSERT_EQ(at(image, x, y), white) << x << "," << y;
            }
}

TEST(DrawPlot, HomeViewRefreshesTheCurrentSetting)
{
    plotfixture p("x");
    p.current.view.xmin = 99;
    p.draw(viewzoomed);
    EXPECT_EQ(p.current.view.xmin, 99);
    p.draw(viewhome);
    EXPECT_EQ(p.current.view.xmin, 1);
    EXPECT_EQ(p.current.view.originx, p.record.setting.view.originx);
}

namespace {

// A canvas that keeps the texts drawn on it, as "x,y text".
struct textlog : tcanvas {
    std::vector<std::string> texts;
    void textout(int x, int y, const std::string& t) override
    {
        texts.push_back(std::to_string(x) + "," + std::to_string(y) + " " + t);
    }
    void setpen(const tpen&) override {}
    void setfont(const tfont&) override {}
    void setbkcolour(tcolour) override {}
    void moveto(int, int) override {}
    void lineto(int, int) override {}
    void flush() override {}
    int width() const override { return 536; }
    int height() const override { return 330; }
};

}  // namespace

TEST(DrawPlot, AxisLabelsNameTheValuesAtTheirAnchors)
{
    plotfixture p("x", -10, 10);
    p.record.setting.drawaxis = true;
    p.record.setting.xtitle = "X";
    p.record.setting.ytitle = "Y";
    const tviewinfo& v = p.record.setting.view;
    ASSERT_EQ(std::pair(v.originx, v.originy), std::pair(267, 164));
    textlog log;
    drawaxes(log, p.record, v, true);
    const std::vector<std::string> expected = {
        "267,164 O", "0,164 X", "267,0 Y",
        // x axis: (px - 267) * 20/535 at every 50 columns, the last one at 500
        "0,164 -9.981", "50,164 -8.112", "100,164 -6.243", "150,164 -4.374", "200,164 -2.505", "250,164 -0.636",
        "300,164 1.234", "350,164 3.103", "400,164 4.972", "450,164 6.841", "500,164 8.71",
        // y axis: (164 - py) * 20/329, upwards positive
        "267,0 9.97", "267,50 6.93", "267,100 3.891", "267,150 0.851", "267,200 -2.188", "267,250 -5.228",
        "267,300 -8.267"};
    EXPECT_EQ(log.texts, expected);
}

TEST(DrawPlot, AxisLabelAnchorsEndAtTheBoundsItself)
{
    // (home left, right, bottom) -> the first x anchor, the last x and y anchors. Anchors
    // whose text could not reach the surface (4096 columns) are skipped.
    const struct { int left, right, bottom; const char *firstx, *lastx, *lasty; } cases[] = {
        {0, 535, 329, "0,", "500,", "267,300 "}, {0, 500, 300, "0,", "500,", "267,300 "},
        {0, 499, 299, "0,", "450,", "267,250 "}, {-5000, 535, 329, "-4100,", "500,", "267,300 "},
        {-4096, 535, 329, "-4096,", "504,", "267,300 "},
    };
    for (const auto& c : cases) {
        plotfixture p("x", -10, 10);
        p.record.setting.drawaxis = true;
        tviewinfo& v = p.record.setting.view;
        v.left = c.left;
        v.right = c.right;
        v.bottom = c.bottom;
        textlog log;
        drawaxes(log, p.record, v, true);
        std::vector<std::string> x, y;
        for (const std::string& t : std::vector(log.texts.begin() + 3, log.texts.end()))
            (t.find(",164 ") != std::string::npos && t.rfind("267,", 0) != 0 ? x : y).push_back(t);
        ASSERT_FALSE(x.empty() || y.empty()) << c.left;
        EXPECT_EQ(x.front().rfind(c.firstx, 0), 0u) << x.front();
        EXPECT_EQ(x.back().rfind(c.lastx, 0), 0u) << x.back();
        EXPECT_EQ(y.back().rfind(c.lasty, 0), 0u) << y.back();
    }
}

TEST(VectorDrawing, EachStrokeIsWrittenOnce)
{
    // Two strokes, each ended by a change of pen, then a move and nothing drawn: two paths,
    // and a second flush writes nothing more.
    quortest::ensuregui();
    const QByteArray svg = quor::drawsvg(40, 30, quor::white, "t", [](quor::tcanvas& c) {
        quor::tpen pen;
        c.setpen(pen);
        c.moveto(1, 1);
        c.lineto(20, 1);
        pen.width = 3;
        c.setpen(pen);
        c.lineto(20, 20);
        c.setpen(pen);
        c.flush();
        c.moveto(5, 5);
        c.flush();
        return true;
    });
    ASSERT_FALSE(svg.isEmpty());
    EXPECT_EQ(svg.count("<path"), 2) << svg.toStdString();
    EXPECT_EQ(svg.count("stroke-width=\"3\""), 1) << svg.toStdString();
}
