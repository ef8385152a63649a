// The run-function dialog: the report line by line, the parameter question with each answer,
// the head edited live, sendback (whole or not at all), switching functions, saving the report.
#include <gtest/gtest.h>

#include <QToolButton>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTimer>

#include "padfixture.h"
#include "runfuncdialog.h"

using quortest::events;
using quortest::pad;
using lines = std::vector<std::string>;

namespace {

// The closing line holds a carriage return, which the result box shows as a line break.
const lines closing{"Is this result similar with the result you except?",
                    std::string(" If not ,please rework it or mail to: ") + quor::contactaddress};
const std::string line22(22, '-');
const std::string line35(35, '-');

const char* const unit =
    "function y=mul(a,b)\ny:=a*b\nprint('product 'y)\nendfunction\n"
    "function r=twice(x)\nr:=2*x\nendfunction";

struct dialogpad : pad {
    quor::Trunfuncdialog& d() { return *windows->runfunc; }
    // Loads the named function as Debug function does.
    void load(const std::string& name)
    {
        ed().selbox->setEditText(QString::fromStdString(name));
        ed().runfuncbtnClick();
        d().FormShow();
    }
    void init(const std::string& text)
    {
        d().initializtionmemoEnter();
        d().initializtionmemo->insertPlainText(QString::fromStdString(text));
    }
    lines report() { return quor::textlines(d().resultmemo); }
};

TEST(runfunc, fullreport)
{
    dialogpad p;
    p.type(unit);
    p.load("mul");
    EXPECT_EQ(p.d().funcbar->text(), "function y=mul(a,b)");
    EXPECT_EQ(quor::textlines(p.d().argumentmemo), (lines{"y:=a*b", "print('product 'y)"}));
    EXPECT_EQ(quor::textlines(p.d().initializtionmemo), lines{quor::placeholderline.toStdString()});
    p.init("a:=3;b:=4\nprint('ready')");
    p.d().runbtnClick();
    lines want{"Initializtion Result :", "ready", line22, "Function: mul Result:", "product 12", line35,
               "All variables used in this function:", "a=3", "b=4", "y=12"};
    want.insert(want.end(), closing.begin(), closing.end());
    EXPECT_EQ(p.report(), want);
    EXPECT_TRUE(p.take().empty());
    // The editor's own variables and memo are untouched by the dialog's runs.
    EXPECT_FALSE(p.ed().vars().varexists("a"));
    EXPECT_TRUE(p.memo().empty());
    EXPECT_TRUE(p.d().runaction->isEnabled());
}

TEST(runfunc, parameterquestioneachanswer)
{
    struct row {
        std::string answer;
        bool bodyruns;
    };
    const row rows[] = {{"yes", true}, {"cancel", true}, {"no", false}};
    for (const row& r : rows) {
        dialogpad p;
        p.type(unit);
        p.load("mul");
        p.init("a:=3");
        p.dialogs.answers = {r.answer};
        p.d().runbtnClick();
        const events boxes = p.take();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes[0], "question: Quor Editor|该变量 :b 没有初始化!继续吗? ") << r.answer;
        lines report{"Initializtion Result :", line22};
        // Going on, the body runs with b unset (the interpreter says what it makes of that).
        if (r.bodyruns) report.insert(report.end(), {"Error on Uninitialized variable: b", "Function: mul Result:"});
        const lines got = p.report();
        ASSERT_GE(got.size(), report.size()) << r.answer;
        EXPECT_EQ(lines(got.begin(), got.begin() + static_cast<long>(report.size())), report) << r.answer;
        if (r.bodyruns) {
            EXPECT_EQ(lines(got.end() - 2, got.end()), closing);
            EXPECT_NE(std::find(got.begin(), got.end(), "a=3"), got.end());
        } else {
            EXPECT_EQ(got, report);
            EXPECT_EQ(boxes.size(), 1u);
        }
        EXPECT_TRUE(p.d().runaction->isEnabled()) << r.answer;
    }
}

