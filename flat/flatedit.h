#pragma once
// The flat one-line edit box: plain editing with a flat border; the border takes the focus
// colour while the box has the focus. keydown reports every key before the box handles it.
#include <QLineEdit>

#include "flatstyle.h"

namespace quor {

class tflatedit : public QLineEdit {
    Q_OBJECT
public:
    explicit tflatedit(QWidget* parent = nullptr);
    void setcolours(const tflatcolours& c);
    const tflatcolours& colours() const { return colours_; }

signals:
    void keydown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    tflatcolours colours_;
};

}  // namespace quor
