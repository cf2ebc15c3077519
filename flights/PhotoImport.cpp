#include "PhotoImport.h"

#include "APIError.h"
#include "Display.h"
#include "L.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

#include <QCoro/QCoroFuture>

#include <algorithm>

namespace PhotoImport {

int longSide(qsizetype limit) { return limit <= avatarLimit ? 800 : 2400; }

Converted convert(const QByteArray &bytes, qsizetype limit)
{
    QBuffer source;
    source.setData(bytes);
    QImageReader reader(&source);
    // Upright as the camera held it: the orientation the file records is applied.
    reader.setAutoTransform(true);
    // A picture whose stated size is absurd (a decompression bomb) is refused before its pixels exist.
    const QSize stated = reader.size();
    if (stated.isValid()
        && (stated.width() > maxSide || stated.height() > maxSide
            || qint64(stated.width()) * stated.height() > maxPixels))
        return {{}, Failure::TooLarge};
    const QImage picture = reader.read();
    if (picture.isNull())
        return {{}, Failure::Unreadable};

    const double scale = std::min(double(longSide(limit)) / std::max(picture.width(), picture.height()), 1.0);
    const QSize size(std::max(qRound(picture.width() * scale), 1),
                     std::max(qRound(picture.height() * scale), 1));
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(), size), picture);
    }

    for (const int quality : {90, 75, 55, 35}) {
        QByteArray jpeg;
        QBuffer target(&jpeg);
        target.open(QIODevice::WriteOnly);
        QImageWriter writer(&target, "jpeg");
        writer.setQuality(quality);
        // An encoding that fails counts as one that is too large.
        if (writer.write(canvas) && jpeg.size() <= limit)
            return {jpeg, Failure::None};
    }
    return {{}, Failure::TooLarge};
}

QStringList nameFilters()
{
    QStringList patterns;
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    for (const char *format : {"png", "jpg", "jpeg", "webp", "heic", "heif"}) {
        if (readable.contains(format))
            patterns.append(QStringLiteral("*.") + QLatin1String(format));
    }
    return {L(QStringLiteral("图片")) + QStringLiteral(" (") + patterns.join(u' ') + u')'};
}

std::optional<QString> leftOutNotice(qsizetype picked, qsizetype room, Pick pick)
{
    const qsizetype leftOut = picked - room;
    if (leftOut <= 0)
        return std::nullopt;
    const QLocale locale = Display::locale();
    if (pick == Pick::Adds)
        return L(QStringLiteral("最多 6 张截图：%@ 张没有添加，可先移除再选择。"), locale.toString(leftOut));
    return Ln(QStringLiteral("这份报告还能添加 %@ 张截图，%@ 张没有添加。重新选择会替换已选的截图。"), room,
              locale.toString(room), locale.toString(leftOut));
}

namespace {

struct Batch
{
    QList<QByteArray> pictures;
    Failure failure = Failure::None;
};

Batch convertAll(const QList<QUrl> &items, qsizetype limit)
{
    Batch batch;
    for (const QUrl &item : items) {
        QFile file(item.toLocalFile());
        if (!item.isLocalFile() || !file.open(QIODevice::ReadOnly))
            return {{}, Failure::Unreadable};
        // Read no further than the largest picture taken: a longer file is refused unread.
        const QByteArray bytes = file.read(maxFileBytes + 1);
        if (bytes.size() > maxFileBytes)
            return {{}, Failure::TooLarge};
        const Converted converted = convert(bytes, limit);
        if (converted.failure != Failure::None)
            return {{}, converted.failure};
        batch.pictures.append(converted.jpeg);
    }
    return batch;
}

} // namespace

QCoro::Task<QList<Upload>> load(QList<QUrl> items, qsizetype limit)
{
    if (items.isEmpty())
        co_return {};
    const Batch batch = co_await QtConcurrent::run(convertAll, items, limit);
    // The member's texts are looked up here, on the main thread.
    switch (batch.failure) {
    case Failure::Unreadable:
        throw APIError(400, L(QStringLiteral("无法读取所选图片，请选择其他图片。")));
    case Failure::TooLarge:
        throw APIError(400, L(QStringLiteral("图片过大，请裁剪后再选择。")));
    case Failure::None:
        break;
    }
    QList<Upload> uploads;
    for (const QByteArray &jpeg : batch.pictures)
        uploads.append(
            {QUuid::createUuid(), jpeg, QStringLiteral("screenshot.jpg"), QStringLiteral("image/jpeg")});
    co_return uploads;
}

} // namespace PhotoImport
