// The notification inbox against the sample member service: the notice texts, what a notice opens,
// marking read, the reloads while on screen, and the one-time hand-over of the local read marks.
#include "ClientTestSupport.h"
#include "DashboardAnswers.h"
#include "MemberNotificationsModel.h"
#include "NoticeListModel.h"
#include "NoticeText.h"
#include "ReadMarks.h"
#include "ReloadSchedule.h"

#include <QJsonArray>
#include <QSettings>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

using namespace TestSupport;
using Sample::Reply;
using Sample::Request;

namespace {

// A clock the test moves by hand, and an application state it sets.
class ManualSchedule : public ReloadSchedule
{
public:
    Qt::ApplicationState applicationState() const override { return state; }
    void startWait(std::chrono::milliseconds interval) override
    {
        deadline = now + interval;
        ++waits;
    }
    void stopWait() override { deadline.reset(); }

    // Moves the clock on, ending the wait when its time comes.
    void advance(std::chrono::milliseconds by)
    {
        now += by;
        if (deadline && *deadline <= now) {
            deadline.reset();
            Q_EMIT waitEnded();
        }
    }
    void setState(Qt::ApplicationState next)
    {
        state = next;
        Q_EMIT applicationStateChanged(next);
    }

    Qt::ApplicationState state = Qt::ApplicationActive;
    std::chrono::milliseconds now{0};
    std::optional<std::chrono::milliseconds> deadline;
    int waits = 0;
};

// 2024-05-01 12:00 UTC: the first of May in every zone from UTC-11 to UTC+11.
constexpr double mayFirstNoon = 1714564800000.0;

QJsonObject notice(const QString &id, const QString &kind, const QString &entityId,
                   double occurredAt = mayFirstNoon)
{
    return {{"id", id},
            {"kind", kind},
            {"entityId", entityId},
            {"occurredAt", occurredAt},
            {"departure", "ZBAA"},
            {"arrival", "ZSPD"}};
}

QJsonObject with(QJsonObject object, const QString &key, const QJsonValue &value)
{
    object.insert(key, value);
    return object;
}

SiteNotice record(const QJsonObject &json) { return SiteNotice::fromJson(json); }

QStringList idsOf(const QJsonValue &body)
{
    QStringList ids;
    for (const QJsonValue &id : body.toObject().value("ids").toArray())
        ids.append(id.toString());
    return ids;
}

const QString lichenId = "u-1001";

} // namespace

class InboxTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void noticeTitle_data();
    void noticeTitle();
    void noticeDetail_data();
    void noticeDetail();
    void noticeDayAndSymbol();

    void unreadRows_data();
    void unreadRows();
    void rowsKeptWhenOnlyReadOnesLeave();
    void whatANoticeOpens_data();
    void whatANoticeOpens();
    void openedPagesAreSentWhenTheInboxIsBack();
    void openedPagesOfADiscardedInboxAreNotSent();
    void markingOneRead();
    void markingAllRead_data();
    void markingAllRead();

    void markForms_data();
    void markForms();
    void migrationMatching_data();
    void migrationMatching();
    void migrationFlag();
    void migrationWithoutUserOrInbox();
    void migrationKeepsUsersApart();
    void marksAsTheSettingsFileHoldsThem();

    void pullToRefresh();
    void reloadsEveryMinuteOnlyWhileActive();
    void activationReloadsOnce();
    void leavingStopsTheReloads();

private:
    Sample::Service &service() { return *m_site->service; }
    // Serves `m_notices` as the inbox, and marks them read as the service does.
    void serveInbox();
    void serveNullInbox();
    std::unique_ptr<MemberNotificationsModel> model();
    int inboxLoads() const { return int(m_site->service->requestsTo("/api/notifications").size()); }
    QList<Request> writes() const { return m_site->service->requestsTo("/api/notifications/read"); }
    QString inboxFailure() const { return m_data->state(MemberLoad::Inbox).failureText(); }

    std::unique_ptr<Site> m_site;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<MemberData> m_data;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QSettings> m_settings;
    ManualSchedule *m_schedule = nullptr; // owned by the model
    QList<QJsonObject> m_notices;
    bool m_refuseWrites = false;
};

void InboxTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China)); // the day of a notice follows the locale
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    const AccountEnvironment environment{
        service().origin(), {Sample::Service::certificate()}, [](const QString &) -> SessionStorePtr {
            return std::make_shared<MemorySessionStore>();
        }};
    m_app = std::make_unique<AppState>(environment, nullptr);
    await(m_app->signIn("lichen", "fly-vornalia", false));
    QVERIFY(m_app->user());
    m_data = std::make_unique<MemberData>(m_app->api());
    m_folder = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<QSettings>(m_folder->filePath("settings.ini"), QSettings::IniFormat);
    m_notices.clear();
    m_refuseWrites = false;
    serveInbox();
    service().route("GET", "/api/pireps", [](Sample::Service &, const Request &) {
        return Reply::json(
            QJsonObject{{"pireps", QJsonArray{TestSupport::plainPirep("p-1", "pending"),
                                              TestSupport::plainPirep("shared-7", "pending")}}});
    });
    service().route("GET", "/api/events/upcoming", [](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"events", QJsonArray{TestSupport::groupFlight("ev-1")}}});
    });
    service().route("GET", "/api/member/event-responses", [](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"responses", QJsonArray()}});
    });
    service().clearRequests();
}

