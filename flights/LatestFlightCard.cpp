#include "LatestFlightCard.h"

#include "Display.h"
#include "L.h"
#include "Retarget.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

constexpr double radians = 0.017453292519943295;
constexpr double earthDiameterKm = 12742;
constexpr double arrivalKm = 0.1;
constexpr double arrivalSpeed = 30;
constexpr double cap = 0.99;
// A flight created this many seconds ago or later that has not landed has not reached the live data yet.
constexpr qint64 unmatchedWindow = 57600;

double haversineKm(double lat1, double lon1, double lat2, double lon2)
{
    const double p1 = lat1 * radians, p2 = lat2 * radians;
    const double dp = (lat2 - lat1) * radians, dl = (lon2 - lon1) * radians;
    const double a =
        std::pow(std::sin(dp / 2), 2) + std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
    return earthDiameterKm * std::atan2(std::sqrt(a), std::sqrt(std::max(0.0, 1 - a)));
}

double wrap(double degrees) { return std::fmod(degrees + 540, 360) - 180; }

QString provided(const std::optional<QString> &text) { return text ? *text : L(QStringLiteral("未提供")); }

// A plan point names an airport only when it is an ICAO code.
std::optional<QString> airportName(const std::optional<QString> &name)
{
    static const QRegularExpression icao(QStringLiteral("^[A-Z]{4}$"));
    if (name && icao.match(*name).hasMatch())
        return name;
    return std::nullopt;
}

QString endpoint(const std::optional<QString> &code) { return code.value_or(Display::missing); }

} // namespace

std::optional<double> LatestFlightCard::progress(const LiveFlight &flight, const QList<FlightPoint> &route)
{
    if (route.size() < 2)
        return std::nullopt;
    QList<double> lengths;
    lengths.reserve(route.size() - 1);
    double total = 0;
    for (qsizetype i = 1; i < route.size(); ++i) {
        const FlightPoint &a = route.at(i - 1), &b = route.at(i);
        lengths.append(haversineKm(a.latitude, a.longitude, b.latitude, b.longitude));
        total += lengths.last();
    }
    if (!(total > 0))
        return std::nullopt;

    // A flat frame around the aircraft, in degrees of latitude: good enough to find the nearest segment.
    const double k = std::cos(flight.latitude * radians);
    double best = std::numeric_limits<double>::infinity(), along = 0, before = 0;
    for (qsizetype i = 1; i < route.size(); ++i) {
        const FlightPoint &a = route.at(i - 1), &b = route.at(i);
        const double ax = k * wrap(a.longitude - flight.longitude), ay = a.latitude - flight.latitude;
        const double dx = k * wrap(b.longitude - a.longitude), dy = b.latitude - a.latitude;
        const double length2 = dx * dx + dy * dy;
        double t = 0;
        if (length2 > 0) {
            t = -(ax * dx + ay * dy) / length2;
            t = t >= 1 ? 1 : std::max(t, 0.0);
        }
        const double x = ax + t * dx, y = ay + t * dy;
        const double distance2 = x * x + y * y;
        if (distance2 < best) {
            best = distance2;
            along = before + t * lengths.at(i - 1);
        }
        before += lengths.at(i - 1);
    }
    const FlightPoint &last = route.constLast();
    if (haversineKm(flight.latitude, flight.longitude, last.latitude, last.longitude) < arrivalKm
        && flight.groundSpeed && *flight.groundSpeed < arrivalSpeed)
        return 1.0;
    const double fraction = along / total;
    if (!(fraction > 0))
        return 0.0;
    return std::min(fraction, cap);
}

bool LatestFlightCard::placeholderLoading(const LoadState &latest)
{
    if (latest.loading)
        return true;
    return !latest.loaded && !latest.failure;
}

QString LatestFlightCard::progressText(std::optional<double> progress)
{
    if (!progress)
        return L(QStringLiteral("暂无可计算的航路进度"));
    const QString label = *progress >= 1 ? L(QStringLiteral("已到达")) : L(QStringLiteral("估算航路进度"));
    // std::round takes halves away from zero.
    return label + QStringLiteral(" · ") + QString::number(qint64(std::round(*progress * 100)))
           + QStringLiteral("%");
}

