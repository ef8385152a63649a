#pragma once
// The environment dialog of a plot window: a new base expression and variable, moves and
// stretches by typed points, function values for typed x, the hit-test sensitivity and a
// thumbnail of the plot.
#include <QDialog>
#include <QPointer>

#include "moves.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quor {

class Tcostructform;
class tplotwindows;

class TEnvironmentset : public QDialog {
    Q_OBJECT
public:
    // Serves the plot window form (not owned).
    TEnvironmentset(tplotwindows& windows, Tcostructform& form);

    // On show: base expression, variable and thumbnail from the served window.
    void fill();
    // "自动填充函数值" of point one (fixed false) or of the fixed point.
    void fillvalue(bool fixed);
    // "去": the typed move or stretch, then resampled and redrawn.
    void goclick();
    // "修改": new base expression and variable after a check and a question.
    void modifyclick();

    tworld point1, point2, fixedpoint;
    bool stretch = false;

    QLineEdit *baseexpr, *basevar;
    QPushButton* modifybtn;
    QLineEdit *p1x, *p1y, *p2x, *p2y, *fixx, *fixy;
    QPushButton *fill1btn, *fillfixbtn;
    QCheckBox* stretchbox;
    QPushButton* gobtn;
    QLabel* thumbnail;
    QSpinBox* sensitivity;
    QPushButton* okbtn;

private:
    void refreshthumbnail();

    tplotwindows& windows_;
    QPointer<Tcostructform> form_;
};

}  // namespace quor
