// Start-up and base.ini: the base directory and the units come back after a restart,
// missing units drop out, a start-up that stopped early leaves the file as it was, short
// name tables are said once in the error box.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "funclist.h"
#include "profile.h"
#include "padfixture.h"
#include "units.h"

using quortest::events;
using quortest::pad;

namespace {

std::string ini(pad& p, const std::string& section, const std::string& key)
{
    return quor::readprofile(section, key, "<none>", (p.dir.path / "base.ini").string());
}

TEST(startup, baseiniroundtrip)
{
    quortest::tempdir units;
    const std::string u0 = units.write("geo.txt", "function a=area(r)\na:=r*r\nendfunction\n");
    const std::string u2 = units.write("stat.txt", "function m=mid(a,b)\nm:=(a+b)/2\nendfunction\n");
    const std::string u3 = units.write("more.txt", "function t=twice(a)\nt:=2*a\nendfunction\n");
    pad p("[basedir]\npath=" + units.str() + "\n[units]\ncount=3\nunit0=" + u0 + "\nunit1=" + units.str() +
          "/gone.txt\nunit2=" + u2 + "\n");
    EXPECT_TRUE(p.take().empty());   // the missing unit is skipped without a message
    EXPECT_EQ(p.ed().unitfiles(), (std::vector<std::string>{u0, u2}));
    EXPECT_EQ(p.ed().funcs().basedir, units.str());
    EXPECT_NE(p.ed().funcs().findfunc("area"), nullptr);
    EXPECT_NE(p.ed().funcs().findfunc("mid"), nullptr);

    // Loading a listed unit again reloads it and keeps the list; a new one is appended.
    p.dialogs.answers = {u0, u3, "/some/where"};
    p.ed().LoadUnit1Click();
    p.ed().LoadUnit1Click();
    p.ed().Base1Click();
    EXPECT_EQ(p.take(), (events{"open: |" + units.str() + "|TXT FILE|*.txt|ALL FILE|*.*",
                                "open: |" + units.str() + "|TXT FILE|*.txt|ALL FILE|*.*",
                                "folder: 选择基文件夹|" + units.str()}));
    EXPECT_EQ(p.ed().unitfiles(), (std::vector<std::string>{u0, u2, u3}));
    p.ed().close();
    EXPECT_EQ(ini(p, "basedir", "path"), "/some/where");
    EXPECT_EQ(ini(p, "units", "count"), "3");
    EXPECT_EQ(ini(p, "units", "unit1"), u2);
    EXPECT_EQ(ini(p, "units", "unit2"), u3);

    p.start();
    EXPECT_EQ(p.ed().unitfiles(), (std::vector<std::string>{u0, u2, u3}));
    EXPECT_EQ(p.ed().funcs().basedir, "/some/where");
    EXPECT_NE(p.ed().funcs().findfunc("twice"), nullptr);

    // Reset: no unit at the next start; the old keys stay in the file, unread.
    p.dialogs.answers = {"yes"};
    p.ed().N2Click();
    EXPECT_EQ(p.ed().funcs().findfunc("twice"), nullptr);
    EXPECT_EQ(p.ed().funcs().mathnames.size(), 16u);   // the name tables stay
    p.ed().close();
    EXPECT_EQ(ini(p, "units", "count"), "0");
    EXPECT_EQ(ini(p, "units", "unit0"), u0);
    p.start();
    EXPECT_TRUE(p.ed().unitfiles().empty());
    EXPECT_EQ(p.ed().funcs().findfunc("area"), nullptr);
}

TEST(startup, oddcountsandfailedloads)
{
    struct row {
        const char* name;
        std::string count;
        std::size_t units;
    };
    const row rows[] = {{"not a number", "abc", 0}, {"negative", "-2", 0}, {"empty", "", 0}, {"one", "1", 1}};
    for (const row& r : rows) {
        quortest::tempdir units;
        const std::string u0 = units.write("u.txt", "function a=f(r)\na:=r\nendfunction\n");
        pad p("[units]\ncount=" + r.count + "\nunit0=" + u0 + "\n");
        EXPECT_EQ(p.ed().unitfiles().size(), r.units) << r.name;
        EXPECT_EQ(p.ed().funcs().basedir, p.dir.str()) << r.name;   // the program's folder
    }

    // Load unit with a file that cannot be read: the platform's message, the list unchanged.
    pad p;
    p.dialogs.answers = {p.dir.str()};
    p.ed().LoadUnit1Click();
    EXPECT_EQ(p.take(), (events{"open: |" + p.dir.str() + "|TXT FILE|*.txt|ALL FILE|*.*",
                                "error: Error on load function form: " + p.dir.str()}));
    EXPECT_TRUE(p.ed().unitfiles().empty());
}

TEST(startup, stoppedstartupkeepsbaseini)
{
    quortest::tempdir tables;
    tables.write("command.dat", "delvar\n");   // api.dat, the second table, is missing
    quortest::tempdir units;
    const std::string u0 = units.write("u.txt", "function a=f(r)\na:=r\nendfunction\n");
    const std::string text = "[basedir]\npath=/kept\n[units]\ncount=1\nunit0=" + u0 + "\n";
    pad p(text, tables.str());
    const events got = p.take();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NE(got[0].find("api.dat"), std::string::npos) << got[0];
    EXPECT_FALSE(p.ed().startupcomplete());
    EXPECT_EQ(p.ed().funcs().commandnames, quor::tnametable{"delvar"});
    EXPECT_TRUE(p.ed().funcs().mathnames.empty());
    EXPECT_TRUE(p.ed().unitfiles().empty());
    EXPECT_EQ(p.ed().funcs().findfunc("f"), nullptr);
    EXPECT_EQ(p.ed().funcs().basedir, p.dir.str());
    // The window works all the same; at exit the file is left as it was.
    p.dialogs.answers = {units.str()};
    p.ed().Base1Click();
    p.ed().close();
    EXPECT_EQ(p.read("base.ini"), text);
}

// The shipped tables with some replaced; returns the folder.
std::string tablesin(const quortest::tempdir& dir, const std::vector<std::pair<std::string, std::string>>& replaced)
{
    for (const char* name : {"command.dat", "api.dat", "math.dat", "strings.dat"}) {
        std::string text;
        quor::readtextfile(std::string(QUOR_TESTDATA) + "/" + name, text);
        dir.write(name, text);
    }
    for (const auto& [name, text] : replaced) dir.write(name, text);
    return dir.str();
}

TEST(startup, shortnametablesaresaidonce)
{
    struct row {
        const char* name;
        std::vector<std::pair<std::string, std::string>> tables;
        events expected;
    };
    const row rows[] = {
        {"complete tables", {}, {}},
        {"complete without a final line end", {{"api.dat", "getdc\nshowwnd\nsetwndtext"}}, {}},
        {"empty api table",
         {{"api.dat", ""}},
         {"error: name table api.dat: 3 of its 3 built-ins have no name (lines 1 to 3 missing or empty; the file "
          "has 0 lines)"}},
        {"short math and a blank command line",
         {{"math.dat", "abs\ntan\natan\ncos\nexp\n"},
          {"command.dat", "delvar\n\nload\nplot\nprint\nsetvar\nredim\nmsg\ninputnum\nlen\ngetdim\n"}},
         {"error: name table command.dat: 1 of its 11 built-ins have no name (line 2 missing or empty; the file has "
          "11 lines)\nname table math.dat: 11 of its 16 built-ins have no name (lines 6 to 16 missing or empty; the "
          "file has 5 lines)"}},
    };
    for (const row& r : rows) {
        quortest::tempdir tables;
        quortest::tempdir units;
        const std::string u0 = units.write("u.txt", "function a=f(r)\na:=r\nendfunction\n");
        pad p("[units]\ncount=1\nunit0=" + u0 + "\n", tablesin(tables, r.tables));
        EXPECT_EQ(p.take(), r.expected) << r.name;
        // The start goes on: base.ini is read, the unit loaded and written back at exit.
        EXPECT_TRUE(p.ed().startupcomplete()) << r.name;
        EXPECT_EQ(p.ed().unitfiles(), std::vector<std::string>{u0}) << r.name;
        EXPECT_NE(p.ed().funcs().findfunc("f"), nullptr) << r.name;
        p.ed().close();
        EXPECT_TRUE(p.take().empty()) << r.name;
        EXPECT_EQ(ini(p, "units", "unit0"), u0) << r.name;
    }
}

// Something named api.dat in the first folder searched that cannot be read stops the start
// there, with the file and the reason in the error box, even though the next folder has
// every table: command.dat (read before it) is loaded, nothing after it, no base.ini.
TEST(startup, unreadabletablestopsthestart)
{
    struct row {
        const char* name;
        std::function<void(const quortest::tempdir&)> make;
        quor::ttablereader read;   // unset: the usual reading
        std::string reason;
    };
    const auto vanish = [](const std::string& path, std::vector<std::string>& lines, std::string& reason) {
        // The test's api.dat is gone between the search and the read.
        if (path.rfind(QUOR_TESTDATA, 0) != 0) std::filesystem::remove(path);
        return quor::readtablefile(path, lines, reason);
    };
    const auto refuse = [](const std::string& path, std::vector<std::string>& lines, std::string& reason) {
        if (path.find("/api.dat") == std::string::npos || path.rfind(QUOR_TESTDATA, 0) == 0)
            return quor::readtablefile(path, lines, reason);
        reason = "Permission denied";
        return false;
    };
    const row rows[] = {
        {"a folder", [](const quortest::tempdir& d) { std::filesystem::create_directory(d.path / "api.dat"); }, {},
         "Is a directory"},
        {"an unreadable file", [](const quortest::tempdir& d) { d.write("api.dat", "getdc\n"); }, refuse,
         "Permission denied"},
        {"a table that vanishes", [](const quortest::tempdir& d) { d.write("api.dat", "getdc\n"); }, vanish,
         "No such file or directory"},
    };
    for (const row& r : rows) {
        quortest::tempdir tables;
        r.make(tables);
        quortest::tempdir units;
        const std::string u0 = units.write("u.txt", "function a=f(r)\na:=r\nendfunction\n");
        const std::string text = "[basedir]\npath=/kept\n[units]\ncount=1\nunit0=" + u0 + "\n";
        pad p(text);
        p.take();
        p.firsttables = {tables.str()};
        p.readtable = r.read;
        p.start();
        EXPECT_EQ(p.take(), events{"error: Cannot open file \"" + tables.str() + "/api.dat\". " + r.reason}) << r.name;
        EXPECT_FALSE(p.ed().startupcomplete()) << r.name;
        EXPECT_EQ(p.ed().funcs().commandnames.size(), 11u) << r.name;
        EXPECT_TRUE(p.ed().funcs().apinames.empty()) << r.name;
        EXPECT_TRUE(p.ed().funcs().mathnames.empty()) << r.name;
        EXPECT_TRUE(p.ed().funcs().stringnames.empty()) << r.name;
        EXPECT_TRUE(p.ed().unitfiles().empty()) << r.name;
        EXPECT_EQ(p.ed().funcs().findfunc("f"), nullptr) << r.name;
        EXPECT_EQ(p.ed().funcs().basedir, p.dir.str()) << r.name;
        // The window opens and works all the same; base.ini is left as it was.
        p.ed().show();
        EXPECT_TRUE(p.ed().isVisible()) << r.name;
        p.type("x:=2");
        p.ed().Run1Click();
        ASSERT_NE(p.ed().vars().find("x"), nullptr) << r.name;
        EXPECT_EQ(p.ed().vars().find("x")->value, 2) << r.name;
        p.ed().flowmemo->document()->setModified(false);
        p.ed().close();
        EXPECT_TRUE(p.take().empty()) << r.name;
        EXPECT_EQ(p.read("base.ini"), text) << r.name;
    }
}

}  // namespace
