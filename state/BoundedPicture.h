#pragma once

#include <QByteArray>
#include <QImage>

// A picture from outside that is kept whole (an avatar), decoded within bounds far above any avatar.
namespace BoundedPicture {

constexpr int maxSide = 8192;
constexpr qint64 maxPixels = 40'000'000;

// The picture with its orientation applied; null when the bytes are no picture, or when either the size
// it states (before any pixel is allocated: a decompression bomb) or the size it decodes to is beyond the
// bounds. A GIF states its frame but decodes to its screen, which may be far larger.
QImage decode(const QByteArray &bytes);

} // namespace BoundedPicture
