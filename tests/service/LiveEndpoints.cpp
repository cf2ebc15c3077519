// The Live schedules: the link state of a member's Infinite Flight account, its start and its end, the fleet
// board of the organisations it shares, his schedule applications page by page (a reviewer's: everyone's),
// the fleet's positions and routes, and the linked account's avatar.
#include "MemberStore.h"

#include <QDateTime>
#include <QJsonArray>
#include <QSet>
#include <QUrlQuery>

#include <memory>

namespace Sample {

namespace {

using LiveHandler = std::function<Reply(Service &, const Account &, const QJsonObject &, const Request &)>;

// Who has linked an Infinite Flight account: those that share an organisation, and those whose link shares
// none. A disconnect ends a member's link for as long as the service runs.
struct Links
{
    QSet<QString> linked;
    QSet<QString> ineligible;

    static QSet<QString> names(const QJsonValue &list)
    {
        QSet<QString> set;
        for (const QJsonValue &name : list.toArray())
            set.insert(name.toString());
        return set;
    }
    QString state(const Account &account) const
    {
        if (linked.contains(account.username))
            return QStringLiteral("eligible");
        return ineligible.contains(account.username) ? QStringLiteral("ineligible")
                                                     : QStringLiteral("unlinked");
    }
};

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
    // A reviewer is listed every member's applications, a member his own.
    const bool reviewer = live.value("reviewers").toArray().contains(account.username);
    QJsonArray own;
    for (const QJsonValue &row : live.value("applications").toArray()) {
        if (reviewer || row.toObject().value("username").toString() == account.username)
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
    const auto links = std::make_shared<Links>(
        Links{Links::names(live.value("linked")), Links::names(live.value("ineligible"))});
    // A member whose Infinite Flight account is not linked has no board, positions or routes to see.
    const auto signedIn = [&service, live, links](const QByteArray &method, const QString &path,
                                                  QJsonValue unlinked, LiveHandler handler) {
        service.route(method, path, [live, links, unlinked, handler](Service &s, const Request &request) {
            const Account *account = s.signedIn(request);
            if (!account)
                return Reply::message(401, QStringLiteral("请先登录。"));
            if (!unlinked.isUndefined() && !links->linked.contains(account->username))
                return Reply::json(unlinked);
            return handler(s, *account, live, request);
        });
    };
    const auto get = [signedIn](const QString &path, QJsonValue unlinked, LiveHandler handler) {
        signedIn("GET", path, std::move(unlinked), std::move(handler));
    };

    get("/api/live-schedules/authorization", QJsonValue::Undefined,
        [links](Service &, const Account &a, const QJsonObject &, const Request &) {
            return Reply::json(QJsonObject{{"state", links->state(a)}});
        });
    // The address of the vendor's sign-in page; its callback comes back through the second host.
    signedIn(
        "POST", "/api/live-schedules/authorization-start", QJsonValue::Undefined,
        [](Service &, const Account &a, const QJsonObject &, const Request &) {
            return Reply::json(QJsonObject{
                {"url", QStringLiteral("https://api.infiniteflight.com/v2/oauth/authorize?client_id=vornalia"
                                       "&response_type=code&state=sample-")
                            + a.id}});
        });
    signedIn("POST", "/api/live-schedules/authorization-disconnect", QJsonValue::Undefined,
             [links](Service &, const Account &a, const QJsonObject &, const Request &) {
                 links->linked.remove(a.username);
                 links->ineligible.remove(a.username);
                 return Reply::json(QJsonObject{{"ok", true}});
             });
    // The linked Infinite Flight account's picture, drawn from the member's id.
    signedIn("GET", "/api/live-schedules/avatar", QJsonValue::Undefined,
             [links](Service &, const Account &a, const QJsonObject &, const Request &) {
                 if (!links->linked.contains(a.username))
                     return Reply::message(404, QStringLiteral("未连接 Infinite Flight。"));
                 return Reply::bytes(Service::avatarPicture(QStringLiteral("ifc-") + a.id), "image/png");
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
