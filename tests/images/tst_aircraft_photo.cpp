// The aircraft picture view's model against the sample member service: which state it shows, when it
// loads again, what it drops, and the sizes and layout the view draws with.
#include "AircraftImageService.h"
#include "AircraftPhotoModel.h"
#include "ClientTestSupport.h"
#include "ImageTestSupport.h"
#include "PhotoItems.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace TestSupport;
using State = AircraftPhotoModel::State;

namespace {

const QString airChina = QStringLiteral("/live-map-assets/liveries/a320/air-china.webp");
const QString missing = QStringLiteral("/live-map-assets/liveries/a320/missing-sample.webp");

} // namespace

class AircraftPhotoTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void referenceSkipsTheCatalog();
    void catalogDecidesTheState_data();
    void catalogDecidesTheState();
    void failedCatalogOffersRetry();
    void retryLoadsAgainAsANewAttempt();
    void newInputsRestartAndDropStaleResults();
    void offScreenDropsThePicture();
    void clearCacheDuringLoadOffersRetry();
    void modelGoneDuringLoad();
    void nothingLoadsBeforeTheViewIsComplete();
    void sizesFollowTheNominalHeight_data();
    void sizesFollowTheNominalHeight();
    void aspectRatio_data();
    void aspectRatio();
    void cappedAspectLayout_data();
    void cappedAspectLayout();
    void layoutItemPlacesItsFirstChild();
    void fittedPhotoIsCentred();

private:
    std::unique_ptr<AircraftPhotoModel> makeModel(const QString &aircraft, const QString &livery);

    std::unique_ptr<Site> m_site;
    std::unique_ptr<QTemporaryDir> m_cache;
    std::unique_ptr<AircraftImageService> m_service;
};

void AircraftPhotoTest::initTestCase()
{
    // The texts below are the Simplified Chinese keys.
    qputenv("LANGUAGE", "zh_CN");
}

void AircraftPhotoTest::init()
{
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_cache = std::make_unique<QTemporaryDir>();
    AircraftImageService::Options options = pictureOptions(*m_site->service);
    options.cacheFolder = m_cache->path();
    m_service = std::make_unique<AircraftImageService>(options);
}

void AircraftPhotoTest::cleanup()
{
    m_service.reset();
    m_site.reset();
    m_cache.reset();
}

std::unique_ptr<AircraftPhotoModel> AircraftPhotoTest::makeModel(const QString &aircraft,
                                                                 const QString &livery)
{
    auto model = std::make_unique<AircraftPhotoModel>();
    model->setService(m_service.get());
    model->setAircraft(aircraft);
    model->setLivery(livery);
    return model;
}

void AircraftPhotoTest::referenceSkipsTheCatalog()
{
    auto model = makeModel("anything", "at all");
    model->setReference({"Airbus A320", "Air China", airChina});
    QCOMPARE(model->identity(), airChina + "@0");
    model->setActive(true);
    QCOMPARE(model->state(), State::Loading);
    QVERIFY(TestSupport::waitFor([&] { return model->state() == State::Picture; }));
    QVERIFY(!model->image().isNull());
    QCOMPARE(model->photo()->path, airChina);
    QVERIFY(m_site->service->requestsTo(catalogPath).isEmpty());
    // The label names the reference's aircraft and livery, not the caller's free text.
    QCOMPARE(model->accessibleLabel(), QString("飞机图片：Airbus A320，Air China"));
}

void AircraftPhotoTest::catalogDecidesTheState_data()
{
    QTest::addColumn<QString>("aircraft");
    QTest::addColumn<QString>("livery");
    QTest::addColumn<State>("expected");
    QTest::addColumn<QString>("expectedPath");

    QTest::newRow("known aircraft and livery") << "Airbus A320"
                                               << "Air China" << State::Picture << airChina;
    QTest::newRow("spelled differently") << "Airbus A320-200"
                                         << "air-china" << State::Picture << airChina;
    QTest::newRow("PNG picture") << "Boeing 737-800"
                                 << "China Southern" << State::Picture
                                 << "/live-map-assets/liveries/b738/china-southern.png";
    QTest::newRow("unknown aircraft") << "Concorde"
                                      << "Air France" << State::Unavailable << "";
    QTest::newRow("unknown livery") << "Airbus A320"
                                    << "Pan Am" << State::Unavailable << "";
    QTest::newRow("empty livery") << "Airbus A320"
                                  << "" << State::Unavailable << "";
    QTest::newRow("picture missing on the site") << "Airbus A320"
                                                 << "Missing Sample" << State::Failed << missing;
}

