#pragma once
// The editor's own pictures, drawn in code: tool buttons, the program icon and the about
// box's top-right picture.
#include <QIcon>
#include <QPixmap>

class QAction;
class QString;
class QToolBar;

namespace quor {

enum class ttoolpicture { newfile, open, save, saveas, copy, cut, paste, font, run, runfunc, stop, select, quit };

QIcon toolpicture(ttoolpicture which);
// Adds a flat tool button showing the picture, with the hint as its text and tool tip and
// `name` as the button's object name; returns its action.
QAction* addtoolbutton(QToolBar* bar, const char* name, ttoolpicture picture, const QString& hint);
// The program icon (a blue page with a plotted curve and a "q"), size by size pixels.
QPixmap programpicture(int size);
QIcon programicon();
// The about box's top-right picture: a small plot of a damped wave.
QPixmap wavepicture(int width, int height);

}  // namespace quor
