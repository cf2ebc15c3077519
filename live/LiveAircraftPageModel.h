#pragma once

#include "AppState.h"
#include "LiveValues.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QVariantList>

// The page of one fleet aircraft: its picture, status and pilot, its live flight, the members' button to
// apply for it, and its official schedules. Everything comes from the item it was given.
class LiveAircraftPageModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(LiveFleetItemValue item READ item WRITE setItem NOTIFY itemChanged)

    Q_PROPERTY(QString registration READ registration NOTIFY itemChanged)
    Q_PROPERTY(QString typeText READ typeText NOTIFY itemChanged)
    Q_PROPERTY(QString photoAircraft READ photoAircraft NOTIFY itemChanged)
    Q_PROPERTY(QString photoLivery READ photoLivery NOTIFY itemChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY itemChanged)
    Q_PROPERTY(QString activitySymbol READ activitySymbol NOTIFY itemChanged)
    Q_PROPERTY(int activityTint READ activityTint NOTIFY itemChanged)
    // The pilot tag: the live flight's pilot, or the one before with how long ago; empty when neither.
    Q_PROPERTY(bool pilotIsCurrent READ pilotIsCurrent NOTIFY itemChanged)
    Q_PROPERTY(QString pilotPrefix READ pilotPrefix NOTIFY itemChanged)
    Q_PROPERTY(QString pilotName READ pilotName NOTIFY itemChanged)
    Q_PROPERTY(QString pilotAgo READ pilotAgo NOTIFY itemChanged)

    Q_PROPERTY(bool flying READ flying NOTIFY itemChanged)
    Q_PROPERTY(QString flightFrom READ flightFrom NOTIFY itemChanged)
    Q_PROPERTY(QString flightTo READ flightTo NOTIFY itemChanged)
    Q_PROPERTY(QString flightPhase READ flightPhase NOTIFY itemChanged)
    Q_PROPERTY(QString callsignText READ callsignText NOTIFY itemChanged)
    Q_PROPERTY(QString serverText READ serverText NOTIFY itemChanged)
    Q_PROPERTY(QString altitudeText READ altitudeText NOTIFY itemChanged)
    Q_PROPERTY(QString speedText READ speedText NOTIFY itemChanged)

    Q_PROPERTY(bool canApply READ canApply NOTIFY appStateChanged)
    Q_PROPERTY(bool sent READ sent NOTIFY sentChanged)
    Q_PROPERTY(QString applyText READ applyText NOTIFY sentChanged)
    Q_PROPERTY(QString applySymbol READ applySymbol NOTIFY sentChanged)

    Q_PROPERTY(QString schedulesSubtitle READ schedulesSubtitle NOTIFY itemChanged)
    Q_PROPERTY(QVariantList schedules READ schedules NOTIFY itemChanged)

public:
    explicit LiveAircraftPageModel(QObject *parent = nullptr);

    AppState *appState() const { return m_app; }
    void setAppState(AppState *app);
    LiveFleetItemValue item() const { return m_item; }
    void setItem(const LiveFleetItemValue &item);

    QString registration() const { return m_item.item.aircraft.registration; }
    QString typeText() const { return m_item.item.typeText(); }
    QString photoAircraft() const { return m_item.item.aircraft.aircraft.value_or(QString()); }
    QString photoLivery() const { return m_item.item.aircraft.livery.value_or(QString()); }
    QString statusText() const { return m_item.item.statusText(); }
    QString activitySymbol() const;
    int activityTint() const;
    bool pilotIsCurrent() const;
    QString pilotPrefix() const;
    QString pilotName() const;
    QString pilotAgo() const;

    bool flying() const { return m_item.item.aircraft.flying.has_value(); }
    QString flightFrom() const;
    QString flightTo() const;
    QString flightPhase() const;
    QString callsignText() const;
    QString serverText() const;
    QString altitudeText() const;
    QString speedText() const;

    // Members apply; administrators and developers, and a page without a signed-in user, do not.
    bool canApply() const;
    bool sent() const { return m_sent; }
    QString applyText() const;
    QString applySymbol() const;

    QString schedulesSubtitle() const;
    QVariantList schedules() const;

    // The application form reported a submission: the button says so, and the Live page reloads.
    Q_INVOKABLE void formSubmitted();

Q_SIGNALS:
    void appStateChanged();
    void itemChanged();
    void sentChanged();
    // An application was sent from this page (or may have been).
    void submitted();

private:
    const std::optional<LiveFlying> &flight() const { return m_item.item.aircraft.flying; }

    QPointer<AppState> m_app;
    LiveFleetItemValue m_item;
    bool m_sent = false;
};
