// A live-map snapshot read straight from its bytes gives the same record as the ordinary reading through a
// QJsonDocument and JsonFields, or leaves the bytes to it: for the sample service's own snapshots and for
// every shape of JSON that could tell the two apart.
#include "APIClient.h"
#include "ClientTestSupport.h"
#include "FlightRecords.h"
#include "Json.h"

#include <QtTest>

using namespace TestSupport;

namespace {

// The ordinary reading: the record, or none when the answer is not one.
std::optional<LiveResponse> throughTheDocument(const QByteArray &bytes)
{
    try {
        const QJsonValue value = Json::parse(bytes);
        if (value.isNull())
            return std::nullopt;
        return LiveResponse::fromJson(value);
    } catch (const DecodeError &) {
        return std::nullopt;
    }
}

const QByteArray fullFlight = R"({"id":"lv-1","flightId":"2d7c9e41-8b3f-4a6d-b0e5-7f1a9c3d5e82",
  "sessionId":"7e5d7a3b-2f1c-4b8e-9d6a-0c4e8f2a1b93","server":"Expert","pilot":"LiChen_VNA","callsign":"B-207CA",
  "aircraft":"Airbus A330-300","livery":"China Eastern","latitude":31.5,"longitude":-121.25,"altitude":37000,
  "groundSpeed":465.5,"heading":78,"departure":"ZSPD","arrival":"RJTT","fleetRegistration":"B-5938",
  "verticalSpeed":-1900,"flightPhase":{"code":"cruise","labels":{"zh":"巡航","en":"Cruise","zh-HK":"巡航"},
  "symbol":"airplane","color":"#27AE60","verticalSpeed":0},"pilotState":0,"isConnected":true,
  "lastReport":"2026-05-01T08:00:00.000Z","eventAttending":false,"isLive":true})";

QByteArray snapshotWith(const QByteArray &flight, const QByteArray &rest = QByteArray())
{
    return "{\"flights\":[" + flight + "]" + rest + "}";
}

} // namespace

class LiveSnapshotReadingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameRecordOrLeftToTheDocument_data();
    void sameRecordOrLeftToTheDocument();
    void theSampleServicesSnapshots();
    void clientDecodesEitherWay();
};

