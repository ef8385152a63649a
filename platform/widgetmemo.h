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
    // Appends to edit; owner is the window plot windows made for this memo belong to,
    // front the window they stay in front of (owner when null).
    twidgetmemo(QPlainTextEdit* edit, QWidget* owner, QWidget* front = nullptr);
    void append(const std::string& line) override;
    // The owning window, or null once it is gone.
    QWidget* owner() const { return owner_; }
    QPlainTextEdit* edit() const { return edit_; }
    // The window plot windows stay in front of, or null once it is gone.
    QWidget* front() const { return front_ ? front_ : owner_; }

private:
    QPointer<QPlainTextEdit> edit_;
    QPointer<QWidget> owner_;
    QPointer<QWidget> front_;
};

}  // namespace quor
