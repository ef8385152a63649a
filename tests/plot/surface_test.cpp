// The drawing surface: raster modes on real pixels, styles, widths, strokes and text cells.
#include <gtest/gtest.h>

#include "guiapp.h"
#include "surface.h"

using namespace quor;

namespace {

QImage blank(tcolour c, int w = 40, int h = 20)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(torgb(c)));
    return image;
}

tcolour at(QImage& image, int x, int y) { return fromrgb(image.pixel(x, y) & 0xFFFFFF); }

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
        QImage image = blank(d);
        tsurface s(image);
        hline(s, tpen{p, 1, trastermode(m), tpenstyle::solid}, 5, 2, 30);
        EXPECT_EQ(at(image, 10, 5), expected[m]) << "mode " << m;
        EXPECT_EQ(at(image, 10, 6), d) << "mode " << m;   // outside the line untouched
    }
    EXPECT_EQ(tpen{}.mode, trastermode::copy);
}

TEST(Surface, InvertAndXorUndoThemselves)
{
    for (trastermode m : {trastermode::invert, trastermode::xorpen, trastermode::notxor}) {
        QImage image = blank(silver);
        tsurface s(image);
        const tpen pen{0x00FF00, 3, m, tpenstyle::solid};
        hline(s, pen, 10, 0, 39);
        EXPECT_NE(at(image, 20, 10), silver);
        hline(s, pen, 10, 0, 39);
        for (int y = 8; y <= 12; ++y) EXPECT_EQ(at(image, 20, y), silver) << int(m);
    }
}

TEST(Surface, EachPixelOfAStrokeIsCombinedOnce)
{
    QImage image = blank(white);
    tsurface s(image);
    s.setpen(tpen{black, 1, trastermode::invert, tpenstyle::solid});
    s.moveto(5, 5);
    s.lineto(30, 5);   // out and back over the same pixels, one stroke
    s.lineto(5, 5);
    s.flush();
    for (int x = 5; x <= 30; ++x) EXPECT_EQ(at(image, x, 5), black) << x;
    EXPECT_EQ(at(image, 4, 5), white);
    EXPECT_EQ(at(image, 31, 5), white);
}

TEST(Surface, StylesLeaveGapsThatContinueAcrossSegments)
{
    const struct {
        tpenstyle style;
        int firstgap;   // first column left blank from x = 0
    } cases[] = {{tpenstyle::solid, -1}, {tpenstyle::dash, 18}, {tpenstyle::dot, 3}, {tpenstyle::dashdot, 9}};
    for (const auto& c : cases) {
        for (bool pieces : {false, true}) {
            QImage image = blank(white, 120, 10);
            tsurface s(image);
            s.setpen(tpen{black, 1, trastermode::copy, c.style});
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
            EXPECT_EQ(firstgap, c.firstgap) << int(c.style) << pieces;
            if (c.style != tpenstyle::solid) {
                EXPECT_LT(drawn, 100);
            }
        }
    }
}

TEST(Surface, WidePensDrawSolidWhateverTheirStyle)
{
    for (tpenstyle style : {tpenstyle::dash, tpenstyle::dot, tpenstyle::dashdot}) {
        QImage image = blank(white, 120, 10);
        tsurface s(image);
        s.setpen(tpen{black, 2, trastermode::copy, style});
        s.moveto(0, 5);
        s.lineto(119, 5);
        s.flush();
        for (int x = 0; x < 120; ++x) ASSERT_EQ(at(image, x, 5), black) << int(style) << " at " << x;
    }
}

TEST(Surface, WidePensCoverTheirWidth)
{
    QImage image = blank(white);
    tsurface s(image);
    hline(s, tpen{black, 3, trastermode::copy, tpenstyle::solid}, 10, 5, 30);
    for (int y : {9, 10, 11}) EXPECT_EQ(at(image, 15, y), black) << y;
    for (int y : {8, 12}) EXPECT_EQ(at(image, 15, y), white) << y;
    hline(s, tpen{black, 1, trastermode::copy, tpenstyle::solid}, 2, 5, 30);
    EXPECT_EQ(at(image, 5, 2), black);    // both ends included
    EXPECT_EQ(at(image, 30, 2), black);
    EXPECT_EQ(at(image, 15, 1), white);
}

TEST(Surface, FarAwayEndsAreClipped)
{
    QImage image = blank(white, 60, 30);
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
    QImage image = blank(white, 120, 40);
    tsurface s(image);
    tfont f = windowtextfont();
    f.colour = 0x0000FF;   // red glyphs
    s.setfont(f);
    s.setbkcolour(silver);
    s.textout(10, 5, "-0.5");
    const int w = s.textwidth("-0.5"), h = s.textheight();
    ASSERT_GT(w, 5);
    ASSERT_GT(h, 5);
    int background = 0, glyph = 0, other = 0;
    for (int y = 5; y < 5 + h; ++y)
        for (int x = 10; x < 10 + w; ++x) {
            const tcolour c = at(image, x, y);
            if (c == silver) ++background;
            else if (c == 0x0000FF) ++glyph;
            else ++other;
        }
    EXPECT_GT(background, glyph);
    EXPECT_GT(glyph, 5);
    EXPECT_EQ(other, 0);   // no antialiasing: only the two colours
    EXPECT_EQ(at(image, 9, 5), white);
    EXPECT_EQ(at(image, 10 + w, 5), white);
    EXPECT_EQ(at(image, 10, 5 + h), white);
}
