#pragma once
// Owned windows, as Windows has them: a window that always stays in front of the window
// that owns it. To an X11 window manager it is a transient window of its owner.
#include <Qt>

class QWidget;

namespace quor {

// The flags of an owned top-level window: the transient (dialog) kind of frame with a
// title, system menu, minimise, maximise and close buttons.
Qt::WindowFlags ownedwindowflags();

// Keeps window (made with ownedwindowflags) in front of owner's top-level window from its
// next showing on; the link is made again at every showing, since an owner's native
// window may be made anew (a change of its stay-on-top flag). A null owner, or one that
// goes away, leaves window on its own.
void setownedby(QWidget* window, QWidget* owner);

// The window owner was given, or null.
QWidget* ownerof(const QWidget* window);

// Shows the visible windows owned by owner once more, so that they stay in front of the
// owner's native window after that was made anew (a window manager reads the link only
// when a window is shown).
void relinkowned(QWidget* owner);

// Shows window, raises it above its siblings and gives it the focus: a new window comes
// to the front.
void bringtofront(QWidget* window);

}  // namespace quor
