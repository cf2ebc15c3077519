// The member's own records: reports, events and attendance, leaderboard, routes, notices, flights, live map,
// and the password and profile forms.
#include "MemberStore.h"
#include "Strings.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QImage>
#include <QJsonArray>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace Sample {

namespace {

using MemberHandler = std::function<Reply(MemberStore &, Service &, Account &, const Request &)>;

constexpr int maxEvidence = 6;
constexpr qsizetype maxPictureBytes = 2'097'152;

// Every member route needs a session; the handlers get the signed-in account.
Service::Handler withAccount(const std::shared_ptr<MemberStore> &store, MemberHandler handler)
{
    return [store, handler = std::move(handler)](Service &service, const Request &request) {
        Account *account = service.signedIn(request);
        if (!account)
            return Reply::message(401, QStringLiteral("请先登录。"));
        return handler(*store, service, *account, request);
    };
}

bool isStaff(const Account &account)
{
    return account.role == QLatin1String("admin") || account.role == QLatin1String("developer");
}

bool isAirportCode(const QString &code)
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(u"[A-Z0-9]{4}"));
    return pattern.match(code).hasMatch();
}

bool isPicture(const FormPart &part)
{
    static const QList<QByteArray> types{"image/jpeg", "image/png", "image/webp"};
    return types.contains(part.contentType) && !part.data.isEmpty() && part.data.size() <= maxPictureBytes;
}

QString siteCallsign(const Account &account)
{
    const QString callsign = account.profile.value("callsign").toString();
    return callsign.isEmpty() ? QString() : QStringLiteral("B-%1CA").arg(callsign);
}

// A stand-in for an in-sim screenshot: sky, ground and an aircraft, in colours taken from the picture's id.
QByteArray evidencePicture(const QString &id)
{
    const QByteArray hash = QCryptographicHash::hash(id.toUtf8(), QCryptographicHash::Sha1);
    QImage picture(480, 270, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 170);
    sky.setColorAt(0,
                   QColor(20 + quint8(hash[0]) % 40, 70 + quint8(hash[1]) % 60, 150 + quint8(hash[2]) % 80));
    sky.setColorAt(1, QColor(190, 215, 240));
    painter.fillRect(QRect(0, 0, 480, 170), sky);
    painter.fillRect(QRect(0, 170, 480, 100), QColor(70 + quint8(hash[3]) % 50, 110, 70));
    painter.fillRect(QRect(0, 200, 480, 18), QColor(60, 60, 64));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(245, 245, 245));
    const double x = 120 + quint8(hash[4]) % 200;
    QPainterPath body;
    body.addRoundedRect(QRectF(x - 90, 120, 180, 22), 11, 11);
    painter.drawPath(body);
    painter.drawPolygon(QPolygonF{{x - 10, 131}, {x + 30, 131}, {x - 30, 90}, {x - 45, 90}});
    painter.drawPolygon(QPolygonF{{x - 80, 125}, {x - 62, 125}, {x - 84, 95}, {x - 94, 95}});
    painter.setBrush(QColor(0, 0, 0, 140));
    painter.drawRect(QRect(0, 246, 480, 24)); // the simulator's bottom bar
    painter.end();
    return encodedPicture(picture);
}

QJsonObject evidenceJson(const QString &reportId, const StoredEvidence &evidence)
{
    return {{"id", evidence.id},
            {"url", QStringLiteral("/api/pireps/%1/evidence/%2").arg(reportId, evidence.id)},
            {"uploadedAt", evidence.uploadedAt}};
}

// The report of a path, when the signed-in account may see it: his own, or any for staff.
QJsonObject *visiblePirep(MemberStore &store, const Account &account, const QString &id, QString *owner)
{
    QJsonObject *report = store.report(id, owner);
    return report && (*owner == account.username || isStaff(account)) ? report : nullptr;
}

Reply inbox(MemberStore &store, const Account &account)
{
    const QList<QJsonObject> *notices = store.notices(account.username);
    if (!notices)
        return Reply::json(QJsonValue::Null);
    QJsonArray rows;
    int unread = 0;
    for (const QJsonObject &notice : *notices) {
        rows.append(notice);
        unread += notice.contains("readAt") ? 0 : 1;
    }
    return Reply::json(QJsonObject{{"notifications", rows}, {"unreadCount", unread}});
}

