#pragma once
// The drawing area of a plot window: shows the window's surface and, over it, the overlay
// (zoom rectangle, rubber band); hands mouse actions and size changes to its window.
#include <QWidget>

namespace quor {

class Tcostructform;

class tplotarea : public QWidget {
    Q_OBJECT
public:
    explicit tplotarea(Tcostructform& form);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    Tcostructform& form_;
};

}  // namespace quor
