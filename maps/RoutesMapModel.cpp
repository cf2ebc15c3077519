#include "RoutesMapModel.h"

#include "L.h"
#include "LabelPlacer.h"
#include "MapView.h"
#include "Typography.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <QSet>

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

std::optional<QGeoCoordinate> find(const Airports::Table &table, const QString &code)
{
    const auto found = table.constFind(code);
    if (found == table.cend())
        return std::nullopt;
    return QGeoCoordinate(found->latitude, found->longitude);
}

} // namespace

bool operator==(const FlownRoutes &a, const FlownRoutes &b)
{
    return std::equal(a.routes.cbegin(), a.routes.cend(), b.routes.cbegin(), b.routes.cend(),
                      [](const FlownRoute &x, const FlownRoute &y) {
                          return x.departure == y.departure && x.arrival == y.arrival
                                 && x.flights == y.flights;
                      });
}

RoutesDrawing RoutesDrawing::of(const QList<FlownRoute> &routes, const Airports::Table &table)
{
    RoutesDrawing drawing;
    for (const FlownRoute &route : routes) {
        const auto from = find(table, route.departure);
        const auto to = find(table, route.arrival);
        if (from && to)
            drawing.lines.append({route.identity(), *from, *to});
    }
    for (const QString &code : RoutesMapModel::airportCodes(routes)) {
        if (const auto at = find(table, code)) {
            const auto serves = [&](const FlownRoute &route) {
                return route.departure == code || route.arrival == code;
            };
            drawing.airports.append({code, *at, int(std::count_if(routes.cbegin(), routes.cend(), serves))});
        }
    }
    return drawing;
}

RoutesMapModel::RoutesMapModel(QObject *parent)
    : QObject(parent)
{
}

void RoutesMapModel::setRoutes(const FlownRoutes &routes)
{
    if (routes == m_routes)
        return;
    const bool wasEmpty = empty();
    const QString before = identity();
    m_routes = routes;
    // The table is read on every drawing; it is loaded once, on first use. Equal lists keep their rows.
    RoutesDrawing drawing = RoutesDrawing::of(m_routes.routes, Airports::all());
    m_lines.setRecords(std::move(drawing.lines));
    m_airports.setRecords(std::move(drawing.airports));
    // Until the map comes to rest, each code below its marker.
    const QFontMetricsF metrics(titleFont());
    QList<std::optional<QPointF>> below;
    for (const RoutesDrawing::Airport &airport : m_airports.records())
        below.append(QPointF(-metrics.horizontalAdvance(airport.code) / 2, 0));
    m_airports.setTitles(below);
    if (identity() != before)
        Q_EMIT identityChanged();
    if (empty() != wasEmpty)
        Q_EMIT emptyChanged();
    Q_EMIT routesChanged();
}

QString RoutesMapModel::accessibleName() const
{
    // Every route counts, also those whose airports the table does not know.
    return Ln(QStringLiteral("本人已批准航线地图，共 %@ 条航线"), m_routes.count(), m_routes.count());
}

void RoutesMapModel::adopt(MapView *map)
{
    if (!map)
        return;
    // Followed from the first camera on: a map already laid out comes to rest at once.
    connect(map, &MapView::movementEnded, this, [this, map] {
        m_position.center = map->center();
        m_position.distance = map->distance();
        arrangeTitles(*map);
    });
    if (m_position.automatic || !m_position.center.isValid())
        map->showAll();
    else
        map->setCamera(m_position.center, m_position.distance);
    connect(map, &MapView::automaticChanged, this, [this, map] { m_position.automatic = map->automatic(); });
}

QFont RoutesMapModel::titleFont() const
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(Typography().footnote);
    font.setWeight(QFont::DemiBold);
    return font;
}

