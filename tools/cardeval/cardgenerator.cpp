#include "cardgenerator.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace veldra::tools {

namespace {

const QStringList firstNames = { "Anna", "Jürgen", "Sören", "Käthe", "Maximilian", "Lena", "Björn",
    "Sabine", "Thomas", "Özlem", "Jörg", "Claudia", "Felix", "Marie", "Günther", "Petra",
    "Katharina", "Stefan", "Julia", "Matthias" };
const QStringList lastNames = { "Müller", "Schäfer", "Weiß", "Köhler", "Becker", "Hoffmann",
    "Krüger", "Schröder", "Wagner", "Böhm", "Neumann", "Fischer", "Lührs", "Zimmermann", "Jäger",
    "Hartmann", "Vogel", "Brandt", "Kühn", "Lange" };
const QStringList titles = { "Geschäftsführer", "Dipl.-Ing. Maschinenbau", "Vertriebsleiterin",
    "Software Engineer", "Steuerberater", "Leiterin Marketing", "Projektmanager", "Rechtsanwältin",
    "Head of Sales", "Prokurist", "Senior Consultant", "Architektin" };
const QStringList companyStems
    = { "Nordlicht", "Bäckerei Schön", "Grünwald", "Alpenblick", "Fuchs & Partner", "Weber Systeme",
          "Blaue Möwe", "Hansen Logistik", "Südwind", "Lindenhof", "Kraft Elektro", "Rosengarten" };
const QStringList companyForms = { "GmbH", "AG", "KG", "GmbH & Co. KG", "e.K.", "Solutions GmbH" };
const QStringList streets = { "Hauptstraße", "Königsallee", "Schillerstraße", "Am Mühlbach",
    "Gartenweg", "Lindenstraße", "Bahnhofstraße", "Goethestraße", "Friedrichstraße", "Marktplatz",
    "Rosenstraße", "Dorfstraße" };
const QStringList cities = { "10115 Berlin", "40212 Düsseldorf", "80331 München", "20095 Hamburg",
    "50667 Köln", "70173 Stuttgart", "04109 Leipzig", "90402 Nürnberg", "28195 Bremen",
    "01067 Dresden", "60311 Frankfurt", "97070 Würzburg" };
const QStringList areaCodes = { "30", "211", "89", "40", "221", "711", "341", "911" };

QString ascii(QString text)
{
    text.replace(QStringLiteral("ä"), QStringLiteral("ae"));
    text.replace(QStringLiteral("ö"), QStringLiteral("oe"));
    text.replace(QStringLiteral("ü"), QStringLiteral("ue"));
    text.replace(QStringLiteral("Ä"), QStringLiteral("Ae"));
    text.replace(QStringLiteral("Ö"), QStringLiteral("Oe"));
    text.replace(QStringLiteral("Ü"), QStringLiteral("Ue"));
    text.replace(QStringLiteral("ß"), QStringLiteral("ss"));
    QString out;
    for (const QChar c : text)
        if (c.isLetterOrNumber() || c == QLatin1Char('-'))
            out += c;
    return out;
}

void boxBlur(QImage& image, int radius)
{
    const int w = image.width();
    const int h = image.height();
    std::vector<QRgb> line(size_t(std::max(w, h)));
    auto blurLine = [&](auto get, auto set, int n) {
        for (int i = 0; i < n; ++i)
            line[size_t(i)] = get(i);
        int r = 0, g = 0, b = 0;
        const int window = 2 * radius + 1;
        for (int i = -radius - 1; i < radius; ++i) {
            const QRgb p = line[size_t(std::clamp(i, 0, n - 1))];
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
        }
        for (int i = 0; i < n; ++i) {
            const QRgb in = line[size_t(std::min(i + radius, n - 1))];
            const QRgb out = line[size_t(std::max(i - radius - 1, 0))];
            r += qRed(in) - qRed(out);
            g += qGreen(in) - qGreen(out);
            b += qBlue(in) - qBlue(out);
            set(i, qRgb(r / window, g / window, b / window));
        }
    };
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        blurLine([&](int i) { return row[i]; }, [&](int i, QRgb v) { row[i] = v; }, w);
    }
    for (int x = 0; x < w; ++x)
        blurLine([&](int i) { return reinterpret_cast<QRgb*>(image.scanLine(i))[x]; },
            [&](int i, QRgb v) { reinterpret_cast<QRgb*>(image.scanLine(i))[x] = v; }, h);
}

} // namespace

CardGenerator::CardGenerator(quint32 seed)
    : m_random(seed)
{
    m_fonts = { "DejaVu Sans", "Liberation Sans", "DejaVu Serif", "Liberation Serif", "FreeSans" };
}