void LiveSnapshotReadingTest::sameRecordOrLeftToTheDocument_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("direct"); // read straight from the bytes; else left to the ordinary reading

    QTest::newRow("no flights") << QByteArray(R"({"flights":[]})") << true;
    QTest::newRow("every field") << snapshotWith(
        fullFlight, R"(,"ownFlight":)" + fullFlight
                        + R"(,"members":[{"username":"lichen","flightIds":["lv-1"]}],)"
                          R"("status":"live","updatedAt":"2026-05-01T08:00:00Z",)"
                          R"("liveIdentification":"connected")")
                                 << true;
    QTest::newRow("nulls for the optional fields") << QByteArray(
        R"({"flights":[{"id":"a","latitude":1,"longitude":2,"flightId":null,"altitude":null,)"
        R"("flightPhase":null,"pilotState":null,"isLive":null}],"ownFlight":null,"members":null,)"
        R"("status":null})") << true;
    QTest::newRow("white space everywhere") << QByteArray(
        " \r\n\t{ \"flights\" : [ { \"id\" : \"a\" , \"latitude\" : 1 , \"longitude\" : 2 } ] } \n")
                                            << true;
    QTest::newRow("unknown keys of every kind") << QByteArray(
        R"({"x":{"y":[1,2,{"z":null}],"w":"v"},"flights":[{"id":"a","latitude":1,"longitude":2,)"
        R"("extra":[true,false,null,-1.5e3,"t"],"flight_number":7}],"more":"\u00e9"})")
                                                << true;
    QTest::newRow("escapes") << snapshotWith(
        R"({"id":"a\"b\\c\/d\b\f\n\r\t\u00e9\u4e2d","latitude":1,"longitude":2})")
                             << true;
    QTest::newRow("non-ASCII text") << snapshotWith(R"({"id":"航班-é-😀","latitude":1,"longitude":2})")
                                    << true;
    QTest::newRow("numbers") << snapshotWith(R"({"id":"a","latitude":-0,"longitude":1E3,"altitude":0.5e-2,)"
                                             R"("heading":123456789012345678901234,"pilotState":3.0})")
                             << true;
    QTest::newRow("the largest whole number") << snapshotWith(R"({"id":"a","latitude":1,"longitude":2,)"
                                                              R"("pilotState":9223372036854775807})")
                                              << true;
    QTest::newRow("labels empty") << snapshotWith(
        R"({"id":"a","latitude":1,"longitude":2,"flightPhase":)"
        R"({"code":"c","labels":{},"symbol":"s","color":"#000000"}})")
                                  << true;

    // Left to the ordinary reading, which reads them, or fails them.
    QTest::newRow("snake-case key") << snapshotWith(
        R"({"id":"a","latitude":1,"longitude":2,"flight_id":"f"})")
                                    << false;
    QTest::newRow("snake-case key of the snapshot")
        << QByteArray(R"({"flights":[],"live_identification":"connected"})") << false;
    QTest::newRow("a key twice") << snapshotWith(R"({"id":"a","latitude":1,"latitude":5,"longitude":2})")
                                 << false;
    QTest::newRow("a label twice") << snapshotWith(R"({"id":"a","latitude":1,"longitude":2,"flightPhase":)"
                                                   R"({"code":"c","labels":{"en":"A","en":"B"},"symbol":"s",)"
                                                   R"("color":"#000000"}})")
                                   << false;
    QTest::newRow("escaped key") << snapshotWith(R"({"id":"a","latitud\u0065":1,"longitude":2})") << false;
    QTest::newRow("surrogate pair") << snapshotWith(R"({"id":"\ud83d\ude00","latitude":1,"longitude":2})")
                                    << false;
    QTest::newRow("lone surrogate") << snapshotWith(R"({"id":"\ud83d","latitude":1,"longitude":2})") << false;
    QTest::newRow("null character") << snapshotWith(R"({"id":"a\u0000","latitude":1,"longitude":2})")
                                    << false;
    QTest::newRow("not UTF-8") << snapshotWith("{\"id\":\"a\xff\",\"latitude\":1,\"longitude\":2}") << false;
    QTest::newRow("overlong UTF-8") << snapshotWith("{\"id\":\"\xc0\xaf\",\"latitude\":1,\"longitude\":2}")
                                    << false;
    QTest::newRow("raw control character")
        << snapshotWith("{\"id\":\"a\tb\",\"latitude\":1,\"longitude\":2}") << false;
    QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf{\"flights\":[]}") << false;
    QTest::newRow("missing required field") << snapshotWith(R"({"id":"a","latitude":1})") << false;
    QTest::newRow("required field null")
        << snapshotWith(R"({"id":null,"latitude":1,"longitude":2})") << false;
    QTest::newRow("flights null") << QByteArray(R"({"flights":null})") << false;
    QTest::newRow("no flights") << QByteArray(R"({"status":"live"})") << false;
    QTest::newRow("number as text") << snapshotWith(R"({"id":"a","latitude":"1","longitude":2})") << false;
    QTest::newRow("text as number") << snapshotWith(R"({"id":7,"latitude":1,"longitude":2})") << false;
    QTest::newRow("flag as number") << snapshotWith(R"({"id":"a","latitude":1,"longitude":2,"isLive":1})")
                                    << false;
    QTest::newRow("fractional state")
        << snapshotWith(R"({"id":"a","latitude":1,"longitude":2,"pilotState":3.5})") << false;
    QTest::newRow("state out of range")
        << snapshotWith(R"({"id":"a","latitude":1,"longitude":2,"pilotState":1e19})") << false;
    QTest::newRow("null flight") << QByteArray(R"({"flights":[null]})") << false;
    QTest::newRow("phase not an object")
        << snapshotWith(R"({"id":"a","latitude":1,"longitude":2,"flightPhase":3})") << false;
    QTest::newRow("label not text") << snapshotWith(
        R"({"id":"a","latitude":1,"longitude":2,"flightPhase":)"
        R"({"code":"c","labels":{"en":null},"symbol":"s","color":"c"}})")
                                    << false;
    QTest::newRow("member id not text")
        << QByteArray(R"({"flights":[],"members":[{"username":"u","flightIds":[1]}]})") << false;
    QTest::newRow("leading zero") << snapshotWith(R"({"id":"a","latitude":01,"longitude":2})") << false;
    QTest::newRow("number out of range")
        << snapshotWith(R"({"id":"a","latitude":1e400,"longitude":2})") << false;
    QTest::newRow("trailing comma") << QByteArray(R"({"flights":[],})") << false;
    QTest::newRow("trailing bytes") << QByteArray(R"({"flights":[]} x)") << false;
    QTest::newRow("cut short") << QByteArray(R"({"flights":[{"id":"a")") << false;
    QTest::newRow("a list, not a record") << QByteArray(R"([{"flights":[]}])") << false;
    QTest::newRow("null") << QByteArray(" null ") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QByteArray deep = R"({"flights":[],"x":)";
    for (int i = 0; i < 300; ++i)
        deep += '[';
    for (int i = 0; i < 300; ++i)
        deep += ']';
    QTest::newRow("deep nesting") << deep + "}" << false;
}

void LiveSnapshotReadingTest::sameRecordOrLeftToTheDocument()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, direct);
    const std::optional<LiveResponse> fast = LiveResponse::readDirectly(json);
    const std::optional<LiveResponse> ordinary = throughTheDocument(json);
    QCOMPARE(fast.has_value(), direct);
    if (fast) {
        QVERIFY(ordinary);
        QVERIFY(*fast == *ordinary);
    }
    // The client's reading is the one or the other, with the same record.
    std::optional<LiveResponse> client;
    bool failed = false;
    try {
        client = APIClient::readOptional<LiveResponse>(json);
    } catch (const DecodeError &) {
        failed = true;
    }
    QCOMPARE(client.has_value(), ordinary.has_value());
    if (client)
        QVERIFY(*client == *ordinary);
    if (failed)
        QVERIFY(!ordinary);
}

