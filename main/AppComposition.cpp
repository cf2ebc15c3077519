#include "AppComposition.h"

#include "SecretTextAccessibility.h"

#include "BuildInfo.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QQmlEngine>

namespace AppComposition {

void describeApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Vornalia"));
    QCoreApplication::setApplicationName(QStringLiteral("Vornalia"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1 (%2)")
                                                .arg(QLatin1String(BuildInfo::version))
                                                .arg(QLatin1String(BuildInfo::build)));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vornalia.MemberCentre"));
}

void prepareEngine(QQmlEngine &engine)
{
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    // Before the first window, whose accessible factory would answer for password fields first.
    SecretTextAccessibility::install();
}

QUrl mainWindow() { return QUrl(QStringLiteral("qrc:/qt/qml/Vorna/Main/Main.qml")); }

ProcessObjects::ProcessObjects()
    : m_navigation(nullptr)
    , m_images(AircraftImageService::defaultOptions())
    , m_updater(MacUpdater::defaultOptions())
{
}

} // namespace AppComposition
