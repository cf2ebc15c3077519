// The staff's review workbench: the queue's filters, counts and search, the review page's defaults, the
// bodies it posts and what the service makes of them, the system checks and the history, against the
// sample member service.
#include "Installed.h"
#include "LanguageScope.h"
#include "MemberTestSupport.h"
#include "PirepReviewModel.h"
#include "ReviewWorkbenchModel.h"

#include <QJsonDocument>
#include <QSignalSpy>

using namespace TestSupport;

namespace {

QStringList ids(const QList<Pirep> &reports)
{
    QStringList found;
    for (const Pirep &report : reports)
        found.append(report.id);
    return found;
}

QStringList titles(const QVariantList &options)
{
    QStringList found;
    for (const QVariant &option : options)
        found.append(option.toMap().value("title").toString());
    return found;
}

// The lines as a screen reader says them.
QStringList texts(const QList<ReviewText::Line> &lines)
{
    QStringList found;
    for (const ReviewText::Line &line : lines)
        found.append(ReviewText::spoken(line));
    return found;
}

// The labelled rows, each "title|value".
QStringList labelledRows(const QList<ReviewText::Line> &lines)
{
    QStringList found;
    for (const ReviewText::Line &line : lines) {
        if (!line.label.isEmpty())
            found.append(line.label + u'|' + line.text);
    }
    return found;
}

Pirep report(const QString &status, std::optional<double> heldAt = std::nullopt)
{
    Pirep report;
    report.id = QStringLiteral("p-1");
    report.departureCode = QStringLiteral("ZBAA");
    report.arrivalCode = QStringLiteral("ZSPD");
    report.status = status;
    report.heldAt = heldAt;
    return report;
}

} // namespace

class ReviewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void queueFiltersAndCounts();
    void queueSearch_data();
    void queueSearch();
    void queueCardTexts_data();
    void queueCardTexts();
    void staffHeader_data();
    void staffHeader();
    void staffProfileReachesTheAccountButton();
    void showingAgainLoadsAgainOnce();
    void failedReloadKeepsTheRows();
    void membersAreRefused();
    void decisionDefaults_data();
    void decisionDefaults();
    void countedTime();
    void saveNeedsAVisibleReasonOrNote();
    void actionBodies_data();
    void actionBodies();
    void memberSeesTheRejection();
    void notOkIsAFailure();
    void concurrentReviewKeepsThePageOpen();
    void decisionOutlivesAnEndedSession();
    void idStaysOneSegment();
    void dotIdsReachNoOtherEndpoint_data();
    void dotIdsReachNoOtherEndpoint();
    void reviewedAtBeyondRangeIsLeftOut();
    void deletionForDevelopersOnly_data();
    void deletionForDevelopersOnly();
    void routeVerdicts_data();
    void routeVerdicts();
    void callsignVerdicts_data();
    void callsignVerdicts();
    void checksFetchedWithTheList();
    void checksReadInEnglish();
    void historyRows_data();
    void historyRows();
    void historyOfTheSampleService();
    void failedEvidenceFetchesNoHistory();

private:
    // The queue of a signed-in staff account, loaded; the review of one of its reports.
    void signIn(const QString &username);
    std::unique_ptr<PirepReviewModel> review(const QString &id);
    QJsonObject lastBody(const QString &path) const;

    std::unique_ptr<Site> m_site;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<ReviewWorkbenchModel> m_queue;
    FlightActivityNavigation m_ownFlight{nullptr};
    const Installed<FlightActivityNavigation> m_installedOwnFlight{m_ownFlight};
};

void ReviewTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
}

void ReviewTest::cleanup()
{
    m_queue.reset();
    m_app.reset();
    m_site.reset();
}

void ReviewTest::signIn(const QString &username)
{
    m_queue.reset();
    m_app = signedInApp(*m_site, username);
    m_queue = std::make_unique<ReviewWorkbenchModel>();
    m_queue->setAppState(m_app.get());
    await(m_queue->load());
}

std::unique_ptr<PirepReviewModel> ReviewTest::review(const QString &id)
{
    // Opened as the queue's card opens it: a review page on the home tab's stack.
    auto model = std::make_unique<PirepReviewModel>();
    model->setAppState(m_app.get());
    MemberNavigation navigation;
    m_queue->openReview(&navigation, id);
    const int top = int(navigation.path(NavigationStack::HomeStack).size()) - 1;
    model->openRoute(&navigation, PageRoute{NavigationStack::HomeStack, top, ShellPage::Review});
    return model;
}

QJsonObject ReviewTest::lastBody(const QString &path) const
{
    const QList<Sample::Request> sent = m_site->service->requestsTo(path);
    return sent.isEmpty() ? QJsonObject() : QJsonDocument::fromJson(sent.last().body).object();
}

