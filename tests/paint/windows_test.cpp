// The plotter's other windows: result window, board manager and unit manager.
#include <gtest/gtest.h>

#include <QTest>

#include <QMenu>

#include "flatedit.h"
#include "flatlist.h"
#include "flatmemo.h"
#include "funclist.h"
#include "flatbutton.h"
#include "manageform.h"
#include "paintfixture.h"
#include "resultform.h"
#include "unitmanage.h"

namespace {

using painttest::paintfixture;

TEST(ResultWindow, HangsBelowTheMainWindowAndToggles)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    quor::Tresultform* r = f.resultform();
    EXPECT_EQ(r->windowTitle().toStdString(), "resultform");
    EXPECT_EQ(r->pos(), QPoint(f.x(), f.y() + 71 - 5));
    EXPECT_EQ(r->size(), QSize(415, 218));
    EXPECT_FALSE(r->isVisible());
    f.res_btnClick();
    EXPECT_TRUE(r->isVisible());
    EXPECT_TRUE(f.showresult());
    f.res_btnClick();
    EXPECT_FALSE(r->isVisible());
    EXPECT_FALSE(f.showresult());
    f.res_btnClick();
    r->close();   // the close box hides it and clears showresult
    EXPECT_FALSE(r->isVisible());
    EXPECT_FALSE(f.showresult());
    f.res_btnClick();   // shown again
    EXPECT_TRUE(r->isVisible());
    t.stop();
    EXPECT_NE(t.readini().find("showresult=1"), std::string::npos);
    EXPECT_FALSE(r->isVisible());   // the closing step takes it away
}

TEST(ResultWindow, MenuSelectsCopiesAndClears)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    quor::Tresultform* r = f.resultform();
    QStringList entries;
    for (QAction* a : r->menu()->actions()) entries << a->text();
    EXPECT_EQ(entries, (QStringList{"Select all", "Copy", "Clear"}));
    f.memo()->append("Error on x");
    f.memo()->append("2");
    EXPECT_TRUE(r->resultmemo()->isReadOnly());
    r->copy1Click();   // nothing selected: the clipboard keeps what it had
    EXPECT_EQ(t.dialogs.clipboardtext.toStdString(), "");
    r->selectall1Click();
    r->copy1Click();
    EXPECT_EQ(t.dialogs.clipboardtext.toStdString(), "Error on x\n2");
    r->Clear1Click();
    EXPECT_EQ(r->resultmemo()->toPlainText().toStdString(), "");
}

// Opens the board manager from the main window; act runs while it is shown.
void boardmanager(quor::Tmainform& f, const std::function<void(quor::Tmanage_form&)>& act)
{
    f.runmodal = [&](QDialog& d) {
        d.show();
        act(static_cast<quor::Tmanage_form&>(d));
        d.hide();
        return 1;
    };
    f.show_btnClick();
}

TEST(BoardManager, ListsCallsUpAndClearsTheFirstSelection)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    boardmanager(f, [](quor::Tmanage_form& m) {
        EXPECT_EQ(m.windowTitle().toStdString(), "画板管理");
        EXPECT_EQ(m.windowlist()->count(), 0);
        // The list at the left, the three buttons in a column at its right.
        EXPECT_EQ(m.windowlist()->geometry(), QRect(0, 0, 185, 218));
        EXPECT_EQ(m.evokebutton()->geometry(), QRect(206, 16, 88, 28));
        EXPECT_EQ(m.delbutton()->geometry(), QRect(206, 60, 88, 28));
        EXPECT_EQ(m.okbutton()->geometry(), QRect(206, 104, 88, 28));
        m.evoke_btnClick();   // nothing selected: nothing happens
        m.del_btnClick();
    });
    EXPECT_TRUE(t.boards->calls.empty());

    for (const char* e : {"sin(x)", "sin(x)", "x^2"}) {
        f.edit()->setText(e);
        f.run_btnClick();
    }
    t.boards->showwnd(501, 0);
    t.boards->showwnd(502, 0);
    t.boards->calls.clear();
    boardmanager(f, [&](quor::Tmanage_form& m) {
        EXPECT_EQ(m.windowlist()->lines(), (QStringList{"sin(x)", "sin(x)", "x^2"}));
        EXPECT_EQ(m.handles(), (std::vector<std::int32_t>{501, 502, 503}));
        m.windowlist()->item(1)->setSelected(true);
        m.windowlist()->item(0)->setSelected(true);
        QTest::mouseClick(m.evokebutton(), Qt::LeftButton);   // the buttons do what their handlers do
        EXPECT_TRUE(t.boards->open[501].visible);
        EXPECT_TRUE(t.boards->open[502].visible);
        QTest::mouseClick(m.delbutton(), Qt::LeftButton);   // only the first selected line (in list order)
        EXPECT_EQ(m.windowlist()->lines(), (QStringList{"sin(x)", "x^2"}));
        EXPECT_EQ(m.handles(), (std::vector<std::int32_t>{502, 503}));
    });
    EXPECT_EQ(t.boards->calls, (std::vector<std::string>{"showwnd 501,5", "showwnd 502,5", "showwnd 501,0",
                                                         "destroy 501"}));
    EXPECT_EQ(t.boards->open.count(501), 0u);
    EXPECT_EQ(t.boards->open.count(502), 1u);
    // Shown again, the list is rebuilt from the windows open now.
    t.boards->destroy(503);
    boardmanager(f, [](quor::Tmanage_form& m) {
        EXPECT_EQ(m.windowlist()->lines(), (QStringList{"sin(x)"}));
        EXPECT_EQ(m.handles(), (std::vector<std::int32_t>{502}));
    });
}

