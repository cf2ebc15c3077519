#pragma once

#include "LiveFleetItem.h"
#include "LiveScheduleRecords.h"

#include <QObject>
#include <QQmlEngine>

// One fleet aircraft as QML hands it from the Live page's fleet board to the aircraft page and the
// application form.
struct LiveFleetItemValue
{
    Q_GADGET
    QML_VALUE_TYPE(liveFleetItem)
    Q_PROPERTY(QString id READ id)
    Q_PROPERTY(QString registration READ registration)

public:
    LiveFleetItem item;

    QString id() const { return item.id(); }
    QString registration() const { return item.aircraft.registration; }
};

// One schedule application as QML hands it from the Live page's application list to its review.
struct LiveApplicationValue
{
    Q_GADGET
    QML_VALUE_TYPE(liveApplication)
    Q_PROPERTY(QString id READ id)
    Q_PROPERTY(QString status READ status)

public:
    LiveApplication item;

    QString id() const { return item.id; }
    QString status() const { return item.status; }
};
