#include "ApplicationPhase.h"

#include <QGuiApplication>

namespace {

// The application when it has a GUI; qGuiApp casts whatever application there is (a test's may have none).
QGuiApplication *guiApplication() { return qobject_cast<QGuiApplication *>(QCoreApplication::instance()); }

} // namespace

bool ApplicationPhase::active()
{
    return guiApplication() && QGuiApplication::applicationState() == Qt::ApplicationActive;
}

QMetaObject::Connection ApplicationPhase::follow(QObject *context, std::function<void(bool)> changed)
{
    QGuiApplication *application = guiApplication();
    if (!application)
        return {};
    return QObject::connect(application, &QGuiApplication::applicationStateChanged, context,
                            [changed = std::move(changed)](Qt::ApplicationState state) {
                                changed(state == Qt::ApplicationActive);
                            });
}