TEST(runfunc, placeholderandfaults)
{
    dialogpad p;
    p.type(unit);
    p.load("twice");
    // Untouched, the placeholder line runs as a statement and x stays without a value.
    p.dialogs.answers = {"yes"};
    p.d().runbtnClick();
    events got = p.take();
    ASSERT_GE(got.size(), 2u);
    EXPECT_NE(std::find(got.begin(), got.end(), "question: Quor Editor|该变量 :x 没有初始化!继续吗? "), got.end());
    EXPECT_EQ(p.report()[2], "Error on Uninitialized variable: x");

    // The placeholder goes when the memo is entered, but not once its first line was edited.
    p.d().initializtionmemo->setPlainText(quor::placeholderline + "!\nx:=1");
    p.d().initializtionmemoEnter();
    EXPECT_EQ(quor::textlines(p.d().initializtionmemo), (lines{quor::placeholderline.toStdString() + "!", "x:=1"}));
    p.d().initializtionmemo->setPlainText(quor::placeholderline + "\nx:=1");
    p.d().initializtionmemoEnter();
    EXPECT_EQ(quor::textlines(p.d().initializtionmemo), lines{"x:=1"});

    // Block faults: in the initialisation nothing runs; in the body the listing still follows.
    p.d().initializtionmemo->setPlainText("while(1)");
    p.d().runbtnClick();
    EXPECT_EQ(p.take(), events{"message: Quor Editor|Error on mismatched on while on while(1)"});
    EXPECT_EQ(p.report(), lines{"Error on mismatched on while on while(1)"});
    p.d().initializtionmemo->setPlainText("x:=5");
    quortest::typeinto(p.d().argumentmemo, "if(x>1)");
    p.d().argumentmemo->document()->setModified(true);
    p.d().runbtnClick();
    EXPECT_EQ(p.take(), events{"message: Quor Editor|Error on mismatched on if on if(x>1)"});
    lines want{"Initializtion Result :", line22, "Error on mismatched on if on if(x>1)", line35,
               "All variables used in this function:", "x=5"};
    want.insert(want.end(), closing.begin(), closing.end());
    EXPECT_EQ(p.report(), want);
}

TEST(runfunc, headeditedlive)
{
    dialogpad p;
    p.type(unit);
    p.load("twice");
    p.d().funcbar->setText("function r=twice(x,k)");
    EXPECT_EQ(p.ed().lines()[4], "function r=twice(x,k)");
    EXPECT_EQ(p.d().funcitem().params, (lines{"x", "k"}));
    p.d().funcbar->setText("function r=twice()");
    EXPECT_TRUE(p.d().funcitem().params.empty());
    p.init("x:=4");
    p.d().runbtnClick();
    EXPECT_TRUE(p.take().empty());   // no parameter left to ask about
    EXPECT_EQ(p.report()[p.report().size() - 4], "x=4");
    EXPECT_EQ(p.report()[p.report().size() - 3], "r=8");
}

TEST(runfunc, sendbackreplacesthebodywholly)
{
    dialogpad p;
    p.type(std::string(unit) + "\nafter:=1");
    p.load("mul");
    quortest::typeinto(p.d().argumentmemo, "y:=a+b");
    p.d().sendbkbtnClick();
    EXPECT_EQ(p.text(), "function y=mul(a,b)\ny:=a+b\nendfunction\nfunction r=twice(x)\nr:=2*x\nendfunction\nafter:=1");
    EXPECT_EQ(p.d().endline(), 2);
    // The second sendback replaces the body written by the first.
    quortest::typeinto(p.d().argumentmemo, "t:=a\ny:=t*b\nprint(y)");
    p.d().sendbkbtnClick();
    EXPECT_EQ(p.ed().lines()[4], "endfunction");
    EXPECT_EQ(p.d().endline(), 4);
    // An empty body leaves the head and the end line.
    p.d().argumentmemo->clear();
    p.d().sendbkbtnClick();
    EXPECT_EQ(p.text(), "function y=mul(a,b)\nendfunction\nfunction r=twice(x)\nr:=2*x\nendfunction\nafter:=1");
    EXPECT_FALSE(p.d().argumentmemo->document()->isModified());
    EXPECT_TRUE(p.take().empty());

    // The loaded lines no longer hold the function: the editor text stays as it is.
    quortest::typeinto(p.d().argumentmemo, "y:=0");
    p.type("x:=1\ny:=2\nz:=3");
    p.d().sendbkbtnClick();
    EXPECT_EQ(p.take(), events{"error: Error on sendback function expression!"});
    EXPECT_EQ(p.text(), "x:=1\ny:=2\nz:=3");
}

