#pragma once

#include "CommunityRecords.h"

#include <QObject>
#include <QQmlEngine>

// One group-flight event as QML hands it from the screen that lists it to the card and page that show it.
struct EventValue
{
    Q_GADGET
    QML_VALUE_TYPE(flightEvent)
    Q_PROPERTY(QString id READ id)

public:
    FlightEvent event;

    QString id() const { return event.id; }
    bool operator==(const EventValue &) const = default;
};

// The title of an answer, as its button and its staff group name it.
QString attendanceTitle(AttendanceChoice choice);
