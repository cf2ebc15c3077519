#pragma once

#include "FlightRecords.h"

#include <QAbstractListModel>
#include <QList>
#include <QQmlEngine>
#include <QRgb>

#include <optional>

// The markers of the live map, one row per flight of the snapshot in the order the map stacks them
// (`LiveMapRules::drawOrder`), in the roles `MapMarkerLayer` reads: "latitude", "longitude", "heading"
// (a missing heading points north), "size" (48 × the aircraft's size class × the zoom's factor), "fill"
// and "outline" (`PlaneMarker::colors` of the selection, the event and the live state); besides them
// "flightId", "callsign" and "aircraft".
class LiveMapMarkers : public QAbstractListModel
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Roles {
        LatitudeRole = Qt::UserRole + 1,
        LongitudeRole,
        HeadingRole,
        SizeRole,
        FillRole,
        OutlineRole,
        FlightIdRole,
        CallsignRole,
        AircraftRole,
    };

    struct Marker
    {
        qsizetype flight = 0; // index in the snapshot's flights
        double latitude = 0;
        double longitude = 0;
        double heading = 0;
        double scale = 1; // the aircraft's size class
        double size = 24;
        QRgb fill = 0;
        QRgb outline = 0;
        bool operator==(const Marker &) const = default;
    };

    using QAbstractListModel::QAbstractListModel;

    // The snapshot's markers for this selection and zoom; an equal set changes nothing.
    void show(const std::optional<LiveResponse> &snapshot, const std::optional<QString> &selectedId,
              double zoom);
    // Only the sizes follow a new zoom.
    void setZoom(double zoom);

    const QList<Marker> &markers() const { return m_markers; }
    // The flight (index into the snapshot's flights) of a row, or -1.
    qsizetype flightAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    QList<Marker> m_markers;
    std::optional<LiveResponse> m_snapshot;
    double m_zoom = 0;
};