QString CardGenerator::variantName(int variant)
{
    static const char* names[]
        = { "clean", "rotated", "blurred", "noisy", "uneven", "mixed", "portrait", "exif" };
    return QString::fromLatin1(names[variant]);
}

QString CardGenerator::pick(const QStringList& list)
{
    return list[int(m_random.bounded(quint32(list.size())))];
}

QStringList CardGenerator::makeText()
{
    const QString first = pick(firstNames);
    const QString last = pick(lastNames);
    const QString stem = pick(companyStems);
    const QString domain = ascii(stem.section(QLatin1Char(' '), 0, 0)).toLower()
        + (m_random.bounded(2) ? QStringLiteral(".de") : QStringLiteral(".com"));
    const QString area = pick(areaCodes);
    auto digits = [this](int count) {
        QString s;
        for (int i = 0; i < count; ++i)
            s += QChar(u'0' + char16_t(m_random.bounded(10)));
        return s;
    };
    QStringList lines;
    lines << first + QLatin1Char(' ') + last;
    lines << pick(titles);
    lines << stem + QLatin1Char(' ') + pick(companyForms);
    lines << pick(streets) + QLatin1Char(' ') + QString::number(1 + m_random.bounded(120));
    lines << pick(cities);
    lines << QStringLiteral("Tel. +49 (0)%1 %2 %3").arg(area, digits(3), digits(4));
    if (m_random.bounded(2))
        lines << QStringLiteral("Fax +49 (0)%1 %2 %3").arg(area, digits(3), digits(4));
    else
        lines << QStringLiteral("Mobil 0171 %1 %2").arg(digits(3), digits(4));
    lines << ascii(first).toLower() + QLatin1Char('.') + ascii(last).toLower() + QLatin1Char('@')
            + domain;
    lines << QStringLiteral("www.") + domain;
    return lines;
}

QImage CardGenerator::makePhoto(const QStringList& lines, int variant, int photoWidth)
{
    const bool portrait = variant == Portrait;
    const int longSide = photoWidth;
    const int shortSide = photoWidth * 2 / 3;
    const int width = portrait ? shortSide : longSide;
    const int height = portrait ? longSide : shortSide;

    // The card itself, upright.
    const double cardLong = longSide * (0.62 + 0.1 * m_random.generateDouble());
    const double cardShort = cardLong * 55.0 / 85.0;
    const int cardW = int(portrait ? cardShort : cardLong);
    const int cardH = int(portrait ? cardLong : cardShort);
    QImage card(cardW, cardH, QImage::Format_RGB32);
    // A third of the cards are printed pure black on pure white.
    const bool pure = m_random.bounded(3) == 0;
    const int paper = pure ? 255 : 236 + int(m_random.bounded(18));
    card.fill(pure ? qRgb(255, 255, 255)
                   : qRgb(paper, paper, std::max(0, paper - int(m_random.bounded(12)))));
    {
        QPainter painter(&card);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const QString family = pick(m_fonts);
        const int ink = pure ? 0 : int(m_random.bounded(50));
        painter.setPen(pure ? QColor(0, 0, 0) : QColor(ink, ink, ink + int(m_random.bounded(30))));
        double size = cardShort * (0.045 + 0.015 * m_random.generateDouble());
        const double margin = cardW * 0.08;
        // Shrink until every line fits.
        for (;;) {
            double y = cardH * 0.1;
            bool fits = true;
            for (int i = 0; i < lines.size(); ++i) {
                const double s = i == 0 ? size * 1.6 : (i == 2 ? size * 1.15 : size);
                QFont font(family);
                font.setPixelSize(int(s));
                font.setBold(i == 0 || i == 2);
                const QFontMetrics metrics(font);
                y += s * (i == 3 ? 2.2 : 1.45);
                if (metrics.horizontalAdvance(lines[i]) > cardW - 2 * margin)
                    fits = false;
            }
            if (y < cardH * 0.93 && fits)
                break;
            size *= 0.95;
        }
        double y = cardH * 0.1;
        for (int i = 0; i < lines.size(); ++i) {
            const double s = i == 0 ? size * 1.6 : (i == 2 ? size * 1.15 : size);
            QFont font(family);
            font.setPixelSize(int(s));
            font.setBold(i == 0 || i == 2);
            painter.setFont(font);
            y += s * (i == 3 ? 2.2 : 1.45);
            painter.drawText(QPointF(margin, y - s * 0.3), lines[i]);
        }
    }

    // The table under it.
    QImage photo(width, height, QImage::Format_RGB32);
    const int r0 = 40 + int(m_random.bounded(100));
    const int g0 = 30 + int(m_random.bounded(80));
    const int b0 = 20 + int(m_random.bounded(80));
    for (int y = 0; y < height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        const double t = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double grain = 12 * std::sin(x * 0.004 + 3 * std::sin(y * 0.01));
            row[x] = qRgb(std::clamp(int(r0 + 30 * t + grain), 0, 255),
                std::clamp(int(g0 + 20 * t + grain), 0, 255), std::clamp(int(b0 + 10 * t), 0, 255));
        }
    }
    double angle = 0;
    if (variant == Rotated)
        angle = (m_random.bounded(2) ? 1 : -1) * (1.0 + 2.0 * m_random.generateDouble());
    else if (variant == Mixed)
        angle = (m_random.bounded(2) ? 1 : -1) * (0.5 + 1.5 * m_random.generateDouble());
    {
        QPainter painter(&photo);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setRenderHint(QPainter::Antialiasing);
        const double cx = width * (0.5 + 0.06 * (m_random.generateDouble() - 0.5));
        const double cy = height * (0.5 + 0.06 * (m_random.generateDouble() - 0.5));
        painter.translate(cx, cy);
        painter.rotate(angle);
        painter.drawImage(QPointF(-cardW / 2.0, -cardH / 2.0), card);
    }

    if (variant == Blurred)
        boxBlur(photo, 2 + int(m_random.bounded(2)));
    if (variant == Mixed)
        boxBlur(photo, 1);
    const int noise = variant == Noisy ? 14 : (variant == Mixed ? 8 : 2);
    const bool uneven = variant == Uneven || variant == Mixed;
    const double darkest = variant == Uneven ? 0.5 : 0.7;
    const double lightX = m_random.generateDouble();
    for (int y = 0; y < height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < width; ++x) {
            double light = 1.0;
            if (uneven) {
                const double dx = double(x) / width - lightX;
                const double dy = double(y) / height - 0.3;
                light = 1.0 - (1.0 - darkest) * std::min(1.0, std::sqrt(dx * dx + dy * dy) / 1.0);
            }
            const int n = int(m_random.bounded(2 * noise + 1)) - noise;
            const QRgb p = row[x];
            row[x] = qRgb(std::clamp(int(qRed(p) * light) + n, 0, 255),
                std::clamp(int(qGreen(p) * light) + n, 0, 255),
                std::clamp(int(qBlue(p) * light) + n, 0, 255));
        }
    }
    return photo;
}

