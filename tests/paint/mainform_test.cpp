// The plotter's main window: start-up from vivevazed.ini, the closing step, the plot flow
// with its pre-test, the variable, background, stay-on-top and the dragging hit test.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <QLabel>
#include <QMenu>
#include <QTest>

#include "flatbutton.h"
#include "flatedit.h"
#include "flatmemo.h"
#include "funclist.h"
#include "paintfixture.h"
#include "pictures.h"
#include "resultform.h"
#include "variables.h"

namespace {

using painttest::paintfixture;

const std::string question = std::string("question: Rozez of Quor|") + quor::pretestquestion;

std::string writebmp(const quortest::tempdir& dir, const std::string& name, QColor colour)
{
    QImage img(8, 4, QImage::Format_RGB32);
    img.fill(colour);
    const std::string path = dir.str() + "/" + name;
    img.save(QString::fromStdString(path), "BMP");
    return path;
}

TEST(PaintStart, WithoutSettingsFileUsesDefaultsAndWritesThemAtExit)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    EXPECT_EQ(f.varname(), "x");
    EXPECT_FALSE(f.ontop());
    EXPECT_FALSE(f.showresult());
    EXPECT_FALSE(f.resultform()->isVisible());
    EXPECT_EQ(f.backfile(), "");   // no face.bmp anywhere searched
    EXPECT_TRUE(f.unitfiles().empty());
    EXPECT_FALSE(f.startupstopped());
    EXPECT_EQ(f.funcs().mathnames.size(), 16u);   // the tables were read
    EXPECT_EQ(f.info()->text().toStdString(), "自变量: x");
    EXPECT_TRUE(t.dialogs.events.empty());
    t.stop();
    EXPECT_EQ(t.readini(),
              "[state]\nisontop=0\nshowresult=0\nbackimage=\n[vari]\nvari=x\n[units]\ncount=0\n");
    EXPECT_EQ(t.boards->calls.back(), "destroyall");
}

