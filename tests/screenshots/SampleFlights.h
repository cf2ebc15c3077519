#pragma once

#include "LiveMapValues.h"

#include <QGeoCoordinate>
#include <QObject>
#include <QQmlEngine>
#include <QVariantList>

// The sample service's live map as the live map's panels take it: the snapshot a member sees (the live
// one or the saved one), single flights, their plans, and the markers and lines to draw them on a map.
class SampleFlights : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    Q_INVOKABLE LiveFlightList flights(bool saved) const;
    Q_INVOKABLE LiveFlightList pick(const QStringList &ids) const;
    Q_INVOKABLE LiveFlightValue flight(const QString &id) const;
    Q_INVOKABLE FlightPlanValue plan(const QString &id) const;
    Q_INVOKABLE int liveCount(bool saved) const;
    Q_INVOKABLE QString status(bool saved) const;
    Q_INVOKABLE QString updatedAt(bool saved) const;
    // {latitude, longitude, heading, size, fill, outline} of each flight, the selected one in orange.
    Q_INVOKABLE QVariantList markers(bool saved, const QString &selectedId) const;
    Q_INVOKABLE QVariantList planPath(const QString &id) const;
    Q_INVOKABLE QVariantList flownPath(const QString &id) const;
};
