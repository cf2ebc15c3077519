// The staff's review workbench: the list of every report with or without the Infinite Flight checks, a
// report's history, and the decisions, holds, multipliers and deletions that change it.
#include "MemberStore.h"

#include <QJsonArray>
#include <QUrl>

#include <cmath>

namespace Sample {

namespace {

using StaffHandler = std::function<Reply(MemberStore &, Account &, const Request &)>;

bool isStaffRole(const Account &account)
{
    return account.role == QLatin1String("admin") || account.role == QLatin1String("developer");
}

QString reviewerName(const Account &account)
{
    return account.name.isEmpty() ? account.username : account.name;
}

void record(MemberStore &store, const QString &id, const Account &account, const QString &kind,
            const QJsonObject &report)
{
    QJsonObject step{{"kind", kind}, {"at", MemberStore::nowSeconds()}, {"actor", reviewerName(account)}};
    for (const char *field : {"status", "rejectionReason", "multiplierPercent"}) {
        static const QHash<QString, QString> keys{
            {"status", "toStatus"}, {"rejectionReason", "toReason"}, {"multiplierPercent", "toPercent"}};
        if (report.contains(QLatin1String(field)))
            step.insert(keys.value(QLatin1String(field)), report.value(QLatin1String(field)));
    }
    store.history(id).append(step);
}

void clearHold(QJsonObject &report)
{
    for (const char *field : {"heldAt", "heldByUsername", "heldByName", "holdNote"})
        report.remove(QLatin1String(field));
}

Reply list(MemberStore &store, const Request &request)
{
    // "checks=0" spares the service its Infinite Flight look-ups: the queue needs no verdicts.
    const bool checks = request.query.queryItemValue("checks") != QLatin1String("0");
    QJsonArray rows;
    for (QJsonObject report : store.allPireps()) {
        if (!checks) {
            for (const char *field : {"ifRouteCheck", "ifCallsignCheck", "callsignReview"})
                report.remove(QLatin1String(field));
        }
        rows.append(report);
    }
    return Reply::json(QJsonObject{{"pireps", rows}});
}

Reply review(MemberStore &store, const Account &account, const QString &id, QJsonObject &report,
             const QJsonObject &body)
{
    const QString decision = body.value("decision").toString();
    if (decision != QLatin1String("approved") && decision != QLatin1String("rejected"))
        return Reply::message(400, QStringLiteral("审核结果无效。"));
    const QString reason = body.value("reason").toString();
    if (decision == QLatin1String("rejected") && reason.trimmed().isEmpty())
        return Reply::message(400, QStringLiteral("请填写拒绝原因。"));
    const bool pending = report.value("status").toString() == QLatin1String("pending");
    if (body.value("amend").toBool() == pending)
        return Reply::message(409, QStringLiteral("该报告的状态已变化，请刷新后重试。"));
    // Two reviewers on one report: only the one who saw the latest review may change it.
    if (report.contains("reviewedAt")) {
        const QJsonValue expected = body.value("expectedReviewedAt");
        if (!expected.isDouble()
            || qint64(expected.toDouble()) != qint64(std::trunc(report.value("reviewedAt").toDouble())))
            return Reply::message(409, QStringLiteral("该报告已被其他管理员审核，请刷新后重试。"));
    }
    report.insert("status", decision);
    report.insert("reviewedAt", MemberStore::nowSeconds());
    report.insert("reviewedByUsername", account.username);
    report.insert("reviewerName", reviewerName(account));
    if (decision == QLatin1String("rejected"))
        report.insert("rejectionReason", reason);
    else
        report.remove("rejectionReason");
    clearHold(report);
    record(store, id, account, pending ? QStringLiteral("审核") : QStringLiteral("修改审核"), report);
    return Reply::json(QJsonObject{{"ok", true}});
}

Reply hold(MemberStore &store, const Account &account, const QString &id, QJsonObject &report,
           const QJsonObject &body)
{
    if (report.value("status").toString() != QLatin1String("pending"))
        return Reply::message(409, QStringLiteral("只有待审核的报告可以问询。"));
    if (!body.value("hold").isBool())
        return Reply::message(400, QStringLiteral("请求格式无效。"));
    if (body.value("hold").toBool()) {
        const QString note = body.value("note").toString();
        if (note.trimmed().isEmpty())
            return Reply::message(400, QStringLiteral("请填写需要成员补充的内容。"));
        report.insert("heldAt", MemberStore::nowSeconds());
        report.insert("heldByUsername", account.username);
        report.insert("heldByName", reviewerName(account));
        report.insert("holdNote", note);
        record(store, id, account, QStringLiteral("问询"), {{"rejectionReason", note}});
    } else {
        clearHold(report);
        record(store, id, account, QStringLiteral("撤回问询"), {{"status", "pending"}});
    }
    return Reply::json(QJsonObject{{"ok", true}});
}

Reply multiplier(MemberStore &store, const Account &account, const QString &id, QJsonObject &report,
                 const QJsonObject &body)
{
    const double percent = body.value("percent").toDouble(-1);
    if (!body.value("percent").isDouble() || percent < 100 || percent > 300)
        return Reply::message(400, QStringLiteral("倍数无效。"));
    report.insert("multiplierPercent", percent);
    record(store, id, account, QStringLiteral("修改倍数"), {{"multiplierPercent", percent}});
    return Reply::json(QJsonObject{{"ok", true}});
}

} // namespace

void addReviewRoutes(Service &service, const std::shared_ptr<MemberStore> &store)
{
    // Every route needs a staff session; members get 403 like the real site.
    const auto staff = [store](StaffHandler handler) -> Service::Handler {
        return [store, handler = std::move(handler)](Service &service, const Request &request) {
            Account *account = service.signedIn(request);
            if (!account)
                return Reply::message(401, QStringLiteral("请先登录。"));
            if (!isStaffRole(*account))
                return Reply::message(403, QStringLiteral("只有管理员可以审核飞行报告。"));
            return handler(*store, *account, request);
        };
    };
    using Action =
        Reply (*)(MemberStore &, const Account &, const QString &, QJsonObject &, const QJsonObject &);
    const auto action = [&](const QString &segment, Action act) {
        service.route("POST", QStringLiteral("/api/admin/pireps/{id}/") + segment,
                      staff([act](MemberStore &s, Account &a, const Request &r) {
                          const QString id = QUrl::fromPercentEncoding(r.parameters.value("id").toUtf8());
                          QJsonObject *report = s.report(id);
                          if (!report)
                              return Reply::message(404, QStringLiteral("未找到该飞行报告。"));
                          const QJsonValue body = r.json();
                          if (!body.isObject())
                              return Reply::message(400, QStringLiteral("请求格式无效。"));
                          return act(s, a, id, *report, body.toObject());
                      }));
    };

    service.route("GET", "/api/admin/pireps",
                  staff([](MemberStore &s, Account &, const Request &r) { return list(s, r); }));
    service.route("GET", "/api/admin/pireps/{id}/history",
                  staff([](MemberStore &s, Account &, const Request &r) {
                      const QString id = QUrl::fromPercentEncoding(r.parameters.value("id").toUtf8());
                      if (!s.report(id))
                          return Reply::message(404, QStringLiteral("未找到该飞行报告。"));
                      QJsonArray entries;
                      for (const QJsonObject &step : s.history(id))
                          entries.append(step);
                      return Reply::json(QJsonObject{{"entries", entries}});
                  }));
    action(QStringLiteral("review"), review);
    action(QStringLiteral("hold"), hold);
    action(QStringLiteral("multiplier"), multiplier);
    service.route("POST", "/api/admin/pireps/{id}/delete",
                  staff([](MemberStore &s, Account &a, const Request &r) {
                      if (a.role != QLatin1String("developer"))
                          return Reply::message(403, QStringLiteral("只有开发者可以删除报告。"));
                      const QString id = QUrl::fromPercentEncoding(r.parameters.value("id").toUtf8());
                      if (!s.removePirep(id))
                          return Reply::message(404, QStringLiteral("未找到该飞行报告。"));
                      return Reply::json(QJsonObject{{"ok", true}});
                  }));
}

} // namespace Sample
