// The update check against the sample member service over real HTTPS: what a manifest must be, how builds
// compare, what a manual check tells that an automatic one keeps quiet, and how often checks run; and the
// prompt in a window, from the keyboard.
#include "ClientTestSupport.h"
#include "UpdateCheck.h"
#include "UpdatePromptModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

#include <memory>

Q_IMPORT_QML_PLUGIN(Vorna_UiPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_UpdatesPlugin)

using namespace TestSupport;

namespace {

const QString manifestPath = QStringLiteral("/downloads/linux/latest.json");
const QString failed = QStringLiteral("暂时无法检查更新，请稍后再试。");
const QDateTime start = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);

QByteArray manifest(qint64 build, const QString &url = QStringLiteral("https://vornalia.org/downloads/v.deb"))
{
    return QStringLiteral(R"({"version":"2.4.0","build":%1,"url":"%2"})").arg(build).arg(url).toUtf8();
}

// The desktop's opener, for the length of a test: an "xdg-open" first on the PATH that notes each address
// it is given and ends with the given status (3: no browser found), or none at all. No browser starts.
class DesktopOpener
{
public:
    enum Kind { Opens, FindsNoBrowser, Missing };

    explicit DesktopOpener(Kind kind)
        : m_path(qgetenv("PATH"))
        , m_browser(qgetenv("BROWSER"))
    {
        qunsetenv("BROWSER");
        if (kind != Missing) {
            QFile script(m_folder.filePath("xdg-open"));
            script.open(QIODevice::WriteOnly);
            script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\nexit %2\n")
                             .arg(m_folder.filePath("opened"))
                             .arg(kind == Opens ? 0 : 3)
                             .toUtf8());
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", m_folder.path().toUtf8());
    }
    ~DesktopOpener()
    {
        qputenv("PATH", m_path);
        if (!m_browser.isNull())
            qputenv("BROWSER", m_browser);
    }

    QList<QUrl> opened() const
    {
        QFile file(m_folder.filePath("opened"));
        QList<QUrl> urls;
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : file.readAll().split('\n')) {
                if (!line.isEmpty())
                    urls.append(QUrl(QString::fromUtf8(line)));
            }
        }
        return urls;
    }

private:
    QTemporaryDir m_folder;
    QByteArray m_path;
    QByteArray m_browser;
};

QString focusedText(QQuickWindow *window)
{
    return window->activeFocusItem() ? window->activeFocusItem()->property("text").toString() : QString();
}

} // namespace

class UpdatesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void manifestIsValidated_data();
    void manifestIsValidated();
    void trustedAddresses_data();
    void trustedAddresses();
    void buildNumbers_data();
    void buildNumbers();
    void manualAndAutomaticOutcomes_data();
    void manualAndAutomaticOutcomes();
    void manifestSizeLimit_data();
    void manifestSizeLimit();
    void checkIsPlainRequest();
    void activationChecksAtMostEvery21600Seconds();
    void failedCheckAlsoPostponesTheNext();
    void checkStartedWhileOneRunsDoesNothing();
    void offerMessage_data();
    void offerMessage();
    void downloadOpensTheReleaseAndDismisses();
    void downloadWithoutABrowserOffersTheAddress_data();
    void downloadWithoutABrowserOffersTheAddress();
    void promptFromTheKeyboard();

private:
    std::unique_ptr<UpdateCheck> updater(const QString &build = QStringLiteral("7"),
                                         const QString &version = QStringLiteral("2.3.0"));
    void serve(const QByteArray &body, Sample::Headers headers = {});
    void run(UpdateCheck &updater, bool manual);
    int manifestRequests() const { return int(m_site->service->requestsTo(manifestPath).size()); }

    std::unique_ptr<Site> m_site;
    QDateTime m_now;
};

void UpdatesTest::initTestCase()
{
    qputenv("LANGUAGE", "zh_CN");
    QQuickStyle::setStyle(QStringLiteral("Basic"));
}

void UpdatesTest::init()
{
    m_site = std::make_unique<Site>();
    QVERIFY(m_site->started);
    m_now = start;
}