TEST(runfunc, functionwithoutendline)
{
    dialogpad p;
    p.type("function y=f(x)\ny:=x+1\nprint(y)");
    p.load("f");
    EXPECT_EQ(p.d().endline(), 3);
    EXPECT_EQ(quor::textlines(p.d().argumentmemo), (lines{"y:=x+1", "print(y)"}));
    quortest::typeinto(p.d().argumentmemo, "y:=x-1");
    EXPECT_TRUE(p.d().sendback());
    EXPECT_EQ(p.text(), "function y=f(x)\ny:=x-1");
    EXPECT_EQ(p.d().endline(), 2);
}

TEST(runfunc, typedbodyrunsonlyforafunctionloadedwithone)
{
    // A function loaded without body lines never runs, whatever is typed into the body box.
    for (const bool hollow : {true, false}) {
        dialogpad p;
        p.type(hollow ? "function y=f(x)\nendfunction" : "function y=f(x)\ny:=1\nendfunction");
        p.load("f");
        p.d().argumentmemo->insertPlainText("print('typed')\n");
        ASSERT_TRUE(p.d().argumentmemo->document()->isModified());
        p.init("x:=1");
        p.d().runbtnClick();
        const lines r = p.report();
        EXPECT_EQ(std::find(r.begin(), r.end(), "typed") != r.end(), !hollow);
        if (hollow) {
            EXPECT_TRUE(r.empty());
        }
        EXPECT_EQ(p.text(), hollow ? "function y=f(x)\nendfunction" : "function y=f(x)\ny:=1\nendfunction");
    }
}

TEST(runfunc, selectandquitwithachangedbody)
{
    struct row {
        std::string answer;
        bool sentback;
        events boxes;
    };
    const row rows[] = {
        {"cancel", false, {"question: Quor Editor|Send changes back"}},
        {"yes", true, {"question: Quor Editor|Send changes back"}},
        {"no", false, {"question: Quor Editor|Send changes back", "message: Quor Editor|All you have amended will be lost!"}},
    };
    for (const row& r : rows) {
        dialogpad p;
        p.type(unit);
        p.load("mul");
        quortest::typeinto(p.d().argumentmemo, "y:=0");
        p.d().funcselbox->setCurrentText("twice");
        p.dialogs.answers = {r.answer};
        p.d().selbtnClick();
        EXPECT_EQ(p.take(), r.boxes) << r.answer;
        EXPECT_EQ(p.ed().lines()[1], r.sentback ? "y:=0" : "y:=a*b") << r.answer;
        EXPECT_EQ(p.d().funcitem().name, r.answer == "cancel" ? "mul" : "twice") << r.answer;
    }
    for (const row& r : rows) {
        dialogpad p;
        p.type(unit);
        p.load("mul");
        p.d().show();
        quortest::typeinto(p.d().argumentmemo, "y:=0");
        p.dialogs.answers = {r.answer};
        p.d().quitbtnClick();
        const events got = p.take();
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got[0], "question: Quor Editor|函数体已经改变，是否要保存它们？") << r.answer;
        if (r.answer == "no") {
            EXPECT_EQ(got.at(1), "message: Quor Editor|所有修改将被取消");
        }
        EXPECT_EQ(p.d().isVisible(), r.answer == "cancel") << r.answer;
        EXPECT_EQ(p.ed().lines()[1], r.sentback ? "y:=0" : "y:=a*b") << r.answer;
    }
}

