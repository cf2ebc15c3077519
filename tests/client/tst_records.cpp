#include <QtTest>

#include "AccountRecords.h"
#include "CommunityRecords.h"
#include "FlightRecords.h"
#include "Json.h"
#include "LiveScheduleRecords.h"
#include "ReviewRecords.h"
#include "WireTime.h"

#include <functional>

Q_DECLARE_METATYPE(PirepState)

namespace {

template <typename T>
T decode(const QByteArray &json)
{
    return T::fromJson(Json::parse(json));
}

// How the client reads a whole answer: a bare null is no record only where the service may send one.
template <typename T>
std::optional<T> answer(const QByteArray &body)
{
    const QJsonValue value = Json::parse(body);
    if constexpr (T::optionalAnswer) {
        if (value.isNull())
            return std::nullopt;
    }
    return T::fromJson(value);
}

using Decoder = std::function<void(const QJsonValue &)>;

template <typename T>
Decoder decoderOf()
{
    return [](const QJsonValue &value) { T::fromJson(value); };
}

const QHash<QString, Decoder> &decoders()
{
    static const QHash<QString, Decoder> table{
        {"UserResponse", decoderOf<UserResponse>()},
        {"ProfileResponse", decoderOf<ProfileResponse>()},
        {"PirepResponse", decoderOf<PirepResponse>()},
        {"MultiplierOptions", decoderOf<MultiplierOptions>()},
        {"UpcomingResponse", decoderOf<UpcomingResponse>()},
        {"AttendanceResponse", decoderOf<AttendanceResponse>()},
        {"LeaderboardResponse", decoderOf<LeaderboardResponse>()},
        {"SiteInbox", decoderOf<SiteInbox>()},
        {"RecentFlightsResponse", decoderOf<RecentFlightsResponse>()},
        {"AircraftNames", decoderOf<AircraftNames>()},
        {"LiveResponse", decoderOf<LiveResponse>()},
        {"PlanResponse", decoderOf<PlanResponse>()},
        {"LiveBoard", decoderOf<LiveBoard>()},
        {"LiveApplications", decoderOf<LiveApplications>()},
        {"LiveFleetPositions", decoderOf<LiveFleetPositions>()},
        {"LiveRoutes", decoderOf<LiveRoutes>()},
        {"LiveAuthorization", decoderOf<LiveAuthorization>()},
        {"LiveAuthorizationStart", decoderOf<LiveAuthorizationStart>()},
        {"LiveReviewResult", decoderOf<LiveReviewResult>()},
        {"ReviewHistory", decoderOf<ReviewHistory>()},
    };
    return table;
}

// The seven fields every report must carry.
const QByteArray pirepCore = R"("id":"p1","departureCode":"ZBAA","arrivalCode":"ZSSS","aircraft":"A320",)"
                             R"("livery":"Vornalia","durationMinutes":125,"status":"pending")";

QByteArray pirepWith(const QByteArray &more)
{
    return "{" + pirepCore + (more.isEmpty() ? QByteArray() : "," + more) + "}";
}

const QByteArray eventCore =
    R"("id":"e1","departureCode":"ZBAA","arrivalCode":"ZSSS","departureCity":"北京",)"
    R"("arrivalCity":"上海","estimatedMinutes":15,"aircraft":"A320","livery":"Vornalia",)"
    R"("eventAtUtc":"2024-05-01T08:30:00Z")";

const QByteArray organizationCore = R"("id":"o1","name":"Vornalia","aircraft":[])";

} // namespace

class RecordsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void isoDates_data();
    void isoDates();
    void wholeAnswerDecodesOrFails_data();
    void wholeAnswerDecodesOrFails();
    void nullAnswers();
    void snakeAndCamelKeysFillTheSameField_data();
    void snakeAndCamelKeysFillTheSameField();
    void missingAndNullOptionalsAreNone();
    void encodingLeavesOutNone();
    void formattedCallsign_data();
    void formattedCallsign();
    void pirepStatus_data();
    void pirepStatus();
    void identities();
    void equalityAndHashing();
    void attendanceChoices();
    void liveScheduleTexts();
    void phaseTitleFallsBack();
    void isoTimes();
    void noticeReadState();
};

void RecordsTest::initTestCase()
{
    // Expected texts below are the Chinese keys themselves.
    qputenv("LANGUAGE", "zh_CN");
}

