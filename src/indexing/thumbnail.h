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

// Writes the thumbnail of path, scaled into the "ThumbnailSize" box, and
// returns its full path. The given image is used as it is; without one the
// file is decoded upright. The file appears complete or not at all.
QString makeThumbnail(const QString& path, const QImage* image = nullptr);

} // namespace veldra
