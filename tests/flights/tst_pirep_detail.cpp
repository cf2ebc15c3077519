#include "AuthenticatedPicture.h"
#include "LatestFlightModel.h"
#include "LogbookModel.h"
#include "MemberStore.h"
#include "PirepDetailModel.h"

#include "MemberTestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;

// The logbook, the report detail with its evidence, the pictures behind the session and the latest-flight
// card, against the sample service of the signed-in member 李辰 (lichen).
class PirepDetailTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void logbookFilters_data();
    void logbookFilters();
    void logbookSearch_data();
    void logbookSearch();
    void logbookStates();
    void detailFacts_data();
    void detailFacts();
    void detailFollowsPirepList();
    void inquiryBlocks();
    void evidenceUploadEndToEnd();
    void unconfirmedUploadKeepsFiles();
    void sixPicturesClosePicker();
    void anotherPirepDropsEvidence();
    void reportIdIsOneSegment();
    void dotPirepIdsAskNothing_data();
    void dotPirepIdsAskNothing();
    void cancelledEvidenceLoadShowsNothing();
    void newestImportApplies();
    void picturesCarryTheSession();
    void pictureFailures_data();
    void pictureFailures();
    void pictureOfNewPathClearsOld();
    void latestCardUsesFiledPlan();
    void latestPlaceholderStates();

private:
    QUrl picture(const QString &name, QSize size, QColor color);
    // That many small pictures of different colours, as one pick.
    QList<QUrl> pictures(int count);
    std::unique_ptr<PirepDetailModel> detail(const QString &reportId);

    std::unique_ptr<Site> m_site;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<MemberData> m_data;
    QTemporaryDir m_folder;
};

void PirepDetailTest::init()
{
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_app = signedInApp(*m_site, "lichen");
    m_data = std::make_unique<MemberData>(m_app->api());
    m_site->service->clearRequests();
}

void PirepDetailTest::cleanup()
{
    m_data.reset();
    m_app.reset();
    m_site.reset();
}

QUrl PirepDetailTest::picture(const QString &name, QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString path = m_folder.filePath(name);
    return image.save(path) ? QUrl::fromLocalFile(path) : QUrl();
}

QList<QUrl> PirepDetailTest::pictures(int count)
{
    QList<QUrl> pick;
    for (int i = 0; i < count; ++i)
        pick.append(
            picture(QStringLiteral("shot-%1.png").arg(i), {320, 240}, QColor::fromHsv(i * 50, 200, 200)));
    return pick;
}

std::unique_ptr<PirepDetailModel> PirepDetailTest::detail(const QString &reportId)
{
    auto model = std::make_unique<PirepDetailModel>();
    model->setAppState(m_app.get());
    model->setMemberData(m_data.get());
    model->setPirepId(reportId);
    return model;
}

static QStringList ids(const LogbookModel &logbook)
{
    QStringList ids;
    for (int row = 0; row < logbook.count(); ++row)
        ids.append(logbook.report(row)->id);
    return ids;
}

void PirepDetailTest::logbookFilters_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("全部") << int(LogbookModel::All)
                          << QStringList{"p-24433", "p-24421", "p-24412", "p-24398", "p-24365", "p-24330",
                                         "p-24302", "p-24240", "p-24176", "p-24131", "p-24112", "p-24088",
                                         "p-24015", "p-23902", "p-23817", "p-23741"};
    // p-24412 has a hold time of 0: it waits for its review, not for evidence.
    QTest::newRow("待审核") << int(LogbookModel::Pending) << QStringList{"p-24433", "p-24412"};
    QTest::newRow("问询") << int(LogbookModel::Inquiry) << QStringList{"p-24421"};
    QTest::newRow("已批准") << int(LogbookModel::Approved)
                            << QStringList{"p-24398", "p-24365", "p-24302", "p-24240", "p-24176", "p-24131",
                                           "p-24088", "p-24015", "p-23902", "p-23817", "p-23741"};
    QTest::newRow("未批准") << int(LogbookModel::Rejected) << QStringList{"p-24330", "p-24112"};
}

