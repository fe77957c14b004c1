#include "templatetrainer.h"

#include "recognition/card/cardlinereader.h"
#include "recognition/card/charclassifier.h"
#include "recognition/card/recognisertables.h"

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace veldra::tools {

namespace {

struct Source
{
    int cls;
    const char16_t* text;
    int spacing = 0;
};

// What is rendered for each class. Capitals that look like their small
// letter share its class; "0" is also the capital O. The dotless bodies of
// i and j train the classes they are composed from (l and J with a dot).
const std::vector<Source>& sources()
{
    static const std::vector<Source> list = {
        { 0, u"a" },
        { 1, u"A" },
        { 2, u"b" },
        { 3, u"B" },
        { 4, u"c" },
        { 4, u"C" },
        { 5, u"d" },
        { 6, u"D" },
        { 7, u"e" },
        { 8, u"E" },
        { 9, u"f" },
        { 10, u"F" },
        { 11, u"g" },
        { 12, u"G" },
        { 13, u"h" },
        { 14, u"H" },
        { 15, u"I" },
        { 16, u"J" },
        { 16, u"j" },
        { 17, u"k" },
        { 18, u"K" },
        { 19, u"l" },
        { 19, u"i" },
        { 20, u"L" },
        { 21, u"m" },
        { 22, u"M" },
        { 23, u"n" },
        { 24, u"N" },
        { 25, u"o" },
        { 26, u"p" },
        { 27, u"P" },
        { 28, u"q" },
        { 29, u"Q" },
        { 30, u"r" },
        { 31, u"R" },
        { 32, u"s" },
        { 32, u"S" },
        { 33, u"t" },
        { 34, u"T" },
        { 35, u"u" },
        { 35, u"U" },
        { 36, u"v" },
        { 36, u"V" },
        { 37, u"w" },
        { 37, u"W" },
        { 38, u"x" },
        { 38, u"X" },
        { 39, u"y" },
        { 40, u"Y" },
        { 41, u"z" },
        { 41, u"Z" },
        { 42, u"\u00DF" },
        { 43, u"1" },
        { 44, u"2" },
        { 45, u"3" },
        { 46, u"4" },
        { 47, u"5" },
        { 48, u"6" },
        { 49, u"7" },
        { 50, u"8" },
        { 51, u"9" },
        { 52, u"0" },
        { 52, u"O" },
        { 53, u"+" },
        { 54, u"-" },
        { 55, u"." },
        { 56, u":" },
        { 57, u"@" },
        { 58, u"/" },
        { 59, u"\\" },
        { 60, u"&" },
        { 61, u"(" },
        { 62, u")" },
        { 63, u"[" },
        { 64, u"]" },
        { 65, u"rt", -2 },
        { 66, u"ft", -2 },
        { 67, u"tz", -2 },
        { 68, u"rf", -2 },
        { 69, u"ty", -2 },
        { 70, u"tt", -2 },
        { 71, u"ff", -2 },
        { 72, u"zy", -2 },
        { 73, u"\u00E7" },
        { 74, u"\u00C6" },
        { 75, u"\u00E6" },
        { 76, u"\u00C7" },
        { 77, u"\u00D8" },
        { 78, u"\u00D8" },
    };
    return list;
}

struct Window
{
    int x;
    int y;
    int side;
};

std::vector<Window> candidateWindows()
{
    std::vector<Window> windows;
    for (int side : { 1, 3, 5, 7 })
        for (int y = 0; y + side < 48; y += 2)
            for (int x = 0; x + side < 48; x += 2)
                windows.push_back({ x, y, side });
    return windows;
}

} // namespace

int TemplateTrainer::classOf(QChar c)
{
    switch (c.unicode()) {
    case u'.':
    case u',':
    case u'\'':
    case u':':
    case u';':
        return markerClass;
    case u'i':
        return 19;
    case u'j':
        return 16;
    case u'\u00E4':
        return 0;
    case u'\u00C4':
        return 1;
    case u'\u00F6':
        return 25;
    case u'\u00D6':
        return 52;
    case u'\u00FC':
    case u'\u00DC':
        return 35;
    case u'\u00E9':
    case u'\u00E8':
        return 7;
    default:
        break;
    }
    for (const Source& source : sources())
        if (source.text[1] == 0 && source.text[0] == c.unicode())
            return source.cls;
    return unknown;
}

CardImage TemplateTrainer::photograph(
    const QImage& image, int variant, int pixelSize, CardRect& box)
{
    CardImage line = CardImage::fromQImage(image);
    line.convertToGrey();
    if (variant == 3) {
        // Out of focus: blur that grows with the letters.
        for (int pass = 0; pass < pixelSize / 10; ++pass)
            line = line.smoothed();
    } else if (variant >= 1) {
        // A soft, noisy, low-contrast photograph of the same line.
        CardImage soft = line.smoothed();
        for (int x = 0; x < soft.width(); ++x)
            for (int y = 0; y < soft.height(); ++y) {
                m_noiseState = m_noiseState * 1103515245u + 12345u;
                const int noise = int((m_noiseState >> 16) % 25) - 12;
                const int g = soft.grey(x, y);
                const int v = variant == 2 ? 50 + g * 150 / 255 : g;
                soft.setPixel(x, y, CardImage::greyPixel(std::clamp(v + noise, 0, 255)));
            }
        line = soft;
    }
    box = { line.width(), line.height(), -1, -1 };
    for (int x = 0; x < line.width(); ++x)
        for (int y = 0; y < line.height(); ++y)
            if (line.grey(x, y) < 128) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    if (!box.isEmpty()) {
        box.left = std::max(0, box.left - 2);
        box.right = std::min(line.width() - 1, box.right + 2);
    }
    return line;
}

// A whole line of text cut by the reader as in recognition; kept when its
// characters and the reader's pieces pair up one to one.
void TemplateTrainer::addTextLine(
    const QString& text, const QString& family, bool bold, int pixelSize, int variant)
{
    std::vector<int> expected;
    for (const QChar c : text) {
        if (c == QLatin1Char(' '))
            continue;
        const int cls = classOf(c);
        if (cls == unknown)
            return;
        expected.push_back(cls);
    }
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetrics metrics(font);
    const int margin = pixelSize;
    const int width = metrics.horizontalAdvance(text) + 2 * margin;
    const int height = pixelSize * 2 + 2 * margin;
    const int scale = variant == 2 ? 2 : 1;
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale, scale);
        painter.setPen(Qt::black);
        painter.setFont(font);
        painter.drawText(margin, margin + pixelSize * 13 / 10, text);
    }
    if (variant == 2)
        image = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    CardRect box;
    const CardImage line = photograph(image, variant, pixelSize, box);
    if (box.isEmpty())
        return;
    CardLineReader reader;
    const std::vector<CardGlyph> glyphs = reader.read(line, box);
    std::vector<const CardGlyph*> pieces;
    for (const CardGlyph& glyph : glyphs)
        if (!(glyph.image.width() == 1 && glyph.image.height() == 1))
            pieces.push_back(&glyph);
    if (pieces.size() != expected.size())
        return;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const bool marker = pieces[i]->isMarker();
        if (marker != (expected[i] == markerClass))
            return;
    }
    for (size_t i = 0; i < pieces.size(); ++i)
        if (expected[i] != markerClass)
            m_samples.push_back({ expected[i], variant, pieces[i]->image });
}

