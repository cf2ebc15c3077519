#include "StoredCookie.h"

#include "Json.h"

#include <cmath>

namespace {

// Seconds between the Unix epoch and 2001-01-01 00:00 UTC, the zero of the stored "expires".
constexpr double referenceDateOffset = 978'307'200;

QString trimmedDomain(const QString &domain)
{
    qsizetype start = 0;
    qsizetype end = domain.size();
    while (start < end && domain.at(start) == QLatin1Char('.'))
        ++start;
    while (end > start && domain.at(end - 1) == QLatin1Char('.'))
        --end;
    return domain.mid(start, end - start);
}

bool belongsTo(const QString &domain, const QUrl &origin)
{
    return !origin.host().isEmpty() && trimmedDomain(domain) == origin.host();
}

} // namespace

std::optional<StoredCookie> StoredCookie::admit(const QNetworkCookie &cookie, const QUrl &origin,
                                                bool persistingSessionCookie, const QDateTime &now)
{
    if (!belongsTo(cookie.domain(), origin))
        return std::nullopt;
    QDateTime expires = cookie.expirationDate();
    if (cookie.isSessionCookie()) {
        if (!persistingSessionCookie)
            return std::nullopt;
        expires = now.addSecs(sessionCookieLifetime);
    }
    if (!(expires > now) || !cookie.isSecure())
        return std::nullopt;
    return StoredCookie{QString::fromUtf8(cookie.name()),
                        QString::fromUtf8(cookie.value()),
                        cookie.domain(),
                        cookie.path(),
                        expires.toUTC(),
                        cookie.isSecure(),
                        cookie.isHttpOnly()};
}

std::optional<QNetworkCookie> StoredCookie::cookie(const QUrl &origin, const QDateTime &now) const
{
    if (!belongsTo(domain, origin) || !(expires > now) || !secure)
        return std::nullopt;
    QNetworkCookie cookie(name.toUtf8(), value.toUtf8());
    cookie.setDomain(domain);
    cookie.setPath(path);
    cookie.setExpirationDate(expires);
    cookie.setSecure(true);
    cookie.setHttpOnly(httpOnly);
    return cookie;
}

QByteArray StoredCookie::encodeList(const QList<StoredCookie> &cookies)
{
    QJsonArray list;
    for (const StoredCookie &cookie : cookies) {
        list.append(QJsonObject{
            {QStringLiteral("name"), cookie.name},
            {QStringLiteral("value"), cookie.value},
            {QStringLiteral("domain"), cookie.domain},
            {QStringLiteral("path"), cookie.path},
            {QStringLiteral("expires"), cookie.expires.toMSecsSinceEpoch() / 1000.0 - referenceDateOffset},
            {QStringLiteral("secure"), cookie.secure},
            {QStringLiteral("httpOnly"), cookie.httpOnly},
        });
    }
    return Json::compact(list);
}

QList<StoredCookie> StoredCookie::decodeList(const QByteArray &json)
{
    const QJsonValue value = Json::parse(json);
    if (!value.isArray())
        throw DecodeError(QStringLiteral("the cookie list is not an array"));
    QList<StoredCookie> cookies;
    for (const QJsonValue &item : value.toArray()) {
        // Stored with plain camel-case keys ("httpOnly"): no snake-case forms here.
        const JsonFields fields(item, false);
        const double expires = fields.number(u"expires");
        // A damaged item must not turn into an undefined conversion.
        if (!std::isfinite(expires) || std::fabs(expires) > 1e12)
            throw DecodeError(QStringLiteral("expires is out of range"));
        // Rounded, not cut: seconds as a double rarely hold a millisecond exactly.
        cookies.append(
            {fields.string(u"name"), fields.string(u"value"), fields.string(u"domain"),
             fields.string(u"path"),
             QDateTime::fromMSecsSinceEpoch(std::llround((expires + referenceDateOffset) * 1000), Qt::UTC),
             fields.boolean(u"secure"), fields.boolean(u"httpOnly")});
    }
    return cookies;
}
