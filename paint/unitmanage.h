#pragma once
// The unit manager: the list of units loaded at start-up; loads further units into the
// global function list and drops entries from the list.
#include <QDialog>

namespace quor {

class tdialogs;
class tfunclist;
class tflatbutton;
class tflatlist;

class Tunit_manage : public QDialog {
    Q_OBJECT
public:
    Tunit_manage(tfunclist& funcs, tdialogs& dialogs, QWidget* parent = nullptr);

    // "载入": a chosen file not yet listed (exact comparison) is loaded, then listed; a
    // failing load shows its message in the error box and lists nothing.
    void load_btnClick();
    // "删除": drops the first selected line; the unit's functions stay loaded.
    void del_btnClick();

    tflatlist* unitlist() const { return unitlist_; }
    tflatbutton* loadbutton() const { return load_btn_; }
    tflatbutton* delbutton() const { return del_btn_; }
    tflatbutton* okbutton() const { return ok_btn_; }

private:
    tfunclist& funcs_;
    tdialogs& dialogs_;
    tflatlist* unitlist_;
    tflatbutton* load_btn_;
    tflatbutton* del_btn_;
    tflatbutton* ok_btn_;
};

}  // namespace quor
