#include "FlightSearchModel.h"

#include "Display.h"
#include "FlightPhase.h"
#include "L.h"

#include "Strings.h"

#include <algorithm>

namespace FlightSearch {

namespace {

// Each name once (canonically equal texts are one), in the order of their code points.
QStringList distinctSorted(const QStringList &names)
{
    QList<QPair<QList<uint>, QString>> entries;
    for (const QString &name : names)
        entries.append({name.normalized(QString::NormalizationForm_C).toUcs4(), name});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList sorted;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (i == 0 || entries.at(i).first != entries.at(i - 1).first)
            sorted.append(entries.at(i).second);
    }
    return sorted;
}

bool present(const std::optional<QString> &text) { return text && !text->isEmpty(); }

} // namespace

QStringList tokens(const QString &query)
{
    return query.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool matches(const LiveFlight &flight, const QStringList &tokens, const QString &aircraft,
             const QString &livery)
{
    if (!aircraft.isEmpty() && flight.aircraft != aircraft)
        return false;
    if (!livery.isEmpty() && flight.livery != livery)
        return false;
    QStringList texts;
    for (const std::optional<QString> &text : {flight.callsign, flight.pilot}) {
        if (text)
            texts.append(text->toLower());
    }
    const QString searched = texts.join(QLatin1Char(' '));
    return std::all_of(tokens.begin(), tokens.end(),
                       [&](const QString &token) { return searched.contains(token); });
}

QList<LiveFlight> results(const QList<LiveFlight> &flights, const QString &query, const QString &aircraft,
                          const QString &livery)
{
    QList<LiveFlight> sorted = flights;
    std::stable_sort(sorted.begin(), sorted.end(), [](const LiveFlight &a, const LiveFlight &b) {
        return Text::standardCompare(a.callsign.value_or(QString()), b.callsign.value_or(QString())) < 0;
    });
    const QStringList words = tokens(query);
    QList<LiveFlight> found;
    for (const LiveFlight &flight : std::as_const(sorted)) {
        if (matches(flight, words, aircraft, livery))
            found.append(flight);
    }
    return found;
}

QStringList aircraftOptions(const QList<LiveFlight> &flights)
{
    QStringList names;
    for (const LiveFlight &flight : flights) {
        if (present(flight.aircraft))
            names.append(*flight.aircraft);
    }
    return distinctSorted(names);
}

QStringList liveryOptions(const QList<LiveFlight> &flights, const QString &aircraft)
{
    QStringList names;
    for (const LiveFlight &flight : flights) {
        if ((aircraft.isEmpty() || flight.aircraft == aircraft) && present(flight.livery))
            names.append(*flight.livery);
    }
    return distinctSorted(names);
}

QString detail(const LiveFlight &flight)
{
    QStringList parts;
    for (const std::optional<QString> &part : {flight.aircraft, flight.livery}) {
        if (part)
            parts.append(*part);
    }
    return parts.join(QStringLiteral(" · "));
}

} // namespace FlightSearch

namespace {

// The same flight in a newer snapshot: its row stays, with its newer values.
bool sameFlight(const LiveFlight &shown, const LiveFlight &newer) { return shown.id == newer.id; }

// A picker's choices for these options, the empty text ("全部") first; whether they differ from those
// shown.
bool renew(QList<QString> &choices, const QStringList &options)
{
    QList<QString> newer = QStringList{QString()} + options;
    if (newer == choices)
        return false;
    choices = std::move(newer);
    return true;
}

} // namespace

QHash<int, QByteArray> FlightSearchRows::roleNames() const
{
    return {{IdRole, "flightId"}, {CallsignRole, "callsign"}, {PilotRole, "pilot"}, {DetailRole, "detail"}};
}

QVariant FlightSearchRows::value(const LiveFlight &flight, int role) const
{
    switch (role) {
    case IdRole:
        return flight.id;
    case CallsignRole:
        return flight.callsign ? *flight.callsign : L(QStringLiteral("未知呼号"));
    case PilotRole:
        return flight.pilot.value_or(QString());
    case DetailRole:
        return FlightSearch::detail(flight);
    default:
        return {};
    }
}

