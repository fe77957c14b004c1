#include "imageloader.h"

#include <QFile>
#include <QImageReader>
#include <QTransform>

#include <cmath>
#include <cstring>

namespace veldra {

namespace {

// The TIFF structure inside an APP1 segment. All offsets are relative to the
// TIFF header and checked against the usable length before every read.
class TiffReader
{
public:
    TiffReader(const uchar* base, qsizetype length, bool littleEndian)
        : m_base(base)
        , m_length(length)
        , m_little(littleEndian)
    { }

    bool has(qint64 offset, qint64 size) const
    {
        return offset >= 0 && size >= 0 && offset <= m_length && size <= m_length - offset;
    }

    quint16 u16(qint64 offset) const
    {
        const uchar* p = m_base + offset;
        return m_little ? quint16(p[0] | p[1] << 8) : quint16(p[0] << 8 | p[1]);
    }

    quint32 u32(qint64 offset) const
    {
        const uchar* p = m_base + offset;
        return m_little
            ? quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24
            : quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
    }

    // The first component of a value of a TIFF type, as a number.
    double number(qint64 offset, int type) const
    {
        switch (type) {
        case 1:
            return m_base[offset];
        case 6:
            return qint8(m_base[offset]);
        case 3:
            return u16(offset);
        case 8:
            return qint16(u16(offset));
        case 4:
            return u32(offset);
        case 9:
            return qint32(u32(offset));
        case 5:
        case 10: {
            const double numerator = type == 5 ? double(u32(offset)) : double(qint32(u32(offset)));
            const double denominator
                = type == 5 ? double(u32(offset + 4)) : double(qint32(u32(offset + 4)));
            return denominator == 0 ? 0 : numerator / denominator;
        }
        case 11: {
            const quint32 bits = u32(offset);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        case 12: {
            const quint64 high = u32(offset);
            const quint64 low = u32(offset + 4);
            const quint64 bits = m_little ? (low << 32 | high) : (high << 32 | low);
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        default:
            return 0; // text and undefined bytes carry no number
        }
    }

    void readDirectory(qint64 directory, int level, ExifInfo& info, bool& orientationSeen) const
    {
        if (level > 4 || !has(directory, 2))
            return;
        const int count = u16(directory);
        const qint64 end = directory + 2 + 12 * qint64(count);
        const qint64 remaining = m_length - end;
        if (remaining < 4 && remaining != 0 && remaining != 2)
            return;

        static constexpr int typeSizes[13] = { 0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8 };
        for (int i = 0; i < count; ++i) {
            const qint64 entry = directory + 2 + 12 * qint64(i);
            const quint16 tag = u16(entry);
            const quint16 type = u16(entry + 2);
            const quint32 components = u32(entry + 4);
            if (type < 1 || type > 12 || components > 65536)
                continue;
            const qint64 byteSize = qint64(typeSizes[type]) * components;
            qint64 value = entry + 8;
            if (byteSize > 4) {
                value = u32(entry + 8);
                if (!has(value, byteSize))
                    continue;
            }
            // Maker notes and every other tag are of no interest here.
            if (tag != 0x0112 || orientationSeen)
                continue;
            orientationSeen = true;
            if (!has(value, typeSizes[type])) {
                info.orientation = 0;
                continue;
            }
            const double orientation = number(value, type);
            // Out-of-range and non-finite values must not reach the integer conversion.
            info.orientation = std::isfinite(orientation) && orientation > -1 && orientation < 9
                ? int(orientation)
                : 0;
        }

        if (has(end, 4)) {
            const quint32 next = u32(end);
            if (next != 0 && next < m_length)
                readDirectory(next, level + 1, info, orientationSeen);
        }
    }

private:
    const uchar* m_base;
    qsizetype m_length;
    bool m_little;
};

ExifInfo parseSegment(QByteArrayView segment, qsizetype declaredLength)
{
    ExifInfo info;
    const auto* b = reinterpret_cast<const uchar*>(segment.data());
    if (segment.size() < 16 || std::memcmp(b + 2, "Exif", 4) != 0 || b[6] != 0 || b[7] != 0)
        return info;
    bool little;
    if (b[8] == 'I' && b[9] == 'I')
        little = true;
    else if (b[8] == 'M' && b[9] == 'M')
        little = false;
    else
        return info;

    const qsizetype usable = std::min(declaredLength, segment.size()) - 8;
    const TiffReader tiff(b + 8, usable, little);
    if (!tiff.has(2, 2) || tiff.u16(2) != 42 || !tiff.has(4, 4))
        return info;
    bool orientationSeen = false;
    tiff.readDirectory(tiff.u32(4), 0, info, orientationSeen);
    return info;
}

} // namespace

bool isCompleteJpeg(QByteArrayView data)
{
    const auto* b = reinterpret_cast<const uchar*>(data.data());
    const qsizetype size = data.size();
    if (size < 2 || b[0] != 0xFF || b[1] != 0xD8)
        return true; // not a JPEG stream: nothing to say
    qsizetype pos = 2;
    for (;;) {
        // Segments follow each other directly; fill bytes FF may precede a marker.
        if (pos >= size || b[pos] != 0xFF)
            return false;
        while (pos < size && b[pos] == 0xFF)
            ++pos;
        if (pos >= size)
            return false;
        const uchar marker = b[pos++];
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a length
        if (pos + 2 > size)
            return false;
        const qsizetype length = b[pos] << 8 | b[pos + 1];
        if (length < 2)
            return false;
        pos += length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data runs to the next marker other than a stuffed
        // zero byte or a restart marker.
        while (pos + 1 < size
            && !(b[pos] == 0xFF && b[pos + 1] != 0x00 && (b[pos + 1] < 0xD0 || b[pos + 1] > 0xD7)))
            ++pos;
        if (pos + 1 >= size)
            return false;
    }
}

ExifInfo readExif(QByteArrayView data)
{
    const auto* bytes = reinterpret_cast<const uchar*>(data.data());
    const qsizetype size = data.size();

    // Marker search: FF E1, where an FF followed by anything else is passed
    // over together with that byte.
    qsizetype marker = -1;
    for (qsizetype i = 0; i + 1 < size;) {
        if (bytes[i] != 0xFF) {
            ++i;
            continue;
        }
        if (bytes[i + 1] == 0xE1) {
            marker = i;
            break;
        }
        i += 2;
    }
    if (marker < 0 || marker + 8 > size)
        return {};

    const qsizetype start = marker + 2;
    const qsizetype length = bytes[start] << 8 | bytes[start + 1];
    if (std::memcmp(bytes + start + 2, "Exif", 4) != 0)
        return {};

    ExifInfo info = parseSegment(data.sliced(start, std::min(length, size - start)), length);
    info.found = true;
    return info;
}

namespace {

// The file's bytes, mapped when possible.
class FileBytes
{
public:
    explicit FileBytes(const QString& path)
        : m_file(path)
    {
        if (!m_file.open(QIODevice::ReadOnly) || m_file.size() == 0)
            return;
        if (const uchar* mapped = m_file.map(0, m_file.size()))
            m_view = QByteArrayView(mapped, m_file.size());
        else
            m_view = m_copy = m_file.readAll();
    }

