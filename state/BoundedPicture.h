#pragma once

#include <QByteArray>
#include <QImage>

// A picture from outside that is kept whole (an avatar), decoded within bounds far above any avatar.
namespace BoundedPicture {

constexpr int maxSide = 8192;
// 32 Mi pixels, 8192 x 4096.
constexpr qint64 maxPixels = qint64(32) << 20;
// Qt's readers refuse a bitmap larger than this, in MiB: the bound at 8 bytes a pixel, the widest pixels an
// avatar decodes to (a 16-bit PNG), so every picture within the bound decodes. Only a TIFF of floating-point
// samples (16 bytes a pixel) is refused beyond half of it.
constexpr int allocationLimitMiB = int(maxPixels * 8 >> 20);

// The picture with its orientation applied; null when the bytes are no picture, or when either the size
// it states (before any pixel is allocated: a decompression bomb) or the size it decodes to is beyond the
// bounds. A GIF states its frame but decodes to its screen, which may be far larger.
QImage decode(const QByteArray &bytes);

} // namespace BoundedPicture