FlightSearchModel::FlightSearchModel(QObject *parent)
    : QObject(parent)
{
}

void FlightSearchModel::setFlights(const LiveFlightList &flights)
{
    if (m_flights == flights)
        return;
    m_flights = flights;
    Q_EMIT flightsChanged();
    updateChoices();
    search();
}

void FlightSearchModel::setQuery(const QString &query)
{
    if (m_query == query)
        return;
    m_query = query;
    Q_EMIT queryChanged();
    search();
}

void FlightSearchModel::setAircraft(const QString &aircraft)
{
    if (m_aircraft == aircraft)
        return;
    m_aircraft = aircraft;
    if (!liveryOptions().contains(m_livery))
        m_livery.clear();
    Q_EMIT filterChanged();
    updateChoices();
    search();
}

void FlightSearchModel::setLivery(const QString &livery)
{
    if (m_livery == livery)
        return;
    m_livery = livery;
    Q_EMIT filterChanged();
    search();
}

void FlightSearchModel::clearFilters()
{
    if (!filtered())
        return;
    m_aircraft.clear();
    m_livery.clear();
    Q_EMIT filterChanged();
    updateChoices();
    search();
}

LiveFlightValue FlightSearchModel::flightAt(int row) const
{
    if (row < 0 || row >= m_results.rowCount())
        return {};
    return {m_results.records().at(row)};
}

void FlightSearchModel::updateChoices()
{
    if (renew(m_aircraftChoices, aircraftOptions()))
        Q_EMIT aircraftChoicesChanged();
    if (renew(m_liveryChoices, liveryOptions()))
        Q_EMIT liveryChoicesChanged();
}

void FlightSearchModel::search()
{
    m_results.setRecords(FlightSearch::results(m_flights.flights, m_query, m_aircraft, m_livery), sameFlight);
    Q_EMIT resultsChanged();
}

QHash<int, QByteArray> OwnFlightRows::roleNames() const
{
    return {{IdRole, "flightId"},
            {CallsignRole, "callsign"},
            {ServerRole, "server"},
            {RouteRole, "route"},
            {HasPhaseRole, "hasPhase"},
            {PhaseTitleRole, "phaseTitle"},
            {PhaseSymbolRole, "phaseSymbol"},
            {PhaseColorRole, "phaseColor"}};
}

QString OwnFlightRows::route(const LiveFlight &flight)
{
    return flight.departure.value_or(Display::missing) + QStringLiteral(" → ")
           + flight.arrival.value_or(Display::missing);
}

QVariant OwnFlightRows::value(const LiveFlight &flight, int role) const
{
    switch (role) {
    case IdRole:
        return flight.id;
    case CallsignRole:
        return flight.callsign ? *flight.callsign : L(QStringLiteral("未知呼号"));
    case ServerRole:
        return flight.server ? *flight.server : L(QStringLiteral("未提供"));
    case RouteRole:
        return route(flight);
    case HasPhaseRole:
        return flight.flightPhase.has_value();
    default:
        break;
    }
    const std::optional<FlightPhase> phase = FlightPhase::of(flight);
    switch (role) {
    case PhaseTitleRole:
        return phase ? phase->title : QString();
    case PhaseSymbolRole:
        return phase ? phase->symbol : QString();
    case PhaseColorRole:
        return phase ? phase->color : QColor();
    default:
        return {};
    }
}

OwnFlightsModel::OwnFlightsModel(QObject *parent)
    : QObject(parent)
{
}

void OwnFlightsModel::setFlights(const LiveFlightList &flights)
{
    if (m_rows.records() == flights.flights)
        return;
    m_rows.setRecords(flights.flights, sameFlight);
    Q_EMIT flightsChanged();
}

LiveFlightValue OwnFlightsModel::flightAt(int row) const
{
    if (row < 0 || row >= m_rows.rowCount())
        return {};
    return {m_rows.records().at(row)};
}
