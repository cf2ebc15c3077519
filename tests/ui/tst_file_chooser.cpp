// Pictures picked in the desktop's own chooser: what the picture dialog asks the FileChooser portal, and what
// it makes of the portal's answers, against a portal of the test's own on the session bus; and what it hands
// a platform theme's chooser, against a theme of the test's own.
#include "FileChooser.h"
#include "PortalFilePick.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDir>
#include <QJSValue>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <QtTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformdialoghelper.h>
#include <qpa/qplatformtheme.h>

#include <algorithm>
#include <fnmatch.h>
#include <memory>

Q_IMPORT_QML_PLUGIN(Vorna_UiPlugin)

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// A FileChooser portal under a name of its own (the tests share one session bus, where the desktop's portal
// may answer too). It answers each OpenFile as it is told, and sends its answer before its reply, as a
// quick portal may: the pick must be listening before it calls.
class FakePortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")

public:
    FakePortal()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal")))
        , m_service(QStringLiteral("org.vornalia.tst_file_chooser.portal%1")
                        .arg(QCoreApplication::applicationPid()))
    {
    }
    ~FakePortal() override
    {
        m_bus.unregisterService(m_service);
        m_bus.unregisterObject(portalPath);
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    }
    bool start()
    {
        return m_bus.isConnected() && m_bus.registerObject(portalPath, this, QDBusConnection::ExportAllSlots)
               && m_bus.registerService(m_service);
    }
    QString service() const { return m_service; }

    // -1: refuse the call.
    int response = 0;
    // Whether the answer comes from another program on the bus instead.
    bool impostor = false;
    // Whether the answer waits for answerNow(), as the member's pick in a chooser does.
    bool later = false;
    QStringList uris;
    int calls = 0;
    QString title;
    QVariantMap options;

public Q_SLOTS:
    QDBusObjectPath OpenFile(const QString &parentWindow, const QString &title, const QVariantMap &options)
    {
        Q_UNUSED(parentWindow)
        ++calls;
        this->title = title;
        this->options = options;
        if (response < 0) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("no file chooser here"));
            return {};
        }
        // The portal's rule: the caller's unique name without ':' and with '_' for '.', then the token.
        const QString sender = message().service().mid(1).replace(u'.', u'_');
        const QString handle = portalPath + QStringLiteral("/request/") + sender + u'/'
                               + options.value("handle_token").toString();
        QDBusMessage answer =
            QDBusMessage::createSignal(handle, QStringLiteral("org.freedesktop.portal.Request"), "Response");
        answer << uint(response) << QVariantMap{{QStringLiteral("uris"), uris}};
        if (later) {
            m_later = answer;
        } else if (impostor) {
            QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "impostor");
            other.send(answer);
            other.call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                      "org.freedesktop.DBus", "GetId"));
            QDBusConnection::disconnectFromBus("impostor");
        } else {
            connection().send(answer);
        }
        return QDBusObjectPath(handle);
    }
    // A round trip after an answer: the answer, sent first, has reached the caller.
    int Ping() { return calls; }

public:
    void answerNow() { m_bus.send(m_later); }

private:
    QDBusMessage m_later;
    QDBusConnection m_bus;
    QString m_service;
};

// What a platform theme's file chooser was handed as it was shown.
struct ShownChooser
{
    QString title;
    QUrl folder;
    QFileDialogOptions::FileMode mode = QFileDialogOptions::AnyFile;
    QStringList nameFilters;
};

// A platform theme's file chooser that only notes what it is shown with.
class NotingChooser : public QPlatformFileDialogHelper
{
public:
    explicit NotingChooser(QList<ShownChooser> &shown)
        : m_shown(shown)
    {
    }
    bool show(Qt::WindowFlags, Qt::WindowModality, QWindow *) override
    {
        m_shown.append({options()->windowTitle(),
                        m_folder.isValid() ? m_folder : options()->initialDirectory(), options()->fileMode(),
                        options()->nameFilters()});
        return true;
    }
    void exec() override {}
    void hide() override {}
    bool defaultNameFilterDisables() const override { return false; }
    void setDirectory(const QUrl &folder) override { m_folder = folder; }
    QUrl directory() const override { return m_folder; }
    void selectFile(const QUrl &) override {}
    QList<QUrl> selectedFiles() const override { return {}; }
    void setFilter() override {}
    void selectNameFilter(const QString &) override {}
    QString selectedNameFilter() const override { return {}; }

private:
    QList<ShownChooser> &m_shown;
    QUrl m_folder;
};

