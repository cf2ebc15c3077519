#include "AppComposition.h"

#include "ItemAccessibility.h"

#include "AppLanguage.h"
#include "BuildInfo.h"
#include "MainLog.h"
#include "SettingsFile.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QProcessEnvironment>
#include <QQmlEngine>
#include <QQuickWindow>

namespace AppComposition {

Renderer chooseRenderer(const QProcessEnvironment &environment, const QString &devices)
{
    const QString named = environment.value(QStringLiteral("QT_QUICK_BACKEND"));
    if (named == QLatin1String("software"))
        return Renderer::Software;
    if (!named.isEmpty() || !environment.value(QStringLiteral("QSG_RHI_BACKEND")).isEmpty())
        return Renderer::Accelerated;
    const QString forced = environment.value(QStringLiteral("LIBGL_ALWAYS_SOFTWARE")).toLower();
    if (!forced.isEmpty() && forced != QLatin1String("0") && forced != QLatin1String("false"))
        return Renderer::Software;
#ifdef Q_OS_LINUX
    // A render node, not only a card: a display-only device (a virtual machine's or the firmware's frame
    // buffer) has a card and no render node, and OpenGL on it is emulated all the same.
    const QStringList nodes =
        QDir(devices).entryList({QStringLiteral("renderD*")}, QDir::System | QDir::Files);
    return nodes.isEmpty() ? Renderer::Software : Renderer::Accelerated;
#else
    Q_UNUSED(devices)
    return Renderer::Accelerated;
#endif
}

void useRenderer(Renderer renderer)
{
    if (renderer == Renderer::Software) {
        // The Live authorisation's web view composes its pages in software too; the context its engine
        // reads as it starts is made with the first browser.
        qCInfo(lcMain, "the window is drawn by the software renderer");
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    } else {
        // The Live authorisation's web view shares the window's OpenGL context, set up with the
        // application; the web engine itself loads when that view is first made.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    }
}

bool choosePortal(const QProcessEnvironment &environment, const QStringList &arguments,
                  const std::function<std::optional<uint>()> &portalVersion)
{
    if (!environment.value(QStringLiteral("QT_QPA_PLATFORMTHEME")).isEmpty())
        return false;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("-platformtheme") || argument == QLatin1String("--platformtheme")
            || argument.startsWith(QLatin1String("-platformtheme="))
            || argument.startsWith(QLatin1String("--platformtheme=")))
            return false;
    }
    // Any version opens files; none, or a version of 0, is no portal.
    const std::optional<uint> version = portalVersion ? portalVersion() : std::nullopt;
    return version && *version != 0;
}

std::optional<uint> fileChooserPortalVersion(const QProcessEnvironment &environment, const QString &service,
                                             int timeoutMs)
{
    // libdbus's own rule: the address named, else the bus at $XDG_RUNTIME_DIR/bus. With neither it would
    // start a bus of its own ("autolaunch") and the portal in it, for nothing.
    QString address = environment.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    const QString runtime = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (address.isEmpty() && !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")))
        address = QStringLiteral("unix:path=") + runtime + QStringLiteral("/bus");
    if (address.isEmpty())
        return std::nullopt;
    const QString name = QStringLiteral("vorna-file-chooser-question");
    std::optional<uint> version;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(address, name);
        if (bus.isConnected()) {
            QDBusMessage question = QDBusMessage::createMethodCall(
                service, QStringLiteral("/org/freedesktop/portal/desktop"),
                QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
            question << QStringLiteral("org.freedesktop.portal.FileChooser") << QStringLiteral("version");
            const QDBusMessage answer = bus.call(question, QDBus::Block, timeoutMs);
            if (answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty()) {
                bool ok = false;
                const uint number =
                    answer.arguments().constFirst().value<QDBusVariant>().variant().toUInt(&ok);
                if (ok)
                    version = number;
            } else {
                qCInfo(lcMain,
                       "the desktop's file chooser portal does not answer (%s): Qt Quick's file dialog "
                       "is used",
                       qPrintable(answer.errorName()));
            }
        }
    }
    QDBusConnection::disconnectFromBus(name);
    return version;
}

void describeApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Vornalia"));
    QCoreApplication::setApplicationName(QStringLiteral("Vornalia"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1 (%2)")
                                                .arg(QLatin1String(BuildInfo::version))
                                                .arg(QLatin1String(BuildInfo::build)));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vornalia.MemberCentre"));
    // Before anything reads a setting: the file is read by our reader, which a damaged value cannot stop.
    SettingsFile::install();
}

void useTextFonts()
{
    const QString language = AppLanguage::current();
    const QString chinese = language == QLatin1String("zh-HK")   ? QStringLiteral("Noto Sans CJK HK")
                            : language == QLatin1String("zh-TW") ? QStringLiteral("Noto Sans CJK TC")
                                                                 : QStringLiteral("Noto Sans CJK SC");
    QFont font = QGuiApplication::font();
    // The desktop's font by the family it resolves to: an alias ("Sans Serif") is no family of the font
    // database, and a list that begins with one begins at the next.
    QStringList families{QFontInfo(font).family()};
    // A Chinese font before the emoji font: a run of Chinese takes the first font that writes it, and the
    // emoji font's wide digits and spaces would otherwise stand in it.
    for (const QString &family : {chinese, QStringLiteral("Noto Color Emoji")}) {
        if (!families.contains(family) && QFontDatabase::hasFamily(family))
            families.append(family);
    }
    font.setFamilies(families);
    QGuiApplication::setFont(font);
}

void prepareEngine(QQmlEngine &engine)
{
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    // Modules loaded from disk when first imported (the Live browser's web engine side): beside the
    // installed binary, or in the build's folder when run from there.
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/vornalia/qml");
    engine.addImportPath(QDir(installed).exists() ? installed : QStringLiteral(VORNA_BUILD_QML_DIR));
    // Before the first window, whose accessible factory would answer for password fields first.
    ItemAccessibility::install();
}

QUrl mainWindow() { return QUrl(QStringLiteral("qrc:/qt/qml/Vorna/Main/Main.qml")); }

ProcessObjects::ProcessObjects()
    : m_navigation(nullptr)
    , m_images(AircraftImageService::defaultOptions())
    , m_updater(UpdateCheck::defaultOptions())
{
}

} // namespace AppComposition
