#pragma once

#include "support/exifjpeg.h"
#include "support/syntheticphotos.h"

namespace veldra::test {

// JPEG bytes of an image as the toolkit writes them (JFIF).
inline QByteArray jpegBytes(const QImage& image, int quality = 92)
{
    return imageBytes(image, "JPG", quality);
}

// The JPEG with an EXIF block holding only the orientation tag, either
// replacing the JFIF segment (the file then starts with "Exif") or after it.
inline QByteArray withOrientation(
    const QByteArray& jpeg, int orientation, bool keepJfif, bool littleEndian = false)
{
    const int jfifEnd = 4 + ((uchar(jpeg[4]) << 8) | uchar(jpeg[5]));
    return jpeg.left(keepJfif ? jfifEnd : 2) + orientationSegment(orientation, littleEndian)
        + jpeg.mid(jfifEnd);
}

} // namespace veldra::test