void ReviewTest::queueFiltersAndCounts()
{
    signIn("wangfang");
    QCOMPARE(m_queue->error(), QString());
    QCOMPARE(m_site->service->requestsTo("/api/admin/pireps").size(), 1);
    QCOMPARE(m_site->service->requestsTo("/api/admin/pireps").first().query.toString(), QString("checks=0"));
    QCOMPARE(titles(m_queue->filterOptions()), (QStringList{"待审核 4", "问询 1", "已批准 15", "未批准 4"}));
    QCOMPARE(m_queue->pendingCount(), QString("4"));
    QCOMPARE(m_queue->inquiryCount(), QString("1"));

    // A held pending report counts under the inquiry only; one held at 0 is simply pending.
    QCOMPARE(ids(m_queue->visible()), (QStringList{"p-24436", "p-24433", "p-24418", "p-24412"}));
    m_queue->setFilter("inquiry");
    QCOMPARE(ids(m_queue->visible()), QStringList{"p-24421"});
    QCOMPARE(m_queue->heading(), QString("问询"));
    QCOMPARE(m_queue->countText(), QString("1 份报告"));

    // A hold on a decided report does not move it out of its status.
    Pirep approved = report("approved", 1700000000);
    QVERIFY(ReviewWorkbenchModel::belongs(approved, "approved"));
    QVERIFY(!ReviewWorkbenchModel::belongs(approved, "inquiry"));
    QVERIFY(!ReviewWorkbenchModel::belongs(report("Approved"), "approved"));
}

void ReviewTest::queueSearch_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("emptyText");
    QTest::newRow("codes in lower case") << "pending"
                                         << "ksfo klax" << QStringList{"p-24436"} << "";
    QTest::newRow("codes in reverse order") << "pending"
                                            << "klax ksfo" << QStringList{} << "请尝试其他搜索内容。";
    QTest::newRow("the return flight") << "rejected"
                                       << " klax ksfo\n"
                                       << QStringList{"p-24300"} << "";
    QTest::newRow("applicant") << "pending"
                               << "ZHOUNING" << QStringList{"p-24436"} << "";
    QTest::newRow("livery, in service order")
        << "approved"
        << "china eastern" << QStringList{"p-24290", "p-24240", "p-23950", "p-23902"} << "";
    QTest::newRow("blanks only: the whole filter")
        << "pending"
        << "   " << QStringList{"p-24436", "p-24433", "p-24418", "p-24412"} << "";
    QTest::newRow("nothing found") << "inquiry"
                                   << "   zzz" << QStringList{} << "请尝试其他搜索内容。";
}

void ReviewTest::queueSearch()
{
    QFETCH(QString, filter);
    QFETCH(QString, search);
    QFETCH(QStringList, shown);
    QFETCH(QString, emptyText);
    signIn("wangfang");
    m_queue->setFilter(filter);
    m_queue->setSearch(search);
    QCOMPARE(ids(m_queue->visible()), shown);
    QCOMPARE(m_queue->reports()->rowCount(), shown.size());
    QCOMPARE(m_queue->showsEmpty(), shown.isEmpty());
    if (!emptyText.isEmpty())
        QCOMPARE(m_queue->emptyDescription(), emptyText);
    // Counts ignore the search.
    QCOMPARE(m_queue->pendingCount(), QString("4"));
}

void ReviewTest::queueCardTexts_data()
{
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<QString>("equipment");
    QTest::addColumn<bool>("dated");
    const QJsonObject both{
        {"aircraft", "Airbus A320"}, {"livery", "China Eastern"}, {"submittedAt", 1764000000}};
    const auto with = [&both](const char *key, const QJsonValue &value) {
        QJsonObject fields = both;
        if (value.isUndefined())
            fields.remove(QLatin1String(key));
        else
            fields.insert(QLatin1String(key), value);
        return fields;
    };
    QTest::newRow("aircraft and livery") << both << "Airbus A320 · China Eastern" << true;
    QTest::newRow("no livery") << with("livery", "") << "Airbus A320" << true;
    QTest::newRow("no aircraft") << with("aircraft", "") << "China Eastern" << true;
    QTest::newRow("submitted at 0") << with("submittedAt", 0) << "Airbus A320 · China Eastern" << false;
    QTest::newRow("submitted before 1970")
        << with("submittedAt", -60) << "Airbus A320 · China Eastern" << false;
    QTest::newRow("no submission time")
        << with("submittedAt", QJsonValue::Undefined) << "Airbus A320 · China Eastern" << false;
}

void ReviewTest::queueCardTexts()
{
    QFETCH(QJsonObject, fields);
    QFETCH(QString, equipment);
    QFETCH(bool, dated);
    QJsonObject report{{"id", "p-30001"},
                       {"departureCode", "ZBAA"},
                       {"arrivalCode", "ZSSS"},
                       {"durationMinutes", 125},
                       {"landings", 1},
                       {"status", "pending"},
                       {"applicantUsername", "lichen"}};
    for (auto field = fields.constBegin(); field != fields.constEnd(); ++field)
        report.insert(field.key(), field.value());
    m_site->service->setFault("/api/admin/pireps", {.json = QJsonObject{{"pireps", QJsonArray{report}}}});
    signIn("wangfang");
    m_queue->setFilter("pending");
    QAbstractItemModel *cards = m_queue->reports();
    QCOMPARE(cards->rowCount(), 1);
    const QModelIndex card = cards->index(0, 0);
    QCOMPARE(card.data(QueueList::EquipmentRole).toString(), equipment);
    const QString submitted = card.data(QueueList::SubmittedRole).toString();
    // A card with no time to tell shows none, not the first day of 1970.
    QCOMPARE(!submitted.isEmpty(), dated);
    QVERIFY2(!submitted.contains("1970") && !submitted.contains("1969"), qPrintable(submitted));
}

