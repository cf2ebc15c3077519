#include "ViewRules.h"

#include "Display.h"
#include "L.h"
#include "Strings.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QQuickWindow>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace ComponentRules {

bool isRegular(double width) { return width >= regularMinimumWidth; }

double pageHorizontalPadding(bool regular) { return regular ? 24 : 16; }

double pageMaximumWidth(bool regular) { return regular ? 1100 : 760; }

int columnCount(bool regular, double width, double spacing)
{
    return regular && (width - spacing) / 2 >= minimumColumnWidth ? 2 : 1;
}

double progressFraction(double value)
{
    if (std::isnan(value))
        return 0;
    return std::clamp(value, 0.0, 1.0);
}

qint64 percent(double value) { return qint64(std::round(progressFraction(value) * 100)); }

QString percentText(double value)
{
    // The key carries a C-style integer placeholder; only the number goes in its place.
    QString text = Text::lookup(TEXT_KEY("%lld%"));
    const qsizetype at = text.indexOf(QLatin1String("%lld"));
    if (at >= 0)
        text.replace(at, 4, QString::number(percent(value)));
    return text;
}

QString dateText(std::optional<double> timestamp)
{
    if (!timestamp || std::isnan(*timestamp) || *timestamp <= 0)
        return L("—");
    return Display::dateTime(timestamp);
}

int infoValueLines(bool fixedHeight, int lines) { return fixedHeight ? std::max(lines, 1) : 2; }

double infoValueMinimumScale(bool fixedHeight) { return fixedHeight ? 0.6 : 0.8; }

double revealedOffset(double offset, double viewSize, double top, double bottom, double margin)
{
    if (top - margin < offset || bottom - top + 2 * margin > viewSize)
        return top - margin;
    if (bottom + margin > offset + viewSize)
        return bottom + margin - viewSize;
    return offset;
}

void revealIn(QQuickItem *flickable, QQuickItem *item, double margin)
{
    auto *content = flickable && item ? flickable->property("contentItem").value<QQuickItem *>() : nullptr;
    if (!content || !content->isAncestorOf(item))
        return;
    const QRectF box = item->mapRectToItem(content, QRectF(0, 0, item->width(), item->height()));
    const double view = flickable->height();
    const double offset =
        revealedOffset(flickable->property("contentY").toDouble(), view, box.top(), box.bottom(), margin);
    // Within the content and its margins: a list's gap above its first row is where it rests at the top.
    const double start =
        flickable->property("originY").toDouble() - flickable->property("topMargin").toDouble();
    const double end = std::max(start, flickable->property("originY").toDouble()
                                           + flickable->property("contentHeight").toDouble()
                                           + flickable->property("bottomMargin").toDouble() - view);
    flickable->setProperty("contentY", std::clamp(offset, start, end));
}

std::optional<double> keyedOffset(int key, double offset, double viewSize, double contentSize)
{
    const double end = std::max(0.0, contentSize - viewSize);
    double to = 0;
    switch (key) {
    case Qt::Key_PageDown:
        to = offset + 0.9 * viewSize;
        break;
    case Qt::Key_PageUp:
        to = offset - 0.9 * viewSize;
        break;
    case Qt::Key_Home:
        to = 0;
        break;
    case Qt::Key_End:
        to = end;
        break;
    default:
        return std::nullopt;
    }
    return std::clamp(to, 0.0, end);
}

QString combined(const QStringList &texts)
{
    QStringList present;
    for (const QString &text : texts) {
        if (!text.isEmpty())
            present.append(text);
    }
    return present.join(u", ");
}

double widestWord(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    double widest = 0;
    qsizetype start = 0;
    while (breaks.toNextBoundary() != -1) {
        const qsizetype end = breaks.position();
        // The spaces a line may end on take no width of their own there.
        widest = std::max(widest, metrics.horizontalAdvance(text.mid(start, end - start).trimmed()));
        start = end;
    }
    return std::ceil(widest);
}

double lineWidth(const QString &text, const QFont &font)
{
    return std::ceil(QFontMetricsF(font).horizontalAdvance(text));
}

QString lengthCount(const QString &text, int limit)
{
    if (limit <= 0)
        return {};
    const qsizetype length = Text::perceivedLength(text);
    if (length * 5 < limit * 4)
        return {};
    return Display::locale().toString(length) + QLatin1Char('/') + Display::locale().toString(limit);
}

QString lengthCountDescription(const QString &text, int limit)
{
    if (lengthCount(text, limit).isEmpty())
        return {};
    return L("已输入 %@ 字，最多 %@ 字", Display::locale().toString(Text::perceivedLength(text)),
             Display::locale().toString(limit));
}

bool overLimit(const QString &text, int limit) { return limit > 0 && Text::perceivedLength(text) > limit; }

QString routeLabel(const QString &from, const QString &to) { return L("%@ → %@", from, to); }

QString routeDescription(const QString &caption, const QString &fromName, const QString &toName)
{
    return combined({caption, fromName, toName});
}

bool showsRouteNames(const QString &fromName, const QString &toName, bool reservesNames)
{
    return reservesNames || !fromName.isEmpty() || !toName.isEmpty();
}

