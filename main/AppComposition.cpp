#include "AppComposition.h"

#include "BuildInfo.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Vorna_UiPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_StatePlugin)
Q_IMPORT_QML_PLUGIN(Vorna_ImagesPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_PortalPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_ShellPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_UpdatesPlugin)
Q_IMPORT_QML_PLUGIN(Vorna_MainPlugin)

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

void prepareEngine(QQmlEngine &engine) { engine.addImportPath(QStringLiteral("qrc:/qt/qml")); }

QUrl mainWindow() { return QUrl(QStringLiteral("qrc:/qt/qml/Vorna/Main/Main.qml")); }

} // namespace AppComposition
