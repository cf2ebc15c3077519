// The live map's model against the sample member service, on a clock the test moves: the polling cycle,
// the saved-snapshot fallback and its races, the plan cache, the own-flight request, the selection and its
// camera, the demonstration tour.
#include "ClientTestSupport.h"
#include "Installed.h"
#include "LiveMapModel.h"
#include "ManualClock.h"
#include "MapBanner.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "PlaneMarker.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QUuid>
#include <QtTest>

using namespace TestSupport;
using namespace std::chrono_literals;
using Sample::Fault;
using Sample::Reply;
using Sample::Request;

namespace {

const QString livePath = QStringLiteral("/api/infinite-flight/live");
const QString savedPath = QStringLiteral("/api/infinite-flight/live?saved=1");

} // namespace

class LiveMapModelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void initialState();
    void loadsAtOnceThenEveryThirtySeconds();
    void nextLoadCountsFromTheEndOfTheLast();
    void pausesAfterNineHundredIdleSeconds();
    void touchAndRefreshResumePolling();
    void touchWhilePollingOnlyRecordsTheTime();
    void activationRestartsPolling();
    void nothingPollsWhileThePageIsHidden();
    void noOverlappingLoads();
    void savedSnapshotShowsWhenTheLiveOneFails();
    void liveErrorWhenNoSnapshotAtAll();
    void nullLiveAnswerEmptiesTheMap();
    void liveAnswerFirstCancelsTheSaved();
    void savedAnswerFirstShowsUntilTheLiveOne();
    void liveFailureWaitsForTheSaved();
    void freshSnapshotSkipsTheSaved();
    void snapshotOlderThanAnHourIsDropped();
    void plansAreCachedAndPruned();
    void lateplanOfAnotherFlightIsDropped();
    void ownFlightRequestSelectsTheOwnFlight();
    void ownFlightRequestWaitsForALiveSnapshot();
    void ownFlightRequestWithoutOwnFlight();
    void selectionMovesTheCameraAboveTheFlight();
    void tapClearsOnlyAnOlderSelection();
    void cameraMovesTrackRegionAndZoom();
    void markersCarryTheTextsTheyAreHeardBy();
    void demonstrationToursOneFlightASecond();
    void demonstrationOfAnEmptyMapStopsAtOnce();
    void ownFlightButtonSelectsTheOnlyOne();
    void ownFlightButtonOpensThePickerForMore();
    void compactHeightFollowsTheCard();
    void headerTexts();

private:
    Sample::Service &service() { return *m_site->service; }
    int requests(const QString &pathAndQuery) const;
    int liveRequests() const { return requests(livePath); }
    int savedRequests() const { return requests(savedPath); }
    // A model of the signed-in member, on the test's clock, not shown yet.
    std::unique_ptr<LiveMapModel> makeModel();
    // Shows it and waits until its first load has ended and its loop sleeps.
    bool showAndSettle(LiveMapModel &model);
    // Moves the clock on by one poll and waits for the load it starts to end.
    bool nextPoll(LiveMapModel &model, int expectedLiveRequests);
    // Lets the map sit untouched until it pauses: one poll far on, whose load ends past the idle limit, and
    // the sleep after it.
    bool idleUntilPaused(LiveMapModel &model);
    // The first flight of the snapshot whose plan can be asked for, other than the member's own.
    std::optional<LiveFlight> plannableCrowdFlight(const LiveMapModel &model) const;

    FlightActivityNavigation m_activity{nullptr};
    const Installed<FlightActivityNavigation> m_installedActivity{m_activity};
    std::unique_ptr<Site> m_site;
    std::unique_ptr<APIClient> m_client;
    std::unique_ptr<MemberData> m_data;
    std::shared_ptr<ManualClock> m_clock;
};

void LiveMapModelTest::init()
{
    qputenv("LANGUAGE", "zh_CN");
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_client = m_site->signedInClient();
    m_data = std::make_unique<MemberData>(m_client.get());
    m_clock = std::make_shared<ManualClock>();
    m_data->setClock([clock = m_clock] { return clock->now(); });
    m_activity.clearOwnFlightRequest();
}

