// The Qt host: boxes through the dialogs, plot windows through a window host, and the
// throttled handling of pending events.
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "datadirs.h"
#include "qtdialogs.h"
#include "qthost.h"
#include "scripteddialogs.h"
#include "tempdir.h"
#include "variables.h"
#include "widgetmemo.h"
#include "windowhost.h"

namespace {

TEST(QtFilter, WindowsFormBecomesQtForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"TXT FILE|*.txt|ALL FILE|*.*", "TXT FILE (*.txt);;ALL FILE (*)"},
        {"BMP FILE|*.bmp", "BMP FILE (*.bmp)"},
        {"Pictures|*.bmp;*.png", "Pictures (*.bmp *.png)"},
        {"TXT FILE|*.txt|ALL FILE", "TXT FILE (*.txt);;ALL FILE (*)"},   // last name without patterns
        {"TXT FILE|*.txt||", "TXT FILE (*.txt)"},                          // trailing empty pair
        {"*.dat|*.dat", "*.dat (*.dat)"},
        {"|*.q", "*.q (*.q)"},
        {"", ""},
    };
    for (const auto& [windows, qt] : cases) EXPECT_EQ(quor::qtfilter(windows).toStdString(), qt) << windows;
}

TEST(QtDialogs, BoxTextBreaksAtEveryLineEnd)
{
    EXPECT_EQ(quor::boxtext("a\rb\r\nc\nd").toStdString(), "a\nb\nc\nd");
}

// Plot windows by handle, recorded.
struct fakewindows : quor::twindowhost {
    std::vector<std::string> calls;
    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, quor::tvarlist&,
                                  quor::tfunclist*, quor::tmemo*) override
    {
        calls.push_back("create " + expr + "|" + varname);
        return 42;
    }
    void showplotwindow(std::int32_t h) override { calls.push_back("show " + std::to_string(h)); }
    std::int32_t getdc(std::int32_t h) override { return h + 1; }
    std::int32_t showwnd(std::int32_t h, std::int32_t mode) override { return h * 10 + mode; }
    std::int32_t setwndtext(std::int32_t h, const std::string& t) override
    {
        calls.push_back("text " + std::to_string(h) + "|" + t);
        return 1;
    }
};

TEST(QtHost, BoxesGoThroughTheDialogs)
{
    quortest::scripteddialogs d;
    quor::tqthost host(d, "Rozez of Quor");
    d.answers = {"17", "<cancel>", "yes", "/tmp/u.txt", "<cancel>"};
    std::string answer = "unchanged";
    host.showmessage("Error on x\rline two");
    EXPECT_TRUE(host.inputbox("Input", "value", "3", answer));
    EXPECT_EQ(answer, "17");
    EXPECT_FALSE(host.inputbox("Input", "", "4", answer));
    EXPECT_EQ(answer, "17");
    EXPECT_EQ(host.question("Save", "Save it?"), quor::tanswer::yes);
    std::string path;
    EXPECT_TRUE(host.openfile("/data", "*.txt", path));
    EXPECT_EQ(path, "/tmp/u.txt");
    EXPECT_FALSE(host.openfile("", "*.q", path));
    EXPECT_EQ(host.question("Save", "again?"), quor::tanswer::cancel);   // no answer left: Cancel
    host.errorreport("Error on load function form: /x");
    const std::vector<std::string> expected = {
        "message: Rozez of Quor|Error on x\rline two",
        "input: Input|value|3",
        "input: Input||4",
        "question: Save|Save it?",
        "open: |/data|*.txt|*.txt",
        "open: ||*.q|*.q",
        "question: Save|again?",
        "error: Error on load function form: /x",
    };
    EXPECT_EQ(d.events, expected);
}

