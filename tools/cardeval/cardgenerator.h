#pragma once

#include <QImage>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace veldra::tools {

// Makes synthetic photographs of business cards with their text: a card with
// name, title, company, address, phone numbers, e-mail and web address in one
// of several fonts, lying on a background, photographed clean or slightly
// rotated, blurred, noisy or unevenly lit, as landscape or portrait, and
// optionally stored rotated with an EXIF orientation.
class CardGenerator
{
public:
    enum Variant { Clean, Rotated, Blurred, Noisy, Uneven, Mixed, Portrait, Exif, VariantCount };

    explicit CardGenerator(quint32 seed = 1);

    static QString variantName(int variant);
    void setFonts(const QStringList& families) { m_fonts = families; }

    // Writes IMAGE.jpg and IMAGE.txt (the lines, UTF-8) for one card.
    bool write(const QString& basePath, int variant, int photoWidth = 3000);

    // The card's lines and the photo, for callers that keep them in memory.
    QStringList makeText();
    QImage makePhoto(const QStringList& lines, int variant, int photoWidth);

private:
    QString pick(const QStringList& list);

    QRandomGenerator m_random;
    QStringList m_fonts;
};

// Writes a JPEG whose pixels are stored turned and carries the EXIF
// orientation (6 or 8) that turns them upright again. withJfif keeps the
// JFIF segment in front of the EXIF one.
bool writeExifJpeg(const QImage& upright, const QString& path, int orientation, bool withJfif);

} // namespace veldra::tools