void LiveMapModelTest::cleanup()
{
    m_activity.clearOwnFlightRequest();
    m_data.reset();
    m_client.reset();
    m_site.reset();
}

int LiveMapModelTest::requests(const QString &pathAndQuery) const
{
    int count = 0;
    for (const Request &request : m_site->service->requests()) {
        const QString query = request.query.toString(QUrl::FullyDecoded);
        if ((query.isEmpty() ? request.path : request.path + '?' + query) == pathAndQuery)
            ++count;
    }
    return count;
}

std::unique_ptr<LiveMapModel> LiveMapModelTest::makeModel()
{
    auto model = std::make_unique<LiveMapModel>();
    model->setClock(m_clock);
    model->setMemberData(m_data.get());
    model->setClient(m_client.get());
    model->setUsername("lichen");
    model->setActive(true);
    return model;
}

bool LiveMapModelTest::showAndSettle(LiveMapModel &model)
{
    model.setShown(true);
    return TestSupport::waitFor(
        [&] { return liveRequests() >= 1 && !model.loading() && m_clock->pending() == 1; });
}

bool LiveMapModelTest::nextPoll(LiveMapModel &model, int expectedLiveRequests)
{
    m_clock->advance(30s);
    return TestSupport::waitFor([&] {
        return liveRequests() == expectedLiveRequests && !model.loading() && m_clock->pending() == 1;
    });
}

bool LiveMapModelTest::idleUntilPaused(LiveMapModel &model)
{
    m_clock->advance(931s);
    if (!TestSupport::waitFor([&] { return !model.loading() && m_clock->pending() == 1; }))
        return false;
    m_clock->advance(30s);
    return TestSupport::waitFor([&] { return model.paused(); });
}

std::optional<LiveFlight> LiveMapModelTest::plannableCrowdFlight(const LiveMapModel &model) const
{
    for (const LiveFlight &flight : model.snapshot()->flights) {
        if (flight.id.startsWith("cr-") && LiveMapRules::plannable(flight))
            return flight;
    }
    return std::nullopt;
}

void LiveMapModelTest::initialState()
{
    auto model = makeModel();
    QVERIFY(model->satellite());
    QCOMPARE(model->error(), QString());
    QVERIFY(!model->hasSelection());
    QVERIFY(!model->plan());
    QVERIFY(!QUuid::fromString(model->cycle()).isNull());
    QVERIFY(!model->loading());
    QCOMPARE(model->lastActivity(), m_clock->now());
    QVERIFY(!model->paused());
    QVERIFY(!model->searching());
    QVERIFY(!model->choosingOwnFlights());
    QCOMPARE(model->planCount(), 0);
    QVERIFY(!model->demonstrating());
    QCOMPARE(model->zoom(), 2.4);
    const MapCameraPosition position = model->position();
    QCOMPARE(position.center, QGeoCoordinate(28.0, 105.0));
    QCOMPARE(position.distance, 35'000'000.0);
    QCOMPARE(position.heading, 0.0);
    QCOMPARE(position.pitch, 0.0);
    QVERIFY(!position.region);
    QCOMPARE(model->region(), (MapRegion{28.0, 105.0, 50, 70}));
    QVERIFY(model->selectedAt() < QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC));
    QCOMPARE(model->compactHeight(), 380.0);
    // Nothing loads before the page shows.
    QTest::qWait(50);
    QCOMPARE(liveRequests(), 0);
}

void LiveMapModelTest::loadsAtOnceThenEveryThirtySeconds()
{
    auto model = makeModel();
    QCOMPARE(liveRequests(), 0);
    QVERIFY(showAndSettle(*model));
    QCOMPARE(liveRequests(), 1);
    QVERIFY(model->hasSnapshot());
    // The sample's crowd: well over 1,500 flights over the world, the member's own among them.
    QVERIFY(model->flightCount() >= 1500);
    QCOMPARE(model->snapshot()->ownFlight->id, QString("lv-207"));
    QVERIFY(model->liveCount() > 0);

    m_clock->advance(29s);
    QTest::qWait(50);
    QCOMPARE(liveRequests(), 1);
    m_clock->advance(1s);
    QTRY_COMPARE(liveRequests(), 2);
    QTRY_VERIFY(!model->loading() && m_clock->pending() == 1);
    QVERIFY(nextPoll(*model, 3));
}

