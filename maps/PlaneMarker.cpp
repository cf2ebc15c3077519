#include "PlaneMarker.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

QPainterPath designPath()
{
    QPainterPath p;
    p.moveTo(24, 2.5);
    p.cubicTo(26.3, 4.6, 26.7, 8.2, 26.7, 12);
    p.lineTo(26.7, 17.6);
    p.lineTo(44.3, 29.3);
    p.quadTo(45.6, 31.6, 43.5, 31.7);
    p.lineTo(26.7, 27.4);
    p.lineTo(26.2, 37.4);
    p.lineTo(32.8, 41.5);
    p.quadTo(33.9, 43.5, 32.2, 43.5);
    p.lineTo(25.3, 42.1);
    p.quadTo(24.9, 45, 24, 45.6);
    p.quadTo(23.1, 45, 22.7, 42.1);
    p.lineTo(15.8, 43.5);
    p.quadTo(14.1, 43.5, 15.2, 41.5);
    p.lineTo(21.8, 37.4);
    p.lineTo(21.3, 27.4);
    p.lineTo(4.5, 31.7);
    p.quadTo(2.4, 31.6, 3.7, 29.3);
    p.lineTo(21.3, 17.6);
    p.lineTo(21.3, 12);
    p.cubicTo(21.3, 8.2, 21.7, 4.6, 24, 2.5);
    p.closeSubpath();
    p.setFillRule(Qt::WindingFill);
    return p;
}

} // namespace

QPainterPath PlaneShape::path(const QRectF &rect)
{
    static const QPainterPath design = designPath();
    QTransform toRect;
    toRect.translate(rect.left(), rect.top());
    toRect.scale(rect.width() / 48, rect.height() / 48);
    return toRect.map(design);
}

PlaneMarker::Colors PlaneMarker::colors(bool selected, bool eventAttending, bool live)
{
    constexpr QRgb white = 0xffffffff;
    if (selected)
        return {PlaneColors::selected, PlaneColors::ink};
    if (eventAttending)
        return {PlaneColors::event, white};
    if (live)
        return {PlaneColors::live, PlaneColors::ink};
    return {PlaneColors::ink, white};
}

double PlaneMarker::outlineWidth(double size) { return std::max(size * 1.4 / 48, 1.0); }

double PlaneStyle::scale(const std::optional<QString> &aircraft)
{
    struct Family
    {
        double factor;
        QRegularExpression expression;
    };
    // The families' expressions character for character, but for the C-17: "c-?17" must not run on into a
    // third digit, or "C172" (the Cessna written without a space) would be a wide body.
    static const std::array<Family, 5> families{{
        {1.45, QRegularExpression(QStringLiteral("a380|747|an-?225"))},
        {1.25,
         QRegularExpression(QStringLiteral("777|a350|a340|a330|787|767|md-?11|dc-?10|c-?17(?!\\d)|kc-?10"))},
        {1.0, QRegularExpression(QStringLiteral("757|737|a32\\d|a31\\d|a220|md-?8|c-?130|717"))},
        {0.82, QRegularExpression(QStringLiteral(
                   "e1[79]\\d|e-?jet|embraer|crj|erj|dash|q400|atr|challenger|citation|f-?1[468]|f-?22|a-?10|"
                   "spitfire|p-?38"))},
        {0.62, QRegularExpression(QStringLiteral(
                   "cessna|c172|c208|cirrus|sr22|tbm|xcub|cub|da-?4\\d|diamond|piper|bonanza|decathlon"))},
    }};
    // A snapshot holds a few dozen names among thousands of flights: each is matched once.
    thread_local QHash<QString, double> known;
    const QString raw = aircraft.value_or(QString());
    if (const auto found = known.constFind(raw); found != known.cend())
        return *found;
    const QString name = raw.toLower();
    double factor = 1.0;
    for (const Family &family : families) {
        if (family.expression.match(name).hasMatch()) {
            factor = family.factor;
            break;
        }
    }
    if (known.size() > 4096)
        known.clear();
    known.insert(raw, factor);
    return factor;
}

double PlaneStyle::zoomFactor(double zoom)
{
    if (std::isnan(zoom) || zoom > 14)
        return 0.9;
    if (zoom <= 1)
        return 0.5;
    if (zoom <= 8)
        return 0.5 + (zoom - 1) / 7 * 0.24;
    return 0.74 + (zoom - 8) / 6 * 0.16;
}

double PlaneStyle::markerSize(const std::optional<QString> &aircraft, double zoom)
{
    return 48 * scale(aircraft) * zoomFactor(zoom);
}
