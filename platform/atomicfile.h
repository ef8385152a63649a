#pragma once
// Files the programs write are replaced whole: the new text goes to a temporary file beside
// the target, which is renamed over it only when everything was written and synced. A
// failure at any point leaves the old file as it was and no temporary file behind.
#include <string>
#include <string_view>

class QImage;
class QString;

namespace quor {

class tatomicfile {
public:
    // Opens a temporary file in path's folder; ok() tells whether that worked.
    explicit tatomicfile(const std::string& path);
    // Without commit the temporary file is removed and the target stays untouched.
    ~tatomicfile();
    tatomicfile(const tatomicfile&) = delete;
    tatomicfile& operator=(const tatomicfile&) = delete;

    bool ok() const { return fd_ >= 0 && !failed_; }
    // Appends bytes; false (and the writer failed) when they could not all be written.
    bool write(std::string_view bytes);
    // Syncs, keeps the old file's permissions (0644 for a new one) and renames over the
    // target. False when anything failed; the target is then unchanged.
    bool commit();
    const std::string& error() const { return error_; }

private:
    void fail(const char* what);
    std::string path_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
    bool committed_ = false;
    std::string error_;
};

// Writes bytes as the whole new content of path, atomically.
bool writefileatomic(const std::string& path, std::string_view bytes);

// Writes a picture in format ("BMP", "PNG", ...) atomically.
bool saveimageatomic(const QString& path, const QImage& image, const char* format);

}  // namespace quor
