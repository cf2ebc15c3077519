// Which renderer draws the window: the graphics device's when there is one, the software renderer when
// OpenGL would only be emulated, and whatever the environment names over both. Which file chooser picks
// files: the desktop's portal where it answers, unless the member named a platform theme himself.
#include "AppComposition.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <future>

using AppComposition::Renderer;

class RendererChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void followsTheGraphicsDevice();
    void environmentDecides_data();
    void environmentDecides();
    void fileChooserChoice_data();
    void fileChooserChoice();
    void portalIsAsked();
};

namespace {

// A device folder holding these nodes.
QString devices(QTemporaryDir &folder, const QStringList &nodes)
{
    for (const QString &node : nodes) {
        QFile file(folder.filePath(node));
        if (!file.open(QIODevice::WriteOnly))
            return {};
    }
    return folder.path();
}

// A FileChooser portal on the session bus, under a name of its own so no other program takes it for the
// desktop's.
class FakeFileChooser : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")
    Q_PROPERTY(uint version READ version)

public:
    FakeFileChooser()
        : m_bus(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-file-chooser")))
        , m_service(QStringLiteral("org.vornalia.tst_renderer_choice.portal%1")
                        .arg(QCoreApplication::applicationPid()))
    {
    }
    ~FakeFileChooser() override
    {
        m_bus.unregisterService(m_service);
        m_bus.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-file-chooser"));
    }
    bool start()
    {
        return m_bus.isConnected()
               && m_bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                                       QDBusConnection::ExportAllProperties)
               && m_bus.registerService(m_service);
    }
    uint version() const { return 3; }
    QString service() const { return m_service; }

private:
    QDBusConnection m_bus;
    QString m_service;
};

// The portal's answer, asked on a thread of its own: the question blocks, and the fake answers on this one.
std::optional<uint> ask(const QProcessEnvironment &environment, const QString &service)
{
    std::future<std::optional<uint>> answer = std::async(std::launch::async, [&] {
        return AppComposition::fileChooserPortalVersion(environment, service, 5000);
    });
    // The question ends by itself within its time limit.
    [[maybe_unused]] const bool answered = TestSupport::waitFor(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    return answer.get();
}

} // namespace

void RendererChoiceTest::followsTheGraphicsDevice()
{
    const QProcessEnvironment none;
    QTemporaryDir empty;
    QCOMPARE(AppComposition::chooseRenderer(none, devices(empty, {})), Renderer::Software);
    // A computer without the folder at all (a container, a virtual machine with no display device).
    QCOMPARE(AppComposition::chooseRenderer(none, empty.filePath(QStringLiteral("dri"))), Renderer::Software);
    // A display device that renders nothing (a virtual machine's frame buffer): OpenGL would be emulated.
    QTemporaryDir card;
    QCOMPARE(AppComposition::chooseRenderer(none, devices(card, {QStringLiteral("card0")})),
             Renderer::Software);
    QTemporaryDir render;
    QCOMPARE(AppComposition::chooseRenderer(
                 none, devices(render, {QStringLiteral("by-path"), QStringLiteral("card1"),
                                        QStringLiteral("renderD128")})),
             Renderer::Accelerated);
    QTemporaryDir other;
    QCOMPARE(AppComposition::chooseRenderer(none, devices(other, {QStringLiteral("by-path")})),
             Renderer::Software);
}

