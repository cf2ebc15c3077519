// Frames of the map while panning and zooming, empty and with 3,000 markers in view, and a hit test among
// the markers. A frame is rendered and read back (QQuickWindow::grabWindow), so it includes the read-back.
// Each frame benchmark also reports the median and the 95th percentile of its frames (p50_ms, p95_ms).
#include "MapMarkerLayer.h"
#include "MapView.h"

#include <QGuiApplication>
#include <QQuickWindow>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QThreadPool>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

struct Scene
{
    QQuickWindow window;
    MapView *map = new MapView(window.contentItem());
    QStandardItemModel model;
    MapMarkerLayer *layer = nullptr;

    explicit Scene(int markers)
    {
        window.resize(1100, 720);
        map->setSize({1100, 720});
        model.setItemRoleNames({{Qt::UserRole + 1, "latitude"},
                                {Qt::UserRole + 2, "longitude"},
                                {Qt::UserRole + 3, "heading"},
                                {Qt::UserRole + 4, "size"},
                                {Qt::UserRole + 5, "fill"}});
        QRandomGenerator random(42);
        const QColor colors[] = {QColor(0xffb020), QColor(0x35c46a), QColor(0x4aa3ff), QColor(0xff5a5f)};
        for (int i = 0; i < markers; ++i) {
            auto *item = new QStandardItem;
            // All within the region that every frame below shows.
            item->setData(random.bounded(60.0) - 10, Qt::UserRole + 1);
            item->setData(random.bounded(80.0) + 70, Qt::UserRole + 2);
            item->setData(random.bounded(360.0), Qt::UserRole + 3);
            item->setData(14 + random.bounded(10.0), Qt::UserRole + 4);
            item->setData(colors[i % 4], Qt::UserRole + 5);
            model.appendRow(item);
        }
        if (markers > 0) {
            layer = new MapMarkerLayer(map);
            layer->setModel(&model);
        }
        map->showRegion(20, 110, 70, 100);
        window.show();
    }

    QImage frame()
    {
        QCoreApplication::processEvents();
        return window.grabWindow();
    }

    // Draws every tile the frames will need before the clock runs.
    void warm(const std::function<void(int)> &move, int frames)
    {
        for (int pass = 0; pass < 3; ++pass) {
            for (int i = 0; i < frames; ++i) {
                move(i);
                frame();
            }
            QThreadPool::globalInstance()->waitForDone();
            QCoreApplication::processEvents();
        }
    }
};

void measure(benchmark::State &state, Scene &scene, const std::function<void(int)> &move, int frames)
{
    scene.warm(move, frames);
    std::vector<double> times;
    int i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        move(i++ % frames);
        benchmark::DoNotOptimize(scene.frame());
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        times.push_back(took.count() * 1000);
    }
    std::sort(times.begin(), times.end());
    state.counters["p50_ms"] = times[times.size() / 2];
    state.counters["p95_ms"] = times[std::min(times.size() - 1, times.size() * 95 / 100)];
}

void panFrames(benchmark::State &state)
{
    Scene scene(int(state.range(0)));
    // Back and forth over 20° of longitude in 40 frames.
    measure(
        state, scene, [&](int i) { scene.map->showRegion(20, 100 + std::abs(20 - i), 70, 100); }, 40);
}

void zoomFrames(benchmark::State &state)
{
    Scene scene(int(state.range(0)));
    // In and out over one zoom level, around the same centre.
    measure(
        state, scene,
        [&](int i) {
            scene.map->showRegion(20, 110, 70 / std::exp2(std::abs(20 - i) / 20.0),
                                  100 / std::exp2(std::abs(20 - i) / 20.0));
        },
        40);
}

void hitTest(benchmark::State &state)
{
    Scene scene(3000);
    scene.frame();
    QRandomGenerator random(7);
    for (auto _ : state)
        benchmark::DoNotOptimize(scene.layer->markerAt({random.bounded(1100.0), random.bounded(720.0)}));
}

} // namespace

BENCHMARK(panFrames)->Arg(0)->Arg(3000)->UseManualTime()->Iterations(400)->Unit(benchmark::kMillisecond);
BENCHMARK(zoomFrames)->Arg(0)->Arg(3000)->UseManualTime()->Iterations(400)->Unit(benchmark::kMillisecond);
BENCHMARK(hitTest)->Unit(benchmark::kMicrosecond);

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
