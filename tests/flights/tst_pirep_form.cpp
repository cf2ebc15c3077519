#include "CatalogPickerModel.h"
#include "MemberStore.h"
#include "MultipartBody.h"
#include "Outcome.h"
#include "PirepFormModel.h"
#include "PirepImportModel.h"

#include "ImageTestSupport.h"
#include "Installed.h"
#include "MemberTestSupport.h"

#include <QBuffer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;
using Sample::FormPart;

// The report form against the sample service: what it sends, how it takes each answer, the multiplier
// check, the screenshots, and the two pickers that fill it.
class PirepFormTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void submitsImportedFlightWithScreenshots();
    void proofRequiredThenLocalFlight();
    void unconfirmedAnswers();
    void acceptedAnswerSaysWhetherLocal_data();
    void acceptedAnswerSaysWhetherLocal();
    void unconfirmedSubmissionIsLookedForFirst();
    void draftOutlivesAnEndedSession();
    void invalidDraftSendsNothing();
    void noteCountedAsTheServiceCounts_data();
    void noteCountedAsTheServiceCounts();
    void closedFormStillRefreshesPireps();
    void draftRules();
    void opensWithItsRoute();
    void multiplierCheck();
    void staleMultiplierAnswerDropped();
    void screenshots();
    void picksAddToTheSelection();
    void picksBeyondSix_data();
    void picksBeyondSix();
    void photoDialogOpens();
    void importPicker();
    void catalogNames();
    void catalogPicker();

private:
    QUrl picture(const QString &name, QSize size, QColor color);
    static QList<FormPart> sentParts(const Sample::Service &service);
    std::unique_ptr<CatalogPickerModel> picker(CatalogPickerModel::Kind kind, const QString &aircraft = {});

    std::unique_ptr<Site> m_site;
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<MemberData> m_data;
    std::unique_ptr<PirepFormModel> m_form;
    std::unique_ptr<AircraftImageService> m_images;
    QTemporaryDir m_folder;
};

void PirepFormTest::init()
{
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_app = signedInApp(*m_site, "lichen");
    m_data = std::make_unique<MemberData>(m_app->api());
    m_form = std::make_unique<PirepFormModel>();
    m_form->setClient(m_app->api());
    m_form->setMemberData(m_data.get());
    m_form->prefill(std::nullopt, std::nullopt);
    m_site->service->clearRequests();
}

void PirepFormTest::cleanup()
{
    m_form.reset();
    m_images.reset();
    m_data.reset();
    m_app.reset();
    m_site.reset();
}

QUrl PirepFormTest::picture(const QString &name, QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString path = m_folder.filePath(name);
    return image.save(path) ? QUrl::fromLocalFile(path) : QUrl();
}

QList<FormPart> PirepFormTest::sentParts(const Sample::Service &service)
{
    QList<Sample::Request> posts;
    for (const Sample::Request &request : service.requestsTo("/api/pireps")) {
        if (request.method == "POST")
            posts.append(request);
    }
    return posts.size() == 1 ? parseFormData(posts.first()).value_or(QList<FormPart>()) : QList<FormPart>();
}

std::unique_ptr<CatalogPickerModel> PirepFormTest::picker(CatalogPickerModel::Kind kind,
                                                          const QString &aircraft)
{
    if (!m_images)
        m_images = pictureService(*m_site->service);
    auto model = std::make_unique<CatalogPickerModel>();
    model->setImageService(m_images.get());
    model->setClient(m_app->api());
    model->setKind(kind);
    model->setAircraft(aircraft);
    return model;
}

void PirepFormTest::submitsImportedFlightWithScreenshots()
{
    PirepImportModel flights;
    flights.setClient(m_app->api());
    await(flights.run());
    // The first of the member's recent flights: Guangzhou to Chengdu, 139.2 minutes.
    m_form->setOrganizationMultiplier(true);
    m_form->takeImportedFlight(&flights, 0);
    await(m_data->loadPireps());
    QCOMPARE(m_form->departure(), QStringLiteral("ZGGG"));
    QCOMPARE(m_form->hours(), QStringLiteral("2"));
    QCOMPARE(m_form->minutes(), QStringLiteral("19"));
    QVERIFY(!m_form->organizationMultiplier()); // a flight replaces the whole draft
    m_form->setNote(QStringLiteral("广州白云到成都双流，顺利落地。"));

    await(m_form->importPhotos(
        {picture("a.png", {1920, 1080}, Qt::darkBlue), picture("b.png", {800, 600}, Qt::gray)}));
    QCOMPARE(m_form->fileCount(), 2);
    QVERIFY(m_form->canSubmit());
    const qsizetype reportsBefore = m_data->pireps().size();

    await(m_form->send());
    QVERIFY2(m_form->error().isEmpty(), qPrintable(m_form->error()));
    QVERIFY(m_form->success());
    QVERIFY(!m_form->localFlight());
    QCOMPARE(m_form->successMessage(), QStringLiteral("你可以在飞行记录中查看进度。"));
    QCOMPARE(m_form->fileCount(), 0);
    // Regression: the button stayed live after an accepted report, so a second press sent it again.
    QVERIFY(!m_form->canSubmit());
    await(m_form->send());
    QCOMPARE(sentParts(*m_site->service).size(), 13);

    const QList<FormPart> parts = sentParts(*m_site->service);
    QStringList names;
    QHash<QString, QString> fields;
    QList<FormPart> files;
    for (const FormPart &part : parts) {
        names.append(part.name);
        if (part.name == QLatin1String("files"))
            files.append(part);
        else
            fields.insert(part.name, QString::fromUtf8(part.data));
    }
    // The text fields by name, then the files.
    QCOMPARE(names, (QStringList{"aircraft", "arrivalCode", "departureCode", "flightCallsign", "hours",
                                 "landings", "livery", "minutes", "multiplier", "sourceFlightId",
                                 "submitNote", "files", "files"}));
    QCOMPARE(fields.value("departureCode"), QStringLiteral("ZGGG"));
    QCOMPARE(fields.value("arrivalCode"), QStringLiteral("ZUUU"));
    QCOMPARE(fields.value("aircraft"), QStringLiteral("Airbus A320"));
    QCOMPARE(fields.value("livery"), QStringLiteral("Sichuan Airlines"));
    QCOMPARE(fields.value("flightCallsign"), QStringLiteral("B-207CA"));
    QCOMPARE(fields.value("hours"), QStringLiteral("2"));
    QCOMPARE(fields.value("minutes"), QStringLiteral("19"));
    QCOMPARE(fields.value("landings"), QStringLiteral("1"));
    QCOMPARE(fields.value("multiplier"), QStringLiteral("1"));
    QCOMPARE(fields.value("sourceFlightId"), QStringLiteral("3c9e1f52-7a4b-4d8e-9f61-2b7d0c5e8a13"));
    QCOMPARE(fields.value("submitNote"), QStringLiteral("广州白云到成都双流，顺利落地。"));
    QCOMPARE(files.size(), 2);
    for (const FormPart &file : files) {
        QCOMPARE(file.contentType, QByteArray("image/jpeg"));
        QVERIFY(!QImage::fromData(file.data, "JPEG").isNull());
    }

    // The member's reports were asked for again after the upload, and hold the new one.
    QCOMPARE(m_data->pireps().size(), reportsBefore + 1);
    const Pirep &report = m_data->pireps().first();
    QCOMPARE(report.departureCode, QStringLiteral("ZGGG"));
    QVERIFY(report.isPending());
    QCOMPARE(report.evidenceCount.value_or(0), 2);
}

