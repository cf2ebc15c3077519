// The Live schedules: the link state of a member's Infinite Flight account, its authorisation (with the
// vendor's sign-in page, which the service plays too) and its end, the linked account's avatar, the fleet
// board of the organisations it shares, the schedule applications page by page with their review, and the
// fleet's positions and routes.
#include "MemberStore.h"

#include <QDateTime>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <QUrlQuery>
#include <QUuid>

namespace Sample {

namespace {

using LiveHandler = std::function<Reply(Service &, const Account &, const QJsonObject &, const Request &)>;

// What the Live part of the service keeps: the data file, the members who have linked their Infinite Flight
// account (and those whose link shares no organisation), the applications as they change, and the
// authorisations under way. A disconnect ends a member's link for as long as the service runs.
struct LiveState
{
    QJsonObject data;
    QSet<QString> linked;
    QSet<QString> ineligible;
    QList<QJsonObject> applications; // newest first
    QHash<QString, QString> states;  // an authorisation's state: the account it was started for
    QSet<QString> codes;             // codes the vendor's page has handed out
    int lastApplication = 0;
    int lastSchedule = 0;
};

const QString callbackAddress =
    QStringLiteral("https://live.vornalia.org/api/live-schedules/authorization-callback");

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

bool reviewer(const LiveState &live, const Account &account)
{
    return account.role != QLatin1String("member")
           && live.data.value("reviewers").toArray().contains(account.username);
}

} // namespace

QJsonObject liveBoardJson(const QJsonObject &live, const QString &username)
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
    return {{"canReview", live.value("reviewers").toArray().contains(username)},
            {"organizations", organizations},
            {"liveUpdatedAt", isoFromNow(-30)}};
}

QJsonObject livePositionsJson(const QJsonObject &live)
{
    QJsonArray pilots;
    for (const QJsonValue &value : live.value("recentPilots").toArray()) {
        QJsonObject pilot = value.toObject();
        if (pilot.contains("seenOffsetMinutes"))
            pilot.insert("seenAt", isoFromNow(pilot.take("seenOffsetMinutes").toDouble() * 60));
        pilots.append(pilot);
    }
    return {{"aircraftPositions", live.value("positions")}, {"recentPilots", pilots}};
}

