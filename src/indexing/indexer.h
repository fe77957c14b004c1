#pragma once

#include <QString>

namespace veldra {

// What indexing one file came to.
enum IndexResult : int {
    Indexed = 0, // stored with its thumbnail
    AlreadyIndexed = 1, // its folder already holds that file name
    Unreadable = 2, // no image plug-in could decode it
    StoreFailed = 3, // the database refused it; nothing of it was kept
    NotIndexed = 4, // the batch was cancelled before it came to this file
};

// Indexes one picture: features, rows (one transaction on this thread's own
// connection) and thumbnail. Runs on pool threads at low priority.
int indexImage(const QString& path);

// Removes the thumbnails that indexers killed in the middle of storing a
// picture left without a row, and returns how many. Run after opening the index.
int recoverInterruptedIndexing();

} // namespace veldra
