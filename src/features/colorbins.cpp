#include "colorbins.h"

#include <algorithm>

namespace veldra {

const QVector<int>& colorBinKeys()
{
    static const QVector<int> keys = [] {
        QVector<int> result;
        result.reserve(colorBinCount);
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    result << r * 100 + g * 10 + b;
        return result;
    }();
    return keys;
}

double colorBinWeight(int keyA, int keyB)
{
    const int dr = keyA / 100 - keyB / 100;
    const int dg = keyA / 10 % 10 - keyB / 10 % 10;
    const int db = keyA % 10 - keyB % 10;
    const int distance = dr * dr + dg * dg + db * db;
    return 1.0 - std::min(distance, 6) / 6.0;
}

QString colorColumnName(int key)
{
    return QStringLiteral("%1%2").arg(QStringLiteral("c_")).arg(key);
}

QColor pickerColor(int column, int row)
{
    column = std::clamp(column, 0, 17);
    row = std::clamp(row, 0, 9);
    if (row > 8) {
        const int grey = (17 - column) * 15;
        return QColor(grey, grey, grey);
    }

    // Around the hue circle in steps of 85: one channel rises or falls per
    // group of three columns while another stays full.
    static constexpr int hues[18][3] = {
        { 255, 0, 0 },
        { 255, 85, 0 },
        { 255, 170, 0 },
        { 255, 255, 0 },
        { 170, 255, 0 },
        { 85, 255, 0 },
        { 0, 255, 0 },
        { 0, 255, 85 },
        { 0, 255, 170 },
        { 0, 255, 255 },
        { 0, 170, 255 },
        { 0, 85, 255 },
        { 0, 0, 255 },
        { 85, 0, 255 },
        { 170, 0, 255 },
        { 255, 0, 255 },
        { 255, 0, 170 },
        { 255, 0, 85 },
    };
    const int* hue = hues[column];
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        const int ch = hue[i];
        channels[i] = row < 4 ? ch + (255 - ch) / 5 * (4 - row) : (9 - row) * ch / 5;
    }
    return QColor(channels[0], channels[1], channels[2]);
}

} // namespace veldra