void RecordsTest::wholeAnswerDecodesOrFails_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("decodes");

    QTest::newRow("report with only its required fields") << "PirepResponse"
                                                          << "{\"pireps\":[" + pirepWith({}) + "]}" << true;
    QTest::newRow("report without status")
        << "PirepResponse"
        << "{\"pireps\":[" + pirepWith({}).replace(",\"status\":\"pending\"", "") + "]}" << false;
    QTest::newRow("duration as text")
        << "PirepResponse"
        << "{\"pireps\":[" + pirepWith({}).replace("125", "\"125\"") + "]}" << false;
    QTest::newRow("one bad report fails the list")
        << "PirepResponse"
        << "{\"pireps\":[" + pirepWith({}) + ",{\"id\":\"p2\"}]}" << false;
    QTest::newRow("summary null") << "PirepResponse" << QByteArray("{\"pireps\":[],\"summary\":null}")
                                  << true;
    QTest::newRow("summary of another type")
        << "PirepResponse" << QByteArray("{\"pireps\":[],\"summary\":3}") << false;
    QTest::newRow("evidence count with a fraction")
        << "PirepResponse"
        << "{\"pireps\":[" + pirepWith("\"evidenceCount\":1.5") + "]}" << false;
    QTest::newRow("top-level list for a record") << "PirepResponse" << QByteArray("[]") << false;
    QTest::newRow("user without role")
        << "UserResponse" << QByteArray(R"({"user":{"id":"1","username":"li"}})") << false;
    QTest::newRow("avatar flag as text")
        << "ProfileResponse"
        << QByteArray(
               R"({"profile":{"wechatName":"w","callsign":"","contactEmail":"a@b.cn","hasAvatar":"no"}})")
        << false;
    QTest::newRow("multiplier options without event")
        << "MultiplierOptions" << QByteArray(R"({"organization":{"available":true}})") << false;
    QTest::newRow("event hours with a fraction")
        << "UpcomingResponse"
        << "{\"events\":[{" + eventCore + ",\"estimatedHours\":1.5}]}" << false;
    QTest::newRow("event hours written 2.0")
        << "UpcomingResponse"
        << "{\"events\":[{" + eventCore + ",\"estimatedHours\":2.0}]}" << true;
    QTest::newRow("event options of another type")
        << "UpcomingResponse"
        << "{\"events\":[{" + eventCore + ",\"estimatedHours\":2,\"aircraftOptions\":\"A320\"}]}" << false;
    QTest::newRow("attendance answer as a number")
        << "AttendanceResponse" << QByteArray(R"({"responses":[{"eventId":"e1","response":1}]})") << false;
    QTest::newRow("leaderboard with only members")
        << "LeaderboardResponse"
        << QByteArray(R"({"members":[{"username":"li","approvedCount":3,"approvedMinutes":90}]})") << true;
    QTest::newRow("leaderboard member without minutes")
        << "LeaderboardResponse" << QByteArray(R"({"members":[{"username":"li","approvedCount":3}]})")
        << false;
    QTest::newRow("inbox without its count") << "SiteInbox" << QByteArray(R"({"notifications":[]})") << false;
    QTest::newRow("notice read time as text")
        << "SiteInbox"
        << QByteArray(
               R"({"unreadCount":0,"notifications":[{"id":"n1","kind":"pirep_submitted","entityId":"p1",)"
               R"("occurredAt":1714552200000,"readAt":"yesterday","departure":"ZBAA","arrival":"ZSSS"}]})")
        << false;
    QTest::newRow("landings 2.5") << "RecentFlightsResponse"
                                  << QByteArray(R"({"flights":[{"id":"f1","landings":2.5}]})") << false;
    QTest::newRow("snapshot without flights")
        << "LiveResponse" << QByteArray(R"({"ownFlight":null})") << false;
    QTest::newRow("flight without latitude")
        << "LiveResponse" << QByteArray(R"({"flights":[{"id":"l1","longitude":121.8}]})") << false;
    QTest::newRow("pilot state with a fraction")
        << "LiveResponse"
        << QByteArray(R"({"flights":[{"id":"l1","latitude":31,"longitude":121,"pilotState":1.5}]})") << false;
    QTest::newRow("phase label that is not text")
        << "LiveResponse"
        << QByteArray(
               R"({"flights":[{"id":"l1","latitude":31,"longitude":121,)"
               R"("flightPhase":{"code":"cruise","labels":{"en":1},"symbol":"airplane","color":"00AAFF"}}]})")
        << false;
    QTest::newRow("aircraft name that is not text")
        << "AircraftNames" << QByteArray(R"({"aircraft":["A320",1]})") << false;
    QTest::newRow("plan without points") << "PlanResponse" << QByteArray("{}") << true;
    QTest::newRow("board without organisations")
        << "LiveBoard" << QByteArray(R"({"canReview":true})") << false;
    QTest::newRow("board with no organisations")
        << "LiveBoard" << QByteArray(R"({"organizations":[]})") << true;
    QTest::newRow("board organisations null")
        << "LiveBoard" << QByteArray(R"({"organizations":null})") << false;
    QTest::newRow("schedule status null")
        << "LiveBoard"
        << "{\"organizations\":[{" + organizationCore
               + R"(,"schedules":[{"id":"s1","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZSSS",)"
               + R"("status":null}]}]})"
        << true;
    QTest::newRow("schedule status with a fraction")
        << "LiveBoard"
        << "{\"organizations\":[{" + organizationCore
               + R"(,"schedules":[{"id":"s1","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZSSS",)"
               + R"("status":1.5}]}]})"
        << false;
    QTest::newRow("altitude as text")
        << "LiveBoard"
        << "{\"organizations\":[{\"id\":\"o1\",\"name\":\"Vornalia\",\"schedules\":[],"
               + QByteArray(
                   R"("aircraft":[{"id":"a1","registration":"B-1234","flying":{"altitude":"35000"}}]}]})")
        << false;
    QTest::newRow("crew member that is no object")
        << "LiveBoard"
        << "{\"organizations\":[{" + organizationCore
               + R"(,"schedules":[{"id":"s1","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZSSS",)"
               + R"("crew":[1]}]}]})"
        << false;
    QTest::newRow("applications without hasMore")
        << "LiveApplications" << QByteArray(R"({"applications":[]})") << false;
    QTest::newRow("application status as number")
        << "LiveApplications"
        << QByteArray(
               R"({"hasMore":true,"applications":[{"id":"x1","registration":"B-1234","departure":"ZBAA",)"
               R"("arrival":"ZSSS","status":1,"reviewNote":""}]})")
        << false;
    QTest::newRow("position without aircraft")
        << "LiveFleetPositions" << QByteArray(R"({"aircraftPositions":[{"state":1}]})") << false;
    QTest::newRow("positions and pilots missing") << "LiveFleetPositions" << QByteArray("{}") << true;
    QTest::newRow("recent pilot without a name")
        << "LiveFleetPositions" << QByteArray(R"({"recentPilots":[{"aircraftId":"a1"}]})") << false;
    QTest::newRow("route status as text")
        << "LiveRoutes"
        << QByteArray(R"({"aircraftRoutes":[{"aircraftId":"a1","available":true,"items":[{"status":"1"}]}]})")
        << false;
    QTest::newRow("routes missing") << "LiveRoutes" << QByteArray("{}") << true;
    QTest::newRow("organisation without schedules")
        << "LiveBoard"
        << "{\"organizations\":[{" + organizationCore + "}]}" << false;
    QTest::newRow("organisation with no schedules")
        << "LiveBoard"
        << "{\"organizations\":[{" + organizationCore + ",\"schedules\":[]}]}" << true;
    QTest::newRow("schedule status as text")
        << "LiveBoard"
        << "{\"organizations\":[{" + organizationCore
               + R"(,"schedules":[{"id":"s1","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZSSS",)"
               + R"("status":"1"}]}]})"
        << false;
    QTest::newRow("application without review note")
        << "LiveApplications"
        << QByteArray(
               R"({"hasMore":false,"applications":[{"id":"x1","registration":"B-1234","departure":"ZBAA",)"
               R"("arrival":"ZSSS","status":"pending"}]})")
        << false;
    QTest::newRow("application with an empty review note")
        << "LiveApplications"
        << QByteArray(
               R"({"hasMore":false,"applications":[{"id":"x1","registration":"B-1234","departure":"ZBAA",)"
               R"("arrival":"ZSSS","status":"pending","reviewNote":""}]})")
        << true;
    QTest::newRow("authorisation state null")
        << "LiveAuthorization" << QByteArray(R"({"state":null})") << false;
    QTest::newRow("authorisation start without its address")
        << "LiveAuthorizationStart" << QByteArray(R"({"href":"https://api.infiniteflight.com/"})") << false;
    QTest::newRow("authorisation start address as an object")
        << "LiveAuthorizationStart" << QByteArray(R"({"url":{"href":"https://api.infiniteflight.com/"}})")
        << false;
    QTest::newRow("review confirmation as text")
        << "LiveReviewResult" << QByteArray(R"({"ok":"true"})") << false;
    QTest::newRow("history without entries") << "ReviewHistory" << QByteArray("{}") << false;
    QTest::newRow("history entries null") << "ReviewHistory" << QByteArray(R"({"entries":null})") << false;
    QTest::newRow("history entry that is no object")
        << "ReviewHistory" << QByteArray(R"({"entries":[1]})") << false;
    QTest::newRow("multiplier as text")
        << "ReviewHistory" << QByteArray(R"({"entries":[{"toPercent":"150"}]})") << false;
    QTest::newRow("empty history entry")
        << "ReviewHistory" << QByteArray(R"({"entries":[{},{"kind":null}]})") << true;
}

void RecordsTest::wholeAnswerDecodesOrFails()
{
    QFETCH(QString, record);
    QFETCH(QByteArray, json);
    QFETCH(bool, decodes);

    QVERIFY2(decoders().contains(record), qPrintable(record));
    const Decoder decoder = decoders().value(record);
    if (decodes)
        decoder(Json::parse(json)); // a DecodeError fails the test
    else
        QVERIFY_THROWS_EXCEPTION(DecodeError, decoder(Json::parse(json)));
}

void RecordsTest::nullAnswers()
{
    // Where the service may answer null, null is no record; elsewhere it is a broken answer.
    QVERIFY(!answer<SiteInbox>("null"));
    QVERIFY_THROWS_EXCEPTION(DecodeError, answer<PirepResponse>("null"));
    QVERIFY(!answer<MultiplierOptions>("null"));
    QVERIFY(!answer<LeaderboardResponse>(" null\n"));
    QVERIFY(!answer<PlanResponse>("null"));
    QVERIFY(!answer<LiveBoard>("null"));
    QVERIFY(!answer<LiveFleetPositions>("null"));
    QVERIFY(!answer<LiveRoutes>("null"));
    QVERIFY_THROWS_EXCEPTION(DecodeError, answer<LiveAuthorization>("null"));
    QVERIFY_THROWS_EXCEPTION(DecodeError, answer<LiveAuthorizationStart>("null"));
    QVERIFY_THROWS_EXCEPTION(DecodeError, answer<LiveApplications>("null"));
    QVERIFY_THROWS_EXCEPTION(DecodeError, answer<ReviewHistory>("null"));
    // An empty body is no JSON at all, whatever the record.
    QVERIFY_THROWS_EXCEPTION(DecodeError, answer<SiteInbox>(""));
    QVERIFY_THROWS_EXCEPTION(DecodeError, answer<UserResponse>(""));
}

void RecordsTest::snakeAndCamelKeysFillTheSameField_data()
{
    QTest::addColumn<bool>("snake");
    QTest::newRow("camel case") << false;
    QTest::newRow("snake case") << true;
}

void RecordsTest::snakeAndCamelKeysFillTheSameField()
{
    QFETCH(bool, snake);
    auto name = [snake](const char *camel, const char *underscored) {
        return QByteArray(snake ? underscored : camel);
    };

    const Pirep pirep = decode<Pirep>(
        R"({"id":"p1",")" + name("departureCode", "departure_code") + R"(":"ZBAA","arrivalCode":"ZSSS",)"
        + R"("aircraft":"A320","livery":"L","durationMinutes":60,"status":"approved",)" + "\""
        + name("heldAt", "held_at") + "\":5}");
    QCOMPARE(pirep.departureCode, "ZBAA");
    QCOMPARE(pirep.heldAt.value_or(-1), 5.0);

    const auto position = decode<LiveFleetPosition>("{\"" + name("aircraftId", "aircraft_id") + "\":\"a1\"}");
    QCOMPARE(position.aircraftId, "a1");

    const auto schedule = decode<LiveSchedule>(
        R"({"id":"s1","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZSSS",")"
        + name("scheduledDepartureUtc", "scheduled_departure_utc") + R"(":"2024-05-01T08:30:00Z"})");
    QCOMPARE(schedule.scheduledDepartureUtc.value_or(QString()), "2024-05-01T08:30:00Z");

    const auto entry = decode<ReviewEntry>("{\"" + name("toPercent", "to_percent") + "\":150}");
    QCOMPARE(entry.toPercent.value_or(-1), 150.0);

    const auto snapshot = decode<LiveResponse>(R"({"flights":[],")" + name("ownFlight", "own_flight")
                                               + R"(":{"id":"l1","latitude":31.2,"longitude":121.3}})");
    QVERIFY(snapshot.ownFlight);
    QCOMPARE(snapshot.ownFlight->id, "l1");
}

