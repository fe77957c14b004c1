#pragma once

#include "support/testfiles.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

namespace veldra::test {

// A white card with black text lines on a dark table, upright.
QImage cardPhoto(const QStringList& lines, int width, int height, int pixelSize,
    const QString& family = QStringLiteral("DejaVu Sans"));

// JPEG bytes of an image as the toolkit writes them (JFIF).
inline QByteArray jpegBytes(const QImage& image, int quality = 92)
{
    return imageBytes(image, "JPG", quality);
}

// The JPEG with an EXIF block holding only the orientation tag, either
// replacing the JFIF segment (the file then starts with "Exif") or after it.
QByteArray withOrientation(
    const QByteArray& jpeg, int orientation, bool keepJfif, bool littleEndian = false);

} // namespace veldra::test
