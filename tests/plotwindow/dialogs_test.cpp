// The plot window's dialogs: properties (fill on show, OK and Cancel, enabling, pen lists),
// the environment dialog (values, typed moves and stretches, a new expression), the label
// delete dialog, and the number fields' key filter.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QLayout>
#include <QTabWidget>
#include <QTest>

#include "environmentset.h"
#include "numfilter.h"
#include "plotboard.h"
#include "setform.h"
#include "textdel.h"
#include "windowfixture.h"

using namespace quor;
using quortest::program;

namespace {

// A modal answer that runs f on the dialog of type D, then gives the dialog's result.
template <class D, class F>
std::function<int(QDialog&)> on(F f)
{
    return [f](QDialog& d) {
        auto* dialog = dynamic_cast<D*>(&d);
        EXPECT_NE(dialog, nullptr);
        if (dialog) f(*dialog);
        return d.result();
    };
}

}  // namespace

TEST(SetForm, FillsFromTheRecordAndDefaultsShowNotCopy)
{
    program p;
    Tcostructform* w = p.open("sin(x)*x");
    w->board()->record().description = {"one", "two"};
    p.modal.push_back(on<Tsetform>([](Tsetform& f) {
        EXPECT_EQ(f.funcmode->currentText(), "NotCopy");
        EXPECT_EQ(f.axismode->currentText(), "NotCopy");
        EXPECT_EQ(f.funcstyle->currentText(), "Solid");
        EXPECT_EQ(f.viewmaxx->value(), 535);
        EXPECT_EQ(f.viewmaxy->value(), 329);
        EXPECT_EQ(f.rangemin->text(), "1");
        EXPECT_EQ(f.rangemax->text(), "20");
        EXPECT_TRUE(f.fixedrangebox->isChecked());
        EXPECT_TRUE(f.drawaxisbox->isChecked());
        EXPECT_FALSE(f.viewminx->isEnabled());   // fixedrect unchecked
        EXPECT_TRUE(f.rangemin->isEnabled());
        EXPECT_EQ(f.captionedit->text(), "sin(x)*x");
        EXPECT_EQ(f.exprview->text(), "sin(x)*x");
        EXPECT_EQ(f.varview->text(), "x");
        EXPECT_EQ(f.descmemo->toPlainText(), "one\ntwo");
        EXPECT_EQ(f.windowTitle(), "Rozez Property");
        f.okbtn->click();
    }));
    w->properties();
    EXPECT_EQ(w->board()->record().funcpen.mode, trastermode::copy);
    EXPECT_EQ(w->board()->record().description, (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(p.modal.empty());
}

TEST(SetForm, OkCopiesBackCancelKeeps)
{
    for (bool ok : {true, false}) {
        program p;
        Tcostructform* w = p.open("x");
        p.dialogs.answers = {"#ff0000"};
        p.modal.push_back(on<Tsetform>([ok](Tsetform& f) {
            f.captionedit->setText("Board");
            f.funcwidth->setValue(3);
            f.funcmode->setCurrentIndex(3);   // "Copy": inverts
            f.funcstyle->setCurrentIndex(2);
            f.rangemin->setText("-5");
            f.rangemax->setText("5");
            f.xtitleedit->setText("X");
            f.descmemo->setPlainText("a\nb");
            f.bkcolourbtn->click();
            (ok ? f.okbtn : f.cancelbtn)->click();
        }));
        w->properties();
        const trecordinfo& r = w->board()->record();
        EXPECT_EQ(w->windowTitle(), ok ? "Board" : "x");
        EXPECT_EQ(r.funcpen.width, ok ? 3 : 1);
        EXPECT_EQ(r.funcpen.mode, ok ? trastermode::invert : trastermode::copy);
        EXPECT_EQ(r.funcpen.style, ok ? tpenstyle::dot : tpenstyle::solid);
        EXPECT_EQ(r.setting.xtitle.str(), ok ? "X" : "");
        EXPECT_EQ(r.description, ok ? (std::vector<std::string>{"a", "b"}) : (std::vector<std::string>{}));
        EXPECT_EQ(w->board()->colour(), ok ? makecolour(255, 0, 0) : silver);
        // OK resamples the home view over the new range.
        EXPECT_DOUBLE_EQ(r.setting.view.xmin, ok ? -5.0 : 1.0);
        EXPECT_NEAR(w->board()->current().view.ymax, ok ? 5.0 : 20.0, 1e-9);
        // The curve of a pen in invert mode over silver is its inverse.
        if (ok) {
            const int x = 300, y = int(w->board()->samples()[x].y);
            EXPECT_EQ(w->surface().pixel(x, y) & 0xFFFFFF, 0x00FFFFu);   // inverted red background: cyan
        }
    }
}

TEST(SetForm, BadRangeIsReportedAndChangesNothing)
{
    program p;
    Tcostructform* w = p.open("x");
    p.modal.push_back(on<Tsetform>([](Tsetform& f) {
        f.captionedit->setText("Changed");
        f.rangemax->setText("");
        f.okbtn->click();
        EXPECT_FALSE(f.confirmed());
    }));
    w->properties();
    EXPECT_EQ(p.dialogs.events, std::vector<std::string>{"error: Invalid float "});
    EXPECT_EQ(w->windowTitle(), "x");
}

TEST(SetForm, EnablingFollowsTheCheckBoxesAndValuesStay)
{
    program p;
    Tcostructform* w = p.open("x");
    p.modal.push_back(on<Tsetform>([](Tsetform& f) {
        f.xtitleedit->setText("kept");
        f.drawaxisbox->setChecked(false);
        EXPECT_FALSE(f.xtitleedit->isEnabled());
        EXPECT_FALSE(f.xstepspin->isEnabled());
        f.fixedrectbox->setChecked(true);
        EXPECT_TRUE(f.viewmaxy->isEnabled());
        f.fixedrangebox->setChecked(false);
        EXPECT_FALSE(f.rangemax->isEnabled());
        f.funcmode->setEditText("Xor");   // none of the items: the pen keeps its mode
        f.okbtn->click();
    }));
    w->properties();
    EXPECT_EQ(w->board()->record().setting.xtitle.str(), "kept");
    EXPECT_FALSE(w->board()->record().setting.drawaxis);
    EXPECT_TRUE(w->board()->record().setting.view.fixedrect);
    EXPECT_EQ(w->board()->record().funcpen.mode, trastermode::copy);
}

TEST(NumFilter, AcceptsDigitsOnePointAndALeadingMinus)
{
    struct keycase {
        char key;
        const char* text;
        int caret;
        bool accepted;
    };
    for (const keycase& c : {keycase{'5', "12", 2, true}, keycase{'-', "12", 0, true}, keycase{'-', "12", 1, false},
                             keycase{'-', "-12", 0, false}, keycase{'.', "1.2", 3, false}, keycase{'.', "12", 1, true},
                             keycase{'a', "", 0, false}, keycase{'+', "", 0, false}, keycase{' ', "", 0, true},
                             keycase{'\b', "1", 1, true}, keycase{'~', "", 0, false}, keycase{'0', "", 0, true},
                             keycase{'9', "", 0, true}, keycase{'/', "", 0, false}, keycase{':', "", 0, false},
                             keycase{'!', "", 0, false}, keycase{'\x7f', "", 0, false}}) {
        EXPECT_EQ(numkeyaccepted(QChar(c.key), c.text, c.caret), c.accepted) << c.key << " in " << c.text;
    }
    EXPECT_TRUE(numkeyaccepted(QChar(0xE9), "", 0));   // beyond 128: unchecked
    EXPECT_TRUE(numkeyaccepted(QChar(129), "", 0));
    EXPECT_FALSE(numkeyaccepted(QChar(128), "", 0));
    QLineEdit edit;
    installnumfilter(&edit);
    QTest::keyClicks(&edit, "-1.2.3-x4");
    EXPECT_EQ(edit.text(), "-1.234");
    edit.clear();
    QTest::keyClicks(&edit, "3-");
    EXPECT_EQ(edit.text(), "3");
}

TEST(EnvironmentSet, FillsValuesAndMovesByTypedPoints)
{
    program p;
    Tcostructform* w = p.open("x^2");
    p.modal.push_back(on<TEnvironmentset>([&](TEnvironmentset& e) {
        EXPECT_EQ(e.baseexpr->text(), "x^2");
        EXPECT_EQ(e.basevar->text(), "x");
        EXPECT_FALSE(e.fixx->isEnabled());
        EXPECT_FALSE(e.thumbnail->pixmap().isNull());
        e.p1x->setText("3");
        e.fill1btn->click();
        EXPECT_EQ(e.p1y->text(), "9");
        e.p1x->setText("ln(0)");
        e.fill1btn->click();
        EXPECT_EQ(p.dialogs.events.back(), "error: Invalid float ln(0)");
        EXPECT_EQ(e.p1y->text(), "9");
        const std::size_t events = p.dialogs.events.size();
        e.p1x->setText("");   // nothing to work out: no box, the value stays
        e.fill1btn->click();
        EXPECT_EQ(p.dialogs.events.size(), events);
        EXPECT_EQ(e.p1y->text(), "9");
        e.fixedpoint = {7, 8};
        // Move (0,0) to (1,2); the fixed point is ignored without stretch.
        e.p1x->setText("0");
        e.p1y->setText("0");
        e.p2x->setText("1");
        e.p2y->setText("2");
        e.fixx->setText("abc");
        e.gobtn->click();
        EXPECT_EQ(w->board()->expression(), "(x-1)^2+2");
        EXPECT_EQ(std::pair(e.fixedpoint.x, e.fixedpoint.y), std::pair(7.0, 8.0));
        EXPECT_EQ(std::pair(e.point2.x, e.point2.y), std::pair(1.0, 2.0));
        e.p2x->setText("");
        e.gobtn->click();
        EXPECT_EQ(p.dialogs.events.back(), "error: Error on get data of point");
        EXPECT_EQ(w->board()->expression(), "(x-1)^2+2");
        e.okbtn->click();
    }));
    w->environment();
    EXPECT_TRUE(w->preparepopup()->actions()[3]->isEnabled());   // "表达式还原"
}

TEST(EnvironmentSet, StretchAboutTheFixedPoint)
{
    program p;
    Tcostructform* w = p.open("x");
    p.modal.push_back(on<TEnvironmentset>([&](TEnvironmentset& e) {
        e.stretchbox->setChecked(true);
        EXPECT_TRUE(e.fixx->isEnabled());
        EXPECT_TRUE(e.fillfixbtn->isEnabled());
        e.fixx->setText("0");
        e.fixy->setText("0");
        e.p1x->setText("1");
        e.p1y->setText("1");
        e.p2x->setText("2");
        e.p2y->setText("3");
        e.gobtn->click();
        e.sensitivity->setValue(5);
    }));
    w->environment();
    const tmoveinfo& m = w->board()->record().move;
    EXPECT_DOUBLE_EQ(m.xscale, 0.5);
    EXPECT_DOUBLE_EQ(m.yscale, 3.0);
    EXPECT_EQ(w->board()->record().sensitivity, 5);
}

TEST(EnvironmentSet, ModifyChecksAsksAndResets)
{
    struct modifycase {
        tplotflavour flavour;
        const char* text;
        const char* answer;
        const char* expected;
        const char* event;
    };
    const char* plotterq = "question: Confirm|Do you want change to this new function ,the preview one will be lost?";
    for (const modifycase& c :
         {modifycase{tplotflavour::plotter, "x^3", "yes", "x^3", plotterq},
          modifycase{tplotflavour::plotter, "x^3", "cancel", "(x-1)", plotterq},
          modifycase{tplotflavour::editor, "x^3", "no", "(x-1)", "question: Confirm|确定修改为这个函数表达式吗？"},
          modifycase{tplotflavour::plotter, "sin(x", "yes", "(x-1)", "message: |Error on sin(x"}}) {
        program p(c.flavour);
        Tcostructform* w = p.open("x");
        ASSERT_TRUE(w->applypointmove({0, 0}, {1, 0}, std::nullopt));
        p.dialogs.answers = {c.answer};
        p.modal.push_back(on<TEnvironmentset>([&](TEnvironmentset& e) {
            e.baseexpr->setText(c.text);
            e.modifybtn->click();
        }));
        w->environment();
        EXPECT_EQ(w->board()->expression(), c.expected);
        EXPECT_EQ(p.dialogs.events.back(), c.event);
        EXPECT_EQ(w->preparepopup()->actions()[3]->isEnabled(), std::string(c.expected) != c.text);
    }
}

TEST(TextDel, DeletesTheFirstSelectedLabelPerClick)
{
    program p;
    Tcostructform* w = p.open("x");
    trecordinfo& r = w->board()->record();
    for (const char* t : {"a", "b", "c"}) r.addlabel(10, 20, t);
    p.modal.push_back(on<Ttextdel>([](Ttextdel& d) {
        ASSERT_EQ(d.listbox->count(), 3);
        EXPECT_EQ(d.listbox->item(1)->text(), "b");
        d.listbox->item(1)->setSelected(true);
        d.listbox->item(2)->setSelected(true);
        d.deletebtn->click();   // the first selected only
        EXPECT_EQ(d.listbox->count(), 2);
        d.listbox->clearSelection();
        d.deletebtn->click();   // nothing selected: nothing
        d.okbtn->click();
    }));
    w->deletetext();
    ASSERT_EQ(r.labels.size(), 2u);
    EXPECT_EQ(r.labels[0].text, "a");
    EXPECT_EQ(r.labels[1].text, "c");
    EXPECT_EQ(r.labels[1].point.x, 10);
    // Without labels: an empty list, and Delete does nothing.
    r.labels.clear();
    p.modal.push_back(on<Ttextdel>([](Ttextdel& d) {
        EXPECT_EQ(d.listbox->count(), 0);
        d.deletebtn->click();
    }));
    w->deletetext();
    EXPECT_TRUE(r.labels.empty());
}

// A fixed dialog border at the designed client size, or larger where a page's controls
// need it: no page is squeezed below its minimum.
TEST(SetForm, FixedSizeWithRoomForEveryPage)
{
    quortest::scripteddialogs dialogs;
    Tsetform f(dialogs, nullptr);
    f.show();
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_EQ(f.size(), f.minimumSize());
    EXPECT_TRUE(f.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint));
    EXPECT_FALSE(f.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_GE(f.width(), 453);
    EXPECT_GE(f.height(), 299);
    const QSize need = f.layout()->totalMinimumSize();
    EXPECT_EQ(f.size(), need.expandedTo(QSize(453, 299)));
    auto* tabs = f.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 4);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QWidget* page = tabs->widget(i);
        EXPECT_GE(page->width(), page->minimumSizeHint().width()) << i;
        EXPECT_GE(page->height(), page->minimumSizeHint().height()) << i;
    }
}

