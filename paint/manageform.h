#pragma once
// The board manager: lists the open plot windows by caption, calls selected ones up and
// clears away the first selected one.
#include <cstdint>
#include <vector>

#include <QDialog>

namespace quor {

class tboards;
class tflatbutton;
class tflatlist;

class Tmanage_form : public QDialog {
    Q_OBJECT
public:
    Tmanage_form(tboards& boards, QWidget* parent = nullptr);

    // Rebuilds the list from the open plot windows (each time the window is shown).
    void FormShow();
    void evoke_btnClick();
    void del_btnClick();

    tflatlist* windowlist() const { return windowlist_; }
    const std::vector<std::int32_t>& handles() const { return handles_; }
    tflatbutton* evokebutton() const { return evoke_btn_; }
    tflatbutton* delbutton() const { return del_btn_; }
    tflatbutton* okbutton() const { return ok_btn_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    tboards& boards_;
    tflatlist* windowlist_;
    tflatbutton* evoke_btn_;
    tflatbutton* del_btn_;
    tflatbutton* ok_btn_;
    std::vector<std::int32_t> handles_;   // entry i belongs to line i of the list
};

}  // namespace quor