QString routeName(const QString &name) { return name.isEmpty() ? QStringLiteral(" ") : name; }

QPainterPath arrowOutline(const QRectF &rect)
{
    const double middle = rect.center().y();
    const double right = rect.right();
    QPainterPath path;
    path.addRoundedRect(QRectF(rect.left(), middle - 1, std::max(rect.width() - 6, 0.0), 2), 1, 1);
    QPainterPath head;
    head.moveTo(right, middle);
    head.lineTo(right - 9, middle - 5);
    head.lineTo(right - 9, middle + 5);
    head.closeSubpath();
    path.addPath(head);
    path.setFillRule(Qt::WindingFill);
    return path;
}

namespace {

// A page's scroll view is heard by its page's name (ItemAccessibility), yet it is no place for the keyboard
// to be put or left: the page, its heading or its control is.
bool named(QQuickItem *item)
{
    QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(item);
    return heard && !item->inherits("QQuickScrollView")
           && !heard->text(QAccessible::Name).trimmed().isEmpty();
}

// A page named as its heading, or a heading.
bool titles(QQuickItem *item)
{
    if (!named(item))
        return false;
    const QAccessible::Role role = QAccessible::queryAccessibleInterface(item)->role();
    return role == QAccessible::Heading || role == QAccessible::Pane;
}

// The focus onto an item for a reason. A control draws its ring by the reason it last got the focus for,
// which Qt leaves as it was when the control has the focus already (a popup opened again gives it back by
// itself).
void focusFor(QQuickItem *item, Qt::FocusReason reason)
{
    item->forceActiveFocus(reason);
    // On an item that keeps no reason of its own (a page), kept all the same: what opens from it knows
    // whether the keyboard is there.
    item->setProperty("focusReason", reason);
}

// The keyboard onto an item. One that is not in the tab chain by itself (a page, a heading) joins it whenever
// it has the keyboard, so Tab goes on from it, and leaves it once the keyboard has gone: Qt moves on by Tab
// only from an item in the chain, and a popup closing can hand the keyboard back to it later, by no rule of
// ours.
void take(QQuickItem *item, Qt::FocusReason reason)
{
    static const char joins[] = "vornaJoinsTabChain";
    if (!item->activeFocusOnTab() && !item->property(joins).toBool()) {
        item->setProperty(joins, true);
        QObject::connect(item, &QQuickItem::activeFocusChanged, item, [item](bool active) {
            if (active) {
                item->setActiveFocusOnTab(true);
                return;
            }
            // Once the window has moved its keyboard on: until then the item cannot leave the chain.
            QMetaObject::invokeMethod(
                item, [item] { item->setActiveFocusOnTab(item->hasActiveFocus()); }, Qt::QueuedConnection);
        });
        item->setActiveFocusOnTab(true);
    }
    focusFor(item, reason);
}

// The first named item of the tab chain from `start` that `within` holds (any, without one).
QQuickItem *firstNamed(QQuickItem *start, QQuickItem *within)
{
    QQuickItem *first = start->nextItemInFocusChain(true);
    for (QQuickItem *item = first; item;) {
        if ((!within || within->isAncestorOf(item)) && heard(item))
            return item;
        item = item->nextItemInFocusChain(true);
        if (item == first || item == start)
            break;
    }
    return nullptr;
}

// The first title on screen below an item, by the order of the item tree.
QQuickItem *firstTitle(QQuickItem *page)
{
    const QList<QQuickItem *> children = page->childItems();
    for (QQuickItem *child : children) {
        if (!child->isVisible())
            continue;
        if (titles(child))
            return child;
        if (QQuickItem *below = firstTitle(child))
            return below;
    }
    return nullptr;
}

bool byKeyboard(int reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
           || reason == Qt::ShortcutFocusReason;
}

} // namespace

FocusOrigin focusOrigin(QQuickWindow *window)
{
    QQuickItem *item = window ? window->activeFocusItem() : nullptr;
    if (!item)
        return {};
    if (!item->scopedFocusItem()) {
        if (item->metaObject()->indexOfProperty("visualFocus") >= 0)
            return {item, item->property("visualFocus").toBool()};
        return {item, byKeyboard(item->property("focusReason").toInt())};
    }
    while (item->scopedFocusItem())
        item = item->scopedFocusItem();
    // Not the keyboard's item now: whether the keyboard put it there is the reason it last had it for.
    return {item, byKeyboard(item->property("focusReason").toInt())};
}

QQuickItem *workingPage(QQuickItem *item)
{
    for (QQuickItem *above = item; above; above = above->parentItem()) {
        if (above->property("pageBusy").toBool())
            return above;
    }
    return nullptr;
}

