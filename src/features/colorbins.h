#pragma once

#include <QColor>
#include <QString>
#include <QVector>
#include <QtGui/qrgb.h>

namespace veldra {

// 216 colour bins: six levels per channel (value / 43), keyed 100 r + 10 g + b.
inline constexpr int colorBinCount = 216;

inline int colorBinKey(QRgb rgb)
{
    return qRed(rgb) / 43 * 100 + qGreen(rgb) / 43 * 10 + qBlue(rgb) / 43;
}

// All bin keys in canonical order: 0, 1, ..., 5, 10, ..., 555.
const QVector<int>& colorBinKeys();

// Closeness of two bins in [0, 1]: 1 - min(d², 6) / 6 over the level distance.
double colorBinWeight(int keyA, int keyB);

// "c_" followed by the key, the column of the bin in table colors.
QString colorColumnName(int key);

// Colour of cell (column 0..17, row 0..9) of the colour picker's palette grid.
QColor pickerColor(int column, int row);

} // namespace veldra