TEST(QtHost, PlotWindowsGoToTheWindowHost)
{
    quortest::scripteddialogs d;
    quor::tqthost host(d, "t");
    quor::tvarlist vars("g", 1);
    // Without a window host no window is made and every command answers 0.
    EXPECT_EQ(host.createplotwindow("x", "x", vars, nullptr, nullptr), 0);
    EXPECT_EQ(host.getdc(5), 0);
    EXPECT_EQ(host.showwnd(5, 1), 0);
    EXPECT_EQ(host.setwndtext(5, "a"), 0);
    fakewindows w;
    host.setwindows(&w);
    EXPECT_EQ(host.createplotwindow("sin(x)", "x", vars, nullptr, nullptr), 42);
    host.showplotwindow(42);
    EXPECT_EQ(host.getdc(5), 6);
    EXPECT_EQ(host.showwnd(5, 0), 50);
    EXPECT_EQ(host.setwndtext(5, "title"), 1);
    EXPECT_EQ(w.calls, (std::vector<std::string>{"create sin(x)|x", "show 42", "text 5|title"}));
}

TEST(QtHost, PendingEventsAtMostEveryTenMilliseconds)
{
    quortest::scripteddialogs d;
    quor::tqthost host(d, "t");
    std::int64_t now = 1000;
    int pumped = 0;
    host.setclock([&] { return now; });
    host.setpump([&] { ++pumped; });
    // (time of the call, pumps counted after it)
    const std::pair<std::int64_t, int> steps[] = {
        {1000, 1},   // the first call always handles events
        {1000, 1}, {1005, 1}, {1009, 1},
        {1010, 2},   // ten milliseconds after the last round
        {1019, 2},
        {1020, 3}, {1500, 4}, {1509, 4},
        {900, 5},    // a clock that went back does not stop the rounds
    };
    for (const auto& [t, n] : steps) {
        now = t;
        host.processevents();
        EXPECT_EQ(pumped, n) << "at " << t;
    }
    // A tight loop within one millisecond: a million statements, no further round.
    for (int i = 0; i < 1000000; ++i) host.processevents();
    EXPECT_EQ(pumped, 5);
}

TEST(WidgetMemo, AppendsLinesUntilTheBoxIsGone)
{
    QWidget owner;
    auto* edit = new QPlainTextEdit(&owner);
    quor::twidgetmemo memo(edit, &owner);
    memo.append("Error on x");
    memo.append("结果 2");
    EXPECT_EQ(edit->toPlainText().toStdString(), "Error on x\n结果 2");
    EXPECT_EQ(memo.owner(), &owner);
    delete edit;
    memo.append("after");   // no box: nothing happens
    EXPECT_EQ(memo.edit(), nullptr);
}

TEST(DataFiles, CurrentFolderFirstThenTheDataFolders)
{
    quortest::tempdir cwd, data, other;
    data.write("face.bmp", "data");
    other.write("face.bmp", "other");
    other.write("math.dat", "sin");
    std::filesystem::create_directory(data.path / "api.dat");   // a folder is no file
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(cwd.path);
    const std::vector<std::string> dirs = {"", data.str(), other.str()};
    EXPECT_EQ(quor::finddatafile("face.bmp", dirs), data.str() + "/face.bmp");
    EXPECT_EQ(quor::finddatafile("math.dat", dirs), other.str() + "/math.dat");
    EXPECT_EQ(quor::finddatafile("api.dat", dirs), "");
    cwd.write("face.bmp", "here");
    EXPECT_EQ(quor::finddatafile("face.bmp", dirs), "face.bmp");
    EXPECT_EQ(quor::finddatafile(other.str() + "/math.dat", {""}), other.str() + "/math.dat");
    EXPECT_EQ(quor::finddatafile("", dirs), "");
    std::filesystem::current_path(old);
    const std::vector<std::string> searched = quor::datadirs("/usr/share/quor");
    ASSERT_EQ(searched.size(), 4u);
    EXPECT_EQ(searched[0], "");
    EXPECT_EQ(searched[1], quor::exedir());
    EXPECT_EQ(searched[2], quor::exedir() + "/../share/quor");
    EXPECT_EQ(searched[3], "/usr/share/quor");
}

}  // namespace
