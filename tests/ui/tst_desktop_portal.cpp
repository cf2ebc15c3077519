// The desktop's light and dark switch as a GNOME desktop makes it: the real freedesktop portal with its GTK
// backend, on a session bus of the test's own (tests/support/desktop-portal-session), and the desktop's
// colour scheme switched with gsettings while the app runs.
#include "DesktopSettings.h"
#include "Theme.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QProcess>
#include <QSettings>
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
    QTRY_COMPARE_WITH_TIMEOUT(settings.scheme(), Scheme::NoPreference, 15000);
    QCOMPARE(theme.dark(), appearance == QLatin1String("dark"));

    // Switched while the app runs: the portal's announcement reaches it, not only a later question.
    QCOMPARE(switchDesktop(desktop), QString());
    QTRY_COMPARE_WITH_TIMEOUT(settings.scheme(), scheme, 15000);
    QCOMPARE(theme.dark(), dark);
    // "跟随系统" takes the desktop's scheme at once.
    theme.setAppearance(QStringLiteral("system"));
    QCOMPARE(theme.dark(), scheme == Scheme::Dark);

    // And back: the desktop without a preference is light again.
    QCOMPARE(switchDesktop(QStringLiteral("default")), QString());
    QTRY_COMPARE_WITH_TIMEOUT(settings.scheme(), Scheme::NoPreference, 15000);
    QVERIFY(!theme.dark());
}

QTEST_MAIN(DesktopPortalTest)
#include "tst_desktop_portal.moc"
