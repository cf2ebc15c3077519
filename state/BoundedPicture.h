#pragma once

#include <QByteArray>
#include <QImage>

// A picture from outside that is kept whole (an avatar), decoded within bounds far above any avatar.
namespace BoundedPicture {

constexpr int maxSide = 8192;
// 16 Mi pixels (4096 x 4096, 8192 x 2048): what Qt's readers decode within their own limit, 128 MiB of pixels
// by default, which the app keeps, at 8 bytes a pixel, the widest an avatar decodes to (a 16-bit PNG). So
// every picture within the bound decodes and none beyond it; only a TIFF of floating-point samples (16 bytes
// a pixel) is refused beyond half of it.
constexpr qint64 maxPixels = qint64(16) << 20;

// The picture with its orientation applied; null when the bytes are no picture, or when either the size
// it states (before any pixel is allocated: a decompression bomb) or the size it decodes to is beyond the
// bounds. A GIF states its frame but decodes to its screen, which may be far larger.
QImage decode(const QByteArray &bytes);

} // namespace BoundedPicture
