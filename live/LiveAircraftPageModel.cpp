#include "LiveAircraftPageModel.h"

#include "Display.h"
#include "L.h"
#include "LiveScheduleCard.h"
#include "LiveTexts.h"
#include "Retarget.h"

LiveAircraftPageModel::LiveAircraftPageModel(QObject *parent)
    : QObject(parent)
{
}

void LiveAircraftPageModel::setAppState(AppState *app)
{
    if (!retarget(m_app, app, this))
        return;
    if (m_app)
        connect(m_app, &AppState::stateChanged, this, &LiveAircraftPageModel::appStateChanged);
    Q_EMIT appStateChanged();
}

void LiveAircraftPageModel::setItem(const LiveFleetItemValue &item)
{
    m_item = item;
    Q_EMIT itemChanged();
}

QString LiveAircraftPageModel::activitySymbol() const
{
    switch (m_item.item.activity()) {
    case LiveFleetItem::Activity::Airborne:
        return QStringLiteral("airplane");
    case LiveFleetItem::Activity::Ground:
        return QStringLiteral("airplane.arrival");
    case LiveFleetItem::Activity::Idle:
        break;
    }
    return QStringLiteral("moon.zzz");
}

int LiveAircraftPageModel::activityTint() const
{
    switch (m_item.item.activity()) {
    case LiveFleetItem::Activity::Airborne:
        return int(LiveTint::Approved);
    case LiveFleetItem::Activity::Ground:
        return int(LiveTint::Ink);
    case LiveFleetItem::Activity::Idle:
        break;
    }
    return int(LiveTint::Muted);
}

bool LiveAircraftPageModel::pilotIsCurrent() const { return flight() && flight()->pilot; }

QString LiveAircraftPageModel::pilotPrefix() const
{
    if (pilotIsCurrent())
        return L(QStringLiteral("飞行员 "));
    return m_item.item.lastPilot ? L(QStringLiteral("上一位 ")) : QString();
}

QString LiveAircraftPageModel::pilotName() const
{
    if (pilotIsCurrent())
        return *flight()->pilot;
    return m_item.item.lastPilot ? m_item.item.lastPilot->pilot : QString();
}

QString LiveAircraftPageModel::pilotAgo() const
{
    if (pilotIsCurrent() || !m_item.item.lastPilot)
        return {};
    return LivePilotTag::ago(m_item.item.lastPilot->seenAt).value_or(QString());
}

QString LiveAircraftPageModel::flightFrom() const
{
    return flight() ? flight()->departure.value_or(Display::missing) : QString();
}

QString LiveAircraftPageModel::flightTo() const
{
    return flight() ? flight()->arrival.value_or(Display::missing) : QString();
}

QString LiveAircraftPageModel::flightPhase() const
{
    return flight() ? flight()->phase.value_or(QString()) : QString();
}

QString LiveAircraftPageModel::callsignText() const
{
    return flight() ? flight()->callsign.value_or(Display::missing) : Display::missing;
}

QString LiveAircraftPageModel::serverText() const
{
    return flight() ? flight()->server.value_or(Display::missing) : Display::missing;
}

QString LiveAircraftPageModel::altitudeText() const
{
    return liveAltitude(flight() ? flight()->altitude : std::nullopt).value_or(Display::missing);
}

QString LiveAircraftPageModel::speedText() const
{
    return liveSpeed(flight() ? flight()->groundSpeed : std::nullopt).value_or(Display::missing);
}

bool LiveAircraftPageModel::canApply() const
{
    return m_app && m_app->user() && m_app->user()->role == QLatin1String("member");
}

QString LiveAircraftPageModel::applyText() const
{
    return m_sent ? L(QStringLiteral("申请已提交")) : L(QStringLiteral("申请这架飞机"));
}

QString LiveAircraftPageModel::applySymbol() const
{
    return m_sent ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("calendar.badge.plus");
}

QString LiveAircraftPageModel::schedulesSubtitle() const
{
    const qsizetype count = m_item.item.schedules.size();
    return count > 0 ? Ln(QStringLiteral("%@ 条"), count, count) : QString();
}

QVariantList LiveAircraftPageModel::schedules() const
{
    QVariantList cards;
    for (const LiveSchedule &schedule : m_item.item.schedules)
        cards.append(LiveScheduleCard::card(schedule));
    return cards;
}

void LiveAircraftPageModel::formSubmitted()
{
    if (!m_sent) {
        m_sent = true;
        Q_EMIT sentChanged();
    }
    Q_EMIT submitted();
}
