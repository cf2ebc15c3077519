#pragma once

#include "Airports.h"
#include "CommunityRecords.h"

#include <QGeoCoordinate>
#include <QObject>
#include <QQmlEngine>
#include <QVariantList>

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
        friend bool operator==(const Airport &, const Airport &) = default;
    };

    // In the routes' order.
    QList<Line> lines;
    // In ascending code order, each code once.
    QList<Airport> airports;

    static RoutesDrawing of(const QList<FlownRoute> &routes, const Airports::Table &table);
    friend bool operator==(const RoutesDrawing &, const RoutesDrawing &) = default;
};

// The routes map of the dashboard and the logbook: the drawing of the routes, the label a screen reader
// hears, and the identity that replaces the map when the route list changes.
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
    // [{identity, path: [from, to]}], in the routes' order.
    Q_PROPERTY(QVariantList lines READ lines NOTIFY drawingChanged)
    // [{code, coordinate}], in ascending code order.
    Q_PROPERTY(QVariantList airports READ airports NOTIFY drawingChanged)

public:
    explicit RoutesMapModel(QObject *parent = nullptr);

    FlownRoutes routes() const { return m_routes; }
    void setRoutes(const FlownRoutes &routes);
    bool empty() const { return m_routes.routes.isEmpty(); }
    QString identity() const { return identityOf(m_routes.routes); }
    QString accessibleName() const;
    QVariantList lines() const;
    QVariantList airports() const;
    const RoutesDrawing &drawing() const { return m_drawing; }

    // The distinct codes of the routes' departures and arrivals, ascending in plain string order.
    static QStringList airportCodes(const QList<FlownRoute> &routes);
    // The routes' identities joined in their order, without a separator.
    static QString identityOf(const QList<FlownRoute> &routes);

Q_SIGNALS:
    void routesChanged();
    void emptyChanged();
    void identityChanged();
    void drawingChanged();

private:
    FlownRoutes m_routes;
    RoutesDrawing m_drawing;
};