void LiveSnapshotReadingTest::theSampleServicesSnapshots()
{
    Site site;
    QVERIFY(site.started);
    const auto client = site.client();
    await(client->login("lichen", "fly-vornalia", false));
    for (const QString path : {"/api/infinite-flight/live", "/api/infinite-flight/live?saved=1"}) {
        const HTTPAnswer answer = await(client->perform(client->makeRequest(path, "GET")));
        const std::optional<LiveResponse> fast = LiveResponse::readDirectly(answer.body);
        QVERIFY2(fast, qPrintable(path));
        const std::optional<LiveResponse> ordinary = throughTheDocument(answer.body);
        QVERIFY(ordinary);
        QVERIFY(*fast == *ordinary);
        QVERIFY(fast->flights.size() > 600);
    }
}

void LiveSnapshotReadingTest::clientDecodesEitherWay()
{
    Site site;
    QVERIFY(site.started);
    const auto client = site.client();
    await(client->login("lichen", "fly-vornalia", false));
    const auto request = [&] { return client->makeRequest("/api/infinite-flight/live", "GET"); };
    const std::optional<LiveResponse> inBackground =
        await(client->decodeOptionalInBackground<LiveResponse>(request()));
    QVERIFY(inBackground);
    QVERIFY(inBackground->flights.size() >= 1500);
    // An answer only the ordinary reading takes (snake-case keys) decodes the same in the background.
    site.service->setFault(
        "/api/infinite-flight/live",
        Sample::Fault{.rawJson = R"({"flights":[{"id":"a","latitude":1,"longitude":2,"is_live":true}],)"
                                 R"("live_identification":"connected"})"});
    const std::optional<LiveResponse> snake =
        await(client->decodeOptionalInBackground<LiveResponse>(request()));
    QVERIFY(snake);
    QCOMPARE(snake->flights.constFirst().isLive, std::optional<bool>(true));
    QCOMPARE(snake->liveIdentification, std::optional<QString>("connected"));
    // A null answer is none; an answer that is no snapshot fails as the client's 502.
    site.service->setFault("/api/infinite-flight/live", Sample::Fault{.rawJson = "null"});
    QVERIFY(!await(client->decodeOptionalInBackground<LiveResponse>(request())));
    site.service->setFault("/api/infinite-flight/live", Sample::Fault{.rawJson = R"({"flights":7})"});
    const auto error =
        thrown<APIError>([&] { await(client->decodeOptionalInBackground<LiveResponse>(request())); });
    QVERIFY(error);
    QCOMPARE(error->status(), 502);
}

QTEST_GUILESS_MAIN(LiveSnapshotReadingTest)
#include "tst_live_snapshot_reading.moc"
