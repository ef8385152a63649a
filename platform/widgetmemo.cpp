#include "widgetmemo.h"

#include <QPlainTextEdit>

namespace quor {

twidgetmemo::twidgetmemo(QPlainTextEdit* edit, QWidget* owner, QWidget* front)
    : edit_(edit), owner_(owner), front_(front)
{
}

void twidgetmemo::append(const std::string& line)
{
    // A memo whose box is gone takes lines silently: the run that writes them goes on.
    if (edit_) edit_->appendPlainText(QString::fromStdString(line));
}

}  // namespace quor
