#include "cardimage.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

namespace veldra {

namespace {

// Anything larger is refused before a single pixel is allocated: a hostile
// header must not make the reader reserve gigabytes.
constexpr long long maxPixels = 120LL * 1000 * 1000;
constexpr int maxSide = 65500;

// libjpeg's default handler calls exit(); ours jumps back into the loader.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    // Kept here, behind a pointer libjpeg holds, so it survives a jump intact.
    std::vector<JSAMPLE> row;
    int orientation = 1;
};

void errorExit(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(manager->jump, 1);
}

// Warnings about missing or corrupt data would otherwise leave grey blocks in
// the picture; a card read from such a file is not worth trusting.
void emitMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    const int code = info->err->msg_code;
    if (code == JWRN_EXTRANEOUS_DATA)
        return;
    errorExit(info);
}

void silentOutput(j_common_ptr)
{ }

struct FileCloser
{
    void operator()(std::FILE* file) const
    {
        if (file)
            std::fclose(file);
    }
};

// Orientation tag (0x0112) of the EXIF block; 1 when there is none. The scan
// starts at the block itself: a short block may hold the tag among the
// header bytes already read.
[[gnu::noinline]] int scanOrientation(
    std::FILE* file, const unsigned char* header, int headerSize, int blockStart, bool& ok)
{
    ok = true;
    const int lengthAt = blockStart - 6;
    const int length = (header[lengthAt] << 8) | header[lengthAt + 1];
    std::vector<unsigned char> segment(header + blockStart, header + headerSize);
    segment.resize(segment.size() + size_t(length), 0);
    const size_t read
        = std::fread(segment.data() + (headerSize - blockStart), 1, size_t(length), file);
    if (read < size_t(length)) {
        // The segment claims more bytes than the file holds.
        ok = false;
        return 1;
    }
    int orientation = 1;
    for (size_t i = 0; i + 10 <= segment.size(); ++i) {
        if (segment[i] == 0x01 && segment[i + 1] == 0x12) {
            orientation = segment[i + 9];
            break;
        }
        if (segment[i] == 0x12 && segment[i + 1] == 0x01) {
            orientation = segment[i + 8];
            break;
        }
    }
    return orientation > 8 ? 1 : orientation;
}

// Threshold that best separates the histogram into two classes.
int otsuThreshold(const int* histogram)
{
    double total = 0;
    double sum = 0;
    for (int i = 0; i < 256; ++i) {
        total += histogram[i];
        sum += double(i) * histogram[i];
    }
    double weightBelow = 0;
    double sumBelow = 0;
    double best = -1;
    int threshold = 0;
    for (int t = 0; t < 256; ++t) {
        weightBelow += histogram[t];
        sumBelow += double(t) * histogram[t];
        if (weightBelow == 0)
            continue;
        const double weightAbove = total - weightBelow;
        if (weightAbove == 0)
            break;
        const double meanBelow = sumBelow / weightBelow;
        const double meanAbove = (sum - sumBelow) / weightAbove;
        const double between
            = weightBelow * weightAbove * (meanBelow - meanAbove) * (meanBelow - meanAbove);
        if (between > best) {
            best = between;
            threshold = t + 1;
        }
    }
    return threshold;
}

} // namespace

CardImage::CardImage(const std::string& path)
{
    load(path);
}

CardImage::CardImage(int width, int height, uint32_t fill)
{
    if (width <= 0 || height <= 0)
        return;
    m_width = width;
    m_height = height;
    m_columns.assign(size_t(width), std::vector<uint32_t>(size_t(height), fill));
}

void CardImage::resize(int width, int height)
{
    m_columns.clear();
    if (width <= 0 || height <= 0) {
        m_width = m_height = 0;
        return;
    }
    m_width = width;
    m_height = height;
    m_columns.assign(size_t(width), std::vector<uint32_t>(size_t(height), 0xFF000000u));
}

bool CardImage::load(const std::string& path)
{
    if (path.empty())
        return false;
    if (path == m_path)
        return !isEmpty();
    m_path = path;
    resize(0, 0);
    if (!decode(path)) {
        resize(0, 0);
        return false;
    }
    return true;
}