void PirepDetailTest::logbookFilters()
{
    QFETCH(int, filter);
    QFETCH(QStringList, expected);
    LogbookModel logbook;
    logbook.setMemberData(m_data.get());
    await(m_data->loadPireps());
    logbook.setFilter(filter);
    QCOMPARE(ids(logbook), expected);
    QCOMPARE(logbook.countText(), QStringLiteral("%1 份报告").arg(expected.size()));
}

void PirepDetailTest::logbookSearch_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<double>("heldAt");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("passes");

    QTest::newRow("a single space matches everything") << "approved" << 0.0 << "all"
                                                       << " " << true;
    QTest::newRow("arrival code runs into the aircraft") << "approved" << 0.0 << "all"
                                                         << "UUAirbus" << true;
    QTest::newRow("airport in lower case") << "approved" << 0.0 << "all"
                                           << "zggg" << true;
    QTest::newRow("full-width letters still count") << "approved" << 0.0 << "all"
                                                    << "ＺＧＧＧ" << false;
    QTest::newRow("not trimmed") << "approved" << 0.0 << "all"
                                 << "ZUUU " << false;
    QTest::newRow("livery") << "approved" << 0.0 << "approved"
                            << "sichuan" << true;
    QTest::newRow("approved with a hold time") << "approved" << 5.0 << "approved"
                                               << "" << true;
    QTest::newRow("rejected with a hold time") << "rejected" << 5.0 << "rejected"
                                               << "" << true;
    QTest::newRow("negative hold is pending") << "pending" << -1.0 << "pending"
                                              << "" << true;
    QTest::newRow("negative hold is no inquiry") << "pending" << -1.0 << "inquiry"
                                                 << "" << false;
    QTest::newRow("held is no longer pending") << "pending" << 5.0 << "pending"
                                               << "" << false;
    QTest::newRow("unknown status under all") << "withdrawn" << 0.0 << "all"
                                              << "" << true;
    QTest::newRow("unknown status under pending") << "withdrawn" << 0.0 << "pending"
                                                  << "" << false;
    QTest::newRow("unknown status under rejected") << "withdrawn" << 0.0 << "rejected"
                                                   << "" << false;
}

void PirepDetailTest::logbookSearch()
{
    QFETCH(QString, status);
    QFETCH(double, heldAt);
    QFETCH(QString, filter);
    QFETCH(QString, search);
    QFETCH(bool, passes);
    Pirep report;
    report.departureCode = QStringLiteral("ZGGG");
    report.arrivalCode = QStringLiteral("ZUUU");
    report.aircraft = QStringLiteral("Airbus A320");
    report.livery = QStringLiteral("Sichuan Airlines");
    report.status = status;
    report.heldAt = heldAt;
    QCOMPARE(LogbookModel::passes(report, filter, search), passes);
}

void PirepDetailTest::logbookStates()
{
    LogbookModel logbook;
    logbook.setMemberData(m_data.get());
    logbook.setSearch(QStringLiteral("KJFK"));
    // Before the first load has ended the empty card does not show; the loader does while it runs.
    QVERIFY(!logbook.showsEmpty());
    logbook.showRecords();
    QVERIFY(logbook.showsLoader());
    QTRY_VERIFY(m_data->state(MemberLoad::Pireps).loaded);
    QVERIFY(!logbook.showsLoader());
    QVERIFY(logbook.showsEmpty());
    QCOMPARE(logbook.countText(), QStringLiteral("0 份报告"));
    // A second appearance loads nothing again.
    m_site->service->clearRequests();
    logbook.showRecords();
    QVERIFY(!m_data->state(MemberLoad::Pireps).loading);
    QVERIFY(m_site->service->requestsTo("/api/pireps").isEmpty());
    // Leaving the records page forgets the filter and search.
    logbook.setFilter(LogbookModel::Rejected);
    logbook.startOver();
    QCOMPARE(logbook.filter(), int(LogbookModel::All));
    QCOMPARE(logbook.count(), 16);
}