void ReviewTest::staffHeader_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("role");
    QTest::newRow("admin") << "wangfang"
                           << "王芳"
                           << "管理员";
    QTest::newRow("developer") << "zhaolei"
                               << "赵磊"
                               << "Developer";
}

void ReviewTest::staffHeader()
{
    QFETCH(QString, username);
    QFETCH(QString, name);
    QFETCH(QString, role);
    signIn(username);
    QCOMPARE(m_queue->staffName(), name);
    QCOMPARE(m_queue->roleLabel(), role);
}

void ReviewTest::staffProfileReachesTheAccountButton()
{
    // The staff's home loads their profile and avatar, which the shell's account button shows ("IFC" and
    // the blank avatar only until then).
    signIn("wangfang");
    QVERIFY(!m_app->hasProfile());
    m_queue->appear();
    QTRY_VERIFY(m_app->hasProfile() && m_app->hasAvatar());
    QCOMPARE(m_app->formattedCallsign(), QString("B-018CA"));
    QCOMPARE(m_site->service->requestsTo("/api/profile/avatar").size(), 1);
}

void ReviewTest::showingAgainLoadsAgainOnce()
{
    // zhaolei has no avatar: each showing asks for his profile again.
    signIn("zhaolei");
    m_site->service->clearRequests();
    m_queue->appear();
    m_queue->appear(); // shown again before the first load answered
    QTRY_VERIFY(!m_queue->loading());
    QTest::qWait(100); // a second request would have arrived by now
    QCOMPARE(m_site->service->requestsTo("/api/admin/pireps").size(), 1);
    QCOMPARE(m_site->service->requestsTo("/api/profile").size(), 1);
    m_queue->appear();
    QTRY_COMPARE(m_site->service->requestsTo("/api/admin/pireps").size(), 2);
    QTRY_COMPARE(m_site->service->requestsTo("/api/profile").size(), 2);
}

void ReviewTest::failedReloadKeepsTheRows()
{
    signIn("wangfang");
    m_site->service->setFault("/api/admin/pireps", {.status = 500, .times = 1});
    await(m_queue->load());
    QVERIFY(!m_queue->error().isEmpty());
    QCOMPARE(m_queue->reports()->rowCount(), 4);
    QVERIFY(!m_queue->showsEmpty());
    QVERIFY(!m_queue->loading());
    await(m_queue->load());
    QCOMPARE(m_queue->error(), QString());
}

void ReviewTest::membersAreRefused()
{
    signIn("lichen");
    QCOMPARE(m_queue->error(), QString("只有管理员可以审核飞行报告。"));
    QCOMPARE(m_queue->reports()->rowCount(), 0);
    QVERIFY(!m_queue->showsEmpty());

    // Regression: a member's tabs made the staff's home for a moment, which fetched his profile again.
    m_site->service->clearRequests();
    ReviewWorkbenchModel passing;
    passing.setAppState(m_app.get());
    passing.appear();
    QTest::qWait(200);
    QCOMPARE(m_site->service->requestsTo("/api/admin/pireps").size(), 0);
    QCOMPARE(m_site->service->requestsTo("/api/profile").size(), 0);
}

void ReviewTest::decisionDefaults_data()
{
    QTest::addColumn<Pirep>("given");
    QTest::addColumn<QString>("decision");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("held");
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("multiplier");
    QTest::addColumn<bool>("savable"); // whether the decision may be saved as it opens

    const QStringList all{"批准", "问询", "不批准"};
    const QStringList decided{"批准", "不批准"};
    Pirep held = report("pending", 1);
    held.holdNote = QStringLiteral("请补充截图");
    held.rejectionReason = QStringLiteral("旧的原因");
    QTest::newRow("pending") << report("pending") << "approved"
                             << "审核结果" << all << false << "" << 0 << true;
    QTest::newRow("held") << held << "inquiry"
                          << "审核结果" << all << true << "请补充截图" << 0 << true;
    // An inquiry whose note shows nothing asks the member nothing: blanks, line breaks, an ideographic
    // space.
    Pirep heldBlank = report("pending", 1);
    heldBlank.holdNote = QStringLiteral(" \n\t\r\n\u3000");
    QTest::newRow("held, its note blank") << heldBlank << "inquiry"
                                          << "审核结果" << all << true << " \n\t\r\n\u3000" << 0 << false;
    QTest::newRow("held at 0") << report("pending", 0) << "approved"
                               << "审核结果" << all << false << "" << 0 << true;
    Pirep approved = report("approved");
    approved.multiplierPercent = 187.5;
    QTest::newRow("approved") << approved << "approved"
                              << "修改审核结果" << decided << false << "" << 3 << true;
    Pirep rejected = report("rejected", 1);
    rejected.holdNote = QStringLiteral("不是问询");
    rejected.multiplierPercent = 110;
    // No reason came with it: one must be written before the rejection is saved again.
    QTest::newRow("rejected, an odd multiplier") << rejected << "rejected"
                                                 << "修改审核结果" << decided << false << "" << -1 << false;
}

