#include "RoutesMapModel.h"

#include "L.h"

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
    // The table is read on every drawing; it is loaded once, on first use.
    RoutesDrawing drawing = RoutesDrawing::of(m_routes.routes, Airports::all());
    const bool redrawn = drawing != m_drawing;
    m_drawing = std::move(drawing);
    if (identity() != before)
        Q_EMIT identityChanged();
    if (redrawn)
        Q_EMIT drawingChanged();
    if (empty() != wasEmpty)
        Q_EMIT emptyChanged();
    Q_EMIT routesChanged();
}

QString RoutesMapModel::accessibleName() const
{
    // Every route counts, also those whose airports the table does not know.
    return L(QStringLiteral("本人已批准航线地图，共 %@ 条航线"), m_routes.count());
}

QVariantList RoutesMapModel::lines() const
{
    QVariantList lines;
    for (const RoutesDrawing::Line &line : m_drawing.lines)
        lines.append(QVariantMap{{QStringLiteral("identity"), line.identity},
                                 {QStringLiteral("path"), QVariant::fromValue(QList{line.from, line.to})}});
    return lines;
}

QVariantList RoutesMapModel::airports() const
{
    QVariantList airports;
    for (const RoutesDrawing::Airport &airport : m_drawing.airports)
        airports.append(QVariantMap{{QStringLiteral("code"), airport.code},
                                    {QStringLiteral("coordinate"), QVariant::fromValue(airport.coordinate)}});
    return airports;
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