void PirepDetailTest::detailFacts_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<double>("minutes");
    QTest::addColumn<std::optional<double>>("percent");
    QTest::addColumn<std::optional<qint64>>("landings");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("values"); // without the submission time

    const QStringList four{"实际飞行时间", "倍数", "降落次数", "提交时间"};
    const QStringList five{"实际飞行时间", "倍数", "计入时长", "降落次数", "提交时间"};
    using Percent = std::optional<double>;
    using Landings = std::optional<qint64>;
    QTest::newRow("61 min × 125 %") << "approved" << 61.0 << Percent(125) << Landings(1) << five
                                    << QStringList{"1 小时 1 分", "×1.25", "1 小时 16 分", "1"};
    // 94.5 rounds away from zero, not to even.
    QTest::newRow("90 min × 105 %") << "approved" << 90.0 << Percent(105) << Landings(0) << five
                                    << QStringList{"1 小时 30 分", "×1.05", "1 小时 35 分", "0"};
    QTest::newRow("no multiplier") << "approved" << 125.0 << Percent() << Landings() << five
                                   << QStringList{"2 小时 5 分", "×1", "2 小时 5 分", "—"};
    QTest::newRow("187.5 %, pending") << "pending" << 98.0 << Percent(187.5) << Landings(2) << four
                                      << QStringList{"1 小时 38 分", "×1.875", "2"};
    QTest::newRow("unknown status") << "withdrawn" << 60.0 << Percent(150) << Landings(1) << four
                                    << QStringList{"1 小时 0 分", "×1.5", "1"};
}

void PirepDetailTest::detailFacts()
{
    QFETCH(QString, status);
    QFETCH(double, minutes);
    QFETCH(std::optional<double>, percent);
    QFETCH(std::optional<qint64>, landings);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, values);
    Pirep report;
    report.id = QStringLiteral("p-local");
    report.status = status;
    report.durationMinutes = minutes;
    report.multiplierPercent = percent;
    report.landings = landings;
    PirepDetailModel model;
    model.setPirep(report);
    QStringList shownTitles, shownValues;
    for (const auto &[title, value] : model.facts()) {
        shownTitles.append(title);
        shownValues.append(value);
    }
    QCOMPARE(shownTitles, titles);
    QCOMPARE(shownValues.mid(0, values.size()), values);
    QCOMPARE(shownValues.last(), QStringLiteral("—")); // no submission time
    // Only a report that is not pending has a review result, with the cross unless approved.
    QCOMPARE(model.showsReview(), status != QLatin1String("pending"));
    QCOMPARE(model.reviewSymbol(), status == QLatin1String("approved") ? QStringLiteral("checkmark.seal.fill")
                                                                       : QStringLiteral("xmark.seal.fill"));
}

void PirepDetailTest::detailFollowsPirepList()
{
    // Opened with the caller's copy, an older one: still pending, without a reviewer.
    Pirep passed;
    passed.id = QStringLiteral("p-24330");
    passed.status = QStringLiteral("pending");
    passed.departureCode = QStringLiteral("KLAX");
    auto model = std::make_unique<PirepDetailModel>();
    model->setAppState(m_app.get());
    model->setMemberData(m_data.get());
    model->setPirep(passed);
    QCOMPARE(model->statusTitle(), QStringLiteral("待审核"));
    QSignalSpy changed(model.get(), &PirepDetailModel::reportChanged);
    await(m_data->loadPireps());
    QVERIFY(!changed.isEmpty());
    QCOMPARE(model->statusTitle(), QStringLiteral("未批准"));
    QCOMPARE(model->reason(),
             QStringLiteral("上传的呼号 B-702CA 与个人资料中的 B-207CA 不一致，请核对后重新提交。"));
    QVERIFY(model->showsReview());
    QVERIFY(!model->showsInquiry());
}

