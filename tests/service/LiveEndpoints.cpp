// The Live schedules: the link state of a member's Infinite Flight account, the fleet board of the
// organisations it shares, his schedule applications page by page, and the fleet's positions and routes.
#include "MemberStore.h"

#include <QDateTime>
#include <QJsonArray>
#include <QUrlQuery>

namespace Sample {

namespace {

using LiveHandler = std::function<Reply(Service &, const Account &, const QJsonObject &, const Request &)>;

bool linked(const QJsonObject &live, const Account &account)
{
    return live.value("linked").toArray().contains(account.username);
}

QString isoFromNow(double seconds)
{
    return QDateTime::currentDateTimeUtc().addSecs(qint64(seconds)).toString(Qt::ISODate);
}

// Times in the data are offsets from now, so the board never goes stale.
QJsonObject schedule(QJsonObject row)
{
    for (const auto &[offset, field] : {std::pair{"scheduledDepartureOffsetHours", "scheduledDepartureUtc"},
                                        std::pair{"scheduledArrivalOffsetHours", "scheduledArrivalUtc"}}) {
        if (row.contains(QLatin1String(offset)))
            row.insert(QLatin1String(field), isoFromNow(row.take(QLatin1String(offset)).toDouble() * 3600));
    }
    return row;
}

Reply board(const Account &account, const QJsonObject &live)
{
    QJsonArray organizations;
    for (const QJsonValue &value : live.value("organizations").toArray()) {
        QJsonObject organization = value.toObject();
        QJsonArray schedules;
        for (const QJsonValue &row : organization.value("schedules").toArray())
            schedules.append(schedule(row.toObject()));
        organization.insert("schedules", schedules);
        organizations.append(organization);
    }
    return Reply::json(
        QJsonObject{{"canReview", live.value("reviewers").toArray().contains(account.username)},
                    {"organizations", organizations},
                    {"liveUpdatedAt", isoFromNow(-30)}});
}

Reply applications(const Account &account, const QJsonObject &live, const Request &request)
{
    bool number = false;
    const int page = request.query.queryItemValue("page").toInt(&number);
    if (!number || page < 1)
        return Reply::message(400, QStringLiteral("页码无效。"));
    QJsonArray own;
    for (const QJsonValue &row : live.value("applications").toArray()) {
        if (row.toObject().value("username").toString() == account.username)
            own.append(row);
    }
    const int size = live.value("applicationsPerPage").toInt(4);
    QJsonArray rows;
    for (qsizetype i = qsizetype(page - 1) * size; i < own.size() && rows.size() < size; ++i)
        rows.append(own.at(i));
    return Reply::json(QJsonObject{{"applications", rows}, {"hasMore", qsizetype(page) * size < own.size()}});
}

Reply positions(const QJsonObject &live)
{
    QJsonArray pilots;
    for (const QJsonValue &value : live.value("recentPilots").toArray()) {
        QJsonObject pilot = value.toObject();
        if (pilot.contains("seenOffsetMinutes"))
            pilot.insert("seenAt", isoFromNow(pilot.take("seenOffsetMinutes").toDouble() * 60));
        pilots.append(pilot);
    }
    return Reply::json(QJsonObject{{"aircraftPositions", live.value("positions")}, {"recentPilots", pilots}});
}

} // namespace

void addLiveRoutes(Service &service)
{
    const QJsonObject live = service.data(QStringLiteral("live-schedules")).toObject();
    // A member whose Infinite Flight account is not linked has no board, positions or routes to see.
    const auto get = [&service, live](const QString &path, QJsonValue unlinked, LiveHandler handler) {
        service.route("GET", path, [live, unlinked, handler](Service &s, const Request &request) {
            const Account *account = s.signedIn(request);
            if (!account)
                return Reply::message(401, QStringLiteral("请先登录。"));
            if (!unlinked.isUndefined() && !linked(live, *account))
                return Reply::json(unlinked);
            return handler(s, *account, live, request);
        });
    };

    get("/api/live-schedules/authorization", QJsonValue::Undefined,
        [](Service &, const Account &a, const QJsonObject &l, const Request &) {
            return Reply::json(QJsonObject{{"state", linked(l, a) ? "eligible" : "unlinked"}});
        });
    get("/api/live-schedules", QJsonValue::Null,
        [](Service &, const Account &a, const QJsonObject &l, const Request &) { return board(a, l); });
    get("/api/live-schedules/applications", QJsonValue::Undefined,
        [](Service &, const Account &a, const QJsonObject &l, const Request &r) {
            return applications(a, l, r);
        });
    get("/api/live-schedules/flights", QJsonValue::Null,
        [](Service &, const Account &, const QJsonObject &l, const Request &) { return positions(l); });
    get("/api/live-schedules/routes", QJsonValue::Null,
        [](Service &, const Account &, const QJsonObject &l, const Request &) {
            return Reply::json(QJsonObject{{"aircraftRoutes", l.value("routes")}});
        });
}

} // namespace Sample
