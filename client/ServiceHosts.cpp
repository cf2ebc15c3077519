#include "ServiceHosts.h"

#include <QFile>
#include <QHostAddress>

namespace ServiceHosts {

MemberEndpoint fixedMemberEndpoint()
{
    QUrl origin;
    origin.setScheme(QStringLiteral("https"));
    origin.setHost(QLatin1String(memberHost));
    return {origin, {}};
}

std::optional<MemberEndpoint> parseOverride(const QString &originText, const QString &certificateFile)
{
    const QUrl origin(originText, QUrl::StrictMode);
    if (!origin.isValid() || origin.host().isEmpty() || !origin.userInfo().isEmpty() || origin.hasQuery()
        || origin.hasFragment() || (!origin.path().isEmpty() && origin.path() != QLatin1String("/")))
        return std::nullopt;
    const bool loopback = QHostAddress(origin.host()).isLoopback()
                          || origin.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0;
    const QString scheme = origin.scheme().toLower();
    if (scheme != QLatin1String("https") && !(scheme == QLatin1String("http") && loopback))
        return std::nullopt;

    MemberEndpoint endpoint;
    endpoint.origin = origin.adjusted(QUrl::RemovePath);
    if (!certificateFile.isEmpty()) {
        QFile file(certificateFile);
        if (file.open(QIODevice::ReadOnly))
            endpoint.trustedCertificates = QSslCertificate::fromData(file.readAll(), QSsl::Pem);
    }
    return endpoint;
}

const MemberEndpoint &memberEndpoint()
{
    static const MemberEndpoint endpoint = [] {
        const QString origin = qEnvironmentVariable("VORNA_MEMBER_ORIGIN");
        if (!origin.isEmpty()) {
            if (auto chosen = parseOverride(origin, qEnvironmentVariable("VORNA_MEMBER_CA")))
                return *chosen;
        }
        return fixedMemberEndpoint();
    }();
    return endpoint;
}

MemberEndpoint fixedForumEndpoint()
{
    QUrl origin;
    origin.setScheme(QStringLiteral("https"));
    origin.setHost(QLatin1String(forumHost));
    return {origin, {}};
}

const MemberEndpoint &forumEndpoint()
{
    static const MemberEndpoint endpoint = [] {
        const QString origin = qEnvironmentVariable("VORNA_FORUM_ORIGIN");
        if (!origin.isEmpty()) {
            if (auto chosen = parseOverride(origin, qEnvironmentVariable("VORNA_FORUM_CA")))
                return *chosen;
        }
        return fixedForumEndpoint();
    }();
    return endpoint;
}

} // namespace ServiceHosts
