// Pictures as the service keeps them: decoded at a clamped size with the orientation applied, their
// transparent margins cut, and held in a memory cache bounded by bytes and by count.
#include "AircraftImageService.h"
#include "DecodedCache.h"
#include "PictureBytes.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QtTest>

namespace {

// A transparent canvas with an opaque block over the given columns and rows (ends included).
QImage canvasWith(QSize size, QRect visible, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(size, format);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(visible, QColor(0x1b, 0x3f, 0x8f));
    painter.end();
    return image;
}

QByteArray encode(const QImage &image, const char *format,
                  QImageIOHandler::Transformations transformation = {})
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setTransformation(transformation);
    if (!writer.write(image))
        qFatal("could not encode a test picture as %s", format);
    return bytes;
}

} // namespace

using namespace TestSupport;

class PictureDecodingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimCutsTransparentMargins_data();
    void trimCutsTransparentMargins();
    void trimLeavesSomePicturesAlone_data();
    void trimLeavesSomePicturesAlone();
    void maxPixelIsClamped_data();
    void maxPixelIsClamped();
    void decodingHonoursTheSizeLimit_data();
    void decodingHonoursTheSizeLimit();
    void decodingKeepsTheDecodedShape_data();
    void decodingKeepsTheDecodedShape();
    void decodingAppliesOrientation();
    void decodingTrimsWebpAndPng_data();
    void decodingTrimsWebpAndPng();
    void undecodableBytesGiveNoPicture_data();
    void undecodableBytesGiveNoPicture();
    void memoryCacheBounds_data();
    void memoryCacheBounds();
    void memoryCacheKeepsRecentlyUsed();
};

void PictureDecodingTest::trimCutsTransparentMargins_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("visible");
    QTest::addColumn<QRect>("expected");

    // Span 299 rows: margin 299 / 40 = 7 on every side.
    QTest::newRow("wide picture") << QSize(1000, 500) << QRect(QPoint(50, 100), QPoint(949, 399))
                                  << QRect(43, 93, 914, 314);
    // Span 50 rows (not above 79): margin 2.
    QTest::newRow("thin band") << QSize(200, 100) << QRect(QPoint(20, 10), QPoint(179, 60))
                               << QRect(18, 8, 164, 55);
    // Span 80: margin 2 (80 / 40), the first span above 79.
    QTest::newRow("span 80") << QSize(300, 200) << QRect(QPoint(100, 50), QPoint(199, 130))
                             << QRect(98, 48, 104, 85);
    // The margin stops at the picture's edges.
    QTest::newRow("touches the edges")
        << QSize(400, 300) << QRect(QPoint(0, 5), QPoint(390, 299)) << QRect(0, 0, 398, 300);
    QTest::newRow("one visible pixel") << QSize(50, 50) << QRect(25, 25, 1, 1) << QRect(23, 23, 5, 5);
}

void PictureDecodingTest::trimCutsTransparentMargins()
{
    QFETCH(QSize, size);
    QFETCH(QRect, visible);
    QFETCH(QRect, expected);
    const QImage picture = canvasWith(size, visible);
    const QImage trimmed = AircraftImageService::trimmingTransparentEdges(picture);
    QCOMPARE(trimmed.size(), expected.size());
    // The crop is the expected rectangle of the source, pixel for pixel.
    QCOMPARE(trimmed, picture.copy(expected).convertToFormat(trimmed.format()));
}

