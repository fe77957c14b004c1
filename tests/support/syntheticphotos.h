#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QMetaType>
#include <QPainter>
#include <QRect>
#include <QStringList>

namespace veldra::test {

// The smallest face the face cascade accepts, one hexadecimal grey level
// (times 16, plus 8) per cell of 25 x 25: a dark brow and eye line over
// brighter cheeks, a nose and a mouth, on the plain grey of level 9. These are
// rows 8 to 19; the rows above and below are plain.
inline const char* const faceRows[12] = {
    "9999999955999999999999999",
    "9999999955aaaa33339999999",
    "9999999955aaaa33339999999",
    "9999999955aaaaaa9dd999999",
    "999999aaaaaaaaa9999999999",
    "999999aaaaaaaaa9999999999",
    "999999aaaaaaaaa9999999999",
    "999999aaaaaaaa99999999999",
    "999999999aa99999999999999",
    "9999999993399999999999999",
    "9999999993399999999999999",
    "9999999999399999999999999",
};

inline int faceCell(int x, int y)
{
    return y < 8 || y > 19 ? 9 : QByteArray(1, faceRows[y - 8][x]).toInt(nullptr, 16);
}

inline QRgb greyLevel(int value)
{
    const int grey = 8 + 16 * value;
    return qRgb(grey, grey, grey);
}

struct Face
{
    QPoint at;
    int cell = 1; // pixels per cell: the face is 25 * cell pixels wide
    QRect edit = QRect(); // cells set to editLevel instead
    int editLevel = 0;
};

// A photograph of plain grey (level 9) with the faces drawn on it.
inline QImage facePhoto(const QSize& size, const QList<Face>& faces)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(greyLevel(9));
    for (const Face& face : faces) {
        for (int y = 0; y < 25 * face.cell; ++y) {
            for (int x = 0; x < 25 * face.cell; ++x) {
                const QPoint pixel = face.at + QPoint(x, y);
                if (!image.rect().contains(pixel))
                    continue;
                const QPoint cell(x / face.cell, y / face.cell);
                const int value
                    = face.edit.contains(cell) ? face.editLevel : faceCell(cell.x(), cell.y());
                image.setPixel(pixel, greyLevel(value));
            }
        }
    }
    return image;
}

// The back of a car: a grey gradient, a dark body and a white plate with
// `characters` characters of two black strokes each.
inline QImage carPhoto(const QSize& size, const QRect& plate, int characters)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const int grey = 70 + 120 * y / size.height();
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(grey, grey, grey + 10));
    }
    const QRect body = plate.adjusted(
        -plate.width() / 2, -plate.height() * 2, plate.width() / 2, plate.height());
    for (int y = body.top(); y <= body.bottom(); ++y)
        for (int x = body.left(); x <= body.right(); ++x)
            if (image.rect().contains(x, y))
                image.setPixel(x, y, qRgb(40, 30, 30));
    for (int y = plate.top(); y <= plate.bottom(); ++y)
        for (int x = plate.left(); x <= plate.right(); ++x)
            image.setPixel(x, y, qRgb(235, 235, 235));
    const int cell = plate.width() / (characters + 1);
    for (int c = 0; c < characters; ++c) {
        const int left = plate.left() + cell / 2 + c * cell;
        for (int y = plate.top() + plate.height() / 5; y < plate.bottom() - plate.height() / 5;
             ++y) {
            for (int dx = 0; dx < 3; ++dx) {
                image.setPixel(left + dx, y, qRgb(20, 20, 20));
                image.setPixel(left + cell / 2 + dx, y, qRgb(20, 20, 20));
            }
        }
    }
    return image;
}

// Each rectangle twice, as candidates that confirm each other.
inline QVector<QRect> twice(std::initializer_list<QRect> rects)
{
    QVector<QRect> result;
    for (const QRect& r : rects)
        result << r << r;
    return result;
}

// A white card with dark text lines on a dark table, upright.
inline QImage cardPhoto(const QStringList& lines, int width, int height, int pixelSize,
    const QString& family = QStringLiteral("DejaVu Sans"))
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

} // namespace veldra::test

Q_DECLARE_METATYPE(veldra::test::Face)
