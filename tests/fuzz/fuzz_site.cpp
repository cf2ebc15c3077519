#include "FuzzTarget.h"

#include "APIClient.h"
#include "APIError.h"
#include "AircraftCatalog.h"
#include "BaseMap.h"
#include "CommunityRecords.h"
#include "ForumAvatar.h"
#include "Json.h"
#include "LiveTabModel.h"
#include "MemberNavigation.h"
#include "MultipartBody.h"
#include "ReadMarks.h"
#include "ReleaseManifest.h"
#include "ServiceHosts.h"
#include "UpdateCheck.h"

#include <QSet>
#include <QUrl>

namespace {

bool isFieldName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool allowed =
            (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
        if (!allowed)
            return false;
    }
    return true;
}

} // namespace

// The body of a failed answer: whatever it holds, the member gets a text to read.
VORNA_FUZZ_TARGET(error_body) { FUZZ_CHECK(!failureMessage(bytes, 500).isNull()); }

// The livery catalog from the member site. Every picture it yields must be a path the app may fetch
// without the member's cookies; lookups by any names never fail.
VORNA_FUZZ_TARGET(catalog)
{
    AircraftCatalog catalog;
    try {
        catalog = AircraftCatalog::decode(bytes);
    } catch (const DecodeError &) {
        return;
    }
    for (const CatalogAircraft &aircraft : catalog.aircraft()) {
        for (const AircraftPhotoReference &photo : aircraft.photos())
            FUZZ_CHECK(AircraftPhotoReference::isPublicAssetPath(photo.path));
        for (const QStringList &row : aircraft.liveries) {
            if (!row.isEmpty())
                catalog.photo(aircraft.name, row.front());
        }
        catalog.aircraftNamed(aircraft.name);
    }
}

// Text fields of a form, "name=value" each, separated by NUL bytes: the body is made only of field names
// that cannot break its part headers.
VORNA_FUZZ_TARGET(multipart)
{
    QMap<QString, QString> fields;
    for (const QString &line : QString::fromUtf8(bytes).split(QChar(0))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        fields.insert(line.left(equals), equals < 0 ? QString() : line.mid(equals + 1));
    }
    try {
        MultipartBody::make(fields, {}, QStringLiteral("screenshots"));
    } catch (const APIError &error) {
        FUZZ_CHECK(error.status() == 400);
        return;
    }
    for (const QString &name : fields.keys())
        FUZZ_CHECK(isFieldName(name));
}

// The notices of the inbox against read marks: only notices of the inbox are ever reported read.
// Input: the inbox answer, a NUL byte, then one mark per line.
VORNA_FUZZ_TARGET(read_marks)
{
    const qsizetype split = bytes.indexOf('\0');
    if (split < 0)
        return;
    SiteInbox inbox;
    try {
        inbox = SiteInbox::fromJson(Json::parse(bytes.left(split)));
    } catch (const DecodeError &) {
        return;
    }
    const QStringList lines = QString::fromUtf8(bytes.mid(split + 1)).split(QLatin1Char('\n'));
    const QSet<QString> marks(lines.cbegin(), lines.cend());
    QSet<QString> ids;
    for (const SiteNotice &notice : inbox.notifications)
        ids.insert(notice.id);
    for (const QString &id : ReadMarks::matchingIds(inbox, marks))
        FUZZ_CHECK(ids.contains(id));
    FUZZ_CHECK(ReadMarks::matchingIds(inbox, {}).isEmpty());
}

// Links handed over by a second start, one per line as the channel reads them.
VORNA_FUZZ_TARGET(deep_links)
{
    for (const QString &line : QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QUrl url(line);
        if (FlightActivityLink::isOwnFlight(url))
            FUZZ_CHECK(url.path() == QLatin1String("/own-flight")
                       && url.host().toLower() == QLatin1String("live-map"));
    }
}

// The base map's packed shapes: a damaged file is refused, never read past its end.
VORNA_FUZZ_TARGET(basemap)
{
    const BaseMap map = BaseMap::decode(bytes);
    if (bytes.size() < 16)
        FUZZ_CHECK(map.isEmpty());
}

// A report id as the service sends it, put into the paths of the report's evidence and of a staff
// decision: the request stays on that report's endpoint with the id as one path segment, or is refused.
VORNA_FUZZ_TARGET(report_paths)
{
    static const APIClient client(QUrl(QStringLiteral("https://vornalia.org")),
                                  std::make_shared<MemorySessionStore>());
    const QString id = QString::fromUtf8(bytes);
    const std::pair<QString, QString> endpoints[] = {
        {QStringLiteral("/api/pireps/"), QStringLiteral("evidence")},
        {QStringLiteral("/api/admin/pireps/"), QStringLiteral("review")}};
    for (const auto &[prefix, action] : endpoints) {
        QUrl url;
        try {
            url = client.makeRequest(prefix + APIPath::encoded(id) + QLatin1Char('/') + action, "GET")
                      .request.url();
        } catch (const APIError &error) {
            FUZZ_CHECK(error.status() == 400);
            continue;
        }
        const QString path = url.path(QUrl::FullyEncoded);
        FUZZ_CHECK(path.startsWith(prefix));
        const QStringList rest = path.mid(prefix.size()).split(QLatin1Char('/'));
        FUZZ_CHECK(rest.size() == 2 && rest.last() == action);
        FUZZ_CHECK(QUrl::fromPercentEncoding(rest.first().toUtf8()) == id);
    }
}

// The Live authorisation address from the service: opened only when it is https on the vendor's host, both
// written exactly so.
VORNA_FUZZ_TARGET(authorization_address)
{
    const QString text = QString::fromUtf8(bytes);
    const std::optional<QUrl> url = LiveTabModel::authorizationAddress(text);
    if (!url)
        return;
    const QString written = QStringLiteral("https://") + ServiceHosts::liveVendorEndpoint().origin.host();
    FUZZ_CHECK(text.startsWith(written));
    FUZZ_CHECK(text.size() == written.size() || QStringLiteral(":/?#").contains(text.at(written.size())));
    FUZZ_CHECK(ServiceHosts::isLiveVendorPage(*url));
}

// The release manifest from the member site: its download address is opened only when it is https on the
// site's own hosts, with no user part.
VORNA_FUZZ_TARGET(release_manifest)
{
    ReleaseManifest release;
    try {
        release = ReleaseManifest::fromJson(Json::parse(bytes));
    } catch (const DecodeError &) {
        return;
    }
    if (!UpdateCheck::isTrusted(release.url))
        return;
    const QUrl url(release.url);
    const QString member = QLatin1String(ServiceHosts::memberHost);
    const QStringList hosts{member, QStringLiteral("www.") + member, QLatin1String(ServiceHosts::secondHost)};
    FUZZ_CHECK(url.scheme() == QLatin1String("https") && url.userInfo().isEmpty());
    FUZZ_CHECK(hosts.contains(url.host().toLower()));
}

// The avatar template of a member's record at the forum: the picture is fetched only from an https address
// with a host, and one written with its own scheme wrote "https" itself.
VORNA_FUZZ_TARGET(forum_avatar_address)
{
    const QString avatarTemplate = QString::fromUtf8(bytes);
    const std::optional<QUrl> url =
        ForumAvatar::pictureAddress(ServiceHosts::forumEndpoint().origin, avatarTemplate);
    if (!url)
        return;
    FUZZ_CHECK(url->isValid() && url->scheme() == QLatin1String("https") && !url->host().isEmpty());
    if (QUrl(avatarTemplate).scheme().isEmpty())
        return;
    FUZZ_CHECK(avatarTemplate.startsWith(QLatin1String("https:")));
}
