#include "runfuncdialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "codeedit.h"
#include "dialogs.h"
#include "hotleg.h"
#include "qtdialogs.h"
#include "toolpictures.h"
#include "unittext.h"

namespace quor {

Trunfuncdialog::Trunfuncdialog(Thotleg& editor) : QDialog(&editor), editor_(editor)
{
    build();
    memo_ = std::make_unique<twidgetmemo>(resultmemo, this);
}

Trunfuncdialog::~Trunfuncdialog() = default;

void Trunfuncdialog::build()
{
    setWindowTitle("Running Function");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(2);
    auto* menus = new QMenuBar(this);
    layout->setMenuBar(menus);
    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(16, 16));
    layout->addWidget(bar);

    funcbar = new QLineEdit(this);
    funcbar->setObjectName("funcbar");
    QFont bold = funcbar->font();
    bold.setBold(true);
    funcbar->setFont(bold);
    funcbar->setToolTip("函数声明");
    funcbar->setFixedWidth(170);
    funcselbox = new QComboBox(this);
    funcselbox->setObjectName("funcselbox");
    funcselbox->setToolTip("函数列表");
    funcselbox->setMinimumContentsLength(6);

    auto button = [this, bar](const char* name, ttoolpicture picture, const QString& hint, auto handler) {
        QAction* a = addtoolbutton(bar, name, picture, hint);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    bar->addWidget(funcbar);
    bar->addWidget(funcselbox);
    button("selbtn", ttoolpicture::select, "选择函数", &Trunfuncdialog::selbtnClick);
    button("sendbkbtn", ttoolpicture::save, "保存修改", &Trunfuncdialog::sendbkbtnClick);
    button("saverptbtn", ttoolpicture::saveas, "保存结果", &Trunfuncdialog::saverptbtnClick);
    runaction = button("runbtn", ttoolpicture::run, "调试", &Trunfuncdialog::runbtnClick);
    runaction->setShortcut(QKeySequence(Qt::Key_F5));
    runbtn = qobject_cast<QToolButton*>(bar->widgetForAction(runaction));
    stopaction = button("stopbtn", ttoolpicture::stop, "停止 (Esc)", &Trunfuncdialog::stopClick);
    stopaction->setEnabled(false);
    bar->addSeparator();
    button("copybtn", ttoolpicture::copy, "复制", [] {});
    button("cutbtn", ttoolpicture::cut, "剪切", &Trunfuncdialog::cutbtnClick);
    button("pastebtn", ttoolpicture::paste, "粘贴", &Trunfuncdialog::pastebtnClick);
    button("fontbtn", ttoolpicture::font, "字体", &Trunfuncdialog::fontbtnClick);
    auto* spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    QAction* quit = button("quitbtn", ttoolpicture::quit, "退出", &Trunfuncdialog::quitbtnClick);
    if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(quit))) b->setIconSize(QSize(24, 24));

    // The menu entries the tool buttons do not duplicate carry no action.
    QMenu* file = menus->addMenu("文件");
    file->addAction("选择");
    file->addAction("保存修改");
    file->addAction("保存运行结果");
    connect(file->addAction("退出"), &QAction::triggered, this, &Trunfuncdialog::quitbtnClick);
    QMenu* edit = menus->addMenu("编辑");
    for (const char* e : {"剪切", "复制", "粘贴", "字体"}) edit->addAction(e);
    QMenu* debug = menus->addMenu("调试");
    debug->addAction(runaction);
    debug->addAction(stopaction);

    auto* groups = new QHBoxLayout;
    auto* left = new QGroupBox("Function Expression", this);
    auto* leftlayout = new QVBoxLayout(left);
    leftlayout->setContentsMargins(4, 4, 4, 4);
    initializtionmemo = new QPlainTextEdit(left);
    initializtionmemo->setObjectName("initializtionmemo");
    initializtionmemo->setToolTip(placeholderline);
    initializtionmemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    initializtionmemo->installEventFilter(this);
    argumentmemo = new QPlainTextEdit(left);
    argumentmemo->setObjectName("argumentmemo");
    argumentmemo->setToolTip("函数体");
    argumentmemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    argumentmemo->viewport()->installEventFilter(this);
    leftlayout->addWidget(initializtionmemo, 1);
    leftlayout->addWidget(argumentmemo, 2);
    auto* right = new QGroupBox("Result View", this);
    auto* rightlayout = new QVBoxLayout(right);
    rightlayout->setContentsMargins(4, 4, 4, 4);
    resultmemo = new QPlainTextEdit(right);
    resultmemo->setObjectName("resultmemo");
    resultmemo->setToolTip("显示结果");
    resultmemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    rightlayout->addWidget(resultmemo);
    groups->addWidget(left, 1);
    groups->addWidget(right, 1);
    layout->addLayout(groups, 1);
    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);   // the dialog has a fixed size
    layout->addWidget(status);

    connect(funcbar, &QLineEdit::textChanged, this, [this] { funcbarChange(); });
    // The client area below the menu bar, or more where the controls need it (every tool
    // button in sight).
    bar->setMinimumWidth(bar->sizeHint().width());
    setfixedclient(*this, QSize(571, 312), menus->sizeHint().height());
}

