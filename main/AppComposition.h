#pragma once

#include "AircraftImageService.h"
#include "Installed.h"
#include "MemberNavigation.h"
#include "SessionStore.h"
#include "UpdateCheck.h"

#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

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

// The desktop's own file chooser, where it has one: the freedesktop FileChooser portal (xdg-desktop-portal,
// which shows GNOME's chooser, KDE's or another desktop's), called by ui/'s PortalFilePick; Qt Quick's own
// file dialog stays where the portal cannot answer. Taken only when neither the member's environment
// (QT_QPA_PLATFORMTHEME) nor the command line ("-platformtheme") names a platform theme, whose own dialogs
// serve then, and when the portal's FileChooser answers: `portalVersion` asks it, and is called only then.
bool choosePortal(const QProcessEnvironment &environment, const QStringList &arguments,
                  const std::function<std::optional<uint>()> &portalVersion);
// The version of the FileChooser portal that answers under `service` on the session bus within `timeoutMs`
// (starting the portal if the bus can), none without a session bus or an answer. Safe before the application
// object is made: it uses a connection of its own and closes it. Without a session bus address in the
// environment nothing is asked, so no bus is started for the question.
std::optional<uint>
fileChooserPortalVersion(const QProcessEnvironment &environment,
                         const QString &service = QStringLiteral("org.freedesktop.portal.Desktop"),
                         int timeoutMs = 1000);
// Names the application (settings and data folders follow from it) and sets the format of its settings.
void describeApplication();
// The fonts texts are drawn in, after the desktop's own: Chinese in the form of the app's language (its
// digits and spaces too, which run with the Chinese around them), then emoji in colour wherever a text
// shows one ("已登录 🟢", a flag), before the fonts the desktop's fallback would try first (on Debian a
// black-and-white symbol font, which drew "🟢" as a grey hatched dot). Once the application object exists.
void useTextFonts();
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
    UpdateCheck m_updater;
    const Installed<KeychainQueues> m_installedKeychain{m_keychain};
    const Installed<FlightActivityNavigation> m_installedNavigation{m_navigation};
    const Installed<AircraftImageService> m_installedImages{m_images};
    const Installed<UpdateCheck> m_installedUpdater{m_updater};
};

} // namespace AppComposition
