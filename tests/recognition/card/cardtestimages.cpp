#include "cardtestimages.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QPainter>

namespace veldra::test {

QImage cardPhoto(
    const QStringList& lines, int width, int height, int pixelSize, const QString& family)
{
    QImage photo(width, height, QImage::Format_RGB32);
    photo.fill(qRgb(60, 45, 30));
    QPainter painter(&photo);
    const QRect card(width / 8, height / 8, width * 3 / 4, height * 3 / 4);
    painter.fillRect(card, QColor(245, 245, 240));
    QFont font(family);
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(QColor(20, 20, 20));
    int y = card.top() + pixelSize * 2;
    for (const QString& line : lines) {
        painter.drawText(card.left() + pixelSize, y, line);
        y += pixelSize * 3 / 2;
    }
    return photo;
}

QByteArray jpegBytes(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

QByteArray withOrientation(
    const QByteArray& jpeg, int orientation, bool keepJfif, bool littleEndian)
{
    const int app0Length = (uchar(jpeg[4]) << 8) | uchar(jpeg[5]);
    QByteArray tiff;
    if (littleEndian) {
        tiff.append("II\x2A\x00", 4);
        tiff.append("\x08\x00\x00\x00", 4);
        tiff.append("\x01\x00", 2);
        tiff.append("\x12\x01\x03\x00\x01\x00\x00\x00", 8);
        tiff.append(char(orientation));
        tiff.append(char(0));
        tiff.append("\x00\x00", 2);
    } else {
        tiff.append("MM\x00\x2A", 4);
        tiff.append("\x00\x00\x00\x08", 4);
        tiff.append("\x00\x01", 2);
        tiff.append("\x01\x12\x00\x03\x00\x00\x00\x01", 8);
        tiff.append(char(0));
        tiff.append(char(orientation));
        tiff.append("\x00\x00", 2);
    }
    tiff.append("\x00\x00\x00\x00", 4);
    QByteArray app1("\xFF\xE1", 2);
    const int length = 2 + 6 + int(tiff.size());
    app1.append(char(length >> 8));
    app1.append(char(length & 0xFF));
    app1.append("Exif\x00\x00", 6);
    app1.append(tiff);
    QByteArray out = jpeg.left(2);
    if (keepJfif)
        out += jpeg.mid(2, 2 + app0Length);
    out += app1;
    out += jpeg.mid(2 + 2 + app0Length);
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace veldra::test
