#pragma once

#include <QString>
#include <QVector>

namespace veldra {

// Thumbnail paths (data directory + "/" + thumbnail name), best match first.
using SearchResult = QVector<QString>;

} // namespace veldra
