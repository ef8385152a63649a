// INI files by the private-profile rules, and their atomic replacement.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

#include "atomicfile.h"
#include "profile.h"
#include "tempdir.h"
#include "units.h"

namespace {

std::string slurp(const std::string& path)
{
    std::string text;
    quor::readtextfile(path, text);
    return text;
}

int tempfiles(const std::filesystem::path& dir)
{
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().filename().string().rfind(".", 0) == 0) ++n;
    return n;
}

struct readcase {
    const char* file;
    const char* section;
    const char* key;
    const char* expected;   // with the default "DEF"
};

TEST(Profile, ReadsByTheWindowsRules)
{
    const readcase cases[] = {
        {"[state]\nisontop=1\n", "state", "isontop", "1"},
        {"[STATE]\nIsOnTop=1\n", "state", "isontop", "1"},            // case of section and key
        {"[state]\nisontop=1\n", "State", "ISONTOP", "1"},
        {"[ state ]\n  isontop =  1  \n", "state", "isontop", "1"},   // blanks around names and value
        {"[state]\nbackimage=\n", "state", "backimage", ""},          // present and empty
        {"[state]\nbackimage=\n", "state", "other", "DEF"},           // missing key
        {"[vari]\nisontop=1\n", "state", "isontop", "DEF"},           // key of another section
        {"", "state", "isontop", "DEF"},                              // empty file
        {"isontop=1\n[state]\n", "state", "isontop", "DEF"},          // key before any section
        {"[state]\nisontop=1\n[state]\nisontop=2\n", "state", "isontop", "1"},  // first one wins
        {"[state]\r\nisontop=7\r\n", "state", "isontop", "7"},        // CR LF
        {"[state]\n;isontop=1\nisontop=2\n", "state", "isontop", "2"},  // comment skipped
        {"[state]\npath=\"/a b/c\"\n", "state", "path", "/a b/c"},     // quotes dropped
        {"[state]\nexpr=a=b\n", "state", "expr", "a=b"},               // value keeps later "="
        {"[stateX]\nisontop=1\n", "state", "isontop", "DEF"},
        {"[s]\n;k=1\n", "s", ";k", "DEF"},                           // a comment is no key
        {"[s]\n  ;k=1\n", "s", ";k", "DEF"},
        {"[ZOOM]\nZ=1\n", "zoom", "z", "1"},                          // A to Z fold, both ends
        {"[zoom]\nazaz=2\n", "ZOOM", "AZAZ", "2"},
        {"[s]\n@=1\n", "s", "`", "DEF"},                             // '@' and '[' are no letters
        {"[s]\na[=1\n", "s", "a{", "DEF"},
        {"[s]\nk=v\rx=1\n", "s", "x", "1"},                          // a lone CR ends a line
        {"[s\nk=1\n", "s", "k", "DEF"},                                // no "]": no heading
        {"[s] ; note\nk=1\n", "s", "k", "1"},                          // text after "]"
        {"[s]\nk\nk=2\n", "s", "k", "2"},                              // a line without "="
        {"[]\nk=1\n", "", "k", "1"},
    };
    quortest::tempdir dir;
    for (const readcase& c : cases) {
        const std::string path = dir.write("t.ini", c.file);
        EXPECT_EQ(quor::readprofile(c.section, c.key, "DEF", path), c.expected) << c.file;
    }
    EXPECT_EQ(quor::readprofile("state", "isontop", "DEF", dir.str() + "/missing.ini"), "DEF");
}