Reply markRead(MemberStore &store, const Account &account, const Request &request)
{
    const QJsonObject body = request.json().toObject();
    const bool all = body.value("all").toBool();
    QStringList ids;
    if (!all) {
        if (!body.value("ids").isArray())
            return Reply::message(400, QStringLiteral("请选择要标为已读的通知。"));
        for (const QJsonValue &id : body.value("ids").toArray()) {
            if (!id.isString())
                return Reply::message(400, QStringLiteral("通知编号无效。"));
            ids.append(id.toString());
        }
    }
    if (QList<QJsonObject> *notices = store.notices(account.username)) {
        const double now = double(MemberStore::nowMs());
        for (QJsonObject &notice : *notices) {
            if (!notice.contains("readAt") && (all || ids.contains(notice.value("id").toString())))
                notice.insert("readAt", now);
        }
    }
    return Reply::json(QJsonObject{{"ok", true}});
}

Reply reports(MemberStore &store, const Account &account)
{
    QJsonArray rows;
    for (const QJsonObject &report : store.reports(account.username))
        rows.append(store.reportJson(report));
    QJsonObject answer{{"pireps", rows}};
    if (store.hasMemberRecord(account.username))
        answer.insert("summary", store.summary(account.username));
    return Reply::json(answer);
}

Reply submitPirep(MemberStore &store, Account &account, const Request &request)
{
    if (account.role != QLatin1String("member"))
        return Reply::message(403, QStringLiteral("只有成员可以提交飞行报告。"));
    const std::optional<QList<FormPart>> parts = parseFormData(request);
    if (!parts)
        return Reply::message(400, QStringLiteral("请求格式无效。"));
    QHash<QString, QString> fields;
    QList<FormPart> files;
    for (const FormPart &part : *parts) {
        if (part.name == QLatin1String("files"))
            files.append(part);
        else if (part.filename.isEmpty())
            fields.insert(part.name, QString::fromUtf8(part.data));
    }

    const QString departure = fields.value("departureCode");
    const QString arrival = fields.value("arrivalCode");
    if (!isAirportCode(departure) || !isAirportCode(arrival))
        return Reply::message(400, QStringLiteral("请填写有效的四位 ICAO 机场代码。"));
    const QString aircraft = fields.value("aircraft").trimmed();
    const QString livery = fields.value("livery").trimmed();
    if (aircraft.isEmpty() || livery.isEmpty())
        return Reply::message(400, QStringLiteral("请填写机型和涂装。"));
    bool hoursOk = false, minutesOk = false, landingsOk = false;
    const int hours = fields.value("hours").toInt(&hoursOk);
    const int minutes = fields.value("minutes").toInt(&minutesOk);
    if (!hoursOk || !minutesOk || hours < 0 || hours > 99 || minutes < 0 || minutes > 59
        || hours * 60 + minutes <= 0)
        return Reply::message(400, QStringLiteral("请填写有效飞行时间，分钟为 0–59，总时长大于零。"));
    const int landings = fields.value("landings").toInt(&landingsOk);
    if (!landingsOk || landings < 1 || landings > 99)
        return Reply::message(400, QStringLiteral("降落次数需为 1–99 的整数。"));
    const QString note = fields.value("submitNote");
    if (Text::perceivedLength(note) > 500)
        return Reply::message(400, QStringLiteral("补充说明最多 500 字。"));
    static const QHash<QString, double> multipliers{{QStringLiteral("1"), 100},
                                                    {QStringLiteral("1.25"), 125},
                                                    {QStringLiteral("1.5"), 150},
                                                    {QStringLiteral("1.25,1.5"), 187.5}};
    const QString multiplier = fields.value("multiplier", QStringLiteral("1"));
    if (!multipliers.contains(multiplier))
        return Reply::message(400, QStringLiteral("倍数选项无效。"));
    if (files.size() > maxEvidence)
        return Reply::message(400, QStringLiteral("每次最多上传 6 张截图。"));
    for (const FormPart &file : std::as_const(files)) {
        if (!isPicture(file))
            return Reply::message(400, QStringLiteral("请选择 JPG、PNG 或 WebP 图片，每张不超过 2 MB。"));
    }

    // A flight the member's Infinite Flight logbook knows needs no further proof; any other does.
    QJsonObject source;
    const QString sourceId = fields.value("sourceFlightId");
    for (const QJsonValue &flight : store.recentFlights(account.username)) {
        if (!sourceId.isEmpty() && flight["id"].toString() == sourceId)
            source = flight.toObject();
    }
    const bool routeFound = !source.isEmpty() && source.value("origin").toString() == departure
                            && source.value("destination").toString() == arrival;
    if (!routeFound && (files.isEmpty() || note.trimmed().isEmpty()))
        return Reply::message(
            422, QStringLiteral("系统没有找到对应的 Infinite Flight 航班，请上传飞行截图并填写补充说明。"));

    const QString id = store.nextPirepId();
    const QString uploaded = fields.value("flightCallsign").trimmed();
    const QString actual = source.value("callsign").toString();
    QJsonObject review;
    if (!uploaded.isEmpty())
        review.insert("uploaded", uploaded);
    if (!actual.isEmpty())
        review.insert("actual", actual);
    if (const QString site = siteCallsign(account); !site.isEmpty())
        review.insert("site", site);
    QString callsignCheck = QStringLiteral("unknown");
    if (!uploaded.isEmpty() && !actual.isEmpty())
        callsignCheck = uploaded == actual ? QStringLiteral("match") : QStringLiteral("mismatch");
    else
        review.insert("note", QStringLiteral("未找到对应的 Infinite Flight 航班，无法比对呼号。"));

    QJsonObject report{{"id", id},
                       {"departureCode", departure},
                       {"arrivalCode", arrival},
                       {"aircraft", aircraft},
                       {"livery", livery},
                       {"durationMinutes", hours * 60 + minutes},
                       {"landings", landings},
                       {"status", "pending"},
                       {"multiplierPercent", multipliers.value(multiplier)},
                       {"submittedAt", MemberStore::nowSeconds()},
                       {"ifRouteCheck", routeFound ? "found" : "not_found"},
                       {"ifCallsignCheck", callsignCheck},
                       {"callsignReview", review},
                       {"applicantUsername", account.username}};
    if (!uploaded.isEmpty())
        report.insert("flightCallsign", uploaded);
    if (!note.isEmpty())
        report.insert("submitNote", note);
    store.reports(account.username).prepend(report);
    for (const FormPart &file : std::as_const(files))
        store.addEvidence(id, file.data, file.contentType);
    store.addNotice(account.username, {{"kind", "pirep_submitted"},
                                       {"entityId", id},
                                       {"occurredAt", double(MemberStore::nowMs())},
                                       {"departure", departure},
                                       {"arrival", arrival},
                                       {"status", "pending"}});
    // A flight back to the field it left is a local one, which the organisation confirms by hand.
    return Reply::json(QJsonObject{{"ok", true}, {"local", departure == arrival}, {"id", id}});
}