TEST(runfunc, savereport)
{
    dialogpad p;
    p.type(unit);
    p.load("twice");
    p.init("x:=2");
    p.d().runbtnClick();
    const std::string file = (p.dir.path / "report.txt").string();
    p.dialogs.answers = {file, (p.dir.path / "no" / "r.txt").string()};
    auto* button = p.d().findChild<QToolButton*>("saverptbtn");   // the tool button saves it
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip().toStdString(), "保存结果");
    button->click();
    EXPECT_EQ(p.read("report.txt"), "Initializtion Result :\r\n" + line22 + "\r\nFunction: twice Result:\r\n" + line35 +
                                         "\r\nAll variables used in this function:\r\nx=2\r\nr=4\r\n" + closing[0] + "\r\n" +
                                         closing[1] + "\r\n");
    p.d().saverptbtnClick();
    const events got = p.take();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[2].rfind("warning: Quor Editor|无法保存 ", 0), 0u) << got[2];
}

TEST(runfunc, stopandcloseduringarun)
{
    dialogpad p;
    p.type("function r=spin(n)\nr:=0\nwhile(1)\nr:=r+1\nend\nendfunction");
    p.load("spin");
    p.d().show();
    p.init("n:=1");
    bool controls = false;
    QTimer::singleShot(50, [&] {
        controls = !p.d().runaction->isEnabled() && p.d().stopaction->isEnabled() && p.ed().running();
        quortest::typeinto(p.d().argumentmemo, "r:=1");
        p.d().sendbkbtnClick();   // refused: the run goes on
        p.d().close();            // waits for the run, which it stops
    });
    p.d().runbtnClick();
    EXPECT_TRUE(controls);
    EXPECT_EQ(p.take(), events{"message: Quor Editor|程序正在运行，请先停止它（Esc）。"});
    EXPECT_EQ(p.report().back(), "Stopped by the user: spin");
    EXPECT_EQ(p.ed().lines()[3], "r:=r+1");
    EXPECT_FALSE(p.ed().running());
    for (int i = 0; i < 5 && p.d().isVisible(); ++i) QApplication::processEvents();
    EXPECT_FALSE(p.d().isVisible());
}

}  // namespace

namespace {

// A fixed size: the designed client area below the menu bar, or more where the controls
// need it; every tool button in sight.
TEST(runfunc, fixedsizewitheverycontrolinsight)
{
    dialogpad p;
    quor::Trunfuncdialog& d = p.d();
    d.show();
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_EQ(d.size(), d.minimumSize());
    EXPECT_TRUE(d.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint));
    EXPECT_FALSE(d.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    auto* menus = d.findChild<QMenuBar*>();
    ASSERT_NE(menus, nullptr);
    EXPECT_EQ(d.size(), QSize(571, 312 + menus->sizeHint().height()).expandedTo(d.layout()->totalMinimumSize()));
    auto* bar = d.findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    int shown = 0;
    for (QAction* a : bar->actions()) {
        QWidget* w = bar->widgetForAction(a);
        if (!w || a->isSeparator()) continue;
        ++shown;
        EXPECT_TRUE(w->isVisible()) << a->toolTip().toStdString();
        EXPECT_TRUE(bar->rect().contains(w->geometry())) << a->toolTip().toStdString();
    }
    EXPECT_GE(shown, 12);   // head, list, ten tool buttons, the spacer
    auto* status = d.findChild<QStatusBar*>();
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(status->isSizeGripEnabled());
    // The two halves share the width; the body box is twice the height of the first box.
    EXPECT_NEAR(d.initializtionmemo->width(), d.resultmemo->width(), 4);
    EXPECT_NEAR(d.argumentmemo->height(), 2 * d.initializtionmemo->height(), 8);
    d.hide();
}

}  // namespace
