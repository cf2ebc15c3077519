#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QNetworkCookie>
#include <QString>
#include <QUrl>

#include <optional>

// One session cookie in stored form. A JSON array of these (the cookie JSON) is what the keychain item
// "session-cookies" and each saved account hold; "expires" counts seconds from 2001-01-01 00:00 UTC.
struct StoredCookie
{
    QString name;
    QString value;
    QString domain; // as the cookie store gives it: a leading "." stays
    QString path;
    QDateTime expires;
    bool secure = true;
    bool httpOnly = false;

    bool operator==(const StoredCookie &) const = default;

    // The stored form of a live cookie, or none when it may not be kept: another host than the origin's,
    // not secure, or already expired. A cookie without expiry gets thirty days when
    // `persistingSessionCookie`.
    static std::optional<StoredCookie> admit(const QNetworkCookie &cookie, const QUrl &origin,
                                             bool persistingSessionCookie, const QDateTime &now);
    // The live cookie again, or none when it no longer may be used.
    std::optional<QNetworkCookie> cookie(const QUrl &origin, const QDateTime &now) const;

    // The cookie JSON. `decodeList` throws DecodeError for anything but an array of complete records.
    static QByteArray encodeList(const QList<StoredCookie> &cookies);
    static QList<StoredCookie> decodeList(const QByteArray &json);

    static constexpr qint64 sessionCookieLifetime = 2'592'000; // thirty days, in seconds
};