void PirepFormTest::proofRequiredThenLocalFlight()
{
    // A circuit the service cannot find in the member's simulator logbook, without proof.
    m_form->setDeparture(QStringLiteral("zspd"));
    m_form->setArrival(QStringLiteral("ZSPD"));
    m_form->setAircraft(QStringLiteral("Cessna 172"));
    m_form->setLivery(QStringLiteral("Default"));
    m_form->setMinutes(QStringLiteral("35"));
    QCOMPARE(m_form->noteTitle(), QStringLiteral("补充说明与截图"));
    await(m_form->send());
    QVERIFY(m_form->requiresProof());
    QCOMPARE(m_form->error(),
             QStringLiteral("系统没有找到对应的 Infinite Flight 航班，请上传飞行截图并填写补充说明。"));
    QCOMPARE(m_form->noteTitle(), QStringLiteral("补充说明（本次必填）"));
    QVERIFY(!m_form->success());
    QCOMPARE(m_form->departure(), QStringLiteral("zspd")); // the draft stays as typed

    // From now on a note that is more than blanks and a screenshot are both needed.
    QVERIFY(!m_form->canSubmit());
    m_form->setNote(QStringLiteral(" \n\t"));
    await(m_form->importPhotos({picture("circuit.png", {640, 480}, Qt::darkGreen)}));
    QVERIFY(!m_form->canSubmit());
    m_form->setNote(QStringLiteral("浦东本场起落练习。"));
    QVERIFY(m_form->canSubmit());
    m_form->removeFile(0);
    QVERIFY(!m_form->canSubmit());
    await(m_form->importPhotos({picture("circuit.png", {640, 480}, Qt::darkGreen)}));

    await(m_form->send());
    QVERIFY2(m_form->success(), qPrintable(m_form->error()));
    QVERIFY(m_form->requiresProof()); // it stays for the life of the form
    QVERIFY(m_form->localFlight());
    QCOMPARE(m_form->successMessage(), QStringLiteral("这是本场飞行，请按联盟要求联系管理员确认。"));
}

void PirepFormTest::unconfirmedAnswers()
{
    // Answers that confirm nothing, of a submission the service never stored: the form says so after
    // looking for the report in the member's log.
    const QString unconfirmed = QStringLiteral(
        "提交结果尚未确认：飞行记录中暂时没有这份报告。再次提交时会先核对一次，避免重复报告。");
    struct Case
    {
        const char *name;
        Sample::Fault fault;
        QString error;
    };
    const QList<Case> cases{
        {"ok false", {.json = QJsonObject{{"ok", false}}, .unheard = true, .times = 1}, unconfirmed},
        {"ok absent", {.json = QJsonObject{{"id", "P-1"}}, .unheard = true, .times = 1}, unconfirmed},
        {"refusal", {.status = 500}, QStringLiteral("样例服务按要求返回 500。")},
        {"HTML page",
         {.status = 503, .html = QByteArray("<html>busy</html>")},
         QStringLiteral("请求未完成（503），请稍后重试。")},
        // The member's log cannot be read either: the form says to look before sending again.
        {"connection reset",
         {.reset = true, .unheard = true},
         QStringLiteral("提交结果尚未确认。请先返回并刷新飞行记录，确认未收到后再提交，避免重复报告。")},
    };
    PirepImportModel flights;
    flights.setClient(m_app->api());
    await(flights.run());
    for (const Case &c : cases) {
        m_form = std::make_unique<PirepFormModel>();
        m_form->setClient(m_app->api());
        m_form->setMemberData(m_data.get());
        m_form->takeImportedFlight(&flights, 1);
        m_site->service->setFault("/api/pireps", c.fault);
        await(m_form->send());
        QVERIFY2(!m_form->success(), c.name);
        QCOMPARE(m_form->error(), c.error);
        QVERIFY2(!m_form->requiresProof(), c.name);
        QVERIFY2(!m_form->busy() && m_form->canSubmit(), c.name); // the member may try again
        QCOMPARE(m_form->departure(), QStringLiteral("VHHH"));
        m_site->service->clearFaults();
    }
    // A later accepted upload clears the error.
    await(m_form->send());
    QVERIFY(m_form->success());
    QCOMPARE(m_form->error(), QString());
}

void PirepFormTest::acceptedAnswerSaysWhetherLocal_data()
{
    QTest::addColumn<QJsonObject>("answer");
    QTest::addColumn<QString>("message");
    const QString tracked = QStringLiteral("你可以在飞行记录中查看进度。");
    QTest::newRow("local") << QJsonObject{{"ok", true}, {"local", true}, {"id", "p-9"}}
                           << QStringLiteral("这是本场飞行，请按联盟要求联系管理员确认。");
    QTest::newRow("not local") << QJsonObject{{"ok", true}, {"local", false}, {"id", "p-9"}} << tracked;
    // "local" absent counts as false.
    QTest::newRow("without local") << QJsonObject{{"ok", true}, {"id", "p-9"}} << tracked;
    QTest::newRow("local null") << QJsonObject{{"ok", true}, {"local", QJsonValue::Null}} << tracked;
}

void PirepFormTest::acceptedAnswerSaysWhetherLocal()
{
    QFETCH(QJsonObject, answer);
    QFETCH(QString, message);
    PirepImportModel flights;
    flights.setClient(m_app->api());
    await(flights.run());
    m_form->takeImportedFlight(&flights, 1);
    m_site->service->setFault("/api/pireps", {.json = answer, .unheard = true, .times = 1});
    await(m_form->send());
    QVERIFY2(m_form->success(), qPrintable(m_form->error()));
    QCOMPARE(m_form->successMessage(), message);
}