void RoutesMapModel::arrangeTitles(const MapView &map)
{
    // The balloon as MapBalloon draws it: a head of 26 points whose point stands on the coordinate, 32
    // points above it; codes keep 3 points from the head.
    constexpr double half = 13;
    constexpr double tall = 32;
    constexpr double gap = 3;
    const QList<RoutesDrawing::Airport> &airports = m_airports.records();
    QList<QPointF> at;
    QList<QRectF> balloons;
    for (const RoutesDrawing::Airport &airport : airports) {
        at.append(map.pointAt(airport.coordinate));
        balloons.append(QRectF(at.back().x() - half, at.back().y() - tall, 2 * half, tall));
    }
    QList<int> order(airports.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return airports.at(a).routes > airports.at(b).routes; });
    const QFontMetricsF metrics(titleFont());
    LabelPlacer placer(balloons, 1);
    QList<std::optional<QPointF>> titles(airports.size());
    for (const int row : order) {
        const QSizeF size(metrics.horizontalAdvance(airports.at(row).code), metrics.height());
        // Beside the head, on its middle.
        const double middle = -tall + half - size.height() / 2;
        const QList<QPointF> sides{{-size.width() / 2, 0},
                                   {-size.width() / 2, -tall - gap - size.height()},
                                   {half + gap, middle},
                                   {-half - gap - size.width(), middle}};
        QList<QRectF> places;
        for (const QPointF &side : sides)
            places.append(QRectF(at.at(row) + side, size));
        if (const int side = placer.place(places); side >= 0)
            titles[row] = sides.at(side);
    }
    m_airports.setTitles(titles);
}

QHash<int, QByteArray> RouteLineList::roleNames() const
{
    return {{IdentityRole, "identity"}, {PathRole, "path"}};
}

QVariant RouteLineList::value(const RoutesDrawing::Line &line, int role) const
{
    switch (role) {
    case IdentityRole:
        return line.identity;
    case PathRole:
        return QVariant::fromValue(QList{line.from, line.to});
    default:
        return {};
    }
}

QHash<int, QByteArray> RouteAirportList::roleNames() const
{
    return {{CodeRole, "code"},
            {CoordinateRole, "coordinate"},
            {TitlePositionRole, "titlePosition"},
            {TitleShownRole, "titleShown"}};
}

QVariant RouteAirportList::data(const QModelIndex &index, int role) const
{
    if (role != TitlePositionRole && role != TitleShownRole)
        return RecordListModel::data(index, role);
    if (!index.isValid() || index.row() >= m_titles.size())
        return {};
    const std::optional<QPointF> title = m_titles.at(index.row());
    if (role == TitleShownRole)
        return title.has_value();
    return title.value_or(QPointF());
}

void RouteAirportList::setTitles(const QList<std::optional<QPointF>> &titles)
{
    const QList<std::optional<QPointF>> before = std::exchange(m_titles, titles);
    for (int row = 0; row < rowCount(); ++row) {
        if (row >= before.size() || before.at(row) != titles.value(row))
            Q_EMIT dataChanged(index(row), index(row), {TitlePositionRole, TitleShownRole});
    }
}

QVariant RouteAirportList::value(const RoutesDrawing::Airport &airport, int role) const
{
    switch (role) {
    case CodeRole:
        return airport.code;
    case CoordinateRole:
        return QVariant::fromValue(airport.coordinate);
    default:
        return {};
    }
}

QStringList RoutesMapModel::airportCodes(const QList<FlownRoute> &routes)
{
    QSet<QString> seen;
    QStringList codes;
    for (const FlownRoute &route : routes) {
        for (const QString &code : {route.departure, route.arrival}) {
            if (!seen.contains(code)) {
                seen.insert(code);
                codes.append(code);
            }
        }
    }
    // Plain string order: by UTF-16 code units, as the codes stand.
    std::sort(codes.begin(), codes.end());
    return codes;
}

QString RoutesMapModel::identityOf(const QList<FlownRoute> &routes)
{
    QString identity;
    for (const FlownRoute &route : routes)
        identity += route.identity();
    return identity;
}