void ReviewTest::decisionDefaults()
{
    QFETCH(Pirep, given);
    QFETCH(QString, decision);
    QFETCH(QString, title);
    QFETCH(QStringList, options);
    QFETCH(bool, held);
    QFETCH(QString, note);
    QFETCH(int, multiplier);
    QFETCH(bool, savable);
    PirepReviewModel model;
    model.setPirep(given);
    QCOMPARE(model.decision(), decision);
    QCOMPARE(model.decisionTitle(), title);
    QCOMPARE(titles(model.decisionOptions()), options);
    QCOMPARE(model.held(), held);
    QCOMPARE(model.showsHoldNote(), held);
    QCOMPARE(model.note(), note);
    QCOMPARE(model.reason(), given.rejectionReason.value_or(QString()));
    QCOMPARE(model.multiplierIndex(), multiplier);
    QCOMPARE(model.percent(), given.multiplierPercent.value_or(100));
    QCOMPARE(model.canSave(), savable);
}

void ReviewTest::countedTime()
{
    Pirep counted = report("pending");
    counted.durationMinutes = 95;
    counted.multiplierPercent = 187.5;
    QCOMPARE(counted.countedMinutes(), 178.0);
    PirepReviewModel model;
    model.setPirep(counted);
    QCOMPARE(model.flightTimeText(), QString("1 小时 35 分"));
    QCOMPARE(model.countedText(), QString("2 小时 58 分"));
    // The picker's choice does not change what the report counts.
    model.setMultiplierIndex(0);
    QCOMPARE(model.countedText(), QString("2 小时 58 分"));
}

void ReviewTest::saveNeedsAVisibleReasonOrNote()
{
    PirepReviewModel model;
    model.setPirep(report("pending"));
    QVERIFY(model.canSave());
    model.setDecision("rejected");
    model.setReason(" \n\t");
    QVERIFY(!model.canSave());
    model.setReason(" 缺少截图\n");
    QVERIFY(model.canSave());
    model.setDecision("inquiry");
    QVERIFY(!model.canSave());
    model.setNote("补充");
    QVERIFY(model.canSave());
    QCOMPARE(model.saveSymbol(), QString("questionmark.bubble"));
    QVERIFY(!model.saveApproves());
    // Regression: a note of thousands of characters was sent into the member's history. 500 at most,
    // counted as a reader counts them.
    model.setNote(QString(499, QChar(u'补')) + QStringLiteral("👍🏽"));
    QVERIFY(model.canSave());
    model.setNote(QString(501, QChar(u'补')));
    QVERIFY(!model.canSave());
    model.setDecision("rejected");
    model.setReason(QString(501, QChar(u'x')));
    QVERIFY(!model.canSave());
}

void ReviewTest::actionBodies_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QStringList>("edits"); // "decision=…", "reason=…", "note=…", "percent=<index>"
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("body");
    QTest::addColumn<QString>("filterAfter"); // where the queue shows the report afterwards

    QTest::newRow("approve a pending report")
        << "wangfang"
        << "p-24433" << QStringList{} << "review"
        << "/api/admin/pireps/p-24433/review"
        << QJsonObject{{"decision", "approved"}, {"reason", ""}, {"amend", false}} << "approved";
    // Regression: a reason typed and then left behind was stored with the approval.
    QTest::newRow("approve after typing a reason")
        << "wangfang"
        << "p-24433" << QStringList{"decision=rejected", "reason=截图模糊", "decision=approved"} << "review"
        << "/api/admin/pireps/p-24433/review"
        << QJsonObject{{"decision", "approved"}, {"reason", ""}, {"amend", false}} << "approved";
    QTest::newRow("reject, the reason untrimmed")
        << "wangfang"
        << "p-24412" << QStringList{"decision=rejected", "reason= 缺少截图\n"} << "review"
        << "/api/admin/pireps/p-24412/review"
        << QJsonObject{{"decision", "rejected"}, {"reason", " 缺少截图\n"}, {"amend", false}} << "rejected";
    QTest::newRow("amend a rejection") << "zhaolei"
                                       << "p-24300" << QStringList{"decision=approved"} << "review"
                                       << "/api/admin/pireps/p-24300/review"
                                       << QJsonObject{{"decision", "approved"},
                                                      {"reason", ""},
                                                      {"amend", true},
                                                      {"expectedReviewedAt", 1700000000}}
                                       << "approved";
    QTest::newRow("inquire") << "wangfang"
                             << "p-24433" << QStringList{"decision=inquiry", "note=请补充落地截图 "} << "hold"
                             << "/api/admin/pireps/p-24433/hold"
                             << QJsonObject{{"hold", true}, {"note", "请补充落地截图 "}} << "inquiry";
    QTest::newRow("release") << "wangfang"
                             << "p-24421" << QStringList{} << "release"
                             << "/api/admin/pireps/p-24421/hold" << QJsonObject{{"hold", false}, {"note", ""}}
                             << "pending";
    QTest::newRow("multiplier") << "wangfang"
                                << "p-24433" << QStringList{"percent=3"} << "multiplier"
                                << "/api/admin/pireps/p-24433/multiplier" << QJsonObject{{"percent", 187.5}}
                                << "pending";
    QTest::newRow("delete") << "zhaolei"
                            << "p-24418" << QStringList{} << "delete"
                            << "/api/admin/pireps/p-24418/delete" << QJsonObject{} << "";
}