TEST(PaintStart, SettingsRoundTripKeepsOtherKeysAndOldUnitEntries)
{
    paintfixture t;
    const std::string u0 = t.dir.write("u0.txt", "function r=twice(a)\nr:=2*a\nendfunction\n");
    const std::string u2 = t.dir.write("u2.txt", "function r=thrice(a)\nr:=3*a\nendfunction\n");
    const std::string back = writebmp(t.dir, "back.bmp", Qt::green);
    t.dir.write("vivevazed.ini", "[Other]\nkeep=me\n[VARI]\nVari=t\n[state]\nisontop=1\nshowresult=1\nbackimage=" +
                                     back + "\n[units]\ncount=3\nunit0=" + u0 + "\nunit1=" + t.dir.str() +
                                     "/gone.txt\nunit2=" + u2 + "\nunit7=/old/seven.txt\n");
    quor::Tmainform& f = t.start();
    EXPECT_EQ(f.varname(), "t");
    EXPECT_TRUE(f.ontop());
    EXPECT_TRUE(f.showresult());
    EXPECT_TRUE(f.resultform()->isVisible());
    EXPECT_EQ(f.backfile(), back);
    EXPECT_EQ(f.background().pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(f.unitfiles(), (std::vector<std::string>{u0, u2}));   // the missing one dropped
    EXPECT_NE(f.funcs().findfunc("twice"), nullptr);
    EXPECT_NE(f.funcs().findfunc("thrice"), nullptr);
    EXPECT_TRUE(t.dialogs.events.empty());

    f.top_btnClick();   // normal window now
    t.stop();
    EXPECT_EQ(t.readini(), "[Other]\nkeep=me\n[VARI]\nvari=t\n[state]\nisontop=0\nshowresult=1\nbackimage=" + back +
                               "\n[units]\ncount=2\nunit0=" + u0 + "\nunit1=" + u2 + "\nunit2=" + u2 +
                               "\nunit7=/old/seven.txt\n");
}

TEST(PaintStart, BackgroundPictureRules)
{
    struct casedata {
        const char* ini;          // the [state] lines
        bool facepresent;         // face.bmp in the test folder
        const char* backfile;     // "" or "face.bmp"
    };
    const casedata cases[] = {
        {"", true, "face.bmp"},                       // missing key: face.bmp is looked up
        {"", false, ""},
        {"backimage=\n", true, ""},                   // present and empty: not tried again
        {"backimage=face.bmp\n", true, "face.bmp"},
        {"backimage=nothere.bmp\n", true, ""},
    };
    for (const casedata& c : cases) {
        paintfixture t;
        if (c.facepresent) writebmp(t.dir, "face.bmp", Qt::blue);
        t.dir.write("vivevazed.ini", std::string("[state]\n") + c.ini);
        quor::Tmainform& f = t.start();
        EXPECT_EQ(f.backfile(), c.backfile) << c.ini << c.facepresent;
        EXPECT_EQ(f.background().isNull(), std::string(c.backfile).empty()) << c.ini;
        t.stop();
        EXPECT_NE(t.readini().find(std::string("backimage=") + c.backfile + "\n"), std::string::npos);
    }
}

TEST(PaintStart, OddCountsAndFlags)
{
    const std::pair<const char*, int> counts[] = {{"2", 2}, {"-1", 0}, {"two", 0}, {"", 0}, {" 1 ", 1},
                                                   {"999999999999", 3}};
    for (const auto& [count, loaded] : counts) {
        paintfixture t;
        std::string units;
        for (int i = 0; i < 3; ++i)
            units += "unit" + std::to_string(i) + "=" +
                     t.dir.write("u" + std::to_string(i) + ".txt", "function r=f(a)\nr:=a\nendfunction\n") + "\n";
        t.dir.write("vivevazed.ini", std::string("[state]\nisontop=01\nshowresult=2\n[units]\ncount=") + count +
                                         "\n" + units);
        quor::Tmainform& f = t.start();
        EXPECT_EQ(static_cast<int>(f.unitfiles().size()), loaded) << count;
        EXPECT_TRUE(f.ontop());          // "01" is the number 1
        EXPECT_FALSE(f.showresult());    // any other number: hidden
    }
}

TEST(PaintStart, StoppedByAMissingNameTableLeavesTheSettingsFile)
{
    paintfixture t;
    t.datadirs = {t.dir.str() + "/none"};
    const std::string before = "[vari]\nvari=t\n[units]\ncount=1\nunit0=/some/unit.txt\n";
    t.dir.write("vivevazed.ini", before);
    quor::Tmainform& f = t.start();
    EXPECT_TRUE(f.startupstopped());
    EXPECT_EQ(f.varname(), "x");
    EXPECT_TRUE(f.unitfiles().empty());
    ASSERT_EQ(t.dialogs.events.size(), 1u);
    EXPECT_EQ(t.dialogs.events[0].rfind("error: ", 0), 0u);
    EXPECT_NE(t.dialogs.events[0].find("api.dat"), std::string::npos);   // the first table read
    f.top_btnClick();
    t.stop();
    EXPECT_EQ(t.readini(), before);
}

// api.dat, the plotter's first table, is there beside the settings but cannot be read: the
// start stops with the file and the reason in the error box, although the shipped tables
// come next in the search; no table, no settings, no unit; the file is left as it was.
TEST(PaintStart, UnreadableNameTableStopsTheStart)
{
    struct row {
        const char* name;
        std::function<void(const quortest::tempdir&)> make;
        quor::ttablereader read;   // unset: the usual reading
        std::string reason;
    };
    const auto vanish = [](const std::string& path, std::vector<std::string>& lines, std::string& reason) {
        std::filesystem::remove(path);   // gone between the search and the read
        return quor::readtablefile(path, lines, reason);
    };
    const auto refuse = [](const std::string&, std::vector<std::string>&, std::string& reason) {
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
        paintfixture t;
        r.make(t.dir);
        t.readtable = r.read;
        const std::string u0 = t.dir.write("u0.txt", "function r=twice(a)\nr:=2*a\nendfunction\n");
        const std::string before = "[vari]\nvari=t\n[state]\nisontop=1\n[units]\ncount=1\nunit0=" + u0 + "\n";
        t.dir.write("vivevazed.ini", before);
        quor::Tmainform& f = t.start();
        EXPECT_EQ(t.dialogs.events,
                  std::vector<std::string>{"error: Cannot open file \"" + t.dir.str() + "/api.dat\". " + r.reason})
            << r.name;
        EXPECT_TRUE(f.startupstopped()) << r.name;
        EXPECT_TRUE(f.funcs().apinames.empty() && f.funcs().commandnames.empty() && f.funcs().mathnames.empty() &&
                    f.funcs().stringnames.empty())
            << r.name;
        EXPECT_EQ(f.varname(), "x") << r.name;
        EXPECT_FALSE(f.ontop()) << r.name;
        EXPECT_TRUE(f.unitfiles().empty()) << r.name;
        EXPECT_EQ(f.funcs().findfunc("twice"), nullptr) << r.name;
        f.show();
        EXPECT_TRUE(f.isVisible()) << r.name;
        t.stop();
        EXPECT_EQ(t.readini(), before) << r.name;
    }
}

TEST(PaintStart, FailingUnitKeepsItAndTheUnreadEntries)
{
    paintfixture t;
    std::vector<std::string> paths;
    std::string units;
    for (int i = 0; i < 3; ++i) {
        paths.push_back(t.dir.write("u" + std::to_string(i) + ".txt",
                                    "function r=f" + std::to_string(i) + "(a)\nr:=a\nendfunction\n"));
        units += "unit" + std::to_string(i) + "=" + paths.back() + "\n";
    }
    t.dir.write("vivevazed.ini", "[units]\ncount=3\n" + units);
    t.loadunit = [&](const std::string& file, quor::tfunclist& funcs) {
        if (file == paths[1]) throw std::runtime_error("Error on load function form: " + file);
        quor::loadunit(file, funcs, quor::tdialect::plotter);
    };
    quor::Tmainform& f = t.start();
    EXPECT_EQ(t.dialogs.events, (std::vector<std::string>{"error: Error on load function form: " + paths[1]}));
    EXPECT_NE(f.funcs().findfunc("f0"), nullptr);
    EXPECT_EQ(f.funcs().findfunc("f2"), nullptr);   // loading stopped at the failure
    EXPECT_EQ(f.unitfiles(), paths);
    t.stop();
    EXPECT_NE(t.readini().find("count=3\nunit0=" + paths[0] + "\nunit1=" + paths[1] + "\nunit2=" + paths[2]),
              std::string::npos);
}

TEST(PaintStart, ShortNameTablesAreSaidOnceInTheErrorBox)
{
    struct row {
        const char* name;
        std::vector<std::pair<std::string, std::string>> tables;   // written beside the settings
        std::vector<std::string> events;
    };
    const row rows[] = {
        {"the shipped tables", {}, {}},
        {"complete without a final line end", {{"strings.dat", "getstr\nsetstr\ninputstr\nstrcpy"}}, {}},
        {"empty strings table and short api table",
         {{"strings.dat", ""}, {"api.dat", "getdc\r\n"}},
         {"error: name table api.dat: 2 of its 3 built-ins have no name (lines 2 to 3 missing or empty; the file has "
          "1 lines)\nname table strings.dat: 4 of its 4 built-ins have no name (lines 1 to 4 missing or empty; the "
          "file has 0 lines)"}},
        {"empty last math line",
         {{"math.dat", "abs\ntan\natan\ncos\nexp\nfrac\nln\nodd\npi\nrandom\nround\nsin\nsqr\nsqrt\ntrunc\n\n"}},
         {"error: name table math.dat: 1 of its 16 built-ins have no name (line 16 missing or empty; the file has 16 "
          "lines)"}},
        {"garbage in place of a table",
         {{"command.dat", "\x01"}},
         {"error: name table command.dat: 10 of its 11 built-ins have no name (lines 2 to 11 missing or empty; the "
          "file has 1 lines)"}},
    };
    for (const row& r : rows) {
        paintfixture t;
        const std::string u0 = t.dir.write("u0.txt", "function r=twice(a)\nr:=2*a\nendfunction\n");
        t.dir.write("vivevazed.ini", "[vari]\nvari=t\n[units]\ncount=1\nunit0=" + u0 + "\n");
        for (const auto& [name, text] : r.tables) t.dir.write(name, text);
        quor::Tmainform& f = t.start();
        EXPECT_EQ(t.dialogs.events, r.events) << r.name;
        // The start goes on after the warning: settings read, the unit loaded.
        EXPECT_FALSE(f.startupstopped()) << r.name;
        EXPECT_EQ(f.varname(), "t") << r.name;
        EXPECT_EQ(f.unitfiles(), std::vector<std::string>{u0}) << r.name;
        t.stop();
        EXPECT_EQ(t.dialogs.events, r.events) << r.name;   // nothing more at exit
    }
}

struct plotcase {
    const char* variable;       // "" keeps x
    const char* expression;
    std::vector<std::string> answers;
    std::vector<std::string> events;   // the dialogs' events (the question spelled "Q")
    std::vector<std::string> calls;    // the plot windows' calls
};

TEST(PaintPlot, PreTestAndPlotWindow)
{
    const plotcase cases[] = {
        {"", "sin(x)*x", {}, {}, {"create sin(x)*x|x", "show 501"}},
        {"", "5", {"no"}, {"Q"}, {}},
        {"", "5", {"yes"}, {"Q"}, {"create 5|x", "show 501"}},
        {"", "sin(x", {}, {"message: Rozez of Quor|非法表达式，出现了不匹配的符号"}, {}},
        {"", "f('(')", {}, {"message: Rozez of Quor|非法表达式，出现了不匹配的符号"}, {}},
        {"t", "sin(t)", {}, {}, {"create sin(t)|t", "show 501"}},
        {"", "x*0+1", {"no"}, {"Q"}, {}},                 // ten equal values
        // Partly equal values are not suspicious; the comma inside the call stays with it.
        {"", "max(x*1,0.5)", {}, {}, {"create max(x*1,0.5)|x", "show 501"}},
        {"", "max(x,0.5)", {"no"}, {"Q"}, {}},   // x beside a comma is not substituted
    };
    for (const plotcase& c : cases) {
        paintfixture t;
        t.dir.write("u.txt", "function m=max(a,b)\nm:=a\nif(b>a)\nm:=b\nend\nendfunction\n");
        t.dir.write("vivevazed.ini", "[units]\ncount=1\nunit0=" + t.dir.str() + "/u.txt\n");
        quor::Tmainform& f = t.start();
        if (*c.variable) {
            t.dialogs.answers = {c.variable};
            f.chg_btnClick();
            t.dialogs.events.clear();
        }
        f.edit()->setText(c.expression);
        t.dialogs.answers.assign(c.answers.begin(), c.answers.end());
        f.run_btnClick();
        std::vector<std::string> events;
        for (const std::string& e : t.dialogs.events) events.push_back(e == question ? "Q" : e);
        EXPECT_EQ(events, c.events) << c.expression;
        EXPECT_EQ(t.boards->calls, c.calls) << c.expression;
        if (!c.calls.empty()) {
            EXPECT_EQ(t.var("y"), 501) << c.expression;
        }
    }
}

TEST(PaintPlot, TenSamplesAtExactTexts)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    // print() writes each sample to the result memo and answers 1: ten equal values.
    f.edit()->setText("print(x)");
    t.dialogs.answers = {"no"};
    f.run_btnClick();
    EXPECT_EQ(f.resultform()->resultmemo()->toPlainText().toStdString(), "0.1\n0.2\n0.3\n0.4\n0.5\n0.6\n0.7\n0.8\n0.9\n1");
    EXPECT_EQ(t.dialogs.events, (std::vector<std::string>{question}));
    EXPECT_TRUE(t.boards->calls.empty());
}