Reply addEvidence(MemberStore &store, const Account &account, const Request &request)
{
    QString owner;
    const QString id = request.parameters.value("id");
    const QJsonObject *report = store.report(id, &owner);
    if (!report || owner != account.username)
        return Reply::message(404, QStringLiteral("未找到该飞行报告。"));
    if (report->value("status").toString() != QLatin1String("pending"))
        return Reply::message(409, QStringLiteral("该报告已审核完成，不能再补充截图。"));
    const std::optional<QList<FormPart>> parts = parseFormData(request);
    if (!parts)
        return Reply::message(400, QStringLiteral("请求格式无效。"));
    QList<FormPart> files;
    for (const FormPart &part : *parts) {
        if (part.name == QLatin1String("files"))
            files.append(part);
    }
    if (files.isEmpty())
        return Reply::message(400, QStringLiteral("请选择要上传的截图。"));
    for (const FormPart &file : std::as_const(files)) {
        if (!isPicture(file))
            return Reply::message(400, QStringLiteral("请选择 JPG、PNG 或 WebP 图片，每张不超过 2 MB。"));
    }
    if (store.evidence(id).size() + files.size() > maxEvidence)
        return Reply::message(
            400, QStringLiteral("每份报告最多 6 张截图，已上传 %1 张。").arg(store.evidence(id).size()));
    for (const FormPart &file : std::as_const(files))
        store.addEvidence(id, file.data, file.contentType);
    return Reply::json(QJsonObject{{"ok", true}});
}

