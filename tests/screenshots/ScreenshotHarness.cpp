// Renders the app's screens to PNG files, so anyone can look at them without signing in:
//   vorna-screenshot --out DIR [--language en|zh-Hans|zh-HK|zh-TW] [--theme light|dark] [screen …]
// A screen is the app's window ("window") or a QML file in screens/ whose root item is shown in a window
// of --size, or of the size its property "windowSize" names. The sample member service runs in-process, and
// the app is pointed at it, so screens can show sample data, and a screen can make it misbehave
// (Vorna.Screenshots) or have keys typed ("typed").
#include "AppComposition.h"
#include "SampleService.h"
#include "SampleSwitches.h"

#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtWebEngineQuick>

#include <unistd.h>

#include <memory>

namespace {

// A picture of one colour means nothing was drawn.
bool drewSomething(const QImage &image)
{
    if (image.isNull())
        return false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            if (image.pixel(x, y) != first)
                return true;
        }
    }
    return false;
}

QString languageVariable(const QString &language)
{
    if (language == QLatin1String("en"))
        return QStringLiteral("en_US");
    if (language == QLatin1String("zh-HK"))
        return QStringLiteral("zh_HK");
    if (language == QLatin1String("zh-TW"))
        return QStringLiteral("zh_TW");
    return QStringLiteral("zh_CN");
}

QString optionValue(int argc, char *argv[], const char *name, const char *fallback)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArray(argv[i]) == name)
            return QString::fromLocal8Bit(argv[i + 1]);
    }
    return QString::fromLatin1(fallback);
}

QStringList availableScreens()
{
    QStringList names{QStringLiteral("window")};
    QDirIterator it(QStringLiteral(":/screenshots/screens"), {QStringLiteral("*.qml")});
    while (it.hasNext())
        names.append(QFileInfo(it.next()).completeBaseName());
    names.sort();
    return names;
}

// Loads one screen into a window. The app's window ("window") is the engine's; any other the caller owns and
// deletes before the engine. The screen's root object goes to *root.
QQuickWindow *load(QQmlApplicationEngine &engine, const QString &name, const QSize &size, QObject **root)
{
    if (name == QLatin1String("window")) {
        engine.load(AppComposition::mainWindow());
        if (engine.rootObjects().isEmpty())
            return nullptr;
        auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
        if (window)
            window->resize(size);
        *root = window;
        return window;
    }
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/screenshots/screens/%1.qml").arg(name)));
    QObject *created = component.create();
    if (!created) {
        qCritical("%s", qPrintable(component.errorString()));
        return nullptr;
    }
    *root = created;
    // A screen of a narrow (or any other) window names its size.
    const QSize wanted = created->property("windowSize").toSize();
    const QSize windowSize = wanted.isValid() ? wanted : size;
    if (auto *window = qobject_cast<QQuickWindow *>(created)) {
        window->resize(windowSize);
        return window;
    }
    auto *item = qobject_cast<QQuickItem *>(created);
    if (!item)
        return nullptr;
    auto *window = new QQuickWindow;
    window->resize(windowSize);
    item->setParentItem(window->contentItem());
    item->setSize(windowSize);
    created->setParent(window);
    return window;
}

// Lets the window draw what it has; the screen's loads and pictures come in meanwhile.
void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// A key pressed and let go, with the modifiers held at each.
void sendKey(QQuickWindow *window, int key, Qt::KeyboardModifiers down, Qt::KeyboardModifiers up,
             const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, down, text);
    QKeyEvent release(QEvent::KeyRelease, key, up, text);
    QGuiApplication::sendEvent(window, &press);
    QGuiApplication::sendEvent(window, &release);
}