void AircraftPhotoTest::catalogDecidesTheState()
{
    QFETCH(QString, aircraft);
    QFETCH(QString, livery);
    QFETCH(State, expected);
    QFETCH(QString, expectedPath);
    auto model = makeModel(aircraft, livery);
    QCOMPARE(model->identity(), aircraft + "|" + livery + "@0");
    model->setActive(true);
    QVERIFY(TestSupport::waitFor([&] { return model->state() != State::Loading; }));
    QCOMPARE(model->state(), expected);
    QCOMPARE(model->photo() ? model->photo()->path : QString(), expectedPath);
    QCOMPARE(model->image().isNull(), expected != State::Picture);
    QCOMPARE(m_site->service->requestsTo(catalogPath).size(), 1);
    if (expected == State::Unavailable)
        QCOMPARE(model->accessibleLabel(), QString("暂无对应涂装图片"));
}

void AircraftPhotoTest::failedCatalogOffersRetry()
{
    Sample::Fault failing;
    failing.status = 503;
    m_site->service->setFault(catalogPath, failing);
    auto model = makeModel("Airbus A320", "Air China");
    model->setActive(true);
    QVERIFY(TestSupport::waitFor([&] { return model->state() != State::Loading; }));
    QCOMPARE(model->state(), State::Failed);
}

void AircraftPhotoTest::retryLoadsAgainAsANewAttempt()
{
    auto model = makeModel("Airbus A320", "Missing Sample");
    model->setActive(true);
    QVERIFY(TestSupport::waitFor([&] { return model->state() == State::Failed; }));

    // The site publishes the picture; the retry finds it.
    const QByteArray picture = Sample::Service::avatarPicture("u-1001");
    m_site->service->route("GET", "/live-map-assets/liveries/a320/missing-sample.webp",
                           [picture](Sample::Service &, const Sample::Request &) {
                               return Sample::Reply::bytes(picture, "image/webp");
                           });
    QSignalSpy identity(model.get(), &AircraftPhotoModel::identityChanged);
    model->retry();
    QCOMPARE(model->attempt(), 1);
    QCOMPARE(model->identity(), QString("Airbus A320|Missing Sample@1"));
    QCOMPARE(identity.size(), 1);
    QCOMPARE(model->state(), State::Loading);
    QVERIFY(TestSupport::waitFor([&] { return model->state() == State::Picture; }));
    QCOMPARE(m_site->service->requestsTo(missing).size(), 2);
}

void AircraftPhotoTest::newInputsRestartAndDropStaleResults()
{
    Sample::Fault slow;
    slow.bodyDelayMs = 600;
    m_site->service->setFault(airChina, slow);
    auto model = makeModel("Airbus A320", "Air China");
    model->setActive(true);
    QVERIFY(TestSupport::waitFor([&] { return m_site->service->requestsTo(airChina).size() == 1; }));

    model->setLivery("China Eastern");
    QCOMPARE(model->state(), State::Loading);
    QVERIFY(TestSupport::waitFor([&] { return model->state() == State::Picture; }));
    QCOMPARE(model->photo()->livery, QString("China Eastern"));
    const qint64 shown = model->image().cacheKey();
    // The first picture arrives later, into the service's cache, but never onto this view.
    QTest::qWait(900);
    QVERIFY(m_service->decodedCache().contains(airChina + "@2000"));
    QCOMPARE(model->photo()->livery, QString("China Eastern"));
    QCOMPARE(model->image().cacheKey(), shown);
    QCOMPARE(model->state(), State::Picture);
}

void AircraftPhotoTest::offScreenDropsThePicture()
{
    auto model = makeModel("Airbus A320", "Air China");
    model->setActive(true);
    QVERIFY(TestSupport::waitFor([&] { return model->state() == State::Picture; }));
    model->setActive(false);
    QVERIFY(model->image().isNull());
    QCOMPARE(model->state(), State::Loading);
    // Back on screen: the loader shows only until the memory cache answers, with no new download.
    model->setActive(true);
    QVERIFY(TestSupport::waitFor([&] { return model->state() == State::Picture; }));
    QCOMPARE(m_site->service->requestsTo(airChina).size(), 1);
}

// Regression: emptying the caches while a view loaded left its loader spinning for good.
void AircraftPhotoTest::clearCacheDuringLoadOffersRetry()
{
    Sample::Fault slow;
    slow.bodyDelayMs = 2000;
    m_site->service->setFault(airChina, slow);
    auto model = makeModel("Airbus A320", "Air China");
    model->setActive(true);
    QVERIFY(TestSupport::waitFor([&] { return m_site->service->requestsTo(airChina).size() == 1; }));
    m_service->clearCache();
    QVERIFY(TestSupport::waitFor([&] { return model->state() != State::Loading; }));
    QCOMPARE(model->state(), State::Failed);
}

void AircraftPhotoTest::modelGoneDuringLoad()
{
    Sample::Fault slow;
    slow.bodyDelayMs = 300;
    m_site->service->setFault(airChina, slow);
    auto model = makeModel("Airbus A320", "Air China");
    model->setActive(true);
    QVERIFY(TestSupport::waitFor([&] { return m_site->service->requestsTo(airChina).size() == 1; }));
    model.reset();
    // The shared load goes on and fills the cache for the next view.
    QVERIFY(TestSupport::waitFor([&] { return m_service->decodedCache().contains(airChina + "@2000"); }));
}