void RecordsTest::missingAndNullOptionalsAreNone()
{
    // A report with only the seven required fields has every other field none.
    Pirep bare;
    bare.id = "p1";
    bare.departureCode = "ZBAA";
    bare.arrivalCode = "ZSSS";
    bare.aircraft = "A320";
    bare.livery = "Vornalia";
    bare.durationMinutes = 125;
    bare.status = "pending";
    QCOMPARE(decode<Pirep>(pirepWith({})), bare);
    QCOMPARE(decode<Pirep>(pirepWith(R"("heldAt":null,"callsignReview":null,"landings":null)")), bare);

    LiveFlight point;
    point.id = "l1";
    point.latitude = 31.2;
    point.longitude = 121.3;
    QCOMPARE(decode<LiveFlight>(R"({"id":"l1","latitude":31.2,"longitude":121.3})"), point);
    QCOMPARE(decode<LiveFlight>(R"({"id":"l1","latitude":31.2,"longitude":121.3,"flightPhase":null})"),
             point);

    QVERIFY(!decode<LiveResponse>(R"({"flights":[],"ownFlight":null})").ownFlight);
    QVERIFY(!decode<FlightEvent>("{" + eventCore + ",\"estimatedHours\":2}").aircraftOptions);
    QVERIFY(!decode<FlightEvent>("{" + eventCore + ",\"estimatedHours\":2,\"aircraftOptions\":null}")
                 .aircraftOptions);
    QVERIFY(!decode<FlightPoint>(R"({"latitude":1,"longitude":2})").name);
    QVERIFY(!decode<PlanResponse>(R"({"route":[]})").points);

    const auto board = decode<LeaderboardResponse>(R"({"members":[]})");
    QVERIFY(!board.aircraft && !board.airports && !board.reviewers);

    // A flight that is null or missing is no flight; an empty one is a flight that tells nothing.
    const QByteArray aircraft = R"({"id":"a1","registration":"B-1234")";
    QVERIFY(!decode<LiveAircraft>(aircraft + "}").flying);
    QVERIFY(!decode<LiveAircraft>(aircraft + ",\"flying\":null}").flying);
    const auto flying = decode<LiveAircraft>(aircraft + ",\"flying\":{}}").flying;
    QVERIFY(flying);
    QVERIFY(!flying->callsign && !flying->phase && !flying->altitude);

    // Counts of the simulator are numbers, so 12 and 12.0 read alike.
    QCOMPARE(decode<IFStatistics>(R"({"landingCount":12})").landingCount.value_or(-1), 12.0);
    QCOMPARE(decode<IFStatistics>(R"({"landingCount":12.0})").landingCount.value_or(-1), 12.0);
}

