#pragma once

#include "searchresult.h"

#include <QColor>
#include <QVector>

namespace veldra {

// The three searches over the index. Each uses the index connection of the
// calling thread, so they may run on any thread; a failed query gives an
// empty result.

// Every other indexed picture by L1 distance of its colour weights to those of
// the sample (an indexed source picture), nearest first, larger files first
// among equals. Empty when the sample is not in the index.
SearchResult similaritySearch(const QString& samplePath);

// Pictures by their summed weights in the bins of the chosen colours (a bin
// chosen twice counts twice), best first, down to the first score of 0.
SearchResult colorSearch(const QVector<QColor>& colors);

// All pictures by |noise - rgn| * balance + |temperature - temperature| *
// (100 - balance), lowest first. Balance is not clamped.
SearchResult moodSearch(int temperature, int noise, int balance);

} // namespace veldra