void PirepFormTest::unconfirmedSubmissionIsLookedForFirst()
{
    // Regression: a submission that timed out looked like nothing happened, and a second press made a
    // duplicate report once the service had finished the first.
    PirepImportModel flights;
    flights.setClient(m_app->api());
    await(flights.run());
    m_form->takeImportedFlight(&flights, 1);
    await(m_data->loadPireps());
    const auto posts = [this] {
        int count = 0;
        for (const Sample::Request &request : m_site->service->requestsTo("/api/pireps"))
            count += request.method == "POST";
        return count;
    };
    const PirepDraft draft = m_form->draft();
    const auto reportsOfTheRoute = [this, draft] {
        const PirepResponse answer = await(m_app->api()->decode<PirepResponse>(
            m_app->api()->makeRequest(QStringLiteral("/api/pireps"), "GET")));
        return std::count_if(answer.pireps.cbegin(), answer.pireps.cend(),
                             [&](const Pirep &report) { return draft.describes(report); });
    };
    const qsizetype before = reportsOfTheRoute();

    // The answer never comes (the service stalls after storing the report): the form finds it in the log.
    m_app->api()->setTimeouts(std::chrono::milliseconds(400), std::chrono::milliseconds(1500));
    m_site->service->setFault("/api/pireps", {.held = true, .times = 1});
    await(m_form->send());
    QVERIFY(m_form->success());
    QCOMPARE(m_form->error(), QString());
    QCOMPARE(m_form->successMessage(),
             QStringLiteral("飞行记录中已有这份报告，无需再次提交。你可以在飞行记录中查看进度。"));
    QCOMPARE(m_form->fileCount(), 0);
    QCOMPARE(posts(), 1);
    m_site->service->release();
    // The member's reports as the logbook and the dashboard have them, the found one among them.
    QTRY_VERIFY(!m_data->state(MemberLoad::Pireps).loading);
    await(m_data->loadPireps());

    // The upload is lost on its way: not in the log, so the member may send again; the service takes a
    // late copy meanwhile, which the next press finds instead of sending a duplicate.
    m_form = std::make_unique<PirepFormModel>();
    m_form->setClient(m_app->api());
    m_form->setMemberData(m_data.get());
    m_form->takeImportedFlight(&flights, 1);
    m_site->service->clearRequests();
    m_site->service->setFault("/api/pireps", {.held = true, .unheard = true, .times = 1});
    await(m_form->send());
    QVERIFY(!m_form->success());
    QCOMPARE(m_form->error(),
             QStringLiteral(
                 "提交结果尚未确认：飞行记录中暂时没有这份报告。再次提交时会先核对一次，避免重复报告。"));
    QVERIFY(m_form->canSubmit());
    QCOMPARE(reportsOfTheRoute(), before + 1);
    await(m_app->api()->perform([&] {
        APIRequest late = m_app->api()->makeRequest(QStringLiteral("/api/pireps"), "POST");
        late.setMultipartBody(MultipartBody::make(m_form->draft().fields(), {}, QStringLiteral("files")));
        return late;
    }()));
    const int sent = posts();
    await(m_form->send());
    QVERIFY(m_form->success());
    QCOMPARE(posts(), sent);
    QCOMPARE(reportsOfTheRoute(), before + 2);

    // The log cannot be read: nothing is sent blind.
    m_form = std::make_unique<PirepFormModel>();
    m_form->setClient(m_app->api());
    m_form->setMemberData(m_data.get());
    m_form->takeImportedFlight(&flights, 0);
    m_site->service->setFault("/api/pireps", {.held = true, .unheard = true, .times = 1});
    await(m_form->send()); // lost on its way
    m_site->service->setFault("/api/pireps", {.status = 500, .times = 1});
    const int tried = posts();
    await(m_form->send());
    QVERIFY(!m_form->success());
    QVERIFY(
        m_form->error().startsWith(QStringLiteral("暂时无法核对飞行记录，为避免重复报告，这次没有提交：")));
    QCOMPARE(posts(), tried);
    // Once it can be read and the report is not there, the report goes.
    await(m_form->send());
    QVERIFY(m_form->success());
    QCOMPARE(posts(), tried + 1);
}

void PirepFormTest::draftOutlivesAnEndedSession()
{
    // Regression: a session that ended while a report was written threw the report away, screenshots and all.
    m_form->setAppState(m_app.get());
    m_form->openRoute(nullptr, {});
    m_form->setDeparture(QStringLiteral("zspd"));
    m_form->setArrival(QStringLiteral("RJTT"));
    m_form->setAircraft(QStringLiteral("Boeing 787-9"));
    m_form->setLivery(QStringLiteral("China Eastern"));
    m_form->setMinutes(QStringLiteral("55"));
    m_form->setNote(QStringLiteral("雷雨绕飞"));
    await(m_form->importPhotos(
        {picture("a.png", {320, 200}, Qt::red), picture("b.png", {320, 200}, Qt::blue)}));
    QCOMPARE(m_form->fileCount(), 2);
    const PirepDraft typed = m_form->draft();
    const QList<Upload> files = m_form->files()->records();

    m_site->service->expireSessions();
    await(m_form->send());
    QVERIFY(!m_app->signedIn());
    m_form.reset(); // the member tabs go with the session

    const auto reopened = [this] {
        auto form = std::make_unique<PirepFormModel>();
        form->setClient(m_app->api());
        form->setMemberData(m_data.get());
        form->setAppState(m_app.get());
        form->openRoute(nullptr, {});
        return form;
    };
    // The same member signs in again: the form comes back as it was.
    await(m_app->signIn(QStringLiteral("lichen"), QStringLiteral("fly-vornalia"), false));
    QVERIFY(m_app->keepsForm(QStringLiteral("report")));
    m_form = reopened();
    QVERIFY(m_form->restored());
    QCOMPARE(m_form->draft(), typed);
    QCOMPARE(m_form->files()->records(), files);
    QVERIFY(!m_app->keepsForm(QStringLiteral("report"))); // handed over once
    await(m_form->send());
    QVERIFY(m_form->success());

    // Another account never sees it; nor does the member after signing out.
    m_form = reopened();
    m_form->setNote(QStringLiteral("未提交的备注"));
    m_site->service->expireSessions();
    await(m_form->send());
    m_form.reset();
    await(m_app->signIn(QStringLiteral("hejing"), QStringLiteral("fly-vornalia"), false));
    m_form = reopened();
    QVERIFY(!m_form->restored());
    QCOMPARE(m_form->note(), QString());
    await(m_app->signOut());
    await(m_app->signIn(QStringLiteral("lichen"), QStringLiteral("fly-vornalia"), false));
    QVERIFY(!m_app->keepsForm(QStringLiteral("report")));

    // An untouched form is not brought back.
    m_form = reopened();
    m_site->service->expireSessions();
    QVERIFY(thrown<APIError>([&] { await(m_app->refreshProfile()); })); // another page meets the end
    m_form.reset();
    await(m_app->signIn(QStringLiteral("lichen"), QStringLiteral("fly-vornalia"), false));
    QVERIFY(!m_app->keepsForm(QStringLiteral("report")));
}

