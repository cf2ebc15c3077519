#include "LiveAuthorizationCoordinator.h"

#include "APIPath.h"
#include "LiveLog.h"
#include "Outcome.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QOpenGLContext>

#include <private/qopenglcontext_p.h>

#include <unistd.h>

namespace {

// The web engine reads the application's shared OpenGL context as it starts, even where it composes its
// pages in software, and fails on none. When the window is drawn by the software renderer the application
// made none (it would bring OpenGL up at every start for a browser most starts never open): one is made the
// first time a browser is, before its view (a browser makes its coordinator first).
void shareContextForTheWebEngine()
{
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (QOpenGLContext::globalShareContext() || !application)
        return;
    auto *context = new QOpenGLContext(application);
    // Where even this fails, the engine finds a context to read, and composes in software all the same.
    context->create();
    qt_gl_set_global_share_context(context);
}

const char *const chromiumFlagsVariable = "QTWEBENGINE_CHROMIUM_FLAGS";
const char *const noSandboxVariable = "QTWEBENGINE_DISABLE_SANDBOX";

// As root the web engine starts without its sandbox, unless it was told otherwise.
void startTheWebEngineWithoutSandboxAsRoot()
{
    if (!LiveAuthorizationCoordinator::startsWithoutSandbox(geteuid())
        || qEnvironmentVariableIsSet(noSandboxVariable))
        return;
    qputenv(noSandboxVariable, "1");
    qCWarning(lcLive, "running as root: the sign-in browser's web engine starts without its sandbox");
}

} // namespace

QByteArray LiveAuthorizationCoordinator::chromiumFlags(const QByteArray &flags, bool heard)
{
    static const QByteArray pageAccessibility("--force-renderer-accessibility");
    if (!heard || flags.split(' ').contains(pageAccessibility))
        return flags;
    return flags.isEmpty() ? pageAccessibility : flags + ' ' + pageAccessibility;
}

bool LiveAuthorizationCoordinator::startsWithoutSandbox(uid_t user) { return user == 0; }

LiveAuthorizationCoordinator::LiveAuthorizationCoordinator(QObject *parent)
    : QObject(parent)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(requestTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, &LiveAuthorizationCoordinator::timedOut);
    shareContextForTheWebEngine();
    // Read as the engine starts, with the first browser's view.
    startTheWebEngineWithoutSandboxAsRoot();
    qputenv(chromiumFlagsVariable, chromiumFlags(qgetenv(chromiumFlagsVariable), QAccessible::isActive()));
}

LiveAuthorizationCoordinator::~LiveAuthorizationCoordinator() = default;

void LiveAuthorizationCoordinator::setUrl(const QUrl &url)
{
    if (url == m_url)
        return;
    m_url = url;
    Q_EMIT urlChanged();
}

void LiveAuthorizationCoordinator::setClient(APIClient *client)
{
    if (client == m_client)
        return;
    m_client = client;
    Q_EMIT clientChanged();
}

void LiveAuthorizationCoordinator::setLivePage(LiveTabModel *page)
{
    if (page == m_livePage)
        return;
    m_livePage = page;
    Q_EMIT livePageChanged();
}

bool LiveAuthorizationCoordinator::isCallback(const QUrl &url)
{
    // Exact, case-sensitive texts as the web view reports them: another spelling of the path is some other
    // page of the second host.
    return url.scheme() == QLatin1String("https") && url.host() == QLatin1String(ServiceHosts::secondHost)
           && url.path() == APIPath::liveAuthorizationCallback();
}

bool LiveAuthorizationCoordinator::allows(const QUrl &url)
{
    if (url.isEmpty())
        return false;
    if (isCallback(url)) {
        // A redirect and a reload of the callback reach us twice: only the first is replayed.
        if (!m_finished) {
            m_finished = true;
            m_timeout.stop();
            Q_EMIT finishedChanged();
            replay(url);
        }
        return false;
    }
    return url.scheme() == QLatin1String("https");
}

QCoro::Task<> LiveAuthorizationCoordinator::replay(QUrl callback)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QPointer<APIClient> client = m_client;
    const QPointer<LiveTabModel> page = m_livePage;
    const Outcome<> outcome =
        co_await attempt([](QPointer<APIClient> client, QUrl callback) -> QCoro::Task<> {
            if (!client)
                throw CancellationError();
            co_await client->completeLiveAuthorization(std::move(callback));
        }(client, std::move(callback)));
    if (outcome.failed())
        qCInfo(lcLive, "the authorisation callback failed (%d)", outcome.status());
    // A client that went away before it answered leaves the linking not known to have finished.
    const QString message = outcome.ok()       ? QString()
                            : outcome.failed() ? outcome.message()
                                               : QStringLiteral("授权未完成，请重新连接。");
    // The browser may have gone meanwhile, its sheet cancelled: the replay ran on all the same, and the Live
    // page still learns how it ended.
    if (lifetime.alive())
        report(outcome.ok(), message);
    else
        tell(page, outcome.ok(), message);
}

void LiveAuthorizationCoordinator::start()
{
    if (!m_finished && !m_reported)
        m_timeout.start();
}

void LiveAuthorizationCoordinator::loadEnded(bool shown, const QString &description)
{
    if (shown)
        pageLoaded();
    else
        failed(description);
}

void LiveAuthorizationCoordinator::failed(const QString &description)
{
    // Once the callback is caught, the replay alone decides.
    if (m_finished)
        return;
    m_timeout.stop();
    qCInfo(lcLive, "the authorisation page failed to load or timed out");
    report(false, description);
}

void LiveAuthorizationCoordinator::timedOut()
{
    failed(TransportError::messageFor(QNetworkReply::TimeoutError));
}

bool LiveAuthorizationCoordinator::trustsCertificate(const QUrl &url,
                                                     const QList<QSslCertificate> &chain) const
{
    return trusts(url, chain, ServiceHosts::liveVendorEndpoint());
}

bool LiveAuthorizationCoordinator::trusts(const QUrl &url, const QList<QSslCertificate> &chain,
                                          const ServiceHosts::MemberEndpoint &vendor)
{
    if (chain.isEmpty() || vendor.trustedCertificates.isEmpty()
        || !ServiceHosts::isLiveVendorPage(url, vendor))
        return false;
    return vendor.trustedCertificates.certificates().contains(chain.constFirst());
}

void LiveAuthorizationCoordinator::report(bool ok, const QString &message)
{
    if (m_reported)
        return;
    m_reported = true;
    Q_EMIT reportedChanged();
    Q_EMIT completed(ok, message);
    tell(m_livePage, ok, message);
}

void LiveAuthorizationCoordinator::tell(LiveTabModel *page, bool ok, const QString &message)
{
    if (!page)
        return;
    if (ok)
        page->authorizationSucceeded();
    else
        page->authorizationFailed(message);
}
