#pragma once
// The plotter's about box.
#include <QDialog>

namespace quor {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    // Centred on the screen, not over the main window.
    void showEvent(QShowEvent* e) override;
};

}  // namespace quor
