#pragma once
// What the plot drawing draws on: a raster surface for windows and pictures, or a vector
// canvas for drawings that scale.
#include <string>

#include "drawtools.h"

namespace quor {

class tcanvas {
public:
    virtual ~tcanvas() = default;
    virtual void setpen(const tpen& pen) = 0;
    virtual void setfont(const tfont& font) = 0;
    // Colour that fills the cell of every text drawn.
    virtual void setbkcolour(tcolour c) = 0;
    virtual void moveto(int x, int y) = 0;
    // Draws from the current point to (x, y), both ends included; (x, y) becomes current.
    virtual void lineto(int x, int y) = 0;
    // Draws text with its cell's top-left corner at (x, y) on the text background colour.
    virtual void textout(int x, int y, const std::string& text) = 0;
    // Finishes the pending stroke.
    virtual void flush() = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

}  // namespace quor
