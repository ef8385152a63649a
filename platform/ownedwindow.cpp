#include "ownedwindow.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace quor {

namespace {

// Watches the owned window: each showing makes the owner's native window its transient
// parent before the window is mapped, which is when the window manager reads it.
class townerlink : public QObject {
public:
    townerlink(QWidget* window, QWidget* owner) : QObject(window), owner_(owner) { window->installEventFilter(this); }
    QWidget* owner() const { return owner_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == parent()) link(static_cast<QWidget*>(watched));
        return false;
    }

private:
    void link(QWidget* window)
    {
        QWidget* top = owner_ ? owner_->window() : nullptr;
        QWindow* handle = window->windowHandle();
        if (!handle || !top || top == window) return;
        top->winId();   // an owner not shown yet gets its native window now
        handle->setTransientParent(top->windowHandle());
    }

    QPointer<QWidget> owner_;
};

townerlink* linkof(const QWidget* window)
{
    if (!window) return nullptr;
    for (QObject* child : window->children())
        if (auto* link = dynamic_cast<townerlink*>(child)) return link;
    return nullptr;
}

}  // namespace

Qt::WindowFlags ownedwindowflags()
{
    return Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
           Qt::WindowCloseButtonHint;
}

void setownedby(QWidget* window, QWidget* owner)
{
    if (!window) return;
    delete linkof(window);
    if (owner) new townerlink(window, owner);
}

QWidget* ownerof(const QWidget* window)
{
    const townerlink* link = linkof(window);
    return link ? link->owner() : nullptr;
}

void relinkowned(QWidget* owner)
{
    if (!owner) return;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || ownerof(w) != owner) continue;
        const QRect place = w->geometry();
        w->hide();
        w->setGeometry(place);
        w->show();
    }
}

void bringtofront(QWidget* window)
{
    if (!window) return;
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace quor