void PirepFormTest::invalidDraftSendsNothing()
{
    m_form->setDeparture(QStringLiteral("ZGG"));
    QVERIFY(!m_form->canSubmit());
    QCOMPARE(m_form->validationMessage(), QStringLiteral("机场代码需为 4 位英文字母。"));
    await(m_form->send());
    QCOMPARE(m_form->error(), QStringLiteral("机场代码需为 4 位英文字母。"));
    QVERIFY(!m_form->busy());
    QVERIFY(m_site->service->requestsTo("/api/pireps").isEmpty());
}

void PirepFormTest::noteCountedAsTheServiceCounts_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<bool>("accepted");
    // Four characters as a reader counts them, in 18 UTF-16 units: a thumb with its skin tone, a flag, a
    // family joined by zero-width joiners, a letter with a combining accent.
    const QString mixed = QStringLiteral("👍🏽🇨🇳👨‍👩‍👧e\u0301");
    QTest::newRow("Chinese, 500") << QString(500, QChar(u'飞')) << true;
    QTest::newRow("emoji and marks, 500") << mixed.repeated(125) << true;
    QTest::newRow("emoji and marks, 501") << mixed.repeated(125) + QStringLiteral("✈️") << false;
    // Regression: a flag after a family joined by zero-width joiners counted as two, so this read 510/500.
    QTest::newRow("families each followed by a flag, 500")
        << QString(480, QChar(u'多')) + QStringLiteral("👨‍👩‍👧🇨🇳").repeated(10) << true;
}

// Regression: a note with emoji counted "446/500" in the form, which sent it, and the service refused it as
// over 500: the service counted UTF-16 units.
void PirepFormTest::noteCountedAsTheServiceCounts()
{
    QFETCH(QString, note);
    QFETCH(bool, accepted);
    PirepImportModel flights;
    flights.setClient(m_app->api());
    await(flights.run());
    m_form->takeImportedFlight(&flights, 0);
    m_form->setNote(note);
    QCOMPARE(m_form->canSubmit(), accepted);
    QCOMPARE(m_form->validationMessage(), accepted ? QString() : QStringLiteral("补充说明最多 500 字。"));
    if (accepted) {
        await(m_form->send());
        QVERIFY2(m_form->success(), qPrintable(m_form->error()));
        QCOMPARE(m_data->pireps().first().submitNote, std::optional(note));
        return;
    }
    // What the form holds back, the service refuses too.
    const auto sent = await(attempt(APIClient::postForm<Acknowledgement>(
        m_app->api(), QStringLiteral("/api/pireps"), m_form->draft().fields(), {}, QStringLiteral("files"))));
    QVERIFY(sent.failed());
    QCOMPARE(sent.status(), 400);
    QCOMPARE(sent.message(), QStringLiteral("补充说明最多 500 字。"));
}

void PirepFormTest::closedFormStillRefreshesPireps()
{
    PirepImportModel flights;
    flights.setClient(m_app->api());
    await(flights.run());
    m_form->takeImportedFlight(&flights, 0);
    m_site->service->setFault("/api/pireps", {.held = true, .times = 1});
    QCoro::Task<> sending = m_form->send();
    QTRY_COMPARE(m_site->service->requestsTo("/api/pireps").size(), 1);
    // The page closes while the upload is on its way; the service still takes it.
    m_form.reset();
    m_site->service->release();
    await(std::move(sending));
    QTRY_VERIFY(!m_data->pireps().isEmpty());
    QCOMPARE(m_data->pireps().first().departureCode, QStringLiteral("ZGGG"));
}

void PirepFormTest::draftRules()
{
    QCOMPARE(m_form->routeFrom(), QStringLiteral("----"));
    QCOMPARE(m_form->routeTo(), QStringLiteral("----"));
    QCOMPARE(m_form->multiplierCaption(), QString());
    m_form->setOrganizationMultiplier(true);
    QCOMPARE(m_form->multiplierCaption(), QStringLiteral("×1.25"));
    m_form->setEventMultiplier(true);
    QCOMPARE(m_form->multiplierCaption(), QStringLiteral("×1.875"));
    m_form->setOrganizationMultiplier(false);
    QCOMPARE(m_form->multiplierCaption(), QStringLiteral("×1.5"));
    m_form->setEventMultiplier(false);
    QCOMPARE(m_form->multiplierCaption(), QString());

    FlightEvent event;
    event.departureCode = QStringLiteral("ZSSS");
    event.arrivalCode = QStringLiteral("rjtt");
    event.aircraft = QStringLiteral("Boeing 787-9");
    event.livery = QStringLiteral("China Eastern");
    m_form->prefill(std::nullopt, event);
    QCOMPARE(m_form->routeTo(), QStringLiteral("RJTT"));
    QCOMPARE(m_form->multiplierCaption(), QStringLiteral("×1.5"));
    QCOMPARE(m_form->confirmMessage(),
             QStringLiteral("确认提交 ZSSS → RJTT 的飞行报告？提交后由管理员审核。"));
    QVERIFY(m_form->showsAircraftPhoto());

    // A new aircraft empties the livery; the livery list needs an aircraft as typed.
    m_form->chooseAircraft(QStringLiteral("Airbus A350"));
    QCOMPARE(m_form->livery(), QString());
    QVERIFY(!m_form->showsAircraftPhoto());
    m_form->setLivery(QStringLiteral("  "));
    QVERIFY(m_form->showsAircraftPhoto()); // blanks count as text here
    m_form->setAircraft(QString());
    QVERIFY(!m_form->canPickLivery());
    m_form->setAircraft(QStringLiteral(" "));
    QVERIFY(m_form->canPickLivery());
    m_form->chooseLivery(QStringLiteral("Air China"));
    QCOMPARE(m_form->livery(), QStringLiteral("Air China"));
}