void ReviewTest::actionBodies()
{
    QFETCH(QString, username);
    QFETCH(QString, id);
    QFETCH(QStringList, edits);
    QFETCH(QString, action);
    QFETCH(QString, path);
    QFETCH(QJsonObject, body);
    QFETCH(QString, filterAfter);
    signIn(username);
    const auto model = review(id);
    for (const QString &edit : std::as_const(edits)) {
        const QString value = edit.section('=', 1);
        if (edit.startsWith("decision="))
            model->setDecision(value);
        else if (edit.startsWith("reason="))
            model->setReason(value);
        else if (edit.startsWith("note="))
            model->setNote(value);
        else
            model->setMultiplierIndex(value.toInt());
    }
    if (action == "review" || action == "hold")
        model->save();
    else
        model->ask(action);
    QCOMPARE(model->confirmAction(), action);
    QVERIFY(model->confirming());
    QCOMPARE(model->confirmTitle(), action == "delete" ? QString("永久删除报告") : QString("保存修改"));

    // The page closes only once the queue has been fetched again.
    const qsizetype loadsBefore = m_site->service->requestsTo("/api/admin/pireps").size();
    QSignalSpy closed(model.get(), &PirepReviewModel::closed);
    connect(model.get(), &PirepReviewModel::closed, this,
            [&] { QCOMPARE(m_site->service->requestsTo("/api/admin/pireps").size(), loadsBefore + 1); });
    await(model->perform());
    QCOMPARE(model->error(), QString());
    QCOMPARE(closed.size(), 1);
    QCOMPARE(m_site->service->requestsTo(path).size(), 1);
    QCOMPARE(lastBody(path), body);
    QCOMPARE(m_site->service->requestsTo(path).first().header("Content-Type"),
             QByteArray("application/json"));

    // The service took it: the reloaded queue shows the report where the action put it.
    const std::optional<Pirep> after = m_queue->report(id);
    QCOMPARE(after.has_value(), !filterAfter.isEmpty());
    if (after) {
        QVERIFY(ReviewWorkbenchModel::belongs(*after, filterAfter));
        if (action == "multiplier")
            QCOMPARE(after->multiplierPercent, std::optional<double>(187.5));
    }
}

void ReviewTest::memberSeesTheRejection()
{
    signIn("wangfang");
    const auto model = review("p-24433");
    model->setDecision("rejected");
    model->setReason("截图里看不到落地时间。");
    model->save();
    await(model->perform());
    QCOMPARE(model->error(), QString());

    const auto member = signedInApp(*m_site, "lichen");
    const PirepResponse own =
        await(member->api()->decode<PirepResponse>(member->api()->makeRequest("/api/pireps", "GET")));
    const auto found = std::find_if(own.pireps.cbegin(), own.pireps.cend(),
                                    [](const Pirep &report) { return report.id == "p-24433"; });
    QVERIFY(found != own.pireps.cend());
    QCOMPARE(found->status, QString("rejected"));
    QCOMPARE(found->rejectionReason, std::optional<QString>("截图里看不到落地时间。"));
    QCOMPARE(found->reviewerName, std::optional<QString>("王芳"));
}

void ReviewTest::notOkIsAFailure()
{
    signIn("wangfang");
    const auto model = review("p-24433");
    // Regression: an answer of {"ok": false} was taken for a saved decision.
    m_site->service->setFault("/api/admin/pireps/p-24433/review", {.json = QJsonObject{{"ok", false}}});
    QSignalSpy closed(model.get(), &PirepReviewModel::closed);
    model->save();
    await(model->perform());
    QCOMPARE(model->error(), QString("服务器没有确认这项修改，请刷新后查看。"));
    QCOMPARE(closed.size(), 0);
    QVERIFY(!model->busy());
    QVERIFY(model->canSave());
}

void ReviewTest::decisionOutlivesAnEndedSession()
{
    // Regression: a rejection reason being written was lost when the session ended under the page.
    signIn("wangfang");
    auto model = review("p-24433");
    model->setDecision("rejected");
    model->setReason("截图看不到呼号");
    m_site->service->expireSessions();
    await(m_queue->load());
    QVERIFY(!m_app->signedIn());
    model.reset();

    await(m_app->signIn("wangfang", "fly-vornalia", false));
    await(m_queue->load());
    QCOMPARE(review("p-24421")->reason(), QString()); // another report's page
    model = review("p-24433");
    QCOMPARE(model->decision(), QString("rejected"));
    QCOMPARE(model->reason(), QString("截图看不到呼号"));
}

