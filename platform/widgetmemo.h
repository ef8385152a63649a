#pragma once
// The result memo of a desktop window: a multi-line text box the interpreter appends to.
// Plot windows made for this memo belong to its owner widget and go with it.
#include <QPointer>

#include "host.h"

class QPlainTextEdit;
class QWidget;

namespace quor {

class twidgetmemo : public tmemo {
public:
    // Appends to edit; owner is the window plot windows made for this memo belong to.
    twidgetmemo(QPlainTextEdit* edit, QWidget* owner);
    void append(const std::string& line) override;
    // The owning window, or null once it is gone.
    QWidget* owner() const { return owner_; }
    QPlainTextEdit* edit() const { return edit_; }

private:
    QPointer<QPlainTextEdit> edit_;
    QPointer<QWidget> owner_;
};

}  // namespace quor
