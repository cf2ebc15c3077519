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
    // Qt's limit is one for the whole process: raised here, the app's other readers (aircraft pictures,
    // picked photos) may decode as large a bitmap. Never lowered, for one that asked for more.
    if (const int limit = QImageReader::allocationLimit(); limit != 0 && limit < allocationLimitMiB)
        QImageReader::setAllocationLimit(allocationLimitMiB);
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
