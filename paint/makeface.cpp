// Build step: writes the plotter's default background picture, face.bmp.
#include <cstdio>

#include <QGuiApplication>
#include <QString>

#include "pictures.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: makeface FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    return quor::facepicture().save(dir + "/face.bmp", "BMP") ? 0 : 1;
}
