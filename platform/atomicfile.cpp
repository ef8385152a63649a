#include "atomicfile.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace quor {

namespace {

int createfile(const char* path) { return ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }

// A name part unlikely to be taken: the process, a serial number and the clock.
std::string tempsuffix()
{
    static std::atomic<unsigned> serial{0};
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    char text[48];
    std::snprintf(text, sizeof text, ".%x.%x%lx", static_cast<unsigned>(::getpid()), serial++,
                  static_cast<unsigned long>(now.tv_nsec));
    return text;
}

}  // namespace

tfilecalls systemfilecalls() { return {createfile, ::write, ::fsync, ::close, ::rename}; }

tatomicfile::tatomicfile(const std::string& path, const tfilecalls& calls) : calls_(calls), path_(path)
{
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // Not mkstemp: its files are 0600, where a new file should get what the umask allows.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        const std::string temp = dir + "." + name + tempsuffix();
        fd_ = calls_.create(temp.c_str());
        if (fd_ >= 0) temp_ = temp;
        else if (errno != EEXIST) break;
    }
    if (fd_ < 0) fail("cannot create a temporary file");
}

tatomicfile::~tatomicfile()
{
    if (fd_ >= 0) calls_.close(fd_);
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void tatomicfile::fail(const char* what)
{
    if (!failed_) error_ = std::string(what) + ": " + strerror(errno);
    failed_ = true;
}

bool tatomicfile::write(std::string_view bytes)
{
    if (!ok()) return false;
    while (!bytes.empty()) {
        const ssize_t n = calls_.write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            fail("cannot write");
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool tatomicfile::commit()
{
    if (!ok() || committed_) return false;
    struct stat old;
    if (::stat(path_.c_str(), &old) == 0 && ::fchmod(fd_, old.st_mode & 07777) != 0) fail("cannot set permissions");
    if (ok() && calls_.fsync(fd_) != 0) fail("cannot sync");
    if (calls_.close(fd_) != 0) fail("cannot close");
    fd_ = -1;
    if (failed_) return false;
    if (calls_.rename(temp_.c_str(), path_.c_str()) != 0) {
        fail("cannot replace the file");
        return false;
    }
    committed_ = true;
    return true;
}

bool writefileatomic(const std::string& path, std::string_view bytes, const tfilecalls& calls)
{
    tatomicfile f(path, calls);
    return f.write(bytes) && f.commit();
}

}  // namespace quor
