#include "vectorcanvas.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QSvgGenerator>

#include "surface.h"

namespace quor {

tvectorcanvas::tvectorcanvas(QPainter& painter, int width, int height, tcolour background)
    : painter_(painter), w_(width), h_(height), background_(background & 0xFFFFFF)
{
}

tvectorcanvas::~tvectorcanvas() { flush(); }

void tvectorcanvas::setpen(const tpen& pen)
{
    flush();
    pen_ = pen;
}

void tvectorcanvas::moveto(int x, int y)
{
    flush();
    path_.moveTo(x + 0.5, y + 0.5);   // through the pixel centres, as the surface's lines go
    started_ = false;
}

void tvectorcanvas::lineto(int x, int y)
{
    path_.lineTo(x + 0.5, y + 0.5);
    started_ = true;
}

void tvectorcanvas::flush()
{
    if (started_ && pen_.mode != trastermode::nop) {
        const QColor colour = QColor::fromRgb(applyraster(pen_.mode, torgb(pen_.colour), torgb(background_)));
        const int width = std::max(1, pen_.width);
        QPen pen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        // As on the surface, only pens one pixel wide are dashed or dotted.
        if (width == 1) {
            switch (pen_.style) {
            case tpenstyle::solid: break;
            case tpenstyle::dash: pen.setDashPattern({18, 6}); break;
            case tpenstyle::dot: pen.setDashPattern({3, 3}); break;
            case tpenstyle::dashdot: pen.setDashPattern({9, 6, 3, 6}); break;
            }
        }
        painter_.setPen(pen);
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPath(path_);
    }
    const QPointF end = path_.currentPosition();
    path_ = QPainterPath();
    path_.moveTo(end);
    started_ = false;
}

void tvectorcanvas::textout(int x, int y, const std::string& text)
{
    flush();
    if (text.empty()) return;
    const QFont f = toqfont(font_);
    const QFontMetrics fm(f);
    const QString s = QString::fromStdString(text);
    painter_.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), QColor::fromRgb(torgb(bk_)));
    painter_.setFont(f);
    painter_.setPen(QColor::fromRgb(torgb(font_.colour)));
    painter_.drawText(QPoint(x, y + fm.ascent()), s);
}

QByteArray drawsvg(int width, int height, tcolour background, const std::string& title,
                   const std::function<bool(tcanvas&)>& draw)
{
    if (width < 1 || height < 1) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setResolution(96);   // a pixel of the picture is a pixel of a usual screen
    generator.setTitle(QString::fromStdString(title));
    bool drawn = false;
    {
        QPainter painter(&generator);
        painter.setClipRect(0, 0, width, height);
        painter.fillRect(0, 0, width, height, QColor::fromRgb(torgb(background)));
        tvectorcanvas canvas(painter, width, height, background);
        drawn = draw(canvas);
    }
    if (!drawn) return {};
    return bytes;
}

}  // namespace quor
