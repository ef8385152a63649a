#pragma once
// Tunit_form, the unit list dialog: shows the units loaded at start-up and lets the user
// drop some from the list (their functions stay loaded until the program ends).
#include <string>
#include <vector>

#include <QDialog>

class QListWidget;

namespace quor {

class Tunit_form : public QDialog {
public:
    // unitfiles is the editor's list, read at every showing and replaced on OK.
    Tunit_form(std::vector<std::string>& unitfiles, QWidget* parent);

    void FormShow();
    void Button1Click();   // 删除
    void Button2Click();   // OK
    void Button3Click();   // Cancel

    QListWidget* list = nullptr;
    // The working list: the list box's lines as of the last showing or OK.
    const std::vector<std::string>& working() const { return working_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::vector<std::string>& unitfiles_;
    std::vector<std::string> working_;
};

}  // namespace quor