Reply multiplierOptions(MemberStore &store, const Account &account, const Request &request)
{
    const QString departure =
        request.query.queryItemValue("departure", QUrl::FullyDecoded).trimmed().toUpper();
    const QString arrival = request.query.queryItemValue("arrival", QUrl::FullyDecoded).trimmed().toUpper();
    // Without two airports there is nothing to check.
    if (!isAirportCode(departure) || !isAirportCode(arrival))
        return Reply::json(QJsonValue::Null);

    QJsonObject organization{{"available", store.organizationRoute(departure, arrival)}};
    if (!store.organizationRoute(departure, arrival))
        organization.insert("message", QStringLiteral("该航线不在本月联盟航线清单中。"));

    QString eventMessage = QStringLiteral("当前没有与该航线匹配的活动。");
    bool eventAvailable = false;
    for (const QJsonObject &event : store.events()) {
        if (event.value("departureCode").toString() != departure
            || event.value("arrivalCode").toString() != arrival)
            continue;
        const QString id = event.value("id").toString();
        bool attending = false;
        for (const EventAnswer &given : store.answers(id))
            attending |= given.username == account.username && given.response == QLatin1String("attending");
        if (!store.eventInPirepWindow(event, MemberStore::nowSeconds())) {
            eventMessage = QStringLiteral("该航线的活动不在报告时间窗口内。");
        } else if (!attending) {
            eventMessage = QStringLiteral("你没有报名参加该航线的活动。");
        } else {
            eventAvailable = true;
            break;
        }
    }
    QJsonObject event{{"available", eventAvailable}};
    if (!eventAvailable)
        event.insert("message", eventMessage);
    return Reply::json(QJsonObject{{"organization", organization}, {"event", event}});
}

Reply upcomingEvents(MemberStore &store, const Request &request)
{
    // The claim window keeps events listed while their reports may still be filed; otherwise only those
    // still to come.
    const bool claim = request.query.queryItemValue("window") == QLatin1String("claim");
    const double now = MemberStore::nowSeconds();
    QJsonArray rows;
    for (const QJsonObject &event : store.events()) {
        const double start = double(
            QDateTime::fromString(event.value("eventAtUtc").toString(), Qt::ISODate).toSecsSinceEpoch());
        const double length =
            (event.value("estimatedHours").toDouble() * 60 + event.value("estimatedMinutes").toDouble()) * 60;
        if (claim ? now <= start + length + 24 * 3600 : now < start)
            rows.append(event);
    }
    return Reply::json(QJsonObject{{"events", rows}});
}

Reply ownAnswers(MemberStore &store, const Account &account)
{
    QJsonArray rows;
    for (const QString &eventId : store.answeredEvents()) {
        for (const EventAnswer &given : store.answers(eventId)) {
            if (given.username == account.username)
                rows.append(QJsonObject{{"eventId", eventId}, {"response", given.response}});
        }
    }
    return Reply::json(QJsonObject{{"responses", rows}});
}

