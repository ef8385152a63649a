// The drawing surface: raster modes on real pixels, styles, widths, strokes and text cells.
#include <gtest/gtest.h>

#include "guiapp.h"
#include "surface.h"

using namespace quor;
using quortest::at;

namespace {

void hline(tsurface& s, const tpen& pen, int y, int x0, int x1)
{
    s.setpen(pen);
    s.moveto(x0, y);
    s.lineto(x1, y);
    s.flush();
}

}  // namespace

TEST(Surface, SixteenRasterModesOnPixels)
{
    const tcolour d = 0x563412, p = 0xAA0FF0;
    const tcolour expected[rastermodecount] = {
        0x000000, 0xFFFFFF, 0x563412, 0xA9CBED,   // black, white, nop, invert
        0xAA0FF0, 0x55F00F, 0xABCFFD, 0xA80BE0,   // copy, notcopy, mergepennot, maskpennot
        0x57F41F, 0x543002, 0xFE3FF2, 0x01C00D,   // mergenotpen, masknotpen, merge, notmerge
        0x020410, 0xFDFBEF, 0xFC3BE2, 0x03C41D,   // mask, notmask, xor, notxor
    };
    for (int m = 0; m < rastermodecount; ++m) {
        QImage image = quortest::filled(40, 20, d);
        tsurface s(image);
        hline(s, tpen{p, 1, trastermode(m), tpenstyle::solid}, 5, 2, 30);
        EXPECT_EQ(at(image, 10, 5), expected[m]) << "mode " << m;
        EXPECT_EQ(at(image, 10, 6), d) << "mode " << m;   // outside the line untouched
    }
}

TEST(Surface, WideStrokesCombineEachPixelOnceSoInvertingTwiceUndoes)
{
    // A green pen over white, drawn out and back over the same pixels in one stroke, twice.
    const struct { trastermode mode; tcolour once; } cases[] = {
        {trastermode::invert, black}, {trastermode::xorpen, 0xFF00FF}, {trastermode::notxor, 0x00FF00}};
    for (const auto& c : cases) {
        QImage image = quortest::filled(40, 20, white);
        tsurface s(image);
        for (tcolour expected : {c.once, white}) {
            s.setpen(tpen{0x00FF00, 3, c.mode, tpenstyle::solid});
            s.moveto(5, 10);
            s.lineto(30, 10);
            s.lineto(5, 10);
            s.flush();
            for (int x = 5; x <= 30; ++x) EXPECT_EQ(at(image, x, 10), expected) << int(c.mode) << " at " << x;
            for (int y : {9, 11}) EXPECT_EQ(at(image, 15, y), expected) << int(c.mode) << " row " << y;
            // A width of 3 covers one row either side and one column past each end, no more.
            for (auto [x, y] : {std::pair{15, 8}, {15, 12}, {3, 10}, {32, 10}}) EXPECT_EQ(at(image, x, y), white);
        }
    }
}

TEST(Surface, StylesLeaveGapsAcrossSegmentsButWidePensDrawSolid)
{
    const struct { tpenstyle style; int width, firstgap; } cases[] = {   // first blank column, -1 for none
        {tpenstyle::solid, 1, -1}, {tpenstyle::dash, 1, 18}, {tpenstyle::dot, 1, 3}, {tpenstyle::dashdot, 1, 9},
        {tpenstyle::dash, 2, -1},  {tpenstyle::dot, 2, -1},  {tpenstyle::dashdot, 2, -1},
    };
    for (const auto& c : cases) {
        for (bool pieces : {false, true}) {
            QImage image = quortest::filled(120, 10, white);
            tsurface s(image);
            s.setpen(tpen{black, c.width, trastermode::copy, c.style});
            s.moveto(0, 5);
            if (pieces)
                for (int x = 1; x < 120; ++x) s.lineto(x, 5);   // a curve: one column per segment
            else
                s.lineto(119, 5);
            s.flush();
            int drawn = 0, firstgap = -1;
            for (int x = 0; x < 120; ++x) {
                if (at(image, x, 5) == black) ++drawn;
                else if (firstgap < 0) firstgap = x;
            }
            EXPECT_EQ(firstgap, c.firstgap) << int(c.style) << " width " << c.width << " pieces " << pieces;
            EXPECT_EQ(drawn < 100, c.firstgap >= 0);   // gaps keep coming
        }
    }
}

TEST(Surface, FarAwayEndsAreClipped)
{
    QImage image = quortest::filled(60, 30, white);
    tsurface s(image);
    s.setpen(tpen{});
    s.moveto(-2000000000, 12);
    s.lineto(2000000000, 12);
    s.moveto(30, -2147483647);
    s.lineto(30, 2147483647);
    s.flush();
    for (int x = 0; x < 60; ++x) EXPECT_EQ(at(image, x, 12), black) << x;
    for (int y = 0; y < 30; ++y) EXPECT_EQ(at(image, 30, y), black) << y;
}

TEST(Surface, TextCellsAreFilledWithTheBackgroundColour)
{
    quortest::ensuregui();
    QImage image = quortest::filled(120, 40, white);
    tsurface s(image);
    tfont f = windowtextfont();
    f.colour = 0x0000FF;   // red glyphs
    s.setfont(f);
    s.setbkcolour(silver);
    s.textout(10, 5, "-0.5");
    const int w = s.textwidth("-0.5"), h = s.textheight();
    ASSERT_TRUE(w > 5 && h > 5);
    int background = 0, glyph = 0, other = 0;
    for (int y = 5; y < 5 + h; ++y)
        for (int x = 10; x < 10 + w; ++x) {
            const tcolour c = at(image, x, y);
            (c == silver ? background : c == 0x0000FF ? glyph : other) += 1;
        }
    EXPECT_GT(background, glyph);
    EXPECT_GT(glyph, 5);
    EXPECT_EQ(other, 0);   // no antialiasing: only the two colours
    for (auto [x, y] : {std::pair{9, 5}, {10 + w, 5}, {10, 5 + h}}) EXPECT_EQ(at(image, x, y), white) << x << "," << y;
}
