#include "flatedit.h"

#include <QKeyEvent>

namespace quor {

tflatedit::tflatedit(QWidget* parent) : QLineEdit(parent) { setcolours(tflatcolours{Qt::white}); }

void tflatedit::setcolours(const tflatcolours& c)
{
    colours_ = c;
    setFrame(false);
    setStyleSheet(flatsheet("QLineEdit", c));
}

void tflatedit::keyPressEvent(QKeyEvent* e)
{
    emit keydown(e->key(), e->modifiers());
    QLineEdit::keyPressEvent(e);
}

}  // namespace quor