void LiveMapModelTest::nextLoadCountsFromTheEndOfTheLast()
{
    // The live answer is held back; the saved one answers as usual.
    service().setFault(savedPath, Fault{});
    service().setFault(livePath, Fault{.held = true});
    auto model = makeModel();
    model->setShown(true);
    QTRY_COMPARE(liveRequests(), 1);
    QVERIFY(model->loading());
    // No sleep runs while the load does, however long it takes.
    m_clock->advance(90s);
    QTest::qWait(50);
    QCOMPARE(m_clock->pending(), 0);
    QCOMPARE(liveRequests(), 1);

    service().clearFaults();
    service().release();
    QTRY_VERIFY(!model->loading() && m_clock->pending() == 1);
    m_clock->advance(29s);
    QTest::qWait(50);
    QCOMPARE(liveRequests(), 1);
    m_clock->advance(1s);
    QTRY_COMPARE(liveRequests(), 2);
}

void LiveMapModelTest::pausesAfterNineHundredIdleSeconds()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    // Exactly 900 seconds after the last interaction it still polls...
    for (int poll = 2; poll <= 31; ++poll)
        QVERIFY2(nextPoll(*model, poll), qPrintable(QString::number(poll)));
    QCOMPARE(model->lastActivity().secsTo(m_clock->now()), 900);
    QVERIFY(!model->paused());
    // ...a little more pauses it at the end of the next sleep, with no load.
    m_clock->advance(30s);
    QTRY_VERIFY(model->paused());
    QCOMPARE(liveRequests(), 31);
    QCOMPARE(m_clock->pending(), 0);
    m_clock->advance(600s);
    QTest::qWait(50);
    QCOMPARE(liveRequests(), 31);
}

void LiveMapModelTest::touchAndRefreshResumePolling()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QVERIFY(idleUntilPaused(*model));
    const int before = liveRequests();
    const QString cycle = model->cycle();

    // A touch (a camera move, a selection) starts a new cycle that loads at once.
    model->touched();
    QVERIFY(!model->paused());
    QVERIFY(model->cycle() != cycle);
    QTRY_COMPARE(liveRequests(), before + 1);
    QTRY_VERIFY(!model->loading() && m_clock->pending() == 1);

    QVERIFY(idleUntilPaused(*model));
    // So does the refresh button.
    model->refresh();
    QVERIFY(!model->paused());
    QTRY_COMPARE(liveRequests(), before + 3);
    QCOMPARE(model->lastActivity(), m_clock->now());
}

void LiveMapModelTest::touchWhilePollingOnlyRecordsTheTime()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    const QString cycle = model->cycle();
    m_clock->advance(10s);
    model->touched();
    QCOMPARE(model->cycle(), cycle);
    QCOMPARE(model->lastActivity(), m_clock->now());
    QTest::qWait(50);
    QCOMPARE(liveRequests(), 1);
}

void LiveMapModelTest::activationRestartsPolling()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    model->select(model->snapshot()->flights.constFirst(), false);
    QVERIFY(model->hasSelection());

    // Leaving the active phase clears the selection at once and ends the loop after its sleep, unpaused.
    model->setActive(false);
    QVERIFY(!model->hasSelection());
    QVERIFY(!model->plan());
    m_clock->advance(30s);
    QTest::qWait(50);
    QCOMPARE(liveRequests(), 1);
    QCOMPARE(m_clock->pending(), 0);
    QVERIFY(!model->paused());
    m_clock->advance(300s);
    QTest::qWait(50);
    QCOMPARE(liveRequests(), 1);

    // Coming back starts a new cycle that loads at once.
    model->setActive(true);
    QTRY_COMPARE(liveRequests(), 2);
}

void LiveMapModelTest::nothingPollsWhileThePageIsHidden()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    model->select(model->snapshot()->flights.constFirst(), false);
    model->setShown(false);
    QVERIFY(!model->hasSelection());
    // The loop's sleep ended with the page.
    QCOMPARE(m_clock->pending(), 0);
    m_clock->advance(600s);
    QTest::qWait(50);
    QCOMPARE(liveRequests(), 1);

    model->setShown(true);
    QTRY_COMPARE(liveRequests(), 2);
}

