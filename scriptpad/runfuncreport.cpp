// The run-function dialog's run and its report.
#include <QPlainTextEdit>

#include "atomicfile.h"
#include "codeedit.h"
#include "dialogs.h"
#include "fault.h"
#include "funcstore.h"
#include "hotleg.h"
#include "runfuncdialog.h"
#include "variables.h"

namespace quor {

void Trunfuncdialog::runbtnClick()
{
    if (running_ || editor_.running()) return editor_.refusebusy(this);
    // Counted before the body memo is taken: a function loaded without body never runs.
    if (funcitem_.lines.empty()) return;
    if (argumentmemo->document()->isModified()) funcitem_.lines = textlines(argumentmemo);
    setrunning(true);
    try {
        report();
    } catch (const tstopped&) {
        memo_->append("Stopped by the user: " + funcitem_.name);
    }
    setrunning(false);
}

void Trunfuncdialog::report()
{
    // The head may be edited while the program runs: the run keeps what it started with.
    const std::string name = funcitem_.name;
    const std::vector<std::string> params = funcitem_.params;
    const std::vector<std::string> body = funcitem_.lines;
    tsession& s = editor_.session();
    tfuncstore store(name);
    store.assignlines(textlines(initializtionmemo));
    std::string fault = store.checkblocks(s);
    resultmemo->clear();
    if (!fault.empty()) {
        info(QString::fromStdString("Error on " + fault));
        memo_->append("Error on " + fault);
        return;
    }
    tvarlist locals("funcrunform", 0);
    memo_->append("Initializtion Result :");
    store.runstore(locals, editor_.funcs(), memo_.get(), s);
    memo_->append(std::string(22, '-'));
    store.clearlines();
    for (const std::string& p : params) {
        if (locals.varexists(p)) continue;
        const tanswer a = editor_.dialogs().question(this, tboxkind::information, editortitle,
                                                     QString::fromStdString("该变量 :" + p + " 没有初始化!继续吗? "), true);
        if (a == tanswer::no) return;
        memo_->append("Error on Uninitialized variable: " + p);
    }
    store.assignlines(body);
    fault = store.checkblocks(s);
    if (!fault.empty()) {
        info(QString::fromStdString("Error on " + fault));
        memo_->append("Error on " + fault);
    } else {
        memo_->append("Function: " + name + " Result:");
        store.runstore(locals, editor_.funcs(), memo_.get(), s);
    }
    memo_->append(std::string(35, '-'));
    memo_->append("All variables used in this function:");
    std::vector<std::string> listing;
    locals.listvars(listing);
    for (const std::string& l : listing) memo_->append(l);
    memo_->append(std::string("Is this result similar with the result you except?") + "\r" +
                  " If not ,please rework it or mail to: " + contactaddress);
}

void Trunfuncdialog::saverptbtnClick()
{
    const auto path = editor_.dialogs().savefile(this, QString(), QString::fromStdString(editor_.funcs().basedir), QString());
    if (!path) return;
    std::string bytes;
    for (const std::string& l : textlines(resultmemo)) bytes += l + "\r\n";
    tatomicfile file(path->toStdString());
    if (!file.ok() || !file.write(bytes) || !file.commit())
        editor_.dialogs().message(this, tboxkind::warning, editortitle,
                                  "无法保存 " + *path + "：" + QString::fromStdString(file.error()) + "。");
}

}  // namespace quor