namespace {

// A member sees his own applications; a reviewer sees everyone's.
Reply applications(const Account &account, const LiveState &live, const Request &request)
{
    bool number = false;
    const int page = request.query.queryItemValue("page").toInt(&number);
    if (!number || page < 1)
        return Reply::message(400, QStringLiteral("页码无效。"));
    QJsonArray shown;
    for (const QJsonObject &row : live.applications) {
        if (reviewer(live, account) || row.value("username").toString() == account.username)
            shown.append(row);
    }
    const int size = live.data.value("applicationsPerPage").toInt(4);
    QJsonArray rows;
    for (qsizetype i = qsizetype(page - 1) * size; i < shown.size() && rows.size() < size; ++i)
        rows.append(shown.at(i));
    return Reply::json(
        QJsonObject{{"applications", rows}, {"hasMore", qsizetype(page) * size < shown.size()}});
}

// The vendor's sign-in page: an Infinite Flight account name and password, then back to the organisation.
Reply signInPage(const QString &state, const QString &redirect, const QString &error = QString())
{
    const QString escapedError = error.toHtmlEscaped();
    const QString page =
        QStringLiteral(
            "<!doctype html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>Infinite Flight</title>"
            "<style>body{font-family:sans-serif;max-width:22rem;margin:3rem auto;padding:0 1rem}"
            "label,input,button{display:block;width:100%;margin:.4rem 0}input,button{padding:.5rem}"
            ".error{color:#b00020}</style></head><body><h1>Infinite Flight</h1>"
            "<p>Sign in to let Vornalia see your Live flights.</p>%1"
            "<form id=\"signin\" method=\"post\" action=\"/oauth/authorize\">"
            "<input type=\"hidden\" name=\"state\" value=\"%2\">"
            "<input type=\"hidden\" name=\"redirect_uri\" value=\"%3\">"
            "<label>Username<input id=\"username\" name=\"username\" autocomplete=\"username\"></label>"
            "<label>Password<input id=\"password\" name=\"password\" type=\"password\"></label>"
            "<button id=\"allow\" type=\"submit\">Sign in and allow</button>"
            "</form></body></html>")
            .arg(escapedError.isEmpty() ? QString()
                                        : QStringLiteral("<p class=\"error\">%1</p>").arg(escapedError),
                 state.toHtmlEscaped(), redirect.toHtmlEscaped());
    return Reply::html(page.toUtf8());
}

QJsonObject *findApplication(LiveState &live, const QString &id)
{
    for (QJsonObject &row : live.applications) {
        if (row.value("id").toString() == id)
            return &row;
    }
    return nullptr;
}

// An approval puts the official schedule on the board, with the applicant as its captain.
void addSchedule(LiveState &live, const QJsonObject &application, const QString &applicantId)
{
    QJsonArray organizations = live.data.value("organizations").toArray();
    for (qsizetype i = 0; i < organizations.size(); ++i) {
        QJsonObject organization = organizations.at(i).toObject();
        if (organization.value("name").toString() != application.value("organization").toString())
            continue;
        for (const QJsonValue &aircraft : organization.value("aircraft").toArray()) {
            if (aircraft.toObject().value("registration") != application.value("registration"))
                continue;
            QJsonArray schedules = organization.value("schedules").toArray();
            schedules.append(
                QJsonObject{{"id", QStringLiteral("sch-new-%1").arg(++live.lastSchedule)},
                            {"aircraftId", aircraft.toObject().value("id")},
                            {"status", 1},
                            {"flightType", 0},
                            {"originIcao", application.value("departure")},
                            {"destinationIcao", application.value("arrival")},
                            {"isTimeless", true},
                            {"sequence", 10 + live.lastSchedule},
                            {"crew", QJsonArray{QJsonObject{{"userId", applicantId},
                                                            {"username", application.value("username")},
                                                            {"role", 0}}}}});
            organization.insert("schedules", schedules);
            organizations.replace(i, organization);
            live.data.insert("organizations", organizations);
            return;
        }
    }
}

// The application's checks, as the service makes them; none when it is acceptable.
std::optional<Reply> refuseApplication(const LiveState &live, const Account &account, const QJsonObject &body,
                                       QJsonObject *aircraftFound)
{
    static const QRegularExpression code(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Z0-9]{1,8}")));
    const QJsonObject schedule = body.value("schedule").toObject();
    for (const QJsonValue &value : live.data.value("organizations").toArray()) {
        const QJsonObject organization = value.toObject();
        if (organization.value("id") != body.value("organizationId"))
            continue;
        for (const QJsonValue &aircraft : organization.value("aircraft").toArray()) {
            if (aircraft.toObject().value("registration") == body.value("registration"))
                *aircraftFound = aircraft.toObject();
        }
    }
    if (aircraftFound->isEmpty())
        return Reply::message(400, QStringLiteral("找不到这架飞机。"));
    // An aircraft in storage flies no schedules: the organisation does not let anyone apply for it.
    if (aircraftFound->value("storage").toBool())
        return Reply::message(403, QStringLiteral("这架飞机已封存，暂不接受排班申请。"));
    if (!code.match(schedule.value("originIcao").toString()).hasMatch()
        || !code.match(schedule.value("destinationIcao").toString()).hasMatch())
        return Reply::message(400, QStringLiteral("机场代码无效。"));
    // Infinite Flight's schedules name airports by their four-letter ICAO codes; the app takes up to eight.
    if (schedule.value("originIcao").toString().size() != 4
        || schedule.value("destinationIcao").toString().size() != 4)
        return Reply::message(400, QStringLiteral("请填写四位 ICAO 机场代码。"));
    if (!schedule.value("isTimeless").isBool() || !schedule.value("flightType").isDouble())
        return Reply::message(400, QStringLiteral("排班资料不完整。"));
    if (!schedule.value("isTimeless").toBool()) {
        const QDateTime departure =
            QDateTime::fromString(schedule.value("scheduledDepartureUtc").toString(), Qt::ISODate);
        const QDateTime arrival =
            QDateTime::fromString(schedule.value("scheduledArrivalUtc").toString(), Qt::ISODate);
        if (!departure.isValid() || !arrival.isValid() || arrival <= departure)
            return Reply::message(400, QStringLiteral("到达时间必须晚于起飞时间。"));
    }
    for (const QJsonObject &row : live.applications) {
        if (row.value("username").toString() == account.username
            && row.value("registration") == body.value("registration")
            && (row.value("status") == QLatin1String("pending")
                || row.value("status") == QLatin1String("processing")))
            return Reply::message(409, QStringLiteral("你已申请过这架飞机，请等待审核。"));
    }
    return std::nullopt;
}

Reply review(LiveState &live, const Account &account, const Account *applicant, const QString &action,
             const QJsonObject &body)
{
    if (!reviewer(live, account))
        return Reply::message(403, QStringLiteral("没有审核排班申请的权限。"));
    QJsonObject *application = findApplication(live, body.value("id").toString());
    if (!application)
        return Reply::message(404, QStringLiteral("找不到这份申请。"));
    const QString status = application->value("status").toString();
    const QString reason = body.value("reason").toString();
    if (action == QLatin1String("application-approve") || action == QLatin1String("application-reject")) {
        if (status != QLatin1String("pending"))
            return Reply::message(409, QStringLiteral("申请状态已变化，请刷新后再审核。"));
        if (action == QLatin1String("application-reject")) {
            if (reason.trimmed().isEmpty())
                return Reply::message(400, QStringLiteral("请填写拒绝原因。"));
            application->insert("status", "rejected");
            application->insert("reviewNote", reason);
            return Reply::json(QJsonObject{{"ok", true}});
        }
        application->insert("status", "approved");
        application->insert("reviewNote", reason);
        addSchedule(live, *application, applicant ? applicant->id : QString());
        return Reply::json(QJsonObject{{"ok", true}});
    }
    // Resolving what became of an approval still in processing.
    if (status != QLatin1String("processing") && status != QLatin1String("needs_review"))
        return Reply::message(409, QStringLiteral("申请状态已变化，请刷新后再核查。"));
    if (body.value("confirmed") != QJsonValue(true) || reason.trimmed().isEmpty())
        return Reply::message(400, QStringLiteral("请先核对官方排班并填写核查说明。"));
    const QString outcome = body.value("outcome").toString();
    const QString scheduleId = body.value("scheduleId").toString();
    application->insert("reviewNote", reason);
    if (outcome == QLatin1String("created")) {
        if (QUuid::fromString(scheduleId).isNull() || scheduleId.size() != 36)
            return Reply::message(400, QStringLiteral("官方排班 ID 无效。"));
        application->insert("status", "approved");
        // The service cannot see Infinite Flight's schedules here: it saves and says so.
        return Reply::json(QJsonObject{
            {"ok", true}, {"warning", QStringLiteral("已保存，官方排班 %1 待同步后显示。").arg(scheduleId)}});
    }
    if (outcome == QLatin1String("not_created")) {
        application->insert("status", "pending");
        return Reply::json(QJsonObject{{"ok", true}});
    }
    if (outcome == QLatin1String("rejected")) {
        application->insert("status", "rejected");
        return Reply::json(QJsonObject{{"ok", true}});
    }
    return Reply::message(400, QStringLiteral("核查结果无效。"));
}

} // namespace

