// Exact pixels of styled lines and text at the surface's edges, and the zoomed view
// following a resize.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "fixture.h"
#include "guiapp.h"
#include "plotboard.h"
#include "surface.h"

using namespace quor;
using quortest::at;

namespace {

// The row y as a string: '#' where the pen drew, '.' elsewhere.
std::string row(const QImage& image, int y, int x0, int x1)
{
    std::string r;
    for (int x = x0; x <= x1; ++x) r += at(image, x, y) == black ? '#' : '.';
    return r;
}

}  // namespace

TEST(SurfacePixels, StyledLinesRunTheirPatternsPixelByPixel)
{
    const struct { tpenstyle style; const char* pixels; } cases[] = {
        {tpenstyle::dash, "##################......##################......"},
        {tpenstyle::dot, "###...###...###...###...###...###...###...###..."},
        // The dot of dash-dot is the third run: on, as every even run.
        {tpenstyle::dashdot, "#########......###......#########......###......"},
    };
    for (const auto& c : cases) {
        QImage image = quortest::filled(60, 5, white);
        tsurface s(image);
        s.setpen(tpen{black, 1, trastermode::copy, c.style});
        s.moveto(0, 2);
        s.lineto(47, 2);
        s.flush();
        EXPECT_EQ(row(image, 2, 0, 47), c.pixels) << int(c.style);
        EXPECT_EQ(row(image, 1, 0, 47), std::string(48, '.'));
    }
}

TEST(SurfacePixels, TextAnchoredOutsideLeavesEveryPixel)
{
    quortest::ensuregui();
    // Anchors past the right or bottom edge, at the far end of int, or very far left with a
    // text long enough to reach back into the image.
    const std::string longtext(12000, 'W');
    const struct { int x, y; const std::string* text; } cases[] = {
        {40, 5, &longtext},         {5, 20, &longtext},          {INT_MAX - 3, 5, &longtext},
        {5, INT_MAX - 3, &longtext}, {-70000, 5, &longtext},     {5, -70000, &longtext},
    };
    for (const auto& c : cases) {
        QImage image = quortest::filled(40, 20, white);
        tsurface s(image);
        s.setbkcolour(0x00FF00);
        s.textout(c.x, c.y, *c.text);
        s.flush();
        int touched = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) touched += at(image, x, y) != white;
        EXPECT_EQ(touched, 0) << c.x << "," << c.y;
    }
}

TEST(SurfacePixels, ZoomedViewFollowsTheWindowSize)
{
    quortest::ensuregui();
    quortest::context ctx(tdialect::plotter);
    tplotboard board(ctx.vars, &ctx.funcs, &ctx.host, ctx.session, true);
    board.setup("x", "x");
    ASSERT_TRUE(board.resize(board.outerwidth(), board.outerheight()));
    board.press(100, 50, {});
    board.release(200, 150, true, false);
    board.zoom();
    ASSERT_EQ(board.viewmode(), viewzoomed);
    // The zoomed view keeps its range but takes the new pixel rectangle, both bigger and smaller.
    for (auto [w, h] : {std::pair{744, 475}, {200, 150}}) {
        ASSERT_TRUE(board.resize(w, h));
        const tviewinfo& v = board.current().view;
        EXPECT_EQ((std::vector<int>{v.left, v.right, v.top, v.bottom}), (std::vector<int>{0, w - 9, 0, h - 46}));
        EXPECT_EQ(board.samples().count(), w - 9 + 1) << w;
    }
}

TEST(SurfacePixels, AZeroWidthPenDrawsAsOnePixelWideUpToTheEdges)
{
    // Lines from just outside the image (where far-away ends start being clipped) to points
    // across it: a pen of width 0 leaves the same pixels as a pen of width 1.
    int lines = 0;
    for (tpenstyle style : {tpenstyle::solid, tpenstyle::dash})
        for (int from = -4; from <= -2; ++from)
            for (int x1 = 0; x1 < 30; x1 += 3)
                for (int y1 = 0; y1 < 20; y1 += 2) {
                    QImage images[2] = {quortest::filled(30, 20, white), quortest::filled(30, 20, white)};
                    for (int width : {0, 1}) {
                        tsurface s(images[width]);
                        s.setpen(tpen{black, width, trastermode::copy, style});
                        s.moveto(from, 7);
                        s.lineto(x1, y1);
                        s.moveto(x1, from);
                        s.lineto(from + 9, 19);
                        s.flush();
                    }
                    ASSERT_EQ(images[0], images[1]) << from << " to " << x1 << "," << y1;
                    ++lines;
                }
    EXPECT_EQ(lines, 600);
}
