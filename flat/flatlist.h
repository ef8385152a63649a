#pragma once
// The flat list box: lines of text with multiple selection (click, Ctrl- and Shift-click),
// scroll bars and a flat border.
#include <QListWidget>

#include "flatstyle.h"

namespace quor {

class tflatlist : public QListWidget {
    Q_OBJECT
public:
    explicit tflatlist(QWidget* parent = nullptr);
    void setcolours(const tflatcolours& c);

    // The lines in list order.
    QStringList lines() const;
    void setlines(const QStringList& lines);
    // The selected rows in list order (not in the order they were selected).
    std::vector<int> selectedrows() const;
    // The first selected row, or -1.
    int firstselected() const;

private:
    tflatcolours colours_;
};

}  // namespace quor