void InboxTest::cleanup()
{
    m_schedule = nullptr;
    m_data.reset();
    m_app.reset();
    m_settings.reset();
    m_folder.reset();
    m_site.reset();
}

void InboxTest::serveInbox()
{
    service().route("GET", "/api/notifications", [this](Sample::Service &, const Request &) {
        QJsonArray rows;
        int unread = 0;
        for (const QJsonObject &row : std::as_const(m_notices)) {
            rows.append(row);
            unread += row.contains("readAt") ? 0 : 1;
        }
        return Reply::json(QJsonObject{{"notifications", rows}, {"unreadCount", unread}});
    });
    service().route("POST", "/api/notifications/read", [this](Sample::Service &, const Request &request) {
        if (m_refuseWrites)
            return Reply::message(500, "通知服务暂时不可用。");
        const bool all = request.json().toObject().value("all").toBool();
        const QStringList ids = idsOf(request.json());
        for (QJsonObject &row : m_notices) {
            if (all || ids.contains(row.value("id").toString()))
                row.insert("readAt", 1.8e12);
        }
        return Reply::json(QJsonObject{{"ok", true}});
    });
}

void InboxTest::serveNullInbox()
{
    service().route("GET", "/api/notifications",
                    [](Sample::Service &, const Request &) { return Reply::json(QJsonValue::Null); });
}

std::unique_ptr<MemberNotificationsModel> InboxTest::model()
{
    auto model = std::make_unique<MemberNotificationsModel>();
    model->setApp(m_app.get());
    model->setMemberData(m_data.get());
    model->setSettings(m_settings.get());
    m_schedule = new ManualSchedule;
    m_schedule->setParent(model.get());
    model->setSchedule(m_schedule);
    return model;
}

// ---- notice texts

void InboxTest::noticeTitle_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QJsonValue>("status");
    QTest::addColumn<QString>("title");

    const QJsonValue absent(QJsonValue::Undefined);
    QTest::newRow("new event") << "event_published" << absent << "新活动 · ZBAA → ZSPD";
    QTest::newRow("new event, any status")
        << "event_published" << QJsonValue("approved") << "新活动 · ZBAA → ZSPD";
    QTest::newRow("received") << "pirep_submitted" << QJsonValue("pending") << "PIREP 提交成功 · ZBAA → ZSPD";
    QTest::newRow("received, approved status")
        << "pirep_submitted" << QJsonValue("approved") << "PIREP 提交成功 · ZBAA → ZSPD";
    QTest::newRow("reviewed, approved")
        << "pirep_reviewed" << QJsonValue("approved") << "PIREP 已批准 · ZBAA → ZSPD";
    QTest::newRow("reviewed, rejected")
        << "pirep_reviewed" << QJsonValue("rejected") << "PIREP 已拒绝 · ZBAA → ZSPD";
    QTest::newRow("other kind, pending")
        << "pirep_held" << QJsonValue("pending") << "PIREP 已拒绝 · ZBAA → ZSPD";
    QTest::newRow("other kind, no status") << "pirep_held" << absent << "PIREP 已拒绝 · ZBAA → ZSPD";
    QTest::newRow("status in another case")
        << "pirep_reviewed" << QJsonValue("Approved") << "PIREP 已拒绝 · ZBAA → ZSPD";
    QTest::newRow("kind in another case") << "Event_Published" << absent << "PIREP 已拒绝 · ZBAA → ZSPD";
}

void InboxTest::noticeTitle()
{
    QFETCH(QString, kind);
    QFETCH(QJsonValue, status);
    QFETCH(QString, title);
    QJsonObject json = notice("n-1", kind, "x-1");
    if (!status.isUndefined())
        json.insert("status", status);
    QCOMPARE(NoticeText::title(record(json)), title);
}

void InboxTest::noticeDetail_data()
{
    QTest::addColumn<QJsonObject>("json");
    QTest::addColumn<QString>("detail");

    const QJsonObject report = notice("n-1", "pirep_reviewed", "p-1");
    const QJsonObject received = notice("n-2", "pirep_submitted", "p-1");
    const QJsonObject event = notice("n-3", "event_published", "ev-1");
    QTest::newRow("reason first") << with(with(report, "reason", "截图不完整"), "eventAt", "2026-01-01")
                                  << "截图不完整";
    QTest::newRow("an empty reason still wins")
        << with(with(received, "reason", ""), "eventAt", "2026-01-01") << "";
    QTest::newRow("event time as sent")
        << with(event, "eventAt", "2026-12-24T12:00:00Z") << "2026-12-24T12:00:00Z";
    QTest::newRow("received, nothing else") << received << "等待管理员审核";
    QTest::newRow("received, with event time") << with(received, "eventAt", "明晚 8 点") << "明晚 8 点";
    QTest::newRow("event, nothing else") << event << "";
    QTest::newRow("review, nothing else") << with(report, "status", "approved") << "";
}

