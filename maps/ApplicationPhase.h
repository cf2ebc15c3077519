#pragma once

#include <QMetaObject>
#include <QObject>

#include <functional>

// The scene phase of the app: whether it is active (its window in front), and word when that changes. Kept
// apart because the application's header brings the X11 display type, whose name Display:: also has.
namespace ApplicationPhase {

// False without a GUI application (a test drives the phase itself then).
bool active();
// Calls `changed` with the new phase for as long as `context` lives; nothing without a GUI application.
QMetaObject::Connection follow(QObject *context, std::function<void(bool active)> changed);

} // namespace ApplicationPhase