Reply answerEvent(MemberStore &store, const Account &account, const Request &request)
{
    if (account.role != QLatin1String("member"))
        return Reply::message(403, QStringLiteral("只有成员可以报名参加活动。"));
    const QJsonObject body = request.json().toObject();
    const QString eventId = body.value("eventId").toString();
    const QString response = body.value("response").toString();
    static const QStringList choices{QStringLiteral("attending"), QStringLiteral("interested"),
                                     QStringLiteral("declined")};
    if (!choices.contains(response))
        return Reply::message(400, QStringLiteral("参加意向无效，只能选择参加、感兴趣或不参加。"));
    const QJsonObject *event = store.event(eventId);
    if (!event)
        return Reply::message(404, QStringLiteral("活动不存在或已结束。"));
    const QDateTime start = QDateTime::fromString(event->value("eventAtUtc").toString(), Qt::ISODate);
    if (double(start.toSecsSinceEpoch()) <= MemberStore::nowSeconds())
        return Reply::message(409, QStringLiteral("活动已经开始，不能再更改参加意向。"));
    store.answer(eventId, account.username, response);
    return Reply::json(QJsonObject{{"ok", true}});
}

Reply allAnswers(MemberStore &store, const Account &account, const Request &request)
{
    if (!isStaff(account))
        return Reply::message(403, QStringLiteral("只有管理员可以查看活动报名情况。"));
    const QString eventId = request.query.queryItemValue("eventId", QUrl::FullyDecoded);
    if (eventId.isEmpty())
        return Reply::message(400, QStringLiteral("缺少活动编号。"));
    if (!store.event(eventId) && !store.answeredEvents().contains(eventId))
        return Reply::message(404, QStringLiteral("活动不存在或已结束。"));
    QJsonArray rows;
    for (const EventAnswer &given : store.answers(eventId))
        rows.append(QJsonObject{{"username", given.username}, {"response", given.response}});
    return Reply::json(QJsonObject{{"responses", rows}});
}

Reply profileSummary(MemberStore &store, const Account &account)
{
    if (!store.hasMemberRecord(account.username))
        return Reply::json(QJsonValue::Null);
    // This endpoint of the site speaks milliseconds, unlike the report list.
    QJsonObject summary{
        {"approvedMinutes", store.summary(account.username).value("approvedDurationMinutes")}};
    if (const auto joined = store.joinedAt(account.username))
        summary.insert("joinedAt", *joined * 1000);
    double last = 0;
    for (const QJsonObject &report : store.reports(account.username))
        last = std::max(last, report.value("submittedAt").toDouble());
    if (last > 0)
        summary.insert("lastPirepAt", last * 1000);
    return Reply::json(summary);
}

Reply changePassword(Account &account, const Request &request)
{
    const QJsonObject body = request.json().toObject();
    const QString current = body.value("currentPassword").toString();
    const QString next = body.value("newPassword").toString();
    const QString confirm = body.value("confirmPassword").toString();
    if (current.isEmpty() || next.isEmpty() || confirm.isEmpty())
        return Reply::message(400, QStringLiteral("请填写当前密码和新密码。"));
    if (next != confirm)
        return Reply::message(400, QStringLiteral("两次输入的新密码不一致。"));
    if (next.size() < 8)
        return Reply::message(400, QStringLiteral("新密码至少需要 8 位。"));
    if (current != account.password)
        return Reply::message(400, QStringLiteral("当前密码不正确。"));
    if (next == current)
        return Reply::message(400, QStringLiteral("新密码不能与当前密码相同。"));
    account.password = next;
    account.mustChangePassword = false;
    return Reply::json(QJsonObject{{"ok", true}});
}

// The set-up is done once the organisation has what it needs: a WeChat name, a contact address, an avatar.
void finishSetupWhenComplete(Account &account)
{
    if (!account.profile.value("wechatName").toString().isEmpty()
        && !account.profile.value("contactEmail").toString().isEmpty()
        && account.profile.value("hasAvatar").toBool())
        account.needsProfileSetup = false;
}

