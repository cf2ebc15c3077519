// The picture service against the sample member service over real HTTPS: shared downloads, the catalog's
// hour, the strict reading of answers (status, size, media type, redirects), no cookies, and clearCache.
#include "AircraftImageService.h"
#include "ClientTestSupport.h"
#include "ImageTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkDiskCache>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

#include <atomic>

using namespace TestSupport;

namespace {

const QString a320 = QStringLiteral("/live-map-assets/liveries/a320/air-china.webp");
const QString a320Png = QStringLiteral("/live-map-assets/liveries/a320/china-eastern.png");

AircraftPhotoReference reference(const QString &path) { return {"Airbus A320", "Air China", path}; }

QString sized(qint64 bytes) { return QStringLiteral("/live-map-assets/liveries/sized/b%1.png").arg(bytes); }

// A catalog answer of exactly `size` bytes: one entry, then spaces.
QByteArray paddedCatalog(qint64 size)
{
    QByteArray body =
        R"({"aircraft":[{"name":"Airbus A320","dir":"a320","liveries":[["Air China","air-china"]]}]})";
    body.insert(body.size() - 1, QByteArray(size - body.size(), ' '));
    return body;
}

template <typename T>
std::optional<APIError> apiErrorOf(QCoro::Task<T> task)
{
    return thrown<APIError>([&] { await(std::move(task)); });
}

} // namespace

class ImageServiceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void concurrentRequestsShareOneDownload();
    void decodedPicturesComeFromMemory();
    void anotherSizeComesFromTheDiskCache();
    void maxPixelClampedInKeyAndSize_data();
    void maxPixelClampedInKeyAndSize();
    void catalogReusedForAnHour_data();
    void catalogReusedForAnHour();
    void concurrentCatalogCallsShareOneFetch();
    void failedCatalogIsFetchedAgain();
    void catalogThatDoesNotDecode();
    void bodyLimits_data();
    void bodyLimits();
    void statusMustBeExactly200_data();
    void statusMustBeExactly200();
    void mediaTypes_data();
    void mediaTypes();
    void refusedPathsAreNeverRequested_data();
    void refusedPathsAreNeverRequested();
    void redirects_data();
    void redirects();
    void redirectLoopEndsAfterEight();
    void noCookieReachesThePictureHost();
    void timeoutIsATransportError();
    void cutShortBodyIsATransportFailure_data();
    void cutShortBodyIsATransportFailure();
    void atMostFourConnectionsAtOnce();
    void everyLoadGivesItsConnectionBack();
    void clearCacheAbandonsLoads();
    void clearCacheDuringDecodeStoresNothing();
    void clearCacheEmptiesEveryLayer();
    void serviceGoneDuringLoad();

private:
    std::unique_ptr<AircraftImageService> makeService(AircraftImageService::Options extra = {});

    std::unique_ptr<Site> m_site;
    std::unique_ptr<QTemporaryDir> m_cache;
    QDateTime m_now;
};

void ImageServiceTest::init()
{
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_cache = std::make_unique<QTemporaryDir>();
    QVERIFY(m_cache->isValid());
    m_now = QDateTime(QDate(2025, 3, 1), QTime(8, 0), Qt::UTC);
}

void ImageServiceTest::cleanup()
{
    m_site.reset();
    m_cache.reset();
}

std::unique_ptr<AircraftImageService> ImageServiceTest::makeService(AircraftImageService::Options options)
{
    options = pictureOptions(*m_site->service, std::move(options));
    if (options.cacheFolder.isEmpty())
        options.cacheFolder = m_cache->path();
    if (!options.clock)
        options.clock = [this] { return m_now; };
    return std::make_unique<AircraftImageService>(std::move(options));
}

void ImageServiceTest::concurrentRequestsShareOneDownload()
{
    auto service = makeService();
    QCoro::Task<QImage> first = service->image(reference(a320), 2000);
    QCoro::Task<QImage> second = service->image(reference(a320), 2000);
    const QImage one = await(std::move(first));
    const QImage two = await(std::move(second));
    QCOMPARE(m_site->service->requestsTo(a320).size(), 1);
    QVERIFY(!one.isNull());
    QCOMPARE(one, two);
    // The picture was trimmed: the fixture's 1600 x 900 canvas has wide transparent margins.
    QVERIFY(one.width() < 1600 && one.height() < 900);
}

