#pragma once

#include <QJSValue>
#include <QObject>
#include <QQmlEngine>

#include "LiveValues.h"
#include "UpdateCheck.h"

namespace Sample {
class Service;
}

// The sample member service's misbehaviour, for screens that show how the app meets a failing service.
// The harness clears it before each screen.
class SampleSwitches : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(SampleService)
    QML_SINGLETON

public:
    // The service the screens of this run talk to.
    static void use(Sample::Service *service);
    static Sample::Service *service();
    static SampleSwitches *create(QQmlEngine *engine, QJSEngine *);

    // Requests to a path answer this status with an error page in HTML, as a failing proxy does.
    Q_INVOKABLE void failWithPage(const QString &path, int status);
    // Requests to a path answer this JSON (null, or a shape the app cannot read).
    Q_INVOKABLE void answer(const QString &path, const QJSValue &json);
    // The live map's live snapshot fails (503) while the saved one answers: the map falls back to it.
    Q_INVOKABLE void failLiveSnapshot();
    // The own-flight link, as if opened from the desktop.
    Q_INVOKABLE void requestOwnFlight();
    // The release manifest the service publishes: "newer" (as it starts), "current" or "malformed".
    Q_INVOKABLE void publishRelease(const QString &kind);
    // An updater of the screen's own, for the sample service, that has made no check yet.
    Q_INVOKABLE UpdateCheck *newUpdater();
    // One aircraft of the sample Live fleet, joined as the Live page joins it; one sample application.
    Q_INVOKABLE LiveFleetItemValue fleetItem(const QString &organizationId, const QString &aircraftId);
    Q_INVOKABLE LiveApplicationValue application(const QString &id);
    // The service's Infinite Flight sign-in page, as the authorisation start names it.
    Q_INVOKABLE QUrl vendorPage() const;

private:
    using QObject::QObject;
};
