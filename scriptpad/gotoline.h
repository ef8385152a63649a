#pragma once
// Going to a line of the program text by its number.
#include <optional>

#include <QString>

class QPlainTextEdit;
class QWidget;

namespace quor {

class tdialogs;

// The line number typed into the box, when it is a whole number from 1 to count.
std::optional<int> typedline(const QString& typed, int count);

// Asks for a line number (preset with the caret's line) and puts the caret at the start of
// that line. A number outside 1 to the line count is refused with a box and asked for again;
// false when the box was cancelled.
bool gotoline(QPlainTextEdit& edit, tdialogs& dialogs, QWidget* parent, const QString& caption);

}  // namespace quor
