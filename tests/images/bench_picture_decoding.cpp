// How long decoding a livery picture at the view's 2000 pixels takes, on the calling thread (the window's
// thread, if the service decoded there) and on the thread pool (what the service does), against Qt's own
// reading of the same bytes at the same size (the floor: no trimming, no hand-off).
//   Time: from asking to having the bitmap.   CPU: time the calling thread itself spent.
// A frame at 60 Hz is 16.7 ms: a CPU time above that on the calling thread is a dropped frame.
#include "AircraftImageService.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>

#include <benchmark/benchmark.h>

namespace {

// A 2400 x 1350 livery picture: an airliner shape with wide transparent margins, as the site exports them.
QByteArray samplePicture(const char *format)
{
    QImage image(2400, 1350, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x5c, 0x66, 0x73), 3));
    p.setBrush(QColor(0xf5, 0xf7, 0xfa));
    p.drawRoundedRect(QRectF(290, 560, 1820, 220), 110, 110);
    p.setBrush(QColor(0xc8, 0x10, 0x2e));
    p.drawPolygon(QPolygonF{{300, 600}, {400, 220}, {560, 220}, {720, 560}});
    QLinearGradient belly(0, 560, 0, 780);
    belly.setColorAt(0, QColor(0x1b, 0x3f, 0x8f));
    belly.setColorAt(1, QColor(0x0e, 0x22, 0x4d));
    p.setBrush(belly);
    p.drawRect(QRectF(300, 700, 1800, 40));
    for (int i = 0; i < 60; ++i)
        p.drawEllipse(QPointF(700 + i * 22, 620), 7, 7);
    p.end();

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(90);
    writer.write(image);
    return bytes;
}

const QByteArray &picture(int format)
{
    static const QByteArray png = samplePicture("png");
    static const QByteArray webp = samplePicture("webp");
    return format == 0 ? png : webp;
}

void label(benchmark::State &state) { state.SetLabel(state.range(0) == 0 ? "png" : "webp"); }

void decodeOnCallingThread(benchmark::State &state)
{
    const QByteArray &bytes = picture(int(state.range(0)));
    for (auto _ : state) {
        QImage decoded = AircraftImageService::decodePicture(bytes, 2000);
        benchmark::DoNotOptimize(decoded);
    }
    label(state);
}

void qtReadOnly(benchmark::State &state)
{
    const QByteArray &bytes = picture(int(state.range(0)));
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        reader.setScaledSize(size.scaled(2000, 2000, Qt::KeepAspectRatio));
        QImage decoded = reader.read();
        benchmark::DoNotOptimize(decoded);
    }
    label(state);
}

void decodeOnThreadPool(benchmark::State &state)
{
    const QByteArray &bytes = picture(int(state.range(0)));
    for (auto _ : state) {
        // As the service awaits it: the calling thread runs its event loop until the watcher reports the end,
        // so its CPU time is only the hand-off. (QFuture::waitForFinished would run the work right here.)
        QFutureWatcher<QImage> watcher;
        QEventLoop loop;
        QObject::connect(&watcher, &QFutureWatcher<QImage>::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(QtConcurrent::run(&AircraftImageService::decodePicture, bytes, 2000));
        loop.exec();
        QImage decoded = watcher.result();
        benchmark::DoNotOptimize(decoded);
    }
    label(state);
}

} // namespace

BENCHMARK(qtReadOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(decodeOnCallingThread)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(decodeOnThreadPool)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
