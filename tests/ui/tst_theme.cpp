// The palette's values, the choice between light and dark, and how the theme follows its setting and the
// desktop.
#include "DesktopSettings.h"
#include "Theme.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPalette>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

using Scheme = DesktopSettings::Scheme;

Q_DECLARE_METATYPE(Palette::Name)

namespace {

QVariant portalValue(const QVariant &value)
{
    // The portal's Read answers a variant that holds the setting's own variant.
    return QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(value))));
}

QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x20, 0x20, 0x24));
    palette.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    return palette;
}

QPalette lightPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0xF4, 0xF4, 0xF4));
    palette.setColor(QPalette::WindowText, QColor(0x11, 0x11, 0x11));
    return palette;
}

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString portalInterface = QStringLiteral("org.freedesktop.portal.Settings");

// A settings portal on the session bus, under a name of its own so no other program takes it for the
// desktop's: it answers Read and announces changes as the real one does.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    FakePortal()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal")))
        , m_service(QStringLiteral("org.vornalia.tst_theme.portal%1").arg(QCoreApplication::applicationPid()))
    {
    }
    // Takes its name on the bus, as the desktop starts its portal.
    bool start()
    {
        return m_bus.registerObject(portalPath, this, QDBusConnection::ExportAllSlots)
               && m_bus.registerService(m_service);
    }
    ~FakePortal() override
    {
        m_bus.unregisterService(m_service);
        m_bus.unregisterObject(portalPath);
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    }

    QString service() const { return m_service; }
    // The scheme as the desktop holds it now; announce() tells the watchers, as a desktop switch does.
    uint scheme = 2;
    void announce()
    {
        QDBusMessage signal =
            QDBusMessage::createSignal(portalPath, portalInterface, QStringLiteral("SettingChanged"));
        signal << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme")
               << QVariant::fromValue(QDBusVariant(scheme));
        m_bus.send(signal);
    }

public Q_SLOTS:
    QDBusVariant Read(const QString &group, const QString &key)
    {
        if (group == QLatin1String("org.freedesktop.appearance") && key == QLatin1String("color-scheme"))
            return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme)));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
    }

private:
    QDBusConnection m_bus;
    QString m_service;
};

// What the desktop does when the member switches to another window and back.
void leaveAndReturn()
{
    QWindowSystemInterface::handleApplicationStateChanged<QWindowSystemInterface::SynchronousDelivery>(
        Qt::ApplicationInactive, true);
    QWindowSystemInterface::handleApplicationStateChanged<QWindowSystemInterface::SynchronousDelivery>(
        Qt::ApplicationActive, true);
}

} // namespace

class ThemeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void colourPairs_data();
    void colourPairs();
    void fixedColoursIgnoreAppearance();
    void heroRunsCornerToCorner();
    void rolesNameTheirColours_data();
    void rolesNameTheirColours();
    void verdictsTakeTheirRoles();

    void lightOrDark_data();
    void lightOrDark();

    void themeReadsTheSettingWhenCreated_data();
    void themeReadsTheSettingWhenCreated();
    void choosingAnAppearanceRecoloursAndIsKept();
    void storedChoiceIsTakenUpAgain();
    void systemAppearanceFollowsThePortal();
    void systemAppearanceFollowsThePalette();
    void chosenAppearanceIgnoresTheDesktop();
    void runningAppFollowsTheDesktopsSwitch_data();
    void runningAppFollowsTheDesktopsSwitch();
    void returnToTheFrontAppliesTheAppearanceAgain();

    void portalValues_data();
    void portalValues();
    void reducedMotionFromTheDesktop_data();
    void reducedMotionFromTheDesktop();
    void foreignPortalSettingsChangeNothing();

private:
    QPalette m_startPalette;
};

void ThemeTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("VornaliaThemeTest"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_theme"));
    m_startPalette = QGuiApplication::palette();
}

void ThemeTest::init() { QSettings().remove(QStringLiteral("appTheme")); }

void ThemeTest::cleanup()
{
    QSettings().clear();
    QGuiApplication::setPalette(m_startPalette);
}

