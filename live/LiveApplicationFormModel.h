#pragma once

#include "AppState.h"
#include "Lifetime.h"
#include "LiveValues.h"

#include <QDateTime>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>

#include <functional>
#include <optional>

// The schedule application for one fleet aircraft: the route as two airport codes, no time or a time window,
// an optional briefing and flight plan. It is sent once per press; a refusal keeps the form open with the
// service's words, and an answer that may have been lost tells the opener to refresh.
class LiveApplicationFormModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(LiveFleetItemValue item READ item WRITE setItem NOTIFY itemChanged)
    Q_PROPERTY(QString title READ title NOTIFY itemChanged)

    Q_PROPERTY(QString departure READ departure WRITE setDeparture NOTIFY editChanged)
    Q_PROPERTY(QString arrival READ arrival WRITE setArrival NOTIFY editChanged)
    Q_PROPERTY(QString briefing READ briefing WRITE setBriefing NOTIFY editChanged)
    Q_PROPERTY(QString flightPlan READ flightPlan WRITE setFlightPlan NOTIFY editChanged)
    Q_PROPERTY(bool timeless READ timeless WRITE setTimeless NOTIFY editChanged)
    Q_PROPERTY(QDateTime departureTime READ departureTime WRITE setDepartureTime NOTIFY editChanged)
    Q_PROPERTY(QDateTime arrivalTime READ arrivalTime WRITE setArrivalTime NOTIFY editChanged)
    // The two times as the fields show them, in local time: "2026-01-31 16:05".
    Q_PROPERTY(QString departureText READ departureText WRITE setDepartureText NOTIFY editChanged)
    Q_PROPERTY(QString arrivalText READ arrivalText WRITE setArrivalText NOTIFY editChanged)
    Q_PROPERTY(bool valid READ valid NOTIFY editChanged)
    Q_PROPERTY(int briefingLimit READ briefingLimit CONSTANT)
    Q_PROPERTY(int flightPlanLimit READ flightPlanLimit CONSTANT)

    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    // How many submissions have failed: each failure is shown anew, also with the same text.
    Q_PROPERTY(int failures READ failures NOTIFY messageChanged)

public:
    explicit LiveApplicationFormModel(QObject *parent = nullptr);

    AppState *appState() const { return m_app; }
    void setAppState(AppState *app);
    LiveFleetItemValue item() const { return m_item; }
    void setItem(const LiveFleetItemValue &item);
    QString title() const;

    QString departure() const { return m_departure; }
    void setDeparture(const QString &text);
    QString arrival() const { return m_arrival; }
    void setArrival(const QString &text);
    QString briefing() const { return m_briefing; }
    void setBriefing(const QString &text);
    QString flightPlan() const { return m_flightPlan; }
    void setFlightPlan(const QString &text);
    bool timeless() const { return m_timeless; }
    void setTimeless(bool timeless);
    QDateTime departureTime() const { return m_departureTime; }
    void setDepartureTime(const QDateTime &time);
    QDateTime arrivalTime() const { return m_arrivalTime; }
    void setArrivalTime(const QDateTime &time);
    QString departureText() const;
    void setDepartureText(const QString &text);
    QString arrivalText() const;
    void setArrivalText(const QString &text);

    bool busy() const { return m_busy; }
    QString message() const { return m_message.value_or(QString()); }
    int failures() const { return m_failures; }

    // One to eight ASCII letters or digits and nothing else, the whole text: no blank, no line break.
    static bool isAirportCode(const QString &text);
    bool valid() const;
    // In characters as a reader counts them.
    static constexpr int maxBriefingLength = 4000;
    static constexpr int maxFlightPlanLength = 16000;
    int briefingLimit() const { return maxBriefingLength; }
    int flightPlanLimit() const { return maxFlightPlanLength; }
    // What apply() sends.
    QJsonObject body() const;

    // A fresh form as the sheet opens: empty codes, no time, departure now and arrival two hours later. A
    // submission still running keeps the form as it is, so it cannot be sent twice.
    Q_INVOKABLE void reset(const QDateTime &now = QDateTime::currentDateTimeUtc());
    Q_INVOKABLE void submit() { apply(); }
    QCoro::Task<> apply();

    // The times a field shows and reads, in local time.
    static QString fieldText(const QDateTime &time);
    static std::optional<QDateTime> fieldTime(const QString &text);
    // An ISO 8601 time in UTC, whole seconds and "Z".
    static QString wireTime(const QDateTime &time);

Q_SIGNALS:
    void appStateChanged();
    void itemChanged();
    void editChanged();
    void busyChanged();
    void messageChanged();
    // The application was sent, or may have been: the opener reloads what it shows.
    void submitted();
    // The application was taken: the sheet closes.
    void dismissed();

private:
    // What a session that ends while the form is open keeps of it, for the same aircraft.
    struct Kept
    {
        QString departure;
        QString arrival;
        QString briefing;
        QString flightPlan;
        bool timeless = true;
        QDateTime departureTime;
        QDateTime arrivalTime;
    };
    QString keptKind() const { return QStringLiteral("live-application:") + m_item.id(); }
    void watchForKeeping();
    void setMessage(std::optional<QString> message);
    // A submission failed with this text.
    void fail(const QString &message);
    template <typename T>
    void edit(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        Q_EMIT editChanged();
    }

    QPointer<AppState> m_app;
    LiveFleetItemValue m_item;
    QString m_departure;
    QString m_arrival;
    QString m_briefing;
    QString m_flightPlan;
    bool m_timeless = true;
    QDateTime m_departureTime;
    QDateTime m_arrivalTime;
    bool m_busy = false;
    std::optional<QString> m_message;
    int m_failures = 0;
    Lifetime m_lifetime; // last: ends first
};
