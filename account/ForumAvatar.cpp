#include "ForumAvatar.h"

#include "APIError.h"
#include "AccountLog.h"
#include "BoundedPicture.h"
#include "L.h"
#include "Transfer.h"

#include <QBuffer>
#include <QImageWriter>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QUuid>

#include <memory>

namespace ForumAvatar {

QString failureMessage() { return L(QStringLiteral("无法读取 IFC 头像，请稍后重试或上传头像。")); }

namespace {

APIError failure() { return APIError(0, failureMessage()); }

TransferRules rules(qint64 maxBytes)
{
    using namespace std::chrono_literals;
    return TransferRules{maxBytes, failure(), 30s, 60s, 3,
                         // Only to an encrypted address.
                         [](const QUrl &url) { return url.scheme() == QLatin1String("https"); }};
}

HTTPRequest get(const QUrl &url)
{
    HTTPRequest request;
    request.request = QNetworkRequest(url);
    request.request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    return request;
}

} // namespace

QUrl recordAddress(const QUrl &origin, const QString &username)
{
    QUrl url = origin;
    // One path component: a slash in the name is encoded, not a separator.
    url.setPath(QStringLiteral("/u/")
                    + QString::fromLatin1(QUrl::toPercentEncoding(username + QStringLiteral(".json"))),
                QUrl::StrictMode);
    return url;
}

std::optional<QUrl> pictureAddress(const QUrl &origin, const QString &avatarTemplate)
{
    QString text = avatarTemplate;
    text.replace(QLatin1String("{size}"), QLatin1String("256"));
    const QUrl relative(text, QUrl::StrictMode);
    if (!relative.isValid())
        return std::nullopt;
    const QUrl absolute = origin.resolved(relative);
    if (!absolute.isValid() || absolute.host().isEmpty())
        return std::nullopt;
    // The scheme as written: "HTTPS" or "http" fails.
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const bool hasScheme = !relative.scheme().isEmpty();
    if (hasScheme && text.left(colon) != QLatin1String("https"))
        return std::nullopt;
    if (absolute.scheme() != QLatin1String("https"))
        return std::nullopt;
    return absolute;
}

QCoro::Task<Picture> fetch(ServiceHosts::MemberEndpoint forum, QString username)
{
    // The call's own manager: a fresh cookie jar, no cache, nothing of the member client's. It goes at the
    // end of the call, with anything still running on it, once the reply that resumed the call has returned.
    struct Session : QObject
    {
        explicit Session(const TrustedCertificates &certificates)
            : transfers(this, certificates)
        {
        }
        Transfers transfers;
    };
    const auto release = [](Session *session) { session->deleteLater(); };
    const std::unique_ptr<Session, decltype(release)> session(new Session(forum.trustedCertificates),
                                                              release);
    Transfers &transfers = session->transfers;
    try {
        const HTTPAnswer record =
            co_await transfers.run(get(recordAddress(forum.origin, username)), rules(maxRecordBytes));
        if (record.status != 200)
            throw failure();
        QJsonParseError parsed;
        const QJsonDocument document = QJsonDocument::fromJson(record.body, &parsed);
        const QJsonValue avatarTemplate = document.object().value("user").toObject().value("avatar_template");
        if (parsed.error != QJsonParseError::NoError || !document.isObject()
            || !document.object().value("user").isObject() || !avatarTemplate.isString())
            throw failure();
        const std::optional<QUrl> address = pictureAddress(forum.origin, avatarTemplate.toString());
        if (!address)
            throw failure();
        const HTTPAnswer picture = co_await transfers.run(get(*address), rules(maxPictureBytes - 1));
        if (picture.status != 200 || picture.body.size() >= maxPictureBytes)
            throw failure();
        const QImage decoded = BoundedPicture::decode(picture.body);
        if (decoded.isNull())
            throw failure();
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(80);
        // JPEG has no transparency: what is transparent becomes white, as with a picked photo.
        QImage opaque(decoded.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        {
            QPainter painter(&opaque);
            painter.drawImage(0, 0, decoded);
        }
        if (!writer.write(opaque) || jpeg.isEmpty() || jpeg.size() > maxJpegBytes)
            throw failure();
        co_return Picture{
            Upload{QUuid::createUuid(), jpeg, QStringLiteral("ifc-avatar.jpg"), QStringLiteral("image/jpeg")},
            decoded};
    } catch (const APIError &) {
        qCInfo(lcAccount, "forum avatar failed");
        throw failure();
    } catch (const std::exception &) {
        qCInfo(lcAccount, "forum avatar failed");
        throw failure();
    }
}

} // namespace ForumAvatar
