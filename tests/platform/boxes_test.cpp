// Message and input boxes wide enough for their whole title; owned windows in front of their
// owner at every showing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QWindow>

#include "ownedwindow.h"
#include "qtdialogs.h"

namespace {

TEST(QtDialogs, BoxesAreAtLeastAsWideAsTheirTitle)
{
    struct row {
        QString caption, text;
        QMessageBox::StandardButtons buttons;
    };
    const row rows[] = {
        {"Quor Editor", "2", QMessageBox::Ok},
        {"Rozez of Quor", "Error on paint,this paint will quit!", QMessageBox::Ok},
        {"Quor Editor", "程序已经被修改，保存吗？", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
        {"A rather long caption that says a lot more than the box", "", QMessageBox::Ok},
        {"", "x", QMessageBox::Ok},
    };
    for (const row& r : rows) {
        const auto box = quor::makemessagebox(QMessageBox::Information, r.caption, r.text, r.buttons, nullptr);
        box->show();
        EXPECT_GE(box->width(), quor::titlewidth(r.caption)) << r.caption.toStdString();
        // The text still decides when it is the wider part.
        QMessageBox plain(QMessageBox::Information, r.caption, r.text, r.buttons);
        plain.show();
        EXPECT_GE(box->width(), plain.width()) << r.caption.toStdString();
        EXPECT_EQ(box->text(), r.text);
        plain.hide();
        box->hide();
    }
    // A longer title needs more room.
    EXPECT_GT(quor::titlewidth("Quor Editor and more"), quor::titlewidth("Quor Editor"));

    QInputDialog input;
    input.setWindowTitle("Input variable and a long caption of it");
    input.setLabelText("");
    quor::fittitle(input);
    input.show();
    EXPECT_GE(input.width(), quor::titlewidth(input.windowTitle()));
    input.hide();
}

TEST(OwnedWindow, TransientForItsOwnerAtEveryShowing)
{
    QWidget owner, other;
    owner.show();
    QWidget owned(nullptr, quor::ownedwindowflags());
    EXPECT_EQ(owned.windowType(), Qt::Dialog);
    quor::setownedby(&owned, &owner);
    EXPECT_EQ(quor::ownerof(&owned), &owner);
    owned.show();
    EXPECT_EQ(owned.windowHandle()->transientParent(), owner.windowHandle());
    owned.hide();

    // A new owner is taken at the next showing; an owner not shown yet gets its window then.
    quor::setownedby(&owned, &other);
    EXPECT_EQ(quor::ownerof(&owned), &other);
    quor::bringtofront(&owned);
    EXPECT_TRUE(owned.isVisible());
    ASSERT_NE(other.windowHandle(), nullptr);
    EXPECT_EQ(owned.windowHandle()->transientParent(), other.windowHandle());
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &owned);
    owned.hide();

    // No owner, or one that went: on its own.
    quor::setownedby(&owned, nullptr);
    EXPECT_EQ(quor::ownerof(&owned), nullptr);
    owned.windowHandle()->setTransientParent(nullptr);
    owned.show();
    EXPECT_EQ(owned.windowHandle()->transientParent(), nullptr);
    owned.hide();
    {
        QWidget gone;
        gone.show();
        quor::setownedby(&owned, &gone);
    }
    EXPECT_EQ(quor::ownerof(&owned), nullptr);
    owned.show();
    EXPECT_EQ(owned.windowHandle()->transientParent(), nullptr);
}

}  // namespace
