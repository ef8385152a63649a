#include "aboutbox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "dialogs.h"
#include "hotleg.h"
#include "runfuncdialog.h"
#include "toolpictures.h"

namespace quor {

namespace {

// A label that reports clicks.
class tclicklabel : public QLabel {
public:
    tclicklabel(const QString& text, QWidget* parent, std::function<void()> clicked)
        : QLabel(text, parent), clicked_(std::move(clicked))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton) clicked_();
    }

private:
    std::function<void()> clicked_;
};

QLabel* yellow(QLabel* label, int points, bool bolditalic)
{
    QFont f = label->font();
    f.setPointSize(points);
    f.setBold(bolditalic);
    f.setItalic(bolditalic);
    label->setFont(f);
    label->setStyleSheet("color: #ffff00; background: transparent;");
    return label;
}

}  // namespace

TAboutBox::TAboutBox(tdialogs& dialogs, const QString& background, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs)
{
    setWindowTitle("About Quor");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(494, 301);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // A missing or unreadable picture leaves the background empty, without a message.
    if (!background.isEmpty()) background_.load(background);

    auto* icon = new QLabel(this);
    icon->setPixmap(programpicture(48));
    icon->setGeometry(20, 20, 48, 48);
    yellow(new QLabel("Quor Editor", this), 16, false)->setGeometry(84, 18, 240, 28);
    yellow(new QLabel("Version 0.5.0.0", this), 11, false)->setGeometry(84, 48, 240, 22);
    yellow(new QLabel("A small language for calculations and plots", this), 10, false)->setGeometry(84, 72, 300, 22);
    auto* picture = new tclicklabel(QString(), this, [this] { Image1Click(); });
    picture->setPixmap(wavepicture(96, 72));
    picture->setGeometry(378, 20, 96, 72);
    picture->setToolTip(webaddress);
    const QString mail = contactaddress;
    for (const auto& [text, y] : {std::pair{QString("如果有什么建议"), 196}, {"请给我发e-mail: " + mail, 222}}) {
        auto* line = new tclicklabel(text, this, [this] { Label2Click(); });
        yellow(line, 11, true)->setGeometry(40, y, 420, 24);
        line->setToolTip(mail);
    }
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    ok->setGeometry(207, 258, 80, 28);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(20, 40, 90));
    if (!background_.isNull()) p.drawImage(rect().adjusted(3, 3, -3, -3), background_);
    // The bevelled panel's frame.
    p.setPen(QColor(120, 150, 210));
    p.drawRect(rect().adjusted(2, 2, -3, -3));
    p.setPen(QColor(5, 10, 30));
    p.drawRect(rect().adjusted(3, 3, -2, -2));
}

void TAboutBox::open(const QString& address)
{
    if (!dialogs_.openaddress(address))
        dialogs_.message(this, tboxkind::information, editortitle, "无法打开 " + address);
}

void TAboutBox::Label2Click() { open(QString("mailto:") + contactaddress); }

void TAboutBox::Image1Click() { open(webaddress); }

}  // namespace quor
