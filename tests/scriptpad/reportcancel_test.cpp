// Line replacement in the editor text at every place, and Cancel in the report's save dialog.
#include <gtest/gtest.h>

#include <filesystem>

#include "padfixture.h"
#include "runfuncdialog.h"

using quortest::events;
using quortest::pad;
using lines = std::vector<std::string>;

TEST(EditorLines, ReplaceRemoveAndInsertAtEveryPlace)
{
    const struct { int first, count; lines with; const char* text; } cases[] = {
        // Removing: the lines go with one line break, the following one or, at the end, the one before.
        {0, 1, {}, "bb\ncc"},
        {1, 1, {}, "a\ncc"},
        {2, 1, {}, "a\nbb"},
        {1, 2, {}, "a"},
        {0, 3, {}, ""},
        // Replacing and inserting.
        {1, 1, {"X", "Y"}, "a\nX\nY\ncc"},
        {2, 1, {"Z"}, "a\nbb\nZ"},
        {0, 0, {"Z"}, "Z\na\nbb\ncc"},
        {3, 0, {"Z"}, "a\nbb\ncc\nZ"},
        // Out of range or nothing to do: the text stays.
        {2, 2, {}, "a\nbb\ncc"},
        {-1, 1, {}, "a\nbb\ncc"},
        {1, 0, {}, "a\nbb\ncc"},
    };
    pad p;
    for (const auto& c : cases) {
        p.type("a\nbb\ncc");
        p.ed().replacelines(c.first, c.count, c.with);
        EXPECT_EQ(p.text(), c.text) << c.first << "+" << c.count;
    }
}

TEST(EditorLines, CancelInTheReportSaveWritesNothing)
{
    pad p;
    p.type("function r=twice(x)\nr:=2*x\nendfunction");
    p.ed().selbox->setEditText("twice");
    p.ed().runfuncbtnClick();
    quor::Trunfuncdialog& d = *p.windows->runfunc;
    d.FormShow();
    d.runbtnClick();
    p.take();
    p.dialogs.answers = {"<cancel>"};
    d.saverptbtnClick();
    const events got = p.take();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].rfind("save: ", 0), 0u) << got[0];
    // Only what the pad itself keeps in its folder.
    for (const auto& f : std::filesystem::directory_iterator(p.dir.path))
        EXPECT_NE(f.path().extension(), ".txt") << f.path();
}
