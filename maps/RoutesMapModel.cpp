#include "RoutesMapModel.h"

#include "L.h"
#include "MapView.h"

#include <QSet>

#include <algorithm>
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
        if (const auto at = find(table, code))
            drawing.airports.append({code, *at});
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
    if (m_position.automatic || !m_position.center.isValid())
        map->showAll();
    else
        map->setCamera(m_position.center, m_position.distance);
    connect(map, &MapView::automaticChanged, this, [this, map] { m_position.automatic = map->automatic(); });
    connect(map, &MapView::movementEnded, this, [this, map] {
        m_position.center = map->center();
        m_position.distance = map->distance();
    });
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
    return {{CodeRole, "code"}, {CoordinateRole, "coordinate"}};
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