// Opens the unit manager from the main window; act runs while it is shown.
void unitmanager(quor::Tmainform& f, const std::function<void(quor::Tunit_manage&)>& act)
{
    f.runmodal = [&](QDialog& d) {
        act(static_cast<quor::Tunit_manage&>(d));
        return 0;   // closed any way: the list is taken back all the same
    };
    f.load_btnClick();
}

TEST(UnitManager, LoadsEachUnitOnceAndDeletesTheFirstSelection)
{
    paintfixture t;
    const std::string a = t.dir.write("a.txt", "function r=fa(x)\nr:=x+1\nendfunction\n");
    const std::string b = t.dir.write("b.txt", "function r=fb(x)\nr:=x+2\nendfunction\n");
    t.dir.write("vivevazed.ini", "[units]\ncount=1\nunit0=" + a + "\n");
    quor::Tmainform& f = t.start();
    unitmanager(f, [&](quor::Tunit_manage& u) {
        EXPECT_EQ(u.windowTitle().toStdString(), "单元管理");
        EXPECT_EQ(u.unitlist()->geometry(), QRect(0, 0, 185, 218));
        EXPECT_EQ(u.okbutton()->geometry(), QRect(206, 104, 88, 28));
        EXPECT_EQ(u.unitlist()->lines(), (QStringList{QString::fromStdString(a)}));
        t.dialogs.answers = {a, b, b, t.dir.str(), "<cancel>"};
        for (int i = 0; i < 5; ++i) u.load_btnClick();
        EXPECT_EQ(u.unitlist()->lines(), (QStringList{QString::fromStdString(a), QString::fromStdString(b)}));
    });
    const std::string filter = "open: ||TXT FILE|*.txt|ALL FILE|*.*";
    EXPECT_EQ(t.dialogs.events, (std::vector<std::string>{filter, filter, filter, filter,
                                                          "error: Error on load function form: " + t.dir.str(),
                                                          filter}));
    EXPECT_EQ(f.unitfiles(), (std::vector<std::string>{a, b}));
    ASSERT_NE(f.funcs().findfunc("fb"), nullptr);

    // The first listed unit, loaded again by a changed file, is not loaded twice.
    t.dir.write("a.txt", "function r=fa(x)\nr:=x+100\nendfunction\n");
    unitmanager(f, [&](quor::Tunit_manage& u) {
        t.dialogs.answers = {a};
        u.load_btnClick();
        u.del_btnClick();   // no selection: nothing
        u.unitlist()->item(1)->setSelected(true);
        u.unitlist()->item(0)->setSelected(true);
        u.del_btnClick();
        EXPECT_EQ(u.unitlist()->lines(), (QStringList{QString::fromStdString(b)}));
    });
    EXPECT_EQ(f.funcs().findfunc("fa")->lines, (std::vector<std::string>{"r:=x+1"}));
    EXPECT_EQ(f.unitfiles(), (std::vector<std::string>{b}));
    // Deleted units keep working until the program ends, and are not loaded next time.
    f.edit()->setText("fa(x)");
    f.run_btnClick();
    EXPECT_EQ(t.boards->calls.front(), "create fa(x)|x");
    t.stop();
    EXPECT_NE(t.readini().find("count=1\nunit0=" + b + "\n"), std::string::npos);
}

}  // namespace
