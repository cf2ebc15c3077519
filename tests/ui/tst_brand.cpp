// The brand animation: its route, its clock, what each frame shows and how a loader ends.
#include "BrandArt.h"
#include "BrandCanvas.h"
#include "BrandMetrics.h"
#include "BrandRoute.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QQmlParserStatus>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

namespace {

// At this canvas size the board is drawn at scale 1, offset by half the margin.
const QSizeF unitCanvas(1024 / 0.84, 674 / 0.84);
const QPointF boardOrigin((unitCanvas.width() - 1024) / 2, (unitCanvas.height() - 674) / 2);

QImage solid(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// A text picture opaque grey in one rectangle (picture units), clear elsewhere.
QImage textPicture(const QRect &opaque)
{
    QImage image(620, 238, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(opaque, QColor(100, 100, 100));
    return image;
}

BrandArt::Pictures testPictures()
{
    return {
        {QStringLiteral("intro-1"), solid({1024, 674}, Qt::red)},
        {QStringLiteral("intro-2"), solid({1024, 674}, Qt::green)},
        {QStringLiteral("intro-4"), solid({214, 177}, Qt::blue)},
        {QStringLiteral("loader-t1i"), textPicture(QRect(0, 0, 620, 119))},   // the upper half
        {QStringLiteral("loader-t2i"), textPicture(QRect(0, 119, 380, 119))}, // the lower left
    };
}

QImage drawFrame(double t, const BrandArt::Pictures &pictures = testPictures())
{
    QImage image(unitCanvas.toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    BrandArt::draw(painter, unitCanvas, t, BrandRoute::website(), pictures);
    return image;
}

QColor boardPixel(const QImage &image, QPointF board)
{
    const QPointF at = board + boardOrigin;
    return image.pixelColor(int(std::floor(at.x())), int(std::floor(at.y())));
}

void complete(BrandCanvas &canvas) { static_cast<QQmlParserStatus &>(canvas).componentComplete(); }

} // namespace

class BrandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void routeFlattening();
    void pointsAlongTheRoute_data();
    void pointsAlongTheRoute();
    void anglesAlongTheRoute_data();
    void anglesAlongTheRoute();
    void stretchesOfTheRoute();
    void unusablePathTexts_data();
    void unusablePathTexts();

    void loaderClock_data();
    void loaderClock();
    void frameSteps_data();
    void frameSteps();
    void planeRestsWhereTheArtPlacesIt();

    void drawingRevealsTheRoute();
    void shineStaysOnEitherTextPicture();
    void missingPicturesAreSkipped();
    void bundledPicturesLastWhileHeld();

    void onceReportsAfterItsPlay_data();
    void onceReportsAfterItsPlay();
    void removalReportsAtOnce();
    void loopNeverReports();
    void fixedTimeFollowsTheClockRules();

    void layoutNumbers();
    void stageLoaderStandsClearOfItsFooter_data();
    void stageLoaderStandsClearOfItsFooter();
};

void BrandTest::routeFlattening()
{
    const BrandRoute &route = BrandRoute::website();
    QCOMPARE(route.points().size(), 625);
    QCOMPARE(route.lengths().size(), 625);
    QCOMPARE(route.lengths().constFirst(), 0.0);
    QVERIFY2(std::abs(route.length() - 2051.57) < 0.01, qPrintable(QString::number(route.length(), 'f', 4)));
    QVERIFY2(std::abs(route.tailStart() - 1084.53) < 0.01,
             qPrintable(QString::number(route.tailStart(), 'f', 4)));
    QCOMPARE(route.points().constFirst(), QPointF(568.2, 126.5));
    QCOMPARE(route.points().constLast(), QPointF(795, 266.5));
    // The tail starts where the 16th segment ends.
    QCOMPARE(route.points().at(16 * 24), QPointF(62.9, 628.8));
    QCOMPARE(route.lengths().at(16 * 24), route.tailStart());
    // Lengths only grow.
    QVERIFY(std::is_sorted(route.lengths().cbegin(), route.lengths().cend()));
}

void BrandTest::pointsAlongTheRoute_data()
{
    const BrandRoute &route = BrandRoute::website();
    const auto &p = route.points();
    const auto &l = route.lengths();
    QTest::addColumn<double>("distance");
    QTest::addColumn<QPointF>("expected");
    QTest::newRow("before the start") << -40.0 << QPointF(568.2, 126.5);
    QTest::newRow("not a number") << std::nan("") << QPointF(568.2, 126.5);
    QTest::newRow("start") << 0.0 << QPointF(568.2, 126.5);
    QTest::newRow("a sample point") << l.at(100) << p.at(100);
    QTest::newRow("half way along a piece") << (l.at(300) + l.at(301)) / 2 << (p.at(300) + p.at(301)) / 2;
    QTest::newRow("a quarter along a piece")
        << l.at(10) + (l.at(11) - l.at(10)) / 4 << p.at(10) + (p.at(11) - p.at(10)) / 4;
    QTest::newRow("the tail start") << route.tailStart() << QPointF(62.9, 628.8);
    QTest::newRow("the end") << route.length() << QPointF(795, 266.5);
    QTest::newRow("beyond the end") << route.length() + 500 << QPointF(795, 266.5);
}

void BrandTest::pointsAlongTheRoute()
{
    QFETCH(double, distance);
    QFETCH(QPointF, expected);
    const QPointF point = BrandRoute::website().point(distance);
    QVERIFY2(QLineF(point, expected).length() < 1e-9,
             qPrintable(QString("(%1, %2)").arg(point.x()).arg(point.y())));
}

void BrandTest::anglesAlongTheRoute_data()
{
    const BrandRoute &route = BrandRoute::website();
    QTest::addColumn<double>("distance");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    // The route leaves upwards and a little to the left, runs down the middle, comes back up-left at the
    // bottom loop and ends heading right.
    QTest::newRow("start") << 0.0 << -110.0 << -100.0;
    QTest::newRow("straight down at (371.5, 399.5)") << route.lengths().at(10 * 24) << 85.0 << 95.0;
    QTest::newRow("tail start, turning up") << route.tailStart() << -150.0 << -120.0;
    QTest::newRow("end") << route.length() << 0.0 << 5.0;
}

void BrandTest::anglesAlongTheRoute()
{
    QFETCH(double, distance);
    QFETCH(double, low);
    QFETCH(double, high);
    const double angle = BrandRoute::website().angle(distance);
    QVERIFY2(angle >= low && angle <= high, qPrintable(QString::number(angle)));
}

void BrandTest::stretchesOfTheRoute()
{
    const BrandRoute &route = BrandRoute::website();
    QVERIFY(route.path(500, 500).isEmpty());
    QVERIFY(route.path(600, 500).isEmpty());

    const QPainterPath whole = route.path(0, route.length());
    QCOMPARE(whole.elementCount(), 625);
    QVERIFY(std::abs(whole.length() - route.length()) < 1e-6);

    // A stretch inside the route starts and ends at those distances and is as long as their difference.
    const QPainterPath tail = route.path(route.tailStart(), 1500.25);
    QCOMPARE(QPointF(tail.elementAt(0)), QPointF(62.9, 628.8));
    QCOMPARE(tail.currentPosition(), route.point(1500.25));
    QVERIFY(std::abs(tail.length() - (1500.25 - route.tailStart())) < 1e-6);

    // A stretch reaching past the end stops at the end.
    QCOMPARE(route.path(2000, 9000).currentPosition(), QPointF(795, 266.5));
}

void BrandTest::unusablePathTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("points");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("one number") << "M5" << 0;
    QTest::newRow("a start only") << "M10,20" << 1;
    QTest::newRow("a short group is dropped") << "M10,20C1,2 3,4 5" << 1;
    QTest::newRow("words are skipped") << "M10,20Cfoo,1,2 3,4 5,6" << 25;
}

void BrandTest::unusablePathTexts()
{
    QFETCH(QString, text);
    QFETCH(int, points);
    // An unusable path gives an empty or one-point route, never a crash on use.
    const BrandRoute route(text, QPointF(5, 6));
    QCOMPARE(route.points().size(), points);
    const QPointF start = points > 0 ? QPointF(10, 20) : QPointF();
    QCOMPARE(route.point(-1), start);
    QVERIFY(std::isfinite(route.angle(3)));
    if (points <= 1) {
        QCOMPARE(route.length(), 0.0);
        QCOMPARE(route.point(100), start);
        QVERIFY(route.path(0, 10).length() == 0);
    } else {
        QCOMPARE(route.point(1e9), QPointF(5, 6));
    }
}

void BrandTest::loaderClock_data()
{
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<bool>("once");
    QTest::addColumn<bool>("reduceMotion");
    QTest::addColumn<double>("time");
    QTest::newRow("once, playing") << 500.0 << true << false << 500.0;
    QTest::newRow("once, rests on the final frame") << 9000.0 << true << false << 1830.0;
    QTest::newRow("loop, last moment of a cycle") << 2279.0 << false << false << 2279.0;
    QTest::newRow("loop, a new cycle starts empty") << 2280.0 << false << false << 0.0;
    QTest::newRow("loop, third cycle") << 2 * 2280.0 + 300 << false << false << 300.0;
    QTest::newRow("reduced motion, loop") << 12345.0 << false << true << 1830.0;
    QTest::newRow("reduced motion, once, at start") << 0.0 << true << true << 1830.0;
    QTest::newRow("a clock before its start") << -20.0 << false << false << 0.0;
}

void BrandTest::loaderClock()
{
    QFETCH(double, elapsed);
    QFETCH(bool, once);
    QFETCH(bool, reduceMotion);
    QFETCH(double, time);
    QCOMPARE(BrandArt::loaderTime(elapsed, once, reduceMotion), time);
}

void BrandTest::frameSteps_data()
{
    const double total = BrandRoute::website().length();
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("drawnEnd");
    QTest::addColumn<double>("planeScale");
    QTest::addColumn<double>("glow");
    QTest::addColumn<double>("text1Opacity");
    QTest::addColumn<double>("text1Rise");
    QTest::addColumn<double>("text2Opacity");
    QTest::addColumn<double>("shineX"); // NaN: no shine
    const double none = std::nan("");
    // At 0 the brush is still 18 units behind a half-size plane.
    QTest::newRow("0") << 0.0 << -18.0 << 0.5 << 0.0 << 0.0 << 0.0 << 0.0 << none;
    QTest::newRow("110: growing") << 110.0
                                  << (0.12 * 0.11 + 0.88 * (0.5 - std::cos(0.11 * M_PI) / 2)) * total - 27
                                  << 0.75 << std::sin(0.11 * M_PI) * 0.28 << 0.0 << 0.0 << 0.0 << none;
    QTest::newRow("500: half way, brightest glow")
        << 500.0 << total / 2 - 36 << 1.0 << 0.28 << 0.0 << 0.0 << 0.0 << none;
    QTest::newRow("1000: whole route")
        << 1000.0 << total << 1.0 << 0.0 << 0.56 << 28 * std::pow(0.65, 3) << 0.0 << none;
    QTest::newRow("1060: texts rising") << 1060.0 << total << 1.0 << 0.0 << 0.8 << 3.5 << 0.08 << none;
    QTest::newRow("1380: shine not yet") << 1380.0 << total << 1.0 << 0.0 << 1.0 << 0.0 << 1.0 << none;
    QTest::newRow("1605: shine half way") << 1605.0 << total << 1.0 << 0.0 << 1.0 << 0.0 << 1.0 << 880.0;
    QTest::newRow("1830: final") << 1830.0 << total << 1.0 << 0.0 << 1.0 << 0.0 << 1.0 << none;
}

void BrandTest::frameSteps()
{
    QFETCH(double, t);
    QFETCH(double, drawnEnd);
    QFETCH(double, planeScale);
    QFETCH(double, glow);
    QFETCH(double, text1Opacity);
    QFETCH(double, text1Rise);
    QFETCH(double, text2Opacity);
    QFETCH(double, shineX);
    const BrandArt::Frame f = BrandArt::frame(t, BrandRoute::website());
    auto near = [](double a, double b) { return std::abs(a - b) < 1e-9; };
    QVERIFY2(near(f.drawnEnd, drawnEnd), qPrintable(QString::number(f.drawnEnd)));
    QVERIFY(near(f.planeScale, planeScale));
    QVERIFY2(near(f.glowOpacity, glow), qPrintable(QString::number(f.glowOpacity)));
    QVERIFY(near(f.text1.opacity, text1Opacity));
    QVERIFY2(near(f.text1.rise, text1Rise) || text1Opacity == 0, qPrintable(QString::number(f.text1.rise)));
    QVERIFY(near(f.text2.opacity, text2Opacity));
    QCOMPARE(f.shineX.has_value(), !std::isnan(shineX));
    if (f.shineX)
        QVERIFY(near(*f.shineX, shineX));
}

void BrandTest::planeRestsWhereTheArtPlacesIt()
{
    const BrandRoute &route = BrandRoute::website();
    const BrandArt::Frame start = BrandArt::frame(0, route);
    QCOMPARE(start.plane, route.point(0));

    for (double t : {1000.0, 1500.0, 1830.0}) {
        const BrandArt::Frame rest = BrandArt::frame(t, route);
        QCOMPARE(rest.plane, QPointF(795, 266.5));
        QCOMPARE(rest.planeRotation, 0.0);
        QCOMPARE(rest.planeScale, 1.0);
    }
    // In flight the plane turns with the route, relative to its pose in the art, never more than half a turn.
    for (double t = 10; t < 1000; t += 37) {
        const BrandArt::Frame f = BrandArt::frame(t, route);
        QVERIFY(std::abs(f.planeRotation) <= 180);
    }
    // Going down the middle it points about a quarter turn clockwise of its pose at rest.
    const double middle = route.lengths().at(10 * 24);
    double t = 0;
    while (BrandArt::frame(t, route).head < middle)
        t += 1;
    const double rotation = BrandArt::frame(t, route).planeRotation;
    QVERIFY2(rotation > 80 && rotation < 100, qPrintable(QString::number(rotation)));
}

void BrandTest::drawingRevealsTheRoute()
{
    const BrandRoute &route = BrandRoute::website();
    const QPointF early = route.point(300);
    const QPointF tail = route.point(route.tailStart() + 400);

    const QImage start = drawFrame(0);
    QCOMPARE(boardPixel(start, early).alpha(), 0);

    const QImage middle = drawFrame(500);
    QCOMPARE(boardPixel(middle, early), QColor(Qt::red));
    QCOMPARE(boardPixel(middle, tail).alpha(), 0);
    // The brush is round and 76 wide: 30 units off the route it still reveals, 45 units off it does not.
    QCOMPARE(boardPixel(middle, early + QPointF(30, 0)), QColor(Qt::red));
    QCOMPARE(boardPixel(middle, route.point(150) + QPointF(0, -45)).alpha(), 0);

    const QImage whole = drawFrame(1000);
    QCOMPARE(boardPixel(whole, tail), QColor(Qt::green)); // the second picture lies over the first
    QCOMPARE(boardPixel(whole, early), QColor(Qt::red));
    QCOMPARE(boardPixel(whole, QPointF(795, 190)), QColor(Qt::blue)); // the plane at rest, full size

    // The plane starts at half size: it reaches 53.5 units along its length from its centre, not 107.
    QCOMPARE(boardPixel(start, route.point(0) + QPointF(0, 40)), QColor(Qt::blue));
    QCOMPARE(boardPixel(start, route.point(0) + QPointF(0, 60)).alpha(), 0);
}

void BrandTest::shineStaysOnEitherTextPicture()
{
    // At 1605 the band's middle crosses board y 430 at x ≈ 808 and y 560 at x ≈ 761 (it is sheared 20°).
    const QImage shining = drawFrame(1605);
    const QImage still = drawFrame(1830);
    const QPointF onFirst(808, 430);
    const QPointF onSecond(770, 560);
    const QPointF onNeither(820, 560); // the second text picture covers x below 784 only
    QCOMPARE(boardPixel(still, onFirst), QColor(100, 100, 100));
    QVERIFY(boardPixel(shining, onFirst).lightness() > 140);
    QCOMPARE(boardPixel(still, onSecond), QColor(100, 100, 100));
    QVERIFY(boardPixel(shining, onSecond).lightness() > 140);
    QCOMPARE(boardPixel(shining, onNeither).alpha(), 0);
}

void BrandTest::missingPicturesAreSkipped()
{
    // Without pictures every step is skipped: nothing is drawn at any moment, the glow aside.
    QImage none(unitCanvas.toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
    none.fill(Qt::transparent);
    for (double t : {1000.0, 1605.0, 1830.0})
        QCOMPARE(drawFrame(t, {}), none);

    // Without the plane the rest is still drawn.
    BrandArt::Pictures noPlane = testPictures();
    noPlane.remove(QStringLiteral("intro-4"));
    const QImage frame = drawFrame(1000, noPlane);
    QCOMPARE(boardPixel(frame, QPointF(795, 190)).alpha(), 0);
    QCOMPARE(boardPixel(frame, BrandRoute::website().point(300)), QColor(Qt::red));
}

void BrandTest::bundledPicturesLastWhileHeld()
{
    // Guards the intro's full-window art staying in memory for the life of the process.
    std::shared_ptr<const BrandArt::Pictures> first = BrandArt::bundledPictures();
    std::shared_ptr<const BrandArt::Pictures> second = BrandArt::bundledPictures();
    QCOMPARE(second.get(), first.get());
    const QStringList names{"intro-1", "intro-2", "intro-4", "loader-t1i", "loader-t2i"};
    for (const QString &name : names)
        QVERIFY2(!first->value(name).isNull(), qPrintable(name));

    const std::weak_ptr<const BrandArt::Pictures> drawn = first;
    first.reset();
    QVERIFY(!drawn.expired());
    second.reset();
    QVERIFY(drawn.expired());
    QVERIFY(!BrandArt::bundledPictures()->value(QStringLiteral("intro-1")).isNull());
}

void BrandTest::onceReportsAfterItsPlay_data()
{
    QTest::addColumn<bool>("reduceMotion");
    QTest::addColumn<int>("earliest");
    QTest::newRow("animating: after the play") << false << 1800;
    QTest::newRow("reduced motion: after 0.6 s") << true << 580;
}

void BrandTest::onceReportsAfterItsPlay()
{
    QFETCH(bool, reduceMotion);
    QFETCH(int, earliest);
    BrandCanvas canvas;
    canvas.setOnce(true);
    canvas.setReduceMotion(reduceMotion);
    QSignalSpy finished(&canvas, &BrandCanvas::finished);
    QElapsedTimer clock;
    clock.start();
    complete(canvas);
    QTRY_COMPARE(finished.size(), 1);
    QVERIFY2(clock.elapsed() >= earliest, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(canvas.time(), 1830.0);
    QVERIFY(!canvas.animating());
    canvas.release(); // already reported: nothing more
    QCOMPARE(finished.size(), 1);
}

void BrandTest::removalReportsAtOnce()
{
    BrandCanvas canvas;
    canvas.setOnce(true);
    canvas.setReduceMotion(true);
    QSignalSpy finished(&canvas, &BrandCanvas::finished);
    complete(canvas);
    canvas.release();
    QCOMPARE(finished.size(), 1);
    // The timer of the play no longer fires.
    QTest::qWait(800);
    QCOMPARE(finished.size(), 1);
}

void BrandTest::loopNeverReports()
{
    BrandCanvas canvas;
    canvas.setReduceMotion(true);
    QSignalSpy finished(&canvas, &BrandCanvas::finished);
    complete(canvas);
    QTest::qWait(800);
    canvas.release();
    QCOMPARE(finished.size(), 0);
}

void BrandTest::fixedTimeFollowsTheClockRules()
{
    BrandCanvas canvas;
    canvas.setFixedTime(2279);
    QCOMPARE(canvas.time(), 2279.0);
    QVERIFY(!canvas.animating());
    canvas.setFixedTime(2280);
    QCOMPARE(canvas.time(), 0.0);
    canvas.setOnce(true);
    canvas.setFixedTime(5000);
    QCOMPARE(canvas.time(), 1830.0);
    canvas.setOnce(false);
    canvas.setReduceMotion(true);
    canvas.setFixedTime(100);
    QCOMPARE(canvas.time(), 1830.0);
    // Back on the clock, a loop animates.
    canvas.setFixedTime(-1);
    canvas.setReduceMotion(false);
    complete(canvas);
    QVERIFY(canvas.animating());
    QVERIFY(canvas.time() < 2280);
}

void BrandTest::layoutNumbers()
{
    // A 1000 × 700 window: the art spans 448, so the loader is 448 / 0.84 wide, its footer 84 above the edge.
    QVERIFY(std::abs(BrandLayout::stageLoaderSize(1000, 700) - 448 / 0.84) < 1e-9);
    QCOMPARE(BrandLayout::stageSide(1000, 700), 448.0);
    QCOMPARE(BrandLayout::stageFooterInset(700), 84.0);
    QCOMPARE(BrandLayout::stageSide(3000, 2000), 540.0); // capped
    QCOMPARE(BrandLayout::stageSide(500, 2000), 320.0);  // the narrow side decides
    // The inline loader: a 26 × 26 tile with corners of 5.85.
    QCOMPARE(BrandLayout::frameHeight(26, true), 26.0);
    QVERIFY(std::abs(BrandLayout::tileRadius(26) - 5.85) < 1e-9);
    // A bare loader keeps the art board's proportion.
    QVERIFY(std::abs(BrandLayout::frameHeight(1024, false) - 674) < 1e-9);
    QCOMPARE(BrandLayout::loaderLabel(QString()), QStringLiteral("正在加载"));
    QCOMPARE(BrandLayout::loaderLabel(QStringLiteral("同步航班")), QStringLiteral("同步航班"));
}

void BrandTest::stageLoaderStandsClearOfItsFooter_data()
{
    // A 1000 × 700 stage: the loader is 448 / 0.84 wide and 351.04 high, centred at 174.48.
    QTest::addColumn<double>("footerTop");
    QTest::addColumn<double>("size");
    QTest::addColumn<double>("y");
    const double full = 448 / 0.84;
    QTest::newRow("a message only: centred") << 592.0 << full << (700 - full * 674 / 1024) / 2;
    QTest::newRow("a notice and a button: raised above them")
        << 450.0 << full << 450 - 16 - full * 674 / 1024;
    QTest::newRow("less room than its height: smaller, at the top")
        << 300.0 << full * 268 / (full * 674 / 1024) << 16.0;
    QTest::newRow("no room at all") << 20.0 << 0.0 << 16.0;
}

// Regression: the waiting screen's notice and button were drawn over the brand animation.
void BrandTest::stageLoaderStandsClearOfItsFooter()
{
    QFETCH(double, footerTop);
    QFETCH(double, size);
    QFETCH(double, y);
    const QRectF frame = BrandLayout::stageLoaderFrame(1000, 700, footerTop);
    QVERIFY2(std::abs(frame.width() - size) < 1e-6, qPrintable(QString::number(frame.width())));
    QVERIFY2(std::abs(frame.y() - y) < 1e-6, qPrintable(QString::number(frame.y())));
    QVERIFY(std::abs(frame.center().x() - 500) < 1e-6);
    QVERIFY(std::abs(frame.height() - BrandLayout::frameHeight(frame.width(), false)) < 1e-6);
    QVERIFY(frame.bottom() <= std::max(footerTop - 16, 16.0) + 1e-6);
}

QTEST_MAIN(BrandTest)
#include "tst_brand.moc"
