#include "FuzzTarget.h"

#include "AircraftImageService.h"
#include "BoundedPicture.h"

// Pictures from outside: the aircraft and livery pictures of the member site, and the member's avatar (the
// profile's and the forum's). Whatever the bytes state, the bitmap they give stays within its bounds.

// The first two bytes ask for the longer side (clamped as the picture service clamps it); the rest is the
// picture.
VORNA_FUZZ_TARGET(pictures)
{
    if (bytes.size() < 2)
        return;
    const int maxPixel = AircraftImageService::clampedMaxPixel(quint8(bytes[0]) << 8 | quint8(bytes[1]));
    const QImage picture = AircraftImageService::decodePicture(bytes.sliced(2), maxPixel);
    FUZZ_CHECK(picture.width() <= maxPixel && picture.height() <= maxPixel);
}

VORNA_FUZZ_TARGET(forum_picture)
{
    const QImage picture = BoundedPicture::decode(bytes);
    FUZZ_CHECK(picture.width() <= BoundedPicture::maxSide && picture.height() <= BoundedPicture::maxSide);
    FUZZ_CHECK(qint64(picture.width()) * picture.height() <= BoundedPicture::maxPixels);
}
