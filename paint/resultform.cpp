#include "resultform.h"

#include <QCloseEvent>
#include <QMenu>
#include <QVBoxLayout>

#include "dialogs.h"
#include "flatmemo.h"
#include "mainform.h"
#include "ownedwindow.h"

namespace quor {

Tresultform::Tresultform(Tmainform& main, tdialogs& dialogs)
    : QWidget(nullptr, ownedwindowflags()), main_(main), dialogs_(dialogs)
{
    // It stays in front of the main window; the plot windows too (see the memo below).
    setownedby(this, &main);
    setWindowTitle("resultform");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    resultmemo_ = new tflatmemo(this);
    resultmemo_->setReadOnly(true);
    tflatcolours c;
    c.face = palette().color(QPalette::Window);
    resultmemo_->setcolours(c);
    layout->addWidget(resultmemo_);

    menu_ = new QMenu(this);
    menu_->addAction("Select all", this, &Tresultform::selectall1Click);
    menu_->addAction("Copy", this, &Tresultform::copy1Click);
    menu_->addAction("Clear", this, &Tresultform::Clear1Click);
    resultmemo_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(resultmemo_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { menu_->popup(resultmemo_->mapToGlobal(p)); });

    // The outer top left, so that a window manager's title bar does not cover the main window.
    resize(main.width(), 218);
    move(main.x(), main.y() + main.height() - 5);
    if (main.showresult()) show();
}

void Tresultform::selectall1Click() { resultmemo_->selectAll(); }

void Tresultform::copy1Click()
{
    QString text = resultmemo_->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, '\n');
    if (!text.isEmpty()) dialogs_.setcliptext(text);
}

void Tresultform::Clear1Click() { resultmemo_->clear(); }

void Tresultform::closeEvent(QCloseEvent* e)
{
    main_.setshowresult(false);
    e->accept();
}

}  // namespace quor