void InboxTest::noticeDetail()
{
    QFETCH(QJsonObject, json);
    QFETCH(QString, detail);
    QCOMPARE(NoticeText::detail(record(json)), detail);
}

void InboxTest::noticeDayAndSymbol()
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QTimeZone utc = QTimeZone::utc();
    // 2024-05-01 23:30 UTC, milliseconds; the day only, in the locale's form.
    const double lateMay1 = 1714606200000.0;
    QCOMPARE(NoticeText::day(lateMay1, english, utc), "May 1, 2024");
    QCOMPARE(NoticeText::day(lateMay1, chinese, utc), "2024年5月1日");
    QCOMPARE(NoticeText::day(lateMay1, english, QTimeZone("Asia/Shanghai")), "May 2, 2024");
    QCOMPARE(NoticeText::day(std::numeric_limits<double>::infinity(), english, utc), "—");
    QCOMPARE(NoticeText::day(1e300, english, utc), "—");

    QCOMPARE(NoticeText::symbol(record(notice("n", "event_published", "e"))), "calendar");
    QCOMPARE(NoticeText::symbol(record(notice("n", "pirep_submitted", "p"))), "doc.text");
    QCOMPARE(NoticeText::symbol(record(notice("n", "pirep_reviewed", "p"))), "doc.text");
}

// ---- the list

void InboxTest::unreadRows_data()
{
    QTest::addColumn<QList<QJsonObject>>("notices");
    QTest::addColumn<bool>("nullInbox");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("showsEmpty");
    QTest::addColumn<QStringList>("firstRow"); // title, detail, day, symbol

    const QJsonObject a = notice("n-a", "pirep_submitted", "p-1");
    const QJsonObject b = notice("n-b", "event_published", "ev-1");
    const QJsonObject c = notice("n-c", "pirep_reviewed", "p-2");
    const QJsonObject read = with(notice("n-r", "pirep_reviewed", "p-3"), "readAt", 1.75e12);
    QTest::newRow("unread in the inbox's order")
        << QList{c, read, a, b} << false << QStringList{"n-c", "n-a", "n-b"} << false
        << QStringList{"PIREP 已拒绝 · ZBAA → ZSPD", "", "2024年5月1日", "doc.text"};
    QTest::newRow("all read") << QList{read, with(a, "readAt", 0)} << false << QStringList() << true
                              << QStringList();
    QTest::newRow("no notices") << QList<QJsonObject>() << false << QStringList() << true << QStringList();
    QTest::newRow("null inbox") << QList{a} << true << QStringList() << false << QStringList();
}

void InboxTest::unreadRows()
{
    QFETCH(QList<QJsonObject>, notices);
    QFETCH(bool, nullInbox);
    QFETCH(QStringList, rows);
    QFETCH(bool, showsEmpty);
    QFETCH(QStringList, firstRow);
    m_notices = notices;
    if (nullInbox)
        serveNullInbox();
    const auto inbox = model();
    QVERIFY(!inbox->showsEmpty()); // nothing loaded yet: neither rows nor the empty text
    QSignalSpy emptyChanges(inbox.get(), &MemberNotificationsModel::showsEmptyChanged);
    QSignalSpy markAllChanges(inbox.get(), &MemberNotificationsModel::canMarkAllChanged);
    await(inbox->show());

    QStringList shown;
    for (const NoticeListModel::Row &row : inbox->unread()->rows())
        shown.append(row.noticeId);
    QCOMPARE(shown, rows);
    QCOMPARE(inbox->showsEmpty(), showsEmpty);
    QCOMPARE(inbox->canMarkAll(), !rows.isEmpty());
    // The view follows the notifications: a first inbox that loads empty must still announce it.
    QCOMPARE(emptyChanges.size(), showsEmpty ? 1 : 0);
    QCOMPARE(markAllChanges.isEmpty(), rows.isEmpty());
    QCOMPARE(inbox->unread()->rowCount(), rows.size());
    if (!rows.isEmpty()) {
        const QModelIndex first = inbox->unread()->index(0);
        QCOMPARE((QStringList{first.data(NoticeListModel::TitleRole).toString(),
                              first.data(NoticeListModel::DetailRole).toString(),
                              first.data(NoticeListModel::TimeRole).toString(),
                              first.data(NoticeListModel::SymbolRole).toString()}),
                 firstRow);
    }
}