void PirepDetailTest::inquiryBlocks()
{
    await(m_data->loadPireps());
    const auto held = detail(QStringLiteral("p-24421"));
    QVERIFY(held->showsInquiry());
    QVERIFY(held->showsUpload());
    QVERIFY(!held->showsReview());
    QCOMPARE(held->inquirer(), QStringLiteral("问询人：王芳"));
    QCOMPARE(held->inquiry(),
             QStringLiteral("系统没有匹配到这次飞行。请补充起飞和落地时的截图，需能看清时间和呼号。"));

    // A hold time of 0 is no hold.
    const auto waiting = detail(QStringLiteral("p-24412"));
    QVERIFY(!waiting->showsInquiry());
    QVERIFY(!waiting->showsUpload());

    // An empty note is the administrator's words; only a missing one gets the default.
    Pirep report;
    report.id = QStringLiteral("p-local");
    report.status = QStringLiteral("pending");
    report.heldAt = 1;
    PirepDetailModel model;
    model.setPirep(report);
    QCOMPARE(model.inquiry(), QStringLiteral("请上传飞行截图作为补充证明。"));
    QCOMPARE(model.inquirer(), QStringLiteral("问询人：—"));
    QVERIFY(!model.showsUpload()); // nobody signed in
    report.holdNote = QString();
    model.setPirep(report);
    QCOMPARE(model.inquiry(), QString());
}

void PirepDetailTest::evidenceUploadEndToEnd()
{
    await(m_data->loadPireps());
    const auto model = detail(QStringLiteral("p-24421"));
    await(model->loadEvidence());
    QVERIFY2(model->error().isEmpty(), qPrintable(model->error()));
    QCOMPARE(model->evidenceCount(), 1);
    QCOMPARE(model->pickLimit(), 5);
    QCOMPARE(model->limitsText(), QStringLiteral("每份报告最多 6 张，每张不超过 2 MB。已上传 1 张。"));

    // Regression: the desktop's chooser takes any number of pictures; those beyond the report's room were
    // dropped without a word.
    await(model->importPhotos(pictures(7)));
    QCOMPARE(model->fileCount(), 5);
    // Regression: they were told of in the error notice, whose "重试" had nothing to retry, with advice
    // (remove some, then choose) that does not hold where a new pick replaces the pictures.
    QCOMPARE(model->error(), QString());
    QCOMPARE(model->notice(),
             QStringLiteral("这份报告还能添加 5 张截图，2 张没有添加。重新选择会替换已选的截图。"));

    await(model->importPhotos({picture("takeoff.png", {1920, 1080}, Qt::darkBlue),
                               picture("landing.png", {1280, 720}, Qt::darkGreen)}));
    QCOMPARE(model->fileCount(), 2);
    QVERIFY(model->error().isEmpty());
    QVERIFY(model->notice().isEmpty());
    QCOMPARE(model->uploadText(), QStringLiteral("上传 2 张截图"));
    // Removing one by hand leaves the other.
    model->removeFile(1);
    QCOMPARE(model->fileCount(), 1);
    await(model->importPhotos({picture("takeoff.png", {1920, 1080}, Qt::darkBlue),
                               picture("landing.png", {1280, 720}, Qt::darkGreen)}));
    QVERIFY(model->canUpload());
    m_site->service->clearRequests();

    await(model->send());
    QVERIFY2(model->error().isEmpty(), qPrintable(model->error()));
    QVERIFY(model->success());
    QCOMPARE(model->fileCount(), 0);
    QCOMPARE(model->evidenceCount(), 3);
    QVERIFY(!model->busy());

    QList<Sample::Request> posts;
    for (const Sample::Request &request : m_site->service->requestsTo("/api/pireps/p-24421/evidence")) {
        if (request.method == "POST")
            posts.append(request);
    }
    QCOMPARE(posts.size(), 1);
    const QList<Sample::FormPart> parts =
        Sample::parseFormData(posts.first()).value_or(QList<Sample::FormPart>());
    QCOMPARE(parts.size(), 2);
    for (const Sample::FormPart &part : parts) {
        QCOMPARE(part.name, QStringLiteral("files"));
        QCOMPARE(part.contentType, QByteArray("image/jpeg"));
    }
    // After the upload the evidence, then the member's reports, were asked for again.
    QCOMPARE(m_site->service->requestsTo("/api/pireps").size(), 1);
    model->dismissSuccess();
    QVERIFY(!model->success());
}

