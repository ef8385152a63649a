#include "plotform.h"

#include <algorithm>
#include <cmath>

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

#include "dialogs.h"
#include "environmentset.h"
#include "fault.h"
#include "ownedwindow.h"
#include "plotarea.h"
#include "plotboard.h"
#include "plotwindows.h"
#include "qtlooks.h"
#include "setform.h"

namespace quor {

namespace {

// The exit question of each program.
QString quitquestion(tplotflavour f)
{
    return f == tplotflavour::editor ? QStringLiteral("该操作将该画板彻底删除，是否继续？")
                                     : QStringLiteral("这项操作将该画板彻底删除，是否继续？");
}

// The rectangle with corners a and b, whichever way round they are.
QRect spanned(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())), QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QString boxcaption() { return QGuiApplication::applicationDisplayName(); }

}  // namespace

Tcostructform::Tcostructform(tplotwindows& windows, std::int32_t handle, QWidget* owner)
    : QMainWindow(owner, ownedwindowflags()), windows_(windows), handle_(handle)
{
    setObjectName("Tcostructform");
    area_ = new tplotarea(*this);
    setCentralWidget(area_);
    popup_ = new QMenu(this);
    buildmenus();
    QPalette pal = palette();
    pal.setColor(QPalette::Window, qcolour(silver));
    setPalette(pal);
}

Tcostructform::~Tcostructform()
{
    // Dialogs may be running a command on the stack: they go once control is back in
    // the event loop.
    for (QDialog* d : {static_cast<QDialog*>(setform_.data()), static_cast<QDialog*>(environment_.data())}) {
        if (!d) continue;
        d->setParent(nullptr);
        d->deleteLater();
    }
    windows_.windowgone(handle_);
}

tplotboard* Tcostructform::board() const { return windows_.board(handle_); }

void Tcostructform::buildmenus()
{
    auto add = [this](QMenu* menu, const QString& caption, void (Tcostructform::*command)()) {
        QAction* a = menu->addAction(caption);
        connect(a, &QAction::triggered, this, [this, command] { (this->*command)(); });
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件"));
    QMenu* description = file->addMenu(QStringLiteral("函数描述"));
    add(description, QStringLiteral("载入"), &Tcostructform::loaddescription);
    add(description, QStringLiteral("保存"), &Tcostructform::savedescription);
    file->addSeparator();
    add(file, QStringLiteral("保存为位图"), &Tcostructform::savebitmap);
    add(file, QStringLiteral("退出"), &Tcostructform::quitboard);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑与察看"));
    connect(edit->addAction(QStringLiteral("放大")), &QAction::triggered, this, [this] { zoomin(false); });
    add(edit, QStringLiteral("图象还原"), &Tcostructform::restoreimage);
    edit->addSeparator();
    add(edit, QStringLiteral("表达式还原"), &Tcostructform::restoreexpression);
    edit->addSeparator();
    add(edit, QStringLiteral("复制图像"), &Tcostructform::copyimage);
    edit->addSeparator();
    add(edit, QStringLiteral("加注文本"), &Tcostructform::addtext);
    add(edit, QStringLiteral("删除文本"), &Tcostructform::deletetext);
    add(edit, QStringLiteral("文本字体"), &Tcostructform::textfont);

    QMenu* props = menuBar()->addMenu(QStringLiteral("属性"));
    add(props, QStringLiteral("绘图属性"), &Tcostructform::properties);
    add(props, QStringLiteral("环境设置"), &Tcostructform::environment);

    QMenu* aboutmenu = menuBar()->addMenu(QStringLiteral("关于"));
    add(aboutmenu, QStringLiteral("关于"), &Tcostructform::about);

    connect(popup_->addAction(QStringLiteral("放大")), &QAction::triggered, this, [this] { zoomin(true); });
    add(popup_, QStringLiteral("图像还原"), &Tcostructform::restoreimage);
    popup_->addSeparator();
    add(popup_, QStringLiteral("表达式还原"), &Tcostructform::restoreexpression);
    popup_->addSeparator();
    add(popup_, QStringLiteral("图像复制"), &Tcostructform::copyimage);
    popup_->addSeparator();
    add(popup_, QStringLiteral("加注文本"), &Tcostructform::addtext);
    add(popup_, QStringLiteral("删除文本"), &Tcostructform::deletetext);
    add(popup_, QStringLiteral("文本字体"), &Tcostructform::textfont);
}

QAction* Tcostructform::menuaction(const QString& caption) const
{
    for (QAction* top : menuBar()->actions()) {
        if (!top->menu()) continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->text() == caption) return a;
            if (a->menu())
                for (QAction* sub : a->menu()->actions())
                    if (sub->text() == caption) return sub;
        }
    }
    return nullptr;
}