void PictureDecodingTest::trimLeavesSomePicturesAlone_data()
{
    QTest::addColumn<QImage>("picture");

    QImage opaque(320, 200, QImage::Format_ARGB32);
    opaque.fill(QColor(0x20, 0x40, 0x60));
    QTest::newRow("fully opaque, with alpha channel") << opaque;
    QImage noAlpha(320, 200, QImage::Format_RGB32);
    noAlpha.fill(Qt::transparent); // stays black: the format has no alpha
    QTest::newRow("no alpha channel") << noAlpha;
    QImage clear(320, 200, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QTest::newRow("fully transparent") << clear;
    // Alpha 8 or less counts as transparent.
    QImage faint(320, 200, QImage::Format_ARGB32);
    faint.fill(qRgba(255, 255, 255, 8));
    QTest::newRow("faint everywhere") << faint;
}

void PictureDecodingTest::trimLeavesSomePicturesAlone()
{
    QFETCH(QImage, picture);
    QCOMPARE(AircraftImageService::trimmingTransparentEdges(picture).size(), picture.size());
}

void PictureDecodingTest::maxPixelIsClamped_data()
{
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("clamped");
    QTest::newRow("below the floor") << 100 << 160;
    QTest::newRow("negative") << -5 << 160;
    QTest::newRow("floor") << 160 << 160;
    QTest::newRow("inside") << 500 << 500;
    QTest::newRow("the view's size") << 2000 << 2000;
    QTest::newRow("ceiling") << 3000 << 3000;
    QTest::newRow("above the ceiling") << 5000 << 3000;
}

void PictureDecodingTest::maxPixelIsClamped()
{
    QFETCH(int, requested);
    QFETCH(int, clamped);
    const int value = AircraftImageService::clampedMaxPixel(requested);
    QCOMPARE(value, clamped);
    const QString key = AircraftImageService::cacheKey("/live-map-assets/liveries/a320/default.webp", value);
    QCOMPARE(key, QString("/live-map-assets/liveries/a320/default.webp@%1").arg(clamped));
}

void PictureDecodingTest::decodingHonoursTheSizeLimit_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<int>("maxPixel");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("wide, scaled down") << QSize(4000, 2000) << 2000 << QSize(2000, 1000);
    QTest::newRow("tall, scaled down") << QSize(600, 1200) << 300 << QSize(150, 300);
    QTest::newRow("smaller than the limit: unchanged") << QSize(800, 400) << 2000 << QSize(800, 400);
    QTest::newRow("exactly the limit") << QSize(2000, 500) << 2000 << QSize(2000, 500);
}

void PictureDecodingTest::decodingHonoursTheSizeLimit()
{
    QFETCH(QSize, source);
    QFETCH(int, maxPixel);
    QFETCH(QSize, expected);
    QImage opaque(source, QImage::Format_RGB32);
    opaque.fill(QColor(0x3b, 0x43, 0x4e));
    const QImage decoded = AircraftImageService::decodePicture(encode(opaque, "png"), maxPixel);
    QCOMPARE(decoded.size(), expected);
}

void PictureDecodingTest::decodingKeepsTheDecodedShape_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("maxPixel");
    QTest::addColumn<QSize>("expected");
    // Regression: the picture was stretched to the size its header states, not the size it decodes to.
    // Qt states this GIF as 5000 x 1 (its frame) and decodes it 5000 x 5000 (its screen)…
    QTest::newRow("GIF screen 5000 x 5000, frame 5000 x 1")
        << gifBytes(QSize(5000, 5000), QSize(5000, 1)) << 2000 << QSize(2000, 2000);
    // …and these icons as 256 x 256 (their directory entry), decoding their bitmaps as they are.
    QTest::newRow("ICO stating 256 x 256, bitmap 1 x 1")
        << icoBytes(QSize(256, 256), QSize(1, 1)) << 160 << QSize(1, 1);
    QTest::newRow("ICO stating 256 x 256, bitmap 4 x 2")
        << icoBytes(QSize(256, 256), QSize(4, 2)) << 160 << QSize(4, 2);
}

void PictureDecodingTest::decodingKeepsTheDecodedShape()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, maxPixel);
    QFETCH(QSize, expected);
    QCOMPARE(AircraftImageService::decodePicture(bytes, maxPixel).size(), expected);
}

void PictureDecodingTest::decodingAppliesOrientation()
{
    QImage landscape(400, 200, QImage::Format_RGB32);
    landscape.fill(Qt::darkBlue);
    // Stored landscape, marked to be shown turned a quarter: it comes out portrait, scaled on its long side.
    const QByteArray jpeg = encode(landscape, "jpeg", QImageIOHandler::TransformationRotate90);
    QCOMPARE(AircraftImageService::decodePicture(jpeg, 2000).size(), QSize(200, 400));
    QCOMPARE(AircraftImageService::decodePicture(jpeg, 160).size(), QSize(80, 160));
}

