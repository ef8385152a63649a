#include "hotleg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "bracketmatch.h"
#include "codeedit.h"
#include "dialogs.h"
#include "fault.h"
#include "findreplace.h"
#include "gotoline.h"
#include "profile.h"
#include "syntaxcolour.h"
#include "toolpictures.h"
#include "units.h"
#include "unittext.h"

namespace quor {

namespace {

// base.ini lists at most this many units; a larger count is read as this one.
constexpr long maxunits = 10000;

QFont panefont()
{
    QFont f("Arial Black");
    f.setItalic(true);
    return f;
}

}  // namespace

Thotleg::Thotleg(thost& host, tdialogs& dialogs, tscriptsetup setup, QWidget* parent)
    : QMainWindow(parent),
      runmodal([](QDialog& d) { return d.exec(); }),
      host_(host),
      dialogs_(dialogs),
      setup_(std::move(setup)),
      session_(host, tdialect::editor),
      vars_("quor", 2),
      funcs_("quor", 2)
{
    buildwindow();
    buildmenus();
    memo_ = std::make_unique<twidgetmemo>(resultmemo, this);
    startup();
    colour_ = new tsyntaxcolour(flowmemo->document(), funcs_);
    flowmemoChange();
}

Thotleg::~Thotleg() = default;

void Thotleg::attach(Trunfuncdialog* runfunc, TAboutBox* about, Tunit_form* unitform)
{
    runfunc_ = runfunc;
    about_ = about;
    unitform_ = unitform;
}

void Thotleg::buildwindow()
{
    setWindowTitle("Editor of Quor");
    setWindowIcon(programicon());
    resize(696, 476);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    flowmemo = new tcodeedit(central);
    flowmemo->setObjectName("flowmemo");
    flowmemo->setFixedHeight(305);
    flowmemo->setFont(panefont());
    flowmemo->setToolTip("在此编辑");
    flowmemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    flowmemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    flowmemo->setInputMethodHints(Qt::ImhPreferLatin);
    flowmemo->viewport()->installEventFilter(this);
    flowmemo->viewport()->setMouseTracking(true);
    resultmemo = new QPlainTextEdit(central);
    resultmemo->setObjectName("resultmemo");
    resultmemo->setFont(panefont());
    resultmemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(flowmemo);
    layout->addWidget(resultmemo, 1);
    setCentralWidget(central);
    // A panel of its own: menu hints do not wipe it.
    statusBar()->addWidget(new QLabel("Welcome to Quor world!", statusBar()), 1);
    statusBar()->setSizeGripEnabled(true);

    selbox = new QComboBox(this);
    selbox->setObjectName("selbox");
    selbox->setEditable(true);
    selbox->setCompleter(nullptr);
    selbox->setInsertPolicy(QComboBox::NoInsert);
    selbox->setMinimumContentsLength(16);
    selbox->setToolTip("函数列表");
    // Keys reach the combo, which hands them to its line edit without filters: both are watched.
    selbox->installEventFilter(this);
    selbox->lineEdit()->installEventFilter(this);

    connect(flowmemo->document(), &QTextDocument::contentsChanged, this, [this] { flowmemoChange(); });
    auto brackets = [this] { flowmemo->setbracketmarks(bracketmarks(*flowmemo)); };
    connect(flowmemo, &QPlainTextEdit::cursorPositionChanged, this, brackets);
    connect(flowmemo->document(), &QTextDocument::contentsChanged, this, brackets);
    finddialog = new tfinddialog(*flowmemo, dialogs_, editortitle, this);
}

void Thotleg::buildmenus()
{
    QToolBar* bar = addToolBar("tools");
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    auto entry = [this](QMenu* menu, const QString& caption, auto handler, QKeySequence keys = {}) {
        QAction* a = menu->addAction(caption);
        if (!keys.isEmpty()) a->setShortcut(keys);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto button = [this, bar](const char* name, ttoolpicture picture, const QString& hint, auto handler) {
        QAction* a = addtoolbutton(bar, name, picture, hint);
        connect(a, &QAction::triggered, this, handler);
        return qobject_cast<QToolButton*>(bar->widgetForAction(a));
    };

    QMenu* file = menuBar()->addMenu("文件");
    entry(file, "新建", &Thotleg::New1Click, QKeySequence::New);
    entry(file, "打开", &Thotleg::Open1Click, QKeySequence::Open);
    entry(file, "保存", &Thotleg::Save2Click, QKeySequence::Save);
    entry(file, "另存为", &Thotleg::Save1Click, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    entry(file, "退出", &Thotleg::close);
    QMenu* edit = menuBar()->addMenu("编辑");
    entry(edit, "复制", &Thotleg::CopybtnClick);
    entry(edit, "剪切", &Thotleg::cutbtnClick);
    entry(edit, "粘贴", &Thotleg::pastebtnClick);
    entry(edit, "全选", [this] { flowmemo->selectAll(); });
    entry(edit, "字体", &Thotleg::fontbtnClick);
    edit->addSeparator();
    undoaction = entry(edit, "撤销", [this] { flowmemo->undo(); }, QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoaction = entry(edit, "重做", [this] { flowmemo->redo(); }, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    undoaction->setEnabled(flowmemo->document()->isUndoAvailable());
    redoaction->setEnabled(flowmemo->document()->isRedoAvailable());
    connect(flowmemo, &QPlainTextEdit::undoAvailable, undoaction, &QAction::setEnabled);
    connect(flowmemo, &QPlainTextEdit::redoAvailable, redoaction, &QAction::setEnabled);
    edit->addSeparator();
    entry(edit, "查找...", [this] { finddialog->openfind(); }, QKeySequence(Qt::CTRL | Qt::Key_F));
    entry(edit, "查找下一个", [this] { finddialog->findnext(); }, QKeySequence(Qt::Key_F3));
    entry(edit, "查找上一个", [this] { finddialog->findprevious(); }, QKeySequence(Qt::SHIFT | Qt::Key_F3));
    entry(edit, "替换...", [this] { finddialog->openreplace(); }, QKeySequence(Qt::CTRL | Qt::Key_H));
    entry(edit, "转到行...", [this] { gotoline(*flowmemo, dialogs_, this, editortitle); },
          QKeySequence(Qt::CTRL | Qt::Key_G));
    QMenu* env = menuBar()->addMenu("环境设置");
    entry(env, "载入单元", &Thotleg::LoadUnit1Click);
    entry(env, "删除单元", &Thotleg::DeleteUnit1Click);
    entry(env, "基目录", &Thotleg::Base1Click);
    env->addSeparator();
    entry(env, "环境重设", &Thotleg::N2Click);
    QMenu* debug = menuBar()->addMenu("调试");
    Run1 = entry(debug, "调试过程", &Thotleg::Run1Click, QKeySequence(Qt::Key_F5));
    runfuncaction = entry(debug, "调试函数", &Thotleg::runfuncbtnClick, QKeySequence(Qt::Key_F6));
    stopaction = entry(debug, "停止", &Thotleg::stopClick, QKeySequence(Qt::Key_Escape));
    stopaction->setEnabled(false);
    QMenu* about = menuBar()->addMenu("关于");
    entry(about, "关于 Quor", &Thotleg::AboutPC1Click);

    button("newbtn", ttoolpicture::newfile, "新建", &Thotleg::New1Click);
    button("filebtn", ttoolpicture::open, "打开", &Thotleg::Open1Click);
    button("saveflbtn", ttoolpicture::save, "保存", &Thotleg::Save2Click);
    button("savebtn", ttoolpicture::saveas, "另存为", &Thotleg::Save1Click);
    bar->addSeparator();
    button("Copybtn", ttoolpicture::copy, "复制", &Thotleg::CopybtnClick);
    button("cutbtn", ttoolpicture::cut, "剪切", &Thotleg::cutbtnClick);
    button("pastebtn", ttoolpicture::paste, "粘贴", &Thotleg::pastebtnClick);
    button("fontbtn", ttoolpicture::font, "字体", &Thotleg::fontbtnClick);
    bar->addSeparator();
    runbtn = button("runbtn", ttoolpicture::run, "调试过程", &Thotleg::Run1Click);
    button("runfuncbtn", ttoolpicture::runfunc, "调试函数", &Thotleg::runfuncbtnClick);
    bar->addAction(stopaction);
    stopaction->setIcon(toolpicture(ttoolpicture::stop));
    stopaction->setToolTip("停止 (Esc)");
    bar->addSeparator();
    bar->addWidget(selbox);
}

void Thotleg::startup()
{
    funcs_.basedir = setup_.programdir;
    try {
        loadnametables(funcs_, setup_.tabledirs, tdialect::editor, setup_.readtable);
    } catch (const std::exception& e) {
        dialogs_.errorbox(this, QString::fromStdString(e.what()));
        startupcomplete_ = false;
        return;
    }
    // Built-ins a short table leaves unnamed are said once, in the error box.
    const std::string warning = nametablewarning(funcs_);
    if (!warning.empty()) dialogs_.errorbox(this, QString::fromStdString(warning));
    const tprofile ini(setup_.inipath);
    funcs_.basedir = ini.read("basedir", "path", setup_.programdir);
    long count = 0;
    try {
        count = std::stol(ini.read("units", "count", "0"));
    } catch (const std::exception&) {
        count = 0;
    }
    count = std::min(count, maxunits);
    for (long i = 0; i < count; ++i) {
        const std::string path = ini.read("units", "unit" + std::to_string(i), "");
        if (path.empty() || !QFileInfo(QString::fromStdString(path)).isFile()) continue;
        unitfiles_.push_back(path);
        try {
            loadunit(path, funcs_, tdialect::editor);
        } catch (const std::exception& e) {
            dialogs_.errorbox(this, QString::fromStdString(e.what()));
            startupcomplete_ = false;
            return;
        }
    }
    for (const std::string& path : setup_.extraunits) {
        try {
            loadunit(path, funcs_, tdialect::editor);
        } catch (const std::exception& e) {
            dialogs_.errorbox(this, QString::fromStdString(e.what()));
        }
    }
}

void Thotleg::writebaseini()
{
    // After a start-up that stopped early the file keeps what this run never read.
    if (!startupcomplete_) return;
    tprofile ini(setup_.inipath);
    ini.write("basedir", "path", funcs_.basedir);
    ini.write("units", "count", std::to_string(unitfiles_.size()));
    for (std::size_t i = 0; i < unitfiles_.size(); ++i) ini.write("units", "unit" + std::to_string(i), unitfiles_[i]);
    if (!ini.save())
        dialogs_.message(this, tboxkind::warning, editortitle,
                         "无法保存设置文件 " + QString::fromStdString(setup_.inipath) +
                             "：单元列表和基目录没有保存。");
}

void Thotleg::closeEvent(QCloseEvent* event)
{
    if (closed_) {
        event->accept();
        return;
    }
    // A running program still uses the global lists: it is stopped, then the window closes.
    if (running()) {
        session_.stoprequested = true;
        closepending_ = true;
        event->ignore();
        return;
    }
    if (modified()) {
        const tanswer a = dialogs_.question(this, tboxkind::information, editortitle, "程序已经被修改，保存吗？", true);
        if (a == tanswer::cancel) {
            event->ignore();
            return;
        }
        if (a == tanswer::yes && !Save2Click()) {
            // Not saved: the text would be lost, so the window stays.
            event->ignore();
            return;
        }
        if (a == tanswer::no) showinfo("所有的修改都将无效？");
    }
    closed_ = true;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->hide();
    writebaseini();
    event->accept();
    if (onclosed) onclosed();
}

void Thotleg::flowmemoChange()
{
    std::vector<std::string> names;
    listfuncnames(lines(), names);
    selbox->clear();
    for (const std::string& n : names) selbox->addItem(QString::fromStdString(n));
    selbox->setEditText(names.empty() ? QString() : QString::fromStdString(names.front()));
    if (runbtn) runbtn->setEnabled(names.empty() && !running());
}

void Thotleg::selboxKeyUp()
{
    const QString text = selbox->currentText();
    if (text.isEmpty()) return;
    for (int i = 0; i < selbox->count(); ++i) {
        const QString item = selbox->itemText(i);
        if (!item.startsWith(text)) continue;
        selbox->setEditText(item);
        selbox->setFocus();
        selbox->lineEdit()->setSelection(0, item.size());
        return;
    }
}

bool Thotleg::eventFilter(QObject* watched, QEvent* event)
{
    if (selbox && (watched == selbox || watched == selbox->lineEdit()) && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Moving and selecting keys leave the text as typed.
        if (!key->text().isEmpty() && key->text().at(0).isPrint()) selboxKeyUp();
        return false;
    }
    if (flowmemo && watched == flowmemo->viewport()) {
        // Dragging the lower edge of the editor pane changes its height.
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) resizing_ = true;
            break;
        case QEvent::MouseButtonRelease:
            resizing_ = false;
            break;
        case QEvent::MouseMove: {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            const int y = flowmemo->viewport()->mapTo(flowmemo, at).y();
            if (y > flowmemo->height() - 10) {
                flowmemo->viewport()->setCursor(Qt::SplitVCursor);
                if (resizing_) {
                    const int room = centralWidget()->height() - 40;
                    flowmemo->setFixedHeight(std::clamp(y, 40, std::max(40, room)));
                    return true;
                }
            } else {
                flowmemo->viewport()->setCursor(Qt::IBeamCursor);
            }
            break;
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

std::vector<std::string> Thotleg::lines() const { return textlines(flowmemo); }

void Thotleg::setline(int i, const std::string& text)
{
    const QTextBlock block = flowmemo->document()->findBlockByNumber(i);
    if (!block.isValid() || block.text().toStdString() == text) return;
    QTextCursor c(block);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(QString::fromStdString(text));
}

void Thotleg::replacelines(int first, int count, const std::vector<std::string>& with)
{
    const std::vector<std::string> old = lines();
    const int n = static_cast<int>(old.size());
    if (first < 0 || count < 0 || first + count > n) return;
    std::vector<int> offset(static_cast<std::size_t>(n) + 1, 0);
    for (int i = 0; i < n; ++i)
        offset[static_cast<std::size_t>(i) + 1] =
            offset[static_cast<std::size_t>(i)] + QString::fromStdString(old[static_cast<std::size_t>(i)]).size() + 1;
    auto at = [&](int i) { return offset[static_cast<std::size_t>(i)]; };
    const int total = n > 0 ? at(n) - 1 : 0;
    QStringList joined;
    for (const std::string& l : with) joined << QString::fromStdString(l);
    QString text = joined.join('\n');
    int start = 0, end = 0;
    if (count > 0 && !with.empty()) {
        start = at(first);
        end = at(first + count) - 1;
    } else if (count > 0) {
        // Removed lines take one line break with them.
        if (first + count < n) start = at(first), end = at(first + count);
        else if (first > 0) start = at(first) - 1, end = at(first + count) - 1;
        else start = 0, end = total;
    } else if (!with.empty()) {
        if (first < n) start = end = at(first), text += '\n';
        else if (n > 0) start = end = total, text.prepend('\n');
    } else {
        return;
    }
    QTextCursor c(flowmemo->document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.insertText(text);
}

bool Thotleg::modified() const { return flowmemo->document()->isModified(); }

int Thotleg::markedline() const { return flowmemo->markedline(); }

void Thotleg::showinfo(const QString& text) { dialogs_.message(this, tboxkind::information, editortitle, text); }

void Thotleg::refusebusy(QWidget* parent)
{
    dialogs_.message(parent ? parent : this, tboxkind::information, editortitle, "程序正在运行，请先停止它（Esc）。");
}

}  // namespace quor
