#include "flatstyle.h"

namespace quor {

QString flatsheet(const QString& cls, const tflatcolours& c)
{
    return QString("%1 { background: %2; color: %3; border: 1px solid %4; selection-background-color: %5; }"
                   " %1:hover { border-color: %6; }"
                   " %1:focus { border-color: %5; }")
        .arg(cls, c.face.name(), c.text.name(), c.border.name(), c.focus.name(), c.hover.darker(140).name());
}

}  // namespace quor
