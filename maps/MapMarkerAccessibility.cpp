#include "MapMarkerAccessibility.h"

#include "ItemAccessibility.h"
#include "MapMarkerLayer.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QHash>
#include <QPointer>
#include <QQuickWindow>

#include <private/qquickitem_p.h>

namespace {

class LayerInterface;

// Each layer's interface, while Qt keeps it, so a change reaches it without making one.
QHash<const MapMarkerLayer *, LayerInterface *> &interfaces()
{
    static QHash<const MapMarkerLayer *, LayerInterface *> all;
    return all;
}

class MarkerInterface : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    MarkerInterface(MapMarkerLayer *layer, int row)
        : m_layer(layer)
        , m_row(row)
    {
    }

    int row() const { return m_row; }

    bool isValid() const override { return m_layer && m_row < m_layer->markerCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_layer ? m_layer->window() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return m_layer ? QAccessible::queryAccessibleInterface(m_layer) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name && m_layer ? m_layer->accessibleName(m_row) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!m_layer || !m_layer->window())
            return {};
        const QRectF box = m_layer->markerBox(m_row);
        return QRectF(m_layer->mapToGlobal(box.topLeft()), box.size()).toAlignedRect();
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !m_layer || ItemAccessibility::offScreen(m_layer);
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid())
            emit m_layer->clicked(m_row);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<MapMarkerLayer> m_layer;
    int m_row;
};

class LayerInterface : public QAccessibleObject
{
public:
    explicit LayerInterface(MapMarkerLayer *layer)
        : QAccessibleObject(layer)
        , m_key(layer)
    {
        interfaces().insert(layer, this);
    }
    ~LayerInterface() override
    {
        interfaces().remove(m_key);
        forget(true);
    }

    MapMarkerLayer *layer() const { return static_cast<MapMarkerLayer *>(object()); }

    // Children are counted again when next asked; those of markers gone from view, or all of them when the
    // rows changed, are let go.
    void markersChanged(bool rowsChanged)
    {
        m_counted = false;
        forget(rowsChanged);
    }

    QWindow *window() const override { return layer()->window(); }
    QAccessibleInterface *parent() const override
    {
        for (QQuickItem *up = layer()->parentItem(); up; up = up->parentItem()) {
            if (QQuickItemPrivate::get(up)->isAccessible)
                return QAccessible::queryAccessibleInterface(up);
        }
        return window() ? QAccessible::queryAccessibleInterface(window()) : nullptr;
    }
    // Off screen (another tab, under a sheet) the markers leave the tree, not only the screen: a reader
    // walking a hidden map would otherwise meet some 1,500 buttons.
    int childCount() const override { return ItemAccessibility::offScreen(layer()) ? 0 : int(rows().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<int> &shown = rows();
        if (index < 0 || index >= shown.size())
            return nullptr;
        const int row = shown.at(index);
        auto found = m_children.constFind(row);
        if (found == m_children.cend())
            found = m_children.insert(
                row, QAccessible::registerAccessibleInterface(new MarkerInterface(layer(), row)));
        return QAccessible::accessibleInterface(*found);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child || child->parent() != this || child->role() != QAccessible::Button)
            return -1;
        return int(rows().indexOf(static_cast<const MarkerInterface *>(child)->row()));
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (!layer()->window())
            return nullptr;
        // The topmost marker under the point, as a click would find it.
        const int row = layer()->markerAt(layer()->mapFromGlobal(QPointF(x, y)));
        const int index = row >= 0 ? int(rows().indexOf(row)) : -1;
        return index >= 0 ? child(index) : nullptr;
    }
    QString text(QAccessible::Text) const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Grouping; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = ItemAccessibility::offScreen(layer());
        return state;
    }
    QRect rect() const override
    {
        if (!layer()->window())
            return {};
        return QRectF(layer()->mapToGlobal(QPointF()), layer()->size()).toAlignedRect();
    }

private:
    const QList<int> &rows() const
    {
        if (!m_counted) {
            m_rows = layer()->markersInView();
            m_counted = true;
        }
        return m_rows;
    }

    void forget(bool all)
    {
        const QList<int> shown = all ? QList<int>() : layer()->markersInView();
        for (auto it = m_children.begin(); it != m_children.end();) {
            if (all || !shown.contains(it.key())) {
                QAccessible::deleteAccessibleInterface(it.value());
                it = m_children.erase(it);
            } else {
                ++it;
            }
        }
    }

    const MapMarkerLayer *m_key;
    mutable QList<int> m_rows;
    mutable bool m_counted = false;
    mutable QHash<int, QAccessible::Id> m_children;
};

QAccessibleInterface *layers(const QString &className, QObject *object)
{
    if (className != QLatin1String(MapMarkerLayer::staticMetaObject.className()))
        return nullptr;
    auto *layer = qobject_cast<MapMarkerLayer *>(object);
    return layer ? new LayerInterface(layer) : nullptr;
}

} // namespace

void MapMarkerAccessibility::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(layers);
        return true;
    }();
    Q_UNUSED(installed);
}

void MapMarkerAccessibility::markersChanged(MapMarkerLayer *layer, bool rowsChanged)
{
    LayerInterface *shown = interfaces().value(layer);
    if (!shown)
        return;
    shown->markersChanged(rowsChanged);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(layer, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
}
