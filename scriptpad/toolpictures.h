#pragma once
// The editor's own pictures, drawn in code: tool buttons, the program icon and the about
// box's top-right picture.
#include <QIcon>
#include <QPixmap>

namespace quor {

enum class ttoolpicture { newfile, open, save, saveas, copy, cut, paste, font, run, runfunc, stop, select, quit };

QIcon toolpicture(ttoolpicture which);
// The program icon (a blue page with a plotted curve and a "q"), size by size pixels.
QPixmap programpicture(int size);
QIcon programicon();
// The about box's top-right picture: a small plot of a damped wave.
QPixmap wavepicture(int width, int height);

}  // namespace quor
