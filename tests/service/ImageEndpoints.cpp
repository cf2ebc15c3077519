// The livery catalog and the aircraft pictures, static files of the member site. The pictures are drawn
// here: an airliner side view in the livery's colours on a transparent canvas with wide margins, as the
// site's exported pictures have.
#include "SampleService.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

namespace Sample {

namespace {

const QString liveries = QStringLiteral("/live-map-assets/liveries/");

struct Livery
{
    QString name;
    QColor tail;
    QColor stripe;
    bool light = false; // a small aircraft: high wing, propeller
};

QColor colourAt(const QJsonArray &row, int index, const QColor &fallback)
{
    const QColor colour(row.at(index).toString());
    return colour.isValid() ? colour : fallback;
}

// The row of the catalog that names this picture, if any.
std::optional<Livery> liveryOf(const QJsonValue &catalog, const QString &dir, const QString &file)
{
    for (const QJsonValue &entry : catalog.toObject().value("aircraft").toArray()) {
        const QJsonObject aircraft = entry.toObject();
        if (aircraft.value("dir").toString() != dir)
            continue;
        for (const QJsonValue &value : aircraft.value("liveries").toArray()) {
            const QJsonArray row = value.toArray();
            const QString extension = row.size() > 2 ? row.at(2).toString() : QStringLiteral("webp");
            if (row.at(1).toString() + '.' + extension != file)
                continue;
            const QColor grey(0x9a, 0xa5, 0xb1);
            return Livery{row.at(0).toString(), colourAt(row, 3, grey), colourAt(row, 4, grey),
                          dir == QLatin1String("c172")};
        }
    }
    return std::nullopt;
}

// An aircraft seen from the side, nose to the right, inside the middle of the canvas.
QImage drawAircraft(const Livery &livery, const QSize &canvas)
{
    QImage image(canvas, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const qreal w = canvas.width();
    const qreal h = canvas.height();
    const qreal left = w * 0.12;
    const qreal right = w * 0.88;
    const qreal length = right - left;
    const qreal bodyTop = h * 0.42;
    const qreal bodyHeight = h * (livery.light ? 0.14 : 0.16);
    const qreal bodyBottom = bodyTop + bodyHeight;
    const QColor white(0xf5, 0xf7, 0xfa);
    const QColor outline(0x5c, 0x66, 0x73);

    // Tail fin and horizontal stabiliser.
    QPainterPath fin;
    fin.moveTo(left + length * 0.02, bodyTop + bodyHeight * 0.2);
    fin.lineTo(left + length * 0.06, h * 0.16);
    fin.lineTo(left + length * 0.13, h * 0.16);
    fin.lineTo(left + length * 0.2, bodyTop);
    fin.closeSubpath();
    p.setPen(QPen(outline, 2));
    p.setBrush(livery.tail);
    p.drawPath(fin);
    p.setBrush(livery.tail.darker(115));
    p.drawPolygon(QPolygonF{{left + length * 0.01, bodyTop + bodyHeight * 0.45},
                            {left + length * 0.1, bodyTop + bodyHeight * 0.35},
                            {left + length * 0.12, bodyTop + bodyHeight * 0.55},
                            {left + length * 0.02, bodyTop + bodyHeight * 0.6}});

    // Fuselage: a long body with a rounded nose and a tail cone that rises to the fin.
    QPainterPath body;
    body.moveTo(left, bodyTop + bodyHeight * 0.25);
    body.lineTo(left + length * 0.2, bodyTop);
    body.lineTo(right - length * 0.09, bodyTop);
    body.cubicTo(right - length * 0.02, bodyTop, right, bodyTop + bodyHeight * 0.6, right,
                 bodyTop + bodyHeight * 0.7);
    body.cubicTo(right, bodyBottom, right - length * 0.05, bodyBottom, right - length * 0.09, bodyBottom);
    body.lineTo(left + length * 0.26, bodyBottom);
    body.lineTo(left + length * 0.03, bodyTop + bodyHeight * 0.45);
    body.closeSubpath();
    p.setBrush(white);
    p.drawPath(body);

    // The cheatline along the windows and the coloured belly.
    p.save();
    p.setClipPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(livery.stripe);
    p.drawRect(QRectF(left, bodyTop + bodyHeight * 0.55, length, bodyHeight * 0.1));
    p.setBrush(livery.stripe.darker(130));
    p.drawRect(QRectF(left, bodyTop + bodyHeight * 0.82, length, bodyHeight * 0.2));
    p.restore();

    // Cabin windows and the cockpit.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x33, 0x3d));
    const qreal window = bodyHeight * 0.11;
    const int windows = livery.light ? 3 : 34;
    const qreal firstWindow = left + length * (livery.light ? 0.55 : 0.25);
    const qreal windowGap = livery.light ? length * 0.07 : length * 0.018;
    for (int i = 0; i < windows; ++i)
        p.drawEllipse(QPointF(firstWindow + i * windowGap, bodyTop + bodyHeight * 0.38), window / 2,
                      window / 2);
    p.drawPolygon(QPolygonF{{right - length * 0.06, bodyTop + bodyHeight * 0.3},
                            {right - length * 0.025, bodyTop + bodyHeight * 0.3},
                            {right - length * 0.012, bodyTop + bodyHeight * 0.45},
                            {right - length * 0.06, bodyTop + bodyHeight * 0.45}});

    p.setPen(QPen(outline, 2));
    if (livery.light) {
        // High wing with its strut, and the propeller.
        p.setBrush(white);
        p.drawRoundedRect(
            QRectF(left + length * 0.45, bodyTop - bodyHeight * 0.18, length * 0.32, bodyHeight * 0.18), 6,
            6);
        p.drawLine(QPointF(left + length * 0.6, bodyTop), QPointF(left + length * 0.55, bodyBottom));
        p.setBrush(QColor(0x3b, 0x43, 0x4e));
        p.drawRoundedRect(QRectF(right + w * 0.005, bodyTop - bodyHeight * 0.5, w * 0.012, bodyHeight * 2), 4,
                          4);
    } else {
        // Swept wing seen from the side, and an engine under it.
        p.setBrush(QColor(0xd9, 0xde, 0xe4));
        p.drawPolygon(QPolygonF{{left + length * 0.38, bodyBottom - bodyHeight * 0.15},
                                {left + length * 0.62, bodyBottom - bodyHeight * 0.2},
                                {left + length * 0.6, bodyBottom + bodyHeight * 0.15},
                                {left + length * 0.44, bodyBottom + bodyHeight * 0.1}});
        p.setBrush(white);
        p.drawRoundedRect(
            QRectF(left + length * 0.52, bodyBottom + bodyHeight * 0.05, length * 0.14, bodyHeight * 0.55),
            bodyHeight * 0.25, bodyHeight * 0.25);
        p.setBrush(livery.tail);
        p.drawRect(
            QRectF(left + length * 0.64, bodyBottom + bodyHeight * 0.08, length * 0.02, bodyHeight * 0.49));
    }

    // Landing gear.
    p.setBrush(QColor(0x2b, 0x33, 0x3d));
    const qreal wheel = bodyHeight * (livery.light ? 0.3 : 0.24);
    const qreal ground = bodyBottom + bodyHeight * (livery.light ? 0.55 : 0.75);
    for (const qreal x : {livery.light ? 0.56 : 0.55, 0.9}) {
        const QPointF hub(left + length * x, ground);
        p.drawLine(QPointF(hub.x(), bodyBottom - 2), hub);
        p.drawEllipse(hub, wheel / 2, wheel / 2);
    }
    p.end();
    return image;
}

// PNG's chunk checksum (CRC-32, as in zlib).
quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG of exactly `size` bytes: a small picture, then a private ancillary chunk that decoders skip.
QByteArray pngOfSize(qint64 size)
{
    QImage picture(64, 32, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(QRect(8, 8, 48, 16), QColor(0x1b, 0x3f, 0x8f));
    painter.end();
    QByteArray png = encodedPicture(picture, "png");
    constexpr qsizetype endChunk = 12; // IEND: length, type, CRC
    constexpr qsizetype chunkFrame = 12;
    const qint64 padding = size - png.size() - chunkFrame;
    if (padding < 0)
        return png;
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(padding), chunk.data());
    chunk += QByteArray("vnPd") + QByteArray(padding, 'v');
    const quint32 crc = crc32(chunk.mid(4));
    QByteArray crcBytes(4, '\0');
    qToBigEndian(crc, crcBytes.data());
    png.insert(png.size() - endChunk, chunk + crcBytes);
    return png;
}

// Pictures are drawn once per process.
QByteArray picture(const Livery &livery, const QString &file)
{
    static QHash<QString, QByteArray> drawn;
    const QString key = livery.name + '/' + file;
    auto found = drawn.constFind(key);
    if (found != drawn.constEnd())
        return *found;
    const QImage image = drawAircraft(livery, QSize(1600, 900));
    const QByteArray bytes = encodedPicture(image, file.endsWith(QLatin1String(".png")) ? "png" : "webp");
    drawn.insert(key, bytes);
    return bytes;
}

QByteArray mediaType(const QString &file)
{
    if (file.endsWith(QLatin1String(".png")))
        return "image/png";
    if (file.endsWith(QLatin1String(".jpg")) || file.endsWith(QLatin1String(".jpeg")))
        return "image/jpeg";
    return "image/webp";
}

} // namespace

void Service::addImageRoutes()
{
    // The catalog changes when the site publishes liveries: clients revalidate it every time.
    route("GET", liveries + "catalog.json", [](Service &service, const Request &) {
        Reply reply = Reply::json(service.data(QStringLiteral("liveries-catalog")));
        reply.headers.append({QByteArray("Cache-Control"), QByteArray("no-cache")});
        return reply;
    });
    route("GET", liveries + "{dir}/{file}", [](Service &service, const Request &request) {
        const QString dir = request.parameters.value("dir");
        const QString file = request.parameters.value("file");
        const std::optional<Livery> livery =
            liveryOf(service.data(QStringLiteral("liveries-catalog")), dir, file);
        // "missing-sample" is listed but never published, like a livery whose export failed.
        if (!livery || file.startsWith(QLatin1String("missing-sample.")))
            return Reply::message(404, QStringLiteral("未找到该资源。"));
        Reply reply = Reply::bytes(picture(*livery, file), mediaType(file));
        reply.headers.append({QByteArray("Cache-Control"), QByteArray("public, max-age=86400")});
        return reply;
    });
    // Pictures of an exact size, for the size limits: "/live-map-assets/liveries/sized/b8388608.png".
    route("GET", liveries + "sized/{file}", [](Service &, const Request &request) {
        const QString file = request.parameters.value("file");
        bool valid = file.startsWith('b') && file.endsWith(QLatin1String(".png"));
        const qint64 size = valid ? file.mid(1, file.size() - 5).toLongLong(&valid) : 0;
        if (!valid || size <= 0 || size > 64 * 1024 * 1024)
            return Reply::message(404, QStringLiteral("未找到该资源。"));
        return Reply::bytes(pngOfSize(size), "image/png");
    });
    // One livery loads slowly, to show the loading state.
    Fault slow;
    slow.bodyDelayMs = 15'000;
    setFault(liveries + "a320/slow-sample.webp", slow);
}

QByteArray encodedPicture(const QImage &picture, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format, qstrcmp(format, "webp") == 0 ? 90 : -1);
    return bytes;
}

} // namespace Sample
