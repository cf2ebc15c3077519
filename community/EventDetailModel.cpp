#include "EventDetailModel.h"

#include "L.h"
#include "Retarget.h"

QHash<int, QByteArray> AircraftOptionList::roleNames() const
{
    return {{AircraftRole, "aircraft"}, {LiveryRole, "livery"}};
}

QVariant AircraftOptionList::value(const AircraftOption &option, int role) const
{
    switch (role) {
    case AircraftRole:
        return option.aircraft;
    case LiveryRole:
        return option.livery;
    default:
        return {};
    }
}

EventDetailModel::EventDetailModel(QObject *parent)
    : QObject(parent)
{
    connect(this, &EventDetailModel::eventChanged, this, &EventDetailModel::windowChanged);
}

void EventDetailModel::setAppState(AppState *app)
{
    if (!retarget(m_app, app, this))
        return;
    if (m_app)
        connect(m_app, &AppState::stateChanged, this, &EventDetailModel::roleChanged);
    Q_EMIT appStateChanged();
    Q_EMIT roleChanged();
}

void EventDetailModel::setMemberData(MemberData *data)
{
    if (!retarget(m_data, data, this))
        return;
    if (m_data)
        connect(m_data, &MemberData::attendanceChanged, this, &EventDetailModel::windowChanged);
    Q_EMIT memberDataChanged();
    Q_EMIT windowChanged();
}

void EventDetailModel::setNavigation(MemberNavigation *navigation)
{
    if (!retarget(m_navigation, navigation, this))
        return;
    Q_EMIT navigationChanged();
}

void EventDetailModel::setEvent(const EventValue &event)
{
    if (event == m_event)
        return;
    m_event = event;
    // Without the field the event's own aircraft is the one option; an empty list sent is no option at all.
    const FlightEvent &shown = m_event.event;
    m_options.setRecords(shown.aircraftOptions.value_or(QList{AircraftOption{shown.aircraft, shown.livery}}));
    Q_EMIT eventChanged();
}

void EventDetailModel::openRoute(const PageRoute &route)
{
    if (const std::optional<EventRoute> shown = MemberNavigation::routeIn<EventRoute>(m_navigation, route))
        setEvent(EventValue{shown->event});
}

void EventDetailModel::openEventId(const QString &id)
{
    if (!m_data)
        return;
    for (const FlightEvent &event : m_data->events()) {
        if (event.id == id)
            return setEvent(EventValue{event});
    }
}

QString EventDetailModel::role() const { return m_app && m_app->user() ? m_app->user()->role : QString(); }

bool EventDetailModel::showsResponses() const
{
    const QString shown = role();
    return shown == QLatin1String("admin") || shown == QLatin1String("developer");
}

QString EventDetailModel::note() const
{
    return m_event.event.hasStarted(m_now())
               ? L(QStringLiteral("活动已经开始，不能再更改参加意向。"))
               : L(QStringLiteral(
                   "计划参加活动时请提前选择“参加”。活动倍数还需在报告提交时满足航线和时间要求。"));
}

bool EventDetailModel::inPirepWindow() const
{
    const FlightEvent &event = m_event.event;
    if (!m_data || m_data->attendance().value(event.id) != QLatin1String("attending"))
        return false;
    // Unlike the started rule, a start we cannot read opens no window.
    const std::optional<QDateTime> start = event.eventAt();
    if (!start)
        return false;
    const qint64 startMs = start->toMSecsSinceEpoch();
    if (m_now().toMSecsSinceEpoch() < startMs)
        return false;
    // An estimate too large to add up opens no window rather than wrapping round into one.
    qint64 minutes = 0;
    qint64 lengthMs = 0;
    qint64 endMs = 0;
    if (__builtin_mul_overflow(event.estimatedHours, qint64(60), &minutes)
        || __builtin_add_overflow(minutes, event.estimatedMinutes, &minutes)
        || __builtin_add_overflow(minutes, qint64(60), &minutes)
        || __builtin_mul_overflow(minutes, qint64(60000), &lengthMs)
        || __builtin_add_overflow(startMs, lengthMs, &endMs))
        return false;
    return m_now().toMSecsSinceEpoch() <= endMs;
}

void EventDetailModel::appear()
{
    if (!m_data || m_data->state(MemberLoad::Events).loaded)
        return;
    m_data->loadEvents(showsAnswers());
}

void EventDetailModel::openSubmission()
{
    if (m_navigation && inPirepWindow())
        m_navigation->openEventSubmission(m_event.event);
}
