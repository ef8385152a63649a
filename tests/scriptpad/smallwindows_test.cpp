// The unit list dialog, the about box, and the syntax colouring read by the engine's scanner.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QListWidget>

#include "aboutbox.h"
#include "funclist.h"
#include "padfixture.h"
#include "profile.h"
#include "runfuncdialog.h"
#include "syntaxcolour.h"
#include "unitform.h"

using quortest::events;
using quortest::pad;
using paths = std::vector<std::string>;

namespace {

TEST(unitform, deleteokandcancel)
{
    struct row {
        const char* name;
        std::vector<int> deletes;   // rows selected and deleted in turn; -1: none selected
        bool ok;
        paths after;
    };
    const paths three{"/u/a.txt", "/u/b.txt", "/u/c.txt"};
    const row rows[] = {
        {"middle line, OK", {1}, true, {"/u/a.txt", "/u/c.txt"}},
        {"middle line, Cancel", {1}, false, three},
        {"no selection deletes nothing", {-1}, true, three},
        {"every line, OK", {2, 0, 0}, true, {}},
    };
    for (const row& r : rows) {
        pad p;
        p.ed().unitfiles() = three;
        quor::Tunit_form& form = *p.windows->unitform;
        p.onmodal = [&](QDialog&) {
            ASSERT_EQ(form.list->count(), 3);
            for (int at : r.deletes) {
                form.list->clearSelection();
                if (at >= 0) form.list->item(at)->setSelected(true);
                form.Button1Click();
            }
            if (r.ok) form.Button2Click();
            else form.Button3Click();
        };
        p.ed().DeleteUnit1Click();   // the dialog is shown modally
        EXPECT_EQ(p.modals, std::vector<std::string>{"Units"}) << r.name;
        EXPECT_EQ(p.ed().unitfiles(), r.after) << r.name;
        EXPECT_TRUE(p.take().empty()) << r.name;
        // The list goes to base.ini at exit.
        p.ed().close();
        EXPECT_EQ(quor::readprofile("units", "count", "", (p.dir.path / "base.ini").string()),
                  std::to_string(r.after.size()))
            << r.name;
    }
}

TEST(aboutbox, pictureandaddresses)
{
    quortest::scripteddialogs dialogs;
    quortest::tempdir dir;
    // A missing picture: an empty background and no message.
    quor::TAboutBox none(dialogs, (dir.path / "logo_quor_c.bmp").c_str(), nullptr);
    EXPECT_FALSE(none.hasbackground());
    EXPECT_TRUE(dialogs.events.empty());
    QImage logo(40, 30, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(QString::fromStdString((dir.path / "logo_quor_c.bmp").string()), "BMP"));
    quor::TAboutBox with(dialogs, (dir.path / "logo_quor_c.bmp").c_str(), nullptr);
    EXPECT_TRUE(with.hasbackground());
    EXPECT_EQ(with.windowTitle(), "About Quor");

    with.Label2Click();
    with.Image1Click();
    dialogs.addressopens = false;
    with.Image1Click();
    EXPECT_EQ(dialogs.events, (events{std::string("address: mailto:") + quor::contactaddress,
                                      std::string("address: ") + quor::webaddress,
                                      std::string("address: ") + quor::webaddress,
                                      std::string("message: Quor Editor|无法打开 ") + quor::webaddress}));
}

TEST(syntaxcolour, tokensfromtheenginescanner)
{
    quor::tfunclist funcs("t", 2);
    funcs.mathnames = {"sin", "sqr"};
    funcs.commandnames = {"print"};
    using quor::ttokenkind;
    using toks = std::vector<quor::ttoken>;
    struct row {
        std::string line;
        toks want;
    };
    const row rows[] = {
        {"x:=sin(2.5)+y", {{3, 3, ttokenkind::builtin}, {7, 3, ttokenkind::number}}},
        {"while(k<10)", {{0, 5, ttokenkind::keyword}, {8, 2, ttokenkind::number}}},
        {"  end", {{2, 3, ttokenkind::keyword}}},
        {"end:=1", {{0, 3, ttokenkind::keyword}, {5, 1, ttokenkind::number}}},   // the runner reads a keyword too
        {"a:=1;if(a)", {{3, 1, ttokenkind::number}, {5, 2, ttokenkind::keyword}}},
        {"x:=if", {}},   // a keyword only at the start of a statement
        {"print('it''s if 1')", {{0, 5, ttokenkind::builtin}, {6, 12, ttokenkind::literal}}},
        {"print('open", {{0, 5, ttokenkind::builtin}, {6, 5, ttokenkind::literal}}},
        {"PRINT(x2,SQR(3))", {{0, 5, ttokenkind::builtin}, {9, 3, ttokenkind::builtin}, {13, 1, ttokenkind::number}}},
        {"function y=sqr2(x)", {{0, 18, ttokenkind::unitline}}},
        {"endfunction", {{0, 11, ttokenkind::unitline}}},
        {"v[1,2]:=3", {{2, 1, ttokenkind::number}, {4, 1, ttokenkind::number}, {8, 1, ttokenkind::number}}},
        {"", {}},
    };
    for (const row& r : rows) EXPECT_EQ(quor::colourtokens(r.line, funcs), r.want) << r.line;
}

}  // namespace

namespace {

// Sends a mouse event to the editor pane's text area at height y of the pane.
void mouse(pad& p, QEvent::Type type, int y, Qt::MouseButtons buttons)
{
    QWidget* area = p.ed().flowmemo->viewport();
    const QPointF at(40, y - area->mapTo(p.ed().flowmemo, QPoint(0, 0)).y());
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, area->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(area, &e);
}

TEST(hotleg, draggingthepaneedge)
{
    pad p;
    p.ed().show();
    auto* pane = p.ed().flowmemo;
    ASSERT_EQ(pane->height(), 305);
    struct step {
        QEvent::Type type;
        int y;
        Qt::MouseButtons buttons;
        int height;
        Qt::CursorShape cursor;
    };
    const step steps[] = {
        {QEvent::MouseMove, 100, Qt::NoButton, 305, Qt::IBeamCursor},
        {QEvent::MouseMove, 300, Qt::NoButton, 305, Qt::SplitVCursor},   // near the edge, not pressed
        {QEvent::MouseButtonPress, 300, Qt::LeftButton, 305, Qt::SplitVCursor},
        {QEvent::MouseMove, 330, Qt::LeftButton, 330, Qt::SplitVCursor},   // down
        {QEvent::MouseMove, 322, Qt::LeftButton, 322, Qt::SplitVCursor},   // and up again
        {QEvent::MouseMove, 2000, Qt::LeftButton, pane->parentWidget()->height() - 40, Qt::SplitVCursor},
        {QEvent::MouseButtonRelease, 200, Qt::NoButton, pane->parentWidget()->height() - 40, Qt::SplitVCursor},
        {QEvent::MouseMove, 200, Qt::NoButton, pane->parentWidget()->height() - 40, Qt::IBeamCursor},
    };
    int i = 0;
    for (const step& s : steps) {
        mouse(p, s.type, s.y, s.buttons);
        EXPECT_EQ(pane->height(), s.height) << "step " << i;
        EXPECT_EQ(pane->viewport()->cursor().shape(), s.cursor) << "step " << i;
        ++i;
    }
}

}  // namespace
