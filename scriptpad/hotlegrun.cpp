// The editor's runs: the main procedure, the run-function dialog, and stopping.
#include <QComboBox>
#include <QDialog>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

#include "codeedit.h"
#include "dialogs.h"
#include "fault.h"
#include "funcstore.h"
#include "hotleg.h"
#include "runfuncdialog.h"
#include "unittext.h"

namespace quor {

void Thotleg::beginrun()
{
    if (running_++ > 0) return;
    session_.stoprequested = false;
    if (runbtn) runbtn->setEnabled(false);
    Run1->setEnabled(false);
    runfuncaction->setEnabled(false);
    stopaction->setEnabled(true);
}

void Thotleg::endrun()
{
    if (--running_ > 0) return;
    session_.stoprequested = false;
    if (runbtn) runbtn->setEnabled(true);
    Run1->setEnabled(true);
    runfuncaction->setEnabled(true);
    stopaction->setEnabled(false);
    // A close asked for during the run happens now that the lists are free.
    if (closepending_) {
        closepending_ = false;
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

void Thotleg::stopClick()
{
    if (running()) session_.stoprequested = true;
}

void Thotleg::Run1Click()
{
    if (running()) return refusebusy(this);
    const std::vector<std::string> text = lines();
    if (text.empty()) {
        showinfo("没有找到程序！");
        return;
    }
    flowmemo->markline(-1);
    beginrun();
    tfuncstore store("Main function");
    store.assignlines(text);
    const std::string fault = store.checkblocks(session_);
    if (!fault.empty()) {
        showinfo(QString::fromStdString("Error on " + fault));
        memo_->append("Error on " + fault);
    } else {
        try {
            store.runstore(vars_, funcs_, memo_.get(), session_);
        } catch (const tstopped&) {
            memo_->append("Stopped by the user: " + store.name);
        }
        // Source lines count from 1, editor lines from 0.
        if (store.fault.stopped && store.fault.sourceline > 0) flowmemo->markline(store.fault.sourceline - 1);
    }
    endrun();
}

void Thotleg::runfuncbtnClick()
{
    if (running()) return refusebusy(this);
    const QString name = selbox->currentText();
    if (name.isEmpty() || selbox->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        showinfo("没有找到函数！");
        return;
    }
    const std::vector<std::string> text = lines();
    int first = -1, last = -1;
    findfunclines(name.toStdString(), text, first, last);
    if (first < 0) {
        showinfo("没有找到函数！");
        return;
    }
    // The function's text, head to end line with its line break, is selected and copied.
    const QTextDocument* doc = flowmemo->document();
    const int from = doc->findBlockByNumber(first).position();
    const QTextBlock endblock = doc->findBlockByNumber(std::min(last, doc->blockCount() - 1));
    const int to = std::min(endblock.position() + endblock.length(), doc->characterCount() - 1);
    QTextCursor c(flowmemo->document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    flowmemo->setFocus();
    flowmemo->setTextCursor(c);
    CopybtnClick();
    if (!runfunc_) return;
    runfunc_->loadfunction(first, last);
    runmodal(*runfunc_);
}

}  // namespace quor