void ImageServiceTest::decodedPicturesComeFromMemory()
{
    auto service = makeService();
    const QImage first = await(service->image(reference(a320), 2000));
    QVERIFY(service->decodedCache().contains(a320 + "@2000"));
    const QImage again = await(service->image(reference(a320), 2000));
    QCOMPARE(m_site->service->requestsTo(a320).size(), 1);
    QCOMPARE(again.cacheKey(), first.cacheKey()); // the same bitmap, not a second decode
}

void ImageServiceTest::anotherSizeComesFromTheDiskCache()
{
    auto service = makeService();
    const QImage large = await(service->image(reference(a320), 2000));
    const QImage small = await(service->image(reference(a320), 400));
    // The fixture allows caching for a day: the second size is decoded from the disk cache.
    QCOMPARE(m_site->service->requestsTo(a320).size(), 1);
    QVERIFY(qMax(small.width(), small.height()) <= 400);
    QVERIFY(small.width() < large.width());
}

void ImageServiceTest::maxPixelClampedInKeyAndSize_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("clamped");
    QTest::newRow("100 is 160") << 100 << 160;
    QTest::newRow("5000 is 3000") << 5000 << 3000;
}

void ImageServiceTest::maxPixelClampedInKeyAndSize()
{
    QFETCH(int, asked);
    QFETCH(int, clamped);
    auto service = makeService();
    const QImage picture = await(service->image(reference(a320Png), asked));
    QVERIFY(service->decodedCache().contains(QString("%1@%2").arg(a320Png).arg(clamped)));
    QCOMPARE(service->decodedCache().count(), 1);
    // Never larger than the clamped size; never enlarged past the 1600 x 900 original.
    QVERIFY(qMax(picture.width(), picture.height()) <= qMin(clamped, 1600));
    if (clamped == 160)
        QVERIFY(picture.width() > 100); // decoded at 160, not at the 100 asked
}

void ImageServiceTest::catalogReusedForAnHour_data()
{
    QTest::addColumn<int>("laterSeconds");
    QTest::addColumn<int>("fetches");
    QTest::newRow("3599 s: reused") << 3599 << 1;
    QTest::newRow("3600 s: fetched again") << 3600 << 2;
    QTest::newRow("a day: fetched again") << 86400 << 2;
}

void ImageServiceTest::catalogReusedForAnHour()
{
    QFETCH(int, laterSeconds);
    QFETCH(int, fetches);
    auto service = makeService();
    const AircraftCatalog first = await(service->catalog());
    QVERIFY(first.photo("Airbus A320", "Air China"));
    m_now = m_now.addSecs(laterSeconds);
    const AircraftCatalog second = await(service->catalog());
    QCOMPARE(second.aircraft().size(), first.aircraft().size());
    QCOMPARE(m_site->service->requestsTo(catalogPath).size(), fetches);
}

void ImageServiceTest::concurrentCatalogCallsShareOneFetch()
{
    auto service = makeService();
    QCoro::Task<AircraftCatalog> first = service->catalog();
    QCoro::Task<AircraftCatalog> second = service->catalog();
    QCOMPARE(await(std::move(first)).aircraft().size(), await(std::move(second)).aircraft().size());
    QCOMPARE(m_site->service->requestsTo(catalogPath).size(), 1);
}

void ImageServiceTest::failedCatalogIsFetchedAgain()
{
    auto service = makeService();
    Sample::Fault failing;
    failing.status = 500;
    failing.times = 1;
    m_site->service->setFault(catalogPath, failing);
    const std::optional<APIError> error = apiErrorOf(service->catalog());
    QVERIFY(error);
    QCOMPARE(error->status(), 503);
    // A failure is not kept for the hour: the next call, at the same moment, asks again and succeeds.
    QVERIFY(!await(service->catalog()).aircraft().isEmpty());
    QCOMPARE(m_site->service->requestsTo(catalogPath).size(), 2);
}

