// The plotter's controls: the main window's buttons share one look and never take the
// focus from the edit box; the board manager's OK button closes it as accepted.
#include <gtest/gtest.h>

#include <QTest>

#include "flatbutton.h"
#include "manageform.h"
#include "paintfixture.h"

namespace {

TEST(PaintControls, ButtonsShowRedBoldCaptionsAndTakeNoFocus)
{
    painttest::paintfixture t;
    quor::Tmainform& f = t.start();
    for (const char* name : {"mini_btn", "top_btn", "exit_btn", "run_btn", "res_btn", "show_btn", "load_btn",
                             "chg_btn", "back_btn", "about_btn", "main_btn"}) {
        quor::tflatbutton* b = f.button(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->colours().text, QColor(0xFF, 0x00, 0x00)) << name;
        EXPECT_EQ(b->colours().face, quor::tflatcolours{}.face) << name;
        EXPECT_TRUE(b->font().bold()) << name;
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << name;
    }
}

TEST(PaintControls, BoardManagerOkAccepts)
{
    painttest::paintfixture t;
    quor::Tmainform& f = t.start();
    int result = -1;
    f.runmodal = [&](QDialog& d) {
        d.setResult(QDialog::Rejected);
        d.show();
        QTest::mouseClick(static_cast<quor::Tmanage_form&>(d).okbutton(), Qt::LeftButton);
        result = d.result();
        const bool open = d.isVisible();
        d.hide();
        EXPECT_FALSE(open);
        return result;
    };
    f.show_btnClick();
    EXPECT_EQ(result, int(QDialog::Accepted));
}

}  // namespace
