#include "ApplicationPhase.h"

#include <QGuiApplication>

bool ApplicationPhase::active()
{
    return qGuiApp && QGuiApplication::applicationState() == Qt::ApplicationActive;
}

QMetaObject::Connection ApplicationPhase::follow(QObject *context, std::function<void(bool)> changed)
{
    if (!qGuiApp)
        return {};
    return QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, context,
                            [changed = std::move(changed)](Qt::ApplicationState state) {
                                changed(state == Qt::ApplicationActive);
                            });
}
