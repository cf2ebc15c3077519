#pragma once

#include "BrandRoute.h"

#include <QHash>
#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <memory>
#include <optional>

class QPainter;

// One frame of the brand animation: the route drawn as a wide brush that reveals two pictures, the plane
// flying along it, two text pictures rising in and a shine sweeping over them. Times are milliseconds of
// one play; from `playLength` on the frame is final.
namespace BrandArt {

inline constexpr double boardWidth = 1024;
inline constexpr double boardHeight = 674;
inline constexpr double playLength = 1830;  // one play
inline constexpr double cycleLength = 2280; // a loop: the play, then the final frame for 450 ms
inline constexpr double brushWidth = 76;

// The time a loader shows after `elapsed` milliseconds of its clock.
double loaderTime(double elapsed, bool once, bool reduceMotion);
// How long a one-shot play runs before it reports that it finished.
int finishDelay(bool reduceMotion);

struct TextStep
{
    double opacity = 0; // 0: not drawn
    double rise = 0;    // board units still to rise
};

// What a frame shows at time t, computed along a route; draw() paints exactly this.
struct Frame
{
    double progress = 0; // of the flight, 0 … 1
    double head = 0;     // the plane's distance along the route
    double grow = 0;     // the plane's size, 0.5 … 1
    double drawnEnd = 0; // how far the brush has revealed
    TextStep text1;
    TextStep text2;
    std::optional<double> shineX; // left edge of the shine band while it sweeps
    double glowOpacity = 0;       // 0: no glow
    QPointF plane;                // the plane's centre
    double planeRotation = 0;     // degrees, relative to its pose in the art
    double planeScale = 1;
};

Frame frame(double t, const BrandRoute &route);

// The pictures by name ("intro-1", "intro-2", "intro-4", "loader-t1i", "loader-t2i"); a missing one is
// left out and whatever needs it is skipped.
using Pictures = QHash<QString, QImage>;
// The app's own pictures, drawn from the bundled art when first needed and kept while anyone holds them:
// the intro's full-window art is megabytes that a signed-in window has no use for.
std::shared_ptr<const Pictures> bundledPictures();
// Draws a picture of the bundled art to the given size; a null image when it cannot be read.
QImage renderPicture(const QString &name, QSize size);

// Paints one frame centred in a canvas of `size`, the board filling 84 % of the fitting dimension.
void draw(QPainter &painter, QSizeF size, double t, const BrandRoute &route, const Pictures &pictures);

} // namespace BrandArt
