// The editor's file flows: New, Open, Save, Save as and closing, with every answer; saves
// that do not happen keep the text; writes are whole or not at all and say why they failed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "padfixture.h"

using quortest::events;
using quortest::pad;

namespace {

const std::string modq = "question: Quor Editor|程序已经被修改，要保存吗?";
const std::string closeq = "question: Quor Editor|程序已经被修改，保存吗？";

// A path whose folder does not exist: every write there fails.
std::string nowhere(pad& p) { return (p.dir.path / "missing" / "x.txt").string(); }

TEST(files, newwitheveryanswer)
{
    struct row {
        const char* name;
        bool modified;
        std::vector<std::string> answers;   // "@" stands for a file in the test folder, "!" for an unwritable one
        bool cleared;
        std::vector<std::string> boxes;     // events after the question, "@"/"!" as above
    };
    const row rows[] = {
        {"unmodified asks nothing", false, {}, true, {}},
        {"cancel keeps all", true, {"cancel"}, false, {modq}},
        {"no drops the edits", true, {"no"}, true, {modq, "message: Quor Editor|所有的修改都将无效！"}},
        {"yes saves then clears", true, {"yes", "@"}, true, {modq, "save: |@dir|"}},
        {"yes with the save dialog cancelled keeps the text", true, {"yes", "<cancel>"}, false, {modq, "save: |@dir|"}},
        {"yes with a failed write keeps the text", true, {"yes", "!"}, false,
         {modq, "save: |@dir|", "warning: Quor Editor|无法保存 !：cannot create a temporary file"}},
    };
    for (const row& r : rows) {
        pad p;
        const std::string target = (p.dir.path / "saved.txt").string();
        auto subst = [&](std::string s) {
            for (auto [from, to] : {std::pair<std::string, std::string>{"@dir", p.dir.str()}, {"@", target}, {"!", nowhere(p)}}) {
                for (std::size_t at; (at = s.find(from)) != std::string::npos;) s.replace(at, from.size(), to);
            }
            return s;
        };
        p.type("a:=1\nb:=2");
        if (!r.modified) p.ed().flowmemo->document()->setModified(false);
        for (const std::string& a : r.answers) p.dialogs.answers.push_back(subst(a));
        p.ed().New1Click();
        events got = p.take();
        // The failure reason ends with the system's wording; the box is pinned up to it.
        for (std::string& e : got)
            if (e.rfind("warning:", 0) == 0) e = e.substr(0, e.find("file", e.find("：")) + 4);
        events want;
        for (const std::string& b : r.boxes) want.push_back(subst(b));
        EXPECT_EQ(got, want) << r.name;
        EXPECT_EQ(p.text(), r.cleared ? "" : "a:=1\nb:=2") << r.name;
        EXPECT_EQ(p.ed().modified(), !r.cleared) << r.name;
        if (r.answers.size() == 2 && r.answers[1] == "@") {
            EXPECT_EQ(p.read("saved.txt"), "a:=1\r\nb:=2\r\n") << r.name;
        }
    }
}

TEST(files, closingwitheveryanswer)
{
    struct row {
        const char* name;
        std::vector<std::string> answers;
        bool closes;
        std::size_t boxes;
    };
    const row rows[] = {
        {"cancel stays open", {"cancel"}, false, 1},
        {"no closes after the note", {"no"}, true, 2},
        {"yes with a save closes", {"yes", "@"}, true, 2},
        {"yes without a save stays open", {"yes", "<cancel>"}, false, 2},
        {"yes with a failed write stays open", {"yes", "!"}, false, 3},
    };
    for (const row& r : rows) {
        pad p;
        bool closed = false;
        p.ed().onclosed = [&] { closed = true; };
        p.ed().show();
        p.type("x:=1");
        for (const std::string& a : r.answers)
            p.dialogs.answers.push_back(a == "@" ? (p.dir.path / "c.txt").string() : a == "!" ? nowhere(p) : a);
        p.ed().close();
        const events got = p.take();
        ASSERT_EQ(got.size(), r.boxes) << r.name;
        EXPECT_EQ(got[0], closeq) << r.name;
        if (r.answers[0] == "no") {
            EXPECT_EQ(got[1], "message: Quor Editor|所有的修改都将无效？");
        }
        EXPECT_EQ(closed, r.closes) << r.name;
        EXPECT_EQ(p.ed().isVisible(), !r.closes) << r.name;
        EXPECT_EQ(p.text(), "x:=1") << r.name;
        // base.ini is written by the close, and only by it.
        EXPECT_EQ(std::filesystem::exists(p.dir.path / "base.ini"), r.closes) << r.name;
    }
}

TEST(files, openreplacesthetextandasksaboutedits)
{
    pad p;
    const std::string file = p.dir.write("prog.txt", "function y=f(x)\r\ny:=x*2\r\nendfunction\r\n");
    p.type("old");
    p.dialogs.answers = {"cancel"};
    p.ed().Open1Click();
    EXPECT_EQ(p.take(), events{modq});
    EXPECT_EQ(p.text(), "old");

    p.dialogs.answers = {"no", file};
    p.ed().Open1Click();
    EXPECT_EQ(p.take(), (events{modq, "message: Quor Editor|所有的修改都将无效！",
                                "open: |" + p.dir.str() + "|TXT FILE|*.txt|ALL FILE|*.*"}));
    EXPECT_EQ(p.text(), "function y=f(x)\ny:=x*2\nendfunction");
    EXPECT_FALSE(p.ed().modified());
    EXPECT_EQ(p.ed().curfile().toStdString(), file);
    EXPECT_EQ(p.ed().selbox->currentText(), "f");
    EXPECT_FALSE(p.ed().runbtn->isEnabled());

    // Open cancelled: nothing changes; a missing file says so and keeps the text.
    p.dialogs.answers = {"<cancel>"};
    p.ed().Open1Click();
    p.dialogs.answers = {(p.dir.path / "none.txt").string()};
    p.ed().Open1Click();
    const events got = p.take();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[2], "warning: Quor Editor|无法打开文件 " + (p.dir.path / "none.txt").string());
    EXPECT_EQ(p.ed().curfile().toStdString(), file);
    EXPECT_EQ(p.text(), "function y=f(x)\ny:=x*2\nendfunction");
}

