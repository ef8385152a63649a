#pragma once
// The flat look of the plotter's controls: a one-pixel border, a face, and colours for the
// pointer hovering over a control and for the control holding the keyboard focus.
#include <QColor>
#include <QString>

namespace quor {

struct tflatcolours {
    QColor face{0xEF, 0xEF, 0xEF};
    QColor text{Qt::black};
    QColor border{0x80, 0x80, 0x80};
    QColor hover{0xFF, 0xF4, 0xC8};   // face under the pointer
    QColor focus{0x1E, 0x5A, 0xC8};   // border while focused
    QColor down{0xD8, 0xD8, 0xD8};    // face while pressed
};

// The style sheet of a flat text control (edit, memo, list) of class cls with colours c.
QString flatsheet(const QString& cls, const tflatcolours& c);

}  // namespace quor
