// The desktop's light and dark switch as a GNOME desktop makes it: the real freedesktop portal with its GTK
// backend, on a session bus of the test's own (tests/support/desktop-portal-session), and the desktop's
// colour scheme switched with gsettings while the app runs. And what a pick of pictures asks that portal.
#include "DesktopSettings.h"
#include "FileChooser.h"
#include "PortalFilePick.h"
#include "Theme.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

using Scheme = DesktopSettings::Scheme;

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");

// What gsettings prints, or why it failed.
QString gsettings(const QStringList &arguments)
{
    QProcess program;
    program.start(QStringLiteral("gsettings"), arguments);
    if (!program.waitForFinished(30000) || program.exitCode() != 0)
        return QStringLiteral("gsettings failed: ") + QString::fromLocal8Bit(program.readAllStandardError());
    return QString::fromUtf8(program.readAllStandardOutput()).trimmed();
}

// The desktop's colour scheme, switched as the member switches it in GNOME's settings: written to dconf over
// the bus, which the GTK backend watches and the portal announces. Nothing on success.
QString switchDesktop(const QString &scheme)
{
    return gsettings({QStringLiteral("set"), QStringLiteral("org.gnome.desktop.interface"),
                      QStringLiteral("color-scheme"), scheme});
}

// The calls of one method as dbus-monitor prints them, each from its header line to the next message's.
QStringList callsTo(const QString &monitored, const QString &interface, const QString &method)
{
    QStringList calls;
    const QString header = QStringLiteral("interface=%1; member=%2").arg(interface, method);
    for (const QString &message : monitored.split(QStringLiteral("\nmethod call "))) {
        if (message.contains(header))
            calls.append(message.section(QStringLiteral("\nsignal "), 0, 0));
    }
    return calls;
}

// The folder a call's options name, as dbus-monitor prints bytes ending in NUL; none without one.
std::optional<QString> currentFolder(const QString &call)
{
    static const QRegularExpression option(
        QStringLiteral("string \"current_folder\"\\s*variant\\s+array of bytes \"([^\"]*)\" \\+ \\\\0"));
    const QRegularExpressionMatch match = option.match(call);
    return match.hasMatch() ? std::optional<QString>(match.captured(1)) : std::nullopt;
}

} // namespace

class DesktopPortalTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void runningAppFollowsTheSwitch_data();
    void runningAppFollowsTheSwitch();
    void pickAsksForThePicturesFolder();

private:
    QString m_startScheme;
};