TEST(files, saveandsaveas)
{
    pad p;
    const std::string opened = p.dir.write("prog.txt", "a:=1\n");
    ASSERT_TRUE(p.ed().openpath(QString::fromStdString(opened)));
    p.type("a:=2\nb:=3");
    EXPECT_TRUE(p.ed().Save2Click());   // to the opened file, no dialog
    EXPECT_TRUE(p.take().empty());
    EXPECT_EQ(p.read("prog.txt"), "a:=2\r\nb:=3\r\n");
    EXPECT_FALSE(p.ed().modified());

    // Save as writes elsewhere and keeps curfile: Save still goes to the opened file.
    p.type("c:=4");
    p.dialogs.answers = {(p.dir.path / "other.txt").string()};
    EXPECT_TRUE(p.ed().Save1Click());
    EXPECT_EQ(p.read("other.txt"), "c:=4\r\n");
    EXPECT_EQ(p.ed().curfile().toStdString(), opened);
    p.type("d:=5");
    EXPECT_TRUE(p.ed().Save2Click());
    EXPECT_EQ(p.read("prog.txt"), "d:=5\r\n");

    // A failed write (the opened file's folder has gone) says why and keeps the text modified.
    std::filesystem::create_directory(p.dir.path / "sub");
    const std::string inner = p.dir.write("sub/in.txt", "z:=0\n");
    ASSERT_TRUE(p.ed().openpath(QString::fromStdString(inner)));
    p.type("e:=6");
    std::filesystem::remove_all(p.dir.path / "sub");
    p.take();
    EXPECT_FALSE(p.ed().Save2Click());
    EXPECT_TRUE(p.ed().modified());
    EXPECT_EQ(p.text(), "e:=6");
    const events failed = p.take();
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].rfind("warning: Quor Editor|无法保存 " + inner + "：cannot create a temporary file", 0), 0u)
        << failed[0];

    // New text: Save asks for a name every time, since Save as never sets curfile.
    p.dialogs.answers = {"no"};
    p.ed().New1Click();
    p.type("f:=7");
    p.take();
    p.dialogs.answers = {(p.dir.path / "n1.txt").string(), (p.dir.path / "n2.txt").string()};
    EXPECT_TRUE(p.ed().Save2Click());
    p.type("f:=8");
    EXPECT_TRUE(p.ed().Save2Click());
    EXPECT_EQ(p.take().size(), 2u);
    EXPECT_EQ(p.read("n1.txt"), "f:=7\r\n");
    EXPECT_EQ(p.read("n2.txt"), "f:=8\r\n");
}

}  // namespace