void RecordsTest::encodingLeavesOutNone()
{
    const User user = decode<User>(R"({"id":"7","username":"li","role":"member"})");
    QVERIFY(!user.name);
    QCOMPARE(user.toJson(), QJsonObject({{"id", "7"}, {"username", "li"}, {"role", "member"}}));
    User named = user;
    named.name = "李雷";
    QCOMPARE(named.toJson().value("name"), QJsonValue("李雷"));
    QCOMPARE(User::fromJson(named.toJson()), named);

    const Profile profile =
        decode<Profile>(R"({"wechat_name":"w","callsign":"123","contactEmail":"a@b.cn","hasAvatar":true})");
    QVERIFY(!profile.toJson().contains("discordUsername"));
    QCOMPARE(profile.toJson().size(), 4);
    Profile withDiscord = profile;
    withDiscord.discordUsername = "li#1";
    QCOMPARE(Profile::fromJson(withDiscord.toJson()), withDiscord);

    FlightPhaseDescription phase{"cruise", {{"en", "Cruise"}}, "airplane", "#00AAFF", std::nullopt};
    QVERIFY(!phase.toJson().contains("verticalSpeed"));
    phase.verticalSpeed = -800;
    QCOMPARE(FlightPhaseDescription::fromJson(phase.toJson()), phase);
}