// In place of the application's platform theme while it lives, as a theme the member named
// (QT_QPA_PLATFORMTHEME) would be: one with a file chooser of its own. Everything else is the theme's it
// stands for.
class ChooserTheme : public QPlatformTheme
{
public:
    ChooserTheme()
        : m_theme(QGuiApplicationPrivate::platform_theme)
    {
        QGuiApplicationPrivate::platform_theme = this;
    }
    ~ChooserTheme() override { QGuiApplicationPrivate::platform_theme = m_theme; }
    bool usePlatformNativeDialog(DialogType type) const override { return type == FileDialog; }
    QPlatformDialogHelper *createPlatformDialogHelper(DialogType type) const override
    {
        return type == FileDialog ? new NotingChooser(shown) : nullptr;
    }
    const QPalette *palette(Palette type) const override
    {
        return m_theme ? m_theme->palette(type) : nullptr;
    }
    const QFont *font(Font type) const override { return m_theme ? m_theme->font(type) : nullptr; }
    QVariant themeHint(ThemeHint hint) const override
    {
        return m_theme ? m_theme->themeHint(hint) : QPlatformTheme::themeHint(hint);
    }

    mutable QList<ShownChooser> shown;

private:
    QPlatformTheme *m_theme;
};

// Each (name, globs) of the portal's filters a(sa(us)).
QList<QPair<QString, QStringList>> filtersOf(const QVariant &value)
{
    QList<QPair<QString, QStringList>> filters;
    const QDBusArgument argument = value.value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        QString name;
        QStringList globs;
        argument.beginStructure();
        argument >> name;
        argument.beginArray();
        while (!argument.atEnd()) {
            uint kind = 0;
            QString pattern;
            argument.beginStructure();
            argument >> kind >> pattern;
            argument.endStructure();
            globs.append(kind == 0 ? pattern : QStringLiteral("type:") + pattern);
        }
        argument.endArray();
        argument.endStructure();
        filters.append({name, globs});
    }
    argument.endArray();
    return filters;
}

// The files a picked() signal carried.
QList<QUrl> filesOf(const QVariant &files)
{
    const QVariant list = files.canConvert<QJSValue>() ? files.value<QJSValue>().toVariant() : files;
    QList<QUrl> urls;
    for (const QVariant &file : list.toList())
        urls.append(file.toUrl());
    return urls;
}

} // namespace

class FileChooserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();
    void desktopChooserOpensInThePicturesFolder_data();
    void desktopChooserOpensInThePicturesFolder();
    void portalAnswers_data();
    void portalAnswers();
    void pickGivesTheKeyboardBackOnceConverted_data();
    void pickGivesTheKeyboardBackOnceConverted();

private:
    // A picture dialog in a window, its portal pick pointed at the fake.
    QObject *makeDialog();

    QTemporaryDir m_config;
    QString m_pictures;
    QByteArray m_savedConfig;
    QQmlEngine m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    std::unique_ptr<QObject> m_view;
    std::unique_ptr<FakePortal> m_portal;
    std::unique_ptr<ChooserTheme> m_theme;
};

void FileChooserTest::initTestCase()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no session bus (scripts/test runs the tests on one of their own)");
    // The member's pictures folder as the desktop's user-dirs file names it.
    QVERIFY(m_config.isValid());
    m_pictures = m_config.filePath(QStringLiteral("图片"));
    QVERIFY(QDir().mkpath(m_pictures));
    QFile dirs(m_config.filePath(QStringLiteral("user-dirs.dirs")));
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_PICTURES_DIR=\"" + m_pictures.toUtf8() + "\"\n");
    dirs.close();
    m_savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    QCOMPARE(FileChooser::picturesFolder(), QUrl::fromLocalFile(m_pictures));

    m_engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    FileChooser::usePortal(true);
}

void FileChooserTest::cleanup()
{
    m_view.reset();
    m_window.reset();
    m_portal.reset();
    m_theme.reset();
    FileChooser::usePortal(true);
}

void FileChooserTest::cleanupTestCase()
{
    FileChooser::usePortal(false);
    if (m_savedConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_savedConfig);
}

