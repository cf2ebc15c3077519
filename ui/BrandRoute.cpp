#include "BrandRoute.h"

#include <QLineF>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

constexpr int samplesPerSegment = 24;

QPointF cubic(QPointF p0, QPointF p1, QPointF p2, QPointF p3, double t)
{
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

const QString websitePath = QStringLiteral(
    "M568.2,126.5C565.8,118.5 562.1,93.2 553.5,78.4C544.8,63.5 530.5,47.0 516.1,37.3C501.7,27.7 483.6,22.1 "
    "467.3,20.7C451.0,19.3 434.5,21.4 418.5,28.9C402.5,36.3 384.3,50.1 371.5,65.5C358.7,81.0 347.5,100.8 "
    "341.5,121.5C335.5,142.2 334.2,168.2 335.5,189.5C336.8,210.8 344.5,227.8 349.5,249.5C354.5,271.2 "
    "361.8,294.5 365.5,319.5C369.2,344.5 371.7,374.5 371.5,399.5C371.3,424.5 369.1,446.3 364.5,469.5C359.9,"
    "492.7 355.0,518.0 343.7,538.8C332.5,559.7 317.2,578.2 297.1,594.6C277.0,611.1 250.2,628.0 223.2,637.7C"
    "196.2,647.4 161.8,654.3 135.1,652.9C108.3,651.4 81.6,644.5 62.9,628.8C44.1,613.2 26.1,582.2 22.5,"
    "559.1C18.8,536.1 27.6,512.5 40.9,490.7C54.1,468.8 75.1,448.3 101.9,427.8C128.7,407.4 168.6,384.7 "
    "201.8,368.0C235.0,351.3 268.3,339.2 301.1,327.7C333.9,316.1 365.2,306.4 398.4,298.8C431.5,291.2 "
    "466.4,286.9 500.0,282.1C533.7,277.4 568.4,273.6 600.0,270.3C631.7,266.9 657.5,262.6 690.0,262.0C"
    "722.5,261.4 777.5,265.8 795.0,266.5");

} // namespace

BrandRoute::BrandRoute(const QString &pathText, QPointF tail)
{
    static const QRegularExpression separators(QStringLiteral("[MC,\\s]+"));
    QList<double> numbers;
    for (const QString &piece : pathText.split(separators, Qt::SkipEmptyParts)) {
        bool ok = false;
        const double number = piece.toDouble(&ok);
        if (ok)
            numbers.append(number);
    }
    // Without a start point there is no route; every query then answers for an empty one.
    if (numbers.size() < 2)
        return;

    m_points.append({numbers.at(0), numbers.at(1)});
    m_lengths.append(0);
    for (qsizetype i = 2; i + 6 <= numbers.size(); i += 6) {
        const QPointF start = m_points.constLast();
        const QPointF c1(numbers.at(i), numbers.at(i + 1));
        const QPointF c2(numbers.at(i + 2), numbers.at(i + 3));
        const QPointF end(numbers.at(i + 4), numbers.at(i + 5));
        for (int k = 1; k <= samplesPerSegment; ++k) {
            const QPointF sample = cubic(start, c1, c2, end, double(k) / samplesPerSegment);
            m_lengths.append(m_lengths.constLast() + QLineF(m_points.constLast(), sample).length());
            m_points.append(sample);
        }
        if (QLineF(end, tail).length() < 0.5)
            m_tailStart = m_lengths.constLast();
    }
}

const BrandRoute &BrandRoute::website()
{
    static const BrandRoute route(websitePath, QPointF(62.9, 628.8));
    return route;
}

qsizetype BrandRoute::indexAtOrAfter(double distance) const
{
    const auto found = std::lower_bound(m_lengths.cbegin(), m_lengths.cend(), distance);
    return std::min<qsizetype>(found - m_lengths.cbegin(), m_lengths.size() - 1);
}

QPointF BrandRoute::point(double distance) const
{
    if (m_points.isEmpty())
        return {};
    if (m_points.size() == 1)
        return m_points.constFirst();
    const double d = std::clamp(std::isnan(distance) ? 0.0 : distance, 0.0, length());
    const qsizetype i = std::max<qsizetype>(indexAtOrAfter(d), 1);
    const double pieceLength = m_lengths.at(i) - m_lengths.at(i - 1);
    if (pieceLength <= 0)
        return m_points.at(i - 1);
    const double fraction = (d - m_lengths.at(i - 1)) / pieceLength;
    return m_points.at(i - 1) + (m_points.at(i) - m_points.at(i - 1)) * fraction;
}

double BrandRoute::angle(double distance) const
{
    const QPointF from = point(std::max(distance - 6, 0.0));
    const QPointF to = point(std::min(distance + 6, length()));
    return std::atan2(to.y() - from.y(), to.x() - from.x()) * 180 / M_PI;
}

QPainterPath BrandRoute::path(double from, double to) const
{
    QPainterPath path;
    if (m_points.isEmpty() || !(from < to))
        return path;
    path.moveTo(point(from));
    const qsizetype i = indexAtOrAfter(from);
    const qsizetype j = indexAtOrAfter(to);
    for (qsizetype k = i; k < j; ++k) {
        if (m_lengths.at(k) > from)
            path.lineTo(m_points.at(k));
    }
    path.lineTo(point(to));
    return path;
}