void RecordsTest::formattedCallsign_data()
{
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<QString>("shown");
    QTest::newRow("number") << "123"
                            << "B-123CA";
    QTest::newRow("empty") << ""
                           << "尚未设置呼号";
    QTest::newRow("blanks are a callsign") << "  "
                                           << "B-  CA";
}

void RecordsTest::formattedCallsign()
{
    QFETCH(QString, callsign);
    QFETCH(QString, shown);
    QJsonObject json{
        {"wechatName", "w"}, {"callsign", callsign}, {"contactEmail", "a@b.cn"}, {"hasAvatar", false}};
    QCOMPARE(Profile::fromJson(json).formattedCallsign(), shown);
}

void RecordsTest::pirepStatus_data()
{
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<QString>("title");
    QTest::addColumn<PirepState>("state");
    QTest::newRow("pending") << QByteArray(R"("status":"pending")") << "待审核" << PirepState::Pending;
    QTest::newRow("pending, hold time 0")
        << QByteArray(R"("status":"pending","heldAt":0)") << "待审核" << PirepState::Pending;
    QTest::newRow("pending, on hold")
        << QByteArray(R"("status":"pending","held_at":1714552200)") << "需补充证据" << PirepState::OnHold;
    QTest::newRow("approved, on hold")
        << QByteArray(R"("status":"approved","heldAt":1714552200)") << "已批准" << PirepState::Approved;
    QTest::newRow("rejected") << QByteArray(R"("status":"rejected")") << "未批准" << PirepState::Rejected;
    QTest::newRow("rejected, on hold")
        << QByteArray(R"("status":"rejected","heldAt":9)") << "未批准" << PirepState::Rejected;
    QTest::newRow("unknown status") << QByteArray(R"("status":"cancelled","heldAt":9)") << "cancelled"
                                    << PirepState::Other;
    QTest::newRow("case matters") << QByteArray(R"("status":"Approved")") << "Approved" << PirepState::Other;
}