// Types the keys a screen asks for, as a user would: "\t" is Tab, "⇤" Shift+Tab, "\r" Return, "↑" and "↓" the
// arrows, "⌥" Alt pressed and let go on its own, others their character.
void type(QQuickWindow *window, const QString &keys)
{
    for (const QChar c : keys) {
        if (c == QChar(0x2325)) {
            sendKey(window, Qt::Key_Alt, Qt::AltModifier, Qt::NoModifier);
            continue;
        }
        if (c == QChar(0x21E4)) {
            sendKey(window, Qt::Key_Backtab, Qt::ShiftModifier, Qt::ShiftModifier);
            continue;
        }
        const bool arrow = c == QChar(0x2191) || c == QChar(0x2193);
        const int key = c == u'\t'           ? Qt::Key_Tab
                        : c == u'\r'         ? Qt::Key_Return
                        : c == QChar(0x2191) ? Qt::Key_Up
                        : c == QChar(0x2193) ? Qt::Key_Down
                                             : int(c.toUpper().unicode());
        sendKey(window, key, Qt::NoModifier, Qt::NoModifier, arrow ? QString() : QString(c));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // Without a display (a plain ctest run), draw off screen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString language = optionValue(argc, argv, "--language", "zh-Hans");
    // The app reads its language from the system's preferences, so the harness sets them.
    qputenv("LANGUAGE", languageVariable(language).toLocal8Bit());

    // Settings of each run stay apart: runs side by side (light and dark) must not see each other's.
    // Nor may they touch the keychain or files of whoever runs them: sessions go to private files here.
    // So do the caches (pictures, compiled QML, shaders) and what the web engine keeps in the home folder:
    // every run of the harness writes them, and CTest runs several side by side.
    QTemporaryDir settingsHome;
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", settingsHome.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", settingsHome.filePath(QStringLiteral("cache")).toLocal8Bit());
    const QString home = settingsHome.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    qputenv("HOME", home.toLocal8Bit());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vorna-screenshots");

    // Chromium refuses to run as root with its sandbox, as the harness does in containers.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QtWebEngineQuick::initialize();
    QGuiApplication app(argc, argv);
    AppComposition::describeApplication();
    AppComposition::useTextFonts();
    // Settings of the harness stay apart from the app's own.
    QCoreApplication::setOrganizationName(QStringLiteral("VornaliaScreenshots"));
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("out"), QStringLiteral("Folder for the PNG files."), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("language"), QStringLiteral("en, zh-Hans, zh-HK or zh-TW."),
                      QStringLiteral("language"), QStringLiteral("zh-Hans")});
    parser.addOption({QStringLiteral("theme"), QStringLiteral("light or dark."), QStringLiteral("theme"),
                      QStringLiteral("light")});
    parser.addOption({QStringLiteral("size"), QStringLiteral("Window size, WIDTHxHEIGHT."),
                      QStringLiteral("size"), QStringLiteral("1100x720")});
    parser.addOption({QStringLiteral("list"), QStringLiteral("List the screens.")});
    parser.addOption({QStringLiteral("wait"), QStringLiteral("Milliseconds to let a screen settle."),
                      QStringLiteral("ms"), QStringLiteral("1500")});
    parser.addPositionalArgument(QStringLiteral("screen"),
                                 QStringLiteral("Screens to render (all by default)."));
    parser.process(app);

    if (parser.isSet(QStringLiteral("list"))) {
        QTextStream(stdout) << availableScreens().join(QLatin1Char('\n')) << Qt::endl;
        return 0;
    }
    const QString out = parser.value(QStringLiteral("out"));
    if (out.isEmpty() || !QDir().mkpath(out)) {
        qCritical("vorna-screenshot: --out must name a folder it can write");
        return 2;
    }
    const QString theme = parser.value(QStringLiteral("theme"));
    QSettings().setValue(QStringLiteral("appTheme"), theme);

    // The sample member service, and the app pointed at it, before anything reads the origin.
    Sample::Service service;
    QTemporaryDir scratch;
    if (!service.start() || !scratch.isValid()) {
        qCritical("vorna-screenshot: the sample member service did not start");
        return 2;
    }
    if (!service.standIn(scratch.path(),
                         {QStringLiteral("MEMBER"), QStringLiteral("FORUM"), QStringLiteral("LIVE_VENDOR")}))
        return 2;
    SampleSwitches::use(&service);

    QStringList wanted = parser.positionalArguments();
    if (wanted.isEmpty())
        wanted = availableScreens();
    const QStringList size = parser.value(QStringLiteral("size")).split(QLatin1Char('x'));
    const QSize windowSize =
        size.size() == 2 ? QSize(size.at(0).toInt(), size.at(1).toInt()) : QSize(1100, 720);

    int failures = 0;
    for (const QString &name : std::as_const(wanted)) {
        if (!availableScreens().contains(name)) {
            qCritical("vorna-screenshot: no screen named %s", qPrintable(name));
            ++failures;
            continue;
        }
        // A screen's misbehaviour stays with it.
        service.clearFaults();
        service.setLiveSnapshotFailing(false);
        service.publishRelease(Sample::Service::Release::Newer);
        // Each screen has process-wide objects of its own, made before its engine and kept after it.
        AppComposition::ProcessObjects objects;
        auto engine = std::make_unique<QQmlApplicationEngine>();
        AppComposition::prepareEngine(*engine);
        QObject *root = nullptr;
        QQuickWindow *window = load(*engine, name, windowSize, &root);
        // The screen's window and items go before its engine, on every way out: nothing of a screen may run
        // once its engine has gone. Left for later, an animation that the picture's last layout pass started
        // (a sheet still settling on a busy machine) ran at the next screen's first frame on items whose
        // engine was gone, and crashed the harness.
        const std::unique_ptr<QQuickWindow> screenWindow(name == QLatin1String("window") ? nullptr : window);
        if (!window) {
            qCritical("vorna-screenshot: %s did not load", qPrintable(name));
            ++failures;
            continue;
        }
        window->show();
        window->requestActivate(); // keys typed go to the active window
        // Let layouts settle, pictures arrive and a few frames pass before the picture.
        settle(parser.value(QStringLiteral("wait")).toInt());
        // Each part is typed once the screen has settled after the one before (a sign-in, say).
        for (const QString &keys : root->property("typed").toStringList()) {
            type(window, keys);
            settle(parser.value(QStringLiteral("wait")).toInt());
        }
        // A screen slow to draw its first frame on a busy machine (a web page's) gets a few more waits.
        QImage image = window->grabWindow();
        for (int retry = 0; retry < 8 && !drewSomething(image); ++retry) {
            settle(parser.value(QStringLiteral("wait")).toInt());
            image = window->grabWindow();
        }
        const QString file = QDir(out).filePath(QStringLiteral("%1-%2-%3.png").arg(name, language, theme));
        if (!drewSomething(image) || !image.save(file)) {
            qCritical("vorna-screenshot: %s rendered nothing", qPrintable(name));
            ++failures;
            continue;
        }
        QTextStream(stdout) << file << Qt::endl;
    }
    return failures == 0 ? 0 : 1;
}
