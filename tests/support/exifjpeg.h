#pragma once

#include "testfiles.h"

#include <QByteArray>
#include <QImage>
#include <QtEndian>

namespace veldra::test {

// Builds TIFF directories for EXIF segments, in either byte order.
class TiffBuilder
{
public:
    explicit TiffBuilder(bool littleEndian = true)
        : m_little(littleEndian)
    {
        m_data += littleEndian ? "II" : "MM";
        put16(42);
        put32(8);
    }

    struct Entry
    {
        quint16 tag;
        quint16 type;
        quint32 count;
        quint32 value; // for shorts: the value in the first two bytes
    };

    // Appends a directory at the current end; returns its offset.
    int addDirectory(const QList<Entry>& entries, quint32 next = 0)
    {
        const int offset = int(m_data.size());
        put16(quint16(entries.size()));
        for (const Entry& e : entries) {
            put16(e.tag);
            put16(e.type);
            put32(e.count);
            if ((e.type == 3 || e.type == 8) && e.count <= 2) {
                put16(quint16(e.value));
                put16(0);
            } else if ((e.type == 1 || e.type == 6 || e.type == 2 || e.type == 7) && e.count <= 4) {
                m_data += char(e.value);
                m_data += QByteArray(3, 0);
            } else {
                put32(e.value);
            }
        }
        put32(next);
        return offset;
    }

    void setFirstDirectory(quint32 offset) { write(4, offset); }
    void setEntryValue(int directory, int entry, quint32 value)
    {
        write(directory + 2 + 12 * entry + 8, value);
    }
    void setNext(int directory, quint32 next)
    {
        const int count = m_little ? qFromLittleEndian<quint16>(m_data.constData() + directory)
                                   : qFromBigEndian<quint16>(m_data.constData() + directory);
        write(directory + 2 + 12 * count, next);
    }

    int addLongs(const QList<quint32>& values)
    {
        const int offset = int(m_data.size());
        for (quint32 v : values)
            put32(v);
        return offset;
    }

    QByteArray data() const { return m_data; }

private:
    void put16(quint16 v) { write(m_data.size(), v); }
    void put32(quint32 v) { write(m_data.size(), v); }
    // Writes v at offset at in the byte order, growing the data as needed.
    template <typename T> void write(qsizetype at, T v)
    {
        if (m_data.size() < at + qsizetype(sizeof(T)))
            m_data.resize(at + qsizetype(sizeof(T)));
        if (m_little)
            qToLittleEndian(v, m_data.data() + at);
        else
            qToBigEndian(v, m_data.data() + at);
    }

    QByteArray m_data;
    bool m_little;
};

// An APP1 segment (marker, length, "Exif\0\0", TIFF data).
inline QByteArray exifSegment(const QByteArray& tiff, int declaredLength = -1)
{
    const int length = declaredLength >= 0 ? declaredLength : int(tiff.size()) + 8;
    QByteArray segment("\xFF\xE1", 2);
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    segment += QByteArray("Exif\0\0", 6);
    segment += tiff;
    return segment;
}

inline QByteArray orientationSegment(int orientation, bool littleEndian = true)
{
    TiffBuilder tiff(littleEndian);
    tiff.addDirectory({ { 0x0112, 3, 1, quint32(orientation) } });
    return exifSegment(tiff.data());
}

// A JPEG of the image with the segment inserted right after the SOI marker.
inline QByteArray jpegWithSegment(const QImage& image, const QByteArray& segment)
{
    const QByteArray jpeg = imageBytes(image, "JPEG", 100);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

} // namespace veldra::test