LatestFlightFacts LatestFlightFacts::of(const LatestFlight &latest, const QDateTime &now)
{
    LatestFlightFacts facts;
    const auto fillAircraft = [&](const std::optional<QString> &callsign,
                                  const std::optional<QString> &aircraft,
                                  const std::optional<QString> &livery) {
        facts.callsign = provided(callsign);
        facts.aircraftLine = provided(aircraft) + QStringLiteral(" · ") + provided(livery);
        facts.showsPhoto = aircraft && livery;
        facts.aircraft = aircraft.value_or(QString());
        facts.livery = livery.value_or(QString());
    };

    if (const auto *live = std::get_if<LiveLatestFlight>(&latest)) {
        const LiveFlight &flight = live->flight;
        facts.live = true;
        fillAircraft(flight.callsign, flight.aircraft, flight.livery);
        if (flight.flightPhase) {
            facts.phaseTitle = flight.flightPhase->title();
            const QString hex = flight.flightPhase->color.startsWith(QLatin1Char('#'))
                                    ? flight.flightPhase->color
                                    : QLatin1Char('#') + flight.flightPhase->color;
            if (QColor::isValidColorName(hex))
                facts.phaseColor = QColor::fromString(hex);
        } else {
            facts.phaseTitle = L(QStringLiteral("飞行中"));
        }
        // The filed plan, never the flown track: the estimate is how far along what was planned.
        const QList<FlightPoint> points =
            live->plan && live->plan->points ? *live->plan->points : QList<FlightPoint>();
        facts.departure = endpoint(
            flight.departure ? flight.departure
                             : (points.isEmpty() ? std::nullopt : airportName(points.constFirst().name)));
        facts.arrival = endpoint(
            flight.arrival ? flight.arrival
                           : (points.isEmpty() ? std::nullopt : airportName(points.constLast().name)));
        facts.progress = LatestFlightCard::progress(flight, points);
        facts.action = L(QStringLiteral("提交 PIREP"));
    } else {
        const RecentFlight &flight = std::get<RecentFlight>(latest);
        fillAircraft(flight.callsign, flight.aircraft, flight.livery);
        const std::optional<QDateTime> created = flight.createdAt();
        const bool landed = flight.landings && *flight.landings >= 1;
        // A time after now counts as within the window.
        facts.unmatched = created && created->secsTo(now) < unmatchedWindow && !landed;
        facts.phaseTitle =
            facts.unmatched ? L(QStringLiteral("实时数据中未找到此航班")) : L(QStringLiteral("飞行已结束"));
        facts.departure = endpoint(flight.origin);
        facts.arrival = endpoint(flight.destination);
        if (landed && flight.destination)
            facts.progress = 1.0;
        QString note = created ? Display::dateTime(double(created->toMSecsSinceEpoch()) / 1000) : QString();
        if (facts.unmatched)
            note += L(QStringLiteral(" · 此航班暂未出现在实时地图；记录服务器：")) + provided(flight.server);
        facts.note = note;
        facts.action = L(QStringLiteral("核对并提交 PIREP"));
    }
    facts.progressText = LatestFlightCard::progressText(facts.progress);
    return facts;
}

LatestFlightCard::LatestFlightCard(QObject *parent)
    : QObject(parent)
{
}

void LatestFlightCard::setMemberData(MemberData *data)
{
    if (!retarget(m_data, data, this))
        return;
    if (m_data) {
        connect(m_data, &MemberData::latestFlightChanged, this, &LatestFlightCard::refresh);
        connect(m_data, &MemberData::loadStateChanged, this, &LatestFlightCard::loadChanged);
    }
    refresh();
    Q_EMIT memberDataChanged();
    Q_EMIT loadChanged();
}

void LatestFlightCard::refresh()
{
    const std::optional<LatestFlight> &latest = m_data ? m_data->latestFlight() : std::nullopt;
    m_facts = latest ? std::optional(LatestFlightFacts::of(*latest, m_now())) : std::nullopt;
    Q_EMIT flightChanged();
}

QString LatestFlightCard::accessibleText() const
{
    if (!m_facts)
        return {};
    QStringList parts{m_facts->phaseTitle, m_facts->callsign, m_facts->aircraftLine,
                      m_facts->departure + QStringLiteral(" → ") + m_facts->arrival, m_facts->progressText};
    if (m_facts->note && !m_facts->note->isEmpty())
        parts.append(*m_facts->note);
    parts.append(m_facts->action);
    return parts.join(QStringLiteral(", "));
}

bool LatestFlightCard::loading() const
{
    return m_data && placeholderLoading(m_data->state(MemberLoad::Latest));
}

QString LatestFlightCard::failure() const
{
    return m_data ? m_data->state(MemberLoad::Latest).failureText() : QString();
}

void LatestFlightCard::retry()
{
    if (m_data)
        m_data->reload(MemberLoad::Latest);
}
