#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace veldra {

class FeatureVector;

// One row of table folder.
struct FolderRecord
{
    int id = 0;
    QString path; // stored form, see folderpath.h
};

// One row of table images.
struct ImageRecord
{
    int id = 0;
    int fid = 0;
    QString img; // file name of the source picture
    QString timg; // file name of its thumbnail in the data directory
    int bytes = 0;
    int width = 0;
    int height = 0;
    double rgn = 0;
    int rcn = 0;
    double temperature = 0;
    int sequence = 0; // position in the folder, 0 .. n - 1
};

// Every function here works on the index connection of the calling thread.

// Stores the folder (if new), the image at the end of its folder and its
// colour row. The caller owns the transaction. False when a statement failed.
bool insertImage(FeatureVector record);

// True when no picture of that file name (exact case) is stored for its folder.
bool isNewImage(const QString& path);

// The source picture of a thumbnail file name; the application directory
// followed by "/" when the thumbnail is not in the index.
QString sourceImagePath(const QString& thumbnail);

// The whole index: absolute folder path -> full thumbnail paths in folder order.
QMap<QString, QStringList> listAll();

// Id of the folder row of an absolute folder path, 0 when there is none.
int folderId(const QString& absoluteFolder);

// Moves the pictures of the given thumbnails into a folder of the index, the
// files first: a row follows only when its file is at the destination
// afterwards. Returns the thumbnails that moved. Nothing moves into a folder
// that is not in the index.
QStringList moveImages(const QString& folder, int position, const QStringList& thumbnails);

// Puts the images with these ids at position (clamped to the folder's end) of
// folder fid, in order, keeping every folder's sequence contiguous, and drops
// folders left empty.
void moveImageRows(int fid, int position, const QList<int>& ids);

} // namespace veldra