QObject *FileChooserTest::makeDialog()
{
    m_portal = std::make_unique<FakePortal>();
    if (!m_portal->start())
        return nullptr;
    m_window = std::make_unique<QQuickWindow>();
    m_window->resize(900, 700);
    m_window->show();
    QQmlComponent component(&m_engine);
    // A page that works while what was picked converts, named as a screen reader calls it, with the button
    // that opens the dialog.
    component.setData(
        "import QtQuick\nimport QtQuick.Controls\nimport Vorna.Ui\n"
        "Item { id: page; property alias dialog: d; property alias button: b\n"
        " property bool pageBusy: false; width: 400; height: 300\n"
        " Accessible.role: Accessible.Pane; Accessible.name: \"新建 PIREP\"\n"
        " Button { id: b; text: \"选择飞行截图\"; Accessible.name: text; enabled: !page.pageBusy\n"
        "  onClicked: d.pick(6) }\n"
        " PhotoDialog { id: d; heading: \"选择飞行截图\"; several: true;"
        " filters: [\"图片 (*.png *.jpg *.jpeg)\"]; onPicked: page.pageBusy = true } }",
        QUrl(QStringLiteral("qrc:/test.qml")));
    // In the window from the start, so the dialog finds the window it belongs to.
    m_view.reset(component.beginCreate(m_engine.rootContext()));
    if (!m_view)
        return nullptr;
    qobject_cast<QQuickItem *>(m_view.get())->setParentItem(m_window->contentItem());
    component.completeCreate();
    QObject *dialog = m_view->property("dialog").value<QObject *>();
    auto *pick = dialog ? dialog->findChild<PortalFilePick *>() : nullptr;
    if (!pick)
        return nullptr;
    pick->setService(m_portal->service());
    return dialog;
}

void FileChooserTest::desktopChooserOpensInThePicturesFolder_data()
{
    QTest::addColumn<bool>("portal"); // else a platform theme's chooser
    // Regression: the desktop's chooser opened on its recent files, not the member's pictures, as the
    // portal call named no folder.
    QTest::newRow("portal") << true;
    // A platform theme's chooser (GTK's) matches the patterns by case as well: handed them as written, it
    // would list no "IMG_0001.PNG".
    QTest::newRow("platform theme") << false;
}

void FileChooserTest::desktopChooserOpensInThePicturesFolder()
{
    QFETCH(bool, portal);
    if (!portal) {
        FileChooser::usePortal(false);
        m_theme = std::make_unique<ChooserTheme>();
    }
    QObject *dialog = makeDialog();
    QVERIFY(dialog);
    QVERIFY(QMetaObject::invokeMethod(dialog, "pick", Q_ARG(QVariant, 6)));
    QList<QPair<QString, QStringList>> filters;
    if (portal) {
        QTRY_COMPARE(m_portal->calls, 1);
        QCOMPARE(m_portal->title, QStringLiteral("选择飞行截图"));
        const QVariantMap &options = m_portal->options;
        // The portal's bytes, ending in NUL.
        QCOMPARE(options.value("current_folder").toByteArray(), QFile::encodeName(m_pictures) + '\0');
        QCOMPARE(options.value("multiple").toBool(), true);
        QCOMPARE(options.value("modal").toBool(), true);
        QVERIFY(!options.value("handle_token").toString().isEmpty());
        filters = filtersOf(options.value("filters"));
        // Not Qt Quick's dialog as well.
        QVERIFY(!dialog->property("visible").toBool());
    } else {
        QTRY_COMPARE(m_theme->shown.size(), 1);
        QCOMPARE(m_portal->calls, 0);
        const ShownChooser &shown = m_theme->shown.constFirst();
        QCOMPARE(shown.title, QStringLiteral("选择飞行截图"));
        QCOMPARE(shown.folder, QUrl::fromLocalFile(m_pictures));
        QCOMPARE(shown.mode, QFileDialogOptions::ExistingFiles);
        // Each filter as a theme reads it: the name before its patterns.
        for (const QString &filter : shown.nameFilters)
            filters.append({filter.left(filter.lastIndexOf(u'(')).trimmed(),
                            QPlatformFileDialogHelper::cleanFilterList(filter)});
        // Not Qt Quick's dialog as well: the chooser is the theme's, in one go.
        const QList<QObject *> inWindow = m_window->findChildren<QObject *>();
        QVERIFY(std::none_of(inWindow.cbegin(), inWindow.cend(),
                             [](QObject *object) { return object->inherits("QQuickFileDialogImpl"); }));
    }
    QCOMPARE(filters.size(), 1);
    QCOMPARE(filters.constFirst().first, QStringLiteral("图片"));
    // Regression: GNOME's chooser matches the patterns by case, as fnmatch does; pictures named as phones
    // name them were not listed, and a member could attach no proof without renaming files.
    const QStringList &globs = filters.constFirst().second;
    const auto listed = [&globs](const QString &name) {
        return std::any_of(globs.cbegin(), globs.cend(), [&name](const QString &glob) {
            return fnmatch(glob.toUtf8().constData(), name.toUtf8().constData(), 0) == 0;
        });
    };
    for (const QString &name :
         QStringList{"shot-1.png", "IMG_0001.PNG", "IMG_0002.JPG", "Screenshot 3.Png", "scan.JpEg"})
        QVERIFY2(listed(name), qPrintable(name + ": " + globs.join(' ')));
    for (const QString &name : QStringList{"notes.txt", "IMG_0003.PNG.txt", "clip.webp", "PNG"})
        QVERIFY2(!listed(name), qPrintable(name));
}