QMenu* Tcostructform::preparepopup()
{
    const tplotboard* b = board();
    for (QAction* a : popup_->actions()) {
        if (a->text() == QStringLiteral("图像还原")) a->setEnabled(b && b->canrestoreimage());
        if (a->text() == QStringLiteral("删除文本")) a->setEnabled(b && b->candeletelabels());
        if (a->text() == QStringLiteral("表达式还原")) a->setEnabled(b && b->canrestoreexpression());
    }
    return popup_;
}

template <class F>
bool Tcostructform::guarded(F f)
{
    // Locals only after the board call: the window may have gone while events ran.
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    if (!windows.board(handle) || windows.evaluating(handle)) return false;
    QPointer<Tcostructform> self(this);
    std::string fault;
    bool ok = false;
    {
        tplotwindows::tbusy busy(windows, handle);
        try {
            f(*windows.board(handle));
            ok = true;
        } catch (const tfault& e) {
            fault = e.text();
        } catch (const tstopped&) {
        } catch (const std::exception& e) {
            fault = e.what();
        }
    }
    if (!fault.empty()) windows.dialogs().errorbox(self ? self.data() : nullptr, QString::fromStdString(fault));
    return ok && self && windows.board(handle);
}

void Tcostructform::reportfault(const std::string& text)
{
    windows_.dialogs().errorbox(this, QString::fromStdString(text));
}

void Tcostructform::paintfailure()
{
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    windows.dialogs().message(this, tboxkind::information, boxcaption(), QString::fromUtf8(quor::paintfailure));
    windows.destroy(handle);
}

bool Tcostructform::firstshow()
{
    tplotboard* b = board();
    if (!b) return false;
    setWindowTitle(QString::fromStdString(b->caption()));
    const QSize area = b->areasize();
    resize(area.width(), area.height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    bool sized = true, stopped = false;
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    const bool done = guarded([&](tplotboard& board) {
        try {
            sized = board.resize(board.outerwidth(), board.outerheight());
        } catch (const tstopped&) {
            stopped = true;   // the program that opened the window is being stopped
        }
    });
    if (stopped) {
        // A plot left half sampled goes quietly; the stop still ends the run at its next
        // statement.
        windows.destroy(handle);
        return false;
    }
    if (!done) return false;
    if (!sized) {
        paintfailure();
        return false;
    }
    b->setvisible(true);
    bringtofront(this);
    return rozez();
}

bool Tcostructform::rozez()
{
    tplotboard* b = board();
    if (!b) return false;
    if (surface_.size() != b->areasize()) surface_ = QImage(b->areasize(), QImage::Format_RGB32);
    if (!b->draw(surface_)) {
        paintfailure();
        return false;
    }
    area_->update();
    return true;
}

void Tcostructform::arearesized(QSize size)
{
    tplotboard* b = board();
    if (!b || !b->visible()) return;
    const int w = size.width() + 8, h = size.height() + 45;
    if (w == b->outerwidth() && h == b->outerheight()) return;
    if (windows_.evaluating(handle_)) {
        // A sampling is under way: take the new size once it has ended.
        QTimer::singleShot(50, this, [this] { arearesized(area_->size()); });
        return;
    }
    bool sized = true;
    if (!guarded([&](tplotboard& board) { sized = board.resize(w, h); })) return;
    if (!sized) {
        paintfailure();
        return;
    }
    rozez();
}

void Tcostructform::closeEvent(QCloseEvent* event)
{
    // The title bar only hides a plot window; "退出" destroys it.
    event->ignore();
    hide();
    if (tplotboard* b = board()) b->setvisible(false);
}

void Tcostructform::areapress(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    tplotboard* b = board();
    if (!b || windows_.evaluating(handle_)) return;
    tkeys keys{mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier), mods.testFlag(Qt::AltModifier)};
    if (button == Qt::MiddleButton) {
        // A stretch without Alt, which window managers often take: the middle button on
        // the curve acts as Alt with the left button; elsewhere it does nothing.
        if (!curvehit({p.x(), p.y()}, b->samples(), b->record().sensitivity)) return;
        keys = tkeys{false, false, true};
    } else if (button != Qt::LeftButton) {
        return;
    }
    const tpressaction act = b->press(p.x(), p.y(), keys);
    middlestretch_ = button == Qt::MiddleButton && act == tpressaction::stretchstarted;
    dragging_ = button == Qt::LeftButton && b->viewmode() != viewdragging;
    if (act == tpressaction::anchorset) {
        b->drawanchormark(surface_);
        area_->update();
    }
    if (act == tpressaction::movestarted || act == tpressaction::stretchstarted) area_->setCursor(Qt::SizeAllCursor);
}