bool CardImage::decode(const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    unsigned char header[30];
    if (std::fread(header, 1, sizeof header, file.get()) != sizeof header)
        return false;
    int blockStart = 0;
    if (std::memcmp(header + 6, "JFIF", 4) == 0) {
        if (std::memcmp(header + 24, "Exif", 4) == 0)
            blockStart = 28;
    } else if (std::memcmp(header + 6, "Exif", 4) == 0) {
        blockStart = 10;
    } else {
        return false;
    }
    bool ok = true;
    const int orientation = blockStart > 0
        ? scanOrientation(file.get(), header, int(sizeof header), blockStart, ok)
        : 1;
    if (!ok)
        return false;
    std::rewind(file.get());

    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.emit_message = emitMessage;
    errors.base.output_message = silentOutput;
    errors.orientation = orientation;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file.get());
    jpeg_read_header(&info, TRUE);
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > unsigned(maxSide)
        || info.image_height > unsigned(maxSide)
        || (long long)info.image_width * info.image_height > maxPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    const int decodedWidth = int(info.output_width);
    const int decodedHeight = int(info.output_height);
    const int components = info.output_components;
    if (decodedWidth <= 0 || decodedHeight <= 0
        || (components != 1 && components != 3 && components != 4)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool swapped = errors.orientation == 6 || errors.orientation == 8;
    resize(swapped ? decodedHeight : decodedWidth, swapped ? decodedWidth : decodedHeight);
    errors.row.resize(size_t(decodedWidth) * size_t(components));
    JSAMPROW rows[1] = { errors.row.data() };
    while (int(info.output_scanline) < decodedHeight) {
        const int r = int(info.output_scanline);
        if (jpeg_read_scanlines(&info, rows, 1) != 1)
            break;
        for (int c = 0; c < decodedWidth; ++c) {
            const JSAMPLE* s = errors.row.data() + size_t(c) * size_t(components);
            uint32_t red, green, blue;
            if (components == 3) {
                red = s[0];
                green = s[1];
                blue = s[2];
            } else if (components == 4) {
                red = uint32_t(s[0]) * s[3] / 255;
                green = uint32_t(s[1]) * s[3] / 255;
                blue = uint32_t(s[2]) * s[3] / 255;
            } else {
                red = green = blue = s[0];
            }
            const uint32_t value = 0xFF000000u | (red << 16) | (green << 8) | blue;
            int x = c;
            int y = r;
            switch (errors.orientation) {
            case 3:
                x = decodedWidth - 1 - c;
                y = decodedHeight - 1 - r;
                break;
            case 6:
                x = decodedHeight - 1 - r;
                y = c;
                break;
            case 8:
                x = r;
                y = decodedWidth - 1 - c;
                break;
            default:
                break;
            }
            m_columns[size_t(x)][size_t(y)] = value;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

void CardImage::convertToGrey()
{
    for (auto& column : m_columns)
        for (uint32_t& p : column)
            p = greyPixel(greyOf((p >> 16) & 0xFFu, (p >> 8) & 0xFFu, p & 0xFFu));
}

CardImage CardImage::scaledToWidth(int width) const
{
    if (isEmpty() || width <= 0)
        return CardImage();
    return scaledBy(double(m_width) / width);
}

CardImage CardImage::scaledToHeight(int height) const
{
    if (isEmpty() || height <= 0)
        return CardImage();
    return scaledBy(double(m_height) / height);
}

CardImage CardImage::scaledBy(double factor) const
{
    const int newWidth = int(m_width / factor);
    const int newHeight = int(m_height / factor);
    if (newWidth <= 0 || newHeight <= 0)
        return CardImage();
    const double sx = double(m_width) / newWidth;
    const double sy = double(m_height) / newHeight;
    std::vector<int> rows(static_cast<size_t>(newHeight), 0);
    for (int j = 0; j < newHeight; ++j)
        rows[size_t(j)] = std::min(int(std::lround(j * sy + sy / 2)), m_height - 1);
    CardImage result(newWidth, newHeight);
    for (int i = 0; i < newWidth; ++i) {
        const int sourceX = std::min(int(std::lround(i * sx + sx / 2)), m_width - 1);
        const std::vector<uint32_t>& source = m_columns[size_t(sourceX)];
        std::vector<uint32_t>& target = result.m_columns[size_t(i)];
        for (int j = 0; j < newHeight; ++j)
            target[size_t(j)] = source[size_t(rows[size_t(j)])];
    }
    return result;
}

CardImage CardImage::smoothed() const
{
    if (m_width <= 1 || m_height <= 1)
        return *this;
    CardImage result(m_width, m_height);
    for (int x = 0; x < m_width; ++x) {
        for (int y = 0; y < m_height; ++y) {
            int sum = 0;
            int weights = 0;
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx;
                if (nx < 0 || nx >= m_width)
                    continue;
                const std::vector<uint32_t>& column = m_columns[size_t(nx)];
                for (int dy = -1; dy <= 1; ++dy) {
                    const int ny = y + dy;
                    if (ny < 0 || ny >= m_height)
                        continue;
                    const int weight = (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1);
                    sum += weight * int((column[size_t(ny)] >> 16) & 0xFFu);
                    weights += weight;
                }
            }
            result.m_columns[size_t(x)][size_t(y)] = greyPixel(sum / weights);
        }
    }
    return result;
}

void CardImage::applyEdgeMap(int threshold)
{
    std::vector<std::vector<uint32_t>> edges(
        size_t(m_width), std::vector<uint32_t>(size_t(m_height), 0xFF000000u));
    for (int x = 1; x < m_width; ++x) {
        for (int y = 1; y < m_height; ++y) {
            const int g = grey(x, y);
            if (std::abs(grey(x - 1, y) - g) + std::abs(grey(x, y - 1) - g) > threshold)
                edges[size_t(x)][size_t(y)] = 0xFFFFFFFFu;
        }
    }
    m_columns.swap(edges);
}

int CardImage::binarisationThreshold() const
{
    const CardImage thumbnail = scaledToHeight(50);
    if (thumbnail.isEmpty())
        return 0;
    const int w = thumbnail.width();
    const int h = thumbnail.height();
    int histogram[256] = {};
    for (int x = int(0.1 * w); x < 0.9 * w; ++x)
        for (int y = int(0.1 * h); y < 0.9 * h; ++y)
            ++histogram[thumbnail.grey(x, y)];

    int raw[256];
    std::copy(histogram, histogram + 256, raw);
    int smoothed[256] = {};
    for (int k = 2; k <= 252; ++k)
        smoothed[k] = int(0.1
            * (histogram[k - 2] + 2 * histogram[k - 1] + 4 * histogram[k] + 2 * histogram[k + 1]
                + histogram[k + 2]));
    int maximum = 0;
    for (int k = 2; k <= 252; ++k) {
        histogram[k] = int(0.1
            * (smoothed[k - 2] + 2 * smoothed[k - 1] + 4 * smoothed[k] + 2 * smoothed[k + 1]
                + smoothed[k + 2]));
        maximum = std::max(maximum, histogram[k]);
    }
    if (maximum <= 0)
        return 0;
    for (int i = 0; i < 256; ++i)
        histogram[i] = int(double(histogram[i]) / maximum * 100);

    int threshold = 0;
    enum { BeforePeak, Rising, Falling } state = BeforePeak;
    for (int i = 1; i < 256 && threshold == 0; ++i) {
        const int step = histogram[i] - histogram[i - 1];
        if (state == BeforePeak && step >= 1)
            state = Rising;
        if (state == Rising && step <= -1)
            state = Falling;
        if (state == Falling && (step >= 1 || histogram[i] == 0) && histogram[i] < 80)
            threshold = i;
    }

    // When the ink is too faint or too spread out to form a peak of its own
    // (a blurred photo), the first valley lies behind the paper peak and the
    // whole card would turn black. If there is ink clearly darker than the
    // paper, split at the Otsu threshold instead.
    const int paper = int(std::max_element(histogram + 2, histogram + 253) - histogram);
    if (threshold == 0 || threshold > paper) {
        long total = 0;
        long dark = 0;
        for (int i = 0; i < 256; ++i) {
            total += raw[i];
            if (i < paper - 40)
                dark += raw[i];
        }
        if (total > 0 && dark * 200 >= total)
            threshold = otsuThreshold(raw);
    }
    return threshold;
}

CardImage CardImage::binarised() const
{
    const int threshold = binarisationThreshold();
    CardImage result = *this;
    result.m_path.clear();
    for (auto& column : result.m_columns)
        for (uint32_t& p : column)
            if (int((p >> 16) & 0xFFu) < threshold)
                p = 0xFF000000u;
    return result;
}

CardImage CardImage::copy(int x, int y, int width, int height) const
{
    const int left = std::max(0, x);
    const int top = std::max(0, y);
    const int right = std::min(m_width, x + width);
    const int bottom = std::min(m_height, y + height);
    if (right <= left || bottom <= top)
        return CardImage();
    CardImage result(right - left, bottom - top);
    for (int i = left; i < right; ++i)
        std::copy(m_columns[size_t(i)].begin() + top, m_columns[size_t(i)].begin() + bottom,
            result.m_columns[size_t(i - left)].begin());
    return result;
}

QImage CardImage::toQImage() const
{
    if (isEmpty())
        return QImage();
    QImage image(m_width, m_height, QImage::Format_RGB32);
    for (int y = 0; y < m_height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < m_width; ++x)
            line[x] = m_columns[size_t(x)][size_t(y)] | 0xFF000000u;
    }
    return image;
}

CardImage CardImage::fromQImage(const QImage& input)
{
    if (input.isNull())
        return CardImage();
    const QImage image = input.convertToFormat(QImage::Format_RGB32);
    CardImage result(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            result.m_columns[size_t(x)][size_t(y)] = line[x] | 0xFF000000u;
    }
    return result;
}

int histogramPercentile(const int* histogram, long total, double share)
{
    long seen = 0;
    for (int i = 0; i < 256; ++i) {
        seen += histogram[i];
        if (double(seen) >= share * double(total))
            return i;
    }
    return 255;
}

} // namespace veldra