std::unique_ptr<UpdateCheck> UpdatesTest::updater(const QString &build, const QString &version)
{
    return std::make_unique<UpdateCheck>(
        UpdateCheck::Options{.manifest = UpdateCheck::manifestAddress(m_site->service->origin()),
                             .trustedCertificates = {Sample::Service::certificate()},
                             .build = build,
                             .version = version,
                             .clock = [this] { return m_now; }});
}

void UpdatesTest::serve(const QByteArray &body, Sample::Headers headers)
{
    m_site->service->route("GET", manifestPath, [body, headers](Sample::Service &, const Sample::Request &) {
        Sample::Reply reply = Sample::Reply::bytes(body, "application/json");
        reply.headers = headers;
        return reply;
    });
}

void UpdatesTest::run(UpdateCheck &updater, bool manual) { await(updater.check(manual)); }

void UpdatesTest::manifestIsValidated_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("valid");

    const QByteArray full = R"({"version":"2.4.0","build":8,"url":"https://vornalia.org/d/v.deb",)"
                            R"("notes":"修复","minimumSystemVersion":"Debian 12","extra":[1]})";
    QTest::newRow("every field, and one more") << full << true;
    QTest::newRow("without the optional fields")
        << QByteArray(R"({"version":"2.4.0","build":8,"url":"https://vornalia.org/d"})") << true;
    QTest::newRow("optional fields null")
        << QByteArray(R"({"version":"2.4.0","build":8,"url":"https://vornalia.org/d","notes":null,)"
                      R"("minimumSystemVersion":null})")
        << true;
    QTest::newRow("build as text") << QByteArray(
        R"({"version":"2.4.0","build":"8","url":"https://vornalia.org/d"})")
                                   << false;
    QTest::newRow("build not whole") << QByteArray(
        R"({"version":"2.4.0","build":8.5,"url":"https://vornalia.org/d"})")
                                     << false;
    QTest::newRow("no url") << QByteArray(R"({"version":"2.4.0","build":8})") << false;
    QTest::newRow("no version") << QByteArray(R"({"build":8,"url":"https://vornalia.org/d"})") << false;
    QTest::newRow("version a number")
        << QByteArray(R"({"version":2.4,"build":8,"url":"https://vornalia.org/d"})") << false;
    QTest::newRow("notes a list") << QByteArray(
        R"({"version":"2.4.0","build":8,"url":"https://vornalia.org/d",)"
        R"("notes":["a"]})") << false;
    QTest::newRow("snake case is another key") << QByteArray(
        R"({"version":"2.4.0","build":8,"url":"https://vornalia.org/d","minimum_system_version":1})")
                                               << true;
    QTest::newRow("a list") << QByteArray("[]") << false;
    QTest::newRow("null") << QByteArray("null") << false;
    QTest::newRow("not JSON") << QByteArray("<html>oops</html>") << false;
    QTest::newRow("plain http address") << manifest(8, "http://vornalia.org/d") << false;
    QTest::newRow("foreign host") << manifest(8, "https://vornalia.org.example.net/d") << false;
}

void UpdatesTest::manifestIsValidated()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, valid);
    serve(body);
    const auto checker = updater();
    run(*checker, true);

    QCOMPARE(checker->available().has_value(), valid);
    QCOMPARE(checker->notice(), valid ? std::nullopt : std::optional(failed));
    if (QByteArray(QTest::currentDataTag()) == "every field, and one more")
        QCOMPARE(*checker->available(), (ReleaseManifest{"2.4.0", 8, "https://vornalia.org/d/v.deb",
                                                         QString("修复"), QString("Debian 12")}));
}

void UpdatesTest::trustedAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("trusted");

    QTest::newRow("member site") << "https://vornalia.org/downloads/v.deb" << true;
    QTest::newRow("www, any port and path") << "https://www.vornalia.org:8443/a/b?c=d" << true;
    QTest::newRow("second host") << "https://live.vornalia.org/v.deb" << true;
    QTest::newRow("host in capitals") << "https://VORNALIA.ORG/v.deb" << true;
    QTest::newRow("scheme in capitals") << "HTTPS://vornalia.org/v.deb" << false;
    QTest::newRow("http") << "http://vornalia.org/v.deb" << false;
    QTest::newRow("user name") << "https://admin@vornalia.org/v.deb" << false;
    QTest::newRow("password only") << "https://:secret@vornalia.org/v.deb" << false;
    // Regression: an empty user part was dropped by the parser and the address passed.
    QTest::newRow("empty user part") << "https://@vornalia.org/v.deb" << false;
    QTest::newRow("empty user and password") << "https://:@vornalia.org/v.deb" << false;
    QTest::newRow("an at sign after the path is no user part") << "https://vornalia.org/a@b.deb" << true;
    QTest::newRow("other host") << "https://example.com/v.deb" << false;
    QTest::newRow("a sub-domain of ours") << "https://downloads.vornalia.org/v.deb" << false;
    QTest::newRow("ours as a prefix") << "https://vornalia.org.example.com/v.deb" << false;
    QTest::newRow("no host") << "https:///v.deb" << false;
    QTest::newRow("not an address") << "https://vornalia.org:port/" << false;
    QTest::newRow("empty") << "" << false;
}

void UpdatesTest::trustedAddresses()
{
    QFETCH(QString, address);
    QFETCH(bool, trusted);
    QCOMPARE(UpdateCheck::isTrusted(address), trusted);
}

void UpdatesTest::buildNumbers_data()
{
    QTest::addColumn<QString>("ours");
    QTest::addColumn<qint64>("release");
    QTest::addColumn<bool>("newer");

    QTest::newRow("one more") << "41" << qint64(42) << true;
    QTest::newRow("equal") << "42" << qint64(42) << false;
    QTest::newRow("older") << "43" << qint64(42) << false;
    QTest::newRow("plus sign") << "+41" << qint64(42) << true;
    QTest::newRow("negative, release 0") << "-5" << qint64(0) << true;
    QTest::newRow("dotted counts as 0") << "1.2" << qint64(1) << true;
    QTest::newRow("dotted, release 0") << "1.2" << qint64(0) << false;
    QTest::newRow("none counts as 0") << "" << qint64(1) << true;
    QTest::newRow("space counts as 0") << " 9" << qint64(1) << true;
    QTest::newRow("largest") << "9223372036854775807" << qint64(9223372036854775807) << false;
    QTest::newRow("beyond 64 bits counts as 0") << "9223372036854775808" << qint64(1) << true;
    QTest::newRow("compared as signed") << "-1" << qint64(-2) << false;
}

void UpdatesTest::buildNumbers()
{
    QFETCH(QString, ours);
    QFETCH(qint64, release);
    QFETCH(bool, newer);
    serve(manifest(release));
    const auto checker = updater(ours);
    run(*checker, false);
    QCOMPARE(checker->available().has_value(), newer);
}

void UpdatesTest::manualAndAutomaticOutcomes_data()
{
    QTest::addColumn<bool>("manual");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("status"); // of the manifest; 0 for no answer at all
    QTest::addColumn<qint64>("build");
    QTest::addColumn<bool>("offered");
    QTest::addColumn<QString>("notice");

    QTest::newRow("manual, newer") << true << "2.3.0" << 200 << qint64(8) << true << QString();
    QTest::newRow("automatic, newer") << false << "2.3.0" << 200 << qint64(8) << true << QString();
    QTest::newRow("manual, same build")
        << true << "2.3.0" << 200 << qint64(7) << false << "已是最新版本（2.3.0）。";
    QTest::newRow("manual, same build, no version")
        << true << "" << 200 << qint64(7) << false << "已是最新版本（—）。";
    QTest::newRow("automatic, same build") << false << "2.3.0" << 200 << qint64(7) << false << QString();
    QTest::newRow("manual, status 503") << true << "2.3.0" << 503 << qint64(8) << false << failed;
    QTest::newRow("automatic, status 503") << false << "2.3.0" << 503 << qint64(8) << false << QString();
    QTest::newRow("manual, no service") << true << "2.3.0" << 0 << qint64(8) << false << failed;
    QTest::newRow("automatic, no service") << false << "2.3.0" << 0 << qint64(8) << false << QString();
}

void UpdatesTest::manualAndAutomaticOutcomes()
{
    QFETCH(bool, manual);
    QFETCH(QString, version);
    QFETCH(int, status);
    QFETCH(qint64, build);
    QFETCH(bool, offered);
    QFETCH(QString, notice);

    serve(manifest(build));
    if (status != 200 && status != 0)
        m_site->service->setFault(manifestPath, {.status = status});
    const auto checker = updater(QStringLiteral("7"), version);
    if (status == 0)
        m_site.reset(); // nothing listens any more
    run(*checker, manual);

    QCOMPARE(checker->available().has_value(), offered);
    QCOMPARE(checker->notice(), notice.isNull() ? std::nullopt : std::optional(notice));
    QVERIFY(!checker->checking());
}

void UpdatesTest::manifestSizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("undeclared");
    QTest::addColumn<bool>("read");

    QTest::newRow("65535 bytes") << qint64(65535) << false << true;
    QTest::newRow("65536 bytes") << qint64(65536) << false << false;
    QTest::newRow("65536 bytes, length undeclared") << qint64(65536) << true << false;
}

void UpdatesTest::manifestSizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, undeclared);
    QFETCH(bool, read);

    QByteArray body = manifest(8);
    body.insert(body.size() - 1, QByteArray(size - body.size(), ' '));
    serve(body);
    if (undeclared)
        m_site->service->setFault(manifestPath, {.undeclaredLength = true});
    const auto checker = updater();
    run(*checker, true);
    QCOMPARE(checker->available().has_value(), read);
    QCOMPARE(checker->notice().has_value(), !read);
}

