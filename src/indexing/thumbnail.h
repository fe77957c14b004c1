#pragma once

#include <QImage>
#include <QString>

namespace veldra {

// Name of the thumbnail of a source picture: the MD5 of the path without its
// extension as 32 hex digits, ".", the extension ("gif" becomes "png"). A file
// name without "." gets the extension "png" and the digest of the path
// followed by "/", which no path with an extension can produce.
QString thumbnailName(const QString& path);

// Full path of that thumbnail in the data directory.
QString thumbnailPath(const QString& path);

// The thumbnail's file content: the image scaled into the "ThumbnailSize" box
// and encoded as the thumbnail name's extension asks. Empty for a null image.
QByteArray encodeThumbnail(const QString& path, const QImage& image);

// Writes a thumbnail file so that it appears complete or not at all.
bool writeThumbnail(const QString& file, const QByteArray& bytes);

// Writes the thumbnail of path, scaled into the "ThumbnailSize" box, and
// returns its full path. The given image is used as it is; without one the
// file is decoded upright. The file appears complete or not at all.
QString makeThumbnail(const QString& path, const QImage* image = nullptr);

} // namespace veldra