TEST(PaintPlot, BadExpressionWritesToTheResultMemoAndFailingSampleStopsTheTest)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    f.edit()->setText("sin(x");
    f.run_btnClick();
    EXPECT_EQ(f.resultform()->resultmemo()->toPlainText().toStdString(), "非法表达式.");
    f.resultform()->Clear1Click();
    // A variable that does not exist fails the first sample: the evaluator's own report,
    // then the question, and nothing more is sampled.
    f.edit()->setText("sin(t)");
    t.dialogs.events.clear();
    t.dialogs.answers = {"no"};
    f.run_btnClick();
    ASSERT_FALSE(t.dialogs.events.empty());
    EXPECT_EQ(t.dialogs.events.back(), question);
    EXPECT_TRUE(t.boards->calls.empty());
}

TEST(PaintPlot, EnterInTheEditBoxPlots)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    f.edit()->setText("x^2");
    QTest::keyClick(f.edit(), Qt::Key_Return);
    QTest::keyClick(f.edit(), Qt::Key_Enter);
    EXPECT_EQ(t.boards->calls,
              (std::vector<std::string>{"create x^2|x", "show 501", "create x^2|x", "show 502"}));
    EXPECT_EQ(t.var("y"), 502);
}

TEST(PaintMain, ChangeTheVariable)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    const std::pair<const char*, const char*> steps[] = {{"t", "t"}, {"<cancel>", "t"}, {"", ""}, {"a b", "a b"}};
    std::string before = "x";
    for (const auto& [answer, now] : steps) {
        t.dialogs.events.clear();
        t.dialogs.answers = {answer};
        f.chg_btnClick();
        EXPECT_EQ(t.dialogs.events, (std::vector<std::string>{"input: Input variable||" + before}));
        EXPECT_EQ(f.varname(), now);
        EXPECT_EQ(f.info()->text().toStdString(), std::string("自变量: ") + now);
        before = now;
    }
    t.stop();
    EXPECT_NE(t.readini().find("[vari]\nvari=a b\n"), std::string::npos);
}

