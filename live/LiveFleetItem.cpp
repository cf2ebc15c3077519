#include "LiveFleetItem.h"

#include "Display.h"
#include "L.h"

#include <algorithm>
#include <cmath>

namespace {

bool isGroundPhase(const QString &phase)
{
    return phase == QStringLiteral("已停靠") || phase == QStringLiteral("滑行");
}

bool isAirbornePhase(const QString &phase)
{
    static const QStringList words{QStringLiteral("起飞"), QStringLiteral("爬升"), QStringLiteral("巡航"),
                                   QStringLiteral("下降"), QStringLiteral("进近")};
    return std::any_of(words.cbegin(), words.cend(),
                       [&phase](const QString &w) { return phase.contains(w); });
}

// Only an available position with a state says anything about the aircraft.
std::optional<qint64> usableState(const std::optional<LiveFleetPosition> &position)
{
    if (!position || position->available != true)
        return std::nullopt;
    return position->state;
}

// A whole number of a reading; none when it is not finite or does not fit 64 bits.
std::optional<qint64> whole(std::optional<double> value)
{
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    const double truncated = std::trunc(*value);
    if (truncated < -9223372036854775808.0 || truncated >= 9223372036854775808.0)
        return std::nullopt;
    return static_cast<qint64>(truncated);
}

const QString separator = QStringLiteral(" \u00B7 ");

} // namespace

QString LiveFleetItem::id() const { return organization.id + QLatin1Char('/') + aircraft.id; }

LiveFleetItem::Activity LiveFleetItem::activity() const
{
    if (aircraft.flying) {
        const QString phase = aircraft.flying->phase.value_or(QString());
        if (isGroundPhase(phase))
            return Activity::Ground;
        return isAirbornePhase(phase) ? Activity::Airborne : Activity::Ground;
    }
    switch (usableState(position).value_or(0)) {
    case 2:
        return Activity::Airborne;
    case 1:
        return Activity::Ground;
    default:
        return Activity::Idle;
    }
}

QString LiveFleetItem::statusText() const
{
    if (aircraft.flying) {
        if (isGroundPhase(aircraft.flying->phase.value_or(QString())))
            return L(TEXT_KEY("在地面"));
        return activity() == Activity::Airborne ? L(TEXT_KEY("飞行中")) : L(TEXT_KEY("状态待确认"));
    }
    if (const auto state = usableState(position))
        return LiveFleetPosition::stateText(*state);
    // Storage before the hangar: an aircraft with both flags is in storage.
    if (aircraft.storage == true)
        return L(TEXT_KEY("储存"));
    if (aircraft.hangared == true)
        return L(TEXT_KEY("机库中"));
    if (aircraft.recordStatus == 1)
        return L(TEXT_KEY("已删除"));
    return Display::missing;
}

std::optional<LiveSchedule> LiveFleetItem::nextSchedule() const
{
    // Cancelled (9) and arrived (11) schedules are behind the aircraft.
    const auto next = std::find_if(schedules.cbegin(), schedules.cend(), [](const LiveSchedule &s) {
        const qint64 status = s.status.value_or(0);
        return status != 9 && status != 11;
    });
    if (next == schedules.cend())
        return std::nullopt;
    return *next;
}

std::optional<LiveFleetItem::RouteLine> LiveFleetItem::idleRoute() const
{
    if (const auto next = nextSchedule())
        return RouteLine{next->originIcao + QStringLiteral(" \u2192 ") + next->destinationIcao,
                         L(TEXT_KEY("下一班"))};
    if (!lastRoute)
        return std::nullopt;
    if (activity() == Activity::Ground || lastRoute->status == 1) {
        const auto where = lastRoute->arrival ? lastRoute->arrival : lastRoute->departure;
        if (!where)
            return std::nullopt;
        return RouteLine{*where, L(TEXT_KEY("最近停在"))};
    }
    // An unfinished route of an aircraft that is not on the ground: only where it set out is sure.
    if (!lastRoute->departure)
        return std::nullopt;
    return RouteLine{L(TEXT_KEY("%@ 出发"), *lastRoute->departure), L(TEXT_KEY("最近一次"))};
}

QString LiveFleetItem::typeText() const
{
    const QString type = aircraft.aircraft.value_or(L(TEXT_KEY("机型暂未识别")));
    return aircraft.livery ? type + separator + *aircraft.livery : type;
}

void LiveFleetExtras::take(const std::optional<LiveFleetPositions> &answer)
{
    if (!answer)
        return;
    positions.clear();
    recentPilots.clear();
    for (const LiveFleetPosition &p : answer->aircraftPositions.value_or(QList<LiveFleetPosition>()))
        positions.insert(p.aircraftId, p);
    for (const LiveRecentPilot &p : answer->recentPilots.value_or(QList<LiveRecentPilot>()))
        recentPilots.insert(p.aircraftId, p);
}

void LiveFleetExtras::take(const std::optional<LiveRoutes> &answer)
{
    if (!answer)
        return;
    routes.clear();
    for (const LiveRouteHistory &h : answer->aircraftRoutes.value_or(QList<LiveRouteHistory>())) {
        if (h.available == true && h.items && !h.items->isEmpty())
            routes.insert(h.aircraftId, h.items->constFirst());
    }
}

QList<LiveFleetItem> liveFleet(const std::optional<LiveBoard> &board, const LiveFleetExtras &extras)
{
    QList<LiveFleetItem> fleet;
    if (!board)
        return fleet;
    auto lookUp = [](const auto &map, const QString &id) {
        using Value = typename std::decay_t<decltype(map)>::mapped_type;
        const auto found = map.constFind(id);
        return found == map.constEnd() ? std::optional<Value>() : std::optional<Value>(*found);
    };
    for (const LiveOrganization &organization : board->organizations) {
        for (const LiveAircraft &aircraft : organization.aircraft) {
            LiveFleetItem item{organization, aircraft, {}, {}, {}, lookUp(extras.routes, aircraft.id)};
            std::copy_if(organization.schedules.cbegin(), organization.schedules.cend(),
                         std::back_inserter(item.schedules),
                         [&aircraft](const LiveSchedule &s) { return s.aircraftId == aircraft.id; });
            std::stable_sort(item.schedules.begin(), item.schedules.end(),
                             [](const LiveSchedule &a, const LiveSchedule &b) {
                                 return a.sequence.value_or(0) < b.sequence.value_or(0);
                             });
            // A flying aircraft's live figures come with the flight; a parked position would contradict it.
            if (!aircraft.flying) {
                item.position = lookUp(extras.positions, aircraft.id);
                item.lastPilot = lookUp(extras.recentPilots, aircraft.id);
            }
            fleet.append(item);
        }
    }
    return fleet;
}

QString liveFigures(const LiveFlying &flight)
{
    QStringList parts;
    if (flight.callsign)
        parts.append(*flight.callsign);
    if (const auto altitude = liveAltitude(flight.altitude))
        parts.append(*altitude);
    if (const auto speed = liveSpeed(flight.groundSpeed))
        parts.append(*speed);
    return parts.join(separator);
}

std::optional<QString> liveAltitude(std::optional<double> feet)
{
    const auto altitude = whole(feet);
    return altitude ? std::optional(Display::locale().toString(*altitude) + QStringLiteral(" ft"))
                    : std::nullopt;
}

std::optional<QString> liveSpeed(std::optional<double> knots)
{
    const auto speed = whole(knots);
    return speed ? std::optional(QString::number(*speed) + QStringLiteral(" kt")) : std::nullopt;
}
