#pragma once

#include <QImage>
#include <QPair>
#include <QString>
#include <QVector>

namespace veldra {

// The features of one picture as stored in the index.
class FeatureVector
{
public:
    // Computes every feature. Without an image the file is decoded upright;
    // with one, the image is used as it is and only the file size is read.
    explicit FeatureVector(const QString& fileName, const QImage* image = nullptr);
    FeatureVector() = default;

    QString fileName;
    int width = 0;
    int height = 0;
    int bytes = 0;
    double rgn = 0; // noise: edge density, 0..100
    double temperature = 0; // -100 (cool) .. 100 (warm)
    int rcn = 0;
    QVector<QPair<int, int>> colorWeights; // bin key, weight > 0

    // Share of strong edge pixels, scaled so that 38.5 % or more is 100.
    static double edgeDensity(const QImage& image);
    // Mean warmth of the hues; NaN for an empty image.
    static double colorTemperature(const QImage& image);
    // Smoothed percentage histogram over the colour bins.
    static QVector<QPair<int, int>> computeColorWeights(const QImage& image);
};

// The toolkit's HSV hue of an RGB colour in degrees, -1 for greys; equal to
// QColor::hue() for every colour, without constructing one.
int hsvHue(int red, int green, int blue);

// hsvHue of many pixels at once (their alpha ignored), vectorised where the
// processor allows, with identical results.
void hsvHues(const QRgb* pixels, qsizetype count, int* hues);

} // namespace veldra