void InboxTest::rowsKeptWhenOnlyReadOnesLeave()
{
    // A reload that only drops read notices removes their rows instead of rebuilding the list, so a row
    // that is being swiped stays where it is.
    m_notices = {notice("n-1", "pirep_reviewed", "p-1"), notice("n-2", "pirep_reviewed", "p-2"),
                 notice("n-3", "pirep_reviewed", "p-3")};
    const auto inbox = model();
    await(inbox->show());
    QSignalSpy resets(inbox->unread(), &QAbstractItemModel::modelReset);
    QSignalSpy removals(inbox->unread(), &QAbstractItemModel::rowsRemoved);
    await(inbox->markRead("n-2"));
    QCOMPARE(inbox->unread()->count(), 2);
    QCOMPARE(resets.size(), 0);
    QCOMPARE(removals.size(), 1);
    QCOMPARE(removals.first().at(1).toInt(), 1);

    m_notices.prepend(notice("n-4", "pirep_reviewed", "p-4"));
    await(m_data->loadInbox());
    QCOMPARE(resets.size(), 1);
    QCOMPARE(inbox->unread()->rows().first().noticeId, "n-4");
}

void InboxTest::whatANoticeOpens_data()
{
    QTest::addColumn<QJsonObject>("json");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("recordId");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("detail");

    const QString event = "新活动 · ZBAA → ZSPD", received = "PIREP 提交成功 · ZBAA → ZSPD";
    const QString rejected = "PIREP 已拒绝 · ZBAA → ZSPD", waiting = "等待管理员审核";
    // Loaded: reports "p-1" and "shared-7", event "ev-1".
    QTest::newRow("event that is listed") << notice("n-1", "event_published", "ev-1")
                                          << int(NoticePageKind::EventPage) << "ev-1" << event << "";
    // Regression: an event notice whose event is gone opened an unrelated report with the same id.
    QTest::newRow("event gone, report with its id") << notice("n-2", "event_published", "shared-7")
                                                    << int(NoticePageKind::DetailPage) << "" << event << "";
    QTest::newRow("received report") << notice("n-3", "pirep_submitted", "p-1")
                                     << int(NoticePageKind::PirepPage) << "p-1" << received << waiting;
    QTest::newRow("reviewed report") << with(notice("n-4", "pirep_reviewed", "shared-7"), "status",
                                             "approved")
                                     << int(NoticePageKind::PirepPage) << "shared-7"
                                     << "PIREP 已批准 · ZBAA → ZSPD"
                                     << "";
    QTest::newRow("report notice naming an event")
        << notice("n-5", "pirep_reviewed", "ev-1") << int(NoticePageKind::DetailPage) << "" << rejected << "";
    QTest::newRow("nothing by that id") << notice("n-6", "pirep_reviewed", "p-404")
                                        << int(NoticePageKind::DetailPage) << "" << rejected << "";
    QTest::newRow("already read still opens")
        << with(notice("n-7", "pirep_submitted", "p-1"), "readAt", 1.75e12) << int(NoticePageKind::PirepPage)
        << "p-1" << received << waiting;
}

void InboxTest::whatANoticeOpens()
{
    QFETCH(QJsonObject, json);
    QFETCH(int, kind);
    QFETCH(QString, recordId);
    QFETCH(QString, title);
    QFETCH(QString, detail);
    m_notices = {json};
    const auto inbox = model();
    await(inbox->show());

    const SiteNotice expected = record(json);
    const NoticePage page = inbox->open(expected.id);
    QCOMPARE(int(page.kind), kind);
    QCOMPARE(page.recordId, recordId);
    QCOMPARE(page.noticeId, expected.id);
    QCOMPARE(page.title, title);
    QCOMPARE(page.detail, detail);
    QCOMPARE(page.time, QString("2024年5月1日"));
    QVERIFY(inbox->opened().contains(expected.id));
    QVERIFY(writes().isEmpty()); // nothing is sent while the page is open

    // An id the inbox does not hold opens nothing and is not remembered.
    const NoticePage none = inbox->open("n-missing");
    QVERIFY(none.noticeId.isEmpty());
    QVERIFY(!inbox->opened().contains("n-missing"));
}

void InboxTest::openedPagesAreSentWhenTheInboxIsBack()
{
    m_notices = {notice("n-1", "pirep_reviewed", "p-1"), notice("n-2", "event_published", "ev-1"),
                 notice("n-3", "pirep_reviewed", "p-9")};
    const auto inbox = model();
    await(inbox->show());

    // Three notices, one after another, back to the inbox after each: three writes of one id each.
    for (const QString id : {"n-1", "n-2", "n-3"}) {
        inbox->open(id);
        inbox->hide();
        QVERIFY(writes().size() < 3
                && !idsOf(writes().isEmpty() ? QJsonValue() : writes().last().json()).contains(id));
        await(inbox->show());
        QVERIFY(inbox->opened().isEmpty());
        QTRY_VERIFY(!writes().isEmpty() && idsOf(writes().last().json()) == QStringList{id});
    }
    QCOMPARE(writes().size(), 3);
    QTRY_COMPARE(inbox->unread()->count(), 0);

    // Two opened before coming back: one write with both.
    m_notices.append({notice("n-4", "pirep_reviewed", "p-1"), notice("n-5", "pirep_reviewed", "p-1")});
    await(m_data->loadInbox());
    inbox->open("n-4");
    inbox->open("n-5");
    inbox->hide();
    await(inbox->show());
    QTRY_COMPARE(writes().size(), 4);
    QStringList both = idsOf(writes().last().json());
    both.sort();
    QCOMPARE(both, (QStringList{"n-4", "n-5"}));
}

