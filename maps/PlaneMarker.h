#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QRgb>

// The marker colours: fully opaque, shared by every marker, the header and the "LIVE" badge.
namespace PlaneColors {
inline constexpr QRgb ink = 0xff1b2233;
inline constexpr QRgb selected = 0xfffa691f;
inline constexpr QRgb event = 0xff1d6fe0;
inline constexpr QRgb live = 0xffd9ad59;
} // namespace PlaneColors

// The aircraft silhouette, nose up, drawn in a 48 by 48 design box and stretched onto any rectangle.
namespace PlaneShape {
QPainterPath path(const QRectF &rect);
} // namespace PlaneShape

namespace PlaneMarker {
struct Colors
{
    QRgb fill;
    QRgb outline;
    friend bool operator==(const Colors &, const Colors &) = default;
};

// The selection outranks the event, the event outranks the live state.
Colors colors(bool selected, bool eventAttending, bool live);
// Centred on the silhouette's edge; never thinner than one point.
double outlineWidth(double size);
} // namespace PlaneMarker
