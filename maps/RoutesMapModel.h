#pragma once

#include "Airports.h"
#include "CommunityRecords.h"
#include "RecordListModel.h"

#include <QFont>
#include <QGeoCoordinate>
#include <QObject>
#include <QQmlEngine>

class MapView;

// The member's flown routes as QML hands them from the screen that holds them to the routes map.
struct FlownRoutes
{
    Q_GADGET
    QML_VALUE_TYPE(flownRoutes)
    Q_PROPERTY(int count READ count)

public:
    QList<FlownRoute> routes;

    int count() const { return int(routes.size()); }
    friend bool operator==(const FlownRoutes &a, const FlownRoutes &b);
};

// What the routes map draws of a route list: a great circle for each route whose two airports the table
// knows, a marker for each known airport. Codes are looked up exactly as the routes give them.
struct RoutesDrawing
{
    struct Line
    {
        QString identity; // departure-arrival
        QGeoCoordinate from;
        QGeoCoordinate to;
        friend bool operator==(const Line &, const Line &) = default;
    };
    struct Airport
    {
        QString code;
        QGeoCoordinate coordinate;
        // How many of the routes it serves: the code of a busier airport is placed first.
        int routes = 0;
        friend bool operator==(const Airport &, const Airport &) = default;
    };

    // In the routes' order.
    QList<Line> lines;
    // In ascending code order, each code once.
    QList<Airport> airports;

    static RoutesDrawing of(const QList<FlownRoute> &routes, const Airports::Table &table);
    friend bool operator==(const RoutesDrawing &, const RoutesDrawing &) = default;
};

// The great circles of the routes map, in the routes' order.
class RouteLineList : public RecordListModel<RoutesDrawing::Line>
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    // The path runs from the departure to the arrival airport.
    enum Roles { IdentityRole = Qt::UserRole + 1, PathRole };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;

protected:
    QVariant value(const RoutesDrawing::Line &line, int role) const override;
};

// The airport markers of the routes map, in code order, each with the place of its code beside the marker
// ("titlePosition": the code's top-left corner from the point the balloon stands on) and whether the code
// shows ("titleShown"). Until the codes are arranged, each shows below its marker.
class RouteAirportList : public RecordListModel<RoutesDrawing::Airport>
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Roles { CodeRole = Qt::UserRole + 1, CoordinateRole, TitlePositionRole, TitleShownRole };
    using RecordListModel::RecordListModel;
    QHash<int, QByteArray> roleNames() const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // By row; none where the code has no room.
    void setTitles(const QList<std::optional<QPointF>> &titles);

protected:
    QVariant value(const RoutesDrawing::Airport &airport, int role) const override;

private:
    QList<std::optional<QPointF>> m_titles;
};

// The routes map of the dashboard and the logbook: the drawing of the routes, the label a screen reader
// hears, the identity that replaces the map when the route list changes, and the camera position that
// outlives a replaced map.
class RoutesMapModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(FlownRoutes routes READ routes WRITE setRoutes NOTIFY routesChanged)
    // No route at all: the empty state stands in place of the map.
    Q_PROPERTY(bool empty READ empty NOTIFY emptyChanged)
    // Changes only when the map must be made anew.
    Q_PROPERTY(QString identity READ identity NOTIFY identityChanged)
    Q_PROPERTY(QString accessibleName READ accessibleName NOTIFY routesChanged)
    Q_PROPERTY(RouteLineList *lines READ lines CONSTANT)
    Q_PROPERTY(RouteAirportList *airports READ airports CONSTANT)
    // The airports' codes as they are measured.
    Q_PROPERTY(QFont titleFont READ titleFont CONSTANT)

public:
    explicit RoutesMapModel(QObject *parent = nullptr);

    FlownRoutes routes() const { return m_routes; }
    void setRoutes(const FlownRoutes &routes);
    bool empty() const { return m_routes.routes.isEmpty(); }
    QString identity() const { return identityOf(m_routes.routes); }
    QString accessibleName() const;
    RouteLineList *lines() { return &m_lines; }
    RouteAirportList *airports() { return &m_airports; }

    QFont titleFont() const;

    // Takes a map just made for the routes: puts its camera where the member left the one before, or
    // frames every line and marker while that was automatic (as it is at first), and keeps following it;
    // arranges the airports' codes whenever it comes to rest.
    Q_INVOKABLE void adopt(MapView *map);
    // Puts each airport's code beside its marker where it lies on no other code or marker, for the map's
    // camera now: below the marker, else above, right or left of it; a code with no free side is left
    // out. The codes of the airports with the most routes are placed first.
    void arrangeTitles(const MapView &map);

    // The distinct codes of the routes' departures and arrivals, ascending in plain string order.
    static QStringList airportCodes(const QList<FlownRoute> &routes);
    // The routes' identities joined in their order, without a separator.
    static QString identityOf(const QList<FlownRoute> &routes);

Q_SIGNALS:
    void routesChanged();
    void emptyChanged();
    void identityChanged();

private:
    struct Position
    {
        bool automatic = true;
        QGeoCoordinate center;
        double distance = 0;
    };

    FlownRoutes m_routes;
    RouteLineList m_lines;
    RouteAirportList m_airports;
    Position m_position;
};