void InboxTest::openedPagesOfADiscardedInboxAreNotSent()
{
    m_notices = {notice("n-1", "pirep_reviewed", "p-1")};
    {
        const auto inbox = model();
        await(inbox->show());
        inbox->open("n-1");
        inbox->hide();
    }
    await(m_data->loadInbox());
    QVERIFY(writes().isEmpty());

    // A failed batch is not put back: the next return sends nothing more.
    const auto inbox = model();
    await(inbox->show());
    inbox->open("n-1");
    inbox->hide();
    m_refuseWrites = true;
    await(inbox->show());
    QTRY_COMPARE(writes().size(), 1);
    QTRY_COMPARE(inboxFailure(), "通知服务暂时不可用。");
    QVERIFY(inbox->opened().isEmpty());
    inbox->hide();
    await(inbox->show());
    QCOMPARE(writes().size(), 1);
}

void InboxTest::markingOneRead()
{
    m_notices = {notice("n-1", "pirep_reviewed", "p-1"), notice("n-2", "pirep_reviewed", "p-2")};
    const auto inbox = model();
    await(inbox->show());
    const int loads = inboxLoads();

    await(inbox->markRead("n-2"));
    QCOMPARE(writes().size(), 1);
    QCOMPARE(writes().first().json().toObject(), (QJsonObject{{"ids", QJsonArray{"n-2"}}}));
    QCOMPARE(inboxLoads(), loads + 1); // the write reloads the inbox
    QCOMPARE(inbox->unread()->count(), 1);
    QVERIFY(!inbox->marking()); // only the button "全部已读" shows marking

    // A refused write keeps the row and shows its text with the inbox's failure.
    m_refuseWrites = true;
    await(inbox->markRead("n-1"));
    QCOMPARE(inbox->unread()->count(), 1);
    QCOMPARE(inboxFailure(), "通知服务暂时不可用。");
}

void InboxTest::markingAllRead_data()
{
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("failure");

    QTest::newRow("accepted") << false << 0 << "";
    QTest::newRow("refused") << true << 2 << "通知服务暂时不可用。";
}

void InboxTest::markingAllRead()
{
    QFETCH(bool, refused);
    QFETCH(int, left);
    QFETCH(QString, failure);
    m_notices = {notice("n-1", "pirep_reviewed", "p-1"), notice("n-2", "pirep_submitted", "p-2")};
    const auto inbox = model();
    await(inbox->show());
    QVERIFY(inbox->canMarkAll());
    m_refuseWrites = refused;
    service().setFault("/api/notifications/read", {.bodyDelayMs = 200, .times = 1});

    QSignalSpy markingChanges(inbox.get(), &MemberNotificationsModel::markingChanged);
    auto marking = inbox->markAllRead();
    QVERIFY(inbox->marking());
    QVERIFY(!inbox->canMarkAll());
    await(inbox->markAllRead()); // a second press while one runs does nothing
    await(std::move(marking));

    QCOMPARE(writes().size(), 1);
    QCOMPARE(writes().first().json().toObject(), (QJsonObject{{"all", true}}));
    QVERIFY(!inbox->marking());
    QCOMPARE(markingChanges.size(), 2);
    QCOMPARE(inbox->unread()->count(), left);
    QCOMPARE(inboxFailure(), failure);
    QCOMPARE(inbox->canMarkAll(), left > 0);
}

// ---- the read marks

void InboxTest::markForms_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("integer"); // empty: none

    QTest::newRow("whole") << 250.0 << "250.0"
                           << "250";
    QTest::newRow("half") << 250.5 << "250.5"
                          << "250";
    QTest::newRow("negative") << -250.5 << "-250.5"
                              << "-250";
    QTest::newRow("small negative") << -0.5 << "-0.5"
                                    << "0";
    QTest::newRow("zero") << 0.0 << "0.0"
                          << "0";
    QTest::newRow("millisecond time") << 1714606200123.0 << "1714606200123.0"
                                      << "1714606200123";
    QTest::newRow("with a fraction") << 1714606200123.5 << "1714606200123.5"
                                     << "1714606200123";
    QTest::newRow("shortest round trip") << 0.1 << "0.1"
                                         << "0";
    QTest::newRow("lowest 64-bit integer") << -9223372036854775808.0 << "-9.223372036854776e+18"
                                           << "-9223372036854775808";
    QTest::newRow("past the 64-bit range") << 9223372036854775808.0 << "9.223372036854776e+18"
                                           << "";
    QTest::newRow("far out") << 1e300 << "1e+300"
                             << "";
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "inf"
                              << "";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "nan"
                                  << "";
}

