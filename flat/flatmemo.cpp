#include "flatmemo.h"

namespace quor {

tflatmemo::tflatmemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setcolours(tflatcolours{Qt::white});
}

void tflatmemo::setcolours(const tflatcolours& c)
{
    colours_ = c;
    setFrameShape(QFrame::NoFrame);
    setStyleSheet(flatsheet("QPlainTextEdit", c));
}

}  // namespace quor
