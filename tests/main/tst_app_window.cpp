// The window as main/ makes it: the app menu and the keys that reach it before and after it first opens.
#include "AppComposition.h"
#include "SampleService.h"

#include <QProcessEnvironment>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class AppWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    // In this order: the first runs while the menu has never opened.
    void quitKeyBeforeTheMenuFirstOpens();
    void menuRowsMadeOnceWhenItFirstOpens();
    void altAndTheMenusLetterOpenIt();

private:
    QObject *appMenu() const { return m_window->findChild<QObject *>(QStringLiteral("appMenu")); }
    static int rows(QObject *menu) { return menu->property("count").toInt(); }
    static QQuickItem *row(QObject *menu, int index);

    std::unique_ptr<Sample::Service> m_service;
    QTemporaryDir m_scratch;
    std::optional<AppComposition::ProcessObjects> m_objects;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
};

QQuickItem *AppWindowTest::row(QObject *menu, int index)
{
    QQuickItem *item = nullptr;
    QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, index));
    return item;
}

void AppWindowTest::initTestCase()
{
    // The member site and its release manifest are the sample service's; this build is the newest, so no
    // update prompt comes over the window (and takes the keyboard) while the menu is open.
    m_service = std::make_unique<Sample::Service>();
    m_service->publishRelease(Sample::Service::Release::Current);
    QVERIFY(m_service->start());
    QVERIFY(m_scratch.isValid());
    QVERIFY(m_service->standIn(m_scratch.path(), {QStringLiteral("MEMBER")}));

    // As main() does; a plain engine, whose Qt.quit() only says so.
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    m_objects.emplace();
    m_engine = std::make_unique<QQmlEngine>();
    AppComposition::prepareEngine(*m_engine);
    QQmlComponent component(m_engine.get(), AppComposition::mainWindow());
    m_window.reset(qobject_cast<QQuickWindow *>(component.create()));
    QVERIFY2(m_window, qPrintable(component.errorString()));
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QVERIFY(appMenu());
}

void AppWindowTest::cleanupTestCase()
{
    m_window.reset();
    m_engine.reset();
    m_objects.reset();
}

void AppWindowTest::quitKeyBeforeTheMenuFirstOpens()
{
    QCOMPARE(rows(appMenu()), 0);
    QSignalSpy quit(m_engine.get(), &QQmlEngine::quit);
    QTest::keySequence(m_window.get(), QKeySequence::Quit);
    QCOMPARE(quit.count(), 1);
    QCOMPARE(rows(appMenu()), 0);
}

void AppWindowTest::menuRowsMadeOnceWhenItFirstOpens()
{
    QObject *menu = appMenu();
    for (int opening = 0; opening < 2; ++opening) {
        QTest::keyClick(m_window.get(), Qt::Key_F10);
        QTRY_VERIFY(menu->property("opened").toBool());
        // About, check for updates, a separator, quit: the first chosen, as the keyboard opened it.
        QCOMPARE(rows(menu), 4);
        QCOMPARE(menu->property("currentIndex").toInt(), 0);
        for (int index : {0, 1, 3})
            QVERIFY2(row(menu, index)->property("action").value<QObject *>(),
                     qPrintable(QString::number(index)));
        QVERIFY(row(menu, 2)->inherits("QQuickMenuSeparator"));
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QTRY_VERIFY(!menu->property("visible").toBool());
    }

    // Quit from its row, as from the key.
    QSignalSpy quit(m_engine.get(), &QQmlEngine::quit);
    QTest::keyClick(m_window.get(), Qt::Key_F10);
    QTRY_VERIFY(menu->property("opened").toBool());
    QQuickItem *quitRow = row(menu, 3);
    QTest::mouseClick(m_window.get(), Qt::LeftButton, {},
                      quitRow->mapToScene(QPointF(quitRow->width() / 2, quitRow->height() / 2)).toPoint());
    QCOMPARE(quit.count(), 1);
}

// Regression: Alt+V opened the menu as V went down, and letting Alt go, taken for a press of Alt on its own,
// closed it again.
void AppWindowTest::altAndTheMenusLetterOpenIt()
{
    QObject *menu = appMenu();
    QVERIFY(!menu->property("visible").toBool());
    // The pointer away from where the menu opens, so that it chooses no row.
    QTest::mouseMove(m_window.get(), QPoint(m_window->width() - 10, m_window->height() - 10));
    // As a keyboard sends it: Alt down, V down and up, Alt up.
    QTest::keyClick(m_window.get(), Qt::Key_V, Qt::AltModifier);
    QTRY_VERIFY(menu->property("opened").toBool());
    QTest::qWait(100);
    QVERIFY(menu->property("visible").toBool());
    // Its rows take the arrows as when Alt or F10 opened it.
    QTest::keyClick(m_window.get(), Qt::Key_Down);
    QCOMPARE(menu->property("currentIndex").toInt(), 0);
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QTRY_VERIFY(!menu->property("visible").toBool());
}

int main(int argc, char *argv[])
{
    // Drawn by the renderer main() would choose on this computer.
    AppComposition::useRenderer(AppComposition::chooseRenderer(QProcessEnvironment::systemEnvironment()));
    QGuiApplication app(argc, argv);
    AppWindowTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_app_window.moc"
