#pragma once
// The plotter's own pictures, drawn here: tool-button pictures, the program icon and the
// default background (written to face.bmp at build time).
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace quor {

enum class ttoolpicture { exit, run, result, boards, units, variable, background };

// A tool-button picture, 16 by 16 pixels on a transparent ground.
QPixmap toolpicture(ttoolpicture which);
// The program icon (a small framed curve), size by size pixels.
QImage iconpicture(int size);
QIcon programicon();
// The default background of the main window: a light band with a faint grid and a curve.
QImage facepicture(int width = 415, int height = 71);

}  // namespace quor
