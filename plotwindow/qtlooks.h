#pragma once
// Colours and fonts of the plot record as the Qt dialogs take and give them.
#include <QColor>
#include <QFont>
#include <QString>

#include "drawtools.h"

namespace quor {

inline QColor qcolour(tcolour c) { return QColor(redof(c), greenof(c), blueof(c)); }
inline tcolour fromqcolour(const QColor& c) { return makecolour(c.red(), c.green(), c.blue()); }

// The font dialog's preset for f (points, not pixels).
inline QFont dialogfont(const tfont& f)
{
    QFont q(QString::fromStdString(f.family), f.size > 0 ? f.size : 8);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikeout);
    return q;
}

// The record's font for a dialog's choice; the colour is kept from the old font.
inline tfont fromdialogfont(const QFont& q, tcolour colour)
{
    tfont f;
    f.family = q.family().toStdString();
    f.size = q.pointSize() > 0 ? q.pointSize() : 8;
    f.bold = q.bold();
    f.italic = q.italic();
    f.underline = q.underline();
    f.strikeout = q.strikeOut();
    f.colour = colour;
    return f;
}

}  // namespace quor