void Tcostructform::areamove(QPoint p, Qt::MouseButtons buttons)
{
    const tplotboard* b = board();
    if (!b) return;
    try {
        area_->setToolTip(QString::fromStdString(b->hint(p.x(), p.y())));
    } catch (...) {
        area_->setToolTip(QString());
    }
    // An open hint follows the pointer rather than showing where it first appeared.
    if (QToolTip::isVisible()) {
        if (area_->toolTip().isEmpty()) QToolTip::hideText();
        else QToolTip::showText(area_->mapToGlobal(p), area_->toolTip(), area_);
    }
    switch (b->pointer(p.x(), p.y())) {
    case tpointer::move: area_->setCursor(Qt::SizeAllCursor); break;
    case tpointer::hand: area_->setCursor(Qt::PointingHandCursor); break;
    case tpointer::arrow: area_->setCursor(Qt::ArrowCursor); break;
    }
    if (dragging_ && buttons.testFlag(Qt::LeftButton)) {
        const tpixel from = b->presspoint();
        rubber_ = spanned({from.x, from.y}, p);
        area_->update();
    }
}

void Tcostructform::arearelease(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    // The last zoom rectangle goes first, whatever the button.
    overlay_.reset();
    rubber_.reset();
    dragging_ = false;
    area_->update();
    const bool left = button == Qt::LeftButton || (button == Qt::MiddleButton && middlestretch_);
    middlestretch_ = false;
    treleaseaction act = treleaseaction::none;
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    if (!guarded([&](tplotboard& b) { act = b.release(p.x(), p.y(), left, ctrl); })) return;
    const tplotboard* b = board();
    area_->setCursor(b->pointer(p.x(), p.y()) == tpointer::hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
    switch (act) {
    case treleaseaction::zoomrect: {
        const tzoomrect& z = b->zoomrect();
        overlay_ = spanned({z.left, z.top}, {z.right, z.bottom});
        area_->update();
        break;
    }
    case treleaseaction::moved: rozez(); break;
    case treleaseaction::quit: paintfailure(); break;
    case treleaseaction::movedkept:
    case treleaseaction::none: break;
    }
}

void Tcostructform::areadoubleclick() { addtext(); }

void Tcostructform::areawheel(QPoint p, int angle)
{
    if (angle == 0) return;
    const double factor = std::pow(0.8, angle / 120.0);
    if (guarded([&](tplotboard& b) { b.wheelzoom(p.x(), factor); })) rozez();
}

void Tcostructform::loaddescription()
{
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    QPointer<Tcostructform> self(this);
    const auto path = windows.dialogs().openfile(this, QString(), QString(), QString());
    tplotboard* b = windows.board(handle);
    if (!path || !b || !self) return;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        reportfault("Error on load file: " + path->toStdString());
        return;
    }
    std::vector<std::string> lines;
    const QList<QByteArray> raw = file.readAll().split('\n');
    for (qsizetype i = 0; i < raw.size(); ++i) {
        QByteArray line = raw[i];
        if (line.endsWith('\r')) line.chop(1);
        if (i == raw.size() - 1 && line.isEmpty()) break;   // the newline ending the last line
        lines.push_back(line.toStdString());
    }
    b->record().description = std::move(lines);
}

void Tcostructform::savedescription()
{
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    QPointer<Tcostructform> self(this);
    const auto path = windows.dialogs().savefile(this, QString(), QString(), QString());
    tplotboard* b = windows.board(handle);
    if (!path || !b || !self) return;
    QByteArray text;
    for (const std::string& line : b->record().description) text += QByteArray::fromStdString(line) + "\n";
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        reportfault("Error on save file: " + path->toStdString());
}

void Tcostructform::savebitmap()
{
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    QPointer<Tcostructform> self(this);
    const auto path = windows.dialogs().savefile(this, QStringLiteral("Save Function Rozez to file"), QString(),
                                                 QStringLiteral("BMP FILE|*.bmp|PNG FILE|*.png|SVG FILE|*.svg"));
    tplotboard* b = windows.board(handle);
    if (!path || !b || !self) return;
    // The picture is drawn again rather than read from the screen, which may be covered.
    // BMP unless the name asks for PNG or a vector drawing (SVG).
    const std::string name = path->toStdString();
    bool saved = false;
    if (path->endsWith(".svg", Qt::CaseInsensitive)) saved = b->savesvg(name);
    else saved = b->savepicture(name, path->endsWith(".png", Qt::CaseInsensitive) ? "PNG" : "BMP");
    if (!saved) reportfault("Error on save picture: " + name);
    rozez();
}

