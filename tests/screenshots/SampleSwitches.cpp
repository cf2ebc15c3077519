#include "SampleSwitches.h"

#include "MemberNavigation.h"
#include "MemberStore.h"
#include "SampleService.h"
#include "UpdateCheck.h"

#include <QJsonArray>
#include <QJsonObject>
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

void SampleSwitches::failLiveSnapshot()
{
    if (current)
        current->setLiveSnapshotFailing(true);
}

void SampleSwitches::requestOwnFlight() { FlightActivityNavigation::shared().requestOwnFlight(); }

void SampleSwitches::publishRelease(const QString &kind)
{
    if (current)
        current->publishRelease(kind == QLatin1String("current")     ? Sample::Service::Release::Current
                                : kind == QLatin1String("malformed") ? Sample::Service::Release::Malformed
                                                                     : Sample::Service::Release::Newer);
}

UpdateCheck *SampleSwitches::newUpdater()
{
    auto *updater = new UpdateCheck(UpdateCheck::defaultOptions(), this);
    QJSEngine::setObjectOwnership(updater, QJSEngine::CppOwnership);
    return updater;
}

LiveFleetItemValue SampleSwitches::fleetItem(const QString &organizationId, const QString &aircraftId)
{
    if (!current)
        return {};
    const QJsonObject live = current->data(QStringLiteral("live-schedules")).toObject();
    LiveFleetExtras extras;
    extras.take(std::optional(LiveFleetPositions::fromJson(Sample::livePositionsJson(live))));
    extras.take(std::optional(LiveRoutes::fromJson(QJsonObject{{"aircraftRoutes", live.value("routes")}})));
    const LiveBoard board = LiveBoard::fromJson(Sample::liveBoardJson(live, QString()));
    for (const LiveFleetItem &item : liveFleet(board, extras)) {
        if (item.organization.id == organizationId && item.aircraft.id == aircraftId)
            return {item};
    }
    return {};
}

LiveApplicationValue SampleSwitches::application(const QString &id)
{
    if (!current)
        return {};
    for (const QJsonValue &row :
         current->data(QStringLiteral("live-schedules")).toObject().value("applications").toArray()) {
        if (row.toObject().value("id").toString() == id)
            return {LiveApplication::fromJson(row)};
    }
    return {};
}

QUrl SampleSwitches::vendorPage() const
{
    if (!current)
        return {};
    QUrl page = current->origin();
    page.setPath(QStringLiteral("/oauth/authorize"));
    page.setQuery(
        QStringLiteral("client_id=vornalia&state=sample&redirect_uri=https%3A%2F%2Flive.vornalia.org%2Fapi%2F"
                       "live-schedules%2Fauthorization-callback"));
    return page;
}
