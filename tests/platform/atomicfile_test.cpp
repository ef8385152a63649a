// The atomic writer under failing system calls, and the permissions of the files it makes.
#include <gtest/gtest.h>
#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <QImage>
#include <QString>

#include "atomicfile.h"
#include "tempdir.h"
#include "units.h"

namespace {

std::string slurp(const std::string& path)
{
    std::string text;
    quor::readtextfile(path, text);
    return text;
}

std::vector<std::string> names(const std::filesystem::path& dir)
{
    std::vector<std::string> all;
    for (const auto& e : std::filesystem::directory_iterator(dir)) all.push_back(e.path().filename().string());
    return all;
}

// Calls that fail with errno set, and a write that takes at most three bytes at a time.
int nocreate(const char*) { return errno = EACCES, -1; }
ssize_t nowrite(int, const void*, size_t) { return errno = ENOSPC, -1; }
ssize_t zerowrite(int, const void*, size_t) { return 0; }
ssize_t shortwrite(int fd, const void* b, size_t n) { return ::write(fd, b, n < 3 ? n : 3); }
int nofsync(int) { return errno = EIO, -1; }
int noclose(int fd) { ::close(fd); return errno = EIO, -1; }
int norename(const char*, const char*) { return errno = EXDEV, -1; }

TEST(AtomicFile, EveryFailingCallIsReportedAndLeavesTheTarget)
{
    struct failcase {
        const char* name;
        void (*plant)(quor::tfilecalls&);
        const char* error;   // the start of error()
        bool writes;         // whether write() still succeeds
    };
    const failcase cases[] = {
        {"create", [](quor::tfilecalls& c) { c.create = nocreate; }, "cannot create a temporary file: ", false},
        {"write", [](quor::tfilecalls& c) { c.write = nowrite; }, "cannot write: ", false},
        {"write0", [](quor::tfilecalls& c) { c.write = zerowrite; }, "cannot write", false},
        {"fsync", [](quor::tfilecalls& c) { c.fsync = nofsync; }, "cannot sync: ", true},
        {"close", [](quor::tfilecalls& c) { c.close = noclose; }, "cannot close: ", true},
        {"rename", [](quor::tfilecalls& c) { c.rename = norename; }, "cannot replace the file: ", true},
    };
    for (const bool existing : {true, false}) {
        for (const failcase& c : cases) {
            quortest::tempdir dir;
            const std::string path = dir.str() + "/t.ini";
            if (existing) dir.write("t.ini", "old\n");
            quor::tfilecalls calls = quor::systemfilecalls();
            c.plant(calls);
            EXPECT_FALSE(quor::writefileatomic(path, "new text\n", calls)) << c.name;
            {
                quor::tatomicfile f(path, calls);
                EXPECT_EQ(f.write("new text\n"), c.writes) << c.name;
                EXPECT_FALSE(f.commit()) << c.name;
                EXPECT_FALSE(f.ok()) << c.name;
                EXPECT_EQ(f.error().rfind(c.error, 0), 0u) << c.name << ": " << f.error();
            }
            // The old file as it was, and no temporary file left beside it.
            EXPECT_EQ(names(dir.path), existing ? std::vector<std::string>{"t.ini"} : std::vector<std::string>{}) << c.name;
            if (existing) {
                EXPECT_EQ(slurp(path), "old\n") << c.name;
            }
        }
    }
}

TEST(AtomicFile, ShortWritesAreContinued)
{
    quortest::tempdir dir;
    const std::string path = dir.write("t.ini", "old\n");
    quor::tfilecalls calls = quor::systemfilecalls();
    calls.write = shortwrite;
    ASSERT_TRUE(quor::writefileatomic(path, "0123456789\n", calls));
    EXPECT_EQ(slurp(path), "0123456789\n");
    EXPECT_EQ(names(dir.path), std::vector<std::string>{"t.ini"});
}

TEST(AtomicFile, NewFilesGetWhatTheUmaskAllows)
{
    quortest::tempdir dir;
    struct keepumask {
        mode_t old = ::umask(022);
        ~keepumask() { ::umask(old); }
    } keep;
    const std::pair<mode_t, mode_t> cases[] = {{022, 0644}, {077, 0600}, {002, 0664}};
    for (const auto& [mask, mode] : cases) {
        ::umask(mask);
        const std::string path = dir.str() + "/new" + std::to_string(mask);
        ASSERT_TRUE(quor::writefileatomic(path, "x"));
        struct stat st;
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode) << std::oct << mask;
        // A file that exists keeps its own permissions, whatever the umask.
        ::chmod(path.c_str(), 0604);
        ASSERT_TRUE(quor::writefileatomic(path, "y"));
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0604u) << std::oct << mask;
    }
}

TEST(AtomicFile, PicturesAreWrittenWholeOrNotAtAll)
{
    quortest::tempdir dir;
    const QString path = QString::fromStdString(dir.str() + "/p.png");
    EXPECT_FALSE(quor::saveimageatomic(path, QImage(), "PNG"));
    EXPECT_TRUE(names(dir.path).empty());
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(0xFF0000);
    ASSERT_TRUE(quor::saveimageatomic(path, image, "PNG"));
    EXPECT_FALSE(quor::saveimageatomic(path, image, "NOSUCHFORMAT"));
    const QImage back(path, "PNG");
    ASSERT_EQ(back.size(), QSize(3, 2));
    EXPECT_EQ(back.pixel(2, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(names(dir.path), std::vector<std::string>{"p.png"});
}

}  // namespace
