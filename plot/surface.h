#pragma once
// A drawing surface over an image: pens with raster modes and styles, fonts, text
// background, move-to / line-to and text, without antialiasing.
#include <cstdint>
#include <string>
#include <vector>

#include <QImage>

#include "canvas.h"
#include "drawtools.h"

namespace quor {

// Draws on an image it does not own; the image is kept in 32-bit RGB form. Lines are
// collected per stroke (a move-to and the line-tos after it) and combined with the image
// by the pen's raster mode when the stroke ends, so every covered pixel is combined once.
class tsurface : public tcanvas {
public:
    explicit tsurface(QImage& image);
    ~tsurface() override;
    tsurface(const tsurface&) = delete;
    tsurface& operator=(const tsurface&) = delete;

    void setpen(const tpen& pen) override;
    const tpen& pen() const { return pen_; }
    void setfont(const tfont& font) override;
    const tfont& font() const { return font_; }
    // Colour that fills the cell of every text drawn.
    void setbkcolour(tcolour c) override;
    tcolour bkcolour() const { return bk_; }

    void moveto(int x, int y) override;
    // Draws from the current point to (x, y), both ends included; (x, y) becomes current.
    void lineto(int x, int y) override;
    // Draws text with its cell's top-left corner at (x, y), the cell filled with the
    // text background colour and the glyphs in the font's colour.
    void textout(int x, int y, const std::string& text) override;
    // Width and height in pixels of the cell of text in the current font.
    int textwidth(const std::string& text) const;
    int textheight() const;
    int width() const override { return w_; }
    int height() const override { return h_; }

    // Fills the whole image with one colour.
    void fill(tcolour c);
    // The colour at (x, y); black outside the image.
    tcolour pixel(int x, int y);
    // The image with every pending stroke applied.
    QImage& image();
    // Applies the pending stroke.
    void flush() override;

private:
    // No stroke pixels are waiting to be combined.
    void cleardirty();
    void segment(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, bool withstart);
    void trace(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, bool withstart);
    void plot(std::int64_t x, std::int64_t y);
    bool patternon() const;

    QImage& image_;
    int w_, h_;
    tpen pen_;
    tfont font_;
    tcolour bk_ = white;
    int curx_ = 0, cury_ = 0;
    bool started_ = false;                     // the stroke has drawn its first point
    std::vector<std::uint8_t> mask_;           // pixels covered by the pending stroke
    int dirtyleft_, dirtytop_, dirtyright_, dirtybottom_;
    std::vector<std::pair<int, int>> stamp_;   // pixel offsets of the pen's shape
    std::vector<int> pattern_;                 // on/off run lengths of the style, in steps
    int patternlength_ = 0;
    std::int64_t patternpos_ = 0;              // steps drawn since the stroke began
};

// 0x00RRGGBB (Qt's layout) from a colour value, and back.
inline std::uint32_t torgb(tcolour c) { return std::uint32_t(redof(c)) << 16 | std::uint32_t(greenof(c)) << 8 | std::uint32_t(blueof(c)); }
inline tcolour fromrgb(std::uint32_t rgb) { return makecolour(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)); }

}  // namespace quor
