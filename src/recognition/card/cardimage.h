#pragma once

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

namespace veldra {

// The business-card reader's own raster: 0xFFRRGGBB pixels kept column by
// column. After grey conversion the grey level is read from the red byte.
class CardImage
{
public:
    CardImage() = default;
    explicit CardImage(const std::string& path);
    CardImage(int width, int height, uint32_t fill = 0xFF000000u);

    // Decodes a JPEG ("JFIF" or "Exif") upright by its EXIF orientation.
    // Returns false and leaves the image empty for anything else, including
    // corrupt, truncated or implausibly large files. Loading the path that is
    // already loaded again does nothing.
    bool load(const std::string& path);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isEmpty() const { return m_width <= 0 || m_height <= 0; }
    const std::string& path() const { return m_path; }

    uint32_t pixel(int x, int y) const { return m_columns[size_t(x)][size_t(y)]; }
    void setPixel(int x, int y, uint32_t value) { m_columns[size_t(x)][size_t(y)] = value; }
    int grey(int x, int y) const { return int((pixel(x, y) >> 16) & 0xFFu); }
    const std::vector<uint32_t>& column(int x) const { return m_columns[size_t(x)]; }
    std::vector<uint32_t>& column(int x) { return m_columns[size_t(x)]; }

    // (Re)creates width columns of height pixels, all black.
    void resize(int width, int height);

    static uint32_t greyPixel(int g)
    {
        const uint32_t v = uint32_t(g) & 0xFFu;
        return 0xFF000000u | (v << 16) | (v << 8) | v;
    }
    static int greyOf(uint32_t r, uint32_t g, uint32_t b)
    {
        return int((11 * r + 16 * g + 5 * b) >> 5);
    }

    void convertToGrey();
    CardImage scaledToWidth(int width) const;
    CardImage scaledToHeight(int height) const;
    CardImage smoothed() const;
    void applyEdgeMap(int threshold);
    // Copy in which every pixel darker than binarisationThreshold() is black.
    CardImage binarised() const;
    // Valley after the dark peak of the grey histogram of a 50-pixel-high
    // thumbnail; 0 when there is none.
    int binarisationThreshold() const;
    // The part inside the rectangle, clipped to the image.
    CardImage copy(int x, int y, int width, int height) const;

    QImage toQImage() const;
    static CardImage fromQImage(const QImage& image);

private:
    CardImage scaledBy(double factor) const;
    bool decode(const std::string& path);

    int m_width = 0;
    int m_height = 0;
    std::string m_path;
    std::vector<std::vector<uint32_t>> m_columns;
};

// The first grey level at which the running count of a 256-bin grey
// histogram reaches share of total; 255 when it never does.
int histogramPercentile(const int* histogram, long total, double share);

} // namespace veldra
