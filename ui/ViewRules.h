#pragma once

#include <QFont>
#include <QObject>
#include <QPainterPath>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>

// The rules of the shared components, apart from their drawing: size classes, columns, percentages,
// date texts, route labels and the arrow's outline.
namespace ComponentRules {

// The window's width class, the one breakpoint of the app: a window this wide or wider is regular, a
// narrower one (or none yet) compact. Pages, columns and the live map's panels and sheets all test the
// window's width against it (`ViewRules.isRegular(Window.width)`), never a pane's own width; only
// side-by-side columns also ask for room of their own (`columnCount`).
inline constexpr double regularMinimumWidth = 700;
// The narrowest a column of two side by side may be: an event card's codes, date and three answers fit.
inline constexpr double minimumColumnWidth = 340;

bool isRegular(double width);
double pageHorizontalPadding(bool regular);
double pageMaximumWidth(bool regular);
// Two columns in a regular window whose pane gives each at least the minimum width, else one.
int columnCount(bool regular, double width, double spacing);

// A progress value clamped to 0 … 1; not a number counts as 0.
double progressFraction(double value);
// The whole percent of a progress value, rounded half away from zero.
qint64 percent(double value);
// The text of the key "%lld%" with the whole percent.
QString percentText(double value);

// A Unix time in seconds or milliseconds as text; missing, zero, negative or not a number give the text of
// the key "—".
QString dateText(std::optional<double> timestamp);

// An info tile's value: two lines shrinking to 0.8 in a free-height tile, `lines` lines shrinking to 0.6
// in a tile of fixed height.
int infoValueLines(bool fixedHeight, int lines);
double infoValueMinimumScale(bool fixedHeight);

// The route line's accessibility label and value, and its names line.
QString routeLabel(const QString &from, const QString &to);
QString routeDescription(const QString &caption, const QString &fromName, const QString &toName);
bool showsRouteNames(const QString &fromName, const QString &toName, bool reservesNames);
// A missing name keeps the line's height with a single space.
QString routeName(const QString &name);

// The scroll offset that brings the span from `top` to `bottom` into a view of `viewSize` with `margin`
// around it, moving as little as it can from `offset`; a span too long for the view shows its start.
double revealedOffset(double offset, double viewSize, double top, double bottom, double margin);
// Scrolls a flickable so that an item inside it stands wholly in view, `margin` around it, within the
// content and the flickable's margins around it.
void revealIn(QQuickItem *flickable, QQuickItem *item, double margin = 16);
// Where a page scrolls for a key: Page Down and Page Up by most of the view (its last tenth stays in
// sight), Home and End to the ends, kept within the content; none for any other key.
std::optional<double> keyedOffset(int key, double offset, double viewSize, double contentSize);

// Texts read together as one accessibility element; empty ones are left out.
QString combined(const QStringList &texts);

// The width of the widest part of a text that a line may not break inside, in that font: a word of English,
// a single Chinese character. A text wrapped at its break opportunities needs at least this width.
double widestWord(const QString &text, const QFont &font);
// The width of the text on one line, in whole pixels.
double lineWidth(const QString &text, const QFont &font);

// The count under a text that has a limit, in characters as a reader counts them: "432/500" once the text
// has come within a fifth of the limit, or gone past it; empty before that, and without a limit (0).
QString lengthCount(const QString &text, int limit);
// The count as a screen reader says it.
QString lengthCountDescription(const QString &text, int limit);
bool overLimit(const QString &text, int limit);

// The route arrow in a rectangle: a 2-point bar ending 3 points inside a 9 × 10 head at the right edge.
QPainterPath arrowOutline(const QRectF &rect);

// Where the keyboard goes as a page or a sheet opens and closes. One rule for every screen: what opens takes
// the keyboard on something a screen reader has a name for, and what closes gives it back to the control it
// was opened from.

// The control the keyboard was on as a screen opened, and whether the keyboard put it there (its ring). A
// control that is off for the moment (a form that sends) leaves the keyboard on the scope around it, which
// still names it as its own: that control is where the keyboard was.
struct FocusOrigin
{
    QPointer<QQuickItem> item;
    bool keyboard = false;
};
FocusOrigin focusOrigin(QQuickWindow *window);
// The keyboard back on that control, with its ring when the keyboard had put it there; on the page that works
// when the control is off while it works (a form that sends, pictures that convert), and on the control again
// once it is on, unless the keyboard has left the page meanwhile; false when the control is gone, off screen,
// or off while its page is idle.
bool focusOn(const FocusOrigin &origin, QQuickWindow *window);

// The page that works (a form that sends, `pageBusy`) around an item, or null.
QQuickItem *workingPage(QQuickItem *item);
// A page has started to work (`pageBusy`): where the control that had the keyboard has gone off with it (a
// button that uploads, pressed), the keyboard was left on nothing named; the page holds it instead, and the
// control has it back once it is on again.
void workStarted(QQuickItem *page);

// On screen, and a screen reader has a name for it.
bool heard(QQuickItem *item);
// The popup's own item the item is in (or is), or null.
QQuickItem *popupAround(QQuickItem *item);

// A screen that has just come on takes the keyboard, unless it is on one of its named controls already (a
// field that takes it as it opens): the screen itself when it has a name (a page named as its heading), else
// its first heading, else its first named control. Qt moves on with Tab only from an item in the tab chain,
// else from the top of the window: an item that is none joins the chain until the focus leaves it, so the
// next Tab goes to the control after it. A control it lands on, or was on already, draws its ring by
// `reason`: a screen the keyboard opened shows where the keyboard now is.
void focusPage(QQuickItem *page, Qt::FocusReason reason = Qt::OtherFocusReason);

// Where the keyboard goes once a screen has closed: nowhere else while a screen that opened in its place has
// it on a named control (a page, not a popup on its way out); else back to the control it was opened from
// (also where the popup has handed it back already), with its ring when the keyboard put it there, while that
// is on screen; else into `showing`, the page now
// showing, as it would on opening; else to the window's first named control. The keyboard in `leaving`, the
// screen that closed, is not kept there while it is still on screen.
void focusBack(const FocusOrigin &origin, QQuickItem *showing, QQuickWindow *window,
               QQuickItem *leaving = nullptr);

} // namespace ComponentRules

