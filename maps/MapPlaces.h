#pragma once

#include "Airports.h"
#include "MapView.h"

#include <QAbstractListModel>
#include <QFont>
#include <QGeoCoordinate>
#include <QPointF>
#include <QPointer>
#include <QQmlEngine>

#include <optional>

// A city the map can label: its name in the interface language and where the label stands.
struct MapPlace
{
    QString name;
    QGeoCoordinate coordinate;
    // The coordinate's world point (MapMath).
    QPointF world;
    friend bool operator==(const MapPlace &, const MapPlace &) = default;
};

// The cities of the maps' labels, made from the airport table: the cities of resources/places.json first,
// biggest first, then (in English) the table's other cities.
namespace MapPlaces {

// One city of places.json: an airport of the city, its English name and its Chinese names ([Simplified,
// Hong Kong, Taiwan]).
struct Listed
{
    QString code;
    QString english;
    QStringList chinese;
};

// places.json: [[code, English, Simplified, Hong Kong, Taiwan], …]; none for anything else.
std::optional<QList<Listed>> decode(const QByteArray &bytes);
// The cities a map names in `language` ("en", "zh-Hans", "zh-HK", "zh-TW"), each in that language or not
// at all: the listed ones first, in their order, each on the middle of the airports of its code's city
// (in Chinese, those with a name in the reader's own form of it); then, in English only, the airport
// table's other cities, those with more airports first, then by name, leaving out those within 40 km of a
// listed one.
QList<MapPlace> of(const QList<Listed> &listed, const Airports::Table &airports, const QString &language);
// The app's cities in the current language, made once per language, from any thread.
const QList<MapPlace> &bundled();

} // namespace MapPlaces

// The place labels a map shows: chosen when its camera comes to rest, the biggest cities in view first,
// as many as the map has room for, no two on top of each other and none under the panels that lie over the
// map. Empty while not active.
class MapPlaceLabels : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(MapView *map READ map WRITE setMap NOTIFY mapChanged)
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)
    // The labels' font, as they are measured.
    Q_PROPERTY(QFont font READ font CONSTANT)
    // The parts of the map, in its own points, that panels cover (the live map's banner): no label is placed
    // there, and one the map carries under them while it moves is hidden.
    Q_PROPERTY(QList<QRectF> covered READ covered WRITE setCovered NOTIFY coveredChanged)
    // The labels' colour and the halo around their letters, for the map's style and appearance.
    Q_PROPERTY(QColor color READ color NOTIFY paletteChanged)
    Q_PROPERTY(QColor halo READ halo NOTIFY paletteChanged)

public:
    enum Roles { NameRole = Qt::UserRole + 1, CoordinateRole };

    explicit MapPlaceLabels(QObject *parent = nullptr);

    MapView *map() const { return m_map; }
    void setMap(MapView *map);
    bool active() const { return m_active; }
    void setActive(bool active);
    QFont font() const { return m_font; }
    QList<QRectF> covered() const { return m_covered; }
    void setCovered(const QList<QRectF> &covered);
    QColor color() const { return palette().label; }
    QColor halo() const { return palette().halo; }
    // The places to choose from, the app's by default.
    void setPlaces(QList<MapPlace> places);
    const QList<MapPlace> &shown() const { return m_shown; }
    // Whether a label's rectangle, in the map's points, lies clear of every covered part.
    Q_INVOKABLE bool uncovered(const QRectF &label) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void mapChanged();
    void activeChanged();
    void coveredChanged();
    void paletteChanged();

private:
    void arrange();
    void show(QList<MapPlace> places);
    MapPalette palette() const;

    QPointer<MapView> m_map;
    QList<QMetaObject::Connection> m_watches;
    QList<QRectF> m_covered;
    bool m_active = false;
    QFont m_font;
    std::optional<QList<MapPlace>> m_places;
    QList<MapPlace> m_shown;
};
