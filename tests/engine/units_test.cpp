// Name tables and unit files: reading, lookup, precedence, and loading function blocks.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "numtext.h"
#include "tempdir.h"
#include "units.h"

using quor::tdialect;
using strings = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

using quortest::tempdir;

std::string joined(const strings& lines, const std::string& end)
{
    std::string out;
    for (const auto& l : lines) out += l + end;
    return out;
}

void writetables(const tempdir& dir, const strings& which)
{
    for (const auto& f : which) {
        if (f == "command.dat") dir.write(f, joined(quortest::commandtable(), "\r\n"));
        if (f == "api.dat") dir.write(f, joined(quortest::apitable(), "\n"));
        if (f == "math.dat") dir.write(f, joined(quortest::mathtable(), "\r"));
        if (f == "strings.dat") dir.write(f, joined(quortest::stringtable(), "\r\n"));
    }
}

std::string loadfault(quor::tfunclist& f, const strings& dirs, tdialect d)
{
    return quortest::faulttext([&] { quor::loadnametables(f, dirs, d); }, "");
}

}  // namespace

TEST(NameTables, LineEndsAndTheFirstDirectoryThatHasTheFile)
{
    tempdir first, second;
    first.write("command.dat", "DELVAR\nCLEARARR\n");
    second.write("command.dat", joined(quortest::commandtable(), "\r\n"));
    second.write("api.dat", "getdc\rshowwnd\rsetwndtext");   // no end after the last line
    second.write("math.dat", "abs\n\n tan \n");               // an empty line takes its index
    second.write("strings.dat", "getstr\r\nsetstr\rinputstr\nstrcpy\n\n");
    quor::tfunclist funcs("f", 2);
    EXPECT_EQ(loadfault(funcs, {first.str(), second.str()}, tdialect::editor), "");
    EXPECT_EQ(funcs.commandnames, (strings{"DELVAR", "CLEARARR"}));
    EXPECT_EQ(funcs.apinames, quortest::apitable());
    EXPECT_EQ(funcs.mathnames, (strings{"abs", "", " tan "}));
    EXPECT_EQ(funcs.stringnames, (strings{"getstr", "setstr", "inputstr", "strcpy", ""}));

    // "" stands for the current directory.
    const fs::path old = fs::current_path();
    fs::current_path(second.path);
    quor::tfunclist current("f", 2);
    const std::string fault = loadfault(current, {(first.path / "nothing").string(), ""}, tdialect::editor);
    fs::current_path(old);
    EXPECT_EQ(fault, "");
    EXPECT_EQ(current.commandnames, quortest::commandtable());

    EXPECT_EQ(quor::splittextlines("a\r\n\r\nb\rc\n"), (strings{"a", "", "b", "c"}));
    EXPECT_EQ(quor::splittextlines(""), strings{});
    EXPECT_EQ(quor::splittextlines("\n"), (strings{""}));
    EXPECT_EQ(quor::splittextlines("\n\r"), (strings{"", ""}));
}

TEST(NameTables, MissingTableStopsTheReading)
{
    // Which tables end up filled when one file is missing.
    const struct { tdialect order; strings present; const char* missing; bool command, api, math, strs; } cases[] = {
        {tdialect::editor, {"command.dat", "api.dat", "strings.dat"}, "math.dat", true, true, false, false},
        {tdialect::editor, {"api.dat", "math.dat", "strings.dat"}, "command.dat", false, false, false, false},
        {tdialect::editor, {"command.dat", "api.dat", "math.dat"}, "strings.dat", true, true, true, false},
        {tdialect::plotter, {"api.dat", "command.dat", "math.dat"}, "strings.dat", true, true, false, false},
        {tdialect::plotter, {"api.dat", "command.dat", "strings.dat"}, "math.dat", true, true, false, true},
        {tdialect::plotter, {"command.dat", "math.dat", "strings.dat"}, "api.dat", false, false, false, false},
    };
    for (const auto& c : cases) {
        tempdir dir;
        writetables(dir, c.present);
        quor::tfunclist funcs("f", 2);
        const std::string fault = loadfault(funcs, {dir.str()}, c.order);
        EXPECT_NE(fault.find(c.missing), std::string::npos) << fault;
        EXPECT_EQ(funcs.commandnames.empty(), !c.command) << c.missing;
        EXPECT_EQ(funcs.apinames.empty(), !c.api) << c.missing;
        EXPECT_EQ(funcs.mathnames.empty(), !c.math) << c.missing;
        EXPECT_EQ(funcs.stringnames.empty(), !c.strs) << c.missing;
    }
    quor::tfunclist funcs("f", 2);
    EXPECT_NE(loadfault(funcs, {}, tdialect::editor).find("command.dat"), std::string::npos);
}

