#include "qtdialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace quor {

namespace {

QMessageBox::Icon icon(tboxkind kind)
{
    switch (kind) {
    case tboxkind::warning: return QMessageBox::Warning;
    case tboxkind::error: return QMessageBox::Critical;
    default: return QMessageBox::Information;
    }
}

std::optional<QString> chosen(const QString& path)
{
    if (path.isEmpty()) return std::nullopt;
    return path;
}

}  // namespace

QString boxtext(const QString& text)
{
    QString t = text;
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    return t;
}

void tqtdialogs::message(QWidget* parent, tboxkind kind, const QString& caption, const QString& text)
{
    QMessageBox box(icon(kind), caption, boxtext(text), QMessageBox::Ok, parent);
    box.exec();
}

tanswer tqtdialogs::question(QWidget* parent, tboxkind kind, const QString& caption, const QString& text,
                             bool withcancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withcancel) buttons |= QMessageBox::Cancel;
    QMessageBox box(kind == tboxkind::information ? QMessageBox::Question : icon(kind), caption, boxtext(text),
                    buttons, parent);
    box.setEscapeButton(withcancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes: return tanswer::yes;
    case QMessageBox::No: return tanswer::no;
    default: return withcancel ? tanswer::cancel : tanswer::no;
    }
}

std::optional<QString> tqtdialogs::input(QWidget* parent, const QString& caption, const QString& prompt,
                                         const QString& deflt)
{
    QInputDialog box(parent);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(deflt);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

std::optional<QString> tqtdialogs::openfile(QWidget* parent, const QString& title, const QString& dir,
                                            const QString& filter)
{
    return chosen(QFileDialog::getOpenFileName(parent, title, dir, qtfilter(filter)));
}

std::optional<QString> tqtdialogs::savefile(QWidget* parent, const QString& title, const QString& dir,
                                            const QString& filter)
{
    return chosen(QFileDialog::getSaveFileName(parent, title, dir, qtfilter(filter)));
}

std::optional<QString> tqtdialogs::folder(QWidget* parent, const QString& title, const QString& dir)
{
    return chosen(QFileDialog::getExistingDirectory(parent, title, dir));
}

std::optional<QFont> tqtdialogs::font(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, parent);
    if (!ok) return std::nullopt;
    return f;
}

std::optional<QColor> tqtdialogs::colour(QWidget* parent, const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, parent);
    if (!c.isValid()) return std::nullopt;
    return c;
}

void tqtdialogs::errorbox(QWidget* parent, const QString& text)
{
    message(parent, tboxkind::error, caption_, text);
}

void tqtdialogs::setcliptext(const QString& text) { QApplication::clipboard()->setText(text); }

QString tqtdialogs::cliptext() { return QApplication::clipboard()->text(); }

void tqtdialogs::setclipimage(const QImage& image) { QApplication::clipboard()->setImage(image); }

bool tqtdialogs::openaddress(const QString& address) { return QDesktopServices::openUrl(QUrl(address)); }

}  // namespace quor
