#pragma once

#include <QRect>
#include <QVector>

#include <functional>

namespace veldra {

// Keeps the candidates that have a neighbour: another candidate whose left
// edge, top edge and width each differ by less than trunc(0.39 * width) of the
// candidate (strict). Scan order is kept.
QVector<QRect> confirmedCandidates(const QVector<QRect>& candidates);

// Splits the rectangles into clusters. Each cluster starts with the first
// remaining rectangle; its members are visited in order while it grows, and
// every remaining rectangle r with joins(member, r) moves into it.
QVector<QVector<QRect>> clusterRects(QVector<QRect> rects,
    const std::function<bool(const QRect& member, const QRect& other)>& joins);

} // namespace veldra
