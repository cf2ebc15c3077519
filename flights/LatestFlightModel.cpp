#include "LatestFlightModel.h"

#include "Display.h"
#include "FlightPhase.h"
#include "L.h"
#include "Retarget.h"
#include "SelectedFlight.h"

#include <QRegularExpression>

#include <cmath>

namespace {

// A flight created this many seconds ago or later that has not landed has not reached the live data yet.
constexpr qint64 unmatchedWindow = 57600;

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

std::optional<double> LatestFlightModel::progress(const LiveFlight &flight, const QList<FlightPoint> &route)
{
    // The one estimate, shared with the live map's flight bar and card.
    return SelectedFlight::progress(flight, route);
}

bool LatestFlightModel::placeholderLoading(const LoadState &latest)
{
    if (latest.loading)
        return true;
    return !latest.loaded && !latest.failure;
}

QString LatestFlightModel::progressText(std::optional<double> progress)
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
        if (const std::optional<FlightPhase> phase = FlightPhase::of(flight)) {
            facts.phaseTitle = phase->title;
            facts.phaseColor = phase->color;
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
        facts.progress = LatestFlightModel::progress(flight, points);
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
    facts.progressText = LatestFlightModel::progressText(facts.progress);
    return facts;
}

LatestFlightModel::LatestFlightModel(QObject *parent)
    : QObject(parent)
{
}

void LatestFlightModel::setMemberData(MemberData *data)
{
    if (!retarget(m_data, data, this))
        return;
    if (m_data) {
        connect(m_data, &MemberData::latestFlightChanged, this, &LatestFlightModel::refresh);
        connect(m_data, &MemberData::loadStateChanged, this, &LatestFlightModel::loadChanged);
    }
    refresh();
    Q_EMIT memberDataChanged();
    Q_EMIT loadChanged();
}

void LatestFlightModel::refresh()
{
    const std::optional<LatestFlight> &latest = m_data ? m_data->latestFlight() : std::nullopt;
    m_facts = latest ? std::optional(LatestFlightFacts::of(*latest, m_now())) : std::nullopt;
    Q_EMIT flightChanged();
}

QString LatestFlightModel::accessibleText() const
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

bool LatestFlightModel::loading() const
{
    return m_data && placeholderLoading(m_data->state(MemberLoad::Latest));
}

QString LatestFlightModel::failure() const
{
    return m_data ? m_data->state(MemberLoad::Latest).failureText() : QString();
}

void LatestFlightModel::retry()
{
    if (m_data)
        m_data->reload(MemberLoad::Latest);
}
