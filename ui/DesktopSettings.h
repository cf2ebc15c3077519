#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

class QDBusMessage;

// What the desktop says about appearance and motion: the freedesktop settings portal (colour scheme,
// animations) and the lightness of the application palette. Portal answers arrive asynchronously and
// later changes follow through its SettingChanged signal; when the app comes back to the front, the
// portal is asked again, so a change it did not announce is taken up then.
class DesktopSettings : public QObject
{
    Q_OBJECT

public:
    // The portal's "color-scheme": 0 no preference, 1 prefer dark, 2 prefer light.
    enum class Scheme {
        Unknown, // no portal answer (yet)
        NoPreference,
        Dark,
        Light,
    };
    Q_ENUM(Scheme)

    // Starts without an answer; call watchPortal() to ask the desktop.
    explicit DesktopSettings(QObject *parent = nullptr);

    // Reads the portal's settings and subscribes to their changes. Without a session bus or a portal
    // nothing changes and the palette's lightness stays the only source. `service` is the bus name the
    // portal answers under.
    void watchPortal(const QString &service = QStringLiteral("org.freedesktop.portal.Desktop"));

    Scheme scheme() const { return m_scheme; }
    bool paletteIsDark() const { return m_paletteIsDark; }
    // Whether the desktop animates; unknown when no desktop setting says.
    std::optional<bool> animationsEnabled() const { return m_animations; }

    // One portal setting (from a Read answer or a SettingChanged signal); settings it does not know are
    // ignored. The value may come wrapped in D-Bus variants.
    void applyPortalSetting(const QString &group, const QString &key, const QVariant &value);
    // The palette's lightness decides for a desktop without a colour scheme setting.
    void setPaletteIsDark(bool dark);

    // A D-Bus value with its variant wrappers removed.
    static QVariant unwrap(const QVariant &value);
    static Scheme schemeFromPortal(const QVariant &value);

Q_SIGNALS:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void portalSettingChanged(const QDBusMessage &message);

private:
    void read(const QString &group, const QString &key);
    // The app is in front again: the portal and the palette are asked once more.
    void refresh();

    QString m_portalService; // empty while the portal is not watched
    Scheme m_scheme = Scheme::Unknown;
    bool m_paletteIsDark = false;
    std::optional<bool> m_animations;
    std::optional<bool> m_gnomeAnimations;
    std::optional<bool> m_kdeAnimations;
};