void PirepFormTest::opensWithItsRoute()
{
    FlightActivityNavigation ownFlight(nullptr);
    const Installed<FlightActivityNavigation> installed(ownFlight);
    MemberNavigation navigation;
    RecentFlight flight;
    flight.id = QStringLiteral("f-1");
    flight.origin = QStringLiteral("RJTT");
    flight.destination = QStringLiteral("ZSPD");
    flight.totalTimeMinutes = 171.6;
    FlightEvent event;
    event.departureCode = QStringLiteral("ZSSS");
    event.arrivalCode = QStringLiteral("RJTT");
    event.aircraft = QStringLiteral("Boeing 787-9");
    event.livery = QStringLiteral("China Eastern");
    navigation.setPath(NavigationStack::FlightStack, {RecentFlightRoute{flight}, EventSubmissionRoute{event},
                                                      PlainRoute{ShellPage::PirepForm}});

    const auto opened = [&](int index) {
        auto form = std::make_unique<PirepFormModel>();
        form->openRoute(&navigation, navigation.routeAt(NavigationStack::FlightStack, index));
        return form;
    };
    const auto fromFlight = opened(0);
    QCOMPARE(fromFlight->departure(), QStringLiteral("RJTT"));
    QCOMPARE(fromFlight->hours(), QStringLiteral("2"));
    QCOMPARE(fromFlight->minutes(), QStringLiteral("52"));
    QCOMPARE(fromFlight->draft().sourceFlightId, QStringLiteral("f-1"));
    const auto forEvent = opened(1);
    QCOMPARE(forEvent->aircraft(), QStringLiteral("Boeing 787-9"));
    QVERIFY(forEvent->eventMultiplier());
    QCOMPARE(forEvent->minutes(), QString());
    const auto empty = opened(2);
    QCOMPARE(empty->draft(), PirepDraft(std::nullopt));
    // A route that no longer stands where the page was pushed fills nothing in.
    const PageRoute stale = navigation.routeAt(NavigationStack::FlightStack, 0);
    navigation.setPath(NavigationStack::FlightStack, {PirepRoute{}});
    auto gone = std::make_unique<PirepFormModel>();
    gone->openRoute(&navigation, stale);
    QCOMPARE(gone->departure(), QString());
}

void PirepFormTest::multiplierCheck()
{
    m_form->setDeparture(QStringLiteral("zggg"));
    m_form->setArrival(QStringLiteral("ZUUU"));
    await(m_form->runOptionsCheck());
    const QList<Sample::Request> asked = m_site->service->requestsTo("/api/pireps/multiplier-options");
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().query.toString(QUrl::FullyEncoded), QStringLiteral("departure=ZGGG&arrival=ZUUU"));
    QVERIFY(m_form->hasOptions());
    QVERIFY(!m_form->checkingOptions());
    QCOMPARE(m_form->optionsError(), QString());
    QVERIFY(!m_form->organizationText().isEmpty());
    QVERIFY(!m_form->eventText().isEmpty());
    // What a screen reader is told: both lines, each a sentence, for each answer, also one that reads as the
    // last did.
    const QString outcome = QStringLiteral("倍数检查完成：组织倍数可用。当前没有与该航线匹配的活动。");
    QCOMPARE(m_form->organizationText(), QStringLiteral("组织倍数可用"));
    QCOMPARE(m_form->eventText(), QStringLiteral("当前没有与该航线匹配的活动。"));
    QCOMPARE(m_form->optionsOutcome(), outcome);
    QCOMPARE(m_form->optionsAnswers(), 1);
    await(m_form->runOptionsCheck());
    QCOMPARE(m_form->optionsOutcome(), outcome);
    QCOMPARE(m_form->optionsAnswers(), 2);

    // A failure keeps the last answer's lines and adds its own text, which is what is told.
    m_site->service->setFault("/api/pireps/multiplier-options", {.status = 502});
    await(m_form->runOptionsCheck());
    QVERIFY(m_form->hasOptions());
    QCOMPARE(m_form->optionsError(), QStringLiteral("样例服务按要求返回 502。"));
    QCOMPARE(m_form->optionsOutcome(), QStringLiteral("样例服务按要求返回 502。"));
    QCOMPARE(m_form->optionsAnswers(), 3);
    m_site->service->clearFaults();

    // Another airport: the lines go, the error stays until the next check.
    m_form->setArrival(QStringLiteral("ZUUD"));
    QVERIFY(!m_form->hasOptions());
    QCOMPARE(m_form->optionsError(), QStringLiteral("样例服务按要求返回 502。"));

    // Regression: the codes went into the query unencoded, so "&" or "#" cut or added parameters.
    m_site->service->clearRequests();
    m_form->setDeparture(QStringLiteral("Z G&arrival=X#"));
    await(m_form->runOptionsCheck());
    const Sample::Request raw = m_site->service->requestsTo("/api/pireps/multiplier-options").value(0);
    QCOMPARE(raw.query.toString(QUrl::FullyEncoded),
             QStringLiteral("departure=Z%20G%26ARRIVAL%3DX%23&arrival=ZUUD"));
    // The service answers null for codes it cannot check: no lines, no error.
    QVERIFY(!m_form->hasOptions());
    QCOMPARE(m_form->optionsError(), QString());

    // Unavailable with the service's reason, or the form's own words without one.
    m_site->service->setFault("/api/pireps/multiplier-options",
                              {.json = QJsonObject{{"organization", QJsonObject{{"available", false}}},
                                                   {"event", QJsonObject{{"available", true}}}}});
    await(m_form->runOptionsCheck());
    QCOMPARE(m_form->organizationText(), QStringLiteral("组织倍数不可用"));
    QVERIFY(!m_form->organizationAvailable());
    QCOMPARE(m_form->eventText(), QStringLiteral("活动倍数可用"));
    QVERIFY(m_form->eventAvailable());
    // Regression: a reason that ends in a full stop was said with "。；" between the two lines.
    m_site->service->setFault(
        "/api/pireps/multiplier-options",
        {.json = QJsonObject{
             {"organization", QJsonObject{{"available", false}, {"message", "本航线不在组织航线表中。"}}},
             {"event", QJsonObject{{"available", false}, {"message", "No event today."}}}}});
    await(m_form->runOptionsCheck());
    QCOMPARE(m_form->optionsOutcome(),
             QStringLiteral("倍数检查完成：本航线不在组织航线表中。No event today。"));

    // Taking a flight over forgets the check, even for the same airports.
    PirepImportModel flights;
    flights.setClient(m_app->api());
    await(flights.run());
    m_form->takeImportedFlight(&flights, 0);
    QVERIFY(!m_form->hasOptions());
}

