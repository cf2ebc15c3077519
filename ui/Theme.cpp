#include "Theme.h"

#include "ApplicationPhase.h"

#include <QGuiApplication>
#include <QSettings>

namespace Palette {

Pair pair(Name name)
{
    switch (name) {
    case Name::Ink:
        return {0x202127, 0xE8EAF1};
    case Name::Accent:
        return {0xAA2B3A, 0xE25B6C};
    case Name::Muted:
        return {0x74747E, 0xA99D90};
    case Name::Line:
        return {0xE2E0DD, 0x2F333C};
    case Name::Paper:
        return {0xF2F2F7, 0x0E1014};
    case Name::Surface:
        return {0xFFFFFF, 0x1A1D23};
    case Name::Sunken:
        return {0xEDEDF2, 0x24272E};
    case Name::GlassLabel:
        return {0x42434B, 0xD5D7DF};
    case Name::Approved:
        return {0x1F9D57, 0x3CC47B};
    case Name::Rejected:
        return {0xC0303F, 0xEF5B69};
    case Name::Pending:
        return {0xC98A12, 0xE9AC3C};
    }
    return {0, 0};
}

QColor rgb(quint32 value) { return QColor::fromRgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF); }

QColor color(Name name, bool dark)
{
    const Pair values = pair(name);
    return rgb(dark ? values.dark : values.light);
}

Name forRole(int role)
{
    switch (role) {
    case Theme::Accent:
        return Name::Accent;
    case Theme::Approved:
        return Name::Approved;
    case Theme::Rejected:
        return Name::Rejected;
    case Theme::Ink:
        return Name::Ink;
    case Theme::Muted:
        return Name::Muted;
    case Theme::Surface:
        return Name::Surface;
    case Theme::Line:
        return Name::Line;
    default:
        return Name::Pending;
    }
}

QLinearGradient hero(const QRectF &rect)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomRight());
    gradient.setColorAt(0, rgb(slate));
    gradient.setColorAt(1, rgb(night));
    return gradient;
}

} // namespace Palette

namespace Appearance {

QString normalized(const QString &setting)
{
    if (setting == light || setting == dark)
        return setting;
    return system;
}

bool isDark(const QString &setting, DesktopSettings::Scheme scheme, bool paletteIsDark)
{
    const QString choice = normalized(setting);
    if (choice != system)
        return choice == dark;
    switch (scheme) {
    case DesktopSettings::Scheme::Dark:
        return true;
    case DesktopSettings::Scheme::Light:
        return false;
    case DesktopSettings::Scheme::NoPreference:
    case DesktopSettings::Scheme::Unknown:
        break;
    }
    return paletteIsDark;
}

} // namespace Appearance

namespace {

const QString settingKey = QStringLiteral("appTheme");

QString storedAppearance() { return Appearance::normalized(QSettings().value(settingKey).toString()); }

} // namespace

Theme::Theme(QObject *parent)
    : QObject(parent)
{
    auto *desktop = new DesktopSettings(this);
    desktop->watchPortal();
    follow(desktop);
}

void Theme::reloadAppearance()
{
    const QString stored = storedAppearance();
    if (stored == m_appearance)
        return;
    m_appearance = stored;
    Q_EMIT appearanceChanged();
    resolve();
}

Theme::Theme(DesktopSettings *desktop, QObject *parent)
    : QObject(parent)
{
    follow(desktop);
}

void Theme::follow(DesktopSettings *desktop)
{
    m_desktop = desktop;
    m_appearance = storedAppearance();
    connect(desktop, &DesktopSettings::changed, this, &Theme::resolve);
    // A desktop object that goes first leaves the theme on its last answer.
    connect(desktop, &QObject::destroyed, this, [this] { m_desktop = nullptr; });
    // The setting may have been changed while the app was in the background: read it again on return
    // (the desktop object asks the desktop again at the same moment).
    ApplicationPhase::followActive(this, [this](bool active) {
        if (active)
            reloadAppearance();
    });
    resolve();
}

void Theme::resolve()
{
    if (!m_desktop)
        return;
    const bool dark = Appearance::isDark(m_appearance, m_desktop->scheme(), m_desktop->paletteIsDark());
    if (dark != m_dark) {
        m_dark = dark;
        Q_EMIT paletteChanged();
    }
    const bool reduce = !m_desktop->animationsEnabled().value_or(true);
    if (reduce != m_reduceMotion) {
        m_reduceMotion = reduce;
        Q_EMIT reduceMotionChanged();
    }
}

QColor Theme::role(int role) const { return color(Palette::forRole(role)); }

QColor Theme::roleIn(int role, bool dark) const { return Palette::color(Palette::forRole(role), dark); }
QList<QColor> Theme::roleColors() const
{
    QList<QColor> colors;
    for (int role = Accent; role <= Line; ++role)
        colors.append(this->role(role));
    return colors;
}

Theme::Role Theme::verdictRole(PirepState state)
{
    switch (state) {
    case PirepState::OnHold:
        return Accent;
    case PirepState::Approved:
        return Approved;
    case PirepState::Rejected:
        return Rejected;
    case PirepState::Pending:
    case PirepState::Other:
        break;
    }
    return Pending;
}

void Theme::setAppearance(const QString &appearance)
{
    const QString choice = Appearance::normalized(appearance);
    QSettings().setValue(settingKey, choice);
    if (choice == m_appearance)
        return;
    m_appearance = choice;
    Q_EMIT appearanceChanged();
    resolve();
}

bool Theme::reduceMotion() const { return m_reduceMotion; }
