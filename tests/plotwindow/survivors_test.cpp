// The plot window at its edges: a new expression that cannot be drawn, the dialogs a
// closing window leaves behind, and the environment dialog's fixed-point row.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGuiApplication>
#include <QGroupBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "environmentset.h"
#include "plotboard.h"
#include "setform.h"
#include "windowfixture.h"

using namespace quor;
using quortest::program;

TEST(PlotWindowEdges, AnExpressionThatCannotBeDrawnEndsTheWindow)
{
    program p;
    Tcostructform* w = p.open("x");
    ASSERT_NE(w, nullptr);
    const std::int32_t h = w->handle();
    EXPECT_FALSE(w->changeexpression("ln(x-5)", "x"));
    ASSERT_FALSE(p.dialogs.events.empty());
    EXPECT_EQ(p.dialogs.events.back(),
              "message: " + QGuiApplication::applicationDisplayName().toStdString() + "|Error on paint,this paint will quit!");
    EXPECT_EQ(p.windows.board(h), nullptr);
}

TEST(PlotWindowEdges, AClosedWindowsDialogsGoOnlyOnceBackInTheEventLoop)
{
    program p;
    Tcostructform* w = p.open("x");
    ASSERT_NE(w, nullptr);
    QPointer<QDialog> env;
    p.modal.push_back([&](QDialog& d) {
        env = &d;
        return int(QDialog::Rejected);
    });
    w->environment();
    ASSERT_FALSE(env.isNull());
    EXPECT_EQ(env->parent(), w);
    delete w;
    // A dialog may still be running a command on the stack: it outlives the window, unowned.
    ASSERT_FALSE(env.isNull());
    EXPECT_EQ(env->parent(), nullptr);
    program::flush();
    EXPECT_TRUE(env.isNull());
}

TEST(PlotWindowEdges, TheFixedPointRowFollowsTheStretchBox)
{
    program p;
    Tcostructform* w = p.open("x");
    ASSERT_NE(w, nullptr);
    std::vector<std::vector<bool>> seen;
    p.modal.push_back([&](QDialog& d) {
        auto& e = dynamic_cast<TEnvironmentset&>(d);
        auto row = [&] { seen.push_back({e.fixx->isEnabled(), e.fixy->isEnabled(), e.fillfixbtn->isEnabled()}); };
        row();
        e.stretchbox->setChecked(true);
        row();
        e.stretchbox->setChecked(false);
        row();
        return int(QDialog::Rejected);
    });
    w->environment();
    using row = std::vector<bool>;
    EXPECT_EQ(seen, (std::vector<row>{row{false, false, false}, row{true, true, true}, row{false, false, false}}));
}

namespace {

QRect groupgeometry(const QWidget& form, const QString& title)
{
    for (const QGroupBox* g : form.findChildren<QGroupBox*>())
        if (g->title() == title) return QRect(g->mapTo(&form, QPoint(0, 0)), g->size());
    ADD_FAILURE() << title.toStdString();
    return {};
}

}  // namespace

TEST(PlotWindowEdges, PropertiesLayoutPlacesEveryControl)
{
    quortest::scripteddialogs dialogs;
    Tsetform f(dialogs, nullptr);
    f.resize(700, 420);
    f.show();
    // The coordinates page: the view group spans the left column, range over steps in the
    // middle, the axes group spans the right column.
    const QRect view = groupgeometry(f, QStringLiteral("视图坐标"));
    const QRect range = groupgeometry(f, QStringLiteral("逻辑范围"));
    const QRect steps = groupgeometry(f, QStringLiteral("刻度步长"));
    const QRect axes = groupgeometry(f, QStringLiteral("坐标绘图"));
    EXPECT_LT(view.right(), range.left());
    EXPECT_EQ(range.left(), steps.left());
    EXPECT_LT(range.right(), axes.left());
    EXPECT_LT(range.bottom(), steps.top());
    EXPECT_EQ(view.top(), range.top());
    EXPECT_EQ(view.bottom(), steps.bottom());
    EXPECT_EQ(axes.top(), view.top());
    EXPECT_EQ(axes.bottom(), view.bottom());
    // Every control shows on its page, and the pen widths run 1 to 50.
    const QTabWidget* tabs = f.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    const struct { QWidget* control; int page; } controls[] = {
        {f.axiscolourbtn, 2}, {f.funccolourbtn, 2}, {f.bkcolourbtn, 2}, {f.axiswidth, 2},
        {f.funcwidth, 2},     {f.exprview, 3},      {f.varview, 3},     {f.captionedit, 1},
    };
    for (const auto& c : controls) {
        EXPECT_TRUE(tabs->widget(c.page)->isAncestorOf(c.control)) << c.page;
        EXPECT_TRUE(c.control->isVisibleTo(tabs->widget(c.page))) << c.page;
    }
    for (QSpinBox* s : {f.axiswidth, f.funcwidth}) EXPECT_EQ(std::pair(s->minimum(), s->maximum()), std::pair(1, 50));
    for (QSpinBox* s : {f.xstepspin, f.ystepspin}) EXPECT_EQ(std::pair(s->minimum(), s->maximum()), std::pair(10, 200));
}
