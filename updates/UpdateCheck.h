#pragma once

#include "Lifetime.h"
#include "ReleaseManifest.h"
#include "Transfer.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QQmlEngine>
#include <QString>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <chrono>
#include <functional>
#include <optional>

// The one updater of the process: reads the release manifest, compares its build with ours and publishes a
// newer release, or after a check the member asked for, a short notice. It installs nothing; nothing of it
// is kept between runs. Main thread only.
class UpdateCheck : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool checking READ checking NOTIFY checkingChanged)

public:
    using Clock = std::function<QDateTime()>;

    struct Options
    {
        QUrl manifest;                           // where the release manifest is read
        TrustedCertificates trustedCertificates; // extra roots for its TLS (the sample service's)
        QString build;                           // our build number, as the build wrote it
        QString version;                         // our version, as shown
        Clock clock;                             // now; the system clock when empty
    };

    // Automatic checks start at most this often.
    static constexpr std::chrono::seconds automaticInterval{21600};
    static constexpr qint64 manifestLimit = 65535;
    static constexpr std::chrono::seconds idleTimeout{15};

    explicit UpdateCheck(Options options, QObject *parent = nullptr);
    ~UpdateCheck() override;

    // The process-wide instance: the one main/ made with defaultOptions() and installed (Installed.h), or
    // a test's own.
    static UpdateCheck &shared();
    static UpdateCheck *create(QQmlEngine *, QJSEngine *);
    // For this build and the member site (or its override).
    static Options defaultOptions();

    // The manifest of the platform this build is for, on the site of the origin.
    static QUrl manifestAddress(const QUrl &origin);
    // Whether a download address may be opened: https exactly, no user or password, one of our hosts.
    static bool isTrusted(const QString &address);
    // A build number written as a decimal integer (an optional sign, then digits); anything else is 0.
    static qint64 parseBuild(const QString &text);

    // Checks for a newer release. An automatic check (manual false) is skipped within the interval of the
    // last one; any check is skipped while one runs. Never throws.
    QCoro::Task<> check(bool manual);
    // The same, for QML: starts the check and does not wait for it.
    Q_INVOKABLE void startCheck(bool manual) { check(manual); }

    const std::optional<ReleaseManifest> &available() const { return m_available; }
    const std::optional<QString> &notice() const { return m_notice; }
    // The prompt clears what it has shown.
    void clearAvailable();
    void clearNotice();

    bool checking() const { return m_checking; }
    std::optional<QDateTime> lastCheck() const { return m_lastCheck; }
    qint64 currentBuild() const { return parseBuild(m_options.build); }
    QString currentVersion() const;

Q_SIGNALS:
    void availableChanged();
    void noticeChanged();
    void checkingChanged();

private:
    QCoro::Task<ReleaseManifest> fetch();
    void setNotice(const QString &text);
    QDateTime now() const;

    Options m_options;
    Transfers m_transfers;
    std::optional<ReleaseManifest> m_available;
    std::optional<QString> m_notice;
    std::optional<QDateTime> m_lastCheck;
    bool m_checking = false;
    Lifetime m_lifetime; // last: ends first
};
