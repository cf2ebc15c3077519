#pragma once

#include "AccountRecords.h"
#include "DesktopSettings.h"

#include <QColor>
#include <QLinearGradient>
#include <QObject>
#include <QQmlEngine>
#include <QString>

// The palette of the app: eleven colours with a light and a dark value, three fixed colours and the hero
// gradient. Views read every colour from `Theme`; nothing else names a colour.
namespace Palette {

enum class Name {
    Ink,
    Accent,
    Muted,
    Line,
    Paper,
    Surface,
    Sunken,
    GlassLabel,
    Approved,
    Rejected,
    Pending,
};

struct Pair
{
    quint32 light;
    quint32 dark;
};

// The light and dark value of a colour, as 0xRRGGBB.
Pair pair(Name name);
// 0xRRGGBB as an opaque colour; the top byte is ignored.
QColor rgb(quint32 value);
QColor color(Name name, bool dark);

inline constexpr quint32 slate = 0x3B434E;
inline constexpr quint32 night = 0x232836;
inline constexpr quint32 gold = 0xE3B866;
inline constexpr quint32 white = 0xFFFFFF;

// Slate to night, evenly, from the top-leading corner of a rectangle to its bottom-trailing corner.
QLinearGradient hero(const QRectF &rect);

} // namespace Palette

// The "appTheme" setting and how it meets the desktop's own scheme.
namespace Appearance {

inline const QString system = QStringLiteral("system");
inline const QString light = QStringLiteral("light");
inline const QString dark = QStringLiteral("dark");

// One of the three values; anything else (an old or hand-edited setting) follows the system.
QString normalized(const QString &setting);
// Whether the dark palette applies. For "system" the portal's answer decides; without one (no portal,
// or no preference) the lightness of the application palette does.
bool isDark(const QString &setting, DesktopSettings::Scheme scheme, bool paletteIsDark);

} // namespace Appearance

class Theme : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QColor ink READ ink NOTIFY paletteChanged)
    Q_PROPERTY(QColor accent READ accent NOTIFY paletteChanged)
    Q_PROPERTY(QColor muted READ muted NOTIFY paletteChanged)
    Q_PROPERTY(QColor line READ line NOTIFY paletteChanged)
    Q_PROPERTY(QColor paper READ paper NOTIFY paletteChanged)
    Q_PROPERTY(QColor surface READ surface NOTIFY paletteChanged)
    Q_PROPERTY(QColor sunken READ sunken NOTIFY paletteChanged)
    Q_PROPERTY(QColor glassLabel READ glassLabel NOTIFY paletteChanged)
    Q_PROPERTY(QColor approved READ approved NOTIFY paletteChanged)
    Q_PROPERTY(QColor rejected READ rejected NOTIFY paletteChanged)
    Q_PROPERTY(QColor pending READ pending NOTIFY paletteChanged)
    Q_PROPERTY(QColor slate READ slate CONSTANT)
    Q_PROPERTY(QColor slateText READ slateText NOTIFY paletteChanged)
    // The colours of the roles, in their order: what a binding reads to follow the appearance, which a call
    // of role() does not.
    Q_PROPERTY(QList<QColor> roleColors READ roleColors NOTIFY paletteChanged)
    Q_PROPERTY(QColor night READ night CONSTANT)
    Q_PROPERTY(QColor gold READ gold CONSTANT)
    Q_PROPERTY(QColor white READ white CONSTANT)
    Q_PROPERTY(bool dark READ dark NOTIFY paletteChanged)
    Q_PROPERTY(QString appearance READ appearance WRITE setAppearance NOTIFY appearanceChanged)
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY reduceMotionChanged)

public:
    // The colours that stand for a meaning (a report's verdict, an aircraft's activity), and those a control
    // drawn in one scheme whatever the appearance asks for by name.
    enum Role {
        Accent,
        Approved,
        Rejected,
        Pending,
        Ink,
        Muted,
        Surface,
        Line,
    };
    Q_ENUM(Role)
    // A report's verdict colour: held reports in the accent, unknown states as pending.
    static Role verdictRole(PirepState state);

    // Follows the desktop through the portal and the application palette.
    explicit Theme(QObject *parent = nullptr);
    // Follows the given desktop state, which the caller keeps alive.
    explicit Theme(DesktopSettings *desktop, QObject *parent = nullptr);

    QColor color(Palette::Name name) const { return Palette::color(name, m_dark); }
    QColor ink() const { return color(Palette::Name::Ink); }
    QColor accent() const { return color(Palette::Name::Accent); }
    QColor muted() const { return color(Palette::Name::Muted); }
    QColor line() const { return color(Palette::Name::Line); }
    QColor paper() const { return color(Palette::Name::Paper); }
    QColor surface() const { return color(Palette::Name::Surface); }
    QColor sunken() const { return color(Palette::Name::Sunken); }
    QColor glassLabel() const { return color(Palette::Name::GlassLabel); }
    QColor approved() const { return color(Palette::Name::Approved); }
    QColor rejected() const { return color(Palette::Name::Rejected); }
    QColor pending() const { return color(Palette::Name::Pending); }
    QColor slate() const { return Palette::rgb(Palette::slate); }
    // Slate as the colour of a text or a symbol on a card: slate on light pages; on dark ones, where slate
    // is nearly the card's own colour, the main text colour.
    QColor slateText() const { return m_dark ? ink() : slate(); }
    QColor night() const { return Palette::rgb(Palette::night); }
    QColor gold() const { return Palette::rgb(Palette::gold); }
    QColor white() const { return Palette::rgb(Palette::white); }

    // The colour of a role; an unknown role gets the pending colour, as an unknown status does.
    Q_INVOKABLE QColor role(int role) const;
    // The colour of a role in the dark or the light scheme, whichever the appearance (the waiting screen's
    // controls, on its slate stage, are dark in both).
    Q_INVOKABLE QColor roleIn(int role, bool dark) const;
    QList<QColor> roleColors() const;

    bool dark() const { return m_dark; }
    QString appearance() const { return m_appearance; }
    // Stores the choice in "appTheme" and recolours at once.
    void setAppearance(const QString &appearance);
    // Takes up "appTheme" as it is stored now (the app came back to the front).
    void reloadAppearance();
    bool reduceMotion() const;

Q_SIGNALS:
    void paletteChanged();
    void appearanceChanged();
    void reduceMotionChanged();

private:
    void follow(DesktopSettings *desktop);
    void resolve();

    DesktopSettings *m_desktop = nullptr;
    QString m_appearance;
    bool m_dark = false;
    bool m_reduceMotion = false;
};