void RecordsTest::pirepStatus()
{
    QFETCH(QByteArray, fields);
    QFETCH(QString, title);
    QFETCH(PirepState, state);
    const Pirep pirep =
        decode<Pirep>(R"({"id":"p1","departureCode":"ZBAA","arrivalCode":"ZSSS","aircraft":"A320",)"
                      R"("livery":"L","durationMinutes":60,)"
                      + fields + "}");
    QCOMPARE(pirep.statusTitle(), title);
    QCOMPARE(pirep.state(), state);
}

void RecordsTest::identities()
{
    const auto fleet = decode<LeaderboardResponse>(
        R"({"members":[{"username":"li","approvedCount":1,"approvedMinutes":60}],)"
        R"("aircraft":[{"aircraft":"A320","livery":""},{"aircraft":"A320","livery":"Vornalia"}],)"
        R"("airports":[{"airport":"ZSSS","landings":4}]})");
    QCOMPARE(fleet.members.first().identity(), "li");
    QCOMPARE(fleet.aircraft->at(0).identity(), "A320:");
    QCOMPARE(fleet.aircraft->at(1).identity(), "A320:Vornalia");
    QCOMPARE(fleet.airports->first().identity(), "ZSSS");

    const auto routes =
        decode<RouteResponse>(R"({"routes":[{"departure":"ZBAA","arrival":"ZSSS","flights":2},)"
                              R"({"departure":"ZSSS","arrival":"ZBAA","flights":1},)"
                              R"({"departure":"ZBAA","arrival":"ZSSS","flights":7}]})")
            .routes;
    QCOMPARE(routes[0].identity(), "ZBAA-ZSSS");
    QCOMPARE(routes[0].identity(), routes[2].identity());
    QVERIFY(routes[0].identity() != routes[1].identity());
}