void ThemeTest::colourPairs_data()
{
    QTest::addColumn<Palette::Name>("name");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ink light") << Palette::Name::Ink << false << "#202127";
    QTest::newRow("accent light") << Palette::Name::Accent << false << "#aa2b3a";
    QTest::newRow("accent dark") << Palette::Name::Accent << true << "#e25b6c";
    QTest::newRow("paper dark") << Palette::Name::Paper << true << "#0e1014";
    QTest::newRow("muted dark") << Palette::Name::Muted << true << "#a99d90";
    QTest::newRow("surface light") << Palette::Name::Surface << false << "#ffffff";
    QTest::newRow("glassLabel dark") << Palette::Name::GlassLabel << true << "#d5d7df";
    QTest::newRow("approved light") << Palette::Name::Approved << false << "#1f9d57";
    QTest::newRow("rejected dark") << Palette::Name::Rejected << true << "#ef5b69";
    QTest::newRow("pending light") << Palette::Name::Pending << false << "#c98a12";
}

void ThemeTest::colourPairs()
{
    QFETCH(Palette::Name, name);
    QFETCH(bool, dark);
    QFETCH(QString, expected);
    const QColor colour = Palette::color(name, dark);
    QCOMPARE(colour.name(), expected);
    QCOMPARE(colour.alpha(), 255);
    // The other appearance always gives a different colour: no pair repeats one value.
    QVERIFY(Palette::color(name, !dark) != colour);
}

void ThemeTest::fixedColoursIgnoreAppearance()
{
    QSettings().setValue(QStringLiteral("appTheme"), QStringLiteral("dark"));
    DesktopSettings desktop;
    Theme dark(&desktop);
    QSettings().setValue(QStringLiteral("appTheme"), QStringLiteral("light"));
    Theme light(&desktop);
    QVERIFY(dark.dark() && !light.dark());
    QCOMPARE(dark.slate().name(), QStringLiteral("#3b434e"));
    QCOMPARE(dark.night().name(), QStringLiteral("#232836"));
    QCOMPARE(dark.gold().name(), QStringLiteral("#e3b866"));
    QCOMPARE(light.slate(), dark.slate());
    QCOMPARE(light.night(), dark.night());
    QCOMPARE(light.gold(), dark.gold());
    // The top byte of a 32-bit value is not alpha.
    QCOMPARE(Palette::rgb(0xFF3B434E), Palette::rgb(Palette::slate));
}

void ThemeTest::heroRunsCornerToCorner()
{
    const QLinearGradient hero = Palette::hero(QRectF(10, 20, 300, 100));
    QCOMPARE(hero.start(), QPointF(10, 20));
    QCOMPARE(hero.finalStop(), QPointF(310, 120));
    const QGradientStops stops = hero.stops();
    QCOMPARE(stops.size(), 2);
    QCOMPARE(stops.at(0), QGradientStop(0.0, Palette::rgb(Palette::slate)));
    QCOMPARE(stops.at(1), QGradientStop(1.0, Palette::rgb(Palette::night)));
}

void ThemeTest::rolesNameTheirColours_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("expected");
    QTest::newRow("accent, light") << int(Theme::Accent) << false << "#aa2b3a";
    QTest::newRow("approved, dark") << int(Theme::Approved) << true << "#3cc47b";
    QTest::newRow("rejected, light") << int(Theme::Rejected) << false << "#c0303f";
    QTest::newRow("pending, dark") << int(Theme::Pending) << true << "#e9ac3c";
    QTest::newRow("unknown role falls back to pending") << 42 << false << "#c98a12";
}

void ThemeTest::rolesNameTheirColours()
{
    QFETCH(int, role);
    QFETCH(bool, dark);
    QFETCH(QString, expected);
    QSettings().setValue(QStringLiteral("appTheme"), dark ? QStringLiteral("dark") : QStringLiteral("light"));
    DesktopSettings desktop;
    Theme theme(&desktop);
    QCOMPARE(theme.role(role).name(), expected);
}

void ThemeTest::verdictsTakeTheirRoles()
{
    QCOMPARE(Theme::verdictRole(PirepState::OnHold), Theme::Accent);
    QCOMPARE(Theme::verdictRole(PirepState::Approved), Theme::Approved);
    QCOMPARE(Theme::verdictRole(PirepState::Rejected), Theme::Rejected);
    QCOMPARE(Theme::verdictRole(PirepState::Pending), Theme::Pending);
    QCOMPARE(Theme::verdictRole(PirepState::Other), Theme::Pending);
}