TEST(PaintMain, ChangeTheBackground)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    const std::string red = writebmp(t.dir, "red.bmp", Qt::red);
    const std::string bad = t.dir.write("bad.bmp", "no picture");
    t.dialogs.answers = {red, bad, "<cancel>"};
    f.back_btnClick();
    EXPECT_EQ(f.backfile(), red);
    EXPECT_EQ(f.background().pixelColor(1, 1), QColor(Qt::red));
    f.back_btnClick();   // not a picture: the box, and the old picture stays
    f.back_btnClick();   // cancelled
    EXPECT_EQ(f.backfile(), red);
    EXPECT_EQ(t.dialogs.events,
              (std::vector<std::string>{"open: ||BMP FILE|*.bmp", "open: ||BMP FILE|*.bmp",
                                        "error: Bitmap image is not valid", "open: ||BMP FILE|*.bmp"}));
    // The picture is stretched over the whole window.
    f.show();
    const QImage shot = f.grab().toImage();
    EXPECT_EQ(shot.pixelColor(300, 65), QColor(Qt::red));
}

TEST(PaintMain, HitTestLeavesButtonsTheirClicks)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    // mini_btn 4,8,17,17; main_btn 384,40,23,22.
    const std::pair<QPoint, bool> points[] = {
        {{5, 9}, true},   {{20, 24}, true},  {{4, 9}, false},   {{21, 9}, true},   // 21: inside top_btn (20..37)
        {{12, 8}, false}, {{12, 25}, false}, {{385, 41}, true}, {{407, 50}, false},
        {{406, 61}, true}, {{200, 60}, false}, {{60, 20}, false},
    };
    for (const auto& [p, inside] : points) EXPECT_EQ(f.isinrange(p), inside) << p.x() << "," << p.y();

    f.show();
    QTest::mousePress(&f, Qt::LeftButton, {}, QPoint(200, 60));   // background
    QTest::mousePress(&f, Qt::LeftButton, {}, QPoint(55, 15));    // the "Y=" label
    EXPECT_EQ(f.movesstarted(), 2);
    quor::tflatbutton* about = f.button("about_btn");
    int shown = 0;
    f.runmodal = [&](QDialog&) { return ++shown; };
    QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(11, 11));   // inside: a click
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(f.movesstarted(), 2);
    QTest::mousePress(about, Qt::LeftButton, {}, QPoint(0, 11));    // its edge: a drag
    EXPECT_EQ(f.movesstarted(), 3);
    EXPECT_EQ(shown, 1);
}

