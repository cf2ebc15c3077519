#include "SettingsModels.h"

#include "AircraftImageService.h"
#include "AppLanguage.h"
#include "BuildInfo.h"
#include "ServiceHosts.h"

#include <QProcess>
#include <QStandardPaths>

LanguageSettings::LanguageSettings(QObject *parent)
    : QObject(parent)
    , m_command(commandFor(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), [](const QString &program) {
        return !QStandardPaths::findExecutable(program).isEmpty();
    }))
{
}

QString LanguageSettings::currentName() const { return AppLanguage::currentName(); }

QStringList LanguageSettings::commandFor(const QString &currentDesktop,
                                         const std::function<bool(const QString &)> &found)
{
    const QStringList desktops = currentDesktop.toUpper().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if ((desktops.contains(QLatin1String("GNOME")) || desktops.contains(QLatin1String("UNITY")))
        && found(QStringLiteral("gnome-control-center")))
        return {QStringLiteral("gnome-control-center"), QStringLiteral("region")};
    if (desktops.contains(QLatin1String("KDE")) && found(QStringLiteral("systemsettings")))
        return {QStringLiteral("systemsettings"), QStringLiteral("kcm_regionandlang")};
    return {};
}

void LanguageSettings::open() const
{
    if (!m_command.isEmpty())
        QProcess::startDetached(m_command.constFirst(), m_command.mid(1));
}

AppInformationModel::AppInformationModel(QObject *parent)
    : QObject(parent)
{
}

QString AppInformationModel::versionText(const QString &version, const QString &build)
{
    return (version.isEmpty() ? QStringLiteral("1.0") : version) + QStringLiteral(" (")
           + (build.isEmpty() ? QStringLiteral("1") : build) + QLatin1Char(')');
}

QString AppInformationModel::version() const
{
    return versionText(QString::fromLatin1(BuildInfo::version), QString::fromLatin1(BuildInfo::build));
}

QString AppInformationModel::serviceHost() const { return hostOf(ServiceHosts::memberEndpoint().origin); }

QString AppInformationModel::hostOf(const QUrl &origin)
{
    return origin.port() < 0 ? origin.host()
                             : origin.host() + QLatin1Char(':') + QString::number(origin.port());
}

void AppInformationModel::clearPictureCaches()
{
    AircraftImageService::shared().clearCache();
    m_cacheCleared = true;
    Q_EMIT cacheClearedChanged();
}