void PirepFormTest::staleMultiplierAnswerDropped()
{
    m_form->setDeparture(QStringLiteral("ZGGG"));
    m_form->setArrival(QStringLiteral("ZUUU"));
    m_site->service->setFault("/api/pireps/multiplier-options", {.held = true, .times = 1});
    QCoro::Task<> checking = m_form->runOptionsCheck();
    QTRY_COMPARE(m_site->service->requestsTo("/api/pireps/multiplier-options").size(), 1);
    QVERIFY(m_form->checkingOptions());
    // A second press while it runs asks nothing.
    await(m_form->runOptionsCheck());
    QCOMPARE(m_site->service->requestsTo("/api/pireps/multiplier-options").size(), 1);
    // Regression: an answer that came after the member changed an airport was shown for the new route.
    m_form->setArrival(QStringLiteral("ZBAA"));
    m_site->service->release();
    await(std::move(checking));
    QVERIFY(!m_form->checkingOptions());
    QVERIFY(!m_form->hasOptions());
}

void PirepFormTest::screenshots()
{
    const QUrl first = picture("first.png", {1200, 900}, Qt::red);
    const QUrl second = picture("second.png", {300, 200}, Qt::blue);
    const QUrl broken = QUrl::fromLocalFile(m_folder.filePath("broken.png"));
    QFile(broken.toLocalFile()).open(QIODevice::WriteOnly);

    await(m_form->importPhotos({first, second}));
    QCOMPARE(m_form->fileCount(), 2);
    // A failed pick keeps the screenshots converted before and says why.
    await(m_form->importPhotos({second, broken}));
    QCOMPARE(m_form->fileCount(), 2);
    QCOMPARE(m_form->error(), QStringLiteral("无法读取所选图片，请选择其他图片。"));
    QVERIFY(!m_form->busy());
    // A pick replaces the whole list; a good one clears the error.
    await(m_form->importPhotos({second}));
    QCOMPARE(m_form->fileCount(), 1);
    QCOMPARE(m_form->error(), QString());
    // More than six are cut to the first six, as the picker allows no more.
    QList<QUrl> many(9, second);
    await(m_form->importPhotos(many));
    QCOMPARE(m_form->fileCount(), 6);

    // Regression: an older pick that finished after a newer one replaced its screenshots.
    const QUrl big = picture("big.png", {4000, 3000}, Qt::darkCyan);
    QCoro::Task<> older = m_form->importPhotos({big, big, big});
    QCoro::Task<> newer = m_form->importPhotos({first});
    await(std::move(newer));
    await(std::move(older));
    QCOMPARE(m_form->fileCount(), 1);
    QCOMPARE(QImage::fromData(m_form->files()->records().first().data).size(), QSize(1200, 900));
    QVERIFY(!m_form->importingPhotos());

    // Removing keeps the others in order.
    await(m_form->importPhotos({first, second}));
    m_form->removeFile(0);
    QCOMPARE(QImage::fromData(m_form->files()->records().first().data).size(), QSize(300, 200));
    m_form->removeFile(5);
    QCOMPARE(m_form->fileCount(), 1);
}

void PirepFormTest::picksAddToTheSelection()
{
    const QUrl first = picture("one.png", {640, 360}, Qt::red);
    const QUrl second = picture("two.png", {320, 200}, Qt::blue);
    const QUrl third = picture("three.png", {200, 200}, Qt::green);
    const auto sizes = [this] {
        QList<QSize> shown;
        for (const Upload &upload : m_form->files()->records())
            shown.append(QImage::fromData(upload.data).size());
        return shown;
    };
    // Regression: each pick of the file dialog replaced every screenshot, so only one could be sent from a
    // dialog that picks one file at a time.
    m_form->pickPhotos({first});
    QTRY_COMPARE(m_form->fileCount(), 1);
    m_form->pickPhotos({second, first});
    QTRY_COMPARE(m_form->fileCount(), 2);
    QCOMPARE(sizes(), (QList<QSize>{{640, 360}, {320, 200}}));
    // A removed thumbnail's picture leaves the selection: the next pick does not bring it back.
    m_form->removeFile(0);
    QCOMPARE(sizes(), (QList<QSize>{{320, 200}}));
    QCOMPARE(m_form->selected(), QList<QUrl>{second});
    m_form->pickPhotos({third, first});
    QTRY_COMPARE(m_form->fileCount(), 3);
    QCOMPARE(sizes(), (QList<QSize>{{320, 200}, {200, 200}, {640, 360}}));
    // A picture that cannot be read is not kept: the next pick does not fail for it.
    const QUrl broken = QUrl::fromLocalFile(m_folder.filePath("broken.jpg"));
    QFile(broken.toLocalFile()).open(QIODevice::WriteOnly);
    m_form->pickPhotos({broken});
    QTRY_VERIFY(!m_form->error().isEmpty());
    QTRY_VERIFY(!m_form->busy());
    QCOMPARE(m_form->selected().size(), 3);
    m_form->pickPhotos({third});
    QTRY_VERIFY(m_form->error().isEmpty());
    QCOMPARE(m_form->fileCount(), 3);
}

void PirepFormTest::picksBeyondSix_data()
{
    QTest::addColumn<int>("before");       // pictures picked first
    QTest::addColumn<int>("removed");      // of them, the one whose thumbnail is removed; -1 for none
    QTest::addColumn<int>("picked");       // new pictures in the next pick
    QTest::addColumn<QList<int>>("shown"); // the screenshots after it, by picture
    QTest::addColumn<QString>("error");
    const QString leftOut = QStringLiteral("最多 6 张截图：%1 张没有添加，可先移除再选择。");
    QTest::newRow("one replaced at six") << 6 << 2 << 1 << QList<int>{0, 1, 3, 4, 5, 6} << QString();
    QTest::newRow("two for one place at six")
        << 6 << 0 << 2 << QList<int>{1, 2, 3, 4, 5, 6} << leftOut.arg(1);
    QTest::newRow("a pick at six") << 6 << -1 << 1 << QList<int>{0, 1, 2, 3, 4, 5} << leftOut.arg(1);
    QTest::newRow("below six, passing it") << 4 << -1 << 3 << QList<int>{0, 1, 2, 3, 4, 5} << leftOut.arg(1);
    QTest::newRow("below six, reaching it") << 4 << -1 << 2 << QList<int>{0, 1, 2, 3, 4, 5} << QString();
}

