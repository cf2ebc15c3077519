#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QRgb>
#include <QString>

#include <optional>

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

// Size classes of aircraft by name, and the zoom's share of a marker's size.
namespace PlaneStyle {
// The factor of the first family whose expression the lower-cased name holds: 1.45 the largest jets, 1.25
// wide bodies, 1.0 narrow bodies, 0.82 regional jets and fighters, 0.62 light aircraft; 1.0 for none. A
// C-17 number runs on into no further digit, so "C172" is the Cessna, not the transport.
double scale(const std::optional<QString> &aircraft);
// The zoom's factor: 0.5 up to zoom 1, growing piecewise linearly to 0.9 at zoom 14 (0.74 at zoom 8);
// 0.9 above, and for a zoom that is not a number.
double zoomFactor(double zoom);
// The side of a marker's square in points: 48 by the size class by the zoom's factor.
double markerSize(const std::optional<QString> &aircraft, double zoom);
} // namespace PlaneStyle

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
