#pragma once

#include <QUrl>

class QQmlEngine;

// What the app and the screenshot harness share to bring up the same window.
namespace AppComposition {

// Names the application (settings and data folders follow from it).
void describeApplication();
// Lets the engine find the app's QML modules.
void prepareEngine(QQmlEngine &engine);
// The top QML of the window.
QUrl mainWindow();

} // namespace AppComposition
