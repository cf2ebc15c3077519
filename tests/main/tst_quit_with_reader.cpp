// Quitting while a screen reader listens on the desktop's accessibility bus: the window as main/ composes it,
// torn down as main() tears it down, after a reader has read what the window shows.
#include "AppComposition.h"
#include "AppState.h"
#include "Await.h"
#include "SampleService.h"
#include "SceneTestSupport.h"
#include "ShellTestSite.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class QuitWithReaderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void windowGoesWhileAReaderListens_data();
    void windowGoesWhileAReaderListens();

private:
    std::unique_ptr<Sample::Service> m_service;
    QTemporaryDir m_scratch;
    // The reader's own connection to the accessibility bus: its events are asked for as long as it stays.
    std::unique_ptr<QDBusConnection> m_reader;
};

namespace {

// Reads every item of the tree as a reader walking the window does: its name, role and state.
int read(QAccessibleInterface *interface, int depth = 0)
{
    if (!interface || depth > 64)
        return 0;
    interface->text(QAccessible::Name);
    interface->role();
    interface->state();
    int count = 1;
    for (int index = 0; index < interface->childCount(); ++index)
        count += read(interface->child(index), depth + 1);
    return count;
}

} // namespace

void QuitWithReaderTest::initTestCase()
{
    m_service = std::make_unique<Sample::Service>();
    m_service->publishRelease(Sample::Service::Release::Current);
    QVERIFY(m_service->start());
    QVERIFY(m_scratch.isValid());
    QVERIFY(m_service->standIn(m_scratch.path(), {QStringLiteral("MEMBER")}));

    // The desktop's accessibility bus, as a desktop session runs it; Qt's bridge joins it once it is there.
    QDBusConnection::sessionBus().interface()->startService(QStringLiteral("org.a11y.Bus"));
    QTRY_VERIFY(QAccessible::isActive());
    // A reader asks the bus's registry for what it would hear, as Orca does: the bridge then sends those.
    QDBusInterface bus(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                       QStringLiteral("org.a11y.Bus"));
    const QDBusReply<QString> address = bus.call(QStringLiteral("GetAddress"));
    QVERIFY2(address.isValid(), qPrintable(address.error().message()));
    m_reader = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(address.value(), QStringLiteral("reader")));
    QVERIFY(m_reader->isConnected());
    QDBusInterface registry(QStringLiteral("org.a11y.atspi.Registry"),
                            QStringLiteral("/org/a11y/atspi/registry"),
                            QStringLiteral("org.a11y.atspi.Registry"), *m_reader);
    for (const char *event :
         {"object:state-changed:focused", "object:state-changed:showing", "object:announcement",
          "window:activate", "object:property-change:accessible-name"}) {
        const QDBusMessage answer = registry.call(QStringLiteral("RegisterEvent"), QString::fromLatin1(event),
                                                  QStringList(), QString());
        QVERIFY2(answer.type() == QDBusMessage::ReplyMessage, qPrintable(answer.errorMessage()));
    }
    QQuickStyle::setStyle(QStringLiteral("Basic"));
}

void QuitWithReaderTest::cleanupTestCase()
{
    m_reader.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("reader"));
}

void QuitWithReaderTest::windowGoesWhileAReaderListens_data()
{
    QTest::addColumn<QString>("member");
    QTest::newRow("the sign-in form") << QString();
    QTest::newRow("signed in") << QStringLiteral("lichen");
}

// Regression: with a reader listening, every quit ended in SIGSEGV as the engine let the window go.
void QuitWithReaderTest::windowGoesWhileAReaderListens()
{
    QFETCH(QString, member);
    // As main() makes them, in its order; they go in the reverse one.
    auto objects = std::make_unique<AppComposition::ProcessObjects>();
    auto engine = std::make_unique<QQmlApplicationEngine>();
    AppComposition::prepareEngine(*engine);
    engine->load(AppComposition::mainWindow());
    QCOMPARE(engine->rootObjects().size(), 1);
    auto *window = qobject_cast<QQuickWindow *>(engine->rootObjects().constFirst());
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window, TestSupport::patience));
    if (!member.isEmpty()) {
        AppState *app = window->findChild<AppState *>();
        QVERIFY(app);
        QTRY_VERIFY(!app->property("checking").toBool());
        QVERIFY(TestSupport::signInThrough(app, member, QStringLiteral("fly-vornalia")));
    }
    QTRY_VERIFY(
        TestSupport::shown(window->contentItem(), member.isEmpty() ? "login.submit" : "shell.sidebar"));
    // The intro has gone.
    QTRY_VERIFY(!TestSupport::shown(window->contentItem(), "brand.intro"));
    // A reader walks the window's tree: a page that is still being made, on a busy machine, holds fewer
    // items.
    QTRY_VERIFY(read(QAccessible::queryAccessibleInterface(window)) > 20);

    engine.reset();
    objects.reset();
}

QTEST_MAIN(QuitWithReaderTest)
#include "tst_quit_with_reader.moc"
