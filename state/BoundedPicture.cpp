#include "BoundedPicture.h"

#include <QBuffer>
#include <QImageReader>

namespace BoundedPicture {

namespace {

bool within(QSize size)
{
    return size.isValid() && size.width() <= maxSide && size.height() <= maxSide
           && qint64(size.width()) * size.height() <= maxPixels;
}

} // namespace

QImage decode(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (!within(reader.size()))
        return QImage();
    QImage picture;
    if (!reader.read(&picture) || !within(picture.size()))
        return QImage();
    return picture;
}

} // namespace BoundedPicture
