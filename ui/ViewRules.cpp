#include "ViewRules.h"

#include "Display.h"
#include "L.h"
#include "Strings.h"

#include <QAccessible>
#include <QQuickWindow>

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

void focusPage(QQuickItem *page)
{
    if (!page)
        return;
    page->setActiveFocusOnTab(true);
    page->forceActiveFocus(Qt::OtherFocusReason);
    QObject::connect(
        page, &QQuickItem::activeFocusChanged, page, [page] { page->setActiveFocusOnTab(false); },
        Qt::SingleShotConnection);
}

namespace {

bool named(QQuickItem *item)
{
    QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(item);
    return heard && !heard->text(QAccessible::Name).trimmed().isEmpty();
}

} // namespace

void focusBack(QQuickItem *was, QQuickWindow *window)
{
    if (!window)
        return;
    if (was && was->window() == window && was->isVisible() && named(was)) {
        was->forceActiveFocus(Qt::OtherFocusReason);
        return;
    }
    QQuickItem *first = window->contentItem()->nextItemInFocusChain(true);
    for (QQuickItem *item = first; item;) {
        if (named(item)) {
            item->forceActiveFocus(Qt::TabFocusReason);
            return;
        }
        item = item->nextItemInFocusChain(true);
        if (item == first)
            break;
    }
    if (first)
        first->forceActiveFocus(Qt::TabFocusReason);
}

} // namespace ComponentRules
