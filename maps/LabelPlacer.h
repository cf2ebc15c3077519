#pragma once

#include <QList>
#include <QRectF>

// Labels placed on a map one after another, the most important first, so none lies on another: each takes
// the first of its places (in the order offered) that overlaps no label placed before it and no marker,
// with `spacing` points between labels; a label that finds no such place is left out.
class LabelPlacer
{
public:
    explicit LabelPlacer(QList<QRectF> markers = {}, double spacing = 0);

    // The index of the place taken, or -1.
    int place(const QList<QRectF> &places);
    qsizetype placed() const { return m_labels.size(); }

private:
    bool free(const QRectF &place) const;

    QList<QRectF> m_markers;
    QList<QRectF> m_labels;
    double m_spacing;
};