TEST(PaintMain, StayOnTopAndMenu)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    f.show();
    EXPECT_FALSE(f.ontop());
    f.top_btnClick();
    EXPECT_TRUE(f.ontop());
    EXPECT_TRUE(f.isVisible());
    QStringList entries;
    for (QAction* a : f.menu()->actions()) entries << a->text();
    EXPECT_EQ(entries, (QStringList{"关于", "运行", "结果窗口", "画板管理", "单元管理", "修改自变量", "修改背景", "退出"}));
    f.menu()->actions()[7]->trigger();   // 退出
    EXPECT_FALSE(f.isVisible());
    EXPECT_NE(t.readini().find("isontop=1"), std::string::npos);
}

}  // namespace

TEST(PaintStart, ButtonsStandWhereTheFaceDrawsThem)
{
    paintfixture t;
    quor::Tmainform& f = t.start();
    const struct { const char* name; QRect at; const char* hint; } buttons[] = {
        {"mini_btn", {4, 8, 17, 17}, "最小化"},      {"top_btn", {20, 8, 17, 17}, "窗口悬浮"},
        {"exit_btn", {36, 8, 17, 17}, "退出"},       {"run_btn", {16, 40, 18, 19}, "画图"},
        {"res_btn", {40, 40, 23, 22}, "结果显示"},   {"show_btn", {64, 40, 23, 22}, "画板管理"},
        {"load_btn", {88, 40, 23, 22}, "单元管理"},  {"chg_btn", {112, 40, 23, 22}, "修改自变量"},
        {"back_btn", {136, 40, 23, 22}, "修改背景"}, {"about_btn", {160, 40, 23, 22}, ""},
        {"main_btn", {384, 40, 23, 22}, "主菜单"},
    };
    for (const auto& b : buttons) {
        const quor::tflatbutton* button = f.button(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->geometry(), b.at) << b.name;
        EXPECT_EQ(button->toolTip().toStdString(), b.hint) << b.name;
    }
    t.stop();
}
