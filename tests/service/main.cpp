// The sample member service on its own, for trying the app without an account on the real site.
#include "SampleService.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vornalia sample member service"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("port"), QStringLiteral("Port on 127.0.0.1 (0: a free one)."),
                      QStringLiteral("port"), QStringLiteral("0")});
    parser.addOption(
        {QStringLiteral("release"),
         QStringLiteral("The release manifest: newer (a later build than this tree's), current (this "
                        "build) or malformed (the build number as text)."),
         QStringLiteral("kind"), QStringLiteral("newer")});
    parser.addOption(
        {QStringLiteral("live-link-expired"),
         QStringLiteral("The Live link check answers 403, as when the member's Infinite Flight link has "
                        "lapsed at the service: the Live tab asks to link again, the session stays.")});
    parser.addOption(
        {QStringLiteral("live-map"),
         QStringLiteral("The live map's live snapshot: live (as it starts) or failing (it answers 503, "
                        "so the app falls back to the saved snapshot)."),
         QStringLiteral("state"), QStringLiteral("live")});
    parser.addOption(
        {QStringLiteral("slow-reports"),
         QStringLiteral("A report's submission, and the evidence sent for the report on hold, answer after "
                        "this many seconds (0 to 25), so the form and the report's page can be seen while "
                        "they send."),
         QStringLiteral("seconds"), QStringLiteral("0")});
    parser.addOption(
        {QStringLiteral("refuse-writes"),
         QStringLiteral("Every write of a member's (a POST, but signing in and out) is refused with 500, and "
                        "the forum cannot be reached for an IFC avatar: each action's failure can be seen, "
                        "again and again.")});
    parser.addOption(
        {QStringLiteral("account-check-failing"),
         QStringLiteral("The account check after signing in (the member and admin pages) answers 503: the "
                        "window waits on \"正在确认账号要求\" with the failure, its 重试 and 重新登录.")});
    parser.process(app);
    bool secondsRead = false;
    const int reportSeconds = parser.value(QStringLiteral("slow-reports")).toInt(&secondsRead);
    // Under the app's 30 seconds without data, so the answer still arrives.
    if (!secondsRead || reportSeconds < 0 || reportSeconds > 25) {
        QTextStream(stderr) << "vorna-sample-service: --slow-reports is 0 to 25 seconds\n";
        return 2;
    }
    const QString liveMap = parser.value(QStringLiteral("live-map"));
    if (liveMap != QLatin1String("live") && liveMap != QLatin1String("failing")) {
        QTextStream(stderr) << "vorna-sample-service: --live-map is live or failing\n";
        return 2;
    }
    const QString release = parser.value(QStringLiteral("release"));
    if (release != QLatin1String("newer") && release != QLatin1String("current")
        && release != QLatin1String("malformed")) {
        QTextStream(stderr) << "vorna-sample-service: --release is newer, current or malformed\n";
        return 2;
    }

    Sample::Service service;
    service.publishRelease(release == QLatin1String("current")     ? Sample::Service::Release::Current
                           : release == QLatin1String("malformed") ? Sample::Service::Release::Malformed
                                                                   : Sample::Service::Release::Newer);
    if (parser.isSet(QStringLiteral("live-link-expired")))
        service.setFault(
            QStringLiteral("/api/live-schedules/authorization"),
            {.status = 403,
             .json = QJsonObject{{"message", QStringLiteral("Infinite Flight 授权已失效，请重新连接。")}}});
    service.setLiveSnapshotFailing(liveMap == QLatin1String("failing"));
    if (reportSeconds > 0) {
        service.setFault(QStringLiteral("/api/pireps"),
                         {.bodyDelayMs = reportSeconds * 1000, .method = "POST"});
        // lichen's report on hold, the one the sample data asks more evidence for.
        service.setFault(QStringLiteral("/api/pireps/p-24421/evidence"),
                         {.bodyDelayMs = reportSeconds * 1000, .method = "POST"});
    }
    if (parser.isSet(QStringLiteral("account-check-failing"))) {
        for (const char *page : {"/member", "/admin"})
            service.setFault(QString::fromLatin1(page), {.status = 503});
    }
    if (parser.isSet(QStringLiteral("refuse-writes"))) {
        // Refused before the service takes anything, so the sample data stays as it was.
        service.setFault(QStringLiteral("*"), {.status = 500, .unheard = true, .method = "POST"});
        for (const char *path : {"/api/login", "/api/logout"})
            service.setFault(QString::fromLatin1(path), {.method = "POST"});
        for (const QJsonValue &row : service.data(QStringLiteral("accounts")).toArray())
            service.setFault("/u/" + row.toObject().value("username").toString().toLower() + ".json",
                             {.status = 503});
    }
    if (!service.start(quint16(parser.value(QStringLiteral("port")).toUInt()))) {
        QTextStream(stderr) << "vorna-sample-service: cannot listen on 127.0.0.1\n";
        return 1;
    }
    QTextStream out(stdout);
    out << service.origin().toString() << Qt::endl;
    out << "accounts (user name, in any letter case / password / role):" << Qt::endl;
    for (const QJsonValue &row : service.data(QStringLiteral("accounts")).toArray()) {
        const QJsonObject account = row.toObject();
        out << "  " << account.value("username").toString() << " / " << account.value("password").toString()
            << " / " << account.value("role").toString() << Qt::endl;
    }
    const QJsonObject live = service.data(QStringLiteral("live-schedules")).toObject();
    const auto names = [&live](const char *key) {
        QStringList list;
        for (const QJsonValue &name : live.value(QLatin1String(key)).toArray())
            list.append(name.toString());
        return list.join(QStringLiteral(", "));
    };
    out << "Infinite Flight Live: linked " << names("linked") << " (reviewing: " << names("reviewers")
        << "); a link that shares no organisation: " << names("ineligible") << Qt::endl;
    return app.exec();
}