void UpdatesTest::checkIsPlainRequest()
{
    // The cookie a manifest answer sets must not come back with the next check.
    serve(manifest(8), {{"Set-Cookie", "vornalia_session=leak; Path=/; Secure"}});
    const auto checker = updater();
    run(*checker, true);
    run(*checker, true);

    const QList<Sample::Request> requests = m_site->service->requestsTo(manifestPath);
    QCOMPARE(requests.size(), 2);
    for (const Sample::Request &request : requests) {
        QCOMPARE(request.method, QByteArray("GET"));
        QVERIFY(request.cookies.isEmpty());
        QVERIFY(request.header("Cookie").isEmpty());
        QVERIFY(request.header("Origin").isEmpty());
        QVERIFY(request.header("Authorization").isEmpty());
    }
}

void UpdatesTest::activationChecksAtMostEvery21600Seconds()
{
    serve(manifest(7));
    const auto checker = updater();
    UpdatePromptModel prompt;
    prompt.setPhase(Qt::ApplicationActive);
    prompt.setUpdater(checker.get());
    const auto settle = [&] { QTRY_VERIFY(!checker->checking()); };

    // Neither the state the prompt was made in nor a change to inactive checks.
    prompt.setPhase(Qt::ApplicationInactive);
    settle();
    QCOMPARE(manifestRequests(), 0);

    prompt.appear(); // the launch check
    settle();
    QCOMPARE(manifestRequests(), 1);

    m_now = start.addSecs(21599);
    prompt.setPhase(Qt::ApplicationActive);
    settle();
    QCOMPARE(manifestRequests(), 1);

    m_now = start.addSecs(21600);
    prompt.setPhase(Qt::ApplicationInactive);
    prompt.setPhase(Qt::ApplicationActive);
    settle();
    QCOMPARE(manifestRequests(), 2);

    // The menu's check is not limited, and it counts as the last check.
    m_now = start.addSecs(21601);
    run(*checker, true);
    QCOMPARE(manifestRequests(), 3);
    m_now = start.addSecs(21601 + 21599);
    run(*checker, false);
    QCOMPARE(manifestRequests(), 3);

    // A clock set back is too soon as well.
    m_now = start.addSecs(-1);
    run(*checker, false);
    QCOMPARE(manifestRequests(), 3);
    QCOMPARE(checker->notice(), std::optional<QString>("已是最新版本（2.3.0）。"));
}

