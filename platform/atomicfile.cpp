#include "atomicfile.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quor {

tatomicfile::tatomicfile(const std::string& path) : path_(path)
{
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string templ = dir + "." + name + ".XXXXXX";
    fd_ = mkstemp(templ.data());
    if (fd_ < 0) {
        fail("cannot create a temporary file");
        return;
    }
    temp_ = templ;
}

tatomicfile::~tatomicfile()
{
    if (fd_ >= 0) ::close(fd_);
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
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
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
    const mode_t mode = ::stat(path_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (::fchmod(fd_, mode) != 0) fail("cannot set permissions");
    if (ok() && ::fsync(fd_) != 0) fail("cannot sync");
    if (::close(fd_) != 0) fail("cannot close");
    fd_ = -1;
    if (failed_) return false;
    if (::rename(temp_.c_str(), path_.c_str()) != 0) {
        fail("cannot replace the file");
        return false;
    }
    committed_ = true;
    return true;
}

bool writefileatomic(const std::string& path, std::string_view bytes)
{
    tatomicfile f(path);
    return f.write(bytes) && f.commit();
}

}  // namespace quor
