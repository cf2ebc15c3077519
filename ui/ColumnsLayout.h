#pragma once

#include <QList>
#include <QQmlEngine>
#include <QQuickItem>
#include <QRectF>

// Lays its visible children out row by row in equal columns, as many as it has, however few children there
// are; each child takes the column's width and its own implicit height, standing at the top or in the middle
// of its row, or the row's whole height, so that the cards of a row end together.
class ColumnsLayout : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int columns READ columns WRITE setColumns NOTIFY columnsChanged)
    Q_PROPERTY(double spacing READ spacing WRITE setSpacing NOTIFY spacingChanged)
    Q_PROPERTY(double rowSpacing READ rowSpacing WRITE setRowSpacing NOTIFY rowSpacingChanged)
    Q_PROPERTY(RowFit rowFit READ rowFit WRITE setRowFit NOTIFY rowFitChanged)

public:
    // Where a child shorter than its row stands: at its top, in its middle, or over its whole height.
    enum RowFit { Top, Centre, Fill };
    Q_ENUM(RowFit)

    explicit ColumnsLayout(QQuickItem *parent = nullptr);

    // The cells for children of these heights in a width; columns below 1 count as 1.
    static QList<QRectF> arrange(const QList<double> &heights, double width, int columns, double spacing,
                                 double rowSpacing, RowFit fit);

    int columns() const { return m_columns; }
    void setColumns(int columns);
    double spacing() const { return m_spacing; }
    void setSpacing(double spacing);
    double rowSpacing() const { return m_rowSpacing; }
    void setRowSpacing(double spacing);
    RowFit rowFit() const { return m_rowFit; }
    void setRowFit(RowFit fit);

    // Places the children now (the window does it before each frame).
    void layoutChildren();

Q_SIGNALS:
    void columnsChanged();
    void spacingChanged();
    void rowSpacingChanged();
    void rowFitChanged();

protected:
    void updatePolish() override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    QList<QQuickItem *> laidOut() const;

    int m_columns = 2;
    double m_spacing = 10;
    double m_rowSpacing = 10;
    RowFit m_rowFit = Top;
};