void UpdatesTest::failedCheckAlsoPostponesTheNext()
{
    m_site->service->setFault(manifestPath, {.status = 500, .times = 1});
    serve(manifest(8));
    const auto checker = updater();
    run(*checker, false);
    QCOMPARE(manifestRequests(), 1);
    QVERIFY(!checker->available());

    m_now = start.addSecs(100);
    run(*checker, false);
    QCOMPARE(manifestRequests(), 1);
    m_now = start.addSecs(21600);
    run(*checker, false);
    QCOMPARE(manifestRequests(), 2);
    QVERIFY(checker->available());
}

void UpdatesTest::checkStartedWhileOneRunsDoesNothing()
{
    serve(manifest(7));
    m_site->service->setFault(manifestPath, {.held = true});
    const auto checker = updater();
    checker->startCheck(false);
    QTRY_COMPARE(manifestRequests(), 1);
    QVERIFY(checker->checking());

    // The menu's check while the automatic one runs: no request, and when the running one finds nothing
    // newer, nothing is shown at all.
    run(*checker, true);
    m_site->service->release();
    QTRY_VERIFY(!checker->checking());
    QCOMPARE(manifestRequests(), 1);
    QVERIFY(!checker->notice());
    QVERIFY(!checker->available());
}

void UpdatesTest::offerMessage_data()
{
    QTest::addColumn<std::optional<QString>>("notes");
    QTest::addColumn<QString>("message");

    const QString advice = QStringLiteral("下载后用系统的软件包管理器安装新的软件包，它会替换旧版本。");
    QTest::newRow("no notes") << std::optional<QString>()
                              << "VORNA 2.4.0 已发布，你现在使用的是 2.3.0。\n\n" + advice;
    QTest::newRow("empty notes") << std::optional<QString>("")
                                 << "VORNA 2.4.0 已发布，你现在使用的是 2.3.0。\n\n" + advice;
    QTest::newRow("notes kept as received")
        << std::optional<QString>("  · 更快\n· 更稳 \n")
        << "VORNA 2.4.0 已发布，你现在使用的是 2.3.0。\n\n  · 更快\n· 更稳 \n\n\n" + advice;
}

