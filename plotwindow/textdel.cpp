#include "textdel.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "plotwindows.h"

namespace quor {

Ttextdel::Ttextdel(tlabellist& entries, QWidget* parent) : QDialog(parent), entries_(entries)
{
    setWindowTitle("textdel");
    setObjectName("Ttextdel");
    resize(394, 215);
    listbox = new QListWidget;
    listbox->setSelectionMode(QAbstractItemView::ExtendedSelection);
    deletebtn = new QPushButton("Delete");
    okbtn = new QPushButton("OK");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(deletebtn);
    buttons->addWidget(okbtn);
    buttons->addStretch();
    auto* main = new QHBoxLayout(this);
    main->addWidget(listbox, 1);
    main->addLayout(buttons);
    connect(deletebtn, &QPushButton::clicked, this, [this] { deleteclick(); });
    connect(okbtn, &QPushButton::clicked, this, [this] { accept(); });
}

void Ttextdel::fill()
{
    listbox->clear();
    for (const tlabel& l : entries_) listbox->addItem(QString::fromStdString(l.text));
}

void Ttextdel::deleteclick()
{
    for (int i = 0; i < listbox->count(); ++i) {
        if (!listbox->item(i)->isSelected()) continue;
        delete listbox->takeItem(i);
        if (i < int(entries_.size())) entries_.erase(entries_.begin() + i);
        return;
    }
}

void tlabeldialog::editlabels(tlabellist& entries)
{
    // Made for this showing only; if the plot window goes while it is open, Qt takes the
    // dialog with it, and the entries stay with the record.
    QPointer<Ttextdel> dialog(new Ttextdel(entries, window_.data()));
    dialog->fill();
    windows_.runmodal(*dialog);
    if (dialog) dialog->deleteLater();
}

}  // namespace quor
