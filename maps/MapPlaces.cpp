#include "MapPlaces.h"

#include "AppLanguage.h"
#include "Geodesy.h"
#include "Json.h"
#include "LabelPlacer.h"
#include "MapMath.h"
#include "MapView.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMutex>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// A label takes this much of the map's area at least, so a large map shows more of them, never a crowd.
constexpr double areaPerLabel = 14000;
constexpr int mostLabels = 60;
// Points between two labels.
constexpr double labelSpacing = 8;
// Metres from a listed city within which the table's other towns count as part of it.
constexpr double suburbRadius = 40000;

// The middle of a city's airports, the short way round where they lie on both sides of the 180° meridian.
QGeoCoordinate middleOf(const QList<const AirportCoordinate *> &airports)
{
    double latitude = 0;
    double longitude = 0;
    const double first = airports.front()->longitude;
    for (const AirportCoordinate *airport : airports) {
        latitude += airport->latitude;
        longitude += first + std::remainder(airport->longitude - first, 360.0);
    }
    const double count = double(airports.size());
    return QGeoCoordinate(latitude / count, MapMath::wrapLongitude(longitude / count));
}

MapPlace placeAt(const QString &name, const QGeoCoordinate &at)
{
    return {name, at, MapMath::project(at.latitude(), at.longitude())};
}

} // namespace

namespace MapPlaces {

std::optional<QList<Listed>> decode(const QByteArray &bytes)
{
    QList<Listed> listed;
    try {
        const QJsonValue root = Json::parse(bytes);
        if (!root.isArray())
            return std::nullopt;
        for (const QJsonValue &row : root.toArray()) {
            const QJsonArray fields = row.toArray();
            if (!row.isArray() || fields.size() != 5)
                return std::nullopt;
            QStringList texts;
            for (const QJsonValue &field : fields)
                texts.append(JsonFields::toString(field, QStringLiteral("places")));
            listed.append({texts.at(0), texts.at(1), texts.mid(2)});
        }
    } catch (const DecodeError &) {
        return std::nullopt;
    }
    return listed;
}

QList<MapPlace> of(const QList<Listed> &listed, const Airports::Table &airports, const QString &language)
{
    // Each city once: by its name and country in the airport table.
    using City = std::pair<QString, QString>;
    std::map<City, QList<const AirportCoordinate *>> cities;
    for (const AirportCoordinate &airport : airports)
        cities[{airport.city, airport.country.value_or(QString())}].append(&airport);

    const bool english = language == QLatin1String("en");
    QList<MapPlace> places;
    std::map<City, bool> named;
    for (const Listed &city : listed) {
        const auto airport = airports.constFind(city.code);
        if (airport == airports.cend())
            continue;
        const City key{airport->city, airport->country.value_or(QString())};
        if (named[key])
            continue;
        named[key] = true;
        const std::optional<QString> name =
            english ? std::optional<QString>(city.english) : AirportNames::inLanguage(city.chinese, language);
        if (name)
            places.append(placeAt(*name, middleOf(cities[key])));
    }
    // The table knows its other cities by their English names only: a Chinese map leaves them out rather
    // than mix two languages.
    if (!english)
        return places;
    // A town of the table next to a listed city is taken as part of it (Hong Kong's airfield at Shek Kong
    // lies in "Islands").
    const qsizetype listedCount = places.size();
    const auto nearListed = [&](const QGeoCoordinate &at) {
        return std::any_of(places.cbegin(), places.cbegin() + listedCount, [&](const MapPlace &place) {
            // Half a degree of latitude is 55 km: most are told apart without measuring.
            return std::abs(place.coordinate.latitude() - at.latitude()) < 0.5
                   && Geodesy::distance(place.coordinate, at) < suburbRadius;
        });
    };
    QList<std::pair<const City *, const QList<const AirportCoordinate *> *>> others;
    for (const auto &[city, served] : cities) {
        if (!named[city] && !city.first.isEmpty())
            others.append({&city, &served});
    }
    std::stable_sort(others.begin(), others.end(),
                     [](const auto &a, const auto &b) { return a.second->size() > b.second->size(); });
    for (const auto &[city, served] : others) {
        const QGeoCoordinate middle = middleOf(*served);
        if (!nearListed(middle))
            places.append(placeAt(city->first, middle));
    }
    return places;
}

const QList<MapPlace> &bundled()
{
    static QMutex lock;
    static QHash<QString, QList<MapPlace>> made;
    const QString language = AppLanguage::current();
    const QMutexLocker locked(&lock);
    auto found = made.find(language);
    if (found == made.end()) {
        QFile file(QStringLiteral(":/airports/places.json"));
        const QList<Listed> listed = file.open(QIODevice::ReadOnly)
                                         ? decode(file.readAll()).value_or(QList<Listed>())
                                         : QList<Listed>();
        found = made.insert(language, of(listed, Airports::all(), language));
    }
    // Entries of a QHash stay where they are while others are added.
    return *found;
}

} // namespace MapPlaces

