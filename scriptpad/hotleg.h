#pragma once
// Thotleg, the editor's main window: the program text, the result pane, the run controls,
// and the interpreter's global state (variables, functions, name tables, unit list).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QPlainTextEdit>
#include <QString>

#include "funclist.h"
#include "session.h"
#include "units.h"
#include "variables.h"
#include "widgetmemo.h"

class QAction;
class QComboBox;
class QDialog;
class QToolButton;

namespace quor {

class TAboutBox;
class Trunfuncdialog;
class Tunit_form;
class tcodeedit;
class tdialogs;
class tfinddialog;
class tsyntaxcolour;

// What the editor needs to know about its surroundings at start-up.
struct tscriptsetup {
    std::string inipath;                  // base.ini
    std::string programdir;               // the default base directory
    std::vector<std::string> tabledirs;   // where the name tables are looked up, in order
    std::vector<std::string> extraunits;  // units loaded for this session only
    ttablereader readtable = readtablefile;   // reads a name table found in tabledirs
};

// The caption of the editor's boxes, the application's title.
inline const QString editortitle = QStringLiteral("Quor Editor");

class Thotleg : public QMainWindow {
public:
    // Runs the start-up: global lists, name tables, base.ini, units.
    Thotleg(thost& host, tdialogs& dialogs, tscriptsetup setup, QWidget* parent = nullptr);
    ~Thotleg() override;

    // The other windows of the program, made after this one.
    void attach(Trunfuncdialog* runfunc, TAboutBox* about, Tunit_form* unitform);
    // Shows a dialog modally and gives its result; exec() unless replaced by tests.
    std::function<int(QDialog&)> runmodal;
    // Called once the window has closed for good (base.ini written).
    std::function<void()> onclosed;

    // Menu and tool-bar operations.
    void New1Click();
    void Open1Click();
    bool Save2Click();   // true when the text was written
    bool Save1Click();
    void CopybtnClick();
    void cutbtnClick();
    void pastebtnClick();
    void fontbtnClick();
    void LoadUnit1Click();
    void DeleteUnit1Click();
    void Base1Click();
    void N2Click();
    void Run1Click();
    void runfuncbtnClick();
    void AboutPC1Click();
    void stopClick();
    // Type-ahead in the function combo (on every key release there).
    void selboxKeyUp();

    // Opens a file as Open does after its dialog; false (with a box) when it cannot be read.
    bool openpath(const QString& path);
    // Writes the editor text to path; false (with a box saying why) when it failed.
    bool writeto(const QString& path);

    // The editor text as lines, and edits of whole lines (one undoable step each).
    std::vector<std::string> lines() const;
    void setline(int i, const std::string& text);
    // Replaces count lines from first by with (count 0 inserts before line first).
    void replacelines(int first, int count, const std::vector<std::string>& with);
    bool modified() const;

    // True while a program started here or in the run-function dialog runs.
    bool running() const { return running_ > 0; }
    // Brackets a run: the controls that must wait are disabled meanwhile.
    void beginrun();
    void endrun();
    // Tells the user that the action must wait for the run to end.
    void refusebusy(QWidget* parent);

    tvarlist& vars() { return vars_; }
    tfunclist& funcs() { return funcs_; }
    tsession& session() { return session_; }
    tdialogs& dialogs() { return dialogs_; }
    twidgetmemo& memo() { return *memo_; }
    std::vector<std::string>& unitfiles() { return unitfiles_; }
    const QString& curfile() const { return curfile_; }
    // False when a name table or a unit failed at start-up: base.ini is then left alone.
    bool startupcomplete() const { return startupcomplete_; }
    // The editor line marked as where the last run failed (0-based), or -1.
    int markedline() const;

    tcodeedit* flowmemo = nullptr;
    QPlainTextEdit* resultmemo = nullptr;
    QComboBox* selbox = nullptr;
    QToolButton* runbtn = nullptr;
    QAction* Run1 = nullptr;
    QAction* runfuncaction = nullptr;
    QAction* stopaction = nullptr;
    // Edit menu entries beyond the clipboard ones: undo and redo follow the text's undo stack.
    QAction* undoaction = nullptr;
    QAction* redoaction = nullptr;
    tfinddialog* finddialog = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildwindow();
    void buildmenus();
    void startup();
    void writebaseini();
    void flowmemoChange();
    // The unsaved-changes question of New and Open; false when the action must not go on.
    bool settleunsaved(const QString& question, const QString& lostnote);
    void textloaded(const std::vector<std::string>& text);
    void showinfo(const QString& text);

    thost& host_;
    tdialogs& dialogs_;
    tscriptsetup setup_;
    tsession session_;
    tvarlist vars_;
    tfunclist funcs_;
    std::unique_ptr<twidgetmemo> memo_;
    std::vector<std::string> unitfiles_;
    QString curfile_;
    bool resizing_ = false;
    bool startupcomplete_ = true;
    int running_ = 0;
    bool closepending_ = false;
    bool closed_ = false;
    tsyntaxcolour* colour_ = nullptr;
    Trunfuncdialog* runfunc_ = nullptr;
    TAboutBox* about_ = nullptr;
    Tunit_form* unitform_ = nullptr;
};

}  // namespace quor