void ReviewTest::concurrentReviewKeepsThePageOpen()
{
    signIn("wangfang");
    const auto mine = review("p-24398");
    // Another reviewer amends the report first.
    const auto theirs = review("p-24398");
    theirs->setDecision("rejected");
    theirs->setReason("航线不符");
    theirs->save();
    await(theirs->perform());
    QCOMPARE(theirs->error(), QString());

    mine->setMultiplierIndex(1);
    mine->setDecision("rejected");
    mine->setReason("截图不清楚");
    mine->save();
    QSignalSpy closed(mine.get(), &PirepReviewModel::closed);
    await(mine->perform());
    QCOMPARE(mine->error(), QString("该报告已被其他管理员审核，请刷新后重试。"));
    QCOMPARE(closed.size(), 0);
    QVERIFY(!mine->busy());
    QCOMPARE(mine->reason(), QString("截图不清楚"));
    QCOMPARE(mine->multiplierIndex(), 1);
    // The other reviewer's decision stands.
    QCOMPARE(m_queue->report("p-24398")->rejectionReason, std::optional<QString>("航线不符"));
}

void ReviewTest::idStaysOneSegment()
{
    signIn("zhaolei");
    PirepReviewModel model;
    model.setAppState(m_app.get());
    Pirep odd = report("pending");
    // Regression: an id with slashes could reach another report's delete.
    odd.id = QStringLiteral("p-24418/../p-24433");
    model.setPirep(odd);
    model.ask("delete");
    await(model.perform());
    // The service reads the path decoded; sent unencoded, the dots would have been resolved away.
    QCOMPARE(m_site->service->requestsTo("/api/admin/pireps/p-24418/../p-24433/delete").size(), 1);
    QCOMPARE(m_site->service->requestsTo("/api/admin/pireps/p-24433/delete").size(), 0);
    QVERIFY(!model.error().isEmpty());
    QVERIFY(m_queue->report("p-24418") && m_queue->report("p-24433"));
    await(m_queue->load());
    QVERIFY(m_queue->report("p-24418") && m_queue->report("p-24433"));
}

void ReviewTest::dotIdsReachNoOtherEndpoint_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("action");
    // Regression: "." and ".." were resolved out of the path, so a decision on report "." posted to
    // "/api/admin/pireps/review" and the evidence of ".." was asked of "/api/evidence".
    QTest::newRow("decision on .") << QString(".") << QString("review");
    QTest::newRow("hold on ..") << QString("..") << QString("hold");
    QTest::newRow("deletion of ..") << QString("..") << QString("delete");
}

void ReviewTest::dotIdsReachNoOtherEndpoint()
{
    QFETCH(QString, id);
    QFETCH(QString, action);
    signIn("zhaolei");
    PirepReviewModel model;
    model.setAppState(m_app.get());
    Pirep odd = report("pending");
    odd.id = id;
    model.setPirep(odd);
    m_site->service->clearRequests();
    model.ask(action);
    await(model.perform());
    QCOMPARE(model.error(), QString("无效的接口地址。"));
    await(model.loadRecords());
    QCOMPARE(model.error(), QString("无效的接口地址。"));
    QCOMPARE(m_site->service->requests().size(), 0);
}

void ReviewTest::reviewedAtBeyondRangeIsLeftOut()
{
    PirepReviewModel model;
    Pirep far = report("approved");
    // Regression: converting such a time to a 64-bit integer was undefined.
    far.reviewedAt = 1e300;
    model.setPirep(far);
    const QJsonObject body = model.body("review");
    QVERIFY(!body.contains("expectedReviewedAt"));
    QCOMPARE(body.value("amend"), QJsonValue(true));
    far.reviewedAt = -1.5;
    model.setPirep(far);
    QCOMPARE(model.body("review").value("expectedReviewedAt"), QJsonValue(-1));
}

void ReviewTest::deletionForDevelopersOnly_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<bool>("offered");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("admin") << "wangfang" << false << "只有开发者可以删除报告。";
    QTest::newRow("developer") << "zhaolei" << true << "";
}

void ReviewTest::deletionForDevelopersOnly()
{
    QFETCH(QString, username);
    QFETCH(bool, offered);
    QFETCH(QString, refusal);
    signIn(username);
    const auto model = review("p-24412");
    QCOMPARE(model->showsDelete(), offered);
    // The service refuses an admin's deletion too.
    model->ask("delete");
    QCOMPARE(model->confirmMessage(), QString("此操作会永久删除报告及附件，无法恢复。"));
    await(model->perform());
    QCOMPARE(model->error(), refusal);
    QCOMPARE(m_queue->report("p-24412").has_value(), !offered);
}

