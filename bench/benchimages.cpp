#include "benchimages.h"

#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace veldra::bench {

QImage photoLikeImage(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    const int horizon = height * 2 / 5;
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            int r, g, b;
            if (y < horizon) {
                const int t = 255 * y / std::max(horizon, 1);
                r = 90 + t / 3;
                g = 140 + t / 4;
                b = 230 - t / 5;
            } else {
                const double texture = std::sin(x * 0.05) * std::cos(y * 0.07) * 30;
                r = 70 + int(texture) + (x * 40) / width;
                g = 110 + int(texture);
                b = 50;
            }
            const int noise = int(random.bounded(13)) - 6;
            line[x] = qRgb(std::clamp(r + noise, 0, 255), std::clamp(g + noise, 0, 255),
                std::clamp(b + noise, 0, 255));
        }
    }
    QPainter painter(&image);
    for (int i = 0; i < 60; ++i) {
        const int w = int(random.bounded(width / 6)) + 8;
        const int h = int(random.bounded(height / 6)) + 8;
        painter.fillRect(int(random.bounded(width)), int(random.bounded(height)), w, h,
            QColor::fromRgb(random.generate() | 0xff000000));
    }
    return image;
}

} // namespace veldra::bench
