// The picture writer apart from the plain atomic files, so that these need no Qt.
#include "atomicfile.h"

#include <QBuffer>
#include <QImage>
#include <QString>

namespace quor {

bool saveimageatomic(const QString& path, const QImage& image, const char* format)
{
    if (image.isNull()) return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) return false;
    return writefileatomic(path.toStdString(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace quor
