#include "SecretTextAccessibility.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QQuickItem>
#include <QQuickWindow>

#include <private/qaccessiblequickitem_p.h>
#include <private/qquickaccessibleattached_p.h>
#include <private/qquickitem_p.h>

namespace {

class SecretField : public QAccessibleObject
{
public:
    explicit SecretField(QQuickItem *item)
        : QAccessibleObject(item)
    {
    }

    QQuickItem *item() const { return static_cast<QQuickItem *>(object()); }
    QWindow *window() const override { return item()->window(); }

    QAccessibleInterface *parent() const override
    {
        for (QQuickItem *up = item()->parentItem(); up; up = up->parentItem()) {
            if (QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(up))
                return shown;
        }
        return item()->window() ? QAccessible::queryAccessibleInterface(item()->window()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override
    {
        const QQuickAccessibleAttached *attached = QQuickAccessibleAttached::attachedProperties(item());
        switch (kind) {
        case QAccessible::Name:
            return attached && !attached->name().isEmpty() ? attached->name()
                                                           : item()->property("placeholderText").toString();
        case QAccessible::Description:
            return attached ? attached->description() : QString();
        default:
            // The value, above all: nothing of what was typed.
            return {};
        }
    }
    QAccessible::Role role() const override { return QAccessible::EditableText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.passwordEdit = true;
        state.editable = true;
        state.focusable = true;
        state.focused = item()->hasActiveFocus();
        state.disabled = !item()->isEnabled();
        state.invisible = !item()->isVisible();
        return state;
    }
    QRect rect() const override
    {
        if (!item()->window())
            return {};
        return QRectF(item()->mapToGlobal(QPointF()), item()->size()).toAlignedRect();
    }
};

// Qt 6.4's own interface of an item never reports it disabled, so a button that cannot be pressed is
// heard as one that can.
class QuickItem : public QAccessibleQuickItem
{
public:
    using QAccessibleQuickItem::QAccessibleQuickItem;

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleQuickItem::state();
        state.disabled = !item()->isEnabled();
        return state;
    }
};

QAccessibleInterface *quickItems(const QString &className, QObject *object)
{
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item)
        return nullptr;
    if (item->property("secretText").toBool())
        return new SecretField(item);
    // Qt asks the factories installed last first, class by class from the item's own: Qt Quick's own
    // factory answers at "QQuickItem", so ours answers at the item's own class, for the items Qt's would.
    if (className == QLatin1String(item->metaObject()->className())
        && QQuickItemPrivate::get(item)->isAccessible)
        return new QuickItem(item);
    return nullptr;
}

} // namespace

void SecretTextAccessibility::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(quickItems);
        return true;
    }();
    Q_UNUSED(installed);
}