void TemplateTrainer::addLine(const QString& text, const QString& family, bool bold, int pixelSize,
    int variant, int cls, int spacing)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    QFont target = font;
    if (spacing)
        target.setLetterSpacing(QFont::AbsoluteSpacing, spacing * pixelSize / 24.0);
    const QFontMetrics metrics(font);
    const QFontMetrics targetMetrics(target);
    const QString before = QStringLiteral("Hx ");
    const QString after = QStringLiteral(" xH");
    const int margin = pixelSize;
    const int width = metrics.horizontalAdvance(before) + targetMetrics.horizontalAdvance(text)
        + metrics.horizontalAdvance(after) + 2 * margin;
    const int height = pixelSize * 2 + 2 * margin;
    const int scale = variant == 2 ? 2 : 1;
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale, scale);
        painter.setPen(Qt::black);
        const int baseline = margin + pixelSize * 13 / 10;
        int x = margin;
        painter.setFont(font);
        painter.drawText(x, baseline, before);
        x += metrics.horizontalAdvance(before);
        painter.setFont(target);
        painter.drawText(x, baseline, text);
        x += targetMetrics.horizontalAdvance(text);
        painter.setFont(font);
        painter.drawText(x, baseline, after);
    }
    if (variant == 2)
        image = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    CardRect box;
    const CardImage line = photograph(image, variant, pixelSize, box);
    if (box.isEmpty())
        return;

    CardLineReader reader;
    reader.setMarkersEnabled(false);
    std::vector<CardGlyph> glyphs = reader.read(line, box);
    std::vector<const CardGlyph*> characters;
    for (const CardGlyph& glyph : glyphs)
        if (!glyph.isMarker())
            characters.push_back(&glyph);
    if (characters.size() != 5)
        return;
    m_samples.push_back({ cls, variant, characters[2]->image });
}