void LiveMapModelTest::noOverlappingLoads()
{
    service().setFault(savedPath, Fault{});
    service().setFault(livePath, Fault{.held = true});
    auto model = makeModel();
    model->setShown(true);
    QTRY_COMPARE(liveRequests(), 1);
    // A new cycle and an own-flight request while the load runs start no second one.
    model->refresh();
    m_activity.requestOwnFlight();
    QTest::qWait(100);
    QCOMPARE(liveRequests(), 1);
    QVERIFY(model->loading());

    service().clearFaults();
    service().release();
    QTRY_VERIFY(!model->loading());
    // The request is served when that load ends; one loop sleeps.
    QTRY_VERIFY(model->hasSelection());
    QCOMPARE(model->selected()->id, QString("lv-207"));
    QVERIFY(m_activity.ownFlightRequest().isEmpty());
    QTRY_COMPARE(m_clock->pending(), 1);
    QVERIFY(nextPoll(*model, 2));
}

void LiveMapModelTest::savedSnapshotShowsWhenTheLiveOneFails()
{
    service().setLiveSnapshotFailing(true);
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QCOMPARE(savedRequests(), 1);
    QVERIFY(model->hasSnapshot());
    QVERIFY(model->savedSnapshot());
    QVERIFY(model->flightCount() > 600);
    QCOMPARE(model->error(), MapBanner::olderDataMessage());
    // The next load keeps it on the map: a snapshot is held, so no saved request.
    QVERIFY(nextPoll(*model, 2));
    QCOMPARE(savedRequests(), 1);
    QCOMPARE(model->error(), MapBanner::olderDataMessage());
    // The live snapshot back: it replaces the saved one and the message goes.
    service().setLiveSnapshotFailing(false);
    QVERIFY(nextPoll(*model, 3));
    QVERIFY(!model->savedSnapshot());
    QCOMPARE(model->error(), QString());
}

void LiveMapModelTest::liveErrorWhenNoSnapshotAtAll()
{
    service().setLiveSnapshotFailing(true);
    service().setFault(savedPath, Fault{.status = 500});
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QVERIFY(!model->hasSnapshot());
    QCOMPARE(model->error(), QString("实时航班数据暂时不可用。"));
}

void LiveMapModelTest::nullLiveAnswerEmptiesTheMap()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QVERIFY(model->flightCount() >= 1500);
    QVERIFY(model->markers()->rowCount() >= 1500);
    service().route("GET", livePath,
                    [](Sample::Service &, const Request &) { return Reply::json(QJsonValue::Null); });
    QVERIFY(nextPoll(*model, 2));
    QVERIFY(!model->hasSnapshot());
    QCOMPARE(model->markers()->rowCount(), 0);
    QCOMPARE(model->error(), QString());
}

void LiveMapModelTest::liveAnswerFirstCancelsTheSaved()
{
    service().setFault(savedPath, Fault{.held = true});
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QCOMPARE(savedRequests(), 1);
    QCOMPARE(model->status(), QString("live"));
    // The saved answer comes late: it is not stored over the live one.
    service().clearFaults();
    service().release();
    QTest::qWait(300);
    QCOMPARE(model->status(), QString("live"));
}

void LiveMapModelTest::savedAnswerFirstShowsUntilTheLiveOne()
{
    service().setFault(savedPath, Fault{});
    service().setFault(livePath, Fault{.held = true});
    auto model = makeModel();
    model->setShown(true);
    // The saved snapshot shows while the live one loads.
    QTRY_VERIFY(model->savedSnapshot());
    QVERIFY(model->loading());
    service().clearFaults();
    service().release();
    QTRY_VERIFY(!model->loading());
    QCOMPARE(model->status(), QString("live"));
    QCOMPARE(model->error(), QString());
}

