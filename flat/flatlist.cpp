#include "flatlist.h"

#include <algorithm>

namespace quor {

tflatlist::tflatlist(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setcolours(tflatcolours{Qt::white});
}

void tflatlist::setcolours(const tflatcolours& c)
{
    colours_ = c;
    setFrameShape(QFrame::NoFrame);
    setStyleSheet(flatsheet("QListWidget", c));
}

QStringList tflatlist::lines() const
{
    QStringList out;
    for (int i = 0; i < count(); ++i) out << item(i)->text();
    return out;
}

void tflatlist::setlines(const QStringList& lines)
{
    clear();
    addItems(lines);
}

std::vector<int> tflatlist::selectedrows() const
{
    std::vector<int> rows;
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected()) rows.push_back(i);
    return rows;
}

int tflatlist::firstselected() const
{
    const std::vector<int> rows = selectedrows();
    return rows.empty() ? -1 : rows.front();
}

}  // namespace quor