// Lines like those on cards, from words of their own (the evaluation kit
// draws from other lists).
QStringList TemplateTrainer::corpus()
{
    static const QStringList words = { "Brigitte", "Wolfgang", "Hannelore", "Dietrich", "Ursula",
        "Bernhard", "Schmitz", "Wolff", "Meier", "Pfeiffer", "Gößl", "Kästner", "Mühlenkamp",
        "Ingenieurin", "Buchhaltung", "Verkauf", "Beratung", "Direktor", "Assistenz", "Technik",
        "Quellweg", "Uferstraße", "Zeppelinplatz", "Jahnallee", "Potsdam", "Kiel", "Augsburg",
        "Göttingen", "Lübeck", "Oberursel", "Telefon", "Mobil", "Fax", "E-Mail", "Internet",
        "Holzbau", "Druckerei", "Praxis", "Dr. med.", "Zahnarzt", "Quartier", "Kanzlei", "Vertrieb",
        "Export", "Yacht", "Xaver", "Juwelier", "Wäscherei", "Öko", "Übersee" };
    QStringList lines;
    uint32_t state = 987654321u;
    auto next = [&state](uint32_t n) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % n;
    };
    for (int i = 0; i < 24; ++i) {
        QString line;
        const int kind = i % 4;
        if (kind == 0) {
            line = words[int(next(uint32_t(words.size())))] + QLatin1Char(' ')
                + words[int(next(uint32_t(words.size())))];
        } else if (kind == 1) {
            line = QStringLiteral("%1 %2 %3")
                       .arg(words[int(next(uint32_t(words.size())))])
                       .arg(1 + next(199))
                       .arg(10000 + next(89999));
        } else if (kind == 2) {
            line = QStringLiteral("+49 (0)%1 %2-%3")
                       .arg(20 + next(900))
                       .arg(100 + next(899))
                       .arg(1000 + next(8999));
        } else {
            line = words[int(next(uint32_t(words.size())))].toLower() + QLatin1Char('@')
                + words[int(next(uint32_t(words.size())))].toLower() + QStringLiteral(".de");
        }
        lines << line;
    }
    return lines;
}

int TemplateTrainer::collect()
{
    m_samples.clear();
    m_noiseState = 12345;
    for (const QString& family : m_fonts)
        for (bool bold : { false, true })
            for (int pixelSize : { 22, 34, 52 })
                for (int variant = 0; variant < m_variants; ++variant) {
                    for (const Source& source : sources())
                        addLine(QString::fromUtf16(source.text), family, bold, pixelSize, variant,
                            source.cls, source.spacing);
                    if (m_lines)
                        for (const QString& text : corpus())
                            addTextLine(text, family, bold, pixelSize, variant);
                }
    return int(m_samples.size());
}

