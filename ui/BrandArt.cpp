#include "BrandArt.h"

#include <QLinearGradient>
#include <QMutex>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace BrandArt {

namespace {

double clamp01(double value) { return std::clamp(std::isnan(value) ? 0.0 : value, 0.0, 1.0); }

double ease(double p) { return 0.5 - std::cos(p * M_PI) * 0.5; }

const QRectF board(0, 0, boardWidth, boardHeight);
const QRectF planeRect(688, 178, 214, 177);
const QRectF textRect(404, 371, 620, 238);
const QPointF planeRest(795, 266.5); // the route's end, where the art places the plane

constexpr double text1Start = 860;
constexpr double text2Start = 1040;
constexpr double textRise = 28;
constexpr double shineStart = 1380;
constexpr double shineLength = 450;
constexpr double shineWidth = 170;

TextStep textStep(double t, double start)
{
    const double q = clamp01((t - start) / 400);
    if (q <= 0)
        return {};
    return {std::min(1.6 * q, 1.0), textRise * std::pow(1 - q, 3)};
}

QString picturePath(const QString &name)
{
    return QStringLiteral(":/qt/qml/Vorna/Ui/brand/%1.svg").arg(name);
}

// Fills the brush outline of a stretch of the route with a picture laid over the whole board.
void reveal(QPainter &painter, const BrandRoute &route, double from, double to, const QImage &picture)
{
    QPainterPathStroker brush;
    brush.setWidth(brushWidth);
    brush.setCapStyle(Qt::RoundCap);
    brush.setJoinStyle(Qt::RoundJoin);
    brush.setMiterLimit(10);
    QPainterPath outline = brush.createStroke(route.path(from, to));
    outline.setFillRule(Qt::WindingFill);
    // Filling with the picture as a brush keeps the outline's edge antialiased, which a clip would not.
    QBrush fill(picture);
    fill.setTransform(QTransform::fromScale(boardWidth / picture.width(), boardHeight / picture.height()));
    painter.fillPath(outline, fill);
}

void drawShine(QPainter &painter, double x0, const QImage &text1, const QImage &text2)
{
    // The band is drawn into a layer of the text rectangle, then kept only where the text pictures are.
    const double resolution = double(text1.width()) / textRect.width();
    QImage layer(text1.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter band(&layer);
        band.setRenderHint(QPainter::Antialiasing);
        band.scale(resolution, resolution);
        band.translate(-textRect.topLeft());
        band.setTransform(QTransform(1, 0, -std::tan(20 * M_PI / 180), 1, 0, 0), true);
        QLinearGradient gradient(QPointF(x0, 0), QPointF(x0 + shineWidth, 0));
        gradient.setColorAt(0, QColor(255, 255, 255, 0));
        gradient.setColorAt(0.5, QColor::fromRgbF(1, 1, 1, 0.7f));
        gradient.setColorAt(1, QColor(255, 255, 255, 0));
        band.fillRect(QRectF(x0, textRect.y(), shineWidth, textRect.height()), gradient);

        // Keep the band where either text picture covers it. Masking with one picture after the other
        // would keep only where both do, and two separate lines of text never overlap.
        QImage mask(layer.size(), QImage::Format_ARGB32_Premultiplied);
        mask.fill(Qt::transparent);
        {
            QPainter texts(&mask);
            texts.drawImage(mask.rect(), text1);
            texts.drawImage(mask.rect(), text2);
        }
        band.resetTransform();
        band.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        band.drawImage(layer.rect(), mask);
    }
    painter.drawImage(textRect, layer);
}

void drawGlow(QPainter &painter, QPointF centre, double opacity)
{
    // A white disc of diameter 92 under a blur of radius 16, as a radial falloff.
    const double radius = 46 + 2 * 16;
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, QColor(255, 255, 255));
    glow.setColorAt((46.0 - 16) / radius, QColor(255, 255, 255));
    glow.setColorAt(46.0 / radius, QColor::fromRgbF(1, 1, 1, 0.5f));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    painter.save();
    painter.setOpacity(opacity);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

} // namespace

double loaderTime(double elapsed, bool once, bool reduceMotion)
{
    const double t = reduceMotion ? playLength : std::max(std::isnan(elapsed) ? 0.0 : elapsed, 0.0);
    return once ? std::min(t, playLength) : std::fmod(t, cycleLength);
}

int finishDelay(bool reduceMotion) { return reduceMotion ? 600 : int(playLength); }

