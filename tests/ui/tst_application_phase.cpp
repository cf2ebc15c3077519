// Without a GUI application (a command-line tool, or a test of the models alone) the objects that follow
// the application's phase and the desktop's palette keep working: the app counts as active, no phase
// changes come, and nothing is connected to an application that is not a GUI one.
#include "ApplicationPhase.h"
#include "DesktopSettings.h"
#include "Theme.h"

#include <QStandardPaths>
#include <QtTest>

class ApplicationPhaseTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void withoutAGuiApplication()
    {
        // A connection to a signal the application does not have would only warn.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QVERIFY(QCoreApplication::instance());
        QCOMPARE(ApplicationPhase::guiApplication(), nullptr);
        QCOMPARE(ApplicationPhase::state(), Qt::ApplicationActive);
        QVERIFY(!ApplicationPhase::active());

        QObject context;
        int calls = 0;
        QVERIFY(!ApplicationPhase::follow(&context, [&calls](Qt::ApplicationState) { ++calls; }));
        QVERIFY(!ApplicationPhase::followActive(&context, [&calls](bool) { ++calls; }));
        QCoreApplication::processEvents();
        QCOMPARE(calls, 0);

        // The desktop's settings and the theme that follows them make do with what they can read.
        DesktopSettings desktop;
        QVERIFY(!desktop.paletteIsDark());
        Theme theme(&desktop);
        QVERIFY(!theme.dark());
        desktop.applyPortalSetting(QStringLiteral("org.freedesktop.appearance"),
                                   QStringLiteral("color-scheme"), 1u);
        QVERIFY(theme.dark());
    }
};

QTEST_GUILESS_MAIN(ApplicationPhaseTest)
#include "tst_application_phase.moc"
