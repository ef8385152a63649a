#pragma once
// The key filter of the number fields in the plot dialogs: among the keys 33 to 128 only
// digits, one "." and a "-" typed at the start of a field that has none get through.
#include <QObject>

class QChar;
class QLineEdit;
class QString;

namespace quor {

// Whether a typed character may reach a field holding text with the caret at caret.
bool numkeyaccepted(QChar key, const QString& text, int caret);

// Filters the typed keys of edit (pasting is not filtered).
void installnumfilter(QLineEdit* edit);

}  // namespace quor