void PictureDecodingTest::decodingTrimsWebpAndPng_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("png") << QByteArray("png");
    QTest::newRow("webp") << QByteArray("webp");
}

void PictureDecodingTest::decodingTrimsWebpAndPng()
{
    QFETCH(QByteArray, format);
    const QImage source = canvasWith(QSize(1000, 500), QRect(QPoint(50, 100), QPoint(949, 399)));
    QImageWriter probe;
    probe.setFormat(format);
    QVERIFY2(probe.canWrite() || QImageWriter::supportedImageFormats().contains(format),
             "image format plugin missing");
    // Lossless so the alpha edges stay where they were drawn.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100);
    QVERIFY(writer.write(source));
    const QImage decoded = AircraftImageService::decodePicture(bytes, 2000);
    QCOMPARE(decoded.size(), QSize(914, 314));
    // Scaled to half first, then trimmed: visible 450 x 150 (span 149, margin 3).
    QCOMPARE(AircraftImageService::decodePicture(bytes, 500).size(), QSize(456, 156));
}

void PictureDecodingTest::undecodableBytesGiveNoPicture_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("html") << QByteArray("<!doctype html><html></html>");
    QTest::newRow("truncated png") << encode(canvasWith(QSize(64, 64), QRect(8, 8, 8, 8)), "png").left(40);
}

void PictureDecodingTest::undecodableBytesGiveNoPicture()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(AircraftImageService::decodePicture(bytes, 2000).isNull());
}

void PictureDecodingTest::memoryCacheBounds_data()
{
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("kept");

    // 100 x 100 ARGB32: 40,000 bytes each, far below the byte limit: the count limit of 80 decides.
    QTest::newRow("count limit") << 100 << QSize(100, 100) << 80;
    // 2000 x 1000 ARGB32: 8,000,000 bytes each; three fit in 24 MiB, a fourth pushes out the oldest.
    QTest::newRow("byte limit") << 4 << QSize(2000, 1000) << 3;
    // One picture larger than the whole limit is not kept at all.
    QTest::newRow("too large to keep") << 1 << QSize(3000, 3000) << 0;
}

void PictureDecodingTest::memoryCacheBounds()
{
    QFETCH(int, pictures);
    QFETCH(QSize, size);
    QFETCH(int, kept);
    DecodedCache cache(AircraftImageService::decodedCostLimit, AircraftImageService::decodedCountLimit);
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::red);
    for (int i = 0; i < pictures; ++i)
        cache.insert(QString("p%1@2000").arg(i), picture);
    QCOMPARE(int(cache.count()), kept);
    QVERIFY(cache.totalCost() <= AircraftImageService::decodedCostLimit);
    QCOMPARE(cache.totalCost(), kept * DecodedCache::costOf(picture));
    // The oldest went first; the newest stayed.
    if (kept > 0) {
        QVERIFY(cache.contains(QString("p%1@2000").arg(pictures - 1)));
        QCOMPARE(cache.contains("p0@2000"), kept == pictures);
    }
}

void PictureDecodingTest::memoryCacheKeepsRecentlyUsed()
{
    DecodedCache cache(1000, 3);
    QImage picture(5, 5, QImage::Format_ARGB32_Premultiplied); // 100 bytes
    picture.fill(Qt::red);
    cache.insert("a", picture);
    cache.insert("b", picture);
    cache.insert("c", picture);
    QVERIFY(cache.find("a")); // "a" is now the most recent
    cache.insert("d", picture);
    QVERIFY(cache.contains("a"));
    QVERIFY(!cache.contains("b"));
    // Storing a key again replaces it without counting twice.
    cache.insert("d", picture);
    QCOMPARE(cache.count(), 3);
    QCOMPARE(cache.totalCost(), 300);
    cache.clear();
    QCOMPARE(cache.count(), 0);
    QCOMPARE(cache.totalCost(), 0);
    QVERIFY(!cache.find("a"));
}

QTEST_MAIN(PictureDecodingTest)
#include "tst_picture_decoding.moc"
