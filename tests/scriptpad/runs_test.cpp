// The editor's runs: the function combo and its run-button rule, type-ahead, Debug procedure
// with its faults and the marked failing line, Stop, and what may happen during a run.
#include <gtest/gtest.h>

#include "bigstack.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <fstream>

#include "padfixture.h"
#include "runfuncdialog.h"
#include "variables.h"

using quortest::events;
using quortest::pad;

namespace {

std::vector<std::string> items(QComboBox* box)
{
    std::vector<std::string> out;
    for (int i = 0; i < box->count(); ++i) out.push_back(box->itemText(i).toStdString());
    return out;
}

double value(pad& p, const std::string& name)
{
    return p.ed().vars().getvalue(name, &p.ed().funcs(), &p.ed().memo(), p.ed().session());
}

TEST(runs, functioncombofollowsthetext)
{
    struct row {
        std::string text;
        std::vector<std::string> names;
        bool runbtn;
    };
    const row rows[] = {
        {"function y=f(x)", {}, true},   // a head on the last line is not listed
        {"function y=f(x)\nendfunction", {"f"}, false},
        {"a:=1\nfunction r=beta(x)\nr:=x\nendfunction\nfunction r=alpha(x)\nendfunction", {"beta", "alpha"}, false},
        {"a:=1\nb:=2", {}, true},
        {"", {}, true},
    };
    pad p;
    for (const row& r : rows) {
        p.type(r.text);
        EXPECT_EQ(items(p.ed().selbox), r.names) << r.text;
        EXPECT_EQ(p.ed().selbox->currentText().toStdString(), r.names.empty() ? "" : r.names[0]) << r.text;
        EXPECT_EQ(p.ed().runbtn->isEnabled(), r.runbtn) << r.text;
        EXPECT_TRUE(p.ed().Run1->isEnabled()) << r.text;
    }
}

TEST(runs, typeahead)
{
    pad p;
    p.type("function r=alpha(x)\nendfunction\nfunction r=beta(x)\nendfunction\nfunction r=Beta2(x)\nendfunction");
    QLineEdit* edit = p.ed().selbox->lineEdit();
    struct row {
        QString typed;
        QString after;
        QString selected;
    };
    const row rows[] = {{"b", "beta", "beta"}, {"x", "x", ""}, {"B", "Beta2", "Beta2"}, {"al", "alpha", "alpha"},
                        {"betax", "betax", ""}, {"", "", ""}};
    for (const row& r : rows) {
        edit->setText(r.typed);
        edit->deselect();
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, r.typed.isEmpty() ? "a" : r.typed.right(1));
        // Sent where the keyboard delivers it: to the combo, and to its line edit directly.
        QApplication::sendEvent(p.ed().selbox, &up);
        EXPECT_EQ(p.ed().selbox->currentText(), r.after) << r.typed.toStdString();
        EXPECT_EQ(edit->selectedText(), r.selected) << r.typed.toStdString();
    }
}

TEST(runs, debugprocedure)
{
    pad p;
    p.ed().Run1Click();
    EXPECT_EQ(p.take(), events{"message: Quor Editor|没有找到程序！"});

    p.type("if(1)\nx:=1");
    p.ed().Run1Click();
    EXPECT_EQ(p.take(), events{"message: Quor Editor|Error on mismatched on if on if(1)"});
    EXPECT_EQ(p.memo(), std::vector<std::string>{"Error on mismatched on if on if(1)"});
    EXPECT_TRUE(p.ed().runbtn->isEnabled());
    EXPECT_FALSE(p.ed().vars().varexists("x"));

    // Variables stay for the next run; the result pane keeps every line.
    p.type("a:=1;;b:=2\nprint('sum 'a+b)");
    p.ed().Run1Click();
    p.type("c:=a+b\nprint('c='c)");
    p.ed().Run1Click();
    EXPECT_EQ(value(p, "c"), 3);
    EXPECT_EQ(p.memo(), (std::vector<std::string>{"Error on mismatched on if on if(1)", "sum 3", "c=3"}));
    // The empty statement between the two ";" is the third one run; it says so in a box.
    EXPECT_EQ(p.take(), events{"message: Quor Editor|Date and operator not suitable"});
    EXPECT_EQ(p.ed().markedline(), -1);

    // A failing statement: the fault is reported and its line is marked.
    p.type("k:=0\nwhile(k<5)\nk:=k+1\nif(k=3)\nz:=ln(0)\nend\nend\nafter:=1");
    p.ed().Run1Click();
    EXPECT_EQ(p.take(), events{"message: Quor Editor|Critical error on compile: Main function"});
    EXPECT_EQ(p.memo().back(), "Critical error on compile at: Main function");
    EXPECT_EQ(value(p, "k"), 3);
    EXPECT_FALSE(p.ed().vars().varexists("after"));
    EXPECT_EQ(p.ed().markedline(), 4);
    EXPECT_EQ(p.ed().flowmemo->textCursor().blockNumber(), 4);
    p.type("k:=1");   // an edit takes the mark away
    EXPECT_EQ(p.ed().markedline(), -1);

    // Run from the menu on a text with function heads: the button is enabled after the run
    // and disabled again by the next change of the text.
    p.type("function y=f(x)\ny:=x\nendfunction");
    EXPECT_FALSE(p.ed().runbtn->isEnabled());
    p.ed().Run1->trigger();
    EXPECT_TRUE(p.ed().runbtn->isEnabled());
    p.type("function y=f(x)\ny:=x+1\nendfunction");
    EXPECT_FALSE(p.ed().runbtn->isEnabled());
}