void ThemeTest::lightOrDark_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<Scheme>("scheme");
    QTest::addColumn<bool>("paletteIsDark");
    QTest::addColumn<bool>("dark");
    QTest::newRow("light beats a dark desktop") << "light" << Scheme::Dark << true << false;
    QTest::newRow("dark beats a light desktop") << "dark" << Scheme::Light << false << true;
    QTest::newRow("system, portal dark") << "system" << Scheme::Dark << false << true;
    QTest::newRow("system, portal light over a dark palette") << "system" << Scheme::Light << true << false;
    QTest::newRow("system, no preference, dark palette") << "system" << Scheme::NoPreference << true << true;
    QTest::newRow("system, no portal, light palette") << "system" << Scheme::Unknown << false << false;
    QTest::newRow("system, no portal, dark palette") << "system" << Scheme::Unknown << true << true;
    QTest::newRow("unset follows the system") << "" << Scheme::Dark << false << true;
    QTest::newRow("unknown value follows the system") << "Dark" << Scheme::Light << false << false;
}

void ThemeTest::lightOrDark()
{
    QFETCH(QString, setting);
    QFETCH(Scheme, scheme);
    QFETCH(bool, paletteIsDark);
    QFETCH(bool, dark);
    QCOMPARE(Appearance::isDark(setting, scheme, paletteIsDark), dark);
}

void ThemeTest::themeReadsTheSettingWhenCreated_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("appearance");
    QTest::addColumn<QString>("paper");
    QTest::newRow("dark") << QVariant("dark") << "dark"
                          << "#0e1014";
    QTest::newRow("light") << QVariant("light") << "light"
                           << "#f2f2f7";
    QTest::newRow("missing") << QVariant() << "system"
                             << "#f2f2f7";
    QTest::newRow("garbage") << QVariant("purple") << "system"
                             << "#f2f2f7";
}

void ThemeTest::themeReadsTheSettingWhenCreated()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, appearance);
    QFETCH(QString, paper);
    if (stored.isValid())
        QSettings().setValue(QStringLiteral("appTheme"), stored);
    QGuiApplication::setPalette(lightPalette());
    DesktopSettings desktop;
    Theme theme(&desktop);
    QCOMPARE(theme.appearance(), appearance);
    QCOMPARE(theme.paper().name(), paper);
}

void ThemeTest::storedChoiceIsTakenUpAgain()
{
    QGuiApplication::setPalette(lightPalette());
    DesktopSettings desktop;
    Theme theme(&desktop);
    QVERIFY(!theme.dark());
    // Written elsewhere (the preferences of another window) while the app was in the background.
    QSettings().setValue(QStringLiteral("appTheme"), QStringLiteral("dark"));
    QSignalSpy recoloured(&theme, &Theme::paletteChanged);
    theme.reloadAppearance();
    QVERIFY(theme.dark());
    QCOMPARE(recoloured.size(), 1);
    theme.reloadAppearance(); // unchanged: nothing to tell
    QCOMPARE(recoloured.size(), 1);
}

void ThemeTest::choosingAnAppearanceRecoloursAndIsKept()
{
    QGuiApplication::setPalette(lightPalette());
    DesktopSettings desktop;
    Theme theme(&desktop);
    QVERIFY(!theme.dark());
    QSignalSpy recoloured(&theme, &Theme::paletteChanged);
    QSignalSpy chosen(&theme, &Theme::appearanceChanged);

    theme.setAppearance(QStringLiteral("dark"));
    QCOMPARE(recoloured.size(), 1);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(theme.accent().name(), QStringLiteral("#e25b6c"));
    QCOMPARE(QSettings().value(QStringLiteral("appTheme")).toString(), QStringLiteral("dark"));

    // The same choice again changes nothing.
    theme.setAppearance(QStringLiteral("dark"));
    QCOMPARE(recoloured.size(), 1);
    QCOMPARE(chosen.size(), 1);

    // A new theme (the next start) comes up with the stored choice.
    Theme next(&desktop);
    QVERIFY(next.dark());

    // An unknown choice is stored as "system", never as itself.
    theme.setAppearance(QStringLiteral("sepia"));
    QCOMPARE(theme.appearance(), QStringLiteral("system"));
    QCOMPARE(QSettings().value(QStringLiteral("appTheme")).toString(), QStringLiteral("system"));
    QVERIFY(!theme.dark());
}

