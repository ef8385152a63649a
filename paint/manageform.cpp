#include "manageform.h"

#include "boards.h"
#include "flatbutton.h"
#include "flatlist.h"

namespace quor {

Tmanage_form::Tmanage_form(tboards& boards, QWidget* parent) : QDialog(parent), boards_(boards)
{
    setWindowTitle("画板管理");
    setFixedSize(312, 218);
    windowlist_ = new tflatlist(this);
    windowlist_->setGeometry(0, 0, 185, 218);
    evoke_btn_ = new tflatbutton("唤起", this);
    del_btn_ = new tflatbutton("清除", this);
    ok_btn_ = new tflatbutton("OK", this);
    int top = 16;
    for (tflatbutton* b : {evoke_btn_, del_btn_, ok_btn_}) {
        b->setGeometry(206, top, 88, 28);
        top += 44;
    }
    connect(evoke_btn_, &QAbstractButton::clicked, this, &Tmanage_form::evoke_btnClick);
    connect(del_btn_, &QAbstractButton::clicked, this, &Tmanage_form::del_btnClick);
    connect(ok_btn_, &QAbstractButton::clicked, this, &QDialog::accept);
}

void Tmanage_form::showEvent(QShowEvent* e)
{
    FormShow();
    QDialog::showEvent(e);
}

void Tmanage_form::FormShow()
{
    windowlist_->clear();
    handles_.clear();
    for (const tboards::tboard& b : boards_.list()) {
        windowlist_->addItem(b.caption);
        handles_.push_back(b.handle);
    }
}

void Tmanage_form::evoke_btnClick()
{
    for (int row : windowlist_->selectedrows()) boards_.showwnd(handles_[static_cast<std::size_t>(row)], swshow);
}

void Tmanage_form::del_btnClick()
{
    const int row = windowlist_->firstselected();
    if (row < 0) return;
    const std::int32_t handle = handles_[static_cast<std::size_t>(row)];
    delete windowlist_->takeItem(row);
    handles_.erase(handles_.begin() + row);
    boards_.showwnd(handle, swhide);
    boards_.destroy(handle);
}

}  // namespace quor