// Regression: with six picked, removing one and picking another brought the removed picture back and
// dropped the new one, saying nothing; below six, old and new picks that passed six lost the new ones.
void PirepFormTest::picksBeyondSix()
{
    QFETCH(int, before);
    QFETCH(int, removed);
    QFETCH(int, picked);
    QFETCH(QList<int>, shown);
    QFETCH(QString, error);
    // Pictures told apart by their width.
    QList<QUrl> pictures;
    for (int i = 0; i < before + picked; ++i)
        pictures.append(picture(QString("shot-%1.png").arg(i), {100 + i, 100}, Qt::darkCyan));
    const auto pictureOf = [](const Upload &upload) { return QImage::fromData(upload.data).width() - 100; };

    m_form->pickPhotos(pictures.mid(0, before));
    QTRY_COMPARE(m_form->fileCount(), before);
    if (removed >= 0)
        m_form->removeFile(removed);
    m_form->pickPhotos(pictures.mid(before));
    QTRY_VERIFY(!m_form->busy());
    QList<int> now;
    for (const Upload &upload : m_form->files()->records())
        now.append(pictureOf(upload));
    QCOMPARE(now, shown);
    QCOMPARE(m_form->error(), error);
    QCOMPARE(m_form->selected().size(), m_form->fileCount());
}

// Regression: without the folder-list module the file dialog failed to load and the app crashed on
// "选择飞行截图".
void PirepFormTest::photoDialogOpens()
{
    const InstalledPictures pictures(*m_site->service);
    QQmlEngine engine;
    engine.addImportPath("qrc:/qt/qml");
    QQmlComponent component(&engine, QUrl("qrc:/qt/qml/Vorna/Flights/PirepFormView.qml"));
    QVERIFY2(component.isReady(), qPrintable(component.errorString()));
    QQuickWindow window;
    window.resize(1100, 720);
    window.show();
    // In the window from the start, so the dialog finds the window it belongs to.
    std::unique_ptr<QObject> view(component.beginCreate(engine.rootContext()));
    QVERIFY(view);
    component.setInitialProperties(view.get(), {{"appState", QVariant::fromValue(m_app.get())},
                                                {"memberData", QVariant::fromValue(m_data.get())}});
    qobject_cast<QQuickItem *>(view.get())->setParentItem(window.contentItem());
    component.completeCreate();
    QObject *dialog = view->findChild<QObject *>("pirep.photoDialog");
    QVERIFY(dialog);
    QVERIFY(QMetaObject::invokeMethod(dialog, "pick", Q_ARG(QVariant, 6)));
    QTRY_VERIFY(dialog->property("visible").toBool());
    QVERIFY(dialog->property("nameFilters").toStringList().first().contains("*.png"));

    // Without a chooser of the desktop (none on the test's display), Qt Quick's dialog in the window takes
    // one file at a time: it opens again after each until the member is done, and every file reaches the
    // form. Regression: choosing two sent one.
    auto *form = view->findChild<PirepFormModel *>();
    QVERIFY(form);
    const QUrl first = picture("wing.png", {640, 360}, Qt::red);
    const QUrl second = picture("cockpit.png", {320, 200}, Qt::blue);
    const auto drawn = [&window]() -> QObject * {
        const QList<QObject *> objects = window.findChildren<QObject *>();
        for (QObject *object : objects) {
            if (object->inherits("QQuickFileDialogImpl") && object->property("visible").toBool())
                return object;
        }
        return nullptr;
    };
    QTRY_VERIFY(drawn());
    QCOMPARE(dialog->property("acceptLabel").toString(), QStringLiteral("添加"));
    QCOMPARE(dialog->property("rejectLabel").toString(), QString()); // "取消" until a file is added
    for (const QUrl &file : {first, second}) {
        QObject *impl = nullptr;
        QTRY_VERIFY((impl = drawn()));
        impl->setProperty("currentFolder", QUrl::fromLocalFile(m_folder.path()));
        impl->setProperty("selectedFile", file);
        QVERIFY(QMetaObject::invokeMethod(impl, "accept"));
        QTRY_VERIFY(dialog->property("visible").toBool()); // open again for the next
    }
    QTRY_COMPARE(form->fileCount(), 2);
    QCOMPARE(form->selected(), (QList<QUrl>{first, second}));
    QCOMPARE(dialog->property("title").toString(), QStringLiteral("选择飞行截图（已添加 2 张）"));
    QCOMPARE(dialog->property("rejectLabel").toString(), QStringLiteral("完成"));
    // Done: the dialog closes, the files stay.
    QObject *impl = nullptr;
    QTRY_VERIFY((impl = drawn()));
    QVERIFY(QMetaObject::invokeMethod(impl, "reject"));
    QTRY_VERIFY(!dialog->property("visible").toBool());
    QTest::qWait(50);
    QVERIFY(!dialog->property("visible").toBool());
    QCOMPARE(form->fileCount(), 2);

    // A pick with room for one file takes that one and closes.
    const QUrl third = picture("engine.png", {200, 200}, Qt::green);
    QVERIFY(QMetaObject::invokeMethod(dialog, "pick", Q_ARG(QVariant, 1)));
    QTRY_VERIFY((impl = drawn()));
    QCOMPARE(dialog->property("acceptLabel").toString(), QString());
    impl->setProperty("currentFolder", QUrl::fromLocalFile(m_folder.path()));
    impl->setProperty("selectedFile", third);
    QVERIFY(QMetaObject::invokeMethod(impl, "accept"));
    QTRY_COMPARE(form->fileCount(), 3);
    QTest::qWait(50);
    QVERIFY(!dialog->property("visible").toBool());
}

