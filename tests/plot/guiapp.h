#pragma once
// Shared by the plot suites: text drawing needs fonts, and fonts need one application
// object for the whole run; images are probed pixel by pixel.
#include <QGuiApplication>
#include <QImage>

#include "surface.h"

namespace quortest {

inline void ensuregui()
{
    static int argc = 1;
    static char name[] = "plottests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

inline QImage filled(int w, int h, quor::tcolour c)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(quor::torgb(c)));
    return image;
}

inline quor::tcolour at(const QImage& image, int x, int y) { return quor::fromrgb(image.pixel(x, y) & 0xFFFFFF); }

}  // namespace quortest