void LiveMapModelTest::liveFailureWaitsForTheSaved()
{
    service().setLiveSnapshotFailing(true);
    service().setFault(savedPath, Fault{.held = true});
    auto model = makeModel();
    model->setShown(true);
    QTRY_COMPARE(liveRequests(), 1);
    // The live failure is in, but the message waits to know whether older data will be on the map.
    QTest::qWait(300);
    QVERIFY(model->loading());
    QCOMPARE(model->error(), QString());
    service().clearFaults();
    service().release();
    QTRY_VERIFY(!model->loading());
    QVERIFY(model->savedSnapshot());
    QCOMPARE(model->error(), MapBanner::olderDataMessage());
}

void LiveMapModelTest::freshSnapshotSkipsTheSaved()
{
    LiveResponse earlier;
    earlier.flights = {LiveFlight{.id = "old", .latitude = 1, .longitude = 2}};
    m_data->setLiveMap(earlier);
    m_clock->advance(3599s);
    auto model = makeModel();
    // It shows at once, before any answer.
    QCOMPARE(model->flightCount(), 1);
    QVERIFY(showAndSettle(*model));
    QCOMPARE(savedRequests(), 0);
    QVERIFY(model->flightCount() >= 1500);
}

void LiveMapModelTest::snapshotOlderThanAnHourIsDropped()
{
    LiveResponse earlier;
    earlier.flights = {LiveFlight{.id = "old", .latitude = 1, .longitude = 2}};
    m_data->setLiveMap(earlier);
    m_clock->advance(3601s);
    service().setLiveSnapshotFailing(true);
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QCOMPARE(savedRequests(), 1);
    QVERIFY(model->savedSnapshot());
}

void LiveMapModelTest::plansAreCachedAndPruned()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    // Every load fetches the own flights' plans.
    const LiveFlight own = *model->snapshot()->ownFlight;
    QCOMPARE(model->planCount(), 1);
    QVERIFY(model->plans().contains(LiveMapRules::planKey(own)));

    // A selected flight's plan is fetched and cached.
    const std::optional<LiveFlight> crowd = plannableCrowdFlight(*model);
    QVERIFY(crowd);
    model->select(*crowd, false);
    QTRY_VERIFY(model->plan());
    QCOMPARE(model->planCount(), 2);
    QVERIFY(model->planPath().size() >= 2);
    QVERIFY(model->routePath().size() >= 2);

    // A snapshot without that flight: its plan goes, the selection stays as it was.
    QJsonObject snapshot{{"flights", QJsonArray{QJsonObject{{"id", own.id},
                                                            {"sessionId", *own.sessionId},
                                                            {"flightId", *own.flightId},
                                                            {"latitude", 31},
                                                            {"longitude", 125}}}}};
    service().route("GET", livePath,
                    [snapshot](Sample::Service &, const Request &) { return Reply::json(snapshot); });
    QVERIFY(nextPoll(*model, 2));
    QCOMPARE(model->flightCount(), 1);
    QCOMPARE(QList<QString>(model->plans().keyBegin(), model->plans().keyEnd()),
             QList<QString>{LiveMapRules::planKey(own)});
    QCOMPARE(model->selected()->id, crowd->id);
}

void LiveMapModelTest::lateplanOfAnotherFlightIsDropped()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    const int cached = model->planCount();
    const std::optional<LiveFlight> crowd = plannableCrowdFlight(*model);
    QVERIFY(crowd);
    service().setFault("/api/live-map/plan", Fault{.held = true});
    model->select(*crowd, false);
    QTRY_COMPARE(service().requestsTo("/api/live-map/plan").size(), 2);
    // Another selection (a flight whose plan cannot be asked for) before the answer comes.
    LiveFlight other = model->snapshot()->flights.at(1);
    other.flightId.reset();
    model->select(other, false);
    service().clearFaults();
    service().release();
    QTest::qWait(300);
    QCOMPARE(model->planCount(), cached);
    QVERIFY(!model->plan());
}

