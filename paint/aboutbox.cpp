#include "aboutbox.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "pictures.h"

namespace quor {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("About");
    setFixedSize(298, 213);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 282, 161);

    auto* icon = new QLabel(panel);
    icon->setPixmap(QPixmap::fromImage(iconpicture(40)));
    icon->setGeometry(12, 12, 40, 40);

    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(11);
    auto* name = new QLabel("Rozez of Quor", panel);
    name->setFont(bold);
    name->setGeometry(64, 12, 200, 20);
    auto* version = new QLabel("Version:0.5.0.0", panel);
    version->setGeometry(64, 34, 200, 18);
    auto* third = new QLabel("A compact function plotter", panel);
    third->setGeometry(64, 54, 200, 18);

    auto* picture = new QLabel(panel);
    picture->setPixmap(QPixmap::fromImage(facepicture(258, 40)));
    picture->setGeometry(12, 80, 258, 40);

    auto* language = new QLabel("（简体中文）", panel);
    language->setGeometry(12, 128, 258, 22);
    language->setAlignment(Qt::AlignCenter);

    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    ok->setGeometry(112, 178, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* e)
{
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(e);
}

}  // namespace quor
