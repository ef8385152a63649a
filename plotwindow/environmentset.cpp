#include "environmentset.h"

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "dialogs.h"
#include "numfilter.h"
#include "numtext.h"
#include "plotboard.h"
#include "plotform.h"
#include "plotwindows.h"
#include "session.h"
#include "unittext.h"

namespace quor {

namespace {

QLineEdit* pointfield()
{
    auto* e = new QLineEdit("0");
    installnumfilter(e);
    return e;
}

}  // namespace

TEnvironmentset::TEnvironmentset(tplotwindows& windows, Tcostructform& form)
    : QDialog(&form), windows_(windows), form_(&form)
{
    setWindowTitle("Environment Set");
    setObjectName("TEnvironmentset");
    baseexpr = new QLineEdit;
    basevar = new QLineEdit;
    modifybtn = new QPushButton(QStringLiteral("修改"));
    p1x = pointfield();
    p1y = pointfield();
    p2x = pointfield();
    p2y = pointfield();
    fixx = pointfield();
    fixy = pointfield();
    fill1btn = new QPushButton(QStringLiteral("自动填充函数值"));
    fillfixbtn = new QPushButton(QStringLiteral("自动填充函数值"));
    stretchbox = new QCheckBox(QStringLiteral("拉伸变换"));
    gobtn = new QPushButton(QStringLiteral("去"));
    thumbnail = new QLabel;
    thumbnail->setFixedSize(119, 81);
    thumbnail->setFrameShape(QFrame::Box);
    sensitivity = new QSpinBox;
    sensitivity->setRange(5, 50);
    sensitivity->setValue(10);
    okbtn = new QPushButton("OK");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("基表达式")), 0, 0);
    grid->addWidget(baseexpr, 0, 1, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("基自变量")), 1, 0);
    grid->addWidget(basevar, 1, 1, 1, 2);
    grid->addWidget(modifybtn, 1, 4);
    auto* heading = new QLabel(QStringLiteral("精确定位"));
    grid->addWidget(heading, 2, 0, 1, 5);
    auto row = [grid](int r, const QString& name, QLineEdit* x, QLineEdit* y, QWidget* extra) {
        grid->addWidget(new QLabel(name), r, 0);
        grid->addWidget(new QLabel("X"), r, 1);
        grid->addWidget(x, r, 2);
        grid->addWidget(new QLabel("Y"), r, 3);
        grid->addWidget(y, r, 4);
        if (extra) grid->addWidget(extra, r, 5);
    };
    row(3, QStringLiteral("点一"), p1x, p1y, fill1btn);
    row(4, QStringLiteral("点二"), p2x, p2y, nullptr);
    row(5, QStringLiteral("不动点"), fixx, fixy, fillfixbtn);
    auto* actions = new QHBoxLayout;
    actions->addWidget(stretchbox);
    actions->addWidget(gobtn);
    actions->addStretch();
    actions->addWidget(new QLabel(QStringLiteral("敏感度 ")));
    actions->addWidget(sensitivity);
    grid->addLayout(actions, 6, 0, 1, 6);
    grid->addWidget(thumbnail, 0, 5, 3, 1, Qt::AlignRight);
    auto* box = new QGroupBox("Environment Set");
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    box->setLayout(grid);
    // Only the group's title is bold.
    for (QWidget* child : box->findChildren<QWidget*>()) child->setFont(font());
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okbtn);
    auto* main = new QVBoxLayout(this);
    main->addWidget(box);
    main->addLayout(buttons);

    fixx->setEnabled(false);
    fixy->setEnabled(false);
    fillfixbtn->setEnabled(false);

    connect(stretchbox, &QCheckBox::toggled, this, [this](bool on) {
        stretch = on;
        fixx->setEnabled(on);
        fixy->setEnabled(on);
        fillfixbtn->setEnabled(on);
    });
    connect(sensitivity, &QSpinBox::valueChanged, this, [this](int v) {
        if (tplotboard* b = form_ ? form_->board() : nullptr) b->record().sensitivity = v;
    });
    connect(fill1btn, &QPushButton::clicked, this, [this] { fillvalue(false); });
    connect(fillfixbtn, &QPushButton::clicked, this, [this] { fillvalue(true); });
    connect(gobtn, &QPushButton::clicked, this, [this] { goclick(); });
    connect(modifybtn, &QPushButton::clicked, this, [this] { modifyclick(); });
    connect(okbtn, &QPushButton::clicked, this, [this] { accept(); });
}

void TEnvironmentset::fill()
{
    const tplotboard* b = form_ ? form_->board() : nullptr;
    if (!b) return;
    baseexpr->setText(QString::fromStdString(b->baseexpression()));
    basevar->setText(QString::fromStdString(b->plotvariable()));
    refreshthumbnail();
}

void TEnvironmentset::refreshthumbnail()
{
    if (!form_ || form_->surface().isNull()) return;
    thumbnail->setPixmap(QPixmap::fromImage(
        form_->surface().scaled(thumbnail->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void TEnvironmentset::fillvalue(bool fixed)
{
    QLineEdit* x = fixed ? fixx : p1x;
    QLineEdit* y = fixed ? fixy : p1y;
    if (x->text().isEmpty() || !form_) return;
    QPointer<TEnvironmentset> self(this);
    const auto v = form_->valueat(x->text().toStdString());
    if (self && v) y->setText(QString::fromStdString(numtotext(*v)));
}

void TEnvironmentset::goclick()
{
    if (!form_) return;
    auto read = [](const QLineEdit* x, const QLineEdit* y, tworld& p) {
        return texttonumber(x->text().toStdString(), p.x, false) && texttonumber(y->text().toStdString(), p.y, false);
    };
    // The fixed point's fields count only for a stretch.
    tworld a, b, f;
    if (!read(p1x, p1y, a) || !read(p2x, p2y, b) || (stretch && !read(fixx, fixy, f))) {
        windows_.dialogs().errorbox(this, "Error on get data of point");
        return;
    }
    point1 = a;
    point2 = b;
    if (stretch) fixedpoint = f;
    QPointer<TEnvironmentset> self(this);
    const bool done = form_->applypointmove(a, b, stretch ? std::optional<tworld>(f) : std::nullopt);
    if (self && done) refreshthumbnail();
}

void TEnvironmentset::modifyclick()
{
    if (!form_) return;
    const std::string text = baseexpr->text().toStdString();
    tdialogs& dialogs = windows_.dialogs();
    if (!checkbrackets(text, windows_.session().dialect)) {
        dialogs.message(this, tboxkind::information, QString(), QString::fromStdString("Error on " + text));
        return;
    }
    const bool editor = windows_.flavour() == tplotflavour::editor;
    const QString question = editor ? QStringLiteral("确定修改为这个函数表达式吗？")
                                    : QStringLiteral("Do you want change to this new function ,the preview one will be lost?");
    QPointer<TEnvironmentset> self(this);
    if (dialogs.question(this, tboxkind::information, "Confirm", question, true) != tanswer::yes) return;
    if (!self || !form_) return;
    if (form_->changeexpression(text, basevar->text().toStdString()) && self) refreshthumbnail();
}

}  // namespace quor