struct writecase {
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST(Profile, WritesOneKeyAndKeepsTheRest)
{
    const writecase cases[] = {
        {"", "state", "isontop", "1", "[state]\nisontop=1\n"},
        {"[STATE]\nIsOnTop=0\nother=5\n", "state", "isontop", "1", "[STATE]\nisontop=1\nother=5\n"},
        {"[state]\na=1\n\n[units]\ncount=2\n", "state", "b", "2", "[state]\na=1\nb=2\n\n[units]\ncount=2\n"},
        {"[units]\ncount=3\nunit0=a\nunit1=b\nunit2=c\n", "units", "count", "1",
         "[units]\ncount=1\nunit0=a\nunit1=b\nunit2=c\n"},
        {"; settings\n[x]\nk=v\n", "y", "k", "w", "; settings\n[x]\nk=v\n[y]\nk=w\n"},
        {"[state]\r\nisontop=0\r\n", "state", "isontop", "1", "[state]\r\nisontop=1\r\n"},
        {"[vari]\nvari=x\n", "vari", "vari", "t\n[units]\ncount=99", "[vari]\nvari=t\n"},   // one line only
        {"[vari]\nvari=x\n", "vari", "vari", "", "[vari]\nvari=\n"},
        {"[s]\n", "s", "k", "v\rx=1", "[s]\nk=v\n"},                 // cut at a CR as well
        {"[s]\n", "s", "k", "v\r\nx=1", "[s]\nk=v\n"},
        {"[s]\n", "s", "k", "\nx=1", "[s]\nk=\n"},
    };
    quortest::tempdir dir;
    for (const writecase& c : cases) {
        const std::string path = dir.write("t.ini", c.before);
        EXPECT_TRUE(quor::writeprofile(c.section, c.key, c.value, path));
        EXPECT_EQ(slurp(path), c.after) << c.before;
    }
    EXPECT_EQ(tempfiles(dir.path), 0);
}

TEST(Profile, ValuesReadBackAsWritten)
{
    // Blanks at the ends and enclosing quotes would be lost on reading: such values are
    // written quoted; others stand as they are.
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "k=plain"},
        {" lead", "k=\" lead\""},
        {"trail\t", "k=\"trail\t\""},
        {"\"q\"", "k=\"\"q\"\""},
        {"'q'", "k=\"'q'\""},
        {"'q\"", "k='q\""},
        {"\"", "k=\""},
        {"\"\"", "k=\"\"\"\""},
        {"a \"b\" c", "k=a \"b\" c"},
        {" ", "k=\" \""},
        {"", "k="},
    };
    quortest::tempdir dir;
    for (const auto& [value, line] : cases) {
        const std::string path = dir.write("t.ini", "[s]\n");
        ASSERT_TRUE(quor::writeprofile("s", "k", value, path));
        EXPECT_EQ(slurp(path), std::string("[s]\n") + line + "\n") << value;
        EXPECT_EQ(quor::readprofile("s", "k", "DEF", path), value);
    }
}

TEST(Profile, ManyWritesKeepEverySectionInPlace)
{
    quortest::tempdir dir;
    const std::string path = dir.write("t.ini", "top=0\n[a]\nx=1\n\n[b]\ny=2\n[A]\nz=3\n\n");
    quor::tprofile p(path);
    p.write("a", "n1", "v1");   // into the first [a], before the blank separator
    p.write("b", "n2", "v2");
    p.write("a", "n3", "v3");
    p.write("c", "n4", "v4");   // a new section at the end
    p.write("C", "n5", "v5");
    p.write(" A ", "X", "9");   // the first [a]'s x, by another case
    p.write("b", "y", "8");
    const std::pair<std::pair<const char*, const char*>, const char*> reads[] = {
        {{"a", "x"}, "9"}, {{"a", "n1"}, "v1"}, {{"a", "n3"}, "v3"}, {{"b", "n2"}, "v2"}, {{"b", "y"}, "8"},
        {{"c", "n4"}, "v4"}, {{"c", "n5"}, "v5"},
        {{"a", "z"}, "DEF"},    // only the first of two [a] sections is read
        {{"a", "top"}, "DEF"},  // a key before any section belongs to none
        {{"b", "n1"}, "DEF"},
    };
    for (const auto& [at, value] : reads) EXPECT_EQ(p.read(at.first, at.second, "DEF"), value) << at.first << at.second;
    ASSERT_TRUE(p.save());
    EXPECT_EQ(slurp(path), "top=0\n[a]\nX=9\nn1=v1\nn3=v3\n\n[b]\ny=8\nn2=v2\n[A]\nz=3\n\n[c]\nn4=v4\nn5=v5\n");
    const quor::tprofile q(path);
    for (const auto& [at, value] : reads) EXPECT_EQ(q.read(at.first, at.second, "DEF"), value) << at.first << at.second;
}

