#include "picturefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QBuffer>
#include <QByteArray>
#include <QSaveFile>

namespace quor {

namespace {

// Writes all bytes to a file that exists and is not a regular one, in place.
std::string writeinplace(const QByteArray& bytes, const std::string& path)
{
    // A FIFO no one reads is refused at once rather than waited on; writes then block as usual.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    std::string why;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) why = std::strerror(errno);
    const char* at = bytes.constData();
    auto left = static_cast<std::size_t>(bytes.size());
    while (left > 0 && why.empty()) {
        const ssize_t n = ::write(fd, at, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) why = n < 0 ? std::strerror(errno) : "nothing was written";
        else {
            at += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (::close(fd) != 0 && why.empty()) why = std::strerror(errno);
    return why;
}

}  // namespace

std::string writepicture(const QImage& image, const std::string& path, const char* format)
{
    if (image.isNull()) return "there is no picture";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) return "the picture could not be encoded";
    return writefilebytes(bytes, path);
}

std::string writefilebytes(const QByteArray& bytes, const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) return "it is a folder";
        return writeinplace(bytes, path);
    }
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
    if (file.write(bytes) != bytes.size()) {
        const std::string why = file.errorString().toStdString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) return file.errorString().toStdString();
    return "";
}

}  // namespace quor
