// Reading a live-map snapshot of 5,000 flights: the client's decoding into `LiveResponse` (straight from
// the bytes) against Qt's parse alone of the same bytes, and the ordinary reading through the document. The
// issue's bound is twice the parse; each run includes freeing what it made.
//   build/tests/maps/bench_live_decode
#include "APIClient.h"
#include "FlightRecords.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

namespace {

// A snapshot as the member service sends it: every field of a flight, a phase with its four labels, the
// member table; the numbers and names vary as real ones do.
QByteArray snapshotBytes(int count)
{
    static const char *aircraft[] = {"Airbus A320",     "Boeing 737-800", "Boeing 787-9",
                                     "Airbus A350-900", "Embraer E175",   "Cessna 172"};
    static const char *liveries[] = {"China Eastern", "Air China", "Delta", "Lufthansa", "Generic"};
    static const char *servers[] = {"Expert", "Training", "Casual"};
    QJsonArray flights;
    QJsonArray members;
    quint32 seed = 2207;
    const auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1 << 24);
    };
    for (int i = 0; i < count; ++i) {
        const QString id = QStringLiteral("lv-%1").arg(i);
        QJsonObject flight{
            {"id", id},
            {"flightId", QStringLiteral("2d7c9e41-8b3f-4a6d-b0e5-%1").arg(i, 12, 16, QLatin1Char('0'))},
            {"sessionId", "7e5d7a3b-2f1c-4b8e-9d6a-0c4e8f2a1b93"},
            {"server", servers[i % 3]},
            {"pilot", QStringLiteral("Pilot_%1").arg(i)},
            {"callsign", QStringLiteral("CES%1").arg(1000 + i)},
            {"aircraft", aircraft[i % 6]},
            {"livery", liveries[i % 5]},
            {"latitude", next() * 140 - 70},
            {"longitude", next() * 360 - 180},
            {"altitude", std::round(next() * 41000)},
            {"groundSpeed", std::round(next() * 520)},
            {"heading", std::round(next() * 360)},
            {"departure", "ZSPD"},
            {"arrival", "RJTT"},
            {"fleetRegistration", QStringLiteral("B-%1").arg(5000 + i)},
            {"verticalSpeed", std::round(next() * 4000 - 2000)},
            {"flightPhase",
             QJsonObject{
                 {"code", "cruise"},
                 {"labels",
                  QJsonObject{{"zh", "巡航"}, {"en", "Cruise"}, {"zh-HK", "巡航"}, {"zh-TW", "巡航"}}},
                 {"symbol", "airplane"},
                 {"color", "#27AE60"},
                 {"verticalSpeed", 0}}},
            {"pilotState", 0},
            {"isConnected", true},
            {"lastReport", "2026-05-01T08:00:00.000Z"},
            {"eventAttending", i % 20 == 0},
            {"isLive", i % 4 == 0},
        };
        flights.append(flight);
        members.append(
            QJsonObject{{"username", QStringLiteral("pilot_%1").arg(i)}, {"flightIds", QJsonArray{id}}});
    }
    const QJsonObject snapshot{{"flights", flights},
                               {"ownFlight", flights.at(0)},
                               {"members", members},
                               {"status", "live"},
                               {"updatedAt", "2026-05-01T08:00:00.000Z"},
                               {"liveIdentification", "connected"}};
    return QJsonDocument(snapshot).toJson(QJsonDocument::Compact);
}

const QByteArray &bytes()
{
    static const QByteArray snapshot = snapshotBytes(5000);
    return snapshot;
}

void parseOnly(benchmark::State &state)
{
    for (auto _ : state) {
        QJsonDocument document = QJsonDocument::fromJson(bytes());
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes().size());
}

void decodeLiveResponse(benchmark::State &state)
{
    const QUrl url("https://vornalia.org/api/infinite-flight/live");
    for (auto _ : state) {
        std::optional<LiveResponse> snapshot = APIClient::decodeOptionalBody<LiveResponse>(bytes(), url);
        benchmark::DoNotOptimize(snapshot);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes().size());
}

// The ordinary reading, which every answer that the direct reading leaves goes through: the document, then
// the record read from it.
void documentThenRecord(benchmark::State &state)
{
    for (auto _ : state) {
        LiveResponse snapshot = LiveResponse::fromJson(Json::parse(bytes()));
        benchmark::DoNotOptimize(snapshot);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes().size());
}

} // namespace

BENCHMARK(parseOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeLiveResponse)->Unit(benchmark::kMillisecond);
BENCHMARK(documentThenRecord)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("snapshot of 5000 flights: %lld bytes\n", static_cast<long long>(bytes().size()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