void ImageServiceTest::catalogThatDoesNotDecode()
{
    auto service = makeService();
    m_site->service->route("GET", catalogPath, [](Sample::Service &, const Sample::Request &) {
        return Sample::Reply::json(QJsonObject{{"planes", QJsonArray()}});
    });
    QVERIFY(thrown<DecodeError>([&] { await(service->catalog()); }));
    QVERIFY(thrown<DecodeError>([&] { await(service->catalog()); }));
    QCOMPARE(m_site->service->requestsTo(catalogPath).size(), 2);
}

void ImageServiceTest::bodyLimits_data()
{
    QTest::addColumn<bool>("json");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("chunked");
    QTest::addColumn<bool>("accepted");

    constexpr qint64 picture = 8'388'608;
    constexpr qint64 json = 4'194'304;
    QTest::newRow("picture of exactly 8 MiB") << false << picture << false << true;
    QTest::newRow("picture one byte over") << false << picture + 1 << false << false;
    QTest::newRow("picture of 8 MiB, undeclared length") << false << picture << true << true;
    QTest::newRow("picture one byte over, undeclared") << false << picture + 1 << true << false;
    QTest::newRow("picture far over, undeclared") << false << 5 * picture << true << false;
    QTest::newRow("catalog of exactly 4 MiB") << true << json << false << true;
    QTest::newRow("catalog one byte over") << true << json + 1 << false << false;
    QTest::newRow("catalog one byte over, undeclared") << true << json + 1 << true << false;
}

void ImageServiceTest::bodyLimits()
{
    QFETCH(bool, json);
    QFETCH(qint64, size);
    QFETCH(bool, chunked);
    QFETCH(bool, accepted);
    // Up to 40 MiB pass through the sample service and the client, both in this process: on a busy machine
    // that can outlast the app's limits on a transfer's time, and the answer would end as a time-out before
    // its size was judged. Only the size limits are under test here.
    AircraftImageService::Options untimed;
    untimed.idleTimeout = untimed.totalTimeout = std::chrono::hours(1);
    auto service = makeService(untimed);
    const QString path = json ? catalogPath : sized(size);
    if (json) {
        m_site->service->route("GET", catalogPath, [size](Sample::Service &, const Sample::Request &) {
            return Sample::Reply::bytes(paddedCatalog(size), "application/json");
        });
    }
    if (chunked) {
        Sample::Fault undeclared;
        undeclared.undeclaredLength = true;
        m_site->service->setFault(path, undeclared);
    }
    std::optional<APIError> error;
    if (json) {
        error = thrown<APIError>([&] { QCOMPARE(await(service->catalog()).aircraft().size(), 1); });
    } else {
        error = thrown<APIError>([&] { QVERIFY(!await(service->image(reference(path), 2000)).isNull()); });
    }
    QCOMPARE(!error, accepted);
    if (error) {
        QCOMPARE(error->status(), 503);
        QCOMPARE(error->message(), QString("飞机图片暂时无法加载，请稍后重试。"));
    }
}

void ImageServiceTest::statusMustBeExactly200_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("203 with a real picture") << 203;
    QTest::newRow("204") << 204;
    QTest::newRow("404") << 404;
    QTest::newRow("500") << 500;
}

void ImageServiceTest::statusMustBeExactly200()
{
    QFETCH(int, status);
    auto service = makeService();
    const QByteArray png = Sample::Service::avatarPicture("u-1001");
    m_site->service->route("GET", "/live-map-assets/liveries/status/{file}",
                           [status, png](Sample::Service &, const Sample::Request &) {
                               return Sample::Reply::bytes(status == 204 ? QByteArray() : png, "image/png",
                                                           status);
                           });
    const std::optional<APIError> error =
        apiErrorOf(service->image(reference("/live-map-assets/liveries/status/any.png"), 2000));
    QVERIFY(error);
    QCOMPARE(error->status(), 503);
}

void ImageServiceTest::mediaTypes_data()
{
    QTest::addColumn<bool>("json");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("picture, image/png") << false << QByteArray("image/png") << true;
    QTest::newRow("picture, upper case") << false << QByteArray("IMAGE/PNG") << true;
    QTest::newRow("picture, text/html") << false << QByteArray("text/html") << false;
    QTest::newRow("picture, octet-stream") << false << QByteArray("application/octet-stream") << false;
    QTest::newRow("picture, no type") << false << QByteArray() << false;
    QTest::newRow("catalog, application/json") << true << QByteArray("application/json") << true;
    QTest::newRow("catalog, with charset") << true << QByteArray("application/json; charset=utf-8") << true;
    QTest::newRow("catalog, text/plain") << true << QByteArray("text/plain") << false;
    QTest::newRow("catalog, no type") << true << QByteArray() << false;
}