TEST(SetForm, OkKeepsTheFirstListItemsAndAnEmptyDescription)
{
    const struct { int funcmode, axismode, style; const char* text; std::vector<std::string> description; } cases[] = {
        {0, 0, 0, "", {}},                // "Black" and "solid", the items at index 0; no line at all
        {0, 7, 3, "a", {"a"}},   // 7: the last item
        {7, 0, 0, "a\n\nb", {"a", "", "b"}},
        {1, 1, 1, "a\n", {"a", ""}},
    };
    for (const auto& c : cases) {
        program p;
        Tcostructform* w = p.open("x");
        trecordinfo& r = w->board()->record();
        r.funcpen = r.axispen = tpen{black, 1, trastermode::notcopy, tpenstyle::dashdot};
        r.description = {"old"};
        p.modal.push_back(on<Tsetform>([&c](Tsetform& f) {
            // The dialog opens on the record's pens.
            EXPECT_EQ(f.funcstyle->currentIndex(), int(tpenstyle::dashdot));
            EXPECT_EQ(f.axisstyle->currentIndex(), int(tpenstyle::dashdot));
            EXPECT_EQ(f.funcmode->currentIndex(), int(trastermode::notcopy));
            f.funcmode->setCurrentIndex(c.funcmode);
            f.axismode->setCurrentIndex(c.axismode);
            f.funcstyle->setCurrentIndex(c.style);
            f.axisstyle->setCurrentIndex(c.style);
            f.descmemo->setPlainText(c.text);
            f.okbtn->click();
        }));
        w->properties();
        EXPECT_EQ(r.funcpen.mode, trastermode(c.funcmode)) << c.text;
        EXPECT_EQ(r.axispen.mode, trastermode(c.axismode)) << c.text;
        EXPECT_EQ(r.funcpen.style, tpenstyle(c.style)) << c.text;
        EXPECT_EQ(r.axispen.style, tpenstyle(c.style)) << c.text;
        EXPECT_EQ(r.description, c.description) << c.text;
    }
}