void PirepFormTest::importPicker()
{
    PirepImportModel flights;
    flights.setClient(m_app->api());
    QVERIFY(!flights.showsEmpty() || !flights.loading());
    QCoro::Task<> first = flights.run();
    QVERIFY(flights.loading());
    await(flights.run()); // a load while one runs asks nothing
    await(std::move(first));
    QCOMPARE(m_site->service->requestsTo("/api/infinite-flight/me/flights").size(), 1);

    // The service's order, untouched.
    RecentFlightRows *rows = flights.flights();
    QCOMPARE(rows->rowCount(), 7);
    const auto text = [rows](int row, int role) { return rows->data(rows->index(row), role).toString(); };
    QCOMPARE(text(0, RecentFlightRows::FromRole), QStringLiteral("ZGGG"));
    QCOMPARE(text(6, RecentFlightRows::ToRole), QStringLiteral("RJTT"));
    QCOMPARE(text(0, RecentFlightRows::DetailRole),
             QStringLiteral("Airbus A320 · Sichuan Airlines · B-207CA"));
    QCOMPARE(text(2, RecentFlightRows::DetailRole), QStringLiteral("Cessna 172"));
    QVERIFY(!text(0, RecentFlightRows::DateRole).isEmpty());

    // A failure shows its text above the rows of the last good load.
    m_site->service->setFault("/api/infinite-flight/me/flights", {.status = 500});
    await(flights.run());
    QCOMPARE(flights.error(), QStringLiteral("样例服务按要求返回 500。"));
    QCOMPARE(rows->rowCount(), 7);
    QVERIFY(!flights.showsEmpty());
    m_site->service->clearFaults();

    // Missing values and an unreadable time.
    m_site->service->setFault("/api/infinite-flight/me/flights",
                              {.json = QJsonObject{{"flights", QJsonArray{QJsonObject{
                                                                   {"id", "x-1"},
                                                                   {"callsign", "B-207CA"},
                                                                   {"created", "yesterday"},
                                                               }}}}});
    await(flights.run());
    QCOMPARE(flights.error(), QString());
    QCOMPARE(rows->rowCount(), 1);
    QCOMPARE(text(0, RecentFlightRows::FromRole), QStringLiteral("—"));
    QCOMPARE(text(0, RecentFlightRows::DurationRole), QStringLiteral("—"));
    QCOMPARE(text(0, RecentFlightRows::DetailRole), QStringLiteral("B-207CA"));
    QCOMPARE(text(0, RecentFlightRows::DateRole), QString());

    // A member with no recent flights.
    m_site->service->clearFaults();
    const auto hejing = signedInApp(*m_site, "hejing");
    PirepImportModel none;
    none.setClient(hejing->api());
    await(none.run());
    QVERIFY(none.showsEmpty());
}

void PirepFormTest::catalogNames()
{
    QCOMPARE(CatalogPickerModel::distinctSorted({"Boeing 737", "Airbus A320", "airbus A319", "Boeing 737"}),
             (QStringList{"Airbus A320", "Boeing 737", "airbus A319"}));
    // Canonically equal texts are one name.
    QCOMPARE(CatalogPickerModel::distinctSorted({QStringLiteral("Caf\u00e9"), QStringLiteral("Cafe\u0301")})
                 .size(),
             1);
    QVERIFY(CatalogPickerModel::matches("Airbus A320", "a3"));
    QVERIFY(CatalogPickerModel::matches("airbus A319", "A3"));
    QVERIFY(!CatalogPickerModel::matches("Boeing 737", "a3"));
    QVERIFY(!CatalogPickerModel::matches("Boeing 737", "737 "));
    QVERIFY(CatalogPickerModel::matches("Boeing 737", ""));
}

void PirepFormTest::catalogPicker()
{
    // The simulator's list, each name once and sorted.
    auto aircraft = picker(CatalogPickerModel::Aircraft);
    QVERIFY(aircraft->loading()); // the loader shows from the first frame
    QCOMPARE(aircraft->title(), QStringLiteral("选择机型"));
    await(aircraft->run());
    QCOMPARE(aircraft->values().size(), 31);
    QCOMPARE(aircraft->values().first(), QStringLiteral("Airbus A220-300"));
    QVERIFY(!aircraft->showsNote());
    aircraft->setQuery(QStringLiteral("787"));
    QCOMPARE(aircraft->rows(), (QStringList{"Boeing 787-10", "Boeing 787-8", "Boeing 787-9"}));

    // Null or a failure: the catalog's names, and no error shown.
    const QStringList catalogNames{"Airbus A320",    "Airbus A321",      "Airbus A330-300", "Airbus A350-900",
                                   "Boeing 737-800", "Boeing 777-300ER", "Boeing 787-9",    "Cessna 172"};
    for (const Sample::Fault &fault :
         {Sample::Fault{.json = QJsonValue(QJsonValue::Null)}, Sample::Fault{.status = 500},
          Sample::Fault{.json = QJsonObject{{"aircraft", "A320"}}}}) {
        m_site->service->setFault("/api/infinite-flight/aircraft", fault);
        auto fallback = picker(CatalogPickerModel::Aircraft);
        await(fallback->run());
        QCOMPARE(fallback->values(), catalogNames);
        QCOMPARE(fallback->error(), QString());
    }
    // An empty list from the service stays empty.
    m_site->service->setFault("/api/infinite-flight/aircraft",
                              {.json = QJsonObject{{"aircraft", QJsonArray()}}});
    auto empty = picker(CatalogPickerModel::Aircraft);
    await(empty->run());
    QVERIFY(empty->values().isEmpty());
    QVERIFY(empty->showsNote());
    m_site->service->clearFaults();

    // Liveries of the aircraft in the form, found by its family when the name differs.
    auto liveries = picker(CatalogPickerModel::Livery, QStringLiteral("A320"));
    QCOMPARE(liveries->title(), QStringLiteral("选择涂装"));
    await(liveries->run());
    QCOMPARE(liveries->values(), (QStringList{"Air China", "China Eastern", "Default", "Missing Sample",
                                              "Sichuan Airlines", "Slow Sample"}));
    auto unknown = picker(CatalogPickerModel::Livery, QStringLiteral("Concorde"));
    await(unknown->run());
    QVERIFY(unknown->values().isEmpty());
    QVERIFY(unknown->showsNote());

    // Without the catalog both lists fail, even with the simulator's list at hand.
    m_images.reset();
    m_site->service->setFault("/live-map-assets/liveries/catalog.json", {.status = 404});
    for (const auto kind : {CatalogPickerModel::Aircraft, CatalogPickerModel::Livery}) {
        auto failing = picker(kind, QStringLiteral("Airbus A320"));
        await(failing->run());
        QVERIFY(!failing->error().isEmpty());
        QVERIFY(failing->values().isEmpty());
        QVERIFY(failing->showsNote());
        QVERIFY(!failing->loading());
    }
}

QTEST_MAIN(PirepFormTest)
#include "tst_pirep_form.moc"
