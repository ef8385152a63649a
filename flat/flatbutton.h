#pragma once
// The flat push button: a caption or a picture on a plain face with a one-pixel border; the
// face lightens under the pointer, the border takes the focus colour, and clicks behave as
// on any push button.
#include <QAbstractButton>
#include <QPixmap>

#include "flatstyle.h"

namespace quor {

class tflatbutton : public QAbstractButton {
    Q_OBJECT
public:
    explicit tflatbutton(const QString& caption = QString(), QWidget* parent = nullptr);

    void setcolours(const tflatcolours& c);
    const tflatcolours& colours() const { return colours_; }
    // A picture shown centred in place of the caption (null: the caption).
    void setpicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }
    // True while the pointer is over the button.
    bool hovered() const { return hovered_; }
    // The face colour the button shows now (pressed, hovered or plain).
    QColor currentface() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    tflatcolours colours_;
    QPixmap picture_;
    bool hovered_ = false;
};

}  // namespace quor