void InboxTest::markForms()
{
    QFETCH(double, value);
    QFETCH(QString, decimal);
    QFETCH(QString, integer);
    QCOMPARE(ReadMarks::decimalForm(value), decimal);
    QCOMPARE(ReadMarks::integerForm(value).value_or(QString()), integer);
    QCOMPARE(ReadMarks::integerForm(value).has_value(), !integer.isEmpty());
}

void InboxTest::migrationMatching_data()
{
    QTest::addColumn<QList<QJsonObject>>("notices");
    QTest::addColumn<QStringList>("marks");
    QTest::addColumn<QStringList>("sent"); // empty: nothing sent

    const QJsonObject approved = with(notice("n-1", "pirep_reviewed", "p-1", 250), "status", "approved");
    QTest::newRow("decimal form") << QList{approved} << QStringList{"p-1:approved:250.0"}
                                  << QStringList{"n-1"};
    QTest::newRow("integer form") << QList{approved} << QStringList{"p-1:approved:250"} << QStringList{"n-1"};
    QTest::newRow("neither form") << QList{approved} << QStringList{"p-1:approved:250.00", "p-1:approved:"}
                                  << QStringList();
    QTest::newRow("other status") << QList{approved} << QStringList{"p-1:rejected:250.0"} << QStringList();
    QTest::newRow("letter case counts")
        << QList{approved} << QStringList{"P-1:approved:250.0"} << QStringList();

    const QJsonObject half = with(notice("n-2", "pirep_reviewed", "p-2", 250.5), "status", "approved");
    QTest::newRow("fraction, decimal form")
        << QList{half} << QStringList{"p-2:approved:250.5"} << QStringList{"n-2"};
    QTest::newRow("fraction, integer form")
        << QList{half} << QStringList{"p-2:approved:250"} << QStringList{"n-2"};
    QTest::newRow("fraction, whole decimal")
        << QList{half} << QStringList{"p-2:approved:250.0"} << QStringList();

    const QJsonObject received =
        with(notice("n-3", "pirep_submitted", "p-3", 1714606200123.0), "status", "approved");
    QTest::newRow("received counts as pending")
        << QList{received} << QStringList{"p-3:pending:1714606200123"} << QStringList{"n-3"};
    QTest::newRow("received, its own status")
        << QList{received} << QStringList{"p-3:approved:1714606200123"} << QStringList();

    const QJsonObject bare = notice("n-4", "pirep_held", "p-4", 99);
    QTest::newRow("no status, two colons") << QList{bare} << QStringList{"p-4::99.0"} << QStringList{"n-4"};

    const QJsonObject event = notice("n-5", "event_published", "ev-5", 42);
    const QJsonObject sameId = notice("n-6", "pirep_reviewed", "ev-5", 42);
    QTest::newRow("event mark") << QList{event, sameId} << QStringList{"event:ev-5"} << QStringList{"n-5"};
    QTest::newRow("event takes no other form")
        << QList{event} << QStringList{"ev-5::42.0", "ev-5::42"} << QStringList();

    const QJsonObject read =
        with(with(notice("n-7", "pirep_reviewed", "p-7", 7), "status", "rejected"), "readAt", 8);
    QTest::newRow("read ones count, inbox order")
        << QList{read, approved, event} << QStringList{"event:ev-5", "p-1:approved:250", "p-7:rejected:7.0"}
        << QStringList{"n-7", "n-1", "n-5"};
    QTest::newRow("no marks") << QList{approved, event} << QStringList() << QStringList();
}

void InboxTest::migrationMatching()
{
    QFETCH(QList<QJsonObject>, notices);
    QFETCH(QStringList, marks);
    QFETCH(QStringList, sent);
    m_notices = notices;
    if (!marks.isEmpty())
        m_settings->setValue("notification-read." + lichenId, marks);
    const auto inbox = model();
    await(m_data->loadInbox());

    await(inbox->migrateLocalReadReceipts());
    if (sent.isEmpty()) {
        QVERIFY(writes().isEmpty());
    } else {
        QCOMPARE(writes().size(), 1);
        QCOMPARE(writes().first().json().toObject(),
                 (QJsonObject{{"ids", QJsonArray::fromStringList(sent)}}));
    }
    QCOMPARE(m_settings->value("notification-server-read-migrated." + lichenId).toBool(), true);
    // The marks are only read.
    QCOMPARE(m_settings->value("notification-read." + lichenId).toStringList(), marks);
}

