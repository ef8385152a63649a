#include "dialogs.h"

#include <QStringList>

namespace quor {

QString qtfilter(const QString& windowsfilter)
{
    const QStringList parts = windowsfilter.split('|');
    QStringList out;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        // A name without its patterns (the filter's last item) stands for every file.
        const QString given = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (name.isEmpty() && given.isEmpty()) continue;
        QStringList patterns;
        for (const QString& p : given.split(';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            if (t.isEmpty()) continue;
            patterns << (t == "*.*" ? QStringLiteral("*") : t);
        }
        if (patterns.isEmpty()) patterns << "*";
        out << (name.isEmpty() ? patterns.join(' ') : name) + " (" + patterns.join(' ') + ")";
    }
    return out.join(";;");
}

}  // namespace quor