void Trunfuncdialog::loadfunction(int first, int last)
{
    const std::vector<std::string> text = editor_.lines();
    const int n = static_cast<int>(text.size());
    if (first < 0 || first >= n) return;
    last = std::clamp(last, first + 1, n);
    funcitem_.params.clear();
    funcitem_.parsehead(text[static_cast<std::size_t>(first)]);
    headline_ = first;
    endline_ = last;
    argumentmemo->clear();
    funcitem_.lines.clear();
    initializtionmemo->setPlainText(placeholderline);
    resultmemo->clear();
    QStringList body;
    for (int i = first + 1; i < last; ++i) {
        body << QString::fromStdString(text[static_cast<std::size_t>(i)]);
        funcitem_.lines.push_back(text[static_cast<std::size_t>(i)]);
    }
    argumentmemo->setPlainText(body.join('\n'));
    argumentmemo->document()->setModified(false);
    funcbar->setText(QString::fromStdString(text[static_cast<std::size_t>(first)]));
    funcbarChange();   // also when the text was the same
}

void Trunfuncdialog::funcbarChange()
{
    const std::string head = funcbar->text().toStdString();
    funcitem_.params.clear();
    funcitem_.parsehead(head);
    editor_.setline(headline_, head);
}

void Trunfuncdialog::FormShow()
{
    std::vector<std::string> names;
    listfuncnames(editor_.lines(), names);
    funcselbox->clear();
    for (const std::string& n : names) funcselbox->addItem(QString::fromStdString(n));
    const int at = funcselbox->findText(QString::fromStdString(funcitem_.name), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at >= 0) funcselbox->setCurrentIndex(at);
}

void Trunfuncdialog::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void Trunfuncdialog::info(const QString& text)
{
    editor_.dialogs().message(this, tboxkind::information, editortitle, text);
}

void Trunfuncdialog::selbtnClick()
{
    const QString name = funcselbox->currentText();
    if (name.isEmpty() || funcselbox->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) return;
    if (running_) return editor_.refusebusy(this);
    if (argumentmemo->document()->isModified()) {
        const tanswer a = editor_.dialogs().question(this, tboxkind::information, editortitle, "Send changes back", true);
        if (a == tanswer::cancel) return;
        if (a == tanswer::yes && !sendback()) return;
        if (a == tanswer::no) info("All you have amended will be lost!");
    }
    int first = -1, last = -1;
    findfunclines(name.toStdString(), editor_.lines(), first, last);
    if (first >= 0) loadfunction(first, last);
}

