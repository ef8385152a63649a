#include "unitform.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quor {

Tunit_form::Tunit_form(std::vector<std::string>& unitfiles, QWidget* parent) : QDialog(parent), unitfiles_(unitfiles)
{
    setWindowTitle("Units");
    resize(369, 236);
    auto* layout = new QHBoxLayout(this);
    list = new QListWidget(this);
    list->setObjectName("list");
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumWidth(249);
    layout->addWidget(list, 1);
    auto* buttons = new QVBoxLayout;
    auto* remove = new QPushButton("删除", this);
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    ok->setDefault(true);
    for (QPushButton* b : {remove, ok, cancel}) buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(remove, &QPushButton::clicked, this, &Tunit_form::Button1Click);
    connect(ok, &QPushButton::clicked, this, &Tunit_form::Button2Click);
    connect(cancel, &QPushButton::clicked, this, &Tunit_form::Button3Click);
}

void Tunit_form::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void Tunit_form::FormShow()
{
    working_ = unitfiles_;
    list->clear();
    for (const std::string& u : working_) list->addItem(QString::fromStdString(u));
}

void Tunit_form::Button1Click()
{
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    if (chosen.isEmpty()) return;
    delete list->takeItem(list->row(chosen.first()));
}

void Tunit_form::Button2Click()
{
    working_.clear();
    for (int i = 0; i < list->count(); ++i) working_.push_back(list->item(i)->text().toStdString());
    unitfiles_ = working_;
    accept();
}

void Tunit_form::Button3Click() { reject(); }

}  // namespace quor
