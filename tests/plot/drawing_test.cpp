// Drawing a plot: the curve's rows, the axes at the origins, label cells, the home/zoomed
// view rules of drawplot, and pens with raster modes on the curve.
#include <gtest/gtest.h>

#include "drawing.h"
#include "fixture.h"
#include "guiapp.h"
#include "sampling.h"
#include "surface.h"

using namespace quor;

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
        record.setting.colour = silver;
        samples = samplecurve(expression, "x", v, ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    }
    QImage draw(std::uint8_t viewmode = viewhome, tcolour background = white)
    {
        QImage image(536, 330, QImage::Format_RGB32);
        image.fill(QColor::fromRgb(torgb(background)));
        tsurface s(image);
        EXPECT_TRUE(drawplot(s, record, current, silver, viewmode, samples));
        return image;
    }
};

tcolour at(const QImage& image, int x, int y) { return fromrgb(image.pixel(x, y) & 0xFFFFFF); }

}  // namespace

TEST(DrawPlot, CurveRowsAreTheTruncatedSamples)
{
    plotfixture p("sin(x)*x");
    const QImage image = p.draw();
    for (int i = 0; i < p.samples.count(); ++i)
        EXPECT_EQ(at(image, p.samples[i].x, int(p.samples[i].y)), black) << i;
    // Without axes, the column of a sample holds the curve only between its neighbours.
    int blackrows = 0;
    for (int y = 0; y < 330; ++y) blackrows += at(image, 300, y) == black;
    EXPECT_LT(blackrows, 20);
}

TEST(DrawPlot, AxesAtTheOriginsWithLabelCells)
{
    plotfixture p("sin(x)*x", -10, 10);
    p.record.setting.drawaxis = true;
    const QImage image = p.draw();
    const tviewinfo& v = p.record.setting.view;
    ASSERT_GT(v.originx, 0);
    ASSERT_GT(v.originy, 0);
    ASSERT_LT(v.originy, 329);
    // Axis lines where no label cell covers them: label cells start on the axis, so the
    // line shows just before each anchor.
    for (int x : {98, 198, 298, 398, 498}) EXPECT_EQ(at(image, x, v.originy), black) << x;
    for (int y : {98, 198, 298}) EXPECT_EQ(at(image, v.originx, y), black) << y;
    // Label cells filled with the window colour below the x axis at every step.
    for (int px = 0; px <= 535; px += 50) {
        int silverpixels = 0;
        for (int y = v.originy + 1; y < v.originy + 8; ++y) silverpixels += at(image, px + 1, y) == silver;
        EXPECT_GT(silverpixels, 0) << px;
    }
    // Nothing drawn between labels far from both axes and the curve.
    EXPECT_EQ(at(image, 40, 5), white);

    p.record.setting.drawaxis = false;
    const QImage plain = p.draw();
    EXPECT_EQ(at(plain, 400, v.originy), white);
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

TEST(DrawPlot, CurvePenModesInvertWhatIsUnder)
{
    const struct {
        trastermode mode;
        tcolour pen, background, curve;
    } cases[] = {
        {trastermode::invert, black, white, black},
        {trastermode::invert, black, silver, 0x3F3F3F},
        {trastermode::xorpen, 0x0000FF, silver, 0xC0C03F},
        {trastermode::nop, black, silver, silver},
        {trastermode::copy, 0x00FF00, white, 0x00FF00},
    };
    for (const auto& c : cases) {
        plotfixture p("3");
        p.record.funcpen = tpen{c.pen, 1, c.mode, tpenstyle::solid};
        const QImage image = p.draw(viewhome, c.background);
        EXPECT_EQ(at(image, 200, 164), c.curve) << int(c.mode);
        EXPECT_EQ(at(image, 200, 163), c.background);
    }
}
