#pragma once

#include <QMetaObject>
#include <QObject>

#include <functional>

class QGuiApplication;

// The scene phase of the app: whether it is active (its window in front), and word when that changes. Kept
// apart because the application's header brings the X11 display type, whose name Display:: also has.
// Without a GUI application (a test's may be a plain one) the app counts as active and nothing changes:
// qGuiApp would cast whatever application there is.
namespace ApplicationPhase {

// The application when it has a GUI, else null.
QGuiApplication *guiApplication();
// Active without a GUI application (a test drives the phase itself then).
Qt::ApplicationState state();
// False without a GUI application.
bool active();
// Calls `changed` with the new phase for as long as `context` lives; nothing without a GUI application.
QMetaObject::Connection follow(QObject *context, std::function<void(Qt::ApplicationState)> changed);
QMetaObject::Connection followActive(QObject *context, std::function<void(bool active)> changed);

} // namespace ApplicationPhase