void TemplateTrainer::train()
{
    constexpr int classes = RecogniserTables::classCount;
    constexpr int prototypes = RecogniserTables::prototypes;
    const std::vector<Window> windows = candidateWindows();
    const size_t n = m_samples.size();
    const size_t m = windows.size();

    std::vector<float> values(n * m);
    for (size_t i = 0; i < n; ++i) {
        const CharIntegral integral(m_samples[i].canvas);
        for (size_t j = 0; j < m; ++j) {
            const Window& w = windows[j];
            values[i * m + j] = float(integral.mean(w.x, w.y, w.x + w.side, w.y + w.side));
        }
    }

    // Fisher score of every window: spread of the class means over the
    // spread within the classes.
    std::vector<double> classMeans(size_t(classes) * m, 0.0);
    std::vector<int> counts(size_t(classes), 0);
    for (size_t i = 0; i < n; ++i) {
        ++counts[size_t(m_samples[i].cls)];
        for (size_t j = 0; j < m; ++j)
            classMeans[size_t(m_samples[i].cls) * m + j] += values[i * m + j];
    }
    for (int c = 0; c < classes; ++c)
        for (size_t j = 0; j < m; ++j)
            if (counts[size_t(c)])
                classMeans[size_t(c) * m + j] /= counts[size_t(c)];
    std::vector<double> score(m, 0.0);
    for (size_t j = 0; j < m; ++j) {
        double mean = 0;
        int present = 0;
        for (int c = 0; c < classes; ++c)
            if (counts[size_t(c)]) {
                mean += classMeans[size_t(c) * m + j];
                ++present;
            }
        mean /= std::max(1, present);
        double between = 0;
        for (int c = 0; c < classes; ++c)
            if (counts[size_t(c)]) {
                const double d = classMeans[size_t(c) * m + j] - mean;
                between += d * d;
            }
        double within = 0;
        for (size_t i = 0; i < n; ++i) {
            const double d = values[i * m + j] - classMeans[size_t(m_samples[i].cls) * m + j];
            within += d * d;
        }
        within /= double(std::max<size_t>(1, n));
        score[j] = between / std::max(1, present) / (within + 25.0);
    }
    std::vector<size_t> order(m);
    for (size_t j = 0; j < m; ++j)
        order[j] = j;
    std::stable_sort(
        order.begin(), order.end(), [&](size_t a, size_t b) { return score[a] > score[b]; });

    // Greedy choice, skipping windows whose class means follow an already
    // chosen window's too closely.
    std::vector<size_t> chosen;
    auto correlation = [&](size_t a, size_t b) {
        double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
        int k = 0;
        for (int c = 0; c < classes; ++c) {
            if (!counts[size_t(c)])
                continue;
            const double va = classMeans[size_t(c) * m + a];
            const double vb = classMeans[size_t(c) * m + b];
            sa += va;
            sb += vb;
            saa += va * va;
            sbb += vb * vb;
            sab += va * vb;
            ++k;
        }
        const double cov = sab / k - sa / k * sb / k;
        const double da = saa / k - sa / k * sa / k;
        const double db = sbb / k - sb / k * sb / k;
        return cov / std::sqrt(std::max(1e-9, da * db));
    };
    for (double limit : { 0.9, 0.95, 0.98, 1.01 }) {
        for (size_t j : order) {
            if (int(chosen.size()) >= m_featureCount)
                break;
            if (std::find(chosen.begin(), chosen.end(), j) != chosen.end())
                continue;
            bool redundant = false;
            for (size_t c : chosen)
                if (correlation(j, c) > limit) {
                    redundant = true;
                    break;
                }
            if (!redundant)
                chosen.push_back(j);
        }
    }
    const size_t f = chosen.size();

    // Seven prototypes per class: k-means over the chosen windows, started
    // from the sample nearest the class mean and then the farthest ones.
    m_features.assign(f, CharTemplate());
    for (size_t k = 0; k < f; ++k) {
        const Window& w = windows[chosen[k]];
        m_features[k].x = uint8_t(w.x);
        m_features[k].y = uint8_t(w.y);
        m_features[k].side = int8_t(w.side);
        m_features[k].values.assign(RecogniserTables::referenceCount, 115);
        m_features[k].count = RecogniserTables::referenceCount;
    }
    for (int c = 0; c < classes; ++c) {
        std::vector<size_t> members;
        for (size_t i = 0; i < n; ++i)
            if (m_samples[i].cls == c)
                members.push_back(i);
        if (members.empty())
            continue;
        auto distance = [&](size_t i, const std::vector<double>& centre) {
            double sum = 0;
            for (size_t k = 0; k < f; ++k) {
                const double d = values[i * m + chosen[k]] - centre[k];
                sum += d * d;
            }
            return sum;
        };
        std::vector<double> mean(f, 0.0);
        for (size_t i : members)
            for (size_t k = 0; k < f; ++k)
                mean[k] += values[i * m + chosen[k]] / double(members.size());
        std::vector<std::vector<double>> centres;
        auto centreOf = [&](size_t i) {
            std::vector<double> centre(f);
            for (size_t k = 0; k < f; ++k)
                centre[k] = values[i * m + chosen[k]];
            return centre;
        };
        size_t first = members.front();
        for (size_t i : members)
            if (distance(i, mean) < distance(first, mean))
                first = i;
        centres.push_back(centreOf(first));
        while (int(centres.size()) < prototypes) {
            size_t farthest = members.front();
            double best = -1;
            for (size_t i : members) {
                double nearest = std::numeric_limits<double>::max();
                for (const auto& centre : centres)
                    nearest = std::min(nearest, distance(i, centre));
                if (nearest > best) {
                    best = nearest;
                    farthest = i;
                }
            }
            centres.push_back(centreOf(farthest));
        }
        for (int iteration = 0; iteration < 12; ++iteration) {
            std::vector<std::vector<double>> sums(size_t(prototypes), std::vector<double>(f, 0.0));
            std::vector<int> sizes(size_t(prototypes), 0);
            for (size_t i : members) {
                int best = 0;
                double bestDistance = std::numeric_limits<double>::max();
                for (int p = 0; p < prototypes; ++p) {
                    const double d = distance(i, centres[size_t(p)]);
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = p;
                    }
                }
                ++sizes[size_t(best)];
                for (size_t k = 0; k < f; ++k)
                    sums[size_t(best)][k] += values[i * m + chosen[k]];
            }
            for (int p = 0; p < prototypes; ++p)
                if (sizes[size_t(p)])
                    for (size_t k = 0; k < f; ++k)
                        centres[size_t(p)][k] = sums[size_t(p)][k] / sizes[size_t(p)];
        }
        if (m_medoids) {
            for (int p = 0; p < prototypes; ++p) {
                size_t nearest = members.front();
                for (size_t i : members)
                    if (distance(i, centres[size_t(p)]) < distance(nearest, centres[size_t(p)]))
                        nearest = i;
                centres[size_t(p)] = centreOf(nearest);
            }
        }
        for (int p = 0; p < prototypes; ++p)
            for (size_t k = 0; k < f; ++k)
                m_features[k].values[size_t(p * classes + c)]
                    = uint16_t(std::clamp(int(std::lround(centres[size_t(p)][k])), 0, 255));
    }
}

