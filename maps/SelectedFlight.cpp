#include "SelectedFlight.h"

#include "Display.h"
#include "Geodesy.h"
#include "L.h"

#include <QGeoCoordinate>

#include <cmath>

namespace SelectedFlight {

namespace {

bool isAirportCode(const QString &name)
{
    if (name.size() != 4)
        return false;
    for (const QChar c : name) {
        if (c < u'A' || c > u'Z')
            return false;
    }
    return true;
}

const QList<FlightPoint> &pointsOf(const std::optional<PlanResponse> &plan)
{
    static const QList<FlightPoint> none;
    return plan && plan->points ? *plan->points : none;
}

// The whole part in plain digits, or none when it is not finite or leaves a signed 64-bit integer.
std::optional<qint64> wholePart(double value)
{
    const double whole = std::trunc(value);
    if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0))
        return std::nullopt;
    return qint64(whole);
}

QString figure(std::optional<double> value, const QString &unit)
{
    const std::optional<qint64> whole = value ? wholePart(*value) : std::nullopt;
    return whole ? QString::number(*whole) + unit : Display::missing;
}

std::optional<QString> present(const std::optional<QString> &text)
{
    return text && !text->isEmpty() ? text : std::nullopt;
}

} // namespace

std::optional<QString> endpoint(const std::optional<FlightPoint> &point, const Airports::Table &airports)
{
    if (!point || !point->name || !isAirportCode(*point->name))
        return std::nullopt;
    const auto airport = airports.constFind(*point->name);
    if (airport == airports.constEnd())
        return std::nullopt;
    // Checked before they become coordinates: QGeoCoordinate turns an out-of-range position into NaN.
    const QGeoCoordinate at(point->latitude, point->longitude);
    const QGeoCoordinate there(airport->latitude, airport->longitude);
    if (!at.isValid() || !there.isValid() || !(Geodesy::distance(at, there) < endpointReach))
        return std::nullopt;
    return point->name;
}

QString departure(const LiveFlight &flight, const std::optional<PlanResponse> &plan,
                  const Airports::Table &airports)
{
    if (flight.departure)
        return *flight.departure;
    const QList<FlightPoint> &points = pointsOf(plan);
    const std::optional<QString> code =
        points.isEmpty() ? std::nullopt : endpoint(points.constFirst(), airports);
    return code.value_or(Display::missing);
}

QString arrival(const LiveFlight &flight, const std::optional<PlanResponse> &plan,
                const Airports::Table &airports)
{
    if (flight.arrival)
        return *flight.arrival;
    const QList<FlightPoint> &points = pointsOf(plan);
    const std::optional<QString> code =
        points.size() < 2 ? std::nullopt : endpoint(points.constLast(), airports);
    return code.value_or(Display::missing);
}

std::optional<double> progress(const LiveFlight &flight, const QList<FlightPoint> &route)
{
    QList<Geodesy::LatLon> points;
    points.reserve(route.size());
    for (const FlightPoint &point : route)
        points.append({point.latitude, point.longitude});
    return Geodesy::routeProgress({flight.latitude, flight.longitude}, flight.groundSpeed, points);
}

std::optional<double> routeProgress(const LiveFlight &flight, const std::optional<PlanResponse> &plan,
                                    const Airports::Table &airports)
{
    const QList<FlightPoint> &points = pointsOf(plan);
    if (points.size() >= 2)
        return progress(flight, points);
    if (!flight.departure || !flight.arrival)
        return std::nullopt;
    const auto from = airports.constFind(*flight.departure);
    const auto to = airports.constFind(*flight.arrival);
    if (from == airports.constEnd() || to == airports.constEnd())
        return std::nullopt;
    return progress(flight, {{from->latitude, from->longitude, flight.departure},
                             {to->latitude, to->longitude, flight.arrival}});
}

QString altitudeText(std::optional<double> feet) { return figure(feet, QStringLiteral(" ft")); }

QString groundSpeedText(std::optional<double> knots) { return figure(knots, QStringLiteral(" kt")); }

QString progressText(double progress)
{
    const double percent = std::round(progress * 100); // halves away from zero
    if (!(percent >= -9223372036854775808.0 && percent < 9223372036854775808.0))
        return Display::missing;
    return QString::number(qint64(percent)) + QStringLiteral("%");
}

QString aircraftLine(const LiveFlight &flight)
{
    QStringList parts;
    for (const std::optional<QString> &part : {flight.aircraft, flight.livery}) {
        if (present(part))
            parts.append(*part);
    }
    return parts.join(QStringLiteral(" · "));
}

Facts Facts::of(const LiveFlight &flight, const std::optional<PlanResponse> &plan,
                const Airports::Table &airports)
{
    Facts facts;
    facts.callsign = flight.callsign ? *flight.callsign : L(QStringLiteral("未知呼号"));
    facts.accessibleLabel = flight.callsign ? *flight.callsign : L(QStringLiteral("航班"));
    facts.pilot = present(flight.pilot);
    if (const std::optional<QString> server = present(flight.server))
        facts.server = L(QStringLiteral("服务器：%@"), *server);
    facts.departure = SelectedFlight::departure(flight, plan, airports);
    facts.arrival = SelectedFlight::arrival(flight, plan, airports);
    facts.progress = routeProgress(flight, plan, airports);
    if (facts.progress)
        facts.progressFigure = progressText(*facts.progress);
    facts.altitude = altitudeText(flight.altitude);
    facts.groundSpeed = groundSpeedText(flight.groundSpeed);
    facts.aircraftLine = SelectedFlight::aircraftLine(flight);
    facts.aircraft = flight.aircraft.value_or(QString());
    facts.livery = flight.livery.value_or(QString());
    facts.phase = FlightPhase::of(flight);
    return facts;
}

} // namespace SelectedFlight