TEST(TextDel, DeletesTheFirstSelectedWhereverTheOthersAre)
{
    const struct { std::vector<int> selected; std::vector<std::string> left; } cases[] = {
        {{0, 2}, {"b", "c"}}, {{1, 2}, {"a", "c"}}, {{0, 1, 2}, {"b", "c"}}, {{2}, {"a", "b"}}, {{}, {"a", "b", "c"}},
    };
    for (const auto& c : cases) {
        program p;
        Tcostructform* w = p.open("x");
        trecordinfo& r = w->board()->record();
        for (const char* t : {"a", "b", "c"}) r.addlabel(10, 20, t);
        p.modal.push_back(on<Ttextdel>([&c](Ttextdel& d) {
            for (int i : c.selected) d.listbox->item(i)->setSelected(true);
            d.deletebtn->click();
            ASSERT_EQ(d.listbox->count(), int(c.left.size()));
            for (int i = 0; i < d.listbox->count(); ++i) EXPECT_EQ(d.listbox->item(i)->text().toStdString(), c.left[i]);
            d.okbtn->click();
        }));
        w->deletetext();
        std::vector<std::string> left;
        for (const tlabel& l : r.labels) left.push_back(l.text);
        EXPECT_EQ(left, c.left) << c.selected.size();
    }
}