namespace {

// The fault and the tables read when something named api.dat in the first folder cannot be
// read (the second folder has all four tables); the editor reads command.dat first.
struct unreadablecase {
    const char* name;
    std::function<void(const tempdir&)> make;
    std::string reason;
    quor::ttablereader read = quor::readtablefile;
};

std::string unreadablefault(const unreadablecase& c, quor::tfunclist& funcs, bool& found)
{
    tempdir first, second;
    writetables(second, {"command.dat", "api.dat", "math.dat", "strings.dat"});
    c.make(first);
    found = false;
    try {
        quor::loadnametables(funcs, {first.str(), second.str()}, tdialect::editor, c.read);
    } catch (const quor::ttablefault& e) {
        found = e.found;
        std::string text = e.text();
        const std::string path = first.str() + "/api.dat";
        const std::size_t at = text.find(path);
        return at == std::string::npos ? text : text.replace(at, path.size(), "FIRST/api.dat");
    }
    return "(no fault)";
}

}  // namespace

TEST(NameTables, TableThatIsThereButCannotBeReadStopsTheReading)
{
    const unreadablecase cases[] = {
        {"a folder", [](const tempdir& d) { fs::create_directory(d.path / "api.dat"); }, "Is a directory"},
        {"a dangling link", [](const tempdir& d) { fs::create_symlink(d.path / "gone", d.path / "api.dat"); },
         "No such file or directory"},
        {"a link to itself", [](const tempdir& d) { fs::create_symlink(d.path / "api.dat", d.path / "api.dat"); },
         "Too many levels of symbolic links"},
        // Removed after the search found it, before it was read.
        {"a table that vanishes", [](const tempdir& d) { d.write("api.dat", "getdc\n"); }, "No such file or directory",
         [](const std::string& path, strings& lines, std::string& reason) {
             if (fs::path(path).filename() == "api.dat") fs::remove(path);
             return quor::readtablefile(path, lines, reason);
         }},
        {"a reader that refuses", [](const tempdir& d) { d.write("api.dat", "getdc\n"); }, "Permission denied",
         [](const std::string& path, strings& lines, std::string& reason) {
             if (fs::path(path).filename() != "api.dat") return quor::readtablefile(path, lines, reason);
             reason = "Permission denied";
             return false;
         }},
    };
    for (const auto& c : cases) {
        quor::tfunclist funcs("f", 2);
        bool found = false;
        EXPECT_EQ(unreadablefault(c, funcs, found), "Cannot open file \"FIRST/api.dat\". " + c.reason) << c.name;
        EXPECT_TRUE(found) << c.name;
        EXPECT_EQ(funcs.commandnames, quortest::commandtable()) << c.name;
        EXPECT_TRUE(funcs.apinames.empty()) << c.name;
        EXPECT_TRUE(funcs.mathnames.empty()) << c.name;
        EXPECT_TRUE(funcs.stringnames.empty()) << c.name;
    }
    // Found nowhere: the bare name, and the caller lists the folders.
    quor::tfunclist funcs("f", 2);
    try {
        quor::loadnametables(funcs, {}, tdialect::plotter);
        ADD_FAILURE() << "no fault";
    } catch (const quor::ttablefault& e) {
        EXPECT_EQ(e.text(), "Cannot open file \"api.dat\". No such file or directory");
        EXPECT_FALSE(e.found);
    }
}

