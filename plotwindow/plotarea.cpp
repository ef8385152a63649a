#include "plotarea.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>

#include "plotboard.h"
#include "plotform.h"

namespace quor {

tplotarea::tplotarea(Tcostructform& form) : QWidget(&form), form_(form)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

QSize tplotarea::sizeHint() const { return QSize(defaultouterwidth - 8, defaultouterheight - 45); }

void tplotarea::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.drawImage(0, 0, form_.surface());
    // The overlay: the zoom rectangle of the last drag, and the rubber band of this one.
    p.setBrush(Qt::NoBrush);
    if (const auto r = form_.overlayrect()) {
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(*r);
    }
    if (const auto r = form_.rubberband()) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawRect(*r);
    }
}

void tplotarea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    form_.arearesized(event->size());
}

void tplotarea::mousePressEvent(QMouseEvent* event)
{
    form_.areapress(event->position().toPoint(), event->button(), event->modifiers());
}

void tplotarea::mouseMoveEvent(QMouseEvent* event) { form_.areamove(event->position().toPoint(), event->buttons()); }

void tplotarea::mouseReleaseEvent(QMouseEvent* event)
{
    form_.arearelease(event->position().toPoint(), event->button(), event->modifiers());
}

void tplotarea::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) form_.areadoubleclick();
}

void tplotarea::wheelEvent(QWheelEvent* event)
{
    form_.areawheel(event->position().toPoint(), event->angleDelta().y());
    event->accept();
}

void tplotarea::contextMenuEvent(QContextMenuEvent* event)
{
    QPointer<Tcostructform> form(&form_);
    QMenu* menu = form_.preparepopup();
    menu->exec(event->globalPos());
}

}  // namespace quor