void ThemeTest::systemAppearanceFollowsThePortal()
{
    QGuiApplication::setPalette(lightPalette());
    DesktopSettings desktop;
    Theme theme(&desktop);
    QSignalSpy recoloured(&theme, &Theme::paletteChanged);
    desktop.applyPortalSetting(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"),
                               portalValue(uint(1)));
    QVERIFY(theme.dark());
    QCOMPARE(theme.paper().name(), QStringLiteral("#0e1014"));
    QCOMPARE(recoloured.size(), 1);
    desktop.applyPortalSetting(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"),
                               QVariant::fromValue(QDBusVariant(uint(2))));
    QVERIFY(!theme.dark());
    QCOMPARE(recoloured.size(), 2);
}

void ThemeTest::systemAppearanceFollowsThePalette()
{
    QGuiApplication::setPalette(lightPalette());
    DesktopSettings desktop;
    Theme theme(&desktop);
    QVERIFY(!theme.dark());
    QGuiApplication::setPalette(darkPalette());
    QTRY_VERIFY(theme.dark());
    QGuiApplication::setPalette(lightPalette());
    QTRY_VERIFY(!theme.dark());
}

void ThemeTest::chosenAppearanceIgnoresTheDesktop()
{
    QSettings().setValue(QStringLiteral("appTheme"), QStringLiteral("light"));
    DesktopSettings desktop;
    Theme theme(&desktop);
    QSignalSpy recoloured(&theme, &Theme::paletteChanged);
    desktop.applyPortalSetting(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"),
                               portalValue(uint(1)));
    QGuiApplication::setPalette(darkPalette());
    QCoreApplication::processEvents();
    QVERIFY(!theme.dark());
    QCOMPARE(recoloured.size(), 0);
    // Back to "system", the desktop's dark scheme applies at once.
    theme.setAppearance(QStringLiteral("system"));
    QVERIFY(theme.dark());
}

void ThemeTest::runningAppFollowsTheDesktopsSwitch_data()
{
    QTest::addColumn<bool>("portalStartsFirst");
    QTest::newRow("portal running at start") << true;
    QTest::newRow("portal started later") << false;
}

void ThemeTest::runningAppFollowsTheDesktopsSwitch()
{
    // Regression: with "system", a desktop switching between light and dark while the app ran was ignored.
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("needs a session bus (the tests run under dbus-run-session)");
    QFETCH(bool, portalStartsFirst);
    FakePortal portal;
    if (portalStartsFirst)
        QVERIFY(portal.start());
    QGuiApplication::setPalette(lightPalette());
    DesktopSettings desktop;
    desktop.watchPortal(portal.service());
    Theme theme(&desktop);
    if (!portalStartsFirst) {
        // Started on demand after the app asked: the app learns its scheme when it next comes to the front.
        QVERIFY(portal.start());
        leaveAndReturn();
    }
    QTRY_COMPARE(desktop.scheme(), Scheme::Light);
    QVERIFY(!theme.dark());

    QSignalSpy recoloured(&theme, &Theme::paletteChanged);
    portal.scheme = 1;
    portal.announce();
    QTRY_VERIFY(theme.dark());
    QCOMPARE(theme.paper().name(), QStringLiteral("#0e1014"));
    portal.scheme = 2;
    portal.announce();
    QTRY_VERIFY(!theme.dark());
    QCOMPARE(recoloured.size(), 2);

    // A switch the app did not hear of (it was in the background, or the portal kept quiet) is taken up
    // when the app comes back to the front.
    portal.scheme = 1;
    leaveAndReturn();
    QTRY_VERIFY(theme.dark());
}