void Tcostructform::quitboard()
{
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    const tanswer a = windows.dialogs().question(this, tboxkind::warning, QStringLiteral("Warning"),
                                                 quitquestion(windows.flavour()), false);
    if (a == tanswer::yes) windows.destroy(handle);
}

void Tcostructform::zoomin(bool frompopup)
{
    const tplotboard* b = board();
    if (!b || b->zoomrect().none()) return;
    if (!guarded([](tplotboard& board) { board.zoom(); })) return;
    // The main menu's item clears the overlay; the popup's leaves the rectangle drawn.
    if (!frompopup) overlay_.reset();
    rozez();
}

void Tcostructform::restoreimage()
{
    if (guarded([](tplotboard& b) { b.restoreimage(); })) rozez();
}

void Tcostructform::restoreexpression()
{
    bool ok = true;
    if (!guarded([&ok](tplotboard& b) { ok = b.restoreexpression(); })) return;
    if (ok) rozez();
    else paintfailure();
}

void Tcostructform::copyimage()
{
    tplotboard* b = board();
    if (!b || !rozez()) return;
    const QImage picture = b->picture();
    if (!picture.isNull()) windows_.dialogs().setclipimage(picture);
}

void Tcostructform::addtext()
{
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    QPointer<Tcostructform> self(this);
    const auto text = windows.dialogs().input(this, QStringLiteral("Input the text"), QStringLiteral("  "), QString());
    tplotboard* b = windows.board(handle);
    if (!text || !b || !self) return;
    if (b->addlabel(text->toStdString())) rozez();
}

void Tcostructform::deletetext()
{
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    tplotboard* b = board();
    if (!b || windows.evaluating(handle)) return;
    QPointer<Tcostructform> self(this);
    {
        // The label dialog is modal; the board stays while it is open.
        tplotwindows::tbusy keep(windows, handle, false);
        b->deletelabels();
    }
    if (self) rozez();
}

void Tcostructform::textfont()
{
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    QPointer<Tcostructform> self(this);
    tplotboard* b = board();
    if (!b) return;
    const auto font = windows.dialogs().font(this, dialogfont(b->record().labelfont));
    b = windows.board(handle);
    if (!font || !b || !self) return;
    b->setlabelfont(fromdialogfont(*font, b->record().labelfont.colour));
    rozez();
}

void Tcostructform::properties()
{
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    tplotboard* b = board();
    if (!b || windows.evaluating(handle)) return;
    if (!setform_) setform_ = new Tsetform(windows.dialogs(), this);
    QPointer<Tcostructform> self(this);
    QPointer<Tsetform> form(setform_);
    {
        tplotwindows::tbusy keep(windows, handle, false);
        b->loadproperties(form->working(), form->expressiontext, form->variabletext);
        form->fill();
        windows.runmodal(*form);
        if (!self || !form) return;
        if (form->confirmed()) {
            guarded([&](tplotboard& board) {
                board.applyproperties(form->working(), form->expressiontext, form->variabletext);
            });
        }
    }
    if (!self || !board()) return;
    // Redrawn after Cancel too.
    setWindowTitle(QString::fromStdString(board()->caption()));
    rozez();
}

void Tcostructform::environment()
{
    tplotwindows& windows = windows_;
    const std::int32_t handle = handle_;
    if (!board() || windows.evaluating(handle)) return;
    if (!environment_) environment_ = new TEnvironmentset(windows, *this);
    QPointer<TEnvironmentset> dialog(environment_);
    tplotwindows::tbusy keep(windows, handle, false);
    dialog->fill();
    windows.runmodal(*dialog);
}

bool Tcostructform::applypointmove(tworld p1, tworld p2, std::optional<tworld> fixed)
{
    bool ok = true;
    if (!guarded([&](tplotboard& b) { ok = b.applypointmove(p1, p2, fixed); })) return false;
    if (!ok) {
        paintfailure();
        return false;
    }
    return rozez();
}

bool Tcostructform::changeexpression(const std::string& expression, const std::string& variable)
{
    bool ok = true;
    if (!guarded([&](tplotboard& b) { ok = b.changeexpression(expression, variable); })) return false;
    if (!ok) {
        paintfailure();
        return false;
    }
    return rozez();
}

std::optional<double> Tcostructform::valueat(const std::string& x)
{
    double v = 0;
    if (!guarded([&](tplotboard& b) { v = b.valueat(x); })) return std::nullopt;
    return v;
}

void Tcostructform::about()
{
    windows_.dialogs().message(this, tboxkind::information, QStringLiteral("关于"),
                               QStringLiteral("Quor %1").arg(QStringLiteral("0.5.0.0")));
}

}  // namespace quor
