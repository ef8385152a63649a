#pragma once
// Writing a picture to a file with every failure reported.
#include <string>

#include <QByteArray>
#include <QImage>

namespace quor {

// Writes image in format ("PNG", "BMP") to path. A regular file (or a new one) is replaced
// whole: a temporary file beside it is written and renamed over it. Anything else that
// exists there (a device, a FIFO) is written in place. Returns "" on success, else why not.
std::string writepicture(const QImage& image, const std::string& path, const char* format);
// Writes bytes to path the same way; "" on success, else why not.
std::string writefilebytes(const QByteArray& bytes, const std::string& path);

}  // namespace quor