double TemplateTrainer::accuracy(int variant) const
{
    CharClassifier classifier(25, RecogniserTables::classCount, RecogniserTables::referenceCount);
    classifier.setRuleGroups(0);
    int right = 0;
    int total = 0;
    for (const Sample& sample : m_samples) {
        if (variant >= 0 && sample.variant != variant)
            continue;
        const int cls = classifier.vote(sample.canvas, m_features);
        const bool same = cls == sample.cls || (sample.cls == 78 && cls == 77);
        right += same;
        ++total;
    }
    return total ? double(right) / total : 0.0;
}

QString TemplateTrainer::report() const
{
    CharClassifier classifier(25, RecogniserTables::classCount, RecogniserTables::referenceCount);
    classifier.setRuleGroups(0);
    const RecogniserTables tables;
    std::vector<int> total(RecogniserTables::classCount, 0);
    std::vector<int> right(RecogniserTables::classCount, 0);
    std::vector<std::vector<int>> confused(
        RecogniserTables::classCount, std::vector<int>(RecogniserTables::classCount, 0));
    for (const Sample& sample : m_samples) {
        const int cls = classifier.vote(sample.canvas, m_features);
        ++total[size_t(sample.cls)];
        if (cls == sample.cls || (sample.cls == 78 && cls == 77))
            ++right[size_t(sample.cls)];
        else
            ++confused[size_t(sample.cls)][size_t(cls)];
    }
    QString text;
    for (int c = 0; c < RecogniserTables::classCount; ++c) {
        text += QStringLiteral("%1 %2/%3")
                    .arg(QString::fromLatin1(tables.labels()[size_t(c)].c_str()), 3)
                    .arg(right[size_t(c)])
                    .arg(total[size_t(c)]);
        for (int o = 0; o < RecogniserTables::classCount; ++o)
            if (confused[size_t(c)][size_t(o)] * 20 >= total[size_t(c)]
                && confused[size_t(c)][size_t(o)] > 0)
                text += QStringLiteral(" %1:%2")
                            .arg(QString::fromLatin1(tables.labels()[size_t(o)].c_str()))
                            .arg(confused[size_t(c)][size_t(o)]);
        text += QLatin1Char('\n');
    }
    return text;
}

bool TemplateTrainer::write(const QString& folder) const
{
    QDir dir(folder);
    if (!dir.exists() && !QDir().mkpath(folder))
        return false;
    for (const QString& old : dir.entryList({ QStringLiteral("*.fdb") }, QDir::Files))
        dir.remove(old);
    for (size_t k = 0; k < m_features.size(); ++k) {
        const QString name = QStringLiteral("f%1.fdb").arg(int(k), 3, 10, QLatin1Char('0'));
        if (!TemplateStore::write(dir.filePath(name).toStdString(), m_features[k]))
            return false;
    }
    return true;
}

} // namespace veldra::tools