void DesktopPortalTest::initTestCase()
{
    for (const char *program :
         {"/usr/libexec/xdg-desktop-portal", "/usr/libexec/xdg-desktop-portal-gtk", "/usr/bin/gsettings"}) {
        if (!QFileInfo(QString::fromLatin1(program)).isExecutable())
            QSKIP(qPrintable(QStringLiteral("the desktop portal is not installed (%1)").arg(program)));
    }
    QVERIFY(QDBusConnection::sessionBus().isConnected());
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("VornaliaDesktopPortalTest"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_desktop_portal"));
    // A light palette: where the desktop states no preference, the app is light.
    QPalette light;
    light.setColor(QPalette::Window, QColor(0xF4, 0xF4, 0xF4));
    light.setColor(QPalette::WindowText, QColor(0x11, 0x11, 0x11));
    QGuiApplication::setPalette(light);

    m_startScheme = gsettings({QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"),
                               QStringLiteral("color-scheme")});
    QCOMPARE(switchDesktop(QStringLiteral("default")), QString());
    // Started as the desktop starts it, on the bus's demand; its first answers may take a while.
    const QDBusReply<void> started = QDBusConnection::sessionBus().interface()->startService(portalService);
    QVERIFY2(started.isValid(), qPrintable(started.error().message()));
}

void DesktopPortalTest::cleanup()
{
    QSettings().clear();
    QCOMPARE(switchDesktop(QStringLiteral("default")), QString());
}

void DesktopPortalTest::cleanupTestCase()
{
    if (!m_startScheme.isEmpty() && !m_startScheme.startsWith(QLatin1String("gsettings failed")))
        switchDesktop(m_startScheme);
}

void DesktopPortalTest::runningAppFollowsTheSwitch_data()
{
    QTest::addColumn<QString>("appearance");
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<Scheme>("scheme");
    QTest::addColumn<bool>("dark");
    QTest::newRow("跟随系统, desktop to dark") << "system"
                                               << "prefer-dark" << Scheme::Dark << true;
    QTest::newRow("跟随系统, desktop to light") << "system"
                                                << "prefer-light" << Scheme::Light << false;
    QTest::newRow("light chosen, desktop to dark") << "light"
                                                   << "prefer-dark" << Scheme::Dark << false;
    QTest::newRow("dark chosen, desktop to light") << "dark"
                                                   << "prefer-light" << Scheme::Light << true;
}

void DesktopPortalTest::runningAppFollowsTheSwitch()
{
    QFETCH(QString, appearance);
    QFETCH(QString, desktop);
    QFETCH(Scheme, scheme);
    QFETCH(bool, dark);
    QSettings().setValue(QStringLiteral("appTheme"), appearance);
    DesktopSettings settings;
    settings.watchPortal();
    Theme theme(&settings);
    // The portal's first answer: no preference, so the light palette decides.
    QTRY_COMPARE(settings.scheme(), Scheme::NoPreference);
    QCOMPARE(theme.dark(), appearance == QLatin1String("dark"));

    // Switched while the app runs: the portal's announcement reaches it, not only a later question.
    QCOMPARE(switchDesktop(desktop), QString());
    QTRY_COMPARE(settings.scheme(), scheme);
    QCOMPARE(theme.dark(), dark);
    // "跟随系统" takes the desktop's scheme at once.
    theme.setAppearance(QStringLiteral("system"));
    QCOMPARE(theme.dark(), scheme == Scheme::Dark);

    // And back: the desktop without a preference is light again.
    QCOMPARE(switchDesktop(QStringLiteral("default")), QString());
    QTRY_COMPARE(settings.scheme(), Scheme::NoPreference);
    QVERIFY(!theme.dark());
}

// Regression: the desktop's chooser opened on its recent files, as the call named no folder. The real portal
// is asked for the member's pictures folder; a monitor on the bus reads the call, and the portal's own call
// to the chooser it shows.
void DesktopPortalTest::pickAsksForThePicturesFolder()
{
    QProcess monitor;
    monitor.start(QStringLiteral("dbus-monitor"),
                  {QStringLiteral("--session"), QStringLiteral("type='method_call',member='OpenFile'")});
    QVERIFY2(monitor.waitForStarted(), "dbus-monitor did not start");
    const auto stop = qScopeGuard([&monitor] {
        monitor.kill();
        monitor.waitForFinished();
    });
    QString monitored;
    const auto read = [&] { return monitored += QString::fromUtf8(monitor.readAllStandardOutput()); };
    // A monitor gives up its own name once it listens.
    QTRY_VERIFY(read().contains(QStringLiteral("NameLost")));

    PortalFilePick pick;
    QSignalSpy unavailable(&pick, &PortalFilePick::unavailable);
    pick.open(QStringLiteral("选择飞行截图"), true, {QStringLiteral("图片 (*.png *.jpg)")}, nullptr);
    const QString backend = QStringLiteral("org.freedesktop.impl.portal.FileChooser");
    QTRY_VERIFY(!callsTo(read(), backend, QStringLiteral("OpenFile")).isEmpty());
    QCOMPARE(unavailable.count(), 0);
    // Open until its answer comes: the window's keyboard goes back to the control that opened it then.
    QVERIFY(pick.picking());

    const QStringList asked =
        callsTo(monitored, QStringLiteral("org.freedesktop.portal.FileChooser"), "OpenFile");
    QCOMPARE(asked.size(), 1);
    QCOMPARE(currentFolder(asked.constFirst()), std::optional(FileChooser::picturesFolder().toLocalFile()));
    QVERIFY2(asked.constFirst().contains(QStringLiteral("*.png")), qPrintable(asked.constFirst()));

    // A portal of version 4 or later hands the folder to its chooser; Debian 12's (version 3) keeps it back
    // from OpenFile, so GNOME's chooser there still opens on its recent files.
    QDBusMessage question = QDBusMessage::createMethodCall(
        portalService, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    question << QStringLiteral("org.freedesktop.portal.FileChooser") << QStringLiteral("version");
    const QDBusMessage answer = QDBusConnection::sessionBus().call(question);
    QCOMPARE(answer.type(), QDBusMessage::ReplyMessage);
    const uint version = answer.arguments().constFirst().value<QDBusVariant>().variant().toUInt();
    const QString shown = callsTo(monitored, backend, QStringLiteral("OpenFile")).constFirst();
    QCOMPARE(currentFolder(shown).has_value(), version >= 4);

    // The chooser closed again, as the request's own Close does, once its backend has the request (asked
    // before, the backend has none to close, and the portal forgets the request all the same).
    static const QRegularExpression handle(
        QStringLiteral("-> destination=(\\S+) .*\\n\\s*object path \"([^\"]+)\""));
    const QRegularExpressionMatch request = handle.match(shown);
    QVERIFY2(request.hasMatch(), qPrintable(shown));
    const auto backendHasIt = [&request] {
        const QDBusMessage objects = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
            request.captured(1), request.captured(2), QStringLiteral("org.freedesktop.DBus.Introspectable"),
            QStringLiteral("Introspect")));
        return objects.type() == QDBusMessage::ReplyMessage
               && objects.arguments().value(0).toString().contains("org.freedesktop.impl.portal.Request");
    };
    QTRY_VERIFY(backendHasIt());
    const QDBusMessage closed = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        portalService, request.captured(2), QStringLiteral("org.freedesktop.portal.Request"), "Close"));
    QVERIFY2(closed.type() == QDBusMessage::ReplyMessage, qPrintable(closed.errorMessage()));
    QTRY_VERIFY(!backendHasIt());
}

QTEST_MAIN(DesktopPortalTest)
#include "tst_desktop_portal.moc"