void LiveMapModelTest::ownFlightRequestSelectsTheOwnFlight()
{
    m_activity.requestOwnFlight();
    auto model = makeModel();
    QSignalSpy camera(model.get(), &LiveMapModel::cameraRequested);
    model->setShown(true);
    QTRY_VERIFY(model->hasSelection());
    const LiveFlight own = *model->snapshot()->ownFlight;
    QCOMPARE(model->selected()->id, QString("lv-207"));
    QVERIFY(m_activity.ownFlightRequest().isEmpty());
    QCOMPARE(model->region(), (MapRegion{own.latitude, own.longitude, 2, 2}));
    QVERIFY(!camera.isEmpty());
    const auto position = camera.constLast().at(0).value<MapCameraPosition>();
    QVERIFY(position.region);
    QVERIFY(qFuzzyCompare(position.region->latitude, own.latitude - 0.24));
    QCOMPARE(position.region->latitudeSpan, 2.0);
    QVERIFY(camera.constLast().at(1).toBool());
    // Its plan came with the load.
    QTRY_VERIFY(model->plan());
}

void LiveMapModelTest::ownFlightRequestWaitsForALiveSnapshot()
{
    service().setLiveSnapshotFailing(true);
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QVERIFY(model->savedSnapshot());
    m_activity.requestOwnFlight();
    QTRY_COMPARE(liveRequests(), 2);
    QTRY_VERIFY(!model->loading());
    QVERIFY(!model->hasSelection());
    QVERIFY(!m_activity.ownFlightRequest().isEmpty());

    service().setLiveSnapshotFailing(false);
    model->refresh();
    QTRY_VERIFY(model->hasSelection());
    QCOMPARE(model->selected()->id, QString("lv-207"));
    QVERIFY(m_activity.ownFlightRequest().isEmpty());
}

void LiveMapModelTest::ownFlightRequestWithoutOwnFlight()
{
    const QJsonObject snapshot{
        {"flights", QJsonArray{QJsonObject{{"id", "x"}, {"latitude", 1}, {"longitude", 2}}}},
        {"ownFlight", QJsonValue::Null}};
    service().route("GET", livePath,
                    [snapshot](Sample::Service &, const Request &) { return Reply::json(snapshot); });
    m_activity.requestOwnFlight();
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QTRY_COMPARE(model->error(), MapBanner::ownFlightMissingMessage());
    QVERIFY(m_activity.ownFlightRequest().isEmpty());
    QVERIFY(!model->hasSelection());
    // The next load that gets past its guards clears the message.
    QVERIFY(nextPoll(*model, 2));
    QCOMPARE(model->error(), QString());
}

void LiveMapModelTest::selectionMovesTheCameraAboveTheFlight()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QCOMPARE(model->region(), (MapRegion{28.0, 105.0, 50, 70}));
    LiveFlight flight = model->snapshot()->flights.at(3);
    flight.latitude = 30;
    flight.longitude = 121.5;
    model->setDemonstrating(true);
    QSignalSpy camera(model.get(), &LiveMapModel::cameraRequested);
    model->select(flight, false);
    // A manual selection ends the tour; the map camera rests 6° south of the flight under a 50° span.
    QVERIFY(!model->demonstrating());
    QCOMPARE(camera.size(), 1);
    const auto position = camera.at(0).at(0).value<MapCameraPosition>();
    QCOMPARE(*position.region, (MapRegion{24.0, 121.5, 50, 70}));
    QCOMPARE(model->selectedAt(), m_clock->now());
    QCOMPARE(model->lastActivity(), m_clock->now());

    // The same flight again keeps its plan and moves the camera again.
    const std::optional<LiveFlight> own = model->snapshot()->ownFlight;
    model->select(*own, false);
    QVERIFY(model->plan());
    model->select(*own, false);
    QVERIFY(model->plan());
    QCOMPARE(camera.size(), 3);
    // A flight without a cached plan takes the previous plan away at once.
    model->select(flight, false);
    QVERIFY(!model->plan());
}

void LiveMapModelTest::tapClearsOnlyAnOlderSelection()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    model->select(model->snapshot()->flights.at(5), false);
    m_clock->advance(300ms);
    model->mapTapped();
    QVERIFY(model->hasSelection());
    m_clock->advance(200ms);
    model->setDemonstrating(false);
    model->mapTapped();
    QVERIFY(!model->hasSelection());
    QVERIFY(!model->plan());
    // Nothing selected: nothing happens.
    model->mapTapped();
    QVERIFY(!model->hasSelection());
}

