#include "SampleSwitches.h"

#include "MacUpdater.h"
#include "SampleService.h"

#include <QJsonValue>

namespace {
Sample::Service *current = nullptr;
}

void SampleSwitches::use(Sample::Service *sample) { current = sample; }

Sample::Service *SampleSwitches::service() { return current; }

SampleSwitches *SampleSwitches::create(QQmlEngine *engine, QJSEngine *) { return new SampleSwitches(engine); }

void SampleSwitches::failWithPage(const QString &path, int status)
{
    if (current)
        current->setFault(path,
                          {.status = status,
                           .html = QByteArray("<!DOCTYPE html><html><body><h1>Internal Server Error</h1>"
                                              "</body></html>")});
}

void SampleSwitches::answer(const QString &path, const QJSValue &json)
{
    if (current)
        current->setFault(path, {.json = json.isNull() ? QJsonValue(QJsonValue::Null)
                                                       : QJsonValue::fromVariant(json.toVariant())});
}

void SampleSwitches::publishRelease(const QString &kind)
{
    if (current)
        current->publishRelease(kind == QLatin1String("current")     ? Sample::Service::Release::Current
                                : kind == QLatin1String("malformed") ? Sample::Service::Release::Malformed
                                                                     : Sample::Service::Release::Newer);
}

MacUpdater *SampleSwitches::newUpdater()
{
    auto *updater = new MacUpdater(MacUpdater::defaultOptions(), this);
    QJSEngine::setObjectOwnership(updater, QJSEngine::CppOwnership);
    return updater;
}