void ReviewTest::routeVerdicts_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("tone");
    QTest::newRow("found, mismatch") << "found"
                                     << "mismatch"
                                     << QStringList{"⚠ 最近 10 次飞行里有这条航线，但呼号与该次飞行不一致"}
                                     << int(ReviewText::Tone::Bad);
    QTest::newRow("found, match") << "found"
                                  << "match"
                                  << QStringList{"✓ 最近 10 次飞行里找到这条航线", "呼号与该次飞行一致"}
                                  << int(ReviewText::Tone::Good);
    QTest::newRow("found, unknown") << "found"
                                    << "unknown" << QStringList{"✓ 最近 10 次飞行里找到这条航线"}
                                    << int(ReviewText::Tone::Good);
    QTest::newRow("not found, match")
        << "not_found"
        << "match" << QStringList{"⚠ 最近 10 次飞行里没有这条航线"} << int(ReviewText::Tone::Bad);
    QTest::newRow("empty") << ""
                           << "match" << QStringList{"未能核对（IF 暂时不可用）"}
                           << int(ReviewText::Tone::Neutral);
    QTest::newRow("another case") << "Found"
                                  << "match" << QStringList{"未能核对（IF 暂时不可用）"}
                                  << int(ReviewText::Tone::Neutral);
}

void ReviewTest::routeVerdicts()
{
    QFETCH(QString, route);
    QFETCH(QString, callsign);
    QFETCH(QStringList, lines);
    QFETCH(int, tone);
    Pirep checked = report("pending");
    checked.ifRouteCheck = route;
    checked.ifCallsignCheck = callsign;
    const QList<ReviewText::Line> shown = ReviewText::routeCheck(checked);
    QCOMPARE(texts(shown), lines);
    QCOMPARE(int(shown.first().tone), tone);

    // The caption follows, and the section is not empty.
    PirepReviewModel model;
    model.setPirep(checked);
    QCOMPARE(texts(model.checkList()).last(), QString("上传时自动核对的结果"));
    QVERIFY(!model.showsNoChecks());
}

void ReviewTest::callsignVerdicts_data()
{
    using Callsign = std::optional<QString>;
    QTest::addColumn<Callsign>("uploaded");
    QTest::addColumn<Callsign>("actual");
    QTest::addColumn<Callsign>("site");
    QTest::addColumn<QString>("verdict");
    const Callsign none;
    QTest::newRow("all alike once normalised")
        << Callsign("B-207CA") << Callsign("b207ca") << Callsign("B 207CA") << "✓ 呼号统一";
    QTest::newRow("two alike, site absent")
        << Callsign("B-207CA") << Callsign("B207CA") << none << "无法确认";
    QTest::newRow("two differ, site absent")
        << Callsign("B-207CA") << Callsign("B-208CA") << none << "⚠ 呼号不统一";
    QTest::newRow("all absent") << none << none << none << "无法确认";
    QTest::newRow("all empty") << Callsign("") << Callsign("") << Callsign("") << "无法确认";
    QTest::newRow("blanks count as one")
        << Callsign("   ") << Callsign("B207CA") << Callsign("B207CA") << "⚠ 呼号不统一";
    QTest::newRow("non-ASCII letters dropped")
        << Callsign("B207CA航") << Callsign("B207CA") << Callsign("b207ca") << "✓ 呼号统一";
    QTest::newRow("non-ASCII digits kept")
        << Callsign("B２07CA") << Callsign("B207CA") << Callsign("B207CA") << "⚠ 呼号不统一";
    // Regression: numerals that are letters by category were dropped, so "A一" read as "A".
    QTest::newRow("Han numeral kept") << Callsign("A一") << Callsign("A") << Callsign("A") << "⚠ 呼号不统一";
    QTest::newRow("Han numerals alike")
        << Callsign("B-七〇七") << Callsign("b七〇七") << Callsign("B 七〇七") << "✓ 呼号统一";
    QTest::newRow("Roman numeral upper-cased")
        << Callsign("Bⅻ") << Callsign("BⅫ") << Callsign("bⅫ") << "✓ 呼号统一";
}

void ReviewTest::callsignVerdicts()
{
    QFETCH(std::optional<QString>, uploaded);
    QFETCH(std::optional<QString>, actual);
    QFETCH(std::optional<QString>, site);
    QFETCH(QString, verdict);
    QCOMPARE(ReviewText::callsignVerdict({uploaded, actual, site, std::nullopt}).text, verdict);
}

void ReviewTest::checksFetchedWithTheList()
{
    signIn("wangfang");
    const auto model = review("p-24436");
    // The queue's list comes without the checks.
    QVERIFY(!model->checked().ifRouteCheck);
    QVERIFY(model->showsNoChecks());
    await(model->loadChecks());
    QCOMPARE(model->checkError(), QString());
    QCOMPARE(m_site->service->requestsTo("/api/admin/pireps").last().query.toString(), QString());
    QCOMPARE(texts(model->checkList()),
             (QStringList{"上传的呼号：B-342CA", "⚠ 最近 10 次飞行里有这条航线，但呼号与该次飞行不一致",
                          "上传时自动核对的结果", "✓ 呼号统一", "上传的呼号：B-342CA",
                          "IF 实际呼号：b 342 ca", "网站设置的呼号：B342-CA"}));
    // Regression: each callsign was one line of text; it is a row with its title apart from its value.
    QCOMPARE(labelledRows(model->checkList()),
             (QStringList{"上传的呼号|B-342CA", "上传的呼号|B-342CA", "IF 实际呼号|b 342 ca",
                          "网站设置的呼号|B342-CA"}));

    // A failed fetch keeps what was known and offers the retry.
    m_site->service->setFault("/api/admin/pireps", {.status = 503, .times = 1});
    await(model->loadChecks());
    QVERIFY(!model->checkError().isEmpty());
    QCOMPARE(model->checked().ifRouteCheck, std::optional<QString>("found"));
    QVERIFY(!model->showsNoChecks());

    // Missing simulator callsigns say why.
    QCOMPARE(ReviewText::missingCallsign(QString("no_flight")), QString("最近 10 次飞行里找不到这条航线"));
    QCOMPARE(ReviewText::missingCallsign(QString("no_account")), QString("找不到对应的 IF 账号"));
    QCOMPARE(ReviewText::missingCallsign(QString("rate_limited")), QString("请求过多，稍后刷新"));
    QCOMPARE(ReviewText::missingCallsign(std::nullopt), QString("IF 服务暂时不可用"));
}

