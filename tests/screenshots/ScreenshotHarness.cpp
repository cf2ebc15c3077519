// Renders the app's screens to PNG files, so anyone can look at them without signing in:
//   vorna-screenshot --out DIR [--language en|zh-Hans|zh-HK|zh-TW] [screen …]
#include "AppComposition.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTimer>

#include <functional>
#include <map>

namespace {

using Loader = std::function<QQuickWindow *(QQmlApplicationEngine &)>;

// The screens the harness knows, by name.
const std::map<QString, Loader> &screens()
{
    static const std::map<QString, Loader> table{
        {QStringLiteral("window"),
         [](QQmlApplicationEngine &engine) -> QQuickWindow * {
             engine.load(AppComposition::mainWindow());
             return engine.rootObjects().isEmpty() ? nullptr
                                                   : qobject_cast<QQuickWindow *>(engine.rootObjects().first());
         }},
    };
    return table;
}

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

} // namespace

int main(int argc, char *argv[])
{
    // Without a display (a plain ctest run), draw off screen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QString language = QStringLiteral("zh-Hans");
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArray(argv[i]) == "--language")
            language = QString::fromLocal8Bit(argv[i + 1]);
    }
    // The app reads its language from the system's preferences, so the harness sets them.
    qputenv("LANGUAGE", languageVariable(language).toLocal8Bit());

    QGuiApplication app(argc, argv);
    AppComposition::describeApplication();
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("out"), QStringLiteral("Folder for the PNG files."), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("language"), QStringLiteral("en, zh-Hans, zh-HK or zh-TW."),
                      QStringLiteral("language"), QStringLiteral("zh-Hans")});
    parser.addOption({QStringLiteral("size"), QStringLiteral("Window size, WIDTHxHEIGHT."), QStringLiteral("size"),
                      QStringLiteral("1100x720")});
    parser.addPositionalArgument(QStringLiteral("screen"), QStringLiteral("Screens to render (all by default)."));
    parser.process(app);

    const QString out = parser.value(QStringLiteral("out"));
    if (out.isEmpty() || !QDir().mkpath(out)) {
        qCritical("vorna-screenshot: --out must name a folder it can write");
        return 2;
    }
    QStringList wanted = parser.positionalArguments();
    if (wanted.isEmpty()) {
        for (const auto &[name, loader] : screens())
            wanted.append(name);
    }
    const QStringList size = parser.value(QStringLiteral("size")).split(QLatin1Char('x'));

    int failures = 0;
    for (const QString &name : wanted) {
        const auto found = screens().find(name);
        if (found == screens().end()) {
            qCritical("vorna-screenshot: no screen named %s", qPrintable(name));
            ++failures;
            continue;
        }
        QQmlApplicationEngine engine;
        AppComposition::prepareEngine(engine);
        QQuickWindow *window = found->second(engine);
        if (!window) {
            qCritical("vorna-screenshot: %s did not load", qPrintable(name));
            ++failures;
            continue;
        }
        if (size.size() == 2)
            window->resize(size.at(0).toInt(), size.at(1).toInt());
        window->show();
        // Let layouts settle and a few frames pass before the picture.
        QEventLoop settle;
        QTimer::singleShot(700, &settle, &QEventLoop::quit);
        settle.exec();
        const QImage image = window->grabWindow();
        const QString file = QDir(out).filePath(QStringLiteral("%1-%2.png").arg(name, language));
        if (!drewSomething(image) || !image.save(file)) {
            qCritical("vorna-screenshot: %s rendered nothing", qPrintable(name));
            ++failures;
            continue;
        }
        QTextStream(stdout) << file << Qt::endl;
    }
    return failures == 0 ? 0 : 1;
}
