#pragma once
// The plotter's about box.
#include <QDialog>

namespace quor {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace quor