void LiveMapModelTest::cameraMovesTrackRegionAndZoom()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QCOMPARE(model->zoom(), 2.4);
    QVERIFY(idleUntilPaused(*model));
    const int before = liveRequests();
    model->cameraMoved({35, 120, 40, 70}, 1000, QGeoCoordinate(35, 120), 5'000'000);
    QCOMPARE(model->region(), (MapRegion{35, 120, 40, 70}));
    QVERIFY(qFuzzyCompare(model->zoom(), std::log2(360000.0 / 35840.0)));
    // A finished camera movement is an interaction: the paused map polls again.
    QVERIFY(!model->paused());
    QTRY_COMPARE(liveRequests(), before + 1);
    // The markers take the zoom's size.
    const double expected = PlaneStyle::markerSize(
        model->snapshot()->flights.at(model->markers()->flightAt(0)).aircraft, model->zoom());
    QVERIFY(qFuzzyCompare(model->markers()->markers().at(0).size, expected));
}

void LiveMapModelTest::markersCarryTheTextsTheyAreHeardBy()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    LiveMapMarkers *markers = model->markers();
    QVERIFY(markers->rowCount() > 0);
    // The marker layer finds a marker's spoken texts by these role names.
    const QHash<int, QByteArray> names = markers->roleNames();
    const int callsignRole = names.key("callsign", -1);
    const int aircraftRole = names.key("aircraft", -1);
    QVERIFY(callsignRole >= 0);
    QVERIFY(aircraftRole >= 0);
    int withCallsign = 0;
    for (int row = 0; row < markers->rowCount(); ++row) {
        const LiveFlight &flight = model->snapshot()->flights.at(markers->flightAt(row));
        const QModelIndex index = markers->index(row);
        QCOMPARE(markers->data(index, callsignRole).toString(), flight.callsign.value_or(QString()));
        QCOMPARE(markers->data(index, aircraftRole).toString(), flight.aircraft.value_or(QString()));
        if (flight.callsign && !flight.callsign->isEmpty())
            ++withCallsign;
    }
    QVERIFY(withCallsign > 0);
    // A selection restacks the rows; the texts follow their flights.
    const LiveFlight chosen = model->snapshot()->flights.at(3);
    model->select(chosen, false);
    const int top = markers->rowCount() - 1;
    QCOMPARE(markers->flightAt(top), 3);
    QCOMPARE(markers->data(markers->index(top), callsignRole).toString(),
             chosen.callsign.value_or(QString()));
    QCOMPARE(markers->data(markers->index(top), aircraftRole).toString(),
             chosen.aircraft.value_or(QString()));
}

void LiveMapModelTest::demonstrationToursOneFlightASecond()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    const QList<LiveFlight> flights = model->snapshot()->flights;
    const int planRequests = int(service().requestsTo("/api/live-map/plan").size());
    model->toggleDemonstration();
    QVERIFY(model->demonstrating());
    QCOMPARE(model->selected()->id, flights.at(0).id);
    m_clock->advance(1s);
    QCOMPARE(model->selected()->id, flights.at(1).id);
    m_clock->advance(1s);
    QCOMPARE(model->selected()->id, flights.at(2).id);
    // Its own selections do not end it, and it asks for no plans.
    QVERIFY(model->demonstrating());
    QTest::qWait(100);
    QCOMPARE(int(service().requestsTo("/api/live-map/plan").size()), planRequests);
    // Each counts as an interaction.
    QCOMPARE(model->lastActivity(), m_clock->now());
    // A manual selection ends it.
    model->select(flights.at(10), false);
    QVERIFY(!model->demonstrating());
    m_clock->advance(1s);
    QCOMPARE(model->selected()->id, flights.at(10).id);
}

void LiveMapModelTest::demonstrationOfAnEmptyMapStopsAtOnce()
{
    service().route("GET", livePath, [](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"flights", QJsonArray()}});
    });
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QCOMPARE(model->flightCount(), 0);
    model->toggleDemonstration();
    QVERIFY(!model->demonstrating());
    QVERIFY(!model->hasSelection());
}

