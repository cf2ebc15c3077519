#include "LiveMapMarkers.h"

#include "LiveMapRules.h"
#include "PlaneMarker.h"

#include <QColor>

#include <cmath>

void LiveMapMarkers::show(const std::optional<LiveResponse> &snapshot,
                          const std::optional<QString> &selectedId, double zoom)
{
    QList<Marker> markers;
    if (snapshot) {
        const bool connected = LiveMapRules::connected(snapshot);
        const double factor = PlaneStyle::zoomFactor(zoom);
        const QList<qsizetype> order = LiveMapRules::drawOrder(*snapshot, selectedId);
        markers.reserve(order.size());
        for (const qsizetype i : order) {
            const LiveFlight &flight = snapshot->flights.at(i);
            const auto colors = PlaneMarker::colors(selectedId && flight.id == *selectedId,
                                                    flight.eventAttending.value_or(false),
                                                    LiveMapRules::liveIdentified(flight, connected));
            const double scale = PlaneStyle::scale(flight.aircraft);
            markers.append({i, flight.latitude, flight.longitude, flight.heading.value_or(0), scale,
                            48 * scale * factor, colors.fill, colors.outline});
        }
    }
    m_zoom = zoom;
    m_snapshot = snapshot;
    if (markers == m_markers)
        return;
    beginResetModel();
    m_markers = std::move(markers);
    endResetModel();
}

void LiveMapMarkers::setZoom(double zoom)
{
    if (zoom == m_zoom || (std::isnan(zoom) && std::isnan(m_zoom)))
        return;
    m_zoom = zoom;
    const double factor = PlaneStyle::zoomFactor(zoom);
    bool changed = false;
    for (Marker &marker : m_markers) {
        const double size = 48 * marker.scale * factor;
        changed = changed || size != marker.size;
        marker.size = size;
    }
    if (changed && !m_markers.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_markers.size()) - 1), {SizeRole});
}

qsizetype LiveMapMarkers::flightAt(int row) const
{
    return row >= 0 && row < m_markers.size() ? m_markers.at(row).flight : -1;
}

int LiveMapMarkers::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_markers.size());
}

QVariant LiveMapMarkers::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_markers.size())
        return {};
    const Marker &marker = m_markers.at(index.row());
    switch (role) {
    case LatitudeRole:
        return marker.latitude;
    case LongitudeRole:
        return marker.longitude;
    case HeadingRole:
        return marker.heading;
    case SizeRole:
        return marker.size;
    case FillRole:
        return QColor::fromRgba(marker.fill);
    case OutlineRole:
        return QColor::fromRgba(marker.outline);
    case FlightIdRole:
        return m_snapshot->flights.at(marker.flight).id;
    case CallsignRole:
        return m_snapshot->flights.at(marker.flight).callsign.value_or(QString());
    case AircraftRole:
        return m_snapshot->flights.at(marker.flight).aircraft.value_or(QString());
    default:
        return {};
    }
}

QHash<int, QByteArray> LiveMapMarkers::roleNames() const
{
    return {{LatitudeRole, "latitude"}, {LongitudeRole, "longitude"}, {HeadingRole, "heading"},
            {SizeRole, "size"},         {FillRole, "fill"},           {OutlineRole, "outline"},
            {FlightIdRole, "flightId"}, {CallsignRole, "callsign"},   {AircraftRole, "aircraft"}};
}