// Regression: the English check lines joined their labels and values with the Chinese full-width colon.
void ReviewTest::checksReadInEnglish()
{
    const LanguageScope english("en");
    Pirep checked = report("pending");
    checked.flightCallsign = QStringLiteral("CES123");
    checked.callsignReview =
        CallsignReview{QStringLiteral("CES123"), std::nullopt, std::nullopt, QStringLiteral("no_account")};
    QCOMPARE(texts(ReviewText::checks(checked)),
             (QStringList{"Uploaded callsign: CES123", "Cannot confirm", "Uploaded callsign: CES123",
                          "Callsign in IF: No matching IF account", "Callsign on the website: Not set"}));
}

void ReviewTest::historyRows_data()
{
    QTest::addColumn<QJsonObject>("entry");
    QTest::addColumn<QStringList>("lines"); // title, status, reason, multiplier as shown; time last
    QTest::newRow("nothing") << QJsonObject{{"kind", QJsonValue::Null}} << QStringList{"— · 变更", "—"};
    QTest::newRow("approval at ×1.5")
        << QJsonObject{{"kind", "审核"}, {"actor", "王芳"}, {"toStatus", "approved"}, {"toPercent", 150}}
        << QStringList{"王芳 · 审核", "批准", "×1.5", "—"};
    QTest::newRow("rejection with a reason")
        << QJsonObject{{"actor", "赵磊"}, {"toStatus", "rejected"}, {"toReason", ""}, {"toPercent", 187.5}}
        << QStringList{"赵磊 · 变更", "不批准", "", "×1.875", "—"};
    QTest::newRow("status outside the table")
        << QJsonObject{{"kind", "撤回"}, {"toStatus", "withdrawn"}, {"toPercent", 100}}
        << QStringList{"— · 撤回", "withdrawn", "×1", "—"};
}

void ReviewTest::historyRows()
{
    QFETCH(QJsonObject, entry);
    QFETCH(QStringList, lines);
    const ReviewText::HistoryRow row = ReviewText::historyRow(ReviewEntry::fromJson(entry));
    QStringList shown{row.title};
    for (const std::optional<QString> &line : {row.status, row.reason, row.multiplier}) {
        if (line)
            shown.append(*line);
    }
    shown.append(row.time);
    QCOMPARE(shown, lines);

    // Seconds and milliseconds are the same moment.
    const ReviewEntry seconds = ReviewEntry::fromJson(QJsonObject{{"at", 1700000000}});
    const ReviewEntry milliseconds = ReviewEntry::fromJson(QJsonObject{{"at", 1700000000000.0}});
    QCOMPARE(ReviewText::historyRow(seconds).time, ReviewText::historyRow(milliseconds).time);
    QVERIFY(ReviewText::historyRow(seconds).time != QString("—"));
}

void ReviewTest::historyOfTheSampleService()
{
    signIn("wangfang");
    const auto model = review("p-24421");
    await(model->loadRecords());
    QCOMPARE(model->error(), QString());
    QCOMPARE(model->evidence().size(), 1);
    const QVariantList rows = model->historyRows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).toMap().value("title").toString(), QString("lichen · 提交"));
    QCOMPARE(rows.at(0).toMap().value("lines").toStringList(), QStringList{"待审核"});
    QCOMPARE(rows.at(1).toMap().value("title").toString(), QString("王芳 · 问询"));
    QCOMPARE(rows.at(1).toMap().value("lines").toStringList(),
             QStringList{"系统没有匹配到这次飞行。请补充起飞和落地时的截图，需能看清时间和呼号。"});
}

void ReviewTest::failedEvidenceFetchesNoHistory()
{
    signIn("wangfang");
    const auto model = review("p-24421");
    m_site->service->setFault("/api/pireps/p-24421/evidence", {.status = 500, .times = 1});
    await(model->loadRecords());
    QVERIFY(!model->error().isEmpty());
    QVERIFY(model->historyRows().isEmpty());
    QCOMPARE(m_site->service->requestsTo("/api/admin/pireps/p-24421/history").size(), 0);
    // The decision still works.
    QVERIFY(model->canSave());
}

QTEST_MAIN(ReviewTest)
#include "tst_review.moc"