void RecordsTest::equalityAndHashing()
{
    // Events: the options' order is part of the event.
    const QByteArray options = R"(,"estimatedHours":2,"aircraftOptions":[{"aircraft":"A330","livery":"L1"},)"
                               R"({"aircraft":"B787","livery":"L2"}])";
    const FlightEvent event = decode<FlightEvent>("{" + eventCore + options + "}");
    FlightEvent same = decode<FlightEvent>("{" + eventCore + options + "}");
    QCOMPARE(event, same);
    QCOMPARE(qHash(event), qHash(same));
    std::swap((*same.aircraftOptions)[0], (*same.aircraftOptions)[1]);
    QVERIFY(!(event == same));
    FlightEvent noList = event, emptyList = event;
    noList.aircraftOptions.reset();
    emptyList.aircraftOptions = QList<AircraftOption>();
    QVERIFY(!(noList == emptyList));
    QVERIFY(qHash(noList) != qHash(emptyList));

    // Live flights: an absent flag is not false.
    const QByteArray flight = R"({"id":"l1","latitude":31.2,"longitude":121.3)";
    const auto absent = decode<LiveFlight>(flight + "}");
    const auto notLive = decode<LiveFlight>(flight + ",\"isLive\":false}");
    QVERIFY(!(absent == notLive));
    QVERIFY(qHash(absent) != qHash(notLive));
    // …while zero is zero whatever its sign, for equality and hashing alike.
    const auto level = decode<LiveFlight>(flight + ",\"verticalSpeed\":0}");
    const auto signedZero = decode<LiveFlight>(flight + ",\"verticalSpeed\":-0.0}");
    QCOMPARE(level, signedZero);
    QCOMPARE(qHash(level), qHash(signedZero));

    // Phase labels are a set of pairs, whatever order the service sent them in.
    const auto phaseA = decode<FlightPhaseDescription>(
        R"({"code":"climb","labels":{"en":"Climb","zh":"爬升"},"symbol":"arrow.up","color":"#33CC66"})");
    const auto phaseB = decode<FlightPhaseDescription>(
        R"({"color":"#33CC66","labels":{"zh":"爬升","en":"Climb"},"symbol":"arrow.up","code":"climb"})");
    QCOMPARE(phaseA, phaseB);
    QCOMPARE(qHash(phaseA), qHash(phaseB));

    // Reports and flights travel in navigation and are looked up by value.
    const Pirep held = decode<Pirep>(pirepWith(R"("heldAt":5,"callsignReview":{"uploaded":"123"})"));
    QSet<Pirep> reports{held};
    QVERIFY(
        reports.contains(decode<Pirep>(pirepWith(R"("held_at":5,"callsign_review":{"uploaded":"123"})"))));
    QVERIFY(!reports.contains(decode<Pirep>(pirepWith(R"("heldAt":5,"callsignReview":{"actual":"123"})"))));
    const auto recent = decode<RecentFlight>(R"({"id":"f1","landings":1})");
    QSet<RecentFlight> flights{recent};
    QVERIFY(flights.contains(decode<RecentFlight>(R"({"id":"f1","landings":1,"server":null})")));
    QVERIFY(!flights.contains(decode<RecentFlight>(R"({"id":"f1"})")));
}

void RecordsTest::attendanceChoices()
{
    for (const AttendanceChoice choice : allAttendanceChoices)
        QVERIFY(fromRaw<AttendanceChoice>(raw(choice)) == choice);
    QCOMPARE(raw(AttendanceChoice::Interested), "interested");
    QVERIFY(fromRaw<AttendanceChoice>(u"declined") == AttendanceChoice::Declined);
    QVERIFY(!fromRaw<AttendanceChoice>(u"Attending"));
    QVERIFY(!fromRaw<AttendanceChoice>(u"attending "));

    const auto answers = decode<AttendanceResponse>(
        R"({"responses":[{"event_id":"e1","response":"attending"},{"eventId":"e2","response":"maybe"}]})");
    QCOMPARE(answers.responses[0].eventId, "e1");
    QVERIFY(answers.responses[0].choice() == AttendanceChoice::Attending);
    QCOMPARE(answers.responses[1].response, "maybe");
    QVERIFY(!answers.responses[1].choice());
}

void RecordsTest::liveScheduleTexts()
{
    auto schedule = [](const QByteArray &more) {
        return decode<LiveSchedule>(
            R"({"id":"s1","aircraftId":"a1","originIcao":"ZBAA","destinationIcao":"ZSSS")" + more + "}");
    };
    QCOMPARE(schedule({}).statusText(), "未知");
    QCOMPARE(schedule(R"(,"status":null)").statusText(), "未知");
    QCOMPARE(schedule(R"(,"status":5)").statusText(), "未知");
    QCOMPARE(schedule(R"(,"status":4)").statusText(), "滑行去跑道");
    QCOMPARE(schedule(R"(,"status":11)").statusText(), "已到达");
    QCOMPARE(schedule(R"(,"status":12)").statusText(), "未知");

    QCOMPARE(schedule(R"(,"flightType":12)").typeText().value_or(QString()), "其他");
    QCOMPARE(schedule(R"(,"flightType":8)").typeText().value_or(QString()), "公务/VIP");
    for (const QByteArray type : {"", ",\"flightType\":0", ",\"flightType\":13", ",\"flightType\":-1"})
        QVERIFY2(!schedule(type).typeText(), type.constData());

    auto application = [](const char *status) {
        QJsonObject json{{"id", "x1"},        {"registration", "B-1234"}, {"departure", "ZBAA"},
                         {"arrival", "ZSSS"}, {"status", status},         {"reviewNote", ""}};
        return LiveApplication::fromJson(json);
    };
    QCOMPARE(application("needs_review").statusText(), "待人工核查，请勿重复申请");
    QCOMPARE(application("rejected").statusText(), "未通过");
    QCOMPARE(application("on_hold").statusText(), "on_hold");
    QCOMPARE(application("Pending").statusText(), "Pending");

    QCOMPARE(LiveFleetPosition::stateText(3), "已取消");
    QCOMPARE(LiveFleetPosition::stateText(9), "未知");
}

void RecordsTest::phaseTitleFallsBack()
{
    const auto phase = decode<FlightPhaseDescription>(
        R"({"code":"cruise","labels":{"zh":"巡航","en":"Cruise"},"symbol":"airplane","color":"00AAFF"})");
    QCOMPARE(phase.title(), "巡航"); // the app runs in Simplified Chinese here
    QCOMPARE(phase.title("zh-Hans"), "巡航");
    QCOMPARE(phase.title("zh-TW"), "Cruise");
    const auto bare = decode<FlightPhaseDescription>(
        R"({"code":"taxi","labels":{"fr":"Roulage"},"symbol":"airplane","color":"00AAFF"})");
    QCOMPARE(bare.title("en"), "taxi");
}

void RecordsTest::isoTimes()
{
    const auto event = decode<FlightEvent>("{" + eventCore + ",\"estimatedHours\":2}");
    QCOMPARE(event.eventAt().value_or(QDateTime()), QDateTime(QDate(2024, 5, 1), QTime(8, 30), Qt::UTC));

    const auto flight = decode<RecentFlight>(R"({"id":"f1","created":"2024-05-01T16:30:00+08:00"})");
    QCOMPARE(flight.createdAt().value_or(QDateTime()), QDateTime(QDate(2024, 5, 1), QTime(8, 30), Qt::UTC));
    QVERIFY(!decode<RecentFlight>(R"({"id":"f1","created":"yesterday"})").createdAt());
    QVERIFY(!decode<RecentFlight>(R"({"id":"f1"})").createdAt());

    const auto pilot =
        decode<LiveRecentPilot>(R"({"aircraftId":"a1","pilot":"li","seenAt":"2024-05-01T08:30:00"})");
    QCOMPARE(pilot.seen().value_or(QDateTime()), QDateTime(QDate(2024, 5, 1), QTime(8, 30), Qt::UTC));
}

void RecordsTest::noticeReadState()
{
    const auto inbox = decode<SiteInbox>(
        R"({"unreadCount":0,"notifications":[)"
        R"({"id":"n1","kind":"event_published","entityId":"e1","occurredAt":1714552200000,"readAt":null,)"
        R"("departure":"ZBAA","arrival":"ZSSS"},)"
        R"({"id":"n2","kind":"pirep_reviewed","entity_id":"p1","occurred_at":1714552200000,"read_at":1714552300000,)"
        R"("departure":"ZBAA","arrival":"ZSSS","status":"approved"}]})");
    QCOMPARE(inbox.unreadCount, qint64(0));
    QVERIFY(inbox.notifications[0].isUnread());
    QVERIFY(!inbox.notifications[1].isUnread());
    QCOMPARE(inbox.notifications[1].entityId, "p1");
    QCOMPARE(inbox.notifications[1].identity(), "n2");
}

void RecordsTest::isoDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    const auto utc = [](int h, int m, int s, int ms = 0) {
        return QDateTime(QDate(2024, 5, 1), QTime(h, m, s, ms), Qt::UTC);
    };
    QTest::newRow("no zone is UTC") << "2024-05-01T08:30:00" << utc(8, 30, 0);
    QTest::newRow("Z") << "2024-05-01T08:30:00Z" << utc(8, 30, 0);
    QTest::newRow("fraction and offset") << "2024-05-01T08:30:00.250+08:00" << utc(0, 30, 0, 250);
    QTest::newRow("negative offset") << "2024-04-30T20:30:00-12:00" << utc(8, 30, 0);
    QTest::newRow("long fraction") << "2024-05-01T08:30:00.123456Z" << utc(8, 30, 0, 123);
    QTest::newRow("zone without colon") << "2024-05-01T08:30:00+0800" << QDateTime();
    QTest::newRow("date alone") << "2024-05-01" << QDateTime();
    QTest::newRow("empty") << "" << QDateTime();
    QTest::newRow("lower case t and z") << "2024-05-01t08:30:00z" << QDateTime();
    QTest::newRow("impossible day") << "2024-02-30T08:30:00Z" << QDateTime();
    QTest::newRow("hour 24") << "2024-05-01T24:00:00Z" << QDateTime();
    QTest::newRow("space for T") << "2024-05-01 08:30:00Z" << QDateTime();
    // Guards "$" matching before a final line feed.
    QTest::newRow("trailing line feed") << "2024-05-01T08:30:00Z\n" << QDateTime();
    QTest::newRow("offset, trailing line feed") << "2024-05-01T08:30:00+08:00\n" << QDateTime();
}

void RecordsTest::isoDates()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    const std::optional<QDateTime> parsed = WireTime::parse(text);
    if (!expected.isValid()) {
        QVERIFY2(!parsed, qPrintable(parsed ? parsed->toString(Qt::ISODateWithMs) : QString()));
        return;
    }
    QVERIFY(parsed);
    QCOMPARE(parsed->toMSecsSinceEpoch(), expected.toMSecsSinceEpoch());
    QCOMPARE(WireTime::parse(std::nullopt), std::nullopt);
}

QTEST_GUILESS_MAIN(RecordsTest)
#include "tst_records.moc"
