#pragma once
// The label delete dialog: lists a plot's labels and deletes the first selected one per
// click; what is left goes back to the plot record.
#include <QDialog>
#include <QPointer>

#include "plotrecord.h"

class QListWidget;
class QPushButton;

namespace quor {

class tplotwindows;

class Ttextdel : public QDialog {
    Q_OBJECT
public:
    // Edits entries (which must outlive the dialog's use of them).
    Ttextdel(tlabellist& entries, QWidget* parent);

    // On show: the list box refilled with the entries' texts, in order.
    void fill();
    // "Delete": removes the first selected line and its entry.
    void deleteclick();

    QListWidget* listbox;
    QPushButton *deletebtn, *okbtn;

private:
    tlabellist& entries_;
};

// The plot record's label dialog: shows a Ttextdel over the plot window, modally.
class tlabeldialog : public tlabeldeleter {
public:
    tlabeldialog(tplotwindows& windows, QWidget* window) : windows_(windows), window_(window) {}
    void editlabels(tlabellist& entries) override;

private:
    tplotwindows& windows_;
    QPointer<QWidget> window_;
};

}  // namespace quor