void InboxTest::migrationFlag()
{
    const QString flag = "notification-server-read-migrated." + lichenId;
    m_notices = {notice("n-1", "event_published", "ev-1")};
    m_settings->setValue("notification-read." + lichenId, QStringList{"event:ev-1", "unrelated"});
    const auto inbox = model();
    await(m_data->loadInbox());

    // A refused write leaves the flag unset, and its text stands as the inbox's failure.
    m_refuseWrites = true;
    await(inbox->migrateLocalReadReceipts());
    QCOMPARE(writes().size(), 1);
    QVERIFY(!m_settings->contains(flag));
    QCOMPARE(inboxFailure(), "通知服务暂时不可用。");

    // The flag waits for the service's answer: not set while the write runs.
    m_refuseWrites = false;
    service().setFault("/api/notifications/read", {.bodyDelayMs = 200, .times = 1});
    auto running = inbox->migrateLocalReadReceipts();
    QTest::qWait(50);
    QVERIFY(!m_settings->contains(flag));
    await(std::move(running));
    QCOMPARE(writes().size(), 2);
    QVERIFY(m_settings->value(flag).toBool());

    // Once done, later runs stop at the flag.
    await(inbox->migrateLocalReadReceipts());
    QCOMPARE(writes().size(), 2);

    // The screen runs it after its loads; a flag removed by hand hands the same marks over again.
    m_settings->remove(flag);
    m_notices = {notice("n-1", "event_published", "ev-1")};
    await(inbox->show());
    QCOMPARE(writes().size(), 3);
    QCOMPARE(idsOf(writes().last().json()), QStringList{"n-1"});
    QVERIFY(m_settings->value(flag).toBool());
}

void InboxTest::migrationWithoutUserOrInbox()
{
    const QString flag = "notification-server-read-migrated." + lichenId;
    m_settings->setValue("notification-read." + lichenId, QStringList{"event:ev-1"});
    m_notices = {notice("n-1", "event_published", "ev-1")};
    const auto inbox = model();

    // No inbox loaded yet, or answered null: nothing stored, nothing sent.
    await(inbox->migrateLocalReadReceipts());
    serveNullInbox();
    await(inbox->show());
    QVERIFY(!m_data->inbox());
    QVERIFY(!m_settings->contains(flag));
    QVERIFY(writes().isEmpty());

    // No signed-in user.
    serveInbox();
    await(m_data->loadInbox());
    await(m_app->signOut());
    QVERIFY(!m_app->user());
    await(inbox->migrateLocalReadReceipts());
    QVERIFY(!m_settings->contains(flag));
    QVERIFY(writes().isEmpty());
}

void InboxTest::migrationKeepsUsersApart()
{
    // Another account's marks and flag are not this one's.
    m_settings->setValue("notification-read.u-1002", QStringList{"event:ev-1"});
    m_settings->setValue("notification-server-read-migrated.u-1003", true);
    m_notices = {notice("n-1", "event_published", "ev-1")};
    const auto inbox = model();
    await(m_data->loadInbox());
    await(inbox->migrateLocalReadReceipts());
    QVERIFY(writes().isEmpty());
    QVERIFY(m_settings->value("notification-server-read-migrated." + lichenId).toBool());
    QVERIFY(!m_settings->contains("notification-server-read-migrated.u-1002"));

    // This one's flag set elsewhere: nothing to do.
    m_settings->setValue("notification-read." + lichenId, QStringList{"event:ev-1"});
    await(inbox->migrateLocalReadReceipts());
    QVERIFY(writes().isEmpty());
}

void InboxTest::marksAsTheSettingsFileHoldsThem()
{
    const QString file = m_folder->filePath("written.ini");
    {
        QSettings writer(file, QSettings::IniFormat);
        writer.setValue("notification-read.one", QStringList{"event:ev-1"});
        writer.setValue("notification-read.two", QStringList{"event:ev-1", "p-1::1.0"});
        writer.setValue("notification-read.number", 17);
        writer.setValue("notification-server-read-migrated.done", true);
        writer.setValue("notification-server-read-migrated.undone", false);
    }
    const QSettings reader(file, QSettings::IniFormat);
    // The file gives a list of one text back as a lone text: still that one mark.
    QCOMPARE(ReadMarks::stored(reader, "one"), (QSet<QString>{"event:ev-1"}));
    QCOMPARE(ReadMarks::stored(reader, "two"), (QSet<QString>{"event:ev-1", "p-1::1.0"}));
    QVERIFY(ReadMarks::stored(reader, "number").isEmpty());
    QVERIFY(ReadMarks::stored(reader, "missing").isEmpty());
    QVERIFY(ReadMarks::isMigrated(reader, "done"));
    QVERIFY(!ReadMarks::isMigrated(reader, "undone"));
    QVERIFY(!ReadMarks::isMigrated(reader, "missing"));

    // Not a list of texts at all: no marks, so the flag is set without a write.
    QSettings direct(m_folder->filePath("direct.ini"), QSettings::IniFormat);
    direct.setValue("notification-read.mixed", QVariantList{"event:ev-1", 3});
    QVERIFY(ReadMarks::stored(direct, "mixed").isEmpty());
}

// ---- reloads

// The indicator stays while the pull's inbox load runs and goes however it ends; a second pull meanwhile
// sends nothing more.
void InboxTest::pullToRefresh()
{
    const auto inbox = model();
    QSignalSpy refreshing(inbox.get(), &MemberNotificationsModel::refreshingChanged);
    service().setFault("/api/notifications", {.status = 503, .times = 1});
    auto pulling = inbox->refresh();
    QVERIFY(inbox->refreshing());
    await(inbox->refresh());
    QVERIFY(inbox->refreshing());
    await(std::move(pulling));
    QVERIFY(!inbox->refreshing());
    QCOMPARE(refreshing.size(), 2);
    QCOMPARE(inboxLoads(), 1);
    QCOMPARE(inboxFailure(), "样例服务按要求返回 503。");
}