void UpdatesTest::offerMessage()
{
    QFETCH(std::optional<QString>, notes);
    QFETCH(QString, message);
    ReleaseManifest release{"2.4.0", 8, "https://vornalia.org/d", notes, std::nullopt};
    QCOMPARE(UpdatePromptModel::message(release, QStringLiteral("2.3.0")), message);
}

void UpdatesTest::downloadOpensTheReleaseAndDismisses()
{
    const DesktopOpener browser(DesktopOpener::Opens);
    serve(manifest(8, QStringLiteral("https://www.vornalia.org/downloads/linux/vornalia-2.4.0.deb")));
    const auto checker = updater();
    UpdatePromptModel prompt;
    prompt.setUpdater(checker.get());

    run(*checker, false);
    QVERIFY(prompt.offering());
    prompt.download();
    QVERIFY(!prompt.offering());
    QTRY_COMPARE(browser.opened(),
                 QList<QUrl>{QUrl("https://www.vornalia.org/downloads/linux/vornalia-2.4.0.deb")});
    QVERIFY(!checker->available());

    // Nothing is remembered: "稍后" clears the offer, and the next allowed check offers it again.
    m_now = start.addSecs(21600);
    run(*checker, false);
    QVERIFY(prompt.offering());
    prompt.dismissRelease();
    QVERIFY(!prompt.offering());
    run(*checker, true);
    QVERIFY(prompt.offering());
    QCOMPARE(browser.opened().size(), 1);
    QVERIFY(prompt.unopenedAddress().isEmpty());
}