void PirepDetailTest::unconfirmedUploadKeepsFiles()
{
    // Regression: an answer of "ok": false counted as accepted, and the member's pictures were dropped.
    const auto model = detail(QStringLiteral("p-24421"));
    await(model->importPhotos({picture("takeoff.png", {800, 600}, Qt::darkBlue)}));
    Sample::Fault refused;
    refused.json = QJsonObject{{"ok", false}};
    refused.times = 1;
    m_site->service->setFault(QStringLiteral("/api/pireps/p-24421/evidence"), refused);
    await(model->send());
    QCOMPARE(model->error(), QStringLiteral("截图上传未被确认，请刷新后查看已上传截图。"));
    QVERIFY(!model->success());
    QCOMPARE(model->fileCount(), 1);
    QVERIFY(model->canUpload());

    // A refusal of the service keeps them too, with its message.
    m_site->service->setFault(QStringLiteral("/api/pireps/p-24421/evidence"),
                              Sample::Fault{.status = 500, .times = 1});
    await(model->send());
    QVERIFY(!model->error().isEmpty());
    QCOMPARE(model->fileCount(), 1);
}

void PirepDetailTest::sixPicturesClosePicker()
{
    const auto model = detail(QStringLiteral("p-24421"));
    await(model->loadEvidence());
    const QList<QUrl> five = pictures(5);
    await(model->importPhotos(five));
    QCOMPARE(model->fileCount(), 5);
    await(model->send());
    QVERIFY2(model->error().isEmpty(), qPrintable(model->error()));
    QCOMPARE(model->evidenceCount(), 6);
    QVERIFY(!model->canPick());
    QCOMPARE(model->pickLimit(), 1);
    QCOMPARE(model->limitsText(), QStringLiteral("每份报告最多 6 张，每张不超过 2 MB。已上传 6 张。"));
    // More than the service takes: its refusal is the page's error, the pictures stay.
    await(model->importPhotos({five.first()}));
    await(model->send());
    QCOMPARE(model->error(), QStringLiteral("每份报告最多 6 张截图，已上传 6 张。"));
    QCOMPARE(model->fileCount(), 1);
}

void PirepDetailTest::anotherPirepDropsEvidence()
{
    // Regression: a page given another report kept the first one's pictures, and its late answer won.
    const auto model = detail(QStringLiteral("p-24433"));
    model->appear();
    QTRY_COMPARE(model->evidenceCount(), 2);
    m_site->service->setFault(QStringLiteral("/api/pireps/p-24421/evidence"), Sample::Fault{.held = true});
    model->setPirepId(QStringLiteral("p-24421"));
    QCOMPARE(model->evidenceCount(), 0);
    QTRY_COMPARE(m_site->service->requestsTo("/api/pireps/p-24421/evidence").size(), 1);
    model->setPirepId(QStringLiteral("p-24330"));
    QTRY_COMPARE(model->evidenceCount(), 2);
    m_site->service->release();
    QTest::qWait(100);
    QCOMPARE(model->evidenceCount(), 2);
    QCOMPARE(model->evidence()->records().first().path.section(QLatin1Char('/'), 3, 3),
             QStringLiteral("p-24330"));
}

void PirepDetailTest::reportIdIsOneSegment()
{
    // Regression: the id went into the path as it came, so "?" in it started a query and cut the path.
    const auto model = detail(QStringLiteral("p-24421?x=1"));
    await(model->loadEvidence());
    QCOMPARE(m_site->service->requests().size(), 1);
    const Sample::Request sent = m_site->service->requests().first();
    QCOMPARE(sent.path, QStringLiteral("/api/pireps/p-24421?x=1/evidence"));
    QVERIFY(sent.query.isEmpty());
    QCOMPARE(model->error(), QStringLiteral("未找到该飞行报告。"));
}

void PirepDetailTest::dotPirepIdsAskNothing_data()
{
    QTest::addColumn<QString>("id");
    // Regression: the evidence of report ".." was asked of "/api/evidence", that of "." of
    // "/api/pireps/evidence".
    QTest::newRow("dot") << QStringLiteral(".");
    QTest::newRow("dot-dot") << QStringLiteral("..");
}