void RendererChoiceTest::environmentDecides_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("device");
    QTest::addColumn<Renderer>("expected");
    QTest::newRow("software named, device there")
        << QStringLiteral("QT_QUICK_BACKEND") << QStringLiteral("software") << true << Renderer::Software;
    QTest::newRow("another backend named, no device")
        << QStringLiteral("QT_QUICK_BACKEND") << QStringLiteral("rhi") << false << Renderer::Accelerated;
    QTest::newRow("OpenGL named, no device")
        << QStringLiteral("QSG_RHI_BACKEND") << QStringLiteral("opengl") << false << Renderer::Accelerated;
    QTest::newRow("OpenGL in software, device there")
        << QStringLiteral("LIBGL_ALWAYS_SOFTWARE") << QStringLiteral("1") << true << Renderer::Software;
    QTest::newRow("OpenGL in software switched off")
        << QStringLiteral("LIBGL_ALWAYS_SOFTWARE") << QStringLiteral("false") << true
        << Renderer::Accelerated;
    QTest::newRow("an empty name is no choice")
        << QStringLiteral("QT_QUICK_BACKEND") << QString() << false << Renderer::Software;
}

void RendererChoiceTest::environmentDecides()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, device);
    QFETCH(Renderer, expected);
    QProcessEnvironment environment;
    environment.insert(name, value);
    QTemporaryDir folder;
    const QString nodes = devices(folder, device ? QStringList{QStringLiteral("renderD128")} : QStringList{});
    QCOMPARE(AppComposition::chooseRenderer(environment, nodes), expected);
}

void RendererChoiceTest::fileChooserChoice_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("portal"); // the FileChooser's version, -1 for no answer
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<bool>("asked");
    QTest::newRow("portal answers") << QStringList() << QStringList() << 3 << true << true;
    QTest::newRow("an older portal answers") << QStringList() << QStringList() << 1 << true << true;
    QTest::newRow("no portal") << QStringList() << QStringList() << -1 << false << true;
    QTest::newRow("a portal without a version") << QStringList() << QStringList() << 0 << false << true;
    QTest::newRow("the member's theme")
        << QStringList{"QT_QPA_PLATFORMTHEME=gtk3"} << QStringList() << 3 << false << false;
    QTest::newRow("the member's theme is the portal's")
        << QStringList{"QT_QPA_PLATFORMTHEME=xdgdesktopportal"} << QStringList() << 3 << false << false;
    QTest::newRow("an empty theme is no choice")
        << QStringList{"QT_QPA_PLATFORMTHEME="} << QStringList() << 3 << true << true;
    QTest::newRow("a theme on the command line")
        << QStringList() << QStringList{"-platformtheme", "kde"} << 3 << false << false;
    QTest::newRow("a link on the command line")
        << QStringList() << QStringList{"vorna://live-map/own-flight"} << 3 << true << true;
}

void RendererChoiceTest::fileChooserChoice()
{
    QFETCH(QStringList, environment);
    QFETCH(QStringList, arguments);
    QFETCH(int, portal);
    QFETCH(bool, chosen);
    QFETCH(bool, asked);
    QProcessEnvironment variables;
    for (const QString &entry : environment)
        variables.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    bool wasAsked = false;
    const auto version = [&]() -> std::optional<uint> {
        wasAsked = true;
        return portal < 0 ? std::nullopt : std::optional<uint>(uint(portal));
    };
    QCOMPARE(AppComposition::choosePortal(variables, arguments, version), chosen);
    QCOMPARE(wasAsked, asked);
}

// The question goes to the session bus the environment names, and only there.
void RendererChoiceTest::portalIsAsked()
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no session bus (scripts/test runs the tests on one of their own)");
    FakeFileChooser portal;
    QVERIFY(portal.start());
    QCOMPARE(ask(environment, portal.service()), std::optional<uint>(3));
    // Nobody under that name: no answer, and no wait for one.
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ask(environment, portal.service() + QStringLiteral(".nobody")), std::nullopt);
    QVERIFY(clock.elapsed() < 4000);
    // No session bus named, none at the runtime folder: nothing is asked (no bus is started for it).
    QProcessEnvironment busless;
    QTemporaryDir runtime;
    busless.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    clock.restart();
    QCOMPARE(ask(busless, portal.service()), std::nullopt);
    QVERIFY(clock.elapsed() < 1000);
}

QTEST_GUILESS_MAIN(RendererChoiceTest)
#include "tst_renderer_choice.moc"
