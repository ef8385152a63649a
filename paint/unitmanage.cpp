#include "unitmanage.h"

#include "dialogs.h"
#include "fault.h"
#include "flatbutton.h"
#include "flatlist.h"
#include "units.h"

namespace quor {

Tunit_manage::Tunit_manage(tfunclist& funcs, tdialogs& dialogs, QWidget* parent)
    : QDialog(parent), funcs_(funcs), dialogs_(dialogs)
{
    setWindowTitle("单元管理");
    setFixedSize(312, 218);
    unitlist_ = new tflatlist(this);
    unitlist_->setGeometry(0, 0, 185, 218);
    load_btn_ = new tflatbutton("载入", this);
    del_btn_ = new tflatbutton("删除", this);
    ok_btn_ = new tflatbutton("OK", this);
    int top = 16;
    for (tflatbutton* b : {load_btn_, del_btn_, ok_btn_}) {
        b->setGeometry(206, top, 88, 28);
        top += 44;
    }
    connect(load_btn_, &QAbstractButton::clicked, this, &Tunit_manage::load_btnClick);
    connect(del_btn_, &QAbstractButton::clicked, this, &Tunit_manage::del_btnClick);
    connect(ok_btn_, &QAbstractButton::clicked, this, &QDialog::accept);
}

void Tunit_manage::load_btnClick()
{
    const auto path = dialogs_.openfile(this, QString(), QString(), "TXT FILE|*.txt|ALL FILE|*.*");
    if (!path || unitlist_->lines().contains(*path)) return;
    try {
        loadunit(path->toStdString(), funcs_, tdialect::plotter);
    } catch (const std::exception& e) {
        dialogs_.errorbox(this, QString::fromStdString(e.what()));
        return;
    }
    unitlist_->addItem(*path);
}

void Tunit_manage::del_btnClick()
{
    const int row = unitlist_->firstselected();
    if (row >= 0) delete unitlist_->takeItem(row);
}

}  // namespace quor
