#include "cardtestimages.h"

#include "support/exifjpeg.h"

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

QByteArray withOrientation(
    const QByteArray& jpeg, int orientation, bool keepJfif, bool littleEndian)
{
    const int jfifEnd = 4 + ((uchar(jpeg[4]) << 8) | uchar(jpeg[5]));
    return jpeg.left(keepJfif ? jfifEnd : 2) + orientationSegment(orientation, littleEndian)
        + jpeg.mid(jfifEnd);
}

} // namespace veldra::test
