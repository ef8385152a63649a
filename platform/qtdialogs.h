#pragma once
// The real boxes and dialogs: Qt message boxes, input, file, folder, font and colour dialogs,
// the clipboard and the desktop's address opener.
#include <memory>

#include <QMessageBox>

#include "dialogs.h"

namespace quor {

class tqtdialogs : public tdialogs {
public:
    // caption is the application's title, the caption of the general error box.
    explicit tqtdialogs(QString caption) : caption_(std::move(caption)) {}

    void message(QWidget* parent, tboxkind kind, const QString& caption, const QString& text) override;
    tanswer question(QWidget* parent, tboxkind kind, const QString& caption, const QString& text,
                     bool withcancel) override;
    std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                                 const QString& deflt) override;
    std::optional<QString> openfile(QWidget* parent, const QString& title, const QString& dir,
                                    const QString& filter) override;
    std::optional<QString> savefile(QWidget* parent, const QString& title, const QString& dir,
                                    const QString& filter) override;
    std::optional<QString> folder(QWidget* parent, const QString& title, const QString& dir) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
    std::optional<QColor> colour(QWidget* parent, const QColor& initial) override;
    void errorbox(QWidget* parent, const QString& text) override;

    void setcliptext(const QString& text) override;
    QString cliptext() override;
    void setclipimage(const QImage& image) override;
    bool openaddress(const QString& address) override;

private:
    QString caption_;
};

// Box texts break their lines at CR, LF or CR LF; Qt's boxes break at LF only.
QString boxtext(const QString& text);

// The width a window needs for its whole title in a window manager's title bar: the
// title in a bold face of the application's font, plus room for the frame's icon and
// buttons.
int titlewidth(const QString& title);
// Makes a dialog at least titlewidth() wide, through its layout when it has one (a
// message box keeps that through its own sizing as long as its contents stay as they are).
void fittitle(QDialog& dialog);
// Gives a fixed-size dialog the size of its described client area plus extraheight (a
// menu bar outside that area), grown where its layout needs more room, so that no control
// is squeezed below its minimum.
void setfixedclient(QWidget& dialog, QSize client, int extraheight = 0);
// The message box the dialogs show: icon, caption, text (boxtext) and buttons, wide
// enough for its title.
std::unique_ptr<QMessageBox> makemessagebox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                            QMessageBox::StandardButtons buttons, QWidget* parent);

}  // namespace quor
