#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>

#include "AppComposition.h"
#include "InstanceChannel.h"
#include "MainLog.h"
#include "MemberNavigation.h"

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    AppComposition::describeApplication();

    // The links the desktop started us with ("vorna://live-map/own-flight").
    QStringList links = QCoreApplication::arguments().mid(1);
    links.removeIf([](const QString &argument) { return QUrl(argument).scheme().isEmpty(); });

    InstanceChannel channel;
    if (channel.handOver(links))
        return 0;
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