void PirepDetailTest::dotPirepIdsAskNothing()
{
    QFETCH(QString, id);
    const auto model = detail(id);
    await(model->loadEvidence());
    QCOMPARE(m_site->service->requests().size(), 0);
    QCOMPARE(model->error(), QStringLiteral("无效的接口地址。"));
}

void PirepDetailTest::cancelledEvidenceLoadShowsNothing()
{
    // Regression: a load cut off by an account change showed its cancellation as the page's error.
    const auto model = detail(QStringLiteral("p-24421"));
    m_site->service->setFault(QStringLiteral("/api/pireps/p-24421/evidence"), Sample::Fault{.held = true});
    bool ended = false;
    auto run = [&]() -> QCoro::Task<> {
        co_await model->loadEvidence();
        ended = true;
    };
    auto running = run();
    QTRY_COMPARE(m_site->service->requestsTo("/api/pireps/p-24421/evidence").size(), 1);
    m_app->api()->retire();
    QTRY_VERIFY(ended);
    QCOMPARE(model->error(), QString());
    m_site->service->release();
}

void PirepDetailTest::newestImportApplies()
{
    // Regression: an earlier, slower conversion that ended last replaced the newer pick.
    const auto model = detail(QStringLiteral("p-24421"));
    const QList<QUrl> slow{picture("a.png", {4000, 3000}, Qt::darkBlue),
                           picture("b.png", {4000, 3000}, Qt::gray),
                           picture("c.png", {4000, 3000}, Qt::darkRed)};
    const QList<QUrl> quick{picture("d.png", {64, 64}, Qt::darkGreen)};
    auto first = model->importPhotos(slow);
    await(model->importPhotos(quick));
    await(std::move(first));
    QCOMPARE(model->fileCount(), 1);
    QVERIFY(!model->busy());
}

void PirepDetailTest::picturesCarryTheSession()
{
    const auto model = detail(QStringLiteral("p-24421"));
    await(model->loadEvidence());
    QCOMPARE(model->evidenceCount(), 1);
    const QString path = model->evidence()->records().first().path;
    AuthenticatedPicture picture;
    picture.setClient(m_app->api());
    picture.setPath(path);
    QCOMPARE(picture.state(), AuthenticatedPicture::Loading);
    QTRY_COMPARE(picture.state(), AuthenticatedPicture::Shown);
    QVERIFY(picture.aspect() > 0);
    const QList<Sample::Request> asked = m_site->service->requestsTo(path);
    QCOMPARE(asked.size(), 1);
    for (const Sample::Request &request : asked)
        QVERIFY(!request.cookies.value(Sample::Service::sessionCookie).isEmpty());
}

void PirepDetailTest::pictureFailures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("fault"); // 0 none, 1 an HTML page, 2 PNG bytes that are no picture
    QTest::addColumn<int>("requests");

    QTest::newRow("HTML page") << "/api/pireps/p-24421/evidence/e-1" << 1 << 1;
    QTest::newRow("no picture in image/png") << "/api/pireps/p-24421/evidence/e-1" << 2 << 1;
    QTest::newRow("not a site path") << "https://example.com/e-1.png" << 0 << 0;
    QTest::newRow("empty path") << "" << 0 << 0;
    QTest::newRow("another member's report") << "/api/pireps/p-24290/evidence/e-1" << 0 << 1;
}

void PirepDetailTest::pictureFailures()
{
    QFETCH(QString, path);
    QFETCH(int, fault);
    QFETCH(int, requests);
    if (fault == 1)
        m_site->service->setFault(path, Sample::Fault{.html = QByteArray("<html>请先登录</html>")});
    if (fault == 2) {
        m_site->service->route("GET", QStringLiteral("/api/pireps/{id}/evidence/{file}"),
                               [](Sample::Service &, const Sample::Request &) {
                                   return Sample::Reply::bytes("not a picture", "image/png");
                               });
    }
    AuthenticatedPicture picture;
    picture.setPath(path);
    picture.setClient(m_app->api());
    QTRY_COMPARE(picture.state(), AuthenticatedPicture::Failed);
    QCOMPARE(m_site->service->requests().size(), requests);
}

