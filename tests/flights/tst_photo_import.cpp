#include "APIError.h"
#include "PhotoImport.h"

#include "ClientTestSupport.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

// Picked pictures become upright JPEGs on white, within the size and byte limits.
namespace {

QList<Upload> load(const QList<QUrl> &items, qsizetype limit)
{
    return TestSupport::await(PhotoImport::load(items, limit));
}

std::optional<APIError> refusal(const QList<QUrl> &items, qsizetype limit)
{
    return TestSupport::thrown<APIError>([&] { load(items, limit); });
}

} // namespace

class PhotoImportTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

    static QImage read(const QByteArray &jpeg)
    {
        QBuffer buffer;
        buffer.setData(jpeg);
        QImageReader reader(&buffer, "jpeg");
        return reader.read();
    }
    static QByteArray encoded(const QImage &image, const char *format)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    }
    // Noise does not compress: its JPEG stays large at every quality.
    static QImage noise(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        QRandomGenerator random(42);
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = random.generate() | 0xff000000;
        }
        return image;
    }
    QUrl file(const QString &name, const QByteArray &bytes)
    {
        QFile out(m_folder.filePath(name));
        if (!out.open(QIODevice::WriteOnly))
            return {};
        out.write(bytes);
        return QUrl::fromLocalFile(out.fileName());
    }

private Q_SLOTS:
    void scaledDownNeverUp_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<qsizetype>("limit");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("4000x3000, report") << QSize(4000, 3000) << qsizetype(2'097'152) << QSize(2400, 1800);
        QTest::newRow("4000x3000, avatar") << QSize(4000, 3000) << qsizetype(524'288) << QSize(800, 600);
        QTest::newRow("portrait, report") << QSize(1500, 3000) << qsizetype(2'097'152) << QSize(1200, 2400);
        QTest::newRow("1000x500 stays") << QSize(1000, 500) << qsizetype(2'097'152) << QSize(1000, 500);
        QTest::newRow("one byte over the avatar limit")
            << QSize(3000, 3000) << qsizetype(524'289) << QSize(2400, 2400);
        QTest::newRow("a sliver keeps a pixel") << QSize(4000, 1) << qsizetype(2'097'152) << QSize(2400, 1);
    }
    void scaledDownNeverUp()
    {
        QFETCH(QSize, source);
        QFETCH(qsizetype, limit);
        QImage image(source, QImage::Format_RGB32);
        image.fill(QColor(40, 90, 160));
        const PhotoImport::Converted converted = PhotoImport::convert(encoded(image, "png"), limit);
        QCOMPARE(converted.failure, PhotoImport::Failure::None);
        QVERIFY(converted.jpeg.size() <= limit);
        QTEST(read(converted.jpeg).size(), "expected");
    }

    void transparencyBecomesWhite()
    {
        QImage image(200, 100, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int y = 0; y < 100; ++y)
            for (int x = 100; x < 200; ++x)
                image.setPixel(x, y, qRgba(200, 0, 0, 255));
        const QImage out = read(PhotoImport::convert(encoded(image, "png"), PhotoImport::reportLimit).jpeg);
        const QColor clear = out.pixelColor(20, 50), painted = out.pixelColor(170, 50);
        QVERIFY2(clear.red() > 245 && clear.green() > 245 && clear.blue() > 245, qPrintable(clear.name()));
        QVERIFY2(painted.red() > 180 && painted.green() < 40, qPrintable(painted.name()));
    }

    void orientationApplied()
    {
        // A landscape picture the camera marked as turned a quarter: it comes out standing.
        QImage image(300, 100, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        if (!writer.supportsOption(QImageIOHandler::ImageTransformation))
            QSKIP("this system's JPEG writer cannot record an orientation");
        writer.setTransformation(QImageIOHandler::TransformationRotate90);
        QVERIFY(writer.write(image));
        const QImage out = read(PhotoImport::convert(bytes, PhotoImport::reportLimit).jpeg);
        QCOMPARE(out.size(), QSize(100, 300));
    }

    void qualityLadder()
    {
        const QByteArray bytes = encoded(noise(600, 600), "png");
        // Find the sizes of the four qualities, then set limits between them.
        QList<qsizetype> sizes;
        for (const int quality : {90, 75, 55, 35}) {
            QByteArray jpeg;
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setQuality(quality);
            QImage canvas(600, 600, QImage::Format_RGB32);
            canvas.fill(Qt::white);
            QPainter(&canvas).drawImage(0, 0, QImage::fromData(bytes));
            QVERIFY(writer.write(canvas));
            sizes.append(jpeg.size());
        }
        QVERIFY(sizes[0] > sizes[1] && sizes[1] > sizes[2] && sizes[2] > sizes[3]);
        // Just under quality 0.9 takes 0.75; just under 0.55 takes 0.35.
        QCOMPARE(PhotoImport::convert(bytes, sizes[0] - 1).jpeg.size(), sizes[1]);
        QCOMPARE(PhotoImport::convert(bytes, sizes[2] - 1).jpeg.size(), sizes[3]);
        const PhotoImport::Converted none = PhotoImport::convert(bytes, sizes[3] - 1);
        QCOMPARE(none.failure, PhotoImport::Failure::TooLarge);
        QVERIFY(none.jpeg.isEmpty());
    }

    void loadInOrderOrNotAtAll()
    {
        QVERIFY(m_folder.isValid());
        QImage wide(640, 320, QImage::Format_RGB32), tall(200, 400, QImage::Format_RGB32);
        wide.fill(Qt::green);
        tall.fill(Qt::yellow);
        const QUrl first = file("wide.png", encoded(wide, "png"));
        const QUrl second =
            file("tall.webp",
                 encoded(tall, QImageWriter::supportedImageFormats().contains("webp") ? "webp" : "png"));
        const QList<Upload> uploads = load({first, second}, PhotoImport::reportLimit);
        QCOMPARE(uploads.size(), 2);
        QCOMPARE(read(uploads[0].data).size(), QSize(640, 320));
        QCOMPARE(read(uploads[1].data).size(), QSize(200, 400));
        QCOMPARE(uploads[0].filename, QStringLiteral("screenshot.jpg"));
        QCOMPARE(uploads[0].mimeType, QStringLiteral("image/jpeg"));
        QVERIFY(uploads[0].id != uploads[1].id);

        QVERIFY(load({}, PhotoImport::reportLimit).isEmpty());

        // One bad item ends the whole call with its text: nothing of the good ones comes back.
        const QUrl text = file("notes.png", "not a picture");
        const auto unreadable = refusal({first, text}, PhotoImport::reportLimit);
        QVERIFY(unreadable);
        QCOMPARE(unreadable->status(), 400);
        QCOMPARE(unreadable->message(), QStringLiteral("无法读取所选图片，请选择其他图片。"));
        const auto missing =
            refusal({QUrl::fromLocalFile(m_folder.filePath("gone.png"))}, PhotoImport::reportLimit);
        QVERIFY(missing);
        QCOMPARE(missing->message(), QStringLiteral("无法读取所选图片，请选择其他图片。"));
        const QUrl heavy = file("noise.png", encoded(noise(2400, 2400), "png"));
        const auto tooLarge = refusal({first, heavy}, PhotoImport::avatarLimit / 8);
        QVERIFY(tooLarge);
        QCOMPARE(tooLarge->message(), QStringLiteral("图片过大，请裁剪后再选择。"));
    }
};

QTEST_GUILESS_MAIN(PhotoImportTest)
#include "tst_photo_import.moc"
