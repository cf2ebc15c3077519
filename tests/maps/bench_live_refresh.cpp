// What a refresh of the live map costs the main thread once its snapshot has been read (on the thread
// pool): the snapshot stored in the member data, the markers in their stacking order with their sizes and
// colours, the own flights, and the marker layer reading its rows. For 1,500 and 5,000 flights; a frame is
// 16.7 ms.   build/tests/maps/bench_live_refresh
#include "Installed.h"
#include "LiveMapModel.h"
#include "MapMarkerLayer.h"
#include "MemberData.h"
#include "MemberNavigation.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

LiveResponse snapshot(int count, double shift)
{
    static const char *aircraft[] = {"Airbus A320",     "Boeing 737-800", "Boeing 787-9",
                                     "Airbus A350-900", "Embraer E175",   "Cessna 172"};
    LiveResponse made;
    made.liveIdentification = "connected";
    QList<LiveMapMember> members;
    for (int i = 0; i < count; ++i) {
        LiveFlight flight;
        flight.id = QStringLiteral("lv-%1").arg(i);
        flight.pilot = QStringLiteral("Pilot_%1").arg(i);
        flight.callsign = QStringLiteral("CES%1").arg(1000 + i);
        flight.aircraft = aircraft[i % 6];
        flight.latitude = std::fmod(i * 0.37 + shift, 140) - 70;
        flight.longitude = std::fmod(i * 1.13 + shift, 360) - 180;
        flight.heading = std::fmod(i * 7.0, 360);
        flight.eventAttending = i % 20 == 0;
        flight.isLive = i % 4 == 0;
        made.flights.append(flight);
        members.append({QStringLiteral("pilot_%1").arg(i), {flight.id}});
    }
    made.members = members;
    made.ownFlight = made.flights.constFirst();
    return made;
}

void refresh(benchmark::State &state)
{
    FlightActivityNavigation activity(nullptr);
    const Installed<FlightActivityNavigation> installed(activity);
    MemberData data;
    LiveMapModel model;
    model.setMemberData(&data);
    model.setUsername("pilot_0");
    MapMarkerLayer layer;
    layer.setModel(model.markers());
    const int count = int(state.range(0));
    const LiveResponse snapshots[2] = {snapshot(count, 0), snapshot(count, 0.5)};
    int turn = 0;
    for (auto _ : state) {
        data.setLiveMap(snapshots[turn++ % 2]);
        benchmark::DoNotOptimize(model.ownFlightCount());
    }
}

} // namespace

BENCHMARK(refresh)->Arg(1500)->Arg(5000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
