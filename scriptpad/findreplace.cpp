#include "findreplace.h"

#include <vector>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "dialogs.h"

namespace quor {

namespace {

bool wordchar(QChar c) { return c.isLetterOrNumber() || c == '_'; }

Qt::CaseSensitivity sensitivity(const tfindoptions& o) { return o.matchcase ? Qt::CaseSensitive : Qt::CaseInsensitive; }

}  // namespace

bool matchesat(const QString& text, const QString& what, qsizetype at, const tfindoptions& o)
{
    if (what.isEmpty() || at < 0 || at + what.size() > text.size()) return false;
    if (QStringView(text).mid(at, what.size()).compare(what, sensitivity(o)) != 0) return false;
    if (!o.wholeword) return true;
    const qsizetype end = at + what.size();
    return (at == 0 || !wordchar(text[at - 1])) && (end == text.size() || !wordchar(text[end]));
}

qsizetype findin(const QString& text, const QString& what, qsizetype from, bool backward, const tfindoptions& o)
{
    if (what.isEmpty()) return -1;
    const Qt::CaseSensitivity cs = sensitivity(o);
    if (backward) {
        if (from <= 0) return -1;
        qsizetype i = text.lastIndexOf(what, from - 1, cs);
        while (i >= 0 && !matchesat(text, what, i, o)) i = i > 0 ? text.lastIndexOf(what, i - 1, cs) : -1;
        return i;
    }
    if (from < 0) from = 0;
    if (from > text.size()) return -1;
    qsizetype i = text.indexOf(what, from, cs);
    while (i >= 0 && !matchesat(text, what, i, o)) i = text.indexOf(what, i + 1, cs);
    return i;
}

tfinder::tfinder(QPlainTextEdit& edit, tdialogs& dialogs, QString caption)
    : boxparent(edit.window()), edit_(edit), dialogs_(dialogs), caption_(std::move(caption))
{
}

void tfinder::notfound()
{
    dialogs_.message(boxparent, tboxkind::information, caption_, "找不到“" + what + "”");
}

tfound tfinder::findnext(bool backward)
{
    if (what.isEmpty()) return tfound::notfound;
    const QString text = edit_.toPlainText();
    QTextCursor c = edit_.textCursor();
    tfound result = tfound::found;
    qsizetype at = findin(text, what, backward ? c.selectionStart() : c.selectionEnd(), backward, options);
    if (at < 0) {
        at = findin(text, what, backward ? text.size() : 0, backward, options);
        result = tfound::wrapped;
    }
    if (at < 0) {
        notfound();
        return tfound::notfound;
    }
    c.setPosition(static_cast<int>(at));
    c.setPosition(static_cast<int>(at + what.size()), QTextCursor::KeepAnchor);
    edit_.setTextCursor(c);
    return result;
}

tfound tfinder::replace(bool backward)
{
    QTextCursor c = edit_.textCursor();
    if (c.hasSelection() && c.selectionEnd() - c.selectionStart() == what.size() &&
        matchesat(edit_.toPlainText(), what, c.selectionStart(), options)) {
        const int start = c.selectionStart();
        c.insertText(with);
        // Searching on must not find the match inside the replacement again.
        if (backward) c.setPosition(start);
        edit_.setTextCursor(c);
    }
    return findnext(backward);
}

int tfinder::replaceall()
{
    if (what.isEmpty()) return 0;
    const QString text = edit_.toPlainText();
    std::vector<qsizetype> found;
    for (qsizetype at = findin(text, what, 0, false, options); at >= 0;
         at = findin(text, what, at + what.size(), false, options))
        found.push_back(at);
    if (found.empty()) {
        notfound();
        return 0;
    }
    QTextCursor c(edit_.document());
    c.beginEditBlock();
    // From the last match back, so the earlier columns stay where they were.
    for (auto at = found.rbegin(); at != found.rend(); ++at) {
        c.setPosition(static_cast<int>(*at));
        c.setPosition(static_cast<int>(*at + what.size()), QTextCursor::KeepAnchor);
        c.insertText(with);
    }
    c.endEditBlock();
    const qsizetype n = static_cast<qsizetype>(found.size());
    QTextCursor caret(edit_.document());
    caret.setPosition(static_cast<int>(found.back() + (n - 1) * (with.size() - what.size()) + with.size()));
    edit_.setTextCursor(caret);
    return static_cast<int>(n);
}

tfinddialog::tfinddialog(QPlainTextEdit& edit, tdialogs& dialogs, const QString& caption, QWidget* parent)
    : QDialog(parent), edit_(edit), finder_(edit, dialogs, caption)
{
    build();
}

void tfinddialog::build()
{
    setObjectName("finddialog");
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* fields = new QGridLayout;
    whatedit = new QLineEdit(this);
    whatedit->setObjectName("whatedit");
    withedit = new QLineEdit(this);
    withedit->setObjectName("withedit");
    auto* whatlabel = new QLabel("查找内容(&N)：", this);
    whatlabel->setBuddy(whatedit);
    withlabel_ = new QLabel("替换为(&P)：", this);
    withlabel_->setBuddy(withedit);
    fields->addWidget(whatlabel, 0, 0);
    fields->addWidget(whatedit, 0, 1);
    fields->addWidget(withlabel_, 1, 0);
    fields->addWidget(withedit, 1, 1);

    matchcase = new QCheckBox("区分大小写(&C)", this);
    wholeword = new QCheckBox("全字匹配(&W)", this);
    auto* checks = new QVBoxLayout;
    checks->addStretch(1);
    checks->addWidget(wholeword);
    checks->addWidget(matchcase);
    auto* direction = new QGroupBox("方向", this);
    upbtn = new QRadioButton("向上(&U)", direction);
    downbtn = new QRadioButton("向下(&D)", direction);
    downbtn->setChecked(true);
    auto* directions = new QHBoxLayout(direction);
    directions->addWidget(upbtn);
    directions->addWidget(downbtn);
    auto* options = new QHBoxLayout;
    options->addLayout(checks);
    options->addStretch(1);
    options->addWidget(direction);

    note = new QLabel(this);
    note->setObjectName("note");
    QPalette grey = note->palette();
    grey.setColor(QPalette::WindowText, QColor(90, 90, 90));
    note->setPalette(grey);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    left->addWidget(note);

    findbtn = new QPushButton("查找下一个(&F)", this);
    findbtn->setDefault(true);
    replacebtn = new QPushButton("替换(&R)", this);
    replaceallbtn = new QPushButton("全部替换(&A)", this);
    auto* closebtn = new QPushButton("取消", this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findbtn);
    buttons->addWidget(replacebtn);
    buttons->addWidget(replaceallbtn);
    buttons->addStretch(1);
    buttons->addWidget(closebtn);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    // The size follows the rows shown; the user has nothing to stretch.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    whatedit->setMinimumWidth(220);

    connect(findbtn, &QPushButton::clicked, this, &tfinddialog::findbtnClick);
    connect(replacebtn, &QPushButton::clicked, this, &tfinddialog::replacebtnClick);
    connect(replaceallbtn, &QPushButton::clicked, this, &tfinddialog::replaceallbtnClick);
    connect(closebtn, &QPushButton::clicked, this, &QDialog::reject);
    auto enable = [this] {
        const bool any = !whatedit->text().isEmpty();
        findbtn->setEnabled(any);
        replacebtn->setEnabled(any);
        replaceallbtn->setEnabled(any);
    };
    connect(whatedit, &QLineEdit::textChanged, this, enable);
    enable();
    // F3 and Shift+F3 work here as in the editor.
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this, &tfinddialog::findnext);
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this), &QShortcut::activated, this,
            &tfinddialog::findprevious);
}