Reply saveProfile(Service &service, Account &account, const Request &request)
{
    const QJsonObject body = request.json().toObject();
    const QString wechat = body.value("wechatName").toString().trimmed();
    const QString discord = body.value("discordUsername").toString().trimmed();
    const QString email = body.value("contactEmail").toString().trimmed();
    const QString callsign = body.value("callsign").toString().trimmed();
    if (wechat.size() > 32)
        return Reply::message(400, QStringLiteral("微信昵称最多 32 个字。"));
    if (discord.size() > 40)
        return Reply::message(400, QStringLiteral("Discord 用户名最多 40 个字符。"));
    static const QRegularExpression emailPattern(
        QRegularExpression::anchoredPattern(u"[^@\\s]+@[^@\\s]+\\.[^@\\s]+"));
    if (!email.isEmpty() && !emailPattern.match(email).hasMatch())
        return Reply::message(400, QStringLiteral("联系邮箱格式不正确。"));
    static const QRegularExpression callsignPattern(QRegularExpression::anchoredPattern(u"[0-9]{1,4}"));
    if (!callsign.isEmpty() && !callsignPattern.match(callsign).hasMatch())
        return Reply::message(400, QStringLiteral("呼号只能是 1–4 位数字。"));
    for (const Account &other : service.accounts()) {
        if (other.id != account.id && !callsign.isEmpty()
            && other.profile.value("callsign").toString() == callsign)
            return Reply::message(409, QStringLiteral("呼号 %1 已被其他成员使用。").arg(callsign));
    }

    account.profile.insert("wechatName", wechat);
    account.profile.insert("contactEmail", email);
    account.profile.insert("callsign", callsign);
    if (discord.isEmpty())
        account.profile.remove("discordUsername");
    else
        account.profile.insert("discordUsername", discord);
    finishSetupWhenComplete(account);
    return Reply::json(QJsonObject{{"ok", true}});
}

// The avatar upload of the profile form: one picture in the part "avatar", at most 512 KiB.
Reply saveAvatar(Account &account, const Request &request)
{
    const std::optional<QList<FormPart>> parts = parseFormData(request);
    if (!parts)
        return Reply::message(400, QStringLiteral("请求格式无效。"));
    for (const FormPart &part : *parts) {
        if (part.name != QLatin1String("avatar"))
            continue;
        if (!isPicture(part) || part.data.size() > 524'288)
            return Reply::message(400, QStringLiteral("请选择不超过 512 KB 的 JPG、PNG 或 WebP 图片。"));
        account.profile.insert("hasAvatar", true);
        account.avatar = part.data;
        account.avatarType = part.contentType;
        finishSetupWhenComplete(account);
        return Reply::json(QJsonObject{{"ok", true}});
    }
    return Reply::message(400, QStringLiteral("请选择头像图片。"));
}

} // namespace