void LiveMapModelTest::ownFlightButtonSelectsTheOnlyOne()
{
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QCOMPARE(model->ownFlightCount(), 1);
    const QList<LiveFlight> own = model->ownFlights();
    QCOMPARE(own.constFirst().id, QString("lv-207"));
    model->ownFlightAction();
    QCOMPARE(model->selected()->id, QString("lv-207"));
    QVERIFY(!model->choosingOwnFlights());
}

void LiveMapModelTest::ownFlightButtonOpensThePickerForMore()
{
    const QJsonArray flights{
        QJsonObject{
            {"id", "a"}, {"pilot", "LICHEN"}, {"server", "Training"}, {"latitude", 1}, {"longitude", 2}},
        QJsonObject{{"id", "b"}, {"pilot", "someone"}, {"latitude", 3}, {"longitude", 4}},
        QJsonObject{
            {"id", "c"}, {"pilot", "lichen"}, {"server", "Expert"}, {"latitude", 5}, {"longitude", 6}}};
    service().route("GET", livePath, [flights](Sample::Service &, const Request &) {
        return Reply::json(QJsonObject{{"flights", flights}});
    });
    auto model = makeModel();
    QVERIFY(showAndSettle(*model));
    QCOMPARE(model->ownFlightCount(), 2);
    QCOMPARE(model->ownFlights().at(0).id, QString("c"));
    model->select(model->snapshot()->flights.at(1), false);
    model->setDemonstrating(true);
    model->ownFlightAction();
    QVERIFY(model->choosingOwnFlights());
    QVERIFY(!model->demonstrating());
    QVERIFY(!model->hasSelection());
    // Choosing one in the picker selects it and closes the picker.
    model->select(model->ownFlights().at(1), false);
    QVERIFY(!model->choosingOwnFlights());
    QCOMPARE(model->selected()->id, QString("a"));
}

void LiveMapModelTest::compactHeightFollowsTheCard()
{
    auto model = makeModel();
    QCOMPARE(model->compactHeight(), 380.0);
    model->measured(400.4);
    QCOMPARE(model->compactHeight(), 380.0);
    model->measured(402);
    QCOMPARE(model->compactHeight(), 382.0);
    model->measured(350);
    QCOMPARE(model->compactHeight(), 330.0);
}

void LiveMapModelTest::headerTexts()
{
    auto model = makeModel();
    // Before the first snapshot: no flights and no time.
    QCOMPARE(model->countText(), QString("0 架飞机"));
    QCOMPARE(model->selectedTitle(), QString());
    QVERIFY(showAndSettle(*model));
    QVERIFY(model->countText().startsWith(QString("%1 架飞机 · 更新于 ").arg(model->flightCount())));
    QCOMPARE(model->ownFlightButtonText(), QString("我的航班：B-207CA"));
    model->select(*model->snapshot()->ownFlight, false);
    QCOMPARE(model->selectedTitle(), QString("B-207CA · Airbus A330-300"));
    QVERIFY(model->selectedLive());

    // The time alone on the same day, the abbreviated date before it on another: the banner's rule.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QTimeZone utc = QTimeZone::utc();
    const QDateTime updated(QDate(2026, 5, 1), QTime(8, 5, 9), Qt::UTC);
    const QString wire = QStringLiteral("2026-05-01T08:05:09Z");
    QCOMPARE(MapBanner::updateText(wire, updated.addSecs(3600), english, utc),
             QString("· 更新于 8:05:09 AM"));
    QCOMPARE(MapBanner::updateText(wire, updated.addDays(1), english, utc),
             QString("· 更新于 May 1, 2026 8:05:09 AM"));
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QCOMPARE(MapBanner::updateText(wire, updated, chinese, utc), QString("· 更新于 08:05:09"));
    // The day is the member's: 23:30 UTC is the next day in Beijing.
    const QDateTime late(QDate(2026, 5, 1), QTime(23, 30), Qt::UTC);
    QCOMPARE(MapBanner::updateText(QStringLiteral("2026-05-01T23:30:00Z"), late, chinese,
                                   QTimeZone("Asia/Shanghai")),
             QString("· 更新于 07:30:00"));
}

QTEST_GUILESS_MAIN(LiveMapModelTest)
#include "tst_live_map_model.moc"
