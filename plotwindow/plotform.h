#pragma once
// The plot window: one drawing board with its menus, popup menu and mouse actions. The
// board (sampling, drawing, zoom, moves) lives in the plot windows' registry; the window
// shows its surface, an overlay for the zoom rectangle, and asks through the dialogs.
#include <cstdint>
#include <optional>
#include <string>

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QRect>

#include "environmentset.h"
#include "moves.h"
#include "setform.h"

class QAction;
class QMenu;

namespace quor {

class tplotboard;
class tplotwindows;
class tplotarea;

class Tcostructform : public QMainWindow {
    Q_OBJECT
public:
    // A hidden window for the board of handle; owner (may be null) destroys it with itself.
    Tcostructform(tplotwindows& windows, std::int32_t handle, QWidget* owner);
    ~Tcostructform() override;

    std::int32_t handle() const { return handle_; }
    // The board, or null once the window is being destroyed.
    tplotboard* board() const;
    tplotarea* area() const { return area_; }
    // The drawn surface the area shows (drawing area size).
    const QImage& surface() const { return surface_; }

    // Gives the window its first size and shows it; false when the first sampling failed
    // (the failure box was shown and the window is going).
    bool firstshow();
    // Redraws the board on the surface and shows it; a failure shows the paint failure
    // box and destroys the window. False then.
    bool rozez();

    // Menu commands, as the menus and the popup menu run them.
    void loaddescription();
    void savedescription();
    void savebitmap();
    void quitboard();
    void zoomin(bool frompopup);
    void restoreimage();
    void restoreexpression();
    void copyimage();
    void addtext();
    void deletetext();
    void textfont();
    void properties();
    void environment();
    void about();

    // Enables the popup menu's items by the board's state and returns the menu.
    QMenu* preparepopup();
    QMenu* popup() const { return popup_; }
    // The main menu's action of a caption, for the board manager and tests.
    QAction* menuaction(const QString& caption) const;

    // The zoom rectangle shown on the overlay, if any.
    std::optional<QRect> overlayrect() const { return overlay_; }
    // The rubber band of a drag under way, if any.
    std::optional<QRect> rubberband() const { return rubber_; }

    // Mouse actions of the drawing area (area coordinates).
    void areapress(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers keys);
    void areamove(QPoint p, Qt::MouseButtons buttons);
    void arearelease(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers keys);
    void areadoubleclick();
    void areawheel(QPoint p, int angle);
    // The area changed size: the board resamples; failure destroys the window.
    void arearesized(QSize size);

    // The environment dialog's actions on the board: a typed move or stretch, a new base
    // expression, a value of the current expression. Failures go to the general error box
    // (false / nullopt); a failed resampling destroys the window as a resize would.
    bool applypointmove(tworld p1, tworld p2, std::optional<tworld> fixed);
    bool changeexpression(const std::string& expression, const std::string& variable);
    std::optional<double> valueat(const std::string& x);

    Tsetform* setform() const { return setform_; }
    TEnvironmentset* environmentset() const { return environment_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildmenus();
    // Shows the paint failure box and destroys the window.
    void paintfailure();
    // Runs f on the board as a guarded action; raised failures go to the general error
    // box. False when the window went away meanwhile or the board is in use.
    template <class F>
    bool guarded(F f);
    void reportfault(const std::string& text);

    tplotwindows& windows_;
    std::int32_t handle_;
    tplotarea* area_;
    QMenu* popup_;
    QImage surface_;
    std::optional<QRect> overlay_;
    std::optional<QRect> rubber_;
    bool dragging_ = false;       // a left (or middle) button drag is under way
    bool middlestretch_ = false;  // the middle button started a stretch
    QPointer<Tsetform> setform_;
    QPointer<TEnvironmentset> environment_;
};

}  // namespace quor
