#include "PirepImportModel.h"

#include "APIPath.h"
#include "Busy.h"
#include "Display.h"
#include "Outcome.h"
#include "Retarget.h"

QHash<int, QByteArray> RecentFlightRows::roleNames() const
{
    return {{FromRole, "from"},         {ToRole, "to"},         {DurationRole, "duration"},
            {AircraftRole, "aircraft"}, {LiveryRole, "livery"}, {DetailRole, "detail"},
            {DateRole, "date"}};
}

QString RecentFlightRows::detail(const RecentFlight &flight)
{
    QStringList parts;
    for (const std::optional<QString> &part : {flight.aircraft, flight.livery, flight.callsign}) {
        if (part)
            parts.append(*part);
    }
    return parts.join(QStringLiteral(" · "));
}

QVariant RecentFlightRows::value(const RecentFlight &flight, int role) const
{
    switch (role) {
    case FromRole:
        return flight.origin.value_or(QStringLiteral("—"));
    case ToRole:
        return flight.destination.value_or(QStringLiteral("—"));
    case DurationRole:
        return Display::duration(flight.totalTimeMinutes);
    case AircraftRole:
        return flight.aircraft.value_or(QString());
    case LiveryRole:
        return flight.livery.value_or(QString());
    case DetailRole:
        return detail(flight);
    case DateRole: {
        // Numeric date with the short time of the member's locale; nothing for a time we cannot read.
        const std::optional<QDateTime> created = flight.createdAt();
        return created ? Display::shortDateTime(*created) : QString();
    }
    default:
        return {};
    }
}

PirepImportModel::PirepImportModel(QObject *parent)
    : QObject(parent)
{
}

void PirepImportModel::setClient(APIClient *client)
{
    if (retarget(m_client, client, this))
        Q_EMIT clientChanged();
}

std::optional<RecentFlight> PirepImportModel::flight(int row) const
{
    const QList<RecentFlight> &rows = m_flights.records();
    return row >= 0 && row < rows.size() ? std::optional(rows.at(row)) : std::nullopt;
}

QCoro::Task<> PirepImportModel::run()
{
    if (m_loading)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard loading(m_loading, lifetime, [this] { Q_EMIT stateChanged(); });
    m_error.reset();
    const Outcome<RecentFlightsResponse> answer =
        co_await attempt(APIClient::get<RecentFlightsResponse>(m_client, APIPath::recentFlights()));
    if (!lifetime.alive() || answer.cancelled())
        co_return;
    if (answer.ok())
        m_flights.setRecords(answer.value().flights);
    else
        m_error = answer.message();
}
