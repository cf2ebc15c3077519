#pragma once

#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QString>

// The flight route of the brand animation, flattened once into straight pieces with cumulative lengths,
// so a frame finds positions along it by bisection instead of evaluating curves.
class BrandRoute
{
public:
    // From an absolute move-to followed by absolute cubic segments ("M x,y C x,y x,y x,y …"). The second
    // revealed picture begins at the end of the last segment that ends within 0.5 units of `tail`.
    BrandRoute(const QString &pathText, QPointF tail);

    // The one route of the app, in units of the 1024 × 674 art board.
    static const BrandRoute &website();

    const QList<QPointF> &points() const { return m_points; }
    const QList<double> &lengths() const { return m_lengths; }
    double tailStart() const { return m_tailStart; }
    double length() const { return m_lengths.isEmpty() ? 0 : m_lengths.constLast(); }
    bool isEmpty() const { return m_points.isEmpty(); }

    // The point at a distance along the route, clamped to its ends.
    QPointF point(double distance) const;
    // The direction in degrees (atan2 of y over x, y growing downwards) around a distance.
    double angle(double distance) const;
    // The route between two distances; empty unless from < to.
    QPainterPath path(double from, double to) const;

private:
    // The first index whose cumulative length is not less than `distance`, at most the last index.
    qsizetype indexAtOrAfter(double distance) const;

    QList<QPointF> m_points;
    QList<double> m_lengths;
    double m_tailStart = 0;
};