    QByteArrayView view() const { return m_view; }

private:
    QFile m_file;
    QByteArray m_copy;
    QByteArrayView m_view;
};

} // namespace

ExifInfo readExif(const QString& path)
{
    return readExif(FileBytes(path).view());
}

QImage applyOrientation(const QImage& image, int orientation)
{
    qreal angle;
    switch (orientation) {
    case 3:
        angle = 180;
        break;
    case 6:
        angle = 90;
        break;
    case 8:
        angle = 270;
        break;
    default:
        return image;
    }
    return image.transformed(QTransform().rotate(angle), Qt::SmoothTransformation);
}

QImage loadImage(const QString& path)
{
    // Qt refuses pictures above 128 MB of pixels by default, which rules out
    // the photographs of many current cameras.
    static const bool limitRaised = [] {
        QImageReader::setAllocationLimit(1024);
        return true;
    }();
    Q_UNUSED(limitRaised);

    QImageReader reader(path);
    reader.setAutoTransform(false);
    QImage image = reader.read();

    if (image.isNull() && reader.error() != QImageReader::FileNotFoundError) {
        const QList<QByteArray> formats = QImageReader::supportedImageFormats();
        for (const QByteArray& format : formats) {
            QImageReader forced(path, format);
            forced.setAutoDetectImageFormat(false);
            forced.setAutoTransform(false);
            image = forced.read();
            if (!image.isNull())
                break;
        }
    }
    if (image.isNull())
        return image;
    // The JPEG decoder fills in what a truncated file lacks; such a picture
    // is broken, not a photograph with a grey lower half.
    const FileBytes bytes(path);
    if (!isCompleteJpeg(bytes.view()))
        return QImage();
    return applyOrientation(image, readExif(bytes.view()).orientation);
}

} // namespace veldra