void AircraftPhotoTest::nothingLoadsBeforeTheViewIsComplete()
{
    AircraftPhotoModel model;
    model.setService(m_service.get());
    model.classBegin();
    model.setActive(true);
    model.setAircraft("Airbus A320");
    QTest::qWait(100);
    QVERIFY(m_site->service->requests().isEmpty());
    model.setLivery("Air China");
    model.componentComplete();
    QVERIFY(TestSupport::waitFor([&] { return model.state() == State::Picture; }));
    QCOMPARE(m_site->service->requestsTo(catalogPath).size(), 1);
}

void AircraftPhotoTest::sizesFollowTheNominalHeight_data()
{
    QTest::addColumn<qreal>("height");
    QTest::addColumn<qreal>("pictureMax");
    QTest::addColumn<qreal>("placeholder");
    QTest::addColumn<qreal>("loader");
    QTest::newRow("108 points") << 108.0 << 183.6 << 137.7 << 48.0;
    QTest::newRow("40 points") << 40.0 << 68.0 << 51.0 << 30.6;
}

void AircraftPhotoTest::sizesFollowTheNominalHeight()
{
    QFETCH(qreal, height);
    QFETCH(qreal, pictureMax);
    QFETCH(qreal, placeholder);
    QFETCH(qreal, loader);
    AircraftPhotoModel model;
    model.setNominalHeight(height);
    QCOMPARE(model.pictureMaxHeight(), pictureMax);
    QCOMPARE(model.placeholderHeight(), placeholder);
    QCOMPARE(model.loaderSize(), loader);
}

void AircraftPhotoTest::aspectRatio_data()
{
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<qreal>("aspect");
    QTest::newRow("wide") << QSizeF(400, 100) << 4.0;
    QTest::newRow("tall") << QSizeF(100, 200) << 0.5;
    QTest::newRow("under one point high") << QSizeF(5, 0.5) << 5.0;
    QTest::newRow("very tall: at least 0.1") << QSizeF(1, 20) << 0.1;
}

void AircraftPhotoTest::aspectRatio()
{
    QFETCH(QSizeF, picture);
    QFETCH(qreal, aspect);
    QCOMPARE(AircraftPhotoModel::aspectOf(picture), aspect);
}

void AircraftPhotoTest::cappedAspectLayout_data()
{
    QTest::addColumn<std::optional<qreal>>("width");
    QTest::addColumn<qreal>("aspect");
    QTest::addColumn<QSizeF>("expected");
    // Nominal height 100: the cap is 170.
    QTest::newRow("wide picture, full width") << std::optional<qreal>(400) << 4.0 << QSizeF(400, 100);
    QTest::newRow("tall picture, capped") << std::optional<qreal>(400) << 0.5 << QSizeF(400, 170);
    QTest::newRow("no width offered") << std::optional<qreal>() << 2.0 << QSizeF(340, 170);
}

void AircraftPhotoTest::cappedAspectLayout()
{
    QFETCH(std::optional<qreal>, width);
    QFETCH(qreal, aspect);
    QFETCH(QSizeF, expected);
    QCOMPARE(CappedAspectLayout::sizeFor(width, aspect, 170), expected);
}

void AircraftPhotoTest::layoutItemPlacesItsFirstChild()
{
    CappedAspectLayout layout;
    QQuickItem first(&layout);
    QQuickItem second(&layout);
    second.setSize({10, 10});
    layout.setAspect(0.5);
    layout.setMaxHeight(170);
    layout.setWidth(400);
    QCOMPARE(layout.implicitHeight(), 170.0);
    layout.setHeight(layout.implicitHeight());
    QCOMPARE(first.position(), QPointF(0, 0));
    QCOMPARE(first.size(), QSizeF(400, 170));
    QCOMPARE(second.size(), QSizeF(10, 10)); // further children are not placed
}

void AircraftPhotoTest::fittedPhotoIsCentred()
{
    // A 1:2 picture in the 400 x 170 frame: fitted to the height, centred across.
    QCOMPARE(FittedPhoto::fittedRect(QSizeF(100, 200), QRectF(0, 0, 400, 170)), QRectF(157.5, 0, 85, 170));
    QCOMPARE(FittedPhoto::fittedRect(QSizeF(400, 100), QRectF(0, 0, 400, 100)), QRectF(0, 0, 400, 100));
    QVERIFY(FittedPhoto::fittedRect(QSizeF(), QRectF(0, 0, 400, 100)).isEmpty());
}

QTEST_MAIN(AircraftPhotoTest)
#include "tst_aircraft_photo.moc"