void InboxTest::reloadsEveryMinuteOnlyWhileActive()
{
    m_notices = {notice("n-1", "pirep_reviewed", "p-1")};
    const auto inbox = model();
    await(inbox->show());
    QCOMPARE(inboxLoads(), 1);
    QCOMPARE(m_schedule->deadline, std::optional(std::chrono::milliseconds(60000)));

    m_schedule->advance(std::chrono::seconds(59));
    QTest::qWait(50);
    QCOMPARE(inboxLoads(), 1);
    m_schedule->advance(std::chrono::seconds(1));
    QTRY_COMPARE(inboxLoads(), 2);
    // The next minute counts from the end of the reload.
    QTRY_VERIFY(m_schedule->deadline.has_value());
    QCOMPARE(*m_schedule->deadline, std::chrono::milliseconds(120000));

    // Inactive or in the background: the minutes pass without a reload, and the loop goes on.
    for (const Qt::ApplicationState state : {Qt::ApplicationInactive, Qt::ApplicationHidden}) {
        m_schedule->state = state;
        for (int minute = 0; minute < 5; ++minute)
            m_schedule->advance(std::chrono::seconds(60));
    }
    QTest::qWait(50);
    QCOMPARE(inboxLoads(), 2);
    QVERIFY(m_schedule->deadline.has_value());

    m_schedule->state = Qt::ApplicationActive;
    m_schedule->advance(std::chrono::seconds(60));
    QTRY_COMPARE(inboxLoads(), 3);

    // A failed reload does not end the loop.
    service().setFault("/api/notifications", {.status = 503, .times = 1});
    QTRY_VERIFY(m_schedule->deadline.has_value());
    m_schedule->advance(std::chrono::seconds(60));
    QTRY_VERIFY(!inboxFailure().isEmpty());
    QTRY_VERIFY(m_schedule->deadline.has_value());
    m_schedule->advance(std::chrono::seconds(60));
    QTRY_COMPARE(inboxLoads(), 5);
    QTRY_VERIFY(inboxFailure().isEmpty());
}

void InboxTest::activationReloadsOnce()
{
    const auto inbox = model();
    await(inbox->show());
    QCOMPARE(inboxLoads(), 1);

    m_schedule->setState(Qt::ApplicationInactive);
    m_schedule->setState(Qt::ApplicationHidden);
    QTest::qWait(50);
    QCOMPARE(inboxLoads(), 1);
    m_schedule->setState(Qt::ApplicationActive);
    QTRY_COMPARE(inboxLoads(), 2);
    QTest::qWait(50);
    QCOMPARE(inboxLoads(), 2);

    // An activation that meets a running inbox load does not start a second one.
    service().setFault("/api/notifications", {.bodyDelayMs = 200, .times = 1});
    auto running = m_data->loadInbox();
    m_schedule->setState(Qt::ApplicationInactive);
    m_schedule->setState(Qt::ApplicationActive);
    await(std::move(running));
    QCOMPARE(inboxLoads(), 3);
}

void InboxTest::leavingStopsTheReloads()
{
    const auto inbox = model();
    // Left before its loads ended: no migration, no minute's wait.
    m_settings->setValue("notification-read." + lichenId, QStringList{"event:ev-1"});
    service().setFault("/api/notifications", {.bodyDelayMs = 200, .times = 1});
    auto showing = inbox->show();
    inbox->hide();
    await(std::move(showing));
    QVERIFY(!m_schedule->deadline.has_value());
    QVERIFY(!m_settings->contains("notification-server-read-migrated." + lichenId));

    await(inbox->show());
    QVERIFY(m_schedule->deadline.has_value());
    const int loads = inboxLoads();
    inbox->hide();
    QVERIFY(!m_schedule->deadline.has_value());
    m_schedule->advance(std::chrono::minutes(10));
    QTest::qWait(50);
    QCOMPARE(inboxLoads(), loads);

    // A wait that ends after the screen left (a clock that fires late) reloads nothing.
    await(inbox->show());
    m_schedule->deadline.reset();
    inbox->hide();
    Q_EMIT m_schedule->waitEnded();
    QTest::qWait(50);
    QCOMPARE(inboxLoads(), loads + 1);
    QVERIFY(!m_schedule->deadline.has_value());

    // The screen discarded while its loads run: nothing touches it afterwards.
    service().setFault("/api/notifications", {.bodyDelayMs = 200, .times = 1});
    auto discarded = model();
    auto orphan = discarded->show();
    discarded.reset();
    await(std::move(orphan));
    QCOMPARE(inboxLoads(), loads + 2);
}

QTEST_MAIN(InboxTest)
#include "tst_inbox.moc"
