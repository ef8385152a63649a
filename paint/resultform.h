#pragma once
// The result window: the plotter's result memo in a read-only text box hung below the main
// window, with "Select all", "Copy" and "Clear" on its pop-up menu.
#include <QWidget>

class QMenu;

namespace quor {

class Tmainform;
class tdialogs;
class tflatmemo;

class Tresultform : public QWidget {
    Q_OBJECT
public:
    // Placed below main, overlapping it by 5 pixels, as wide as it; shown when main's
    // showresult is set.
    Tresultform(Tmainform& main, tdialogs& dialogs);

    tflatmemo* resultmemo() const { return resultmemo_; }
    QMenu* menu() const { return menu_; }

    void selectall1Click();
    void copy1Click();
    void Clear1Click();

protected:
    // Closing clears main's showresult; the window is hidden, not destroyed.
    void closeEvent(QCloseEvent* e) override;

private:
    Tmainform& main_;
    tdialogs& dialogs_;
    tflatmemo* resultmemo_;
    QMenu* menu_;
};

}  // namespace quor
