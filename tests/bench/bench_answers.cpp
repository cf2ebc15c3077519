// The dashboard's first wave against the sample member service with every answer held back, against one
// such request alone (the bound: the whole wave at most 1.3 times one request, so its loads must overlap);
// and reading the largest list answer, the member's reports, against Qt's parse alone of the same bytes.
// Three of the wave's requests need an answer of another (the avatar, only when the profile says there is
// one; the member's event answers after the events; the flight's plan or its recent flights, depending on
// the live snapshot), so the wave cannot go below two requests' time. Over HTTP/1.1 Qt opens six
// connections to a host, and the wave starts with eight requests: the live snapshot (started sixth of the
// member's loads, after the profile) waits for a free connection, and its plan makes a third round. Over
// HTTP/2 every request shares one connection and the wave takes two rounds.
//   build/tests/bench/bench_answers [--delay-ms 150]
#include "AccountRecords.h"
#include "AppState.h"
#include "ClientTestSupport.h"
#include "DashboardModel.h"
#include "Installed.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "MemberTestSupport.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

#include <benchmark/benchmark.h>

#include <map>

using namespace TestSupport;

namespace {

int delayMs = 150;

// One signed-in member of a running sample service, with the process-wide objects main/ would install.
struct Member
{
    KeychainQueues keychain;
    const Installed<KeychainQueues> installedKeychain{keychain};
    FlightActivityNavigation ownFlight{nullptr};
    const Installed<FlightActivityNavigation> installedOwnFlight{ownFlight};
    Site site;
    std::unique_ptr<AppState> app = signedInApp(site, QStringLiteral("lichen"));
};

Member &member()
{
    static Member made;
    return made;
}

void oneDelayedRequest(benchmark::State &state)
{
    Member &m = member();
    m.site.service->setFault(QStringLiteral("*"), {.bodyDelayMs = delayMs});
    for (auto _ : state)
        benchmark::DoNotOptimize(await(APIClient::get<ProfileResponse>(m.app->api(), "/api/profile")));
    m.site.service->clearFaults();
}

void dashboardWave(benchmark::State &state)
{
    Member &m = member();
    m.site.service->setFault(QStringLiteral("*"), {.bodyDelayMs = delayMs});
    for (auto _ : state) {
        // A fresh page each time: nothing of the last wave is kept.
        MemberData data(m.app->api());
        MemberNavigation navigation;
        DashboardModel model;
        model.setAppState(m.app.get());
        model.setMemberData(&data);
        model.setNavigation(&navigation);
        await(model.refresh());
        state.counters["requests"] = double(m.site.service->requests().size());
        m.site.service->clearRequests();
        model.setMemberData(nullptr);
        model.setAppState(nullptr);
    }
    m.site.service->clearFaults();
}

// The member's reports as the service sends them, copied out to 2,000 with ids of their own.
const QByteArray &reportsList()
{
    static const QByteArray bytes = [] {
        Member &m = member();
        const HTTPAnswer answer =
            await(m.app->api()->perform(m.app->api()->makeRequest("/api/pireps", "GET")));
        QJsonObject list = QJsonDocument::fromJson(answer.body).object();
        const QJsonArray sample = list.value("pireps").toArray();
        QJsonArray many;
        for (int i = 0; i < 2000; ++i) {
            QJsonObject report = sample.at(i % sample.size()).toObject();
            report.insert("id", QStringLiteral("p-%1").arg(100000 + i));
            many.append(report);
        }
        list.insert("pireps", many);
        return QJsonDocument(list).toJson(QJsonDocument::Compact);
    }();
    return bytes;
}

void parsePireps(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(QJsonDocument::fromJson(reportsList()));
    state.SetBytesProcessed(int64_t(state.iterations()) * reportsList().size());
}

void decodePireps(benchmark::State &state)
{
    const QUrl url("https://vornalia.org/api/pireps");
    for (auto _ : state)
        benchmark::DoNotOptimize(APIClient::decodeBody<PirepResponse>(reportsList(), url));
    state.SetBytesProcessed(int64_t(state.iterations()) * reportsList().size());
}

// Keeps each run's real time per iteration, so the pairs can be printed as ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> times;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK(oneDelayedRequest)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(dashboardWave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(parsePireps)->Unit(benchmark::kMillisecond);
BENCHMARK(decodePireps)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--delay-ms") == 0)
            delayMs = std::max(1, QByteArray(argv[i + 1]).toInt());
    }
    benchmark::Initialize(&argc, argv);
    std::printf("every answer held back %d ms; reports list of 2000: %lld bytes\n", delayMs,
                static_cast<long long>(reportsList().size()));
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ratio = [&](const char *what, const char *over) {
        const double base = reporter.times[over];
        if (base > 0)
            std::printf("%-32s %.2fx %s\n", what, reporter.times[what] / base, over);
    };
    ratio("dashboardWave/iterations:10/real_time", "oneDelayedRequest/iterations:10/real_time");
    ratio("decodePireps", "parsePireps");
    benchmark::Shutdown();
    return 0;
}