void ImageServiceTest::mediaTypes()
{
    QFETCH(bool, json);
    QFETCH(QByteArray, contentType);
    QFETCH(bool, accepted);
    auto service = makeService();
    const QString path = json ? catalogPath : QStringLiteral("/live-map-assets/liveries/typed/any.png");
    const QByteArray body = json ? paddedCatalog(200) : Sample::Service::avatarPicture("u-1001");
    m_site->service->route("GET", json ? catalogPath : "/live-map-assets/liveries/typed/{file}",
                           [body, contentType](Sample::Service &, const Sample::Request &) {
                               return Sample::Reply::bytes(body, contentType);
                           });
    std::optional<APIError> error;
    if (json)
        error = apiErrorOf(service->catalog());
    else
        error = apiErrorOf(service->image(reference(path), 2000));
    QCOMPARE(!error, accepted);
    if (error)
        QCOMPARE(error->status(), 503);
}

void ImageServiceTest::refusedPathsAreNeverRequested_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("climbs") << "/live-map-assets/liveries/a320/../catalog.json";
    QTest::newRow("upper case") << "/live-map-assets/liveries/A320/default.webp";
    QTest::newRow("gif") << "/live-map-assets/liveries/a320/default.gif";
    QTest::newRow("member service") << "/api/me";
    QTest::newRow("empty") << "";
}

void ImageServiceTest::refusedPathsAreNeverRequested()
{
    QFETCH(QString, path);
    auto service = makeService();
    const std::optional<APIError> error = apiErrorOf(service->image(reference(path), 2000));
    QVERIFY(error);
    QCOMPARE(error->status(), 503);
    QVERIFY(m_site->service->requests().isEmpty());
}

void ImageServiceTest::redirects_data()
{
    QTest::addColumn<QString>("target"); // "{port}" is the sample service's port
    QTest::addColumn<QString>("targetPath");
    QTest::addColumn<bool>("followed");

    const QString picture = "/live-map-assets/liveries/a320/sichuan-airlines.webp";
    QTest::newRow("same site, public picture") << "https://127.0.0.1:{port}" + picture << picture << true;
    QTest::newRow("another host name") << "https://localhost:{port}" + picture << picture << false;
    QTest::newRow("plain http") << "http://127.0.0.1:{port}" + picture << picture << false;
    QTest::newRow("another port") << "https://127.0.0.1:1" + picture << picture << false;
    QTest::newRow("user information") << "https://someone@127.0.0.1:{port}" + picture << picture << false;
    QTest::newRow("member service path") << "https://127.0.0.1:{port}/api/me"
                                         << "/api/me" << false;
}

void ImageServiceTest::redirects()
{
    QFETCH(QString, target);
    QFETCH(QString, targetPath);
    QFETCH(bool, followed);
    auto service = makeService();
    Sample::Fault redirect;
    redirect.redirect =
        QUrl(QString(target).replace("{port}", QString::number(m_site->service->origin().port())));
    m_site->service->setFault(a320, redirect);

    const std::optional<APIError> error = apiErrorOf(service->image(reference(a320), 2000));
    QCOMPARE(!error, followed);
    if (error)
        QCOMPARE(error->status(), 503);
    // A refused redirect is never requested; "localhost" and "http" would reach this very service.
    QCOMPARE(m_site->service->requestsTo(targetPath).size(), followed ? 1 : 0);
}

void ImageServiceTest::redirectLoopEndsAfterEight()
{
    auto service = makeService();
    Sample::Fault loop;
    QUrl self = m_site->service->origin();
    self.setPath(a320);
    loop.redirect = self;
    m_site->service->setFault(a320, loop);
    const std::optional<TransportError> error =
        thrown<TransportError>([&] { await(service->image(reference(a320), 2000)); });
    QVERIFY(error);
    QCOMPARE(error->code(), QNetworkReply::TooManyRedirectsError);
    QCOMPARE(m_site->service->requestsTo(a320).size(), 9);
}