void PirepDetailTest::pictureOfNewPathClearsOld()
{
    const auto model = detail(QStringLiteral("p-24433"));
    await(model->loadEvidence());
    QCOMPARE(model->evidenceCount(), 2);
    const QString first = model->evidence()->records().at(0).path,
                  second = model->evidence()->records().at(1).path;
    AuthenticatedPicture picture;
    picture.setClient(m_app->api());
    picture.setPath(first);
    QTRY_COMPARE(picture.state(), AuthenticatedPicture::Shown);

    // Regression: the old picture stood for the new path until its answer came.
    m_site->service->setFault(second, Sample::Fault{.held = true});
    picture.setPath(second);
    QCOMPARE(picture.state(), AuthenticatedPicture::Loading);
    QVERIFY(picture.picture().isNull());
    QTRY_COMPARE(m_site->service->requestsTo(second).size(), 1);
    // Regression: a load cancelled with its client marked the picture as failed.
    m_app->api()->retire();
    QTest::qWait(50);
    QCOMPARE(picture.state(), AuthenticatedPicture::Loading);
    m_site->service->release();
}

void PirepDetailTest::latestCardUsesFiledPlan()
{
    LatestFlightModel card;
    card.setMemberData(m_data.get());
    QVERIFY(card.loading()); // before the load has started
    await(m_data->loadLatestFlight());
    QVERIFY(!card.loading());
    QVERIFY(card.hasFlight());
    const auto *live = std::get_if<LiveLatestFlight>(&*m_data->latestFlight());
    QVERIFY(live && live->plan && live->plan->points && live->plan->route);
    QCOMPARE(card.callsign(), QStringLiteral("B-207CA"));
    QCOMPARE(card.departure(), QStringLiteral("ZSPD"));
    QCOMPARE(card.arrival(), QStringLiteral("RJTT"));
    QCOMPARE(card.action(), QStringLiteral("提交 PIREP"));
    QVERIFY(card.showsPhoto());
    QVERIFY(!card.hasNote());
    // Regression: the flown track ends where the aircraft is, so along it every flight looked done.
    const std::optional<double> filed = LatestFlightModel::progress(live->flight, *live->plan->points);
    const std::optional<double> flown = LatestFlightModel::progress(live->flight, *live->plan->route);
    QVERIFY(filed && flown && *filed < *flown);
    QCOMPARE(card.facts()->progress, filed);
    QVERIFY(card.progressText().startsWith(QStringLiteral("估算航路进度 · ")));
}

void PirepDetailTest::latestPlaceholderStates()
{
    // Without a live snapshot and with the recent flights refused: the placeholder shows the failure.
    m_site->service->setFault(QStringLiteral("/api/infinite-flight/live"), Sample::Fault{.status = 500});
    m_site->service->setFault(QStringLiteral("/api/infinite-flight/me/flights"),
                              Sample::Fault{.status = 503, .times = 1});
    LatestFlightModel card;
    card.setMemberData(m_data.get());
    await(m_data->loadLatestFlight());
    QVERIFY(!card.hasFlight());
    QVERIFY(!card.loading());
    QVERIFY(!card.failure().isEmpty());
    // The retry shows the loader again while it runs, then the member's last recorded flight.
    card.retry();
    QVERIFY(card.loading());
    QTRY_VERIFY(card.hasFlight());
    QVERIFY(card.failure().isEmpty());
    QCOMPARE(card.phaseTitle(), QStringLiteral("飞行已结束"));
    QCOMPARE(card.departure(), QStringLiteral("ZGGG"));
    QCOMPARE(card.action(), QStringLiteral("核对并提交 PIREP"));
    QCOMPARE(card.progressText(), QStringLiteral("已到达 · 100%"));
}

QTEST_MAIN(PirepDetailTest)
#include "tst_pirep_detail.moc"