MapPlaceLabels::MapPlaceLabels(QObject *parent)
    : QAbstractListModel(parent)
    , m_font(QGuiApplication::font())
{
    m_font.setPixelSize(12);
    m_font.setWeight(QFont::DemiBold);
}

void MapPlaceLabels::setMap(MapView *map)
{
    if (m_map == map)
        return;
    for (const QMetaObject::Connection &watch : std::as_const(m_watches))
        disconnect(watch);
    m_watches.clear();
    m_map = map;
    if (map) {
        m_watches = {connect(map, &MapView::movementEnded, this, &MapPlaceLabels::arrange),
                     connect(map, &MapView::mapStyleChanged, this, &MapPlaceLabels::paletteChanged),
                     connect(map, &MapView::darkChanged, this, &MapPlaceLabels::paletteChanged)};
    }
    arrange();
    Q_EMIT mapChanged();
    Q_EMIT paletteChanged();
}

void MapPlaceLabels::setCovered(const QList<QRectF> &covered)
{
    if (m_covered == covered)
        return;
    m_covered = covered;
    arrange();
    Q_EMIT coveredChanged();
}

MapPalette MapPlaceLabels::palette() const
{
    return MapPalette::of(m_map && m_map->mapStyle() == MapView::Style::Hybrid, m_map && m_map->dark());
}

bool MapPlaceLabels::uncovered(const QRectF &label) const
{
    return std::none_of(m_covered.cbegin(), m_covered.cend(),
                        [&](const QRectF &part) { return part.intersects(label); });
}

void MapPlaceLabels::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    arrange();
    Q_EMIT activeChanged();
}

void MapPlaceLabels::setPlaces(QList<MapPlace> places)
{
    m_places = std::move(places);
    arrange();
}

void MapPlaceLabels::arrange()
{
    if (!m_active || !m_map || m_map->width() <= 0 || m_map->height() <= 0) {
        show({});
        return;
    }
    const QList<MapPlace> &places = m_places ? *m_places : MapPlaces::bundled();
    const QRectF view(0, 0, m_map->width(), m_map->height());
    const int room = std::clamp(int(view.width() * view.height() / areaPerLabel), 1, mostLabels);
    const QFontMetricsF metrics(m_font);
    // The panels over the map are obstacles, as markers are.
    LabelPlacer placer(m_covered, labelSpacing);
    QList<MapPlace> chosen;
    for (const MapPlace &place : places) {
        const QPointF at = m_map->itemPoint(place.world);
        if (!view.contains(at))
            continue;
        const QSizeF size(metrics.horizontalAdvance(place.name) + 4, metrics.height());
        const QRectF label(at - QPointF(size.width() / 2, size.height() / 2), size);
        if (!view.contains(label) || placer.place({label}) < 0)
            continue;
        chosen.append(place);
        if (chosen.size() == room)
            break;
    }
    show(std::move(chosen));
}

void MapPlaceLabels::show(QList<MapPlace> places)
{
    // Labels that stay keep their rows (and their items); those gone leave, the new ones come last.
    for (int row = int(m_shown.size()) - 1; row >= 0; --row) {
        if (!places.contains(m_shown.at(row))) {
            beginRemoveRows({}, row, row);
            m_shown.removeAt(row);
            endRemoveRows();
        }
    }
    QList<MapPlace> added;
    for (MapPlace &place : places) {
        if (!m_shown.contains(place))
            added.append(std::move(place));
    }
    if (added.isEmpty())
        return;
    beginInsertRows({}, int(m_shown.size()), int(m_shown.size() + added.size()) - 1);
    m_shown += added;
    endInsertRows();
}

int MapPlaceLabels::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant MapPlaceLabels::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const MapPlace &place = m_shown.at(index.row());
    switch (role) {
    case NameRole:
        return place.name;
    case CoordinateRole:
        return QVariant::fromValue(place.coordinate);
    default:
        return {};
    }
}

QHash<int, QByteArray> MapPlaceLabels::roleNames() const
{
    return {{NameRole, "name"}, {CoordinateRole, "coordinate"}};
}