void Service::addMemberRoutes()
{
    const auto store = std::make_shared<MemberStore>(*this);
    const auto get = [this, &store](const QString &path, MemberHandler handler) {
        route("GET", path, withAccount(store, std::move(handler)));
    };
    const auto post = [this, &store](const QString &path, MemberHandler handler) {
        route("POST", path, withAccount(store, std::move(handler)));
    };

    // Notices.
    get("/api/notifications",
        [](MemberStore &s, Service &, Account &a, const Request &) { return inbox(s, a); });
    post("/api/notifications/read",
         [](MemberStore &s, Service &, Account &a, const Request &r) { return markRead(s, a, r); });

    // Reports and their evidence.
    get("/api/pireps", [](MemberStore &s, Service &, Account &a, const Request &) { return reports(s, a); });
    post("/api/pireps",
         [](MemberStore &s, Service &, Account &a, const Request &r) { return submitPirep(s, a, r); });
    get("/api/pireps/multiplier-options",
        [](MemberStore &s, Service &, Account &a, const Request &r) { return multiplierOptions(s, a, r); });
    get("/api/pireps/{id}/evidence", [](MemberStore &s, Service &, Account &a, const Request &r) {
        QString owner;
        const QString id = r.parameters.value("id");
        if (!visiblePirep(s, a, id, &owner))
            return Reply::message(404, QStringLiteral("未找到该飞行报告。"));
        QJsonArray files;
        for (const StoredEvidence &evidence : s.evidence(id))
            files.append(evidenceJson(id, evidence));
        return Reply::json(QJsonObject{{"files", files}});
    });
    post("/api/pireps/{id}/evidence",
         [](MemberStore &s, Service &, Account &a, const Request &r) { return addEvidence(s, a, r); });
    get("/api/pireps/{id}/evidence/{file}", [](MemberStore &s, Service &, Account &a, const Request &r) {
        QString owner;
        const QString id = r.parameters.value("id");
        if (visiblePirep(s, a, id, &owner)) {
            for (StoredEvidence &evidence : s.evidence(id)) {
                if (evidence.id != r.parameters.value("file"))
                    continue;
                if (evidence.data.isEmpty())
                    evidence.data = evidencePicture(evidence.id);
                return Reply::bytes(evidence.data, evidence.mimeType);
            }
        }
        return Reply::message(404, QStringLiteral("未找到该截图。"));
    });

    // Events and attendance.
    get("/api/events/upcoming",
        [](MemberStore &s, Service &, Account &, const Request &r) { return upcomingEvents(s, r); });
    get("/api/member/event-responses",
        [](MemberStore &s, Service &, Account &a, const Request &) { return ownAnswers(s, a); });
    post("/api/member/event-responses",
         [](MemberStore &s, Service &, Account &a, const Request &r) { return answerEvent(s, a, r); });
    get("/api/admin/event-responses",
        [](MemberStore &s, Service &, Account &a, const Request &r) { return allAnswers(s, a, r); });

    addReviewRoutes(*this, store);
    addLiveRoutes(*this);

    // Leaderboard and routes.
    get("/api/member/pirep-leaderboard", [](MemberStore &s, Service &, Account &, const Request &r) {
        return Reply::json(s.leaderboard(r.query.queryItemValue("period") == QLatin1String("recent")));
    });
    get("/api/member/routes", [](MemberStore &s, Service &, Account &a, const Request &) {
        return Reply::json(QJsonObject{{"routes", s.routes(a.username)}});
    });

    // Infinite Flight and the live map. An account without a linked Infinite Flight account has no
    // statistics and no live map.
    get("/api/infinite-flight/me", [](MemberStore &s, Service &, Account &a, const Request &) {
        const auto statistics = s.statistics(a.username);
        return Reply::json(statistics ? QJsonValue(*statistics) : QJsonValue(QJsonValue::Null));
    });
    get("/api/infinite-flight/me/flights", [](MemberStore &s, Service &, Account &a, const Request &) {
        return Reply::json(QJsonObject{{"flights", s.recentFlights(a.username)}});
    });
    get("/api/infinite-flight/aircraft", [](MemberStore &s, Service &, Account &, const Request &) {
        return Reply::json(QJsonObject{{"aircraft", s.aircraftNames()}});
    });
    get("/api/infinite-flight/live", [](MemberStore &s, Service &service, Account &a, const Request &r) {
        if (!s.statistics(a.username))
            return Reply::json(QJsonValue::Null);
        const bool saved = r.query.queryItemValue("saved") == QLatin1String("1");
        if (!saved && service.liveSnapshotFailing())
            return Reply::message(503, QStringLiteral("实时航班数据暂时不可用。"));
        return Reply::json(s.liveSnapshot(a.username, saved));
    });
    get("/api/live-map/plan", [](MemberStore &s, Service &, Account &, const Request &r) {
        const QString sessionId = r.query.queryItemValue("sessionId", QUrl::FullyDecoded);
        const QString flightId = r.query.queryItemValue("flightId", QUrl::FullyDecoded);
        if (sessionId.isEmpty() || flightId.isEmpty())
            return Reply::message(400, QStringLiteral("缺少航班参数。"));
        const auto plan = s.plan(sessionId, flightId);
        return Reply::json(plan ? QJsonValue(*plan) : QJsonValue(QJsonValue::Null));
    });

    // The account page and the first-login forms.
    get("/api/profile/summary",
        [](MemberStore &s, Service &, Account &a, const Request &) { return profileSummary(s, a); });
    post("/api/account/password",
         [](MemberStore &, Service &, Account &a, const Request &r) { return changePassword(a, r); });
    post("/api/profile", [](MemberStore &, Service &service, Account &a, const Request &r) {
        return saveProfile(service, a, r);
    });
    post("/api/profile/avatar",
         [](MemberStore &, Service &, Account &a, const Request &r) { return saveAvatar(a, r); });
}

} // namespace Sample
