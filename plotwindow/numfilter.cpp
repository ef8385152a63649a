#include "numfilter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace quor {

bool numkeyaccepted(QChar key, const QString& text, int caret)
{
    const int code = key.unicode();
    if (code < 33 || code > 128) return true;   // control keys, the blank, other bytes
    if (key == '-') return caret == 0 && !text.contains('-');
    if (key == '.') return !text.contains('.');
    return key >= '0' && key <= '9';
}

namespace {

class tnumfilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        auto* edit = qobject_cast<QLineEdit*>(watched);
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!edit || typed.size() != 1) return false;
        return !numkeyaccepted(typed[0], edit->text(), edit->cursorPosition());
    }
};

}  // namespace

void installnumfilter(QLineEdit* edit) { edit->installEventFilter(new tnumfilter(edit)); }

}  // namespace quor
