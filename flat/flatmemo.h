#pragma once
// The flat multi-line text box: plain text with both scroll bars and a flat border.
#include <QPlainTextEdit>

#include "flatstyle.h"

namespace quor {

class tflatmemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit tflatmemo(QWidget* parent = nullptr);
    void setcolours(const tflatcolours& c);
    const tflatcolours& colours() const { return colours_; }

private:
    tflatcolours colours_;
};

}  // namespace quor
