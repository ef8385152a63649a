#include "surface.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <QFontMetrics>
#include <QPainter>

namespace quor {

tsurface::tsurface(QImage& image) : image_(image)
{
    if (image_.format() != QImage::Format_RGB32 && image_.format() != QImage::Format_ARGB32)
        image_ = image_.convertToFormat(QImage::Format_RGB32);
    w_ = image_.width();
    h_ = image_.height();
    mask_.assign(std::size_t(w_) * std::size_t(h_), 0);
    cleardirty();
    setpen(tpen{});
}

tsurface::~tsurface() { flush(); }

void tsurface::cleardirty()
{
    dirtyleft_ = w_;
    dirtytop_ = h_;
    dirtyright_ = -1;
    dirtybottom_ = -1;
}

void tsurface::setpen(const tpen& pen)
{
    flush();
    started_ = false;
    pen_ = pen;
    const int w = std::max(1, pen.width);
    // A round shape of diameter w; a 1-pixel pen is a single pixel.
    stamp_.clear();
    const int lo = -((w - 1) / 2);
    const double centre = lo + (w - 1) / 2.0;
    const double r2 = (w / 2.0) * (w / 2.0) + 0.25;
    for (int dy = lo; dy < lo + w; ++dy)
        for (int dx = lo; dx < lo + w; ++dx)
            if ((dx - centre) * (dx - centre) + (dy - centre) * (dy - centre) <= r2)
                stamp_.emplace_back(dx, dy);
    // Style runs in pixel steps. As with the platform's pens, only pens one pixel wide
    // are dashed or dotted; wider pens draw solid.
    switch (w > 1 ? tpenstyle::solid : pen.style) {
    case tpenstyle::solid: pattern_ = {}; break;
    case tpenstyle::dash: pattern_ = {18, 6}; break;
    case tpenstyle::dot: pattern_ = {3, 3}; break;
    case tpenstyle::dashdot: pattern_ = {9, 6, 3, 6}; break;
    }
    patternlength_ = 0;
    for (int run : pattern_) patternlength_ += run;
}

void tsurface::setfont(const tfont& font) { font_ = font; }

void tsurface::setbkcolour(tcolour c) { bk_ = c & 0xFFFFFF; }

void tsurface::moveto(int x, int y)
{
    flush();
    curx_ = x;
    cury_ = y;
    started_ = false;
}

void tsurface::lineto(int x, int y)
{
    if (!started_) patternpos_ = 0;
    segment(curx_, cury_, x, y, !started_);
    started_ = true;
    curx_ = x;
    cury_ = y;
}

bool tsurface::patternon() const
{
    if (patternlength_ == 0) return true;
    std::int64_t p = patternpos_ % patternlength_;
    for (std::size_t i = 0; i < pattern_.size(); ++i) {
        if (p < pattern_[i]) return i % 2 == 0;
        p -= pattern_[i];
    }
    return true;
}

void tsurface::plot(std::int64_t x, std::int64_t y)
{
    if (patternon()) {
        for (const auto& [dx, dy] : stamp_) {
            const std::int64_t px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= w_ || py >= h_) continue;
            mask_[std::size_t(py) * std::size_t(w_) + std::size_t(px)] = 1;
            dirtyleft_ = std::min(dirtyleft_, int(px));
            dirtyright_ = std::max(dirtyright_, int(px));
            dirtytop_ = std::min(dirtytop_, int(py));
            dirtybottom_ = std::max(dirtybottom_, int(py));
        }
    }
    ++patternpos_;
}

void tsurface::trace(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, bool withstart)
{
    const std::int64_t sx = x1 >= x0 ? 1 : -1, sy = y1 >= y0 ? 1 : -1;
    const std::int64_t ax = std::llabs(x1 - x0), ay = std::llabs(y1 - y0);
    std::int64_t x = x0, y = y0, err = ax - ay;
    if (withstart) plot(x, y);
    while (x != x1 || y != y1) {
        const std::int64_t e2 = 2 * err;
        if (e2 > -ay) {
            err -= ay;
            x += sx;
        }
        if (e2 < ax) {
            err += ax;
            y += sy;
        }
        plot(x, y);
    }
}

void tsurface::segment(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, bool withstart)
{
    const double margin = std::max(1, pen_.width) + 2;
    const double xl = -margin, xr = w_ - 1 + margin, yt = -margin, yb = h_ - 1 + margin;
    auto outside = [&](std::int64_t x, std::int64_t y) { return x < xl || x > xr || y < yt || y > yb; };
    if (!outside(x0, y0) && !outside(x1, y1)) {
        trace(x0, y0, x1, y1, withstart);
        return;
    }
    // Far-away ends are clipped to the image widened by the pen, so huge coordinates cost
    // nothing; the style pattern still advances over the parts cut off.
    const std::int64_t steps = std::max(std::llabs(x1 - x0), std::llabs(y1 - y0));
    const double dx = double(x1 - x0), dy = double(y1 - y0);
    double t0 = 0, t1 = 1;
    auto clip = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    const std::int64_t endpos = patternpos_ + steps;
    if (clip(-dx, double(x0) - xl) && clip(dx, xr - double(x0)) && clip(-dy, double(y0) - yt) &&
        clip(dy, yb - double(y0))) {
        const std::int64_t skipped = std::llround(t0 * double(steps));
        patternpos_ += skipped;
        trace(std::llround(double(x0) + t0 * dx), std::llround(double(y0) + t0 * dy),
              std::llround(double(x0) + t1 * dx), std::llround(double(y0) + t1 * dy), withstart || skipped > 0);
    }
    patternpos_ = endpos;
}

void tsurface::flush()
{
    if (dirtyright_ < 0) return;
    const std::uint32_t p = torgb(pen_.colour);
    for (int y = dirtytop_; y <= dirtybottom_; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::uint8_t* m = &mask_[std::size_t(y) * std::size_t(w_)];
        for (int x = dirtyleft_; x <= dirtyright_; ++x) {
            if (!m[x]) continue;
            m[x] = 0;
            line[x] = 0xFF000000u | applyraster(pen_.mode, p, line[x] & 0xFFFFFF);
        }
    }
    cleardirty();
}

int tsurface::textwidth(const std::string& text) const
{
    return QFontMetrics(toqfont(font_)).horizontalAdvance(QString::fromStdString(text));
}

int tsurface::textheight() const { return QFontMetrics(toqfont(font_)).height(); }

void tsurface::textout(int x, int y, const std::string& text)
{
    flush();
    started_ = false;
    // Text anchored beyond the right or bottom edge, or very far left or up, cannot show.
    if (text.empty() || x >= w_ || y >= h_ || x < -65536 || y < -65536) return;
    const QFont f = toqfont(font_);
    const QFontMetrics fm(f);
    const QString s = QString::fromStdString(text);
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), QColor::fromRgb(torgb(bk_)));
    painter.setFont(f);
    painter.setPen(QColor::fromRgb(torgb(font_.colour)));
    painter.drawText(QPoint(x, y + fm.ascent()), s);
}

void tsurface::fill(tcolour c)
{
    flush();
    image_.fill(QColor::fromRgb(torgb(c)));
}

tcolour tsurface::pixel(int x, int y)
{
    flush();
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return black;
    return fromrgb(image_.pixel(x, y) & 0xFFFFFF);
}

QImage& tsurface::image()
{
    flush();
    return image_;
}

}  // namespace quor
