#include "AppComposition.h"

#include "SecretTextAccessibility.h"

#include "BuildInfo.h"

#include <QCoreApplication>
#include <QDir>
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
    // Modules loaded from disk when first imported (the Live browser's web engine side): beside the
    // installed binary, or in the build's folder when run from there.
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/vornalia/qml");
    engine.addImportPath(QDir(installed).exists() ? installed : QStringLiteral(VORNA_BUILD_QML_DIR));
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
