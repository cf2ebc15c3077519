#pragma once

#include "AircraftImageService.h"
#include "Installed.h"
#include "MacUpdater.h"
#include "MemberNavigation.h"
#include "SessionStore.h"

#include <QUrl>

class QProcessEnvironment;
class QQmlEngine;

// What the app and the screenshot harness share to bring up the same window.
namespace AppComposition {

// How the window is drawn: through the graphics device's OpenGL, or by Qt Quick's own software renderer.
enum class Renderer { Accelerated, Software };
// Without a graphics device (no DRM render node in `devices`), or with OpenGL told to draw in software,
// OpenGL would itself be emulated on the processor (Mesa's llvmpipe, which compiles each of the scene's
// shaders with LLVM and keeps them): the software renderer draws the same window in a fraction of its memory
// and start. A renderer named in the environment (QT_QUICK_BACKEND, QSG_RHI_BACKEND) is the one used.
Renderer chooseRenderer(const QProcessEnvironment &environment,
                        const QString &devices = QStringLiteral("/dev/dri"));
// Before the application object is made.
void useRenderer(Renderer renderer);

// Names the application (settings and data folders follow from it) and sets the format of its settings.
void describeApplication();
// Lets the engine find the app's QML modules.
void prepareEngine(QQmlEngine &engine);
// The top QML of the window.
QUrl mainWindow();

// The process-wide objects, made here and nowhere else, and installed for whoever reaches them without
// being handed them (QML singletons, links from the desktop). Made once the application object and the
// service's origin are set; kept until the engine that shows them has gone.
class ProcessObjects
{
public:
    ProcessObjects();

    FlightActivityNavigation &navigation() { return m_navigation; }

private:
    KeychainQueues m_keychain;
    FlightActivityNavigation m_navigation;
    AircraftImageService m_images;
    MacUpdater m_updater;
    const Installed<KeychainQueues> m_installedKeychain{m_keychain};
    const Installed<FlightActivityNavigation> m_installedNavigation{m_navigation};
    const Installed<AircraftImageService> m_installedImages{m_images};
    const Installed<MacUpdater> m_installedUpdater{m_updater};
};

} // namespace AppComposition
