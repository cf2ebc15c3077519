#include "EventSummaryModel.h"

#include "Airports.h"
#include "Display.h"
#include "L.h"
#include "MapMath.h"
#include "ViewRules.h"

#include <optional>

EventSummaryModel::EventSummaryModel(QObject *parent)
    : QObject(parent)
{
}

void EventSummaryModel::setEvent(const EventValue &event)
{
    if (event == m_event)
        return;
    m_event = event;
    Q_EMIT eventChanged();
}

QString EventSummaryModel::chipText() const
{
    return started() ? L(QStringLiteral("活动进行 / 报告窗口")) : L(QStringLiteral("即将起飞"));
}

QString EventSummaryModel::chipSymbol() const
{
    return started() ? QStringLiteral("dot.radiowaves.left.and.right") : QStringLiteral("airplane.departure");
}

QString EventSummaryModel::startText() const
{
    const std::optional<QDateTime> start = m_event.event.eventAt();
    return start ? Display::dateTime(double(start->toSecsSinceEpoch())) : QString();
}

QString EventSummaryModel::durationText() const
{
    // In floating point, so an estimate from a careless service cannot overflow.
    const FlightEvent &event = m_event.event;
    return Display::duration(double(event.estimatedHours) * 60 + double(event.estimatedMinutes));
}

QString EventSummaryModel::aircraftLine() const
{
    return L(QStringLiteral("%@ · %@"), m_event.event.aircraft, m_event.event.livery);
}

QString EventSummaryModel::accessibleText() const
{
    return ComponentRules::combined(
        {chipText(), startText(), ComponentRules::routeLabel(from(), to()), durationText(), aircraftLine()});
}

namespace {

std::optional<QGeoCoordinate> airport(const QString &code)
{
    const Airports::Table &table = Airports::all();
    const auto found = table.constFind(code);
    if (found == table.cend())
        return std::nullopt;
    return QGeoCoordinate(found->latitude, found->longitude);
}

constexpr double worldPoints = 268435456.0; // 2^28

} // namespace

EventRouteMapModel::EventRouteMapModel(QObject *parent)
    : QObject(parent)
{
}

void EventRouteMapModel::setFrom(const QString &code)
{
    if (code == m_from)
        return;
    m_from = code;
    Q_EMIT routeChanged();
}

void EventRouteMapModel::setTo(const QString &code)
{
    if (code == m_to)
        return;
    m_to = code;
    Q_EMIT routeChanged();
}

bool EventRouteMapModel::found() const { return airport(m_from) && airport(m_to); }

QGeoCoordinate EventRouteMapModel::fromCoordinate() const
{
    return airport(m_from).value_or(QGeoCoordinate());
}

QGeoCoordinate EventRouteMapModel::toCoordinate() const { return airport(m_to).value_or(QGeoCoordinate()); }

QRectF EventRouteMapModel::frame() const
{
    const std::optional<QGeoCoordinate> from = airport(m_from);
    const std::optional<QGeoCoordinate> to = airport(m_to);
    return from && to ? frameOf(*from, *to) : QRectF();
}

QString EventRouteMapModel::accessibleName() const
{
    return found() ? L(QStringLiteral("活动航线 %@ 至 %@"), m_from, m_to) : QString();
}

QRectF EventRouteMapModel::frameOf(const QGeoCoordinate &from, const QGeoCoordinate &to)
{
    const QPointF a = MapMath::project(from.latitude(), from.longitude());
    QPointF b = MapMath::project(to.latitude(), to.longitude());
    // Across the 180° meridian the arrival's nearer copy is framed, as the great circle goes, not the
    // long way over the whole world.
    b.setX(MapMath::nearestCopy(b.x(), a.x()));
    const QPointF p(a.x() * worldPoints, a.y() * worldPoints);
    const QPointF q(b.x() * worldPoints, b.y() * worldPoints);
    const QRectF between(QPointF(std::min(p.x(), q.x()), std::min(p.y(), q.y())),
                         QPointF(std::max(p.x(), q.x()), std::max(p.y(), q.y())));
    const double margin = 0.6 * std::max(between.width(), between.height()) + 400000;
    return between.adjusted(-margin, -margin, margin, margin);
}