Frame frame(double t, const BrandRoute &route)
{
    Frame f;
    const double total = route.length();
    f.progress = clamp01(t / 1000);
    const bool flying = f.progress < 1;
    f.head = (0.12 * f.progress + 0.88 * ease(f.progress)) * total;
    f.grow = std::min(0.5 + (std::max(t, 0.0) / 220) * 0.5, 1.0);
    f.drawnEnd = flying ? f.head - 36 * f.grow : total;

    f.text1 = textStep(t, text1Start);
    f.text2 = textStep(t, text2Start);

    const double r = (t - shineStart) / shineLength;
    if (r > 0 && r < 1)
        f.shineX = (0.12 * r + 0.88 * ease(r)) * 1000 + 380;

    if (t < 1000)
        f.glowOpacity = std::max(std::sin(f.progress * M_PI) * 0.28, 0.0);

    f.plane = route.point(f.head);
    const double a1 = route.angle(f.head);
    const double a2 = route.angle(total - 120);
    const double blend = clamp01((f.head - (total - 60)) / 60);
    const double turn = flying ? std::fmod(a1 - a2 + 540, 360) - 180 : 0;
    f.planeRotation = (1 - blend) * turn;
    f.planeScale = flying ? f.grow : 1;
    return f;
}

QImage renderPicture(const QString &name, QSize size)
{
    QSvgRenderer svg(picturePath(name));
    if (!svg.isValid() || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

std::shared_ptr<const Pictures> bundledPictures()
{
    // Canvases paint on the render thread and go on the GUI thread.
    static QMutex mutex;
    static std::weak_ptr<const Pictures> shared;
    const QMutexLocker lock(&mutex);
    if (auto pictures = shared.lock())
        return pictures;
    const QList<std::pair<QString, QSize>> sizes{
        {QStringLiteral("intro-1"), board.size().toSize()},
        {QStringLiteral("intro-2"), board.size().toSize()},
        {QStringLiteral("intro-4"), planeRect.size().toSize() * 2},
        {QStringLiteral("loader-t1i"), textRect.size().toSize() * 2},
        {QStringLiteral("loader-t2i"), textRect.size().toSize() * 2},
    };
    auto drawn = std::make_shared<Pictures>();
    for (const auto &[name, size] : sizes) {
        QImage image = renderPicture(name, size);
        if (!image.isNull())
            drawn->insert(name, image);
    }
    shared = drawn;
    return drawn;
}

void draw(QPainter &painter, QSizeF size, double t, const BrandRoute &route, const Pictures &pictures)
{
    if (route.isEmpty() || size.isEmpty())
        return;
    const Frame f = frame(t, route);
    const QImage route1 = pictures.value(QStringLiteral("intro-1"));
    const QImage route2 = pictures.value(QStringLiteral("intro-2"));
    const QImage plane = pictures.value(QStringLiteral("intro-4"));
    const QImage text1 = pictures.value(QStringLiteral("loader-t1i"));
    const QImage text2 = pictures.value(QStringLiteral("loader-t2i"));

    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const double s = std::min(size.width() * 0.84 / boardWidth, size.height() * 0.84 / boardHeight);
    painter.translate((size.width() - boardWidth * s) / 2, (size.height() - boardHeight * s) / 2);
    painter.scale(s, s);

    if (!route1.isNull() && f.drawnEnd > 0)
        reveal(painter, route, 0, f.drawnEnd, route1);
    if (!route2.isNull() && f.drawnEnd > route.tailStart())
        reveal(painter, route, route.tailStart(), f.drawnEnd, route2);

    const std::pair<const QImage &, TextStep> texts[] = {{text1, f.text1}, {text2, f.text2}};
    for (const auto &[picture, step] : texts) {
        if (picture.isNull() || step.opacity <= 0)
            continue;
        painter.save();
        painter.setOpacity(step.opacity);
        painter.drawImage(textRect.translated(0, step.rise), picture);
        painter.restore();
    }

    if (f.shineX && !text1.isNull() && !text2.isNull())
        drawShine(painter, *f.shineX, text1, text2);

    if (f.glowOpacity > 0)
        drawGlow(painter, f.plane, f.glowOpacity);

    if (!plane.isNull()) {
        painter.save();
        painter.translate(f.plane);
        painter.rotate(f.planeRotation);
        painter.scale(f.planeScale, f.planeScale);
        painter.translate(-planeRest);
        painter.drawImage(planeRect, plane);
        painter.restore();
    }
    painter.restore();
}

} // namespace BrandArt
