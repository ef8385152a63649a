#pragma once
// The plotter's main window: a borderless rounded strip with an expression box and tool
// buttons. It owns the plotter's global lists, loads name tables, settings and units at
// start-up, plots typed expressions after a ten-point pre-test, opens the result window,
// board manager and unit manager, and writes vivevazed.ini when it closes.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QWidget>

#include "funclist.h"
#include "qthost.h"
#include "session.h"
#include "units.h"
#include "variables.h"

class QDialog;
class QLabel;
class QMenu;

namespace quor {

class TAboutBox;
class Tmanage_form;
class Tresultform;
class Tunit_manage;
class tboards;
class tdialogs;
class tflatbutton;
class tflatedit;
class twidgetmemo;

// Where the plotter finds its files.
struct tpaintoptions {
    std::string inipath;                 // vivevazed.ini
    std::vector<std::string> datadirs;   // name tables and bare picture names, in order
    // Loads a unit at start-up (loadunit in the plotter's dialect unless replaced).
    std::function<void(const std::string&, tfunclist&)> loadunit;
    ttablereader readtable = readtablefile;   // reads a name table found in datadirs
};

// Makes the plot windows for a session, given the dialogs and the global list.
using tboardsfactory = std::function<std::unique_ptr<tboards>(tsession&, tdialogs&, tvarlist&)>;

// The caption of the plotter's boxes, its application title.
inline constexpr const char* painttitle = "Rozez of Quor";
// The pre-test's question, its four lines joined by single carriage returns.
inline constexpr const char* pretestquestion =
    "该表达式的图像可能会与您想象的不同，而且应起系统的不稳定。是否继续？\r原因：1。自变量错误，\r2。非法函数或符号\r3。其他原因";

class Tmainform : public QWidget {
    Q_OBJECT
public:
    // Start-up: shapes the window, makes the lists, reads the name tables, vivevazed.ini and
    // the units, then creates the result window, board manager, unit manager and about box.
    Tmainform(tdialogs& dialogs, tpaintoptions options, const tboardsfactory& makeboards);
    ~Tmainform() override;

    // Commands of the buttons and the pop-up menu.
    void run_btnClick();
    void res_btnClick();
    void show_btnClick();
    void load_btnClick();
    void chg_btnClick();
    void back_btnClick();
    void top_btnClick();
    void about_btnClick();
    void main_btnClick();
    void mini_btnClick();

    // The hit test: true when p (window coordinates) lies strictly inside a flat button.
    bool isinrange(QPoint p) const;

    const std::string& varname() const { return varname_; }
    const std::string& backfile() const { return backfile_; }
    const QImage& background() const { return background_; }
    bool showresult() const { return showresult_; }
    void setshowresult(bool on) { showresult_ = on; }
    bool ontop() const;
    const std::vector<std::string>& unitfiles() const { return unitfiles_; }
    // True when start-up stopped before vivevazed.ini was read (a name table failed).
    bool startupstopped() const { return !settingsread_; }
    // Drags of the window begun by presses on its background.
    int movesstarted() const { return moves_; }

    tvarlist& vars() { return vars_; }
    tfunclist& funcs() { return funcs_; }
    tsession& session() { return session_; }
    tqthost& host() { return host_; }
    tmemo* memo() const;
    tboards& boards() { return *boards_; }
    tflatedit* edit() const { return edit_; }
    QLabel* info() const { return info_; }
    QMenu* menu() const { return menu_; }
    tflatbutton* button(const QString& name) const;
    Tresultform* resultform() const { return resultform_.get(); }
    Tmanage_form* manageform() const { return manage_.get(); }
    Tunit_manage* unitmanage() const { return unitmanage_.get(); }
    TAboutBox* aboutbox() const { return about_.get(); }

    // Runs a modal window (board manager, unit manager, about box); exec() unless tests
    // replace it.
    std::function<int(QDialog&)> runmodal;

signals:
    // The window closed: settings are written and the other windows are gone.
    void closed();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void FormCreate();
    void FormClose();
    void setregions();
    void setontop(bool on);
    void startmove();
    void showinfo();
    // Loads a background picture; false when the file is no picture.
    bool loadbackground(const std::string& path);
    tflatbutton* addbutton(const char* name, const QString& caption, QRect at, const QString& hint);

    tdialogs& dialogs_;
    tpaintoptions options_;
    tqthost host_;
    tsession session_;
    tvarlist vars_{"paint", 1};
    tfunclist funcs_{"paint", 1};
    std::unique_ptr<tboards> boards_;

    std::string varname_ = "x";
    std::string backfile_;
    QImage background_;
    std::vector<std::string> unitfiles_;
    bool showresult_ = false;
    bool settingsread_ = false;
    bool closed_ = false;
    int moves_ = 0;

    tflatedit* edit_ = nullptr;
    QLabel* info_ = nullptr;
    QMenu* menu_ = nullptr;
    std::vector<tflatbutton*> buttons_;

    std::unique_ptr<Tresultform> resultform_;
    std::unique_ptr<twidgetmemo> memo_;
    std::unique_ptr<Tmanage_form> manage_;
    std::unique_ptr<Tunit_manage> unitmanage_;
    std::unique_ptr<TAboutBox> about_;
};

}  // namespace quor