void addLiveRoutes(Service &service)
{
    const auto live = std::make_shared<LiveState>();
    live->data = service.data(QStringLiteral("live-schedules")).toObject();
    for (const QJsonValue &name : live->data.value("linked").toArray())
        live->linked.insert(name.toString());
    for (const QJsonValue &name : live->data.value("ineligible").toArray())
        live->ineligible.insert(name.toString());
    for (const QJsonValue &row : live->data.value("applications").toArray())
        live->applications.append(row.toObject());
    live->lastApplication = int(live->applications.size()) + 20;

    // A member whose Infinite Flight account is not linked has no board, positions or routes to see.
    const auto get = [&service, live](const QString &path, QJsonValue unlinked, LiveHandler handler) {
        service.route("GET", path, [live, unlinked, handler](Service &s, const Request &request) {
            const Account *account = s.signedIn(request);
            if (!account)
                return Reply::message(401, QStringLiteral("请先登录。"));
            if (!unlinked.isUndefined() && !live->linked.contains(account->username))
                return Reply::json(unlinked);
            return handler(s, *account, live->data, request);
        });
    };

    get("/api/live-schedules/authorization", QJsonValue::Undefined,
        [live](Service &, const Account &a, const QJsonObject &, const Request &) {
            const QString state = live->linked.contains(a.username)       ? QStringLiteral("eligible")
                                  : live->ineligible.contains(a.username) ? QStringLiteral("ineligible")
                                                                          : QStringLiteral("unlinked");
            return Reply::json(QJsonObject{{"state", state}});
        });
    // The linked Infinite Flight account's picture, drawn from the member's id.
    get("/api/live-schedules/avatar", QJsonValue::Undefined,
        [live](Service &, const Account &a, const QJsonObject &, const Request &) {
            if (!live->linked.contains(a.username))
                return Reply::message(404, QStringLiteral("未连接 Infinite Flight。"));
            return Reply::bytes(Service::avatarPicture(QStringLiteral("ifc-") + a.id), "image/png");
        });
    service.route("POST", "/api/live-schedules/authorization-disconnect",
                  [live](Service &s, const Request &request) {
                      const Account *account = s.signedIn(request);
                      if (!account)
                          return Reply::message(401, QStringLiteral("请先登录。"));
                      live->linked.remove(account->username);
                      live->ineligible.remove(account->username);
                      return Reply::json(QJsonObject{{"ok", true}});
                  });
    get("/api/live-schedules", QJsonValue::Null,
        [live](Service &, const Account &a, const QJsonObject &, const Request &) {
            return Reply::json(liveBoardJson(live->data, a.username));
        });
    get("/api/live-schedules/applications", QJsonValue::Undefined,
        [live](Service &, const Account &a, const QJsonObject &, const Request &r) {
            return applications(a, *live, r);
        });
    get("/api/live-schedules/flights", QJsonValue::Null,
        [](Service &, const Account &, const QJsonObject &l, const Request &) {
            return Reply::json(livePositionsJson(l));
        });
    get("/api/live-schedules/routes", QJsonValue::Null,
        [](Service &, const Account &, const QJsonObject &l, const Request &) {
            return Reply::json(QJsonObject{{"aircraftRoutes", l.value("routes")}});
        });

    // The authorisation: the service names the vendor's page (played here, on this origin), the page sends
    // the browser to the callback on the second host, and the app replays that callback with its session.
    service.route(
        "POST", "/api/live-schedules/authorization-start", [live](Service &s, const Request &request) {
            const Account *account = s.signedIn(request);
            if (!account)
                return Reply::message(401, QStringLiteral("请先登录。"));
            const QString state = QUuid::createUuid().toString(QUuid::WithoutBraces);
            live->states.insert(state, account->id);
            QUrl page = s.origin();
            page.setPath(QStringLiteral("/oauth/authorize"));
            page.setQuery(
                QUrlQuery{{"client_id", "vornalia"}, {"state", state}, {"redirect_uri", callbackAddress}});
            return Reply::json(QJsonObject{{"url", page.toString(QUrl::FullyEncoded)}});
        });
    service.route("GET", "/oauth/authorize", [](Service &, const Request &request) {
        return signInPage(request.query.queryItemValue("state"),
                          request.query.queryItemValue("redirect_uri", QUrl::FullyDecoded));
    });
    service.route("POST", "/oauth/authorize", [live](Service &, const Request &request) {
        const QUrlQuery form(QString::fromUtf8(request.body));
        const QString state = form.queryItemValue("state", QUrl::FullyDecoded);
        const QString redirect = form.queryItemValue("redirect_uri", QUrl::FullyDecoded);
        if (redirect != callbackAddress)
            return Reply::message(400, QStringLiteral("redirect_uri is not registered"));
        if (form.queryItemValue("username").isEmpty() || form.queryItemValue("password").isEmpty())
            return signInPage(state, redirect, QStringLiteral("Enter your username and password."));
        const QString code = QUuid::createUuid().toString(QUuid::Id128);
        live->codes.insert(code);
        QUrl back(callbackAddress);
        back.setQuery(QUrlQuery{{"code", code}, {"state", state}});
        return Reply::redirect(back.toString(QUrl::FullyEncoded), 302);
    });
    // The callback links the member whose authorisation it finishes, and sends the browser on to the Live
    // page.
    service.route("GET", "/api/live-schedules/authorization-callback",
                  [live](Service &s, const Request &request) {
                      const Account *account = s.signedIn(request);
                      if (!account)
                          return Reply::message(401, QStringLiteral("请先登录。"));
                      if (!request.query.hasQueryItem("code") || !request.query.hasQueryItem("state"))
                          return Reply::message(400, QStringLiteral("授权参数无效。"));
                      const QString code = request.query.queryItemValue("code");
                      const QString state = request.query.queryItemValue("state");
                      if (live->codes.remove(code) && live->states.value(state) == account->id) {
                          live->states.remove(state);
                          live->linked.insert(account->username);
                      }
                      return Reply::redirect(QStringLiteral("https://live.vornalia.org/live?linked=1"), 303);
                  });

    service.route("POST", "/api/live-schedules/apply", [live](Service &s, const Request &request) {
        const Account *account = s.signedIn(request);
        if (!account)
            return Reply::message(401, QStringLiteral("请先登录。"));
        if (!live->linked.contains(account->username))
            return Reply::message(403, QStringLiteral("请先连接 Infinite Flight 账号。"));
        const QJsonObject body = request.json().toObject();
        QJsonObject aircraft;
        if (const std::optional<Reply> refusal = refuseApplication(*live, *account, body, &aircraft))
            return *refusal;
        const QJsonObject schedule = body.value("schedule").toObject();
        const QString id = QStringLiteral("app-%1").arg(++live->lastApplication);
        live->applications.prepend(QJsonObject{{"id", id},
                                               {"username", account->username},
                                               {"organization", body.value("organization")},
                                               {"registration", body.value("registration")},
                                               {"departure", schedule.value("originIcao")},
                                               {"arrival", schedule.value("destinationIcao")},
                                               {"status", "pending"},
                                               {"reviewNote", ""}});
        return Reply::json(QJsonObject{{"ok", true}, {"id", id}});
    });
    for (const char *action : {"application-approve", "application-reject", "application-resolve"}) {
        const QString name = QString::fromLatin1(action);
        service.route(
            "POST", "/api/live-schedules/" + name, [live, name](Service &s, const Request &request) {
                const Account *account = s.signedIn(request);
                if (!account)
                    return Reply::message(401, QStringLiteral("请先登录。"));
                const QJsonObject body = request.json().toObject();
                const QJsonObject *application = findApplication(*live, body.value("id").toString());
                const Account *applicant =
                    application ? s.accountNamed(application->value("username").toString()) : nullptr;
                return review(*live, *account, applicant, name, body);
            });
    }
}

} // namespace Sample
