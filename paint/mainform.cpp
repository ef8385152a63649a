#include "mainform.h"

#include <filesystem>

#include <QBitmap>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "aboutbox.h"
#include "boards.h"
#include "datadirs.h"
#include "dialogs.h"
#include "fault.h"
#include "flatbutton.h"
#include "flatedit.h"
#include "flatlist.h"
#include "flatmemo.h"
#include "manageform.h"
#include "numtext.h"
#include "ownedwindow.h"
#include "pictures.h"
#include "profile.h"
#include "resultform.h"
#include "sampling.h"
#include "scanner.h"
#include "settings.h"
#include "unitmanage.h"
#include "units.h"
#include "unittext.h"
#include "widgetmemo.h"

namespace quor {

namespace {

constexpr int formwidth = 415;
constexpr int formheight = 71;

QColor red() { return QColor(0xFF, 0x00, 0x00); }

bool isfile(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

// A rounded-rectangle region as the platform's round-rect regions are: right and bottom
// edges excluded, corners cut by an ellipse of ew by eh.
QBitmap roundregion(QSize size, QRect r, int ew, int eh)
{
    QBitmap mask(size);
    mask.fill(Qt::color0);
    QPainter p(&mask);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::color1);
    p.drawRoundedRect(r, ew / 2.0, eh / 2.0);
    return mask;
}

}  // namespace

Tmainform::Tmainform(tdialogs& dialogs, tpaintoptions options, const tboardsfactory& makeboards)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      runmodal([](QDialog& d) { return d.exec(); }),
      dialogs_(dialogs),
      options_(std::move(options)),
      host_(dialogs, painttitle),
      session_(host_, tdialect::plotter)
{
    setWindowTitle(painttitle);
    setWindowIcon(programicon());
    setFixedSize(formwidth, formheight);
    if (const QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
    host_.setowner(this);
    boards_ = makeboards(session_, dialogs_, vars_);
    host_.setwindows(boards_.get());

    tflatcolours red_on_face;
    red_on_face.text = red();
    QFont bold = font();
    bold.setBold(true);
    addbutton("mini_btn", "-", {4, 8, 17, 17}, "最小化");
    addbutton("top_btn", "T", {20, 8, 17, 17}, "窗口悬浮");
    addbutton("exit_btn", "", {36, 8, 17, 17}, "退出")->setpicture(toolpicture(ttoolpicture::exit));
    addbutton("run_btn", "", {16, 40, 18, 19}, "画图")->setpicture(toolpicture(ttoolpicture::run));
    addbutton("res_btn", "", {40, 40, 23, 22}, "结果显示")->setpicture(toolpicture(ttoolpicture::result));
    addbutton("show_btn", "", {64, 40, 23, 22}, "画板管理")->setpicture(toolpicture(ttoolpicture::boards));
    addbutton("load_btn", "", {88, 40, 23, 22}, "单元管理")->setpicture(toolpicture(ttoolpicture::units));
    addbutton("chg_btn", "", {112, 40, 23, 22}, "修改自变量")->setpicture(toolpicture(ttoolpicture::variable));
    addbutton("back_btn", "", {136, 40, 23, 22}, "修改背景")->setpicture(toolpicture(ttoolpicture::background));
    addbutton("about_btn", "A", {160, 40, 23, 22}, "");
    addbutton("main_btn", "M", {384, 40, 23, 22}, "主菜单");
    for (tflatbutton* b : buttons_) {
        b->setFont(bold);
        b->setcolours(red_on_face);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(button("mini_btn"), &QAbstractButton::clicked, this, &Tmainform::mini_btnClick);
    connect(button("top_btn"), &QAbstractButton::clicked, this, &Tmainform::top_btnClick);
    connect(button("exit_btn"), &QAbstractButton::clicked, this, &QWidget::close);
    connect(button("run_btn"), &QAbstractButton::clicked, this, &Tmainform::run_btnClick);
    connect(button("res_btn"), &QAbstractButton::clicked, this, &Tmainform::res_btnClick);
    connect(button("show_btn"), &QAbstractButton::clicked, this, &Tmainform::show_btnClick);
    connect(button("load_btn"), &QAbstractButton::clicked, this, &Tmainform::load_btnClick);
    connect(button("chg_btn"), &QAbstractButton::clicked, this, &Tmainform::chg_btnClick);
    connect(button("back_btn"), &QAbstractButton::clicked, this, &Tmainform::back_btnClick);
    connect(button("about_btn"), &QAbstractButton::clicked, this, &Tmainform::about_btnClick);
    connect(button("main_btn"), &QAbstractButton::clicked, this, &Tmainform::main_btnClick);

    QFont italic = bold;
    italic.setItalic(true);
    auto* y = new QLabel("Y=", this);
    y->setFont(italic);
    y->setStyleSheet("color: #ff0000; background: transparent;");
    y->move(52, 10);
    y->adjustSize();
    y->setAttribute(Qt::WA_TransparentForMouseEvents);

    edit_ = new tflatedit(this);
    tflatcolours navy;
    navy.face = QColor(0x00, 0x00, 0x80);
    navy.text = QColor(0xFF, 0xFF, 0x00);
    navy.border = navy.face;
    navy.focus = QColor(0x40, 0x60, 0xFF);
    edit_->setcolours(navy);
    edit_->setFont(bold);
    edit_->setGeometry(86, 8, 321, 26);
    edit_->setToolTip("输入函数表达式");
    connect(edit_, &tflatedit::keydown, this, [this](int key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) run_btnClick();
    });

    QFont simsun("SimSun");
    simsun.setBold(true);
    simsun.setItalic(true);
    info_ = new QLabel(this);
    info_->setFont(simsun);
    info_->setStyleSheet("color: #ff0000; background: transparent;");
    info_->setGeometry(240, 48, 140, 16);
    info_->setAttribute(Qt::WA_TransparentForMouseEvents);

    menu_ = new QMenu(this);
    menu_->addAction("关于", this, &Tmainform::about_btnClick);
    menu_->addAction("运行", this, &Tmainform::run_btnClick);
    menu_->addAction("结果窗口", this, &Tmainform::res_btnClick);
    menu_->addAction("画板管理", this, &Tmainform::show_btnClick);
    menu_->addAction("单元管理", this, &Tmainform::load_btnClick);
    menu_->addAction("修改自变量", this, &Tmainform::chg_btnClick);
    menu_->addAction("修改背景", this, &Tmainform::back_btnClick);
    menu_->addAction("退出", this, &QWidget::close);

    FormCreate();

    // The other windows follow the main window, the result window first: it takes its
    // place and visibility from the main window.
    resultform_ = std::make_unique<Tresultform>(*this, dialogs_);
    // Plot windows belong to the result window and stay in front of this one, where they
    // are drawn from.
    memo_ = std::make_unique<twidgetmemo>(resultform_->resultmemo(), resultform_.get(), this);
    manage_ = std::make_unique<Tmanage_form>(*boards_, this);
    unitmanage_ = std::make_unique<Tunit_manage>(funcs_, dialogs_, this);
    about_ = std::make_unique<TAboutBox>(this);
    showinfo();
}

Tmainform::~Tmainform()
{
    // Plot windows refer to the lists and the memo: they go first. Their objects belong to
    // the result window and may still wait for deletion: they go with it, while the plot
    // windows' host they report to still lives.
    if (boards_) boards_->destroyall();
    about_.reset();
    unitmanage_.reset();
    manage_.reset();
    resultform_.reset();
    memo_.reset();
    host_.setwindows(nullptr);
    boards_.reset();
}

tflatbutton* Tmainform::addbutton(const char* name, const QString& caption, QRect at, const QString& hint)
{
    auto* b = new tflatbutton(caption, this);
    b->setObjectName(name);
    b->setGeometry(at);
    if (!hint.isEmpty()) b->setToolTip(hint);
    b->installEventFilter(this);
    buttons_.push_back(b);
    return b;
}

tflatbutton* Tmainform::button(const QString& name) const
{
    for (tflatbutton* b : buttons_)
        if (b->objectName() == name) return b;
    return nullptr;
}

tmemo* Tmainform::memo() const { return memo_.get(); }

void Tmainform::FormCreate()
{
    setregions();
    try {
        loadnametables(funcs_, options_.datadirs, tdialect::plotter, options_.readtable);
    } catch (const std::exception& e) {
        // Nothing more is read; the closing step then leaves vivevazed.ini as it is.
        dialogs_.errorbox(this, QString::fromStdString(e.what()));
        return;
    }
    // Built-ins a short table leaves unnamed are said once, in the error box.
    const std::string warning = nametablewarning(funcs_);
    if (!warning.empty()) dialogs_.errorbox(this, QString::fromStdString(warning));
    const tprofile profile(options_.inipath);
    const tpaintsettings s = readpaintsettings(profile);
    settingsread_ = true;
    varname_ = s.varname;
    setontop(s.ontop);
    showresult_ = s.showresult;
    const std::string picture = finddatafile(s.backimage, options_.datadirs);
    if (!picture.empty()) {
        backfile_ = s.backimage;
        loadbackground(picture);
    }
    for (std::size_t i = 0; i < s.units.size(); ++i) {
        const std::string& unit = s.units[i];
        if (!isfile(unit)) continue;
        try {
            if (options_.loadunit) options_.loadunit(unit, funcs_);
            else loadunit(unit, funcs_, tdialect::plotter);
        } catch (const std::exception& e) {
            dialogs_.errorbox(this, QString::fromStdString(e.what()));
            // The entries not loaded stay listed, so the closing step keeps them.
            unitfiles_.insert(unitfiles_.end(), s.units.begin() + static_cast<long>(i), s.units.end());
            return;
        }
        unitfiles_.push_back(unit);
    }
}

void Tmainform::FormClose()
{
    if (closed_) return;
    closed_ = true;
    if (settingsread_) {
        tprofile profile(options_.inipath);
        tpaintsettings s;
        s.ontop = ontop();
        s.showresult = showresult_;
        s.varname = varname_;
        s.backimage = backfile_;
        s.units = unitfiles_;
        writepaintsettings(profile, s);
        if (!profile.save())
            dialogs_.errorbox(this, QString::fromStdString("Cannot write the settings file " + options_.inipath));
    }
    boards_->destroyall();
    for (QWidget* w : std::initializer_list<QWidget*>{resultform_.get(), manage_.get(), unitmanage_.get(), about_.get()})
        if (w) w->hide();
}

void Tmainform::setregions()
{
    setMask(roundregion(size(), QRect(5, 3, width() - 5, height() - 6), 20, 20));
    if (edit_) edit_->setMask(roundregion(edit_->size(), edit_->rect(), 5, 5));
}

void Tmainform::showinfo() { info_->setText(QString::fromStdString("自变量: " + varname_)); }

bool Tmainform::loadbackground(const std::string& path)
{
    QImage img(QString::fromStdString(path));
    if (img.isNull()) return false;
    background_ = img;
    update();
    return true;
}

bool Tmainform::ontop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void Tmainform::setontop(bool on)
{
    if (on == ontop()) return;
    const bool shown = isVisible();
    // The native window, which a change of the flag may make anew (QWidget::winId keeps
    // the old number).
    const auto native = [this] { return windowHandle() ? windowHandle()->winId() : WId(0); };
    const WId before = shown ? native() : 0;
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (!shown) return;
    show();
    // A new native window: the result and plot windows are linked to it again.
    if (native() != before) relinkowned(this);
}

void Tmainform::run_btnClick()
{
    const std::string e = edit_->text().toStdString();
    if (!checkbrackets(e, tdialect::plotter)) {
        dialogs_.message(this, tboxkind::information, painttitle, "非法表达式，出现了不匹配的符号");
        memoline(memo(), "非法表达式.");
        return;
    }
    // The pre-test: ten samples 0.1 .. 1; a failure or ten equal values are suspicious.
    bool suspicious = false;
    std::vector<double> values;
    try {
        for (double v = 0.1; v <= 1.0; v += 0.1)
            values.push_back(evalat(e, varname_, numtotext(v), vars_, funcs_, memo(), session_));
    } catch (const std::exception&) {
        suspicious = true;
    } catch (const tstopped&) {
        suspicious = true;
    }
    if (!suspicious) {
        suspicious = true;
        for (double v : values)
            if (v != values.front()) suspicious = false;
    }
    if (suspicious && dialogs_.question(this, tboxkind::information, painttitle, pretestquestion, false) != tanswer::yes)
        return;

    std::string rest = e + "," + varname_ + ",y";
    try {
        const std::string expr = splitarg(rest, tdialect::plotter);
        const std::string var = splitarg(rest, tdialect::plotter);
        const std::int32_t handle = boards_->createplotwindow(expr, var, vars_, &funcs_, memo());
        vars_.setvar(rest, handle, &funcs_, memo(), session_);
        if (handle != 0) boards_->showplotwindow(handle);
    } catch (const std::exception& x) {
        dialogs_.errorbox(this, QString::fromStdString(x.what()));
    } catch (const tstopped&) {
    }
}

void Tmainform::res_btnClick()
{
    resultform_->setVisible(!resultform_->isVisible());
    showresult_ = resultform_->isVisible();
}

void Tmainform::show_btnClick() { runmodal(*manage_); }

void Tmainform::load_btnClick()
{
    QStringList lines;
    for (const std::string& u : unitfiles_) lines << QString::fromStdString(u);
    unitmanage_->unitlist()->setlines(lines);
    runmodal(*unitmanage_);
    unitfiles_.clear();
    for (const QString& l : unitmanage_->unitlist()->lines()) unitfiles_.push_back(l.toStdString());
}

void Tmainform::chg_btnClick()
{
    const QString now = QString::fromStdString(varname_);
    varname_ = dialogs_.input(this, "Input variable", "", now).value_or(now).toStdString();
    showinfo();
}

void Tmainform::back_btnClick()
{
    const auto path = dialogs_.openfile(this, QString(), QString(), "BMP FILE|*.bmp");
    if (!path) return;
    if (!loadbackground(path->toStdString())) {
        dialogs_.errorbox(this, "Bitmap image is not valid");
        return;
    }
    backfile_ = path->toStdString();
}

void Tmainform::top_btnClick() { setontop(!ontop()); }

void Tmainform::about_btnClick() { runmodal(*about_); }

void Tmainform::main_btnClick() { menu_->popup(QCursor::pos()); }

void Tmainform::mini_btnClick() { showMinimized(); }

bool Tmainform::isinrange(QPoint p) const
{
    for (const tflatbutton* b : buttons_) {
        const QRect r = b->geometry();
        if (p.x() > r.left() && p.x() < r.left() + r.width() && p.y() > r.top() && p.y() < r.top() + r.height())
            return true;
    }
    return false;
}

void Tmainform::startmove()
{
    ++moves_;
    if (QWindow* w = windowHandle()) w->startSystemMove();
}

void Tmainform::showEvent(QShowEvent* e)
{
    showinfo();
    setregions();
    QWidget::showEvent(e);
}

void Tmainform::closeEvent(QCloseEvent* e)
{
    FormClose();
    e->accept();
    emit closed();
}

void Tmainform::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && !isinrange(e->position().toPoint())) {
        startmove();
        e->accept();
        return;
    }
    QWidget::mousePressEvent(e);
}

bool Tmainform::eventFilter(QObject* o, QEvent* e)
{
    // A press on a button's very edge counts as a press on the background, as the hit
    // test has it: it moves the window.
    if (e->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(e);
        auto* w = qobject_cast<QWidget*>(o);
        if (w && me->button() == Qt::LeftButton && !isinrange(w->mapToParent(me->position().toPoint()))) {
            startmove();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

void Tmainform::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (background_.isNull()) p.fillRect(rect(), palette().color(QPalette::Window));
    else p.drawImage(rect(), background_);
}

}  // namespace quor