void tfinddialog::showfor(bool replacing)
{
    setWindowTitle(replacing ? "替换" : "查找");
    for (QWidget* w : {static_cast<QWidget*>(withlabel_), static_cast<QWidget*>(withedit),
                       static_cast<QWidget*>(replacebtn), static_cast<QWidget*>(replaceallbtn)})
        w->setVisible(replacing);
    const QString selected = edit_.textCursor().selectedText();
    // A selection over several lines is no search text (its line breaks read as U+2029).
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) whatedit->setText(selected);
    note->clear();
    adjustSize();
    // The first time at the right of the editor's text, where lines are seldom long; after
    // that where the user left it.
    if (!placed_ && parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.right() - frameGeometry().width() - 30, owner.top() + 110);
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
    whatedit->setFocus();
    whatedit->selectAll();
}

void tfinddialog::openfind() { showfor(false); }

void tfinddialog::openreplace() { showfor(true); }

void tfinddialog::takefields()
{
    finder_.what = whatedit->text();
    finder_.with = withedit->text();
    finder_.options.matchcase = matchcase->isChecked();
    finder_.options.wholeword = wholeword->isChecked();
    finder_.boxparent = isVisible() ? static_cast<QWidget*>(this) : edit_.window();
}

void tfinddialog::report(tfound f, bool backward)
{
    if (f == tfound::wrapped) note->setText(backward ? "已到开头，从末尾继续查找。" : "已到末尾，从开头继续查找。");
    else note->clear();
}

void tfinddialog::findnext()
{
    if (whatedit->text().isEmpty()) return openfind();
    takefields();
    report(finder_.findnext(false), false);
}

void tfinddialog::findprevious()
{
    if (whatedit->text().isEmpty()) return openfind();
    takefields();
    report(finder_.findnext(true), true);
}

void tfinddialog::findbtnClick()
{
    takefields();
    report(finder_.findnext(upbtn->isChecked()), upbtn->isChecked());
}

void tfinddialog::replacebtnClick()
{
    takefields();
    report(finder_.replace(upbtn->isChecked()), upbtn->isChecked());
}

void tfinddialog::replaceallbtnClick()
{
    takefields();
    const int n = finder_.replaceall();
    if (n > 0) note->setText(QString("已替换 %1 处。").arg(n));
    else note->clear();
}

}  // namespace quor
