// The plot flow against real plot windows: the window gets the expression as its caption,
// its handle lands in y, and the board manager calls it up and clears it away.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWindow>

#include "flatedit.h"
#include "flatlist.h"
#include "manageform.h"
#include "paintfixture.h"
#include "plotboards.h"
#include "plotform.h"
#include "resultform.h"

namespace {

TEST(PaintRealWindows, PlotListCallUpAndClear)
{
    painttest::paintfixture t;
    quor::tplotboards* real = nullptr;
    t.factory = [&](quor::tsession& s, quor::tdialogs& d, quor::tvarlist& globals) {
        auto b = std::make_unique<quor::tplotboards>(s, d, globals);
        real = b.get();
        return b;
    };
    quor::Tmainform& f = t.start();
    ASSERT_NE(real, nullptr);
    for (const char* e : {"sin(x)*x", "tan(x)"}) {
        f.edit()->setText(e);
        f.run_btnClick();
    }
    const auto boards = real->list();
    ASSERT_EQ(boards.size(), 2u);
    EXPECT_EQ(boards[0].caption.toStdString(), "sin(x)*x");
    EXPECT_EQ(boards[1].caption.toStdString(), "tan(x)");
    EXPECT_TRUE(boards[0].visible);
    EXPECT_EQ(t.var("y"), boards[1].handle);
    EXPECT_TRUE(t.dialogs.events.empty());

    real->showwnd(boards[0].handle, quor::swhide);
    f.runmodal = [&](QDialog& d) {
        auto& m = static_cast<quor::Tmanage_form&>(d);
        m.show();
        EXPECT_EQ(m.windowlist()->lines(), (QStringList{"sin(x)*x", "tan(x)"}));
        m.windowlist()->item(0)->setSelected(true);
        m.evoke_btnClick();
        EXPECT_TRUE(real->list()[0].visible);
        m.windowlist()->item(1)->setSelected(true);
        m.del_btnClick();
        m.hide();
        return 1;
    };
    f.show_btnClick();
    ASSERT_EQ(real->list().size(), 1u);
    EXPECT_EQ(real->list()[0].caption.toStdString(), "tan(x)");
    t.stop();
    EXPECT_TRUE(real->list().empty());
}

// The result window and the plot windows stay in front of the main window, where plots are
// drawn from, also after the main window changed its stay-on-top state; plot windows still
// belong to the result window, hidden or not. A new plot comes to the front.
TEST(PaintRealWindows, ResultAndPlotWindowsStayInFrontOfTheMainWindow)
{
    painttest::paintfixture t;
    quor::tplotboards* real = nullptr;
    t.factory = [&](quor::tsession& s, quor::tdialogs& d, quor::tvarlist& globals) {
        auto b = std::make_unique<quor::tplotboards>(s, d, globals);
        real = b.get();
        return b;
    };
    quor::Tmainform& f = t.start();
    f.show();
    f.res_btnClick();
    quor::Tresultform* r = f.resultform();
    ASSERT_TRUE(r->isVisible());
    EXPECT_EQ(r->windowType(), Qt::Dialog);
    EXPECT_EQ(r->windowHandle()->transientParent(), f.windowHandle());

    f.res_btnClick();   // hidden: plot windows still go in front of the main window
    f.edit()->setText("sin(x)");
    f.run_btnClick();
    ASSERT_EQ(real->list().size(), 1u);
    QWidget* plot = real->windows().find(real->list()[0].handle);
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->parentWidget(), r);
    EXPECT_EQ(plot->windowHandle()->transientParent(), f.windowHandle());
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), plot);

    // Stay on top and back, the result window shown or not: it and every plot window stay
    // linked to the main window as it is now.
    for (int i = 0; i < 4; ++i) {
        if (i == 2) f.res_btnClick();
        f.top_btnClick();
        EXPECT_EQ(r->isVisible(), i >= 2) << i;
        if (i < 2) f.res_btnClick();
        EXPECT_EQ(r->windowHandle()->transientParent(), f.windowHandle()) << i;
        EXPECT_EQ(plot->windowHandle()->transientParent(), f.windowHandle()) << i;
        if (i < 2) f.res_btnClick();
        f.run_btnClick();
        plot = real->windows().find(real->list().back().handle);
        ASSERT_NE(plot, nullptr);
        EXPECT_EQ(plot->windowHandle()->transientParent(), f.windowHandle()) << i;
    }
    t.stop();
}

}  // namespace