bool Trunfuncdialog::sendback()
{
    const std::vector<std::string> text = editor_.lines();
    const int n = static_cast<int>(text.size());
    // The loaded lines must still be a head and, when it had one, its end line.
    const bool valid = headline_ >= 0 && headline_ < n && endline_ > headline_ && endline_ <= n &&
                       getlineclass(text[static_cast<std::size_t>(headline_)]) == 1 &&
                       (endline_ == n || getlineclass(text[static_cast<std::size_t>(endline_)]) == 2);
    if (!valid) {
        editor_.dialogs().errorbox(this, "Error on sendback function expression!");
        return false;
    }
    const std::vector<std::string> body = textlines(argumentmemo);
    editor_.replacelines(headline_ + 1, endline_ - headline_ - 1, body);
    endline_ = endline_ < n ? headline_ + 1 + static_cast<int>(body.size()) : static_cast<int>(editor_.lines().size());
    argumentmemo->document()->setModified(false);
    return true;
}

void Trunfuncdialog::sendbkbtnClick()
{
    if (running_) return editor_.refusebusy(this);
    sendback();
}

void Trunfuncdialog::quitbtnClick()
{
    if (running_) {
        pending_ = tpending::quit;
        stopClick();
        return;
    }
    if (argumentmemo->document()->isModified()) {
        const tanswer a = editor_.dialogs().question(this, tboxkind::information, editortitle,
                                                     "函数体已经改变，是否要保存它们？", true);
        if (a == tanswer::cancel) return;
        // A body that could not be sent back stays in the dialog.
        if (a == tanswer::yes && !sendback()) return;
        if (a == tanswer::no) info("所有修改将被取消");
    }
    close();
}

void Trunfuncdialog::closeEvent(QCloseEvent* event)
{
    // The run's lists live until it has ended; the dialog closes after that.
    if (running_) {
        if (pending_ == tpending::none) pending_ = tpending::close;
        stopClick();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Trunfuncdialog::keyPressEvent(QKeyEvent* event)
{
    // Esc stops a run and never closes the dialog.
    if (event->key() == Qt::Key_Escape) {
        stopClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Trunfuncdialog::stopClick()
{
    if (running_) editor_.session().stoprequested = true;
}

void Trunfuncdialog::initializtionmemoEnter()
{
    QStringList text = initializtionmemo->toPlainText().split('\n');
    if (text.first() != placeholderline) return;
    text.removeFirst();
    initializtionmemo->setPlainText(text.join('\n'));
}

void Trunfuncdialog::argumentmemoClick()
{
    const QString text = argumentmemo->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n');
    if (!text.isEmpty()) editor_.dialogs().setcliptext(text);
}

void Trunfuncdialog::cutbtnClick()
{
    argumentmemoClick();
    argumentmemo->textCursor().removeSelectedText();
}

void Trunfuncdialog::pastebtnClick() { argumentmemo->insertPlainText(editor_.dialogs().cliptext()); }

void Trunfuncdialog::fontbtnClick()
{
    if (const auto f = editor_.dialogs().font(this, argumentmemo->font())) argumentmemo->setFont(*f);
}

bool Trunfuncdialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == initializtionmemo && event->type() == QEvent::FocusIn) initializtionmemoEnter();
    if (watched == argumentmemo->viewport() && event->type() == QEvent::MouseButtonRelease) argumentmemoClick();
    return QDialog::eventFilter(watched, event);
}

void Trunfuncdialog::setrunning(bool on)
{
    running_ = on;
    runaction->setEnabled(!on);
    stopaction->setEnabled(on);
    funcbar->setReadOnly(on);
    if (on) editor_.beginrun();
    else editor_.endrun();
    if (!on && pending_ != tpending::none) {
        const tpending p = pending_;
        pending_ = tpending::none;
        QTimer::singleShot(0, this, [this, p] {
            if (p == tpending::quit) quitbtnClick();
            else close();
        });
    }
}

}  // namespace quor
