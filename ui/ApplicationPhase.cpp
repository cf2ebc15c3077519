#include "ApplicationPhase.h"

#include <QGuiApplication>

QGuiApplication *ApplicationPhase::guiApplication()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance());
}

Qt::ApplicationState ApplicationPhase::state()
{
    return guiApplication() ? QGuiApplication::applicationState() : Qt::ApplicationActive;
}

bool ApplicationPhase::active()
{
    return guiApplication() && QGuiApplication::applicationState() == Qt::ApplicationActive;
}

QMetaObject::Connection ApplicationPhase::follow(QObject *context,
                                                 std::function<void(Qt::ApplicationState)> changed)
{
    QGuiApplication *application = guiApplication();
    if (!application)
        return {};
    return QObject::connect(application, &QGuiApplication::applicationStateChanged, context,
                            std::move(changed));
}

QMetaObject::Connection ApplicationPhase::followActive(QObject *context, std::function<void(bool)> changed)
{
    return follow(context, [changed = std::move(changed)](Qt::ApplicationState state) {
        changed(state == Qt::ApplicationActive);
    });
}
