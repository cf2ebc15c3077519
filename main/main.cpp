#include <QGuiApplication>
#include <QProcessEnvironment>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTextStream>

#include "AppComposition.h"
#include "FileChooser.h"
#include "InstanceChannel.h"
#include "MainLog.h"
#include "MemberNavigation.h"
#include "QtTexts.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char *argv[])
{
#ifdef __GLIBC__
    // A fixed threshold: pictures and buffers of a few hundred kilobytes and more (the intro's art, decoded
    // photos, painted items) go back to the system when freed. glibc's sliding default keeps them in the
    // render thread's arena once the first is freed, tens of megabytes a signed-in window never uses again.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    AppComposition::useRenderer(AppComposition::chooseRenderer(environment));
    QGuiApplication app(argc, argv);
    const bool portal = AppComposition::choosePortal(environment, arguments, [&environment] {
        return AppComposition::fileChooserPortalVersion(environment);
    });
    if (portal)
        qCInfo(lcMain, "files are picked in the desktop's chooser, through its portal");
    FileChooser::usePortal(portal);
    AppComposition::describeApplication();
    AppComposition::useTextFonts();
    // Qt's own texts (the file dialog's, the standard buttons) in the member's language.
    Text::installQtTexts();

    // The links the desktop started us with ("vorna://live-map/own-flight").
    QStringList links = QCoreApplication::arguments().mid(1);
    links.removeIf([](const QString &argument) { return QUrl(argument).scheme().isEmpty(); });

    InstanceChannel channel;
    if (channel.handOver(links)) {
        // Whoever started us from a terminal (on another display, say) learns where the window went.
        QTextStream(stderr) << "Vornalia is already running in this session: its window was brought to the "
                               "front there, and this copy exits.\n";
        return 0;
    }
    channel.listen();

    QQuickStyle::setStyle(QStringLiteral("Basic"));
    // Before the engine, which shows them and goes first.
    AppComposition::ProcessObjects objects;
    QQmlApplicationEngine engine;
    AppComposition::prepareEngine(engine);
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreated, &app,
        [](QObject *created, const QUrl &) {
            if (!created) {
                qCWarning(lcMain, "the window could not be made");
                QCoreApplication::exit(1);
            }
        },
        Qt::QueuedConnection);

    const auto open = [&objects](const QStringList &received) {
        for (const QString &link : received)
            objects.navigation().open(QUrl(link));
    };
    QObject::connect(
        &channel, &InstanceChannel::received, &app, [&engine, open](const QStringList &received) {
            open(received);
            if (!engine.rootObjects().isEmpty()) {
                if (auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst())) {
                    window->show();
                    window->raise();
                    window->requestActivate();
                }
            }
        });
    open(links);

    engine.load(AppComposition::mainWindow());
    return app.exec();
}
