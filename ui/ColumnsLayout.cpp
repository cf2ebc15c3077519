#include "ColumnsLayout.h"

#include <algorithm>

ColumnsLayout::ColumnsLayout(QQuickItem *parent)
    : QQuickItem(parent)
{
}

QList<QRectF> ColumnsLayout::arrange(const QList<double> &heights, double width, int columns, double spacing,
                                     double rowSpacing, RowFit fit)
{
    const int count = std::max(columns, 1);
    const double cellWidth = std::max((width - spacing * (count - 1)) / count, 0.0);
    QList<QRectF> cells;
    cells.reserve(heights.size());
    double top = 0;
    for (qsizetype first = 0; first < heights.size(); first += count) {
        const qsizetype last = std::min<qsizetype>(first + count, heights.size());
        const double rowHeight = *std::max_element(heights.cbegin() + first, heights.cbegin() + last);
        for (qsizetype i = first; i < last; ++i) {
            const double offset = fit == Centre ? (rowHeight - heights.at(i)) / 2 : 0;
            cells.append(QRectF(double(i - first) * (cellWidth + spacing), top + offset, cellWidth,
                                fit == Fill ? rowHeight : heights.at(i)));
        }
        top += rowHeight + rowSpacing;
    }
    return cells;
}

void ColumnsLayout::setColumns(int columns)
{
    if (m_columns == columns)
        return;
    m_columns = columns;
    Q_EMIT columnsChanged();
    polish();
}

void ColumnsLayout::setSpacing(double spacing)
{
    if (m_spacing == spacing)
        return;
    m_spacing = spacing;
    Q_EMIT spacingChanged();
    polish();
}

void ColumnsLayout::setRowSpacing(double spacing)
{
    if (m_rowSpacing == spacing)
        return;
    m_rowSpacing = spacing;
    Q_EMIT rowSpacingChanged();
    polish();
}

void ColumnsLayout::setRowFit(RowFit fit)
{
    if (m_rowFit == fit)
        return;
    m_rowFit = fit;
    Q_EMIT rowFitChanged();
    polish();
}

QList<QQuickItem *> ColumnsLayout::laidOut() const
{
    QList<QQuickItem *> items;
    for (QQuickItem *child : childItems()) {
        // A repeater stands among the items it makes but takes no place of its own.
        if (child->isVisible() && !child->inherits("QQuickRepeater"))
            items.append(child);
    }
    return items;
}

void ColumnsLayout::layoutChildren()
{
    const QList<QQuickItem *> items = laidOut();
    const int count = std::max(m_columns, 1);
    // Children take the column's width first, since their height may follow from it (wrapped text).
    const double cellWidth = std::max((width() - m_spacing * (count - 1)) / count, 0.0);
    QList<double> heights;
    double widest = 0;
    for (QQuickItem *item : items) {
        item->setWidth(cellWidth);
        heights.append(item->implicitHeight());
        widest = std::max(widest, item->implicitWidth());
    }
    const QList<QRectF> cells = arrange(heights, width(), m_columns, m_spacing, m_rowSpacing, m_rowFit);
    double bottom = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        items.at(i)->setPosition(cells.at(i).topLeft());
        items.at(i)->setSize(cells.at(i).size());
        bottom = std::max(bottom, cells.at(i).bottom());
    }
    setImplicitWidth(items.isEmpty() ? 0 : widest * count + m_spacing * (count - 1));
    setImplicitHeight(bottom);
}

void ColumnsLayout::updatePolish() { layoutChildren(); }

void ColumnsLayout::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemChildAddedChange && value.item) {
        connect(value.item, &QQuickItem::implicitHeightChanged, this, &QQuickItem::polish);
        connect(value.item, &QQuickItem::implicitWidthChanged, this, &QQuickItem::polish);
        connect(value.item, &QQuickItem::visibleChanged, this, &QQuickItem::polish);
        polish();
    } else if (change == ItemChildRemovedChange && value.item) {
        disconnect(value.item, nullptr, this, nullptr);
        polish();
    }
}

void ColumnsLayout::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.width() != oldGeometry.width())
        polish();
}
