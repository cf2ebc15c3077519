#pragma once

#include "AppState.h"
#include "FlightRecords.h"
#include "MemberData.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

#include <optional>

// The member's profile page: their record with the organisation from "/api/profile/summary",
// their place on the leaderboard and their Infinite Flight statistics from "/api/infinite-flight/me".
class ProfilePageModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY inputsChanged REQUIRED)
    Q_PROPERTY(MemberData *memberData READ memberData WRITE setMemberData NOTIFY inputsChanged REQUIRED)
    Q_PROPERTY(QString displayName READ displayName NOTIFY profileChanged)
    Q_PROPERTY(QString error READ errorText NOTIFY recordChanged)
    // How many loads the member asked for (a refresh, "重试") have failed: each failure is shown anew.
    Q_PROPERTY(int failures READ failures NOTIFY recordChanged)
    Q_PROPERTY(QVariant joinedAt READ joinedAt NOTIFY recordChanged)
    Q_PROPERTY(QVariant lastPirepAt READ lastPirepAt NOTIFY recordChanged)
    Q_PROPERTY(QVariant approvedMinutes READ approvedMinutes NOTIFY recordChanged)
    Q_PROPERTY(QString rank READ rank NOTIFY rankChanged)
    // "loading", "ready", "missing" or "failed"
    Q_PROPERTY(QString statisticsState READ statisticsState NOTIFY statisticsChanged)
    Q_PROPERTY(bool hasStatistics READ hasStatistics NOTIFY statisticsChanged)
    // The values of the six statistics tiles: grade, hours, landings, online flights, experience, violations.
    Q_PROPERTY(QStringList statisticsValues READ statisticsValues NOTIFY statisticsChanged)
    // Of the profile: "—" while there is none; the Discord name empty when there is none.
    Q_PROPERTY(QString callsign READ callsign NOTIFY profileChanged)
    Q_PROPERTY(QString contactEmail READ contactEmail NOTIFY profileChanged)
    Q_PROPERTY(QString discordUsername READ discordUsername NOTIFY profileChanged)
    Q_PROPERTY(QString organization READ organization NOTIFY statisticsChanged)

public:
    explicit ProfilePageModel(QObject *parent = nullptr);

    AppState *appState() const { return m_appState; }
    void setAppState(AppState *state);
    MemberData *memberData() const { return m_memberData; }
    void setMemberData(MemberData *data);

    QString displayName() const;
    QString errorText() const { return m_error.value_or(QString()); }
    int failures() const { return m_failures; }
    QVariant joinedAt() const;
    QVariant lastPirepAt() const;
    QVariant approvedMinutes() const;
    QString rank() const;
    QString statisticsState() const { return m_statisticsState; }
    bool hasStatistics() const { return m_statistics.has_value(); }
    QStringList statisticsValues() const;
    QString callsign() const;
    QString contactEmail() const;
    QString discordUsername() const;
    QString organization() const;

    // Where the member stands on the leaderboard: "#n", or "—".
    static QString rankOf(const QString &username, const std::optional<LeaderboardResponse> &board);

    Q_INVOKABLE void startLoad() { load(); }
    // A load the member asked for.
    Q_INVOKABLE void reload() { load(true); }
    Q_INVOKABLE void startStatistics() { loadStatistics(); }
    // `asked`: by the member, whose failure is the outcome of what he just did.
    QCoro::Task<> load(bool asked = false);
    QCoro::Task<> loadStatistics();

Q_SIGNALS:
    // The objects the page works on; the member's name and profile; their place on the leaderboard; their
    // record with the organisation and its load's failure; their Infinite Flight statistics and their load.
    void inputsChanged();
    void profileChanged();
    void rankChanged();
    void recordChanged();
    void statisticsChanged();

private:
    QPointer<AppState> m_appState;
    QPointer<MemberData> m_memberData;
    std::optional<ProfileSummary> m_summary;
    std::optional<QString> m_error;
    int m_failures = 0;
    std::optional<IFStatistics> m_statistics;
    QString m_statisticsState = QStringLiteral("loading");
    Lifetime m_lifetime;
};
