#pragma once

#include "APIClient.h"
#include "Lifetime.h"
#include "LiveTabModel.h"
#include "ServiceHosts.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QSslCertificate>
#include <QTimer>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <sys/types.h>

// What the Live authorisation browser decides while the member signs in on the vendor's pages: https pages
// only, and the navigation to our callback on the second host, which is never loaded but caught, cancelled
// and replayed once through the member's client. The outcome is reported exactly once: the replay's, or the
// first failure to load a page before then, to the Live page that opened the browser and through `completed`.
// The web view's reports reach it as plain values through LiveWebEngine, the plugin that brings in the web
// engine.
class LiveAuthorizationCoordinator : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    // The vendor's page to open, already checked by the Live page.
    Q_PROPERTY(QUrl url READ url WRITE setUrl NOTIFY urlChanged REQUIRED)
    // The client that replays the callback: the account's current one.
    Q_PROPERTY(APIClient *client READ client WRITE setClient NOTIFY clientChanged REQUIRED)
    // The Live page that opened the browser, told how the linking ended. It outlives the sheet the browser
    // stands in: a replay still running when the member cancels the sheet still ends there.
    Q_PROPERTY(LiveTabModel *livePage READ livePage WRITE setLivePage NOTIFY livePageChanged)
    Q_PROPERTY(bool finished READ finished NOTIFY finishedChanged)
    Q_PROPERTY(bool reported READ reported NOTIFY reportedChanged)

public:
    // How long the first page may take before the linking fails.
    static constexpr int requestTimeoutMs = 60'000;

    explicit LiveAuthorizationCoordinator(QObject *parent = nullptr);
    ~LiveAuthorizationCoordinator() override;

    QUrl url() const { return m_url; }
    void setUrl(const QUrl &url);
    APIClient *client() const { return m_client; }
    void setClient(APIClient *client);
    LiveTabModel *livePage() const { return m_livePage; }
    void setLivePage(LiveTabModel *page);
    // The callback has been caught; it never goes back.
    bool finished() const { return m_finished; }
    bool reported() const { return m_reported; }

    // Our callback address: https on the second host, exactly this path. Port, user and query are the
    // client's to check when it replays.
    static bool isCallback(const QUrl &url);
    // The web engine's Chromium flags, with the page's accessibility tree switched on where a screen reader
    // listens: Qt 6.4's engine builds none by itself, and the page is an empty document on the bus.
    static QByteArray chromiumFlags(const QByteArray &flags, bool heard);
    // Whether the web engine starts without its sandbox in a process run by that user: only as root, where
    // Chromium refuses its sandbox and ends the whole app.
    static bool startsWithoutSandbox(uid_t user);
    // Whether the web view may go to the address of one navigation (the page's or a frame's). The first
    // callback starts the replay; it and every later one are cancelled.
    Q_INVOKABLE bool allows(const QUrl &url);

    // The view started the first page: from now on it has requestTimeoutMs to arrive.
    Q_INVOKABLE void start();
    // A page load ended: shown (the vendor's page for an HTTP error status too), which stops the first
    // page's time-out, or failed with the web view's description, which before the callback ends the
    // linking.
    Q_INVOKABLE void loadEnded(bool shown, const QString &description);
    // A page arrived (or the vendor's page for an HTTP error): the first page's time-out ends.
    void pageLoaded() { m_timeout.stop(); }
    // The load of a page failed before it showed (not an HTTP status, which the page shows itself).
    void failed(const QString &description);
    // The first page's time-out runs.
    bool waiting() const { return m_timeout.isActive(); }
    // The first page did not arrive in time.
    void timedOut();

    // A certificate that the system does not trust is accepted only for the vendor origin of the test
    // override, and only when it is one of the override's certificates.
    Q_INVOKABLE bool trustsCertificate(const QUrl &url, const QList<QSslCertificate> &chain) const;
    static bool trusts(const QUrl &url, const QList<QSslCertificate> &chain,
                       const ServiceHosts::MemberEndpoint &vendor);

Q_SIGNALS:
    void urlChanged();
    void clientChanged();
    void livePageChanged();
    void finishedChanged();
    void reportedChanged();
    // How the linking ended, once: ok, or the failure's message.
    void completed(bool ok, const QString &message);

private:
    QCoro::Task<> replay(QUrl callback);
    void report(bool ok, const QString &message);
    static void tell(LiveTabModel *page, bool ok, const QString &message);

    QUrl m_url;
    QPointer<APIClient> m_client;
    QPointer<LiveTabModel> m_livePage;
    bool m_finished = false;
    bool m_reported = false;
    QTimer m_timeout;
    Lifetime m_lifetime; // last: ends first
};
