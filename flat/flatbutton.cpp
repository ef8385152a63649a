#include "flatbutton.h"

#include <QPainter>

namespace quor {

tflatbutton::tflatbutton(const QString& caption, QWidget* parent) : QAbstractButton(parent)
{
    setText(caption);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void tflatbutton::setcolours(const tflatcolours& c)
{
    colours_ = c;
    update();
}

void tflatbutton::setpicture(const QPixmap& picture)
{
    picture_ = picture;
    update();
}

QColor tflatbutton::currentface() const
{
    if (isDown()) return colours_.down;
    if (hovered_ && isEnabled()) return colours_.hover;
    return colours_.face;
}

QSize tflatbutton::sizeHint() const
{
    if (!picture_.isNull()) return picture_.size() / picture_.devicePixelRatio() + QSize(6, 6);
    const QSize t = fontMetrics().size(Qt::TextShowMnemonic, text());
    return QSize(t.width() + 16, t.height() + 8);
}

void tflatbutton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(rect(), currentface());
    p.setPen(hasFocus() ? colours_.focus : colours_.border);
    p.drawRect(r);
    if (!picture_.isNull()) {
        const QSize s = picture_.size() / picture_.devicePixelRatio();
        const QSize fit = s.boundedTo(size() - QSize(2, 2));
        QRect target(QPoint(0, 0), s.scaled(fit, Qt::KeepAspectRatio));
        target.moveCenter(rect().center() + (isDown() ? QPoint(1, 1) : QPoint()));
        if (!isEnabled()) p.setOpacity(0.4);
        p.drawPixmap(target, picture_);
        return;
    }
    p.setPen(isEnabled() ? colours_.text : QColor(Qt::gray));
    p.drawText(rect().translated(isDown() ? QPoint(1, 1) : QPoint()), Qt::AlignCenter | Qt::TextShowMnemonic,
               text());
}

void tflatbutton::enterEvent(QEnterEvent* e)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(e);
}

void tflatbutton::leaveEvent(QEvent* e)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(e);
}

}  // namespace quor
