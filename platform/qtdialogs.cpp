#include "qtdialogs.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QVBoxLayout>
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

// Boxes size themselves from their layout's minimum (a message box sets a fixed size from
// it): an empty item as wide as the title widens that.
void widen(QDialog& dialog)
{
    const int need = titlewidth(dialog.windowTitle());
    auto* spacer = new QSpacerItem(need, 0, QSizePolicy::Minimum, QSizePolicy::Minimum);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addItem(spacer, grid->rowCount(), 0, 1, grid->columnCount());
    else if (auto* box = qobject_cast<QVBoxLayout*>(dialog.layout()))
        box->addSpacerItem(spacer);
    else {
        delete spacer;
        dialog.setMinimumWidth(std::max(dialog.minimumWidth(), need));
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

int titlewidth(const QString& title)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    // The frame's icon and its minimise, maximise and close buttons, with some margin.
    constexpr int framebuttons = 4 * 26 + 24;
    return QFontMetrics(bold).horizontalAdvance(title) + framebuttons;
}

void fittitle(QDialog& dialog)
{
    // Some boxes make their layout only when shown (an input box): the room is added at the
    // first showing, before the box sizes itself.
    class twidener : public QObject {
    public:
        explicit twidener(QDialog& d) : QObject(&d) { d.installEventFilter(this); }
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() != QEvent::Show || watched != parent()) return false;
            auto& d = *static_cast<QDialog*>(watched);
            widen(d);
            if (d.layout()) d.layout()->activate();   // sized now, before the box is mapped
            d.removeEventFilter(this);
            deleteLater();
            return false;
        }
    };
    if (dialog.layout()) widen(dialog);
    else new twidener(dialog);
}

void setfixedclient(QWidget& dialog, QSize client, int extraheight)
{
    QSize size(client.width(), client.height() + extraheight);
    if (QLayout* layout = dialog.layout()) {
        layout->activate();
        size = size.expandedTo(layout->totalMinimumSize());
    }
    dialog.setFixedSize(size);
}

std::unique_ptr<QMessageBox> makemessagebox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                            QMessageBox::StandardButtons buttons, QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(icon, caption, boxtext(text), buttons, parent);
    fittitle(*box);
    return box;
}

void tqtdialogs::message(QWidget* parent, tboxkind kind, const QString& caption, const QString& text)
{
    makemessagebox(icon(kind), caption, text, QMessageBox::Ok, parent)->exec();
}

tanswer tqtdialogs::question(QWidget* parent, tboxkind kind, const QString& caption, const QString& text,
                             bool withcancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withcancel) buttons |= QMessageBox::Cancel;
    const auto box = makemessagebox(kind == tboxkind::information ? QMessageBox::Question : icon(kind), caption, text,
                                    buttons, parent);
    box->setEscapeButton(withcancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box->exec()) {
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
    fittitle(box);
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
