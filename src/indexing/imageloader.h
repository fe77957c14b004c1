#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace veldra {

struct ExifInfo
{
    int orientation = 0; // tag 0x0112, 0 when absent or outside 0..8
    bool found = false; // an APP1 segment starting with "Exif" was found
};

// Reads the orientation from the first APP1 "Exif" segment of a file.
ExifInfo readExif(const QString& path);

// The same on the file's bytes. Never reads outside data, whatever the
// segment's lengths and offsets claim.
ExifInfo readExif(QByteArrayView data);

// False for a JPEG stream that ends before its end-of-image marker (a
// truncated file); true for complete ones and for anything not a JPEG.
bool isCompleteJpeg(QByteArrayView data);

// Decodes a picture (trying every image plug-in if the content is not
// recognised) and turns it upright by its EXIF orientation. Null on failure,
// truncated JPEGs included.
QImage loadImage(const QString& path);

// Rotates a decoded picture as EXIF orientation 3, 6 or 8 asks; other values
// leave it unchanged.
QImage applyOrientation(const QImage& image, int orientation);

} // namespace veldra
