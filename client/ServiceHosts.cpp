#include "ServiceHosts.h"

#include <QFile>
#include <QHostAddress>

namespace ServiceHosts {

namespace {

MemberEndpoint fixedEndpoint(const char *host)
{
    QUrl origin;
    origin.setScheme(QStringLiteral("https"));
    origin.setHost(QLatin1String(host));
    return {origin, {}};
}

} // namespace

MemberEndpoint fixedMemberEndpoint() { return fixedEndpoint(memberHost); }

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
            endpoint.trustedCertificates = TrustedCertificates::fromPem(file.readAll());
    }
    return endpoint;
}

namespace {

MemberEndpoint overriddenEndpoint(const char *originVariable, const char *certificateVariable,
                                  MemberEndpoint fixed)
{
    const QString origin = qEnvironmentVariable(originVariable);
    if (!origin.isEmpty()) {
        if (auto chosen = parseOverride(origin, qEnvironmentVariable(certificateVariable)))
            return *chosen;
    }
    return fixed;
}

} // namespace

const MemberEndpoint &memberEndpoint()
{
    static const MemberEndpoint endpoint =
        overriddenEndpoint("VORNA_MEMBER_ORIGIN", "VORNA_MEMBER_CA", fixedMemberEndpoint());
    return endpoint;
}

MemberEndpoint fixedForumEndpoint() { return fixedEndpoint(forumHost); }

const MemberEndpoint &forumEndpoint()
{
    static const MemberEndpoint endpoint =
        overriddenEndpoint("VORNA_FORUM_ORIGIN", "VORNA_FORUM_CA", fixedForumEndpoint());
    return endpoint;
}

MemberEndpoint fixedLiveVendorEndpoint() { return fixedEndpoint(liveVendorHost); }

const MemberEndpoint &liveVendorEndpoint()
{
    static const MemberEndpoint endpoint =
        overriddenEndpoint("VORNA_LIVE_VENDOR_ORIGIN", "VORNA_LIVE_VENDOR_CA", fixedLiveVendorEndpoint());
    return endpoint;
}

bool isLiveVendorPage(const QUrl &url, const MemberEndpoint &vendor)
{
    // The page is always https, even where the override's origin is loopback http.
    return url.isValid() && url.scheme() == QLatin1String("https") && url.userInfo().isEmpty()
           && url.host().compare(vendor.origin.host(), Qt::CaseInsensitive) == 0
           && url.port(443) == vendor.origin.port(443);
}

} // namespace ServiceHosts
