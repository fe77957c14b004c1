#pragma once

#include <QString>
#include <QStringList>

namespace veldra::tools {

// Character accuracy 1 - edit distance / length of the truth (at least 0),
// and the share of truth lines found exactly.
struct CardScore
{
    double characters = 0;
    double lines = 0;
};

int editDistance(const QString& a, const QString& b);
CardScore scoreCard(const QStringList& recognised, const QStringList& truth);

} // namespace veldra::tools