TEST(Profile, SaveMakesTheFolderAndRoundTrips)
{
    quortest::tempdir dir;
    const std::string path = dir.str() + "/deep/er/p.ini";
    quor::tprofile p(path);
    EXPECT_FALSE(p.existed());
    p.write("units", "unit0", "/home/u/中文 单元.txt");
    p.write("Units", "COUNT", "1");
    ASSERT_TRUE(p.save());
    const quor::tprofile q(path);
    EXPECT_TRUE(q.existed());
    EXPECT_EQ(q.read("units", "unit0", ""), "/home/u/中文 单元.txt");
    EXPECT_EQ(q.read("units", "count", ""), "1");
    EXPECT_EQ(slurp(path), "[units]\nunit0=/home/u/中文 单元.txt\nCOUNT=1\n");
}

TEST(Profile, UnreadableFileIsNeverReplaced)
{
    quortest::tempdir dir;
    const std::string path = dir.str() + "/folder.ini";
    std::filesystem::create_directory(path);
    quor::tprofile p(path);
    p.write("state", "isontop", "1");
    EXPECT_FALSE(p.save());
    EXPECT_TRUE(std::filesystem::is_directory(path));
    // A file too large to read (sparse: it takes no room) stays as it is.
    const std::string big = dir.write("big.ini", "[state]\nisontop=0\n");
    std::filesystem::resize_file(big, quor::maxfilebytes + 1);
    quor::tprofile b(big);
    EXPECT_FALSE(b.existed());
    b.write("state", "isontop", "1");
    EXPECT_FALSE(b.save());
    EXPECT_EQ(std::filesystem::file_size(big), quor::maxfilebytes + 1);
    EXPECT_FALSE(quor::writeprofile("state", "isontop", "1", big));
    EXPECT_EQ(std::filesystem::file_size(big), quor::maxfilebytes + 1);
}

TEST(AtomicFile, UnfinishedWriteLeavesTheOldFile)
{
    quortest::tempdir dir;
    const std::string path = dir.write("a.ini", "old text\n");
    {
        quor::tatomicfile f(path);
        ASSERT_TRUE(f.ok());
        EXPECT_TRUE(f.write("half of the new"));
        EXPECT_EQ(tempfiles(dir.path), 1);
    }   // no commit: as if the program died or the disk filled up
    EXPECT_EQ(slurp(path), "old text\n");
    EXPECT_EQ(tempfiles(dir.path), 0);

    chmod(path.c_str(), 0640);
    ASSERT_TRUE(quor::writefileatomic(path, "new text\n"));
    EXPECT_EQ(slurp(path), "new text\n");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);   // the old file's permissions stay
    EXPECT_EQ(tempfiles(dir.path), 0);
}

TEST(AtomicFile, FailuresReportAndKeepTheTarget)
{
    quortest::tempdir dir;
    EXPECT_FALSE(quor::writefileatomic(dir.str() + "/no/such/folder/x", "text"));
    // A target that is a non-empty folder cannot be renamed over.
    std::filesystem::create_directories(dir.path / "busy" / "inside");
    quor::tatomicfile f((dir.path / "busy").string());
    EXPECT_TRUE(f.write("text"));
    EXPECT_FALSE(f.commit());
    EXPECT_FALSE(f.error().empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir.path / "busy" / "inside"));
}

TEST(Profile, LivesBesideTheProgramOrInTheConfigFolder)
{
    quortest::tempdir dir;
    const char* oldxdg = getenv("XDG_CONFIG_HOME");
    const std::string keep = oldxdg ? oldxdg : "";
    EXPECT_EQ(quor::profilepath("vivevazed.ini", dir.str()), dir.str() + "/vivevazed.ini");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(quor::profilepath("vivevazed.ini", dir.str() + "/absent"), "/cfg/quor/vivevazed.ini");
    // A writable bin/ folder of an installed tree (root running /usr/bin/paint) is left alone,
    // while a bin/ folder without data beside it is an ordinary program folder.
    std::filesystem::create_directories(dir.path / "bin");
    EXPECT_EQ(quor::profilepath("vivevazed.ini", dir.str() + "/bin"), dir.str() + "/bin/vivevazed.ini");
    std::filesystem::create_directories(dir.path / "share" / "quor");
    EXPECT_EQ(quor::profilepath("vivevazed.ini", dir.str() + "/bin"), "/cfg/quor/vivevazed.ini");
    setenv("XDG_CONFIG_HOME", "relative", 1);   // not absolute: ignored, as the rule says
    const std::string home = getenv("HOME") ? getenv("HOME") : ".";
    EXPECT_EQ(quor::profilepath("base.ini", ""), home + "/.config/quor/base.ini");
    if (oldxdg) setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
