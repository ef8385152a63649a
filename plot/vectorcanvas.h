#pragma once
// A canvas drawing vectors on a painter (an SVG generator's): strokes as paths with the
// pen's width and style, texts as texts. A pen's raster mode is drawn as the colour it
// gives over the background, which is what the raster surface shows there.
#include <functional>
#include <string>

#include <QPainterPath>

#include "canvas.h"

class QPainter;

namespace quor {

class tvectorcanvas : public tcanvas {
public:
    tvectorcanvas(QPainter& painter, int width, int height, tcolour background);
    ~tvectorcanvas() override;
    tvectorcanvas(const tvectorcanvas&) = delete;
    tvectorcanvas& operator=(const tvectorcanvas&) = delete;

    void setpen(const tpen& pen) override;
    void setfont(const tfont& font) override { font_ = font; }
    void setbkcolour(tcolour c) override { bk_ = c & 0xFFFFFF; }
    void moveto(int x, int y) override;
    void lineto(int x, int y) override;
    void textout(int x, int y, const std::string& text) override;
    void flush() override;
    int width() const override { return w_; }
    int height() const override { return h_; }

private:
    QPainter& painter_;
    int w_, h_;
    tcolour background_;
    tpen pen_;
    tfont font_;
    tcolour bk_ = white;
    QPainterPath path_;
    bool started_ = false;
};

// Writes a vector drawing (SVG) of width x height made by draw, replacing path atomically;
// false when drawing or writing failed.
bool writesvg(const std::string& path, int width, int height, tcolour background, const std::string& title,
              const std::function<bool(tcanvas&)>& draw);
// The same drawing as the text of an SVG document; "" when drawing failed.
std::string svgtext(int width, int height, tcolour background, const std::string& title,
                    const std::function<bool(tcanvas&)>& draw);

}  // namespace quor
