#pragma once

#include "EventValue.h"

#include <QDateTime>
#include <QGeoCoordinate>
#include <QObject>
#include <QQmlEngine>
#include <QRectF>

#include <functional>

// The summary card of one event: its state chip, start time, route with the estimated time and the line
// of its aircraft. Recomputed from the event each time it is read; no timer moves the chip.
class EventSummaryModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(EventValue event READ event WRITE setEvent NOTIFY eventChanged)
    Q_PROPERTY(bool started READ started NOTIFY eventChanged)
    Q_PROPERTY(QString chipText READ chipText NOTIFY eventChanged)
    Q_PROPERTY(QString chipSymbol READ chipSymbol NOTIFY eventChanged)
    Q_PROPERTY(QString startText READ startText NOTIFY eventChanged)
    Q_PROPERTY(QString from READ from NOTIFY eventChanged)
    Q_PROPERTY(QString to READ to NOTIFY eventChanged)
    Q_PROPERTY(QString durationText READ durationText NOTIFY eventChanged)
    Q_PROPERTY(QString aircraft READ aircraft NOTIFY eventChanged)
    Q_PROPERTY(QString livery READ livery NOTIFY eventChanged)
    Q_PROPERTY(QString aircraftLine READ aircraftLine NOTIFY eventChanged)
    // What a screen reader hears of the card: what it shows, in its order.
    Q_PROPERTY(QString accessibleText READ accessibleText NOTIFY eventChanged)

public:
    explicit EventSummaryModel(QObject *parent = nullptr);

    EventValue event() const { return m_event; }
    void setEvent(const EventValue &event);
    void setClock(std::function<QDateTime()> now) { m_now = std::move(now); }

    bool started() const { return m_event.event.hasStarted(m_now()); }
    QString chipText() const;
    QString chipSymbol() const;
    // Empty when the start cannot be read: the header then has no time.
    QString startText() const;
    QString from() const { return m_event.event.departureCode; }
    QString to() const { return m_event.event.arrivalCode; }
    QString durationText() const;
    QString aircraft() const { return m_event.event.aircraft; }
    QString livery() const { return m_event.event.livery; }
    QString aircraftLine() const;
    QString accessibleText() const;

Q_SIGNALS:
    void eventChanged();

private:
    EventValue m_event;
    std::function<QDateTime()> m_now = [] { return QDateTime::currentDateTimeUtc(); };
};

// The small map of an event's route: both airports from the bundled table, framed with a margin, or
// nothing to draw when either code is not in the table (looked up exactly as sent).
class EventRouteMapModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QString from READ from WRITE setFrom NOTIFY routeChanged)
    Q_PROPERTY(QString to READ to WRITE setTo NOTIFY routeChanged)
    Q_PROPERTY(bool found READ found NOTIFY routeChanged)
    Q_PROPERTY(QGeoCoordinate fromCoordinate READ fromCoordinate NOTIFY routeChanged)
    Q_PROPERTY(QGeoCoordinate toCoordinate READ toCoordinate NOTIFY routeChanged)
    Q_PROPERTY(QRectF frame READ frame NOTIFY routeChanged)
    Q_PROPERTY(QString accessibleName READ accessibleName NOTIFY routeChanged)

public:
    explicit EventRouteMapModel(QObject *parent = nullptr);

    QString from() const { return m_from; }
    void setFrom(const QString &code);
    QString to() const { return m_to; }
    void setTo(const QString &code);

    bool found() const;
    QGeoCoordinate fromCoordinate() const;
    QGeoCoordinate toCoordinate() const;
    // In map points (the world 2^28 on a side); empty unless found.
    QRectF frame() const;
    QString accessibleName() const;

    // The camera of a route: the rectangle between the two map points, the short way round the world (its
    // x may leave the world square: the map repeats), grown by 0.6 of its longer side plus 400,000 points.
    static QRectF frameOf(const QGeoCoordinate &from, const QGeoCoordinate &to);

Q_SIGNALS:
    void routeChanged();

private:
    QString m_from;
    QString m_to;
};
