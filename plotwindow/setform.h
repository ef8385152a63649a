#pragma once
// The plot properties dialog: edits a working copy of a plot record (frame, titles, pens,
// fonts, colours, description) and shows expression and variable read-only. The plot
// window copies its record in before showing it and back only when confirmed.
#include <QDialog>

#include "plotrecord.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace quor {

class tdialogs;

// The mode list's items; the position is the raster mode number.
inline constexpr const char* modeitems[] = {"Black", "White", "Nop", "Copy", "NotCopy", "MergePenNot",
                                           "NaskNotPen", "MergeNotPen"};
inline constexpr const char* styleitems[] = {"Solid", "Dash", "Dot", "DashDot"};

class Tsetform : public QDialog {
    Q_OBJECT
public:
    Tsetform(tdialogs& dialogs, QWidget* parent);

    trecordinfo& working() { return working_; }
    tshortstring expressiontext;
    tshortstring variabletext;
    // Closed with OK (and every field read).
    bool confirmed() const { return confirmed_; }

    // Fills every control from the working record and the texts (done on show).
    void fill();
    // "OK": reads every control back in order; a range that is no number is reported
    // and the dialog closes unconfirmed.
    void okclick();

    // Controls, by page.
    QSpinBox *viewminx, *viewmaxx, *viewminy, *viewmaxy;
    QCheckBox* fixedrectbox;
    QLineEdit *rangemin, *rangemax;
    QCheckBox* fixedrangebox;
    QLineEdit *xtitleedit, *ytitleedit, *titleedit;
    QPushButton* axisfontbtn;
    QCheckBox* drawaxisbox;
    QSpinBox *xstepspin, *ystepspin;
    QLineEdit* captionedit;
    QPushButton* textfontbtn;
    QPlainTextEdit* descmemo;
    QSpinBox* axiswidth;
    QComboBox *axismode, *axisstyle;
    QPushButton* axiscolourbtn;
    QSpinBox* funcwidth;
    QComboBox *funcmode, *funcstyle;
    QPushButton *funccolourbtn, *bkcolourbtn;
    QLineEdit *exprview, *varview;
    QPushButton *okbtn, *cancelbtn;

private:
    void applyenabling();
    void choosefont(tfont& f);
    void choosecolour(tcolour& c);

    tdialogs& dialogs_;
    trecordinfo working_{"temprecord", 3};
    bool confirmed_ = false;
};

}  // namespace quor