TEST(NameTables, FileWithoutReadPermission)
{
    // Root reads every file: the check runs in a child that is someone else.
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(out[0]);
        std::string got = "cannot change user";
        if (geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0)) {
            tempdir first, second;
            writetables(second, {"command.dat", "api.dat", "math.dat", "strings.dat"});
            first.write("api.dat", "getdc\n");
            chmod((first.path / "api.dat").c_str(), 0);
            quor::tfunclist funcs("f", 2);
            got = loadfault(funcs, {first.str(), second.str()}, tdialect::plotter);
            got += funcs.apinames.empty() && funcs.commandnames.empty() ? "|empty" : "|filled";
            const std::size_t at = got.find(first.str());
            if (at != std::string::npos) got.replace(at, first.str().size(), "FIRST");
        }
        const ssize_t n = write(out[1], got.data(), got.size());
        _exit(n == static_cast<ssize_t>(got.size()) ? 0 : 1);
    }
    close(out[1]);
    std::string got;
    char buf[256];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) got.append(buf, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got == "cannot change user") GTEST_SKIP() << "root here may not become another user";
    EXPECT_EQ(got, "Cannot open file \"FIRST/api.dat\". Permission denied|empty");
}

TEST(NameTables, LookupAndTheLineThatDecidesTheBuiltin)
{
    // Whole lines without regard to case; the first line counts.
    const quor::tnametable table{"", "abs", "Sin", "print", "ABS", "a b"};
    const struct { const char* name; int index; } cases[] = {
        {"abs", 1}, {"ABS", 1}, {"sin", 2}, {"SIN", 2}, {"Print", 3}, {"a b", 5},
        {"ab", -1}, {"abs ", -1}, {"prin", -1}, {"cos", -1}, {"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(quor::tableindex(table, c.name), c.index) << '"' << c.name << '"';

    quortest::context ctx;
    ctx.assign("a:=4");
    ctx.funcs.commandnames.set(4, "PRINT");
    EXPECT_EQ(ctx.exec("print('a='a)"), "1");
    // The same name on line 7 shows a box instead; standing twice, the first line counts.
    ctx.funcs.commandnames.set(4, "msg");
    ctx.funcs.commandnames.set(7, "print");
    EXPECT_EQ(ctx.exec("print('c')"), "1");
    ctx.funcs.commandnames.set(4, "print");
    EXPECT_EQ(ctx.exec("print('d')"), "1");
    EXPECT_EQ(ctx.host.take(), (strings{"memo: a=4", "box: c", "memo: d"}));
}

TEST(NameTables, LookupFollowsEveryChangeOfTheTable)
{
    // Each step looks a name up first, then changes the table and looks again.
    quor::tnametable t{"sin", "cos"};
    EXPECT_EQ(t.find("fib"), -1);
    t.set(1, "FIB");
    EXPECT_EQ(t.find("fib"), 1);
    EXPECT_EQ(t.find("cos"), -1);
    t.push_back("tan");
    EXPECT_EQ(t.find("Tan"), 2);
    t.pop_back();
    EXPECT_EQ(t.find("tan"), -1);
    t = {"", "x"};
    EXPECT_EQ(t.find("sin"), -1);
    EXPECT_EQ(t.find("X"), 1);
    EXPECT_EQ(t.find(""), 0);
    t = std::vector<std::string>{"y"};
    EXPECT_EQ(t.find("x"), -1);
    EXPECT_EQ(t.find("Y"), 0);
    // Names of every length and first byte agree with a plain scan.
    quor::tnametable many;
    std::vector<std::string> names;
    for (int n = 0; n < 70; ++n) names.push_back(std::string(static_cast<std::size_t>(n % 9), static_cast<char>('a' + n % 26)));
    for (const std::string& n : names) many.push_back(n);
    for (int n = 0; n < 140; ++n) {
        const std::string probe(static_cast<std::size_t>(n % 11), static_cast<char>('A' + n % 26));
        int plain = -1;
        for (std::size_t i = 0; i < names.size() && plain < 0; ++i)
            if (quor::lowercase(names[i]) == quor::lowercase(probe)) plain = static_cast<int>(i);
        EXPECT_EQ(many.find(probe), plain) << probe;
    }
}

TEST(NameTables, Precedence)
{
    // Statements look in the string-function, command and window-command tables in this
    // order; expressions never look in the string-function table (the order of expressions
    // is checked with the calls).
    quortest::context ctx;
    ctx.exec("setstr(s,'ab')");
    ctx.unit({"function y=getstr(x)", "y:=x+1", "endfunction"});
    ctx.funcs.commandnames.set(9, "getstr");   // instead of len
    EXPECT_EQ(ctx.exec("getstr(s)"), "ab");
    ctx.funcs.apinames.set(1, "print");
    EXPECT_EQ(ctx.exec("print('x')"), "1");
    ctx.funcs.commandnames.set(4, "abs");
    EXPECT_EQ(ctx.exec("abs(-2)"), "1");    // as a statement it is the command, not the math function
    ctx.funcs.commandnames.set(9, "length");
    EXPECT_EQ(ctx.eval("getstr(1)"), 2);    // a string-function name is a unit function in expressions
    EXPECT_EQ(ctx.host.take(), (strings{"memo: x", "memo: -2"}));
}

TEST(Units, FunctionBlocks)
{
    // The functions loaded, in name order, with their body lines.
    const struct { const char* title; std::string text; std::vector<std::pair<std::string, strings>> functions; }
        cases[] = {
        {"remarks and two functions",
         "remarks before the first head\r\nfunction y=f(x)\r\ny:=x+1;y:=y*2  \r\nendfunction\r\nmore remarks := 5\r\n"
         "FUNCTION r=g(a,b)\r\nfunction y=h(x)\r\nr:=a-b\r\nEndFunction\r\ntrailing remarks\r\n",
         {{"f", {"y:=x+1;y:=y*2  "}}, {"g", {"function y=h(x)", "r:=a-b"}}}},   // a head inside a body is a body line
        {"cr ends", "function y=f(x)\ry:=1\ry:=y+1\rendfunction", {{"f", {"y:=1", "y:=y+1"}}}},
        // Without its end line the block loses its last line.
        {"no end line, no final newline", "function y=f(x)\r\ny:=1\r\ny:=y+1", {{"f", {"y:=1"}}}},
        {"head on the last line", "x:=1\nfunction y=f(x)\n", {{"f", {}}}},
        {"empty body", "function y=f(x)\nendfunction\n", {{"f", {}}}},
        // "endfunction;" is no end line: the block runs on to the real one.
        {"end with semicolon", "function y=f(x)\nendfunction;\ny:=2\n  ENDFUNCTION  \ny:=3\n",
         {{"f", {"endfunction;", "y:=2"}}}},
    };
    for (const auto& c : cases) {
        tempdir dir;
        quor::tfunclist funcs("f", 2);
        quor::loadunit(dir.write("u.qu", c.text), funcs, tdialect::editor);
        ASSERT_EQ(funcs.count(), static_cast<int>(c.functions.size())) << c.title;
        for (int i = 0; i < funcs.count(); ++i) {
            EXPECT_EQ(funcs.item(i).name, c.functions[static_cast<std::size_t>(i)].first) << c.title;
            EXPECT_EQ(funcs.item(i).lines, c.functions[static_cast<std::size_t>(i)].second) << c.title;
        }
    }
}

TEST(Units, ReloadReplacesAndFailureNamesTheFile)
{
    tempdir dir;
    const std::string first =
        dir.write("a.qu", "function y=f(x)\ny:=1\nendfunction\nfunction y=k(x)\ny:=5\nendfunction\n");
    const std::string second = dir.write("b.qu", "function y=f(x)\ny:=2\nendfunction\n");
    quortest::context ctx;
    quor::loadunit(first, ctx.funcs, tdialect::editor);
    EXPECT_EQ(ctx.eval("f(0)"), 1);
    quor::loadunit(second, ctx.funcs, tdialect::editor);
    EXPECT_EQ(ctx.funcs.count(), 2);
    EXPECT_EQ(ctx.eval("f(0)"), 2);
    EXPECT_EQ(ctx.eval("k(0)"), 5);

    const std::string missing = (dir.path / "missing.qu").string();
    EXPECT_EQ(quortest::faulttext([&] { quor::loadunit(missing, ctx.funcs, tdialect::editor); }, ""),
              "Error on load function form: " + missing);
    EXPECT_EQ(ctx.funcs.count(), 2);
}

TEST(NameTables, WarningNamesTheShortTablesAndTheirMissingLines)
{
    const struct { strings math, command; const char* warning; } cases[] = {
        {quortest::mathtable(), quortest::commandtable(), ""},
        // Extra lines are no fault.
        {quortest::mathtable(), [] { auto t = quortest::commandtable(); t.push_back("more"); return t; }(), ""},
        {{"abs", "", "atan"}, quortest::commandtable(),
         "name table math.dat: 14 of its 16 built-ins have no name (lines 2, 4 to 16 missing or empty; the file "
         "has 3 lines)"},
        {quortest::mathtable(), {},
         "name table command.dat: 11 of its 11 built-ins have no name (lines 1 to 11 missing or empty; the file "
         "has 0 lines)"},
        // The last line alone; an empty line in the middle of an otherwise full table.
        {quortest::mathtable(), [] { auto t = quortest::commandtable(); t.pop_back(); return t; }(),
         "name table command.dat: 1 of its 11 built-ins have no name (line 11 missing or empty; the file has 10 "
         "lines)"},
        {[] { auto t = quortest::mathtable(); t.set(15, ""); t.set(0, ""); return t; }(), {"garbage\x01\x02"},
         "name table command.dat: 10 of its 11 built-ins have no name (lines 2 to 11 missing or empty; the file "
         "has 1 lines)\n"
         "name table math.dat: 2 of its 16 built-ins have no name (lines 1, 16 missing or empty; the file has 16 "
         "lines)"},
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        ctx.funcs.mathnames = c.math;
        ctx.funcs.commandnames = c.command;
        EXPECT_EQ(quor::nametablewarning(ctx.funcs), c.warning);
    }
}

TEST(Files, BoundedReading)
{
    tempdir dir;
    std::string text = "x";
    const std::string small = dir.write("small.txt", "a\r\nb");
    EXPECT_EQ(quor::readboundedfile(small, text, 4), quor::treadfault::none);
    EXPECT_EQ(text, "a\r\nb");
    // One byte past the limit: by size for a file, while reading for a device.
    EXPECT_EQ(quor::readboundedfile(small, text, 3), quor::treadfault::toolarge);
    EXPECT_EQ(text, "");
    EXPECT_EQ(quor::readboundedfile("/dev/zero", text, 100000), quor::treadfault::toolarge);
    EXPECT_EQ(text, "");
    EXPECT_EQ(quor::readboundedfile(dir.str(), text), quor::treadfault::unreadable);
    EXPECT_EQ(quor::readboundedfile(dir.str() + "/none", text), quor::treadfault::unreadable);
    EXPECT_EQ(quor::readfaulttext(quor::treadfault::toolarge), "is larger than 256 MiB");
    // A FIFO that no one writes to reads as empty at once.
    const std::string fifo = dir.str() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(quor::readboundedfile(fifo, text), quor::treadfault::none);
    EXPECT_EQ(text, "");
    strings lines;
    quor::treadfault why = quor::treadfault::none;
    EXPECT_TRUE(quor::readtextlines(small, lines, &why));
    EXPECT_EQ(lines, (strings{"a", "b"}));
    EXPECT_FALSE(quor::readtextlines(dir.str(), lines, &why));
    EXPECT_EQ(why, quor::treadfault::unreadable);
}
