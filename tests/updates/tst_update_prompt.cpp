// The update prompt in a window, from the keyboard: the alerts' buttons take the focus with Tab, Return
// presses the focused one and Escape dismisses.
#include "ClientTestSupport.h"
#include "MacUpdater.h"

#include <QDesktopServices>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>

Q_IMPORT_QML_PLUGIN(Vorna_UiPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_UpdatesPlugin)

using namespace TestSupport;

namespace {

const QString manifestPath = QStringLiteral("/downloads/linux/latest.json");

class Browser : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

QString focusedText(QQuickWindow *window)
{
    return window->activeFocusItem() ? window->activeFocusItem()->property("text").toString() : QString();
}

} // namespace

class UpdatePromptTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void keyboard();
};

void UpdatePromptTest::initTestCase()
{
    qputenv("LANGUAGE", "zh_CN");
    QQuickStyle::setStyle(QStringLiteral("Basic"));
}

void UpdatePromptTest::keyboard()
{
    Site site;
    QVERIFY(site.started);
    qint64 build = 8;
    site.service->route("GET", manifestPath, [&build](Sample::Service &, const Sample::Request &) {
        return Sample::Reply::json(QJsonObject{{"version", "2.4.0"},
                                               {"build", build},
                                               {"url", "https://vornalia.org/downloads/linux/vornalia.deb"}});
    });
    MacUpdater updater({.manifest = MacUpdater::manifestAddress(site.service->origin()),
                        .trustedCertificates = {Sample::Service::certificate()},
                        .build = QStringLiteral("7"),
                        .version = QStringLiteral("2.3.0"),
                        .clock = {}});
    Browser browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");

    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQuick
        import QtQuick.Controls
        import Vorna.Updates
        ApplicationWindow {
            id: root
            required property MacUpdater updater
            width: 760
            height: 540
            visible: true
            MacUpdatePrompt {
                anchors.fill: parent
                updater: root.updater
            }
        })",
                      QUrl());
    std::unique_ptr<QObject> created(
        component.createWithInitialProperties({{"updater", QVariant::fromValue(&updater)}}));
    QVERIFY2(created, qPrintable(component.errorString()));
    auto *window = qobject_cast<QQuickWindow *>(created.get());
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->requestActivate();

    // The launch check offers the release, "下载" first; Tab moves on to "稍后", whose Return dismisses.
    QTRY_COMPARE(focusedText(window), QString("下载"));
    QTest::keyClick(window, Qt::Key_Tab);
    QCOMPARE(focusedText(window), QString("稍后"));
    QTest::keyClick(window, Qt::Key_Return);
    QTRY_VERIFY(!updater.available());
    QVERIFY(browser.opened.isEmpty());

    // The menu's check offers it again; Return on "下载" opens it in the browser.
    await(updater.check(true));
    QTRY_COMPARE(focusedText(window), QString("下载"));
    QTest::keyClick(window, Qt::Key_Return);
    QTRY_VERIFY(!updater.available());
    QCOMPARE(browser.opened, QList<QUrl>{QUrl("https://vornalia.org/downloads/linux/vornalia.deb")});

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
    QCOMPARE(browser.opened.size(), 1);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

QTEST_MAIN(UpdatePromptTest)
#include "tst_update_prompt.moc"
