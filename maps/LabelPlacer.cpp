#include "LabelPlacer.h"

LabelPlacer::LabelPlacer(QList<QRectF> markers, double spacing)
    : m_markers(std::move(markers))
    , m_spacing(spacing)
{
}

bool LabelPlacer::free(const QRectF &place) const
{
    const QRectF apart = place.adjusted(-m_spacing, -m_spacing, m_spacing, m_spacing);
    for (const QRectF &label : m_labels) {
        if (label.intersects(apart))
            return false;
    }
    for (const QRectF &marker : m_markers) {
        if (marker.intersects(place))
            return false;
    }
    return true;
}

int LabelPlacer::place(const QList<QRectF> &places)
{
    for (qsizetype i = 0; i < places.size(); ++i) {
        if (free(places.at(i))) {
            m_labels.append(places.at(i));
            return int(i);
        }
    }
    return -1;
}