void ImageServiceTest::noCookieReachesThePictureHost()
{
    // The member is signed in on the same site: their client holds the session cookie.
    const auto client = m_site->client();
    await(client->login("lichen", "fly-vornalia", false));
    QCOMPARE(m_site->service->sessionCount(), 1);

    // The site also tries to set a cookie with its static files.
    m_site->service->route("GET", catalogPath, [](Sample::Service &service, const Sample::Request &) {
        Sample::Reply reply = Sample::Reply::json(service.data("liveries-catalog"));
        reply.headers.append({QByteArray("Set-Cookie"), QByteArray("assets=1; Path=/; Secure")});
        return reply;
    });
    auto service = makeService();
    await(service->catalog());
    await(service->image(reference(a320), 2000));
    m_now = m_now.addSecs(7200);
    await(service->catalog());
    await(service->image(reference(a320Png), 2000));

    int assetRequests = 0;
    for (const Sample::Request &request : m_site->service->requests()) {
        if (!request.path.startsWith("/live-map-assets/"))
            continue;
        ++assetRequests;
        QVERIFY2(request.header("Cookie").isEmpty(), qPrintable(request.path + " carried a cookie"));
        QVERIFY(request.cookies.isEmpty());
    }
    QCOMPARE(assetRequests, 4);
}