void UpdatesTest::downloadWithoutABrowserOffersTheAddress_data()
{
    QTest::addColumn<int>("opener");
    QTest::newRow("the desktop's opener finds no browser") << int(DesktopOpener::FindsNoBrowser);
    QTest::newRow("no opener and no browser") << int(DesktopOpener::Missing);
}

void UpdatesTest::downloadWithoutABrowserOffersTheAddress()
{
    // Regression: "下载" with no browser to open the link closed the prompt and nothing happened.
    QFETCH(int, opener);
    const DesktopOpener desktop{DesktopOpener::Kind(opener)};
    const QString address = QStringLiteral("https://www.vornalia.org/downloads/linux/vornalia-2.4.0.deb");
    serve(manifest(8, address));
    const auto checker = updater();
    UpdatePromptModel prompt;
    prompt.setUpdater(checker.get());
    run(*checker, false);
    prompt.download();
    QVERIFY(!prompt.offering());
    QTRY_COMPARE(prompt.unopenedAddress(), address);
    QCOMPARE(prompt.unopenedMessage(),
             "没有可以打开这个地址的浏览器。请复制地址，在浏览器中打开：\n\n" + address);
    prompt.copyAddress();
    QCOMPARE(QGuiApplication::clipboard()->text(), address);
    prompt.dismissUnopened();
    QVERIFY(prompt.unopenedAddress().isEmpty());
    QVERIFY(prompt.unopenedMessage().isEmpty());
}

void UpdatesTest::promptFromTheKeyboard()
{
    qint64 build = 8;
    m_site->service->route("GET", manifestPath, [&build](Sample::Service &, const Sample::Request &) {
        return Sample::Reply::json(QJsonObject{{"version", "2.4.0"},
                                               {"build", build},
                                               {"url", "https://vornalia.org/downloads/linux/vornalia.deb"}});
    });
    const auto checker = updater();
    UpdateCheck &updater = *checker;
    const DesktopOpener browser(DesktopOpener::Opens);

    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQuick
        import QtQuick.Controls
        import Vorna.Updates
        ApplicationWindow {
            id: root
            required property UpdateCheck updater
            width: 760
            height: 540
            visible: true
            UpdatePrompt {
                anchors.fill: parent
                updater: root.updater
            }
        })",
                      QUrl());
    std::unique_ptr<QObject> created(
        component.createWithInitialProperties({{"updater", QVariant::fromValue(&updater)}}));
    QVERIFY2(created, qPrintable(component.errorString()));
    auto *window = qobject_cast<QQuickWindow *>(created.get());
    QVERIFY(QTest::qWaitForWindowExposed(window, TestSupport::patience));
    window->requestActivate();

    // The launch check offers the release, "下载" first; Tab moves on to "稍后", whose Return dismisses.
    QTRY_COMPARE(focusedText(window), QString("下载"));
    QTest::keyClick(window, Qt::Key_Tab);
    QCOMPARE(focusedText(window), QString("稍后"));
    QTest::keyClick(window, Qt::Key_Return);
    QTRY_VERIFY(!updater.available());
    QVERIFY(browser.opened().isEmpty());

    // The menu's check offers it again; Return on "下载" opens it in the browser.
    await(updater.check(true));
    QTRY_COMPARE(focusedText(window), QString("下载"));
    QTest::keyClick(window, Qt::Key_Return);
    QTRY_VERIFY(!updater.available());
    QTRY_COMPARE(browser.opened(), QList<QUrl>{QUrl("https://vornalia.org/downloads/linux/vornalia.deb")});

    // Nothing newer: the notice's "好" has the focus, Escape dismisses the offer and the notice alike.
    build = 7;
    await(updater.check(true));
    QTRY_COMPARE(focusedText(window), QString("好"));
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(!updater.notice());
    build = 8;
    await(updater.check(true));
    QTRY_COMPARE(focusedText(window), QString("下载"));
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(!updater.available());
    QCOMPARE(browser.opened().size(), 1);
}

QTEST_MAIN(UpdatesTest)
#include "tst_updates.moc"
