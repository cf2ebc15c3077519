#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>

#include "AppComposition.h"

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    AppComposition::describeApplication();
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    QQmlApplicationEngine engine;
    AppComposition::prepareEngine(engine);
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreated, &app,
        [](QObject *created, const QUrl &) {
            if (!created)
                QCoreApplication::exit(1);
        },
        Qt::QueuedConnection);
    engine.load(AppComposition::mainWindow());
    return app.exec();
}
