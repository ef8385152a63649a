#include "gotoline.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include "dialogs.h"

namespace quor {

std::optional<int> typedline(const QString& typed, int count)
{
    bool ok = false;
    const int n = typed.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > count) return std::nullopt;
    return n;
}

bool gotoline(QPlainTextEdit& edit, tdialogs& dialogs, QWidget* parent, const QString& caption)
{
    QTextDocument& doc = *edit.document();
    const int count = doc.blockCount();
    QString typed = QString::number(edit.textCursor().blockNumber() + 1);
    for (;;) {
        const auto answer =
            dialogs.input(parent, "转到行", QString("行号（1 - %1）：").arg(count), typed);
        if (!answer) return false;
        if (const auto line = typedline(*answer, count)) {
            edit.setTextCursor(QTextCursor(doc.findBlockByNumber(*line - 1)));
            edit.centerCursor();
            edit.setFocus();
            return true;
        }
        dialogs.message(parent, tboxkind::information, caption,
                        QString("行号超出范围：请输入 1 到 %1 之间的数。").arg(count));
        typed = *answer;
    }
}

}  // namespace quor
