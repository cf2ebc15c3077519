// The community forum, as far as the forum avatar uses it: a public user record per user name and the avatar
// pictures. The sample service plays the forum on its own origin (VORNA_FORUM_ORIGIN points the app at it).
// Besides the accounts, a few forum-only users answer with the records and pictures the tests need.
#include "SampleService.h"

#include <QColor>
#include <QCryptographicHash>
#include <QImage>
#include <QJsonObject>
#include <QPainter>
#include <QRandomGenerator>
#include <QtEndian>

namespace Sample {

namespace {

// A square avatar of the given side in a colour drawn from the name, with a white ring.
QByteArray forumAvatar(const QString &name, int side)
{
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1);
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(QColor(quint8(hash[3]), quint8(hash[4]), quint8(hash[5])));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, side / 16.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(side * 0.2, side * 0.2, side * 0.6, side * 0.6));
    painter.end();
    return encodedPicture(picture);
}

// A valid PNG followed by padding up to the given length; decoders stop at its end chunk.
QByteArray paddedPicture(qsizetype length)
{
    QByteArray bytes = forumAvatar(QStringLiteral("padded"), 64);
    bytes.append(QByteArray(length - bytes.size(), '\0'));
    return bytes;
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray chunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray out(4, '\0');
    qToBigEndian(quint32(data.size()), out.data());
    QByteArray crc(4, '\0');
    qToBigEndian(crc32(type + data), crc.data());
    return out + type + data + crc;
}

// A tiny PNG whose header claims 60,000 × 60,000 pixels: a decompression bomb to the decoder that believes
// it.
QByteArray bombPicture()
{
    QByteArray header(13, '\0');
    qToBigEndian(quint32(60'000), header.data());
    qToBigEndian(quint32(60'000), header.data() + 4);
    header[8] = 8; // bit depth
    header[9] = 2; // truecolour
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header)
           + chunk("IDAT", QByteArray::fromHex("789c030000000001")) + chunk("IEND", {});
}

// Noise that no JPEG of quality 0.8 fits into 512 KiB at this size.
QByteArray noisyPicture()
{
    QImage picture(1100, 1100, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] = 0xFF000000u | (random.generate() & 0xFFFFFFu);
    }
    return encodedPicture(picture);
}

} // namespace

void Service::addForumRoutes()
{
    route("GET", "/u/{file}", [](Service &service, const Request &request) {
        const QString file = request.parameters.value("file");
        if (!file.endsWith(QLatin1String(".json")))
            return Reply::message(404, QStringLiteral("未找到该资源。"));
        const QString name = file.chopped(5).toLower();
        const QString origin = service.origin().toString();
        QString avatar;
        if (name == QLatin1String("absolute-pilot"))
            avatar = origin + QStringLiteral("/forum-cdn/absolute-pilot/{size}.png");
        else if (name == QLatin1String("plain-pilot"))
            avatar = QStringLiteral("http://127.0.0.1:%1/user_avatar/forum/plain-pilot/{size}/1.png")
                         .arg(service.origin().port());
        else if (name == QLatin1String("no-template"))
            return Reply::json(QJsonObject{{"user", QJsonObject{{"username", name}}}});
        else if (name == QLatin1String("not-json"))
            return Reply::bytes("<html>forum</html>", "text/html");
        else if (QStringList{"huge-pilot", "almost-huge-pilot", "text-pilot", "bomb-pilot", "noisy-pilot",
                             "missing-pilot", "fixed-pilot"}
                     .contains(name))
            avatar = QStringLiteral("/forum-cdn/%1/picture").arg(name);
        else if (service.accountNamed(name))
            avatar = QStringLiteral("/user_avatar/forum/%1/{size}/1.png").arg(name);
        else
            return Reply::message(404, QStringLiteral("未找到该用户。"));
        return Reply::json(
            QJsonObject{{"user", QJsonObject{{"username", name}, {"avatar_template", avatar}}}});
    });
    route("GET", "/user_avatar/forum/{name}/{size}/1.png", [](Service &, const Request &request) {
        bool numeric = false;
        const int side = request.parameters.value("size").toInt(&numeric);
        if (!numeric || side < 1 || side > 1024)
            return Reply::message(404, QStringLiteral("未找到该资源。"));
        return Reply::bytes(forumAvatar(request.parameters.value("name"), side), "image/png");
    });
    route("GET", "/forum-cdn/absolute-pilot/{file}", [](Service &, const Request &request) {
        if (request.parameters.value("file") != QLatin1String("256.png"))
            return Reply::message(404, QStringLiteral("未找到该资源。"));
        return Reply::bytes(forumAvatar(QStringLiteral("absolute-pilot"), 256), "image/png");
    });
    route("GET", "/forum-cdn/{name}/picture", [](Service &, const Request &request) {
        const QString name = request.parameters.value("name");
        if (name == QLatin1String("huge-pilot"))
            return Reply::bytes(paddedPicture(5'242'880), "image/png");
        if (name == QLatin1String("almost-huge-pilot"))
            return Reply::bytes(paddedPicture(5'242'879), "image/png");
        if (name == QLatin1String("text-pilot"))
            return Reply::bytes("not a picture", "image/png");
        if (name == QLatin1String("bomb-pilot"))
            return Reply::bytes(bombPicture(), "image/png");
        if (name == QLatin1String("noisy-pilot"))
            return Reply::bytes(noisyPicture(), "image/png");
        if (name == QLatin1String("fixed-pilot"))
            return Reply::bytes(forumAvatar(name, 120), "image/png");
        return Reply::message(404, QStringLiteral("未找到该资源。"));
    });
}

} // namespace Sample