class ViewRules : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    Q_INVOKABLE bool isRegular(double width) const { return ComponentRules::isRegular(width); }
    Q_INVOKABLE double pageHorizontalPadding(bool regular) const
    {
        return ComponentRules::pageHorizontalPadding(regular);
    }
    Q_INVOKABLE double pageMaximumWidth(bool regular) const
    {
        return ComponentRules::pageMaximumWidth(regular);
    }
    Q_INVOKABLE int columnCount(bool regular, double width, double spacing) const
    {
        return ComponentRules::columnCount(regular, width, spacing);
    }
    Q_INVOKABLE double progressFraction(double value) const
    {
        return ComponentRules::progressFraction(value);
    }
    Q_INVOKABLE QString percentText(double value) const { return ComponentRules::percentText(value); }
    // A missing time is NaN in QML.
    Q_INVOKABLE QString dateText(double timestamp) const { return ComponentRules::dateText(timestamp); }
    Q_INVOKABLE int infoValueLines(bool fixedHeight, int lines) const
    {
        return ComponentRules::infoValueLines(fixedHeight, lines);
    }
    Q_INVOKABLE double infoValueMinimumScale(bool fixedHeight) const
    {
        return ComponentRules::infoValueMinimumScale(fixedHeight);
    }
    Q_INVOKABLE QString routeLabel(const QString &from, const QString &to) const
    {
        return ComponentRules::routeLabel(from, to);
    }
    Q_INVOKABLE QString routeDescription(const QString &caption, const QString &fromName,
                                         const QString &toName) const
    {
        return ComponentRules::routeDescription(caption, fromName, toName);
    }
    Q_INVOKABLE bool showsRouteNames(const QString &fromName, const QString &toName, bool reservesNames) const
    {
        return ComponentRules::showsRouteNames(fromName, toName, reservesNames);
    }
    Q_INVOKABLE QString routeName(const QString &name) const { return ComponentRules::routeName(name); }
    Q_INVOKABLE QString combined(const QStringList &texts) const { return ComponentRules::combined(texts); }
    Q_INVOKABLE double widestWord(const QString &text, const QFont &font) const
    {
        return ComponentRules::widestWord(text, font);
    }
    Q_INVOKABLE double lineWidth(const QString &text, const QFont &font) const
    {
        return ComponentRules::lineWidth(text, font);
    }
    Q_INVOKABLE QString lengthCount(const QString &text, int limit) const
    {
        return ComponentRules::lengthCount(text, limit);
    }
    Q_INVOKABLE QString lengthCountDescription(const QString &text, int limit) const
    {
        return ComponentRules::lengthCountDescription(text, limit);
    }
    Q_INVOKABLE bool overLimit(const QString &text, int limit) const
    {
        return ComponentRules::overLimit(text, limit);
    }
    Q_INVOKABLE void reveal(QQuickItem *flickable, QQuickItem *item) const
    {
        ComponentRules::revealIn(flickable, item);
    }
    // A screen of the window that has just come on in place of another (a first login's form after the
    // sign-in form) takes the keyboard, unless a control a screen reader names has it already.
    Q_INVOKABLE void screenCameOn(QQuickItem *screen) const
    {
        QQuickWindow *window = screen ? screen->window() : nullptr;
        if (window && !ComponentRules::heard(window->activeFocusItem()))
            ComponentRules::focusPage(screen);
    }
    // The offset for a scrolling key, or -1 when the key does not scroll.
    Q_INVOKABLE double keyedOffset(int key, double offset, double viewSize, double contentSize) const
    {
        return ComponentRules::keyedOffset(key, offset, viewSize, contentSize).value_or(-1);
    }
};
