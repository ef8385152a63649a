#include "toolpictures.h"

#include <cmath>

#include <QAction>
#include <QPainter>
#include <QPainterPath>
#include <QToolBar>
#include <QToolButton>

namespace quor {

namespace {

constexpr int side = 24;

void page(QPainter& p, QColor fill)
{
    QPainterPath path;
    path.moveTo(5, 2);
    path.lineTo(15, 2);
    path.lineTo(20, 7);
    path.lineTo(20, 22);
    path.lineTo(5, 22);
    path.closeSubpath();
    p.setPen(QPen(QColor(70, 70, 70), 1.2));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(15, 2), QPointF(15, 7));
    p.drawLine(QPointF(15, 7), QPointF(20, 7));
}

void disk(QPainter& p)
{
    p.setPen(QPen(QColor(30, 50, 110), 1.2));
    p.setBrush(QColor(60, 100, 190));
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(7, 3, 10, 6));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(6, 13, 12, 8));
}

void paint(QPainter& p, ttoolpicture which)
{
    switch (which) {
    case ttoolpicture::newfile:
        page(p, Qt::white);
        p.setPen(QPen(QColor(255, 170, 0), 2));
        p.drawLine(QPointF(17, 14), QPointF(17, 20));
        p.drawLine(QPointF(14, 17), QPointF(20, 17));
        break;
    case ttoolpicture::open:
        p.setPen(QPen(QColor(120, 80, 0), 1.2));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(2, 6, 16, 14));
        p.setBrush(QColor(255, 225, 130));
        p.drawPolygon(QPolygonF({QPointF(5, 10), QPointF(22, 10), QPointF(18, 20), QPointF(2, 20)}));
        break;
    case ttoolpicture::save:
        disk(p);
        break;
    case ttoolpicture::saveas:
        disk(p);
        p.setPen(QPen(QColor(200, 40, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 21), QPointF(22, 12));
        break;
    case ttoolpicture::copy:
        page(p, QColor(230, 230, 230));
        p.translate(-2, -1);
        p.scale(0.8, 0.8);
        p.translate(0, 0);
        page(p, Qt::white);
        break;
    case ttoolpicture::cut:
        p.setPen(QPen(QColor(60, 60, 60), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(7, 3), QPointF(15, 15));
        p.drawLine(QPointF(17, 3), QPointF(9, 15));
        p.setPen(QPen(QColor(180, 30, 30), 2));
        p.drawEllipse(QPointF(7.5, 18), 3.5, 3.5);
        p.drawEllipse(QPointF(16.5, 18), 3.5, 3.5);
        break;
    case ttoolpicture::paste:
        p.setPen(QPen(QColor(110, 70, 20), 1.2));
        p.setBrush(QColor(200, 150, 80));
        p.drawRoundedRect(QRectF(4, 4, 16, 18), 2, 2);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(8, 2, 8, 4));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 9, 10, 11));
        break;
    case ttoolpicture::font: {
        QFont f("DejaVu Serif");
        f.setPixelSize(20);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(30, 30, 140));
        p.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, "A");
        break;
    }
    case ttoolpicture::run:
        p.setPen(QPen(QColor(0, 100, 0), 1.2));
        p.setBrush(QColor(40, 170, 40));
        p.drawPolygon(QPolygonF({QPointF(6, 3), QPointF(20, 12), QPointF(6, 21)}));
        break;
    case ttoolpicture::runfunc: {
        p.setPen(QPen(QColor(0, 100, 0), 1.2));
        p.setBrush(QColor(40, 170, 40));
        p.drawPolygon(QPolygonF({QPointF(12, 9), QPointF(22, 16), QPointF(12, 23)}));
        QFont f("DejaVu Serif");
        f.setPixelSize(14);
        f.setItalic(true);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(30, 30, 140));
        p.drawText(QRectF(1, 0, 14, 14), Qt::AlignCenter, "f");
        break;
    }
    case ttoolpicture::select:
        p.setPen(QPen(QColor(70, 70, 70), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 3, 18, 18));
        p.setPen(QPen(QColor(40, 90, 180), 2));
        for (int y : {8, 12, 16}) p.drawLine(QPointF(9, y), QPointF(18, y));
        p.setBrush(QColor(40, 90, 180));
        p.drawPolygon(QPolygonF({QPointF(5, 10), QPointF(7.5, 12), QPointF(5, 14)}));
        break;
    case ttoolpicture::quit:
        p.setPen(QPen(QColor(80, 50, 20), 1.4));
        p.setBrush(QColor(170, 110, 50));
        p.drawRect(QRectF(3, 2, 12, 20));
        p.setPen(QPen(QColor(200, 30, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 12), QPointF(21, 12));
        p.drawLine(QPointF(17, 8), QPointF(21, 12));
        p.drawLine(QPointF(17, 16), QPointF(21, 12));
        break;
    case ttoolpicture::stop:
        p.setPen(QPen(QColor(120, 0, 0), 1.2));
        p.setBrush(QColor(210, 40, 40));
        p.drawRoundedRect(QRectF(5, 5, 14, 14), 2, 2);
        break;
    }
}

}  // namespace

QAction* addtoolbutton(QToolBar* bar, const char* name, ttoolpicture picture, const QString& hint)
{
    QAction* a = bar->addAction(toolpicture(picture), hint);
    a->setToolTip(hint);
    if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
        b->setObjectName(name);
        b->setAutoRaise(true);
    }
    return a;
}

QIcon toolpicture(ttoolpicture which)
{
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p, which);
    p.end();
    return QIcon(pm);
}

QPixmap programpicture(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // The same drawing as scriptpad.svg.
    p.setPen(QPen(QColor(20, 50, 110), 2));
    p.setBrush(QColor(40, 90, 180));
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 10, 10);
    p.setPen(QPen(QColor(255, 220, 60), 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath wave;
    wave.moveTo(10, 40);
    for (int x = 10; x <= 54; ++x) wave.lineTo(x, 40 - 12 * std::sin((x - 10) / 7.0) * std::exp(-(x - 10) / 40.0));
    p.drawPath(wave);
    QFont f("DejaVu Sans");
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(36, 32, 22, 26), Qt::AlignCenter, "q");
    p.end();
    return pm;
}

QIcon programicon()
{
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64, 128}) icon.addPixmap(programpicture(s));
    return icon;
}

QPixmap wavepicture(int width, int height)
{
    QPixmap pm(width, height);
    pm.fill(QColor(10, 20, 60));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 110, 160), 1));
    p.drawLine(0, height / 2, width, height / 2);
    p.drawLine(width / 8, 0, width / 8, height);
    p.setPen(QPen(QColor(255, 220, 60), 2));
    QPainterPath curve;
    for (int x = 0; x < width; ++x) {
        const double t = (x - width / 8.0) / (width / 10.0);
        const double y = height / 2.0 - height * 0.4 * std::sin(2 * t) * std::exp(-std::abs(t) / 3.0);
        if (x == 0) curve.moveTo(x, y);
        else curve.lineTo(x, y);
    }
    p.drawPath(curve);
    p.end();
    return pm;
}

}  // namespace quor