void FileChooserTest::portalAnswers_data()
{
    QTest::addColumn<int>("response"); // -1: the portal refuses the call
    QTest::addColumn<QStringList>("uris");
    QTest::addColumn<bool>("picked");
    QTest::addColumn<bool>("inWindow"); // Qt Quick's dialog opens instead
    QTest::addColumn<bool>("impostor"); // another program sends the answer
    const QStringList two{"file:///home/m/a.png", "file:///home/m/b%20c.jpg"};
    QTest::newRow("two files chosen") << 0 << two << true << false << false;
    QTest::newRow("cancelled") << 1 << QStringList() << false << false << false;
    QTest::newRow("ended another way") << 2 << QStringList() << false << false << false;
    QTest::newRow("the portal refuses") << -1 << QStringList() << false << true << false;
    // Only the portal hands the pick its files.
    QTest::newRow("another program answers") << 0 << two << false << false << true;
}

void FileChooserTest::portalAnswers()
{
    QFETCH(int, response);
    QFETCH(QStringList, uris);
    QFETCH(bool, picked);
    QFETCH(bool, inWindow);
    QFETCH(bool, impostor);
    QObject *dialog = makeDialog();
    QVERIFY(dialog);
    m_portal->response = response;
    m_portal->uris = uris;
    m_portal->impostor = impostor;
    QSignalSpy files(dialog, SIGNAL(picked(QVariant)));
    QVERIFY(QMetaObject::invokeMethod(dialog, "pick", Q_ARG(QVariant, 6)));
    QTRY_COMPARE(m_portal->calls, 1);
    if (picked) {
        QTRY_COMPARE(files.count(), 1);
        QList<QUrl> expected;
        for (const QString &uri : uris)
            expected.append(QUrl(uri));
        QCOMPARE(filesOf(files.constFirst().constFirst()), expected);
    }
    if (inWindow)
        QTRY_VERIFY(dialog->property("visible").toBool());
    // Whatever the portal said has arrived once its reply to a later question has: it sent it first.
    const QDBusPendingCall ping = QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
        m_portal->service(), portalPath, QStringLiteral("org.freedesktop.portal.FileChooser"), "Ping"));
    QTRY_VERIFY(ping.isFinished());
    QVERIFY(!ping.isError());
    QCoreApplication::processEvents();
    QCOMPARE(files.count(), picked ? 1 : 0);
    QCOMPARE(dialog->property("visible").toBool(), inWindow);
}

void FileChooserTest::pickGivesTheKeyboardBackOnceConverted_data()
{
    QTest::addColumn<bool>("chooserInFront"); // the chooser's own window is in front until the answer
    QTest::newRow("the window in front") << false;
    QTest::newRow("the chooser's window in front") << true;
}

// Regression: a picture still converting as the desktop's chooser answered left the keyboard on the page (its
// button is off meanwhile), without a ring, for good. A page that works holds it, and its button has it back,
// ringed, once it is on again.
void FileChooserTest::pickGivesTheKeyboardBackOnceConverted()
{
    QFETCH(bool, chooserInFront);
    QObject *dialog = makeDialog();
    QVERIFY(dialog);
    m_portal->uris = {QStringLiteral("file:///home/m/screenshot.png")};
    m_portal->later = true;
    m_window->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get(), TestSupport::patience));
    auto *page = qobject_cast<QQuickItem *>(m_view.get());
    auto *button = m_view->property("button").value<QQuickItem *>();
    QVERIFY(page && button);
    button->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(m_window.get(), Qt::Key_Space);
    QTRY_COMPARE(m_portal->calls, 1);
    QWindow chooser;
    if (chooserInFront) {
        chooser.resize(300, 200);
        chooser.show();
        chooser.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&chooser, TestSupport::patience));
    }
    // The pick converts while the page says it works.
    m_portal->answerNow();
    QTRY_VERIFY(page->property("pageBusy").toBool());
    if (chooserInFront) {
        chooser.close();
        m_window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get(), TestSupport::patience));
    }
    QTRY_COMPARE(m_window->activeFocusItem(), page);
    page->setProperty("pageBusy", false);
    QTRY_COMPARE(m_window->activeFocusItem(), button);
    QVERIFY(button->property("visualFocus").toBool());
}

QTEST_MAIN(FileChooserTest)
#include "tst_file_chooser.moc"
