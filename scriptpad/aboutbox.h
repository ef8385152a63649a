#pragma once
// TAboutBox, the editor's about box: a background picture (logo_quor_c.bmp, found like
// the name tables; none when missing), the program's name and version, and two lines and a
// picture that open the contact mail and the web page through the platform.
#include <QDialog>
#include <QImage>

class QLabel;

namespace quor {

class tdialogs;

class TAboutBox : public QDialog {
public:
    // background is the path of the background picture ("" or unreadable: none).
    TAboutBox(tdialogs& dialogs, const QString& background, QWidget* parent);

    void Label2Click();   // either text line: a new mail to the contact address
    void Image1Click();   // the top-right picture: the web page
    bool hasbackground() const { return !background_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void open(const QString& address);

    tdialogs& dialogs_;
    QImage background_;
};

}  // namespace quor