void ThemeTest::returnToTheFrontAppliesTheAppearanceAgain()
{
    // Each time the app becomes active, "appTheme" is read again and applied to every window at once.
    QGuiApplication::setPalette(lightPalette());
    DesktopSettings desktop;
    Theme theme(&desktop);
    Theme secondWindow(&desktop);
    QVERIFY(!theme.dark());
    QSettings().setValue(QStringLiteral("appTheme"), QStringLiteral("dark"));
    QVERIFY(!theme.dark()); // not before the app is in front again
    leaveAndReturn();
    QVERIFY(theme.dark());
    QVERIFY(secondWindow.dark());
    QCOMPARE(theme.appearance(), QStringLiteral("dark"));

    // Back to "system": the desktop's own scheme applies again, here the palette's lightness.
    QSettings().setValue(QStringLiteral("appTheme"), QStringLiteral("system"));
    leaveAndReturn();
    QVERIFY(!theme.dark());
    QVERIFY(!secondWindow.dark());
}

void ThemeTest::portalValues_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<Scheme>("scheme");
    QTest::newRow("0, twice wrapped") << portalValue(uint(0)) << Scheme::NoPreference;
    QTest::newRow("1, twice wrapped") << portalValue(uint(1)) << Scheme::Dark;
    QTest::newRow("2, once wrapped") << QVariant::fromValue(QDBusVariant(uint(2))) << Scheme::Light;
    QTest::newRow("plain") << QVariant(uint(1)) << Scheme::Dark;
    QTest::newRow("a later portal's value") << portalValue(uint(7)) << Scheme::Unknown;
    QTest::newRow("text is not a scheme") << portalValue(QStringLiteral("1")) << Scheme::Unknown;
    QTest::newRow("nothing") << QVariant() << Scheme::Unknown;
}

void ThemeTest::portalValues()
{
    QFETCH(QVariant, value);
    QFETCH(Scheme, scheme);
    QCOMPARE(DesktopSettings::schemeFromPortal(value), scheme);
}

void ThemeTest::reducedMotionFromTheDesktop_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("reduce");
    QTest::newRow("GNOME animations off") << "org.gnome.desktop.interface"
                                          << "enable-animations" << portalValue(false) << true;
    QTest::newRow("GNOME animations on") << "org.gnome.desktop.interface"
                                         << "enable-animations" << portalValue(true) << false;
    QTest::newRow("KDE factor 0") << "org.kde.kdeglobals.KDE"
                                  << "AnimationDurationFactor" << portalValue(0.0) << true;
    QTest::newRow("KDE factor 0.5") << "org.kde.kdeglobals.KDE"
                                    << "AnimationDurationFactor" << portalValue(0.5) << false;
    QTest::newRow("KDE factor 0 as text")
        << "org.kde.kdeglobals.KDE"
        << "AnimationDurationFactor" << portalValue(QStringLiteral("0")) << true;
    QTest::newRow("KDE factor that is no number")
        << "org.kde.kdeglobals.KDE"
        << "AnimationDurationFactor" << portalValue(QStringLiteral("fast")) << false;
    QTest::newRow("a text where a switch belongs")
        << "org.gnome.desktop.interface"
        << "enable-animations" << portalValue(QStringLiteral("false")) << false;
}

void ThemeTest::reducedMotionFromTheDesktop()
{
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(bool, reduce);
    DesktopSettings desktop;
    Theme theme(&desktop);
    QVERIFY(!theme.reduceMotion()); // no desktop setting: animate
    QSignalSpy changed(&theme, &Theme::reduceMotionChanged);
    desktop.applyPortalSetting(group, key, value);
    QCOMPARE(theme.reduceMotion(), reduce);
    QCOMPARE(changed.size(), reduce ? 1 : 0);
}

void ThemeTest::foreignPortalSettingsChangeNothing()
{
    DesktopSettings desktop;
    QSignalSpy changed(&desktop, &DesktopSettings::changed);
    desktop.applyPortalSetting(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("accent-color"),
                               portalValue(uint(1)));
    desktop.applyPortalSetting(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"),
                               portalValue(QStringLiteral("prefer-dark")));
    QCOMPARE(changed.size(), 0);
    QCOMPARE(desktop.scheme(), Scheme::Unknown);
    QVERIFY(!desktop.animationsEnabled().has_value());
}

QTEST_MAIN(ThemeTest)
#include "tst_theme.moc"
