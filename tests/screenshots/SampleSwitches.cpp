#include "SampleSwitches.h"

#include "MacUpdater.h"
#include "MemberNavigation.h"
#include "SampleService.h"

#include <QJsonValue>

namespace {
Sample::Service *service = nullptr;
}

void SampleSwitches::use(Sample::Service *sample) { service = sample; }

SampleSwitches *SampleSwitches::create(QQmlEngine *engine, QJSEngine *) { return new SampleSwitches(engine); }

void SampleSwitches::failWithPage(const QString &path, int status)
{
    if (service)
        service->setFault(path,
                          {.status = status,
                           .html = QByteArray("<!DOCTYPE html><html><body><h1>Internal Server Error</h1>"
                                              "</body></html>")});
}

void SampleSwitches::answer(const QString &path, const QJSValue &json)
{
    if (service)
        service->setFault(path, {.json = json.isNull() ? QJsonValue(QJsonValue::Null)
                                                       : QJsonValue::fromVariant(json.toVariant())});
}

void SampleSwitches::failLiveSnapshot()
{
    if (service)
        service->setLiveSnapshotFailing(true);
}

void SampleSwitches::requestOwnFlight() { FlightActivityNavigation::shared().requestOwnFlight(); }

void SampleSwitches::publishRelease(const QString &kind)
{
    if (service)
        service->publishRelease(kind == QLatin1String("current")     ? Sample::Service::Release::Current
                                : kind == QLatin1String("malformed") ? Sample::Service::Release::Malformed
                                                                     : Sample::Service::Release::Newer);
}

MacUpdater *SampleSwitches::newUpdater()
{
    auto *updater = new MacUpdater(MacUpdater::defaultOptions(), this);
    QJSEngine::setObjectOwnership(updater, QJSEngine::CppOwnership);
    return updater;
}