void ImageServiceTest::timeoutIsATransportError()
{
    // Waits without data and whole transfers are limited from the start.
    QCOMPARE(AircraftImageService::defaultOptions().idleTimeout, std::chrono::milliseconds(20'000));
    QCOMPARE(AircraftImageService::defaultOptions().totalTimeout, std::chrono::milliseconds(30'000));

    AircraftImageService::Options options;
    options.idleTimeout = std::chrono::milliseconds(300);
    auto service = makeService(options);
    Sample::Fault stalled;
    stalled.bodyDelayMs = 3000;
    m_site->service->setFault(a320, stalled);
    const std::optional<TransportError> error =
        thrown<TransportError>([&] { await(service->image(reference(a320), 2000)); });
    QVERIFY2(error, "a time-out must not look like a cancellation or a bad picture");
    QCOMPARE(error->code(), QNetworkReply::TimeoutError);

    // The whole transfer has its own limit, shorter here than the wait without data: an answer that
    // would come whole after 2 s ends at the total's 300 ms.
    AircraftImageService::Options whole;
    whole.idleTimeout = std::chrono::milliseconds(5000);
    whole.totalTimeout = std::chrono::milliseconds(300);
    auto limited = makeService(whole);
    stalled.bodyDelayMs = 2000;
    m_site->service->setFault(a320, stalled);
    const std::optional<TransportError> late =
        thrown<TransportError>([&] { await(limited->image(reference(a320), 2000)); });
    QVERIFY2(late, "a whole transfer past its limit must end as a time-out");
    QCOMPARE(late->code(), QNetworkReply::TimeoutError);
}

void ImageServiceTest::cutShortBodyIsATransportFailure_data()
{
    QTest::addColumn<bool>("json");
    QTest::addColumn<bool>("fromDisk"); // a copy in the disk cache, short of its declared length
    QTest::newRow("picture") << false << false;
    QTest::newRow("catalog") << true << false;
    QTest::newRow("picture, damaged disk copy") << false << true;
}

// Regression: a body whose connection closed before its declared length could be handed on as if whole.
void ImageServiceTest::cutShortBodyIsATransportFailure()
{
    QFETCH(bool, json);
    QFETCH(bool, fromDisk);
    const QString path = json ? catalogPath : a320Png;
    if (fromDisk) {
        QNetworkDiskCache disk;
        disk.setCacheDirectory(m_cache->path());
        QUrl url = m_site->service->origin();
        url.setPath(path);
        QNetworkCacheMetaData entry;
        entry.setUrl(url);
        entry.setRawHeaders({{"Content-Type", "image/png"},
                             {"Content-Length", "400"},
                             {"Cache-Control", "public, max-age=86400"}});
        entry.setLastModified(QDateTime::currentDateTimeUtc());
        entry.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(1));
        entry.setAttributes({{QNetworkRequest::HttpStatusCodeAttribute, 200},
                             {QNetworkRequest::HttpReasonPhraseAttribute, QByteArray("OK")}});
        QIODevice *body = disk.prepare(entry);
        QVERIFY(body);
        body->write(Sample::Service::avatarPicture("u-1001").left(8));
        disk.insert(body);
    } else {
        Sample::Fault cut;
        cut.cutAfter = 8;
        cut.times = 1;
        m_site->service->setFault(path, cut);
    }
    auto service = makeService();
    const auto load = [&] {
        if (json)
            QVERIFY(!await(service->catalog()).aircraft().isEmpty());
        else
            QVERIFY(!await(service->image(reference(path), 2000)).isNull());
    };
    const std::optional<TransportError> error = thrown<TransportError>(load);
    QVERIFY(error);
    QCOMPARE(error->code(), QNetworkReply::RemoteHostClosedError);
    QCOMPARE(error->description(), QString("连接在回答收完之前中断，请检查网络连接后重试。"));
    QCOMPARE(m_site->service->requestsTo(path).size(), fromDisk ? 0 : 1);
    // Nothing of the cut answer stays in the disk cache: the next load reads the whole file from the site.
    load();
    QCOMPARE(m_site->service->requestsTo(path).size(), fromDisk ? 1 : 2);
}

void ImageServiceTest::atMostFourConnectionsAtOnce()
{
    auto service = makeService();
    const AircraftCatalog catalog = await(service->catalog());
    // Seven pictures, each answered slowly: the site never sees more than four requests waiting at once.
    QStringList paths;
    for (const CatalogAircraft &aircraft : catalog.aircraft()) {
        for (const AircraftPhotoReference &photo : aircraft.photos()) {
            if (paths.size() < 7 && !photo.path.contains("sample"))
                paths.append(photo.path);
        }
    }
    QCOMPARE(paths.size(), 7);
    // Held until the test lets them go: none of the first four can finish while the test looks, however
    // busy the machine (a wait of a few seconds could end before the fourth request even came).
    Sample::Fault held;
    held.held = true;
    for (const QString &path : std::as_const(paths))
        m_site->service->setFault(path, held);

    std::vector<QCoro::Task<QImage>> loads;
    for (const QString &path : std::as_const(paths))
        loads.push_back(service->image(reference(path), 400));
    const auto pictureRequests = [&] { return int(m_site->service->requests().size()) - 1; };
    QVERIFY(TestSupport::waitFor([&] { return m_site->service->heldAnswers() == 4; }));
    QTest::qWait(150); // a fifth request, one too many, would go out meanwhile
    QCOMPARE(pictureRequests(), 4);
    // The rest are answered at once.
    m_site->service->clearFaults();
    m_site->service->release();
    for (auto &load : loads)
        QVERIFY(!await(std::move(load)).isNull());
    QCOMPARE(pictureRequests(), 7);
}

// Regression: a finished request kept its connection slot, so the fifth load ever made waited for good.
void ImageServiceTest::everyLoadGivesItsConnectionBack()
{
    auto service = makeService();
    const std::optional<AircraftPhotoReference> missing =
        await(service->catalog()).photo("Airbus A320", "Missing Sample");
    QVERIFY(missing);
    for (int round = 0; round < 3; ++round) {
        // Failures, refusals and successes alike.
        QVERIFY(apiErrorOf(service->image(*missing, 2000)));
        QVERIFY(apiErrorOf(service->image(reference(sized(8'388'609)), 2000)));
        QVERIFY(!await(service->image(reference(a320), 160 + round)).isNull());
    }
    QCOMPARE(m_site->service->requestsTo(missing->path).size(), 3);
}

void ImageServiceTest::clearCacheAbandonsLoads()
{
    auto service = makeService();
    // Held until the test lets them go, so neither can be done before clearCache however busy the machine.
    Sample::Fault held;
    held.held = true;
    held.times = 2; // the abandoned load and the fresh one
    m_site->service->setFault(a320, held);
    held.times = 1;
    m_site->service->setFault(catalogPath, held);

    QCoro::Task<QImage> abandoned = service->image(reference(a320), 2000);
    QCoro::Task<AircraftCatalog> catalog = service->catalog();
    QVERIFY(TestSupport::waitFor([&] { return m_site->service->heldAnswers() == 2; }));
    QCOMPARE(m_site->service->requestsTo(a320).size(), 1);
    QCOMPARE(m_site->service->requestsTo(catalogPath).size(), 1);
    const quint64 epoch = service->cacheEpoch();
    service->clearCache();
    QCOMPARE(service->cacheEpoch(), epoch + 1);

    // A fresh load of the same key starts at once, and a third caller shares it.
    QCoro::Task<QImage> fresh = service->image(reference(a320), 2000);
    QCoro::Task<QImage> sharing = service->image(reference(a320), 2000);
    QVERIFY(thrown<CancellationError>([&] { await(std::move(abandoned)); }));
    QVERIFY(thrown<CancellationError>([&] { await(std::move(catalog)); }));
    // The abandoned load has ended while the fresh one is still downloading; its end did not take the fresh
    // load's place away, so a late caller shares it too.
    QCoro::Task<QImage> late = service->image(reference(a320), 2000);
    QVERIFY(TestSupport::waitFor([&] { return m_site->service->requestsTo(a320).size() == 2; }));
    m_site->service->release();
    QVERIFY(!await(std::move(fresh)).isNull());
    QVERIFY(!await(std::move(sharing)).isNull());
    QVERIFY(!await(std::move(late)).isNull());
    QCOMPARE(m_site->service->requestsTo(a320).size(), 2);
}

// Regression: a load that had its bytes when clearCache ran put its picture back into the emptied cache.
void ImageServiceTest::clearCacheDuringDecodeStoresNothing()
{
    QSemaphore decoding;
    QSemaphore release;
    AircraftImageService::Options options;
    options.decode = [&](const QByteArray &bytes, int maxPixel) {
        decoding.release();
        release.acquire();
        return AircraftImageService::decodePicture(bytes, maxPixel);
    };
    auto service = makeService(options);
    QCoro::Task<QImage> load = service->image(reference(a320), 2000);
    QVERIFY(TestSupport::waitFor([&] { return decoding.available() == 1; }));
    service->clearCache();
    release.release();
    QVERIFY(thrown<CancellationError>([&] { await(std::move(load)); }));
    // The decode finishes and its coroutine resumes, however long a busy machine takes to run it.
    QVERIFY(QThreadPool::globalInstance()->waitForDone(TestSupport::patience));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(service->decodedCache().count(), 0);
    QVERIFY(!service->decodedCache().contains(a320 + "@2000"));
}

void ImageServiceTest::clearCacheEmptiesEveryLayer()
{
    auto service = makeService();
    await(service->catalog());
    await(service->image(reference(a320), 2000));
    QCOMPARE(service->decodedCache().count(), 1);
    service->clearCache();
    QCOMPARE(service->decodedCache().count(), 0);
    // Memory, disk and the catalog's hour are gone: both come from the site again.
    await(service->catalog());
    await(service->image(reference(a320), 2000));
    QCOMPARE(m_site->service->requestsTo(catalogPath).size(), 2);
    QCOMPARE(m_site->service->requestsTo(a320).size(), 2);
}

void ImageServiceTest::serviceGoneDuringLoad()
{
    auto service = makeService();
    // Never answered: a load that finished before the service went would not end as cancelled.
    Sample::Fault held;
    held.held = true;
    QStringList paths;
    for (const QString stem : {"air-china", "china-eastern", "sichuan-airlines", "default", "slow-sample"}) {
        paths.append(QString("/live-map-assets/liveries/a320/%1.%2")
                         .arg(stem, stem == "china-eastern" ? "png" : "webp"));
        m_site->service->setFault(paths.last(), held);
    }
    // Four loads are on the wire, the fifth waits for a connection.
    std::vector<QCoro::Task<QImage>> loads;
    for (const QString &path : std::as_const(paths))
        loads.push_back(service->image(reference(path), 2000));
    QVERIFY(TestSupport::waitFor([&] { return m_site->service->heldAnswers() == 4; }));
    QCOMPARE(m_site->service->requests().size(), 4);
    service.reset();
    for (auto &load : loads)
        QVERIFY(thrown<CancellationError>([&] { await(std::move(load)); }));
}

QTEST_MAIN(ImageServiceTest)
#include "tst_image_service.moc"
