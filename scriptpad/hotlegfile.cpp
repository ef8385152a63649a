// The editor's file, edit and environment operations.
#include <QComboBox>
#include <QDialog>

#include "aboutbox.h"
#include "atomicfile.h"
#include "codeedit.h"
#include "dialogs.h"
#include "hotleg.h"
#include "units.h"
#include "unitform.h"

namespace quor {

namespace {

const QString textfilter = "TXT FILE|*.txt|ALL FILE|*.*";

}  // namespace

bool Thotleg::settleunsaved(const QString& question, const QString& lostnote)
{
    if (!modified()) return true;
    const tanswer a = dialogs_.question(this, tboxkind::information, editortitle, question, true);
    if (a == tanswer::cancel) return false;
    // A save that did not happen keeps the text: nothing may be cleared or replaced.
    if (a == tanswer::yes) return Save2Click();
    showinfo(lostnote);
    return true;
}

void Thotleg::New1Click()
{
    if (running()) return refusebusy(this);
    if (!settleunsaved("程序已经被修改，要保存吗?", "所有的修改都将无效！")) return;
    flowmemo->clear();
    flowmemo->document()->setModified(false);
    selbox->clear();
    selbox->setEditText(QString());
    curfile_.clear();
}

void Thotleg::Open1Click()
{
    if (running()) return refusebusy(this);
    if (!settleunsaved("程序已经被修改，要保存吗?", "所有的修改都将无效！")) return;
    const auto path = dialogs_.openfile(this, QString(), QString::fromStdString(funcs_.basedir), textfilter);
    if (path) openpath(*path);
}

bool Thotleg::openpath(const QString& path)
{
    std::vector<std::string> text;
    if (!readtextlines(path.toStdString(), text)) {
        dialogs_.message(this, tboxkind::warning, editortitle, "无法打开文件 " + path);
        return false;
    }
    textloaded(text);
    curfile_ = path;
    return true;
}

void Thotleg::textloaded(const std::vector<std::string>& text)
{
    QStringList all;
    for (const std::string& l : text) all << QString::fromStdString(l);
    flowmemo->setPlainText(all.join('\n'));
    flowmemo->document()->setModified(false);
    flowmemoChange();
}

bool Thotleg::writeto(const QString& path)
{
    std::string bytes;
    for (const std::string& l : lines()) bytes += l + "\r\n";
    tatomicfile file(path.toStdString());
    if (!file.ok() || !file.write(bytes) || !file.commit()) {
        dialogs_.message(this, tboxkind::warning, editortitle,
                         "无法保存 " + path + "：" + QString::fromStdString(file.error()) + "。程序没有保存。");
        return false;
    }
    flowmemo->document()->setModified(false);
    return true;
}

bool Thotleg::Save2Click()
{
    if (!curfile_.isEmpty()) return writeto(curfile_);
    return Save1Click();
}

bool Thotleg::Save1Click()
{
    // Save as keeps curfile: a later Save writes to the file that was opened.
    const auto path = dialogs_.savefile(this, QString(), QString::fromStdString(funcs_.basedir), QString());
    return path && writeto(*path);
}

void Thotleg::CopybtnClick()
{
    const QString text = flowmemo->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n');
    if (!text.isEmpty()) dialogs_.setcliptext(text);
}

void Thotleg::cutbtnClick()
{
    CopybtnClick();
    flowmemo->textCursor().removeSelectedText();
}

void Thotleg::pastebtnClick() { flowmemo->insertPlainText(dialogs_.cliptext()); }

void Thotleg::fontbtnClick()
{
    if (const auto f = dialogs_.font(this, flowmemo->font())) flowmemo->setFont(*f);
}

void Thotleg::LoadUnit1Click()
{
    // A run calls functions of the list: a reloaded unit would replace them under it.
    if (running()) return refusebusy(this);
    const auto path = dialogs_.openfile(this, QString(), QString::fromStdString(funcs_.basedir), textfilter);
    if (!path) return;
    const std::string file = path->toStdString();
    try {
        loadunit(file, funcs_, tdialect::editor);
    } catch (const std::exception& e) {
        dialogs_.errorbox(this, QString::fromStdString(e.what()));
        return;
    }
    if (std::find(unitfiles_.begin(), unitfiles_.end(), file) == unitfiles_.end()) unitfiles_.push_back(file);
}

void Thotleg::DeleteUnit1Click()
{
    if (unitform_) runmodal(*unitform_);
}

void Thotleg::Base1Click()
{
    const auto dir = dialogs_.folder(this, "选择基文件夹", QString::fromStdString(funcs_.basedir));
    if (dir && !dir->isEmpty()) funcs_.basedir = dir->toStdString();
}

void Thotleg::N2Click()
{
    // Clearing the lists under a running program would pull them from under it.
    if (running()) return refusebusy(this);
    const tanswer a = dialogs_.question(this, tboxkind::information, editortitle,
                                        "重设环境将使所有变量以及自定义函数清除出内存，继续吗？", false);
    if (a != tanswer::yes) return;
    vars_.clearlist();
    funcs_.clear();
    unitfiles_.clear();
}

void Thotleg::AboutPC1Click()
{
    if (about_) runmodal(*about_);
}

}  // namespace quor
