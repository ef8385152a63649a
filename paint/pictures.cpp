#include "pictures.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>

namespace quor {

namespace {

QPainterPath sinepath(QRectF r, double periods)
{
    QPainterPath path;
    const int n = 48;
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n;
        const QPointF p(r.left() + t * r.width(), r.center().y() - std::sin(t * periods * 2 * M_PI) * r.height() / 2);
        if (i == 0) path.moveTo(p);
        else path.lineTo(p);
    }
    return path;
}

}  // namespace

QPixmap toolpicture(ttoolpicture which)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x10, 0x20, 0x60);
    switch (which) {
    case ttoolpicture::exit:
        p.setPen(QPen(QColor(0xC0, 0x10, 0x10), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case ttoolpicture::run:
        p.setPen(QPen(Qt::gray, 1));
        p.drawLine(QPointF(1, 8), QPointF(15, 8));
        p.drawLine(QPointF(3, 1), QPointF(3, 15));
        p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2));
        p.drawPath(sinepath(QRectF(1, 3, 14, 10), 1));
        break;
    case ttoolpicture::result:
        p.setPen(QPen(ink, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        for (int y = 4; y <= 11; y += 3) p.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
        break;
    case ttoolpicture::boards:
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawRect(QRectF(5.5, 1.5, 9, 8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 6.5, 9, 8));
        p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 1.2));
        p.drawPath(sinepath(QRectF(2.5, 8, 7, 5), 1));
        break;
    case ttoolpicture::units:
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(0xF0, 0xC0, 0x40));
        p.drawRect(QRectF(1.5, 4.5, 13, 10));
        p.drawRect(QRectF(1.5, 2.5, 6, 2));
        p.setPen(QPen(ink, 1.2));
        p.drawText(QRectF(1.5, 4.5, 13, 10), Qt::AlignCenter, "f");
        break;
    case ttoolpicture::variable: {
        QFont f("DejaVu Sans");
        f.setPixelSize(11);
        f.setBold(true);
        f.setItalic(true);
        p.setFont(f);
        p.setPen(ink);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, "x");
        p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 1.2));
        p.drawLine(QPointF(11, 3), QPointF(15, 3));
        p.drawLine(QPointF(13, 1), QPointF(15, 3));
        break;
    }
    case ttoolpicture::background:
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(0x60, 0xA0, 0xE0));
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0x90, 0x30));
        p.drawPolygon(QPolygonF({QPointF(2, 13), QPointF(7, 7), QPointF(10, 10), QPointF(14, 6), QPointF(14, 13)}));
        p.setBrush(QColor(0xFF, 0xE0, 0x40));
        p.drawEllipse(QPointF(5, 5.5), 1.5, 1.5);
        break;
    }
    return pm;
}

QImage iconpicture(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(0x10, 0x20, 0x60), 3));
    p.setBrush(QColor(0x00, 0x00, 0x80));
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 10, 10);
    p.setPen(QPen(QColor(0x80, 0x80, 0xC0), 1.5));
    p.drawLine(QPointF(8, 32), QPointF(56, 32));
    p.drawLine(QPointF(18, 8), QPointF(18, 56));
    p.setPen(QPen(QColor(0xFF, 0xE0, 0x20), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sinepath(QRectF(9, 14, 46, 36), 1.25));
    return img;
}

QIcon programicon()
{
    QIcon icon;
    for (int s : {16, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(iconpicture(s)));
    return icon;
}

QImage facepicture(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, QColor(0xF4, 0xF6, 0xFB));
    g.setColorAt(1, QColor(0xB4, 0xC4, 0xDE));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(QColor(0x30, 0x50, 0x90, 0x26), 1));
    for (int x = 8; x < width; x += 16) p.drawLine(x, 0, x, height);
    for (int y = 4; y < height; y += 16) p.drawLine(0, y, width, y);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x20, 0x40, 0xA0, 0x50), 2));
    p.drawPath(sinepath(QRectF(200, 38, 210, 26), 2.5));
    return img;
}

}  // namespace quor