const char* const runaway = "k:=0\nwhile(1)\nk:=k+1\nend";

TEST(runs, stopendsarunawayloop)
{
    pad p;
    p.type(runaway);
    bool duringrun = false;
    QTimer::singleShot(50, [&] {
        duringrun = !p.ed().Run1->isEnabled() && p.ed().stopaction->isEnabled() && p.ed().running();
        p.ed().stopaction->trigger();
    });
    p.ed().Run1Click();
    EXPECT_TRUE(duringrun);
    EXPECT_EQ(p.memo(), std::vector<std::string>{"Stopped by the user: Main function"});
    EXPECT_TRUE(p.take().empty());   // no fault box
    EXPECT_GT(value(p, "k"), 0);
    EXPECT_FALSE(p.ed().running());
    EXPECT_TRUE(p.ed().Run1->isEnabled());
    EXPECT_TRUE(p.ed().runbtn->isEnabled());
    EXPECT_FALSE(p.ed().stopaction->isEnabled());
    // The next run is not stopped by the old request.
    p.type("m:=5");
    p.ed().Run1Click();
    EXPECT_EQ(value(p, "m"), 5);
}

TEST(runs, actionsduringarunwaitorarerefused)
{
    pad p;
    p.type(runaway);
    const std::string busy = "message: Quor Editor|程序正在运行，请先停止它（Esc）。";
    QTimer::singleShot(50, [&] {
        p.dialogs.answers = {"yes", "yes"};
        p.ed().N2Click();
        p.ed().New1Click();
        p.ed().Open1Click();
        p.ed().LoadUnit1Click();
        p.ed().runfuncbtnClick();
        p.ed().Run1Click();
        p.ed().stopClick();
    });
    p.ed().Run1Click();
    EXPECT_EQ(p.take(), (events(6, busy)));
    EXPECT_EQ(p.text(), runaway);
    EXPECT_GT(value(p, "k"), 0);   // the variables were not cleared
    EXPECT_EQ(p.dialogs.answers.size(), 2u);
}

TEST(runs, closingduringarunstopsitfirst)
{
    pad p;
    bool closed = false;
    p.ed().onclosed = [&] { closed = true; };
    p.ed().show();
    p.type(runaway);
    p.ed().flowmemo->document()->setModified(false);
    QTimer::singleShot(50, [&] { p.ed().close(); });
    p.ed().Run1Click();
    EXPECT_FALSE(closed);   // not while the run was on
    EXPECT_EQ(p.memo(), std::vector<std::string>{"Stopped by the user: Main function"});
    for (int i = 0; i < 5 && !closed; ++i) QApplication::processEvents();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(p.ed().isVisible());
    EXPECT_EQ(p.read("base.ini"), "[basedir]\npath=" + p.dir.str() + "\n[units]\ncount=0\n");
}

TEST(runs, debugfunctionopensthedialog)
{
    pad p;
    p.type("a:=1\nfunction y=sq(x)\ny:=x*x\nendfunction\nb:=2");
    p.ed().selbox->setEditText("nosuch");
    p.ed().runfuncbtnClick();
    EXPECT_EQ(p.take(), events{"message: Quor Editor|没有找到函数！"});
    EXPECT_TRUE(p.modals.empty());

    p.ed().selbox->setEditText("sq");
    p.ed().runfuncbtnClick();
    EXPECT_EQ(p.modals, std::vector<std::string>{"Running Function"});
    EXPECT_EQ(p.dialogs.clipboardtext.toStdString(), "function y=sq(x)\ny:=x*x\nendfunction\n");
    EXPECT_EQ(p.windows->runfunc->headline(), 1);
    EXPECT_EQ(p.windows->runfunc->endline(), 3);
}

}  // namespace

TEST(runs, recursionahundredthousandcallsdeep)
{
    if (!quor::fullnesting) GTEST_SKIP() << "sanitized builds run on a smaller stack";
    // The editor's runs have the stack for the deepest nesting the limits allow: 100,000
    // calls work, and one past the limit stops cleanly in the deepest body.
    pad p;
    const std::string unit = (p.dir.path / "deep.txt").string();
    std::ofstream(unit) << "function r=down(n)\nif(n<1)\nr:=0\nelse\nr:=down(n-1)+1\nend\nendfunction\n";
    const int limit = quor::maxcalldepth;
    p.type("load('" + unit + "')\nprint(down(100000))\nprint(down(" + std::to_string(limit + 100) + "))");
    p.ed().Run1Click();
    EXPECT_EQ(p.memo(), (std::vector<std::string>{"100000", quor::nestingmessage(limit),
                                                  "Error on function down inside compiler ",
                                                  "Critical error on compile at: down", std::to_string(limit - 1)}));
    EXPECT_EQ(p.take(), events{"message: Quor Editor|Critical error on compile: down"});
    EXPECT_EQ(p.ed().session().calldepth, 0);
}
