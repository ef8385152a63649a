#pragma once
// Files the programs write are replaced whole: the new text goes to a temporary file beside
// the target, which is renamed over it only when everything was written and synced. A
// failure at any point leaves the old file as it was and no temporary file behind.
#include <sys/types.h>

#include <string>
#include <string_view>

class QImage;
class QString;

namespace quor {

// The system calls the writer makes; tests put failing ones in their place.
struct tfilecalls {
    // Opens a new file for writing, failing when it exists; it gets 0666 less the umask.
    int (*create)(const char* path);
    ssize_t (*write)(int fd, const void* bytes, size_t count);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};
// The real calls.
tfilecalls systemfilecalls();

class tatomicfile {
public:
    // Opens a temporary file in path's folder; ok() tells whether that worked.
    explicit tatomicfile(const std::string& path, const tfilecalls& calls = systemfilecalls());
    // Without commit the temporary file is removed and the target stays untouched.
    ~tatomicfile();
    tatomicfile(const tatomicfile&) = delete;
    tatomicfile& operator=(const tatomicfile&) = delete;

    bool ok() const { return fd_ >= 0 && !failed_; }
    // Appends bytes; false (and the writer failed) when they could not all be written.
    bool write(std::string_view bytes);
    // Syncs, keeps the old file's permissions (0666 less the umask for a new one) and
    // renames over the target. False when anything failed; the target is then unchanged.
    bool commit();
    const std::string& error() const { return error_; }

private:
    void fail(const char* what);
    tfilecalls calls_;
    std::string path_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
    bool committed_ = false;
    std::string error_;
};

// Writes bytes as the whole new content of path, atomically.
bool writefileatomic(const std::string& path, std::string_view bytes, const tfilecalls& calls = systemfilecalls());

// Writes a picture in format ("BMP", "PNG", ...) atomically.
bool saveimageatomic(const QString& path, const QImage& image, const char* format);

}  // namespace quor
