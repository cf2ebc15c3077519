#include "DesktopSettings.h"

#include "ApplicationPhase.h"
#include "UiLog.h"

#include <QApplicationStateChangeEvent>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

#include <cmath>

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString portalSettings = QStringLiteral("org.freedesktop.portal.Settings");

const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");
const QString gnomeGroup = QStringLiteral("org.gnome.desktop.interface");
const QString gnomeAnimationsKey = QStringLiteral("enable-animations");
const QString kdeGroup = QStringLiteral("org.kde.kdeglobals.KDE");
const QString kdeAnimationsKey = QStringLiteral("AnimationDurationFactor");

bool paletteLooksDark()
{
    if (!ApplicationPhase::guiApplication())
        return false;
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

} // namespace

DesktopSettings::DesktopSettings(QObject *parent)
    : QObject(parent)
    , m_paletteIsDark(paletteLooksDark())
{
    if (QGuiApplication *application = ApplicationPhase::guiApplication())
        application->installEventFilter(this);
}

void DesktopSettings::watchPortal(const QString &service)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !m_portalService.isEmpty())
        return;
    m_portalService = service;
    // The signal is taken as the whole message: QtDBus refuses to match a slot of typed arguments (the third
    // a QDBusVariant) to it, and would follow nothing.
    if (!bus.connect(m_portalService, portalPath, portalSettings, QStringLiteral("SettingChanged"),
                     QStringLiteral("ssv"), this, SLOT(portalSettingChanged(QDBusMessage))))
        qCDebug(lcUi) << "the settings portal's changes cannot be followed" << bus.lastError().message();
    read(appearanceGroup, colorSchemeKey);
    read(gnomeGroup, gnomeAnimationsKey);
    read(kdeGroup, kdeAnimationsKey);
}

void DesktopSettings::refresh()
{
    setPaletteIsDark(paletteLooksDark());
    if (!m_portalService.isEmpty())
        read(appearanceGroup, colorSchemeKey);
}

void DesktopSettings::read(const QString &group, const QString &key)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(m_portalService, portalPath, portalSettings, QStringLiteral("Read"));
    message << group << key;
    // Asynchronous, so a slow or absent portal never holds up the first window.
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, group, key] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *watcher;
        if (!reply.isError())
            applyPortalSetting(group, key, QVariant::fromValue(reply.value()));
        else
            qCDebug(lcUi) << "the settings portal does not answer" << group << key << reply.error().name();
    });
}

void DesktopSettings::portalSettingChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() == 3)
        applyPortalSetting(arguments.at(0).toString(), arguments.at(1).toString(), arguments.at(2));
}

QVariant DesktopSettings::unwrap(const QVariant &value)
{
    QVariant current = value;
    // Read answers a variant holding the setting's variant; a marshalled argument can hide one more.
    for (int depth = 0; depth < 4; ++depth) {
        if (current.metaType() == QMetaType::fromType<QDBusVariant>()) {
            current = current.value<QDBusVariant>().variant();
        } else if (current.metaType() == QMetaType::fromType<QDBusArgument>()) {
            const auto argument = current.value<QDBusArgument>();
            if (argument.currentType() != QDBusArgument::VariantType)
                break;
            current = qdbus_cast<QDBusVariant>(argument).variant();
        } else {
            break;
        }
    }
    return current;
}

DesktopSettings::Scheme DesktopSettings::schemeFromPortal(const QVariant &value)
{
    const QVariant plain = unwrap(value);
    bool ok = false;
    const uint number = plain.toUInt(&ok);
    if (!ok || plain.metaType() == QMetaType::fromType<QString>())
        return Scheme::Unknown;
    switch (number) {
    case 0:
        return Scheme::NoPreference;
    case 1:
        return Scheme::Dark;
    case 2:
        return Scheme::Light;
    default:
        return Scheme::Unknown; // a value from a later portal version
    }
}

void DesktopSettings::applyPortalSetting(const QString &group, const QString &key, const QVariant &value)
{
    const Scheme oldScheme = m_scheme;
    const std::optional<bool> oldAnimations = m_animations;
    const QVariant plain = unwrap(value);

    if (group == appearanceGroup && key == colorSchemeKey) {
        m_scheme = schemeFromPortal(plain);
    } else if (group == gnomeGroup && key == gnomeAnimationsKey) {
        if (plain.metaType() == QMetaType::fromType<bool>())
            m_gnomeAnimations = plain.toBool();
    } else if (group == kdeGroup && key == kdeAnimationsKey) {
        // KDE hands its settings file's entries over as text; a factor of 0 turns animations off.
        bool ok = false;
        const double factor = plain.toDouble(&ok);
        if (ok && std::isfinite(factor))
            m_kdeAnimations = factor > 0;
    } else {
        return;
    }

    // Either desktop switching animations off is enough to hold still.
    if (m_gnomeAnimations == false || m_kdeAnimations == false)
        m_animations = false;
    else if (m_gnomeAnimations || m_kdeAnimations)
        m_animations = true;
    else
        m_animations.reset();

    if (oldScheme != m_scheme || oldAnimations != m_animations)
        Q_EMIT changed();
}

void DesktopSettings::setPaletteIsDark(bool dark)
{
    if (m_paletteIsDark == dark)
        return;
    m_paletteIsDark = dark;
    Q_EMIT changed();
}

bool DesktopSettings::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange)
        setPaletteIsDark(paletteLooksDark());
    else if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationStateChange
             && static_cast<QApplicationStateChangeEvent *>(event)->applicationState()
                    == Qt::ApplicationActive)
        refresh();
    return QObject::eventFilter(watched, event);
}
