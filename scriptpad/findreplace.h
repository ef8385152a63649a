#pragma once
// Find and replace in the program text: the search (tfinder, working on a text box) and the
// non-modal dialog that drives it (tfinddialog). Boxes go through tdialogs.
#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace quor {

class tdialogs;

struct tfindoptions {
    bool matchcase = false;
    bool wholeword = false;   // no letter, digit or "_" may touch the match on either side
};

// True when what stands in text at column at under the options.
bool matchesat(const QString& text, const QString& what, qsizetype at, const tfindoptions& o);
// Forward: the first match starting at or after from; backward: the last match starting
// before from. -1 when there is none (no wrap-around here).
qsizetype findin(const QString& text, const QString& what, qsizetype from, bool backward, const tfindoptions& o);

// What a search found.
enum class tfound { found, wrapped, notfound };

class tfinder {
public:
    // Boxes are captioned caption and shown over boxparent (replaceable while it lives).
    tfinder(QPlainTextEdit& edit, tdialogs& dialogs, QString caption);

    QString what;
    QString with;
    tfindoptions options;
    QWidget* boxparent = nullptr;

    // Selects the next match after the selection (backward: before it), going round the end of
    // the text once; a box says so when there is none. An empty what finds nothing, silently.
    tfound findnext(bool backward);
    // Replaces the selection when it is a match, then looks for the next one.
    tfound replace(bool backward);
    // Replaces every match of the whole text in one undoable step; the number replaced (a
    // box says so when it is none).
    int replaceall();

private:
    void notfound();

    QPlainTextEdit& edit_;
    tdialogs& dialogs_;
    QString caption_;
};

class tfinddialog : public QDialog {
public:
    tfinddialog(QPlainTextEdit& edit, tdialogs& dialogs, const QString& caption, QWidget* parent);

    // Shows the dialog (find only, or with the replace row) in front, the find box focused and
    // preset with the one-line selection of the text, if there is one.
    void openfind();
    void openreplace();
    // F3 and Shift+F3: the next or previous match of the last search, or the dialog when
    // nothing was searched for yet.
    void findnext();
    void findprevious();

    void findbtnClick();
    void replacebtnClick();
    void replaceallbtnClick();

    tfinder& finder() { return finder_; }

    QLineEdit* whatedit = nullptr;
    QLineEdit* withedit = nullptr;
    QCheckBox* matchcase = nullptr;
    QCheckBox* wholeword = nullptr;
    QRadioButton* upbtn = nullptr;
    QRadioButton* downbtn = nullptr;
    QPushButton* findbtn = nullptr;
    QPushButton* replacebtn = nullptr;
    QPushButton* replaceallbtn = nullptr;
    QLabel* note = nullptr;   // wrap-around and replace-all notes

private:
    void build();
    void showfor(bool replacing);
    // Hands the fields to the finder; boxes go over this dialog while it is shown.
    void takefields();
    void report(tfound f, bool backward);

    QPlainTextEdit& edit_;
    tfinder finder_;
    QLabel* withlabel_ = nullptr;
    bool placed_ = false;
};

}  // namespace quor