namespace {

// Once the control is on again (its page has done its work: the pictures picked have converted), the keyboard
// that its page has held meanwhile goes back to it, with its ring when the keyboard had put it there. Not
// when the keyboard has moved on since (the work's outcome took it, or the member did), nor to a control
// that has gone from the screen. A control has one way back, the latest.
void backWhenOn(const FocusOrigin &origin, QQuickItem *held)
{
    static const QString name = QStringLiteral("vornaWayBack");
    QQuickItem *control = origin.item;
    delete control->findChild<QObject *>(name, Qt::FindDirectChildrenOnly);
    auto *wayBack = new QObject(control);
    wayBack->setObjectName(name);
    const QPointer<QQuickItem> holder = held;
    const Qt::FocusReason reason = origin.keyboard ? Qt::TabFocusReason : Qt::OtherFocusReason;
    QObject::connect(control, &QQuickItem::enabledChanged, wayBack, [control, wayBack, holder, reason] {
        if (!control->isEnabled())
            return;
        QObject::disconnect(control, nullptr, wayBack, nullptr);
        wayBack->deleteLater();
        // Once every item around it is on again: Qt puts the focus back into each scope that comes on, for no
        // key's reason.
        QMetaObject::invokeMethod(
            control,
            [control, holder, reason] {
                QQuickWindow *window = control->window();
                if (window && holder && window->activeFocusItem() == holder && heard(control))
                    focusFor(control, reason);
            },
            Qt::QueuedConnection);
    });
}

} // namespace

bool focusOn(const FocusOrigin &origin, QQuickWindow *window)
{
    if (!origin.item || origin.item->window() != window || !heard(origin.item))
        return false;
    if (!origin.item->isEnabled()) {
        // Off while its page works: a control that is off holds no keyboard, and the scope around it is
        // nothing a screen reader names. The page that works takes it, heard by its name, and Tab goes on
        // inside it. A control that is off while its page is idle (an upload button with nothing to upload)
        // is no place for the keyboard.
        QQuickItem *page = workingPage(origin.item);
        if (!page)
            return false;
        focusPage(page, origin.keyboard ? Qt::TabFocusReason : Qt::OtherFocusReason);
        QQuickItem *held = window->activeFocusItem();
        if (!heard(held))
            return false;
        backWhenOn(origin, held);
        return true;
    }
    focusFor(origin.item, origin.keyboard ? Qt::TabFocusReason : Qt::OtherFocusReason);
    return true;
}

void workStarted(QQuickItem *page)
{
    // Once the page's controls have followed its work.
    const QPointer<QQuickItem> working = page;
    QMetaObject::invokeMethod(
        page,
        [working] {
            QQuickWindow *window = working->window();
            if (!window || !working->isVisible() || heard(window->activeFocusItem()))
                return;
            const FocusOrigin origin = focusOrigin(window);
            if (origin.item && !origin.item->isEnabled() && working->isAncestorOf(origin.item))
                focusOn(origin, window);
        },
        Qt::QueuedConnection);
}

bool heard(QQuickItem *item) { return item && item->isVisible() && named(item); }

QQuickItem *popupAround(QQuickItem *item)
{
    for (QQuickItem *above = item; above; above = above->parentItem()) {
        if (above->inherits("QQuickPopupItem"))
            return above;
    }
    return nullptr;
}

void focusPage(QQuickItem *page, Qt::FocusReason reason)
{
    if (!page || !page->isVisible())
        return;
    QQuickItem *now = page->window() ? page->window()->activeFocusItem() : nullptr;
    if (now && page->isAncestorOf(now) && heard(now)) {
        // Put there as the screen was made, before its reason was known: a screen the keyboard opened shows
        // where the keyboard is on that control too.
        if (byKeyboard(reason))
            focusFor(now, reason);
        return;
    }
    QQuickItem *target = named(page) ? page : firstTitle(page);
    if (!target)
        target = firstNamed(page, page);
    take(target ? target : page, reason);
}

void focusBack(const FocusOrigin &origin, QQuickItem *showing, QQuickWindow *window, QQuickItem *leaving)
{
    if (!window)
        return;
    QQuickItem *now = window->activeFocusItem();
    // A popup gives the keyboard back to the control it came from by itself, as if by no key: that one still
    // takes it again with its reason, for its ring. Nor is a popup on its way out (an alert fading out still
    // has the keyboard on its button) where the keyboard stays. A control of a popup that stays open (a
    // failure's notice in the sheet under a chooser) keeps it.
    const bool goes = leaving && now && (now == leaving || leaving->isAncestorOf(now));
    const QQuickItem *popupItem = popupAround(now);
    const bool popupStays =
        !popupItem || (popupItem->parent() && popupItem->parent()->property("opened").toBool());
    // Nor is the page that holds the control (it took the keyboard while the control was off as it worked).
    const bool holds = now && origin.item && now->isAncestorOf(origin.item);
    if (heard(now) && popupStays && now != origin.item && !goes && !holds)
        return;
    if (focusOn(origin, window))
        return;
    if (showing && showing->window() == window && showing->isVisible()) {
        focusPage(showing);
        if (heard(window->activeFocusItem()))
            return;
    }
    QQuickItem *first = firstNamed(window->contentItem(), nullptr);
    if (!first)
        first = window->contentItem()->nextItemInFocusChain(true);
    if (first)
        first->forceActiveFocus(Qt::TabFocusReason);
}

} // namespace ComponentRules
