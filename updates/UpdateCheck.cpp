#include "UpdateCheck.h"

#include <QRegularExpression>

#include "BuildInfo.h"
#include "Busy.h"
#include "Installed.h"
#include "Json.h"
#include "L.h"
#include "Outcome.h"
#include "ServiceHosts.h"
#include "UpdatesLog.h"

#include <QNetworkAccessManager>

namespace {

// Each build reads the manifest of its own platform, whose download its advice explains.
#if defined(Q_OS_MACOS)
constexpr char manifestPath[] = "/downloads/macos/latest.json";
#else
constexpr char manifestPath[] = "/downloads/linux/latest.json";
#endif

// Why a check failed is never shown: every failure gives the same notice.
APIError unusable() { return APIError(502, QString()); }

} // namespace

UpdateCheck::UpdateCheck(Options options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_transfers(this, m_options.trustedCertificates)
{
}

UpdateCheck::~UpdateCheck() = default;

UpdateCheck &UpdateCheck::shared() { return Installed<UpdateCheck>::current(); }

UpdateCheck *UpdateCheck::create(QQmlEngine *, QJSEngine *)
{
    // The engine must not take the installed instance as its own.
    QJSEngine::setObjectOwnership(&shared(), QJSEngine::CppOwnership);
    return &shared();
}

UpdateCheck::Options UpdateCheck::defaultOptions()
{
    const ServiceHosts::MemberEndpoint &endpoint = ServiceHosts::memberEndpoint();
    return {.manifest = manifestAddress(endpoint.origin),
            .trustedCertificates = endpoint.trustedCertificates,
            .build = QString::fromLatin1(BuildInfo::build),
            .version = QString::fromLatin1(BuildInfo::version),
            .clock = {}};
}

QUrl UpdateCheck::manifestAddress(const QUrl &origin)
{
    QUrl address = origin;
    address.setPath(QLatin1String(manifestPath));
    return address;
}

bool UpdateCheck::isTrusted(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    // QUrl lowers the scheme it reads, so "HTTPS" is refused on the text itself.
    if (!url.isValid() || url.scheme() != QLatin1String("https")
        || !address.startsWith(QLatin1String("https:")))
        return false;
    // No user part at all, not even an empty one: QUrl drops "https://@host" and "https://:@host" to the
    // bare host, so the authority is read on the text.
    const QString authority = address.mid(qsizetype(std::char_traits<char>::length("https://")))
                                  .section(QRegularExpression(QStringLiteral("[/?#]")), 0, 0);
    if (!address.startsWith(QLatin1String("https://")) || authority.contains(u'@')
        || !url.userName().isEmpty() || !url.password().isEmpty())
        return false;
    const QString host = url.host().toLower();
    const QString member = QLatin1String(ServiceHosts::memberHost);
    return !host.isEmpty()
           && (host == member || host == QLatin1String("www.") + member
               || host == QLatin1String(ServiceHosts::secondHost));
}

qint64 UpdateCheck::parseBuild(const QString &text)
{
    QStringView digits(text);
    if (digits.startsWith(u'+') || digits.startsWith(u'-'))
        digits = digits.mid(1);
    if (digits.isEmpty()
        || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return 0;
    // toLongLong takes the sign itself, and refuses what lies outside 64 bits.
    bool ok = false;
    const qint64 build = text.toLongLong(&ok, 10);
    return ok ? build : 0;
}

QString UpdateCheck::currentVersion() const
{
    return m_options.version.isEmpty() ? QStringLiteral("—") : m_options.version;
}

void UpdateCheck::clearAvailable()
{
    if (!m_available)
        return;
    m_available.reset();
    Q_EMIT availableChanged();
}

void UpdateCheck::clearNotice()
{
    if (!m_notice)
        return;
    m_notice.reset();
    Q_EMIT noticeChanged();
}

void UpdateCheck::setNotice(const QString &text)
{
    m_notice = text;
    Q_EMIT noticeChanged();
}

QDateTime UpdateCheck::now() const
{
    return m_options.clock ? m_options.clock() : QDateTime::currentDateTimeUtc();
}

QCoro::Task<> UpdateCheck::check(bool manual)
{
    if (m_checking)
        co_return;
    const QDateTime started = now();
    // A clock set back also counts as too soon.
    if (!manual && m_lastCheck
        && m_lastCheck->msecsTo(started)
               < std::chrono::duration_cast<std::chrono::milliseconds>(automaticInterval).count())
        co_return;

    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard busy(m_checking, lifetime, [this] { Q_EMIT checkingChanged(); });
    // Taken before the request, so a failed check also postpones the next automatic one.
    m_lastCheck = started;
    const Outcome<ReleaseManifest> outcome = co_await attempt(fetch());
    if (!lifetime.alive())
        co_return;
    // Nothing of this check's connections is kept for the next.
    m_transfers.manager().clearConnectionCache();
    m_transfers.manager().clearAccessCache();

    if (outcome.failed()) {
        qCInfo(lcUpdates, "the update check failed");
        if (manual)
            setNotice(L("暂时无法检查更新，请稍后再试。"));
    } else if (outcome.ok()) {
        if (outcome.value().build > currentBuild()) {
            m_available = outcome.value();
            Q_EMIT availableChanged();
        } else if (manual) {
            setNotice(L("已是最新版本（%@）。", currentVersion()));
        }
    }
}

QCoro::Task<ReleaseManifest> UpdateCheck::fetch()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    // A plain request: no cookies either way, no stored credentials, no cached copy.
    HTTPRequest request{QNetworkRequest(m_options.manifest)};
    request.request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    // Only the wait for data is limited closely; the whole exchange may take a week.
    TransferRules rules{.maxBytes = manifestLimit,
                        .tooLarge = unusable(),
                        .idleTimeout = idleTimeout,
                        .totalTimeout = std::chrono::days(7),
                        .maxRedirects = 16,
                        .follows = [](const QUrl &next) { return next.scheme() == QLatin1String("https"); }};
    const HTTPAnswer answer = co_await m_transfers.run(std::move(request), std::move(rules));
    lifetime.check();
    if (answer.status != 200)
        throw unusable();
    ReleaseManifest release = ReleaseManifest::fromJson(Json::parse(answer.body));
    if (!isTrusted(release.url))
        throw unusable();
    co_return release;
}