bool CardGenerator::write(const QString& basePath, int variant, int photoWidth)
{
    const QStringList lines = makeText();
    const QImage photo = makePhoto(lines, variant, photoWidth);
    bool ok;
    if (variant == Exif) {
        const bool six = m_random.bounded(2);
        ok = writeExifJpeg(photo, basePath + QStringLiteral(".jpg"), six ? 6 : 8, !six);
    } else {
        ok = photo.save(basePath + QStringLiteral(".jpg"), "JPG", 90);
    }
    QFile text(basePath + QStringLiteral(".txt"));
    if (!ok || !text.open(QIODevice::WriteOnly))
        return false;
    text.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    return true;
}

bool writeExifJpeg(const QImage& upright, const QString& path, int orientation, bool withJfif)
{
    // Orientation 6 shows the stored pixels turned clockwise, 8 counter-clockwise.
    QTransform turn;
    turn.rotate(orientation == 6 ? -90 : 90);
    const QImage stored = upright.transformed(turn);
    QByteArray jpeg;
    {
        QFile temp(path);
        if (!stored.save(path, "JPG", 90) || !temp.open(QIODevice::ReadOnly))
            return false;
        jpeg = temp.readAll();
    }
    if (jpeg.size() < 20 || uchar(jpeg[2]) != 0xFF || uchar(jpeg[3]) != 0xE0)
        return false;
    const int app0Length = (uchar(jpeg[4]) << 8) | uchar(jpeg[5]);
    QByteArray tiff;
    tiff.append("MM\x00\x2A", 4);
    tiff.append("\x00\x00\x00\x08", 4);
    tiff.append("\x00\x01", 2);
    tiff.append("\x01\x12\x00\x03\x00\x00\x00\x01", 8);
    tiff.append(char(0));
    tiff.append(char(orientation));
    tiff.append("\x00\x00", 2);
    tiff.append("\x00\x00\x00\x00", 4);
    QByteArray app1;
    app1.append("\xFF\xE1", 2);
    const int length = 2 + 6 + int(tiff.size());
    app1.append(char(length >> 8));
    app1.append(char(length & 0xFF));
    app1.append("Exif\x00\x00", 6);
    app1.append(tiff);
    QByteArray out = jpeg.left(2);
    if (withJfif)
        out += jpeg.mid(2, 2 + app0Length);
    out += app1;
    out += jpeg.mid(2 + 2 + app0Length);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(out) == out.size();
}

} // namespace veldra::tools
