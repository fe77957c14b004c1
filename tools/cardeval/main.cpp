// Evaluation kit of the business-card reader: "generate" writes synthetic
// card photos with their text, "score" reads them and reports character and
// exact-line accuracy per variant.

#include "cardgenerator.h"
#include "cardscorer.h"

#include "recognition/card/bcr.h"
#include "recognition/card/cardlayout.h"
#include "recognition/card/cardlinereader.h"
#include "recognition/card/cardlocator.h"
#include "recognition/card/skewcorrector.h"
#include "recognition/card/templatestore.h"

#include <QPainter>

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QTextStream>

using namespace veldra;
using namespace veldra::tools;

namespace {

int generate(const QString& folder, int count, quint32 seed, int width, const QStringList& fonts,
    QTextStream& out)
{
    if (!QDir().mkpath(folder))
        return 1;
    CardGenerator generator(seed);
    if (!fonts.isEmpty())
        generator.setFonts(fonts);
    for (int variant = 0; variant < CardGenerator::VariantCount; ++variant)
        for (int i = 0; i < count; ++i) {
            const QString base = QDir(folder).filePath(QStringLiteral("%1_%2")
                                                           .arg(CardGenerator::variantName(variant))
                                                           .arg(i, 2, 10, QLatin1Char('0')));
            if (!generator.write(base, variant, width)) {
                out << "cannot write " << base << Qt::endl;
                return 1;
            }
        }
    out << "wrote " << count * CardGenerator::VariantCount << " cards to " << folder << Qt::endl;
    return 0;
}

int score(
    const QString& folder, const QString& templates, bool rules, bool verbose, QTextStream& out)
{
    BCR reader(TemplateStore::filesIn(templates));
    reader.setConfusionRuleGroups(rules);

    struct Totals
    {
        double characters = 0;
        double lines = 0;
        double seconds = 0;
        int cards = 0;
    };
    QMap<QString, Totals> totals;
    const QDir dir(folder);
    for (const QString& name :
        dir.entryList({ QStringLiteral("*.jpg") }, QDir::Files, QDir::Name)) {
        QFile truthFile(dir.filePath(name.chopped(4) + QStringLiteral(".txt")));
        if (!truthFile.open(QIODevice::ReadOnly))
            continue;
        const QStringList truth
            = QString::fromUtf8(truthFile.readAll()).trimmed().split(QLatin1Char('\n'));
        QElapsedTimer timer;
        timer.start();
        const std::vector<std::string> lines = reader.readCard(dir.filePath(name).toStdString());
        const double seconds = timer.nsecsElapsed() / 1e9;
        QStringList recognised;
        for (const std::string& line : lines)
            recognised << QString::fromLatin1(line.data(), qsizetype(line.size()));
        const CardScore s = scoreCard(recognised, truth);
        Totals& t = totals[name.section(QLatin1Char('_'), 0, 0)];
        t.characters += s.characters;
        t.lines += s.lines;
        t.seconds += seconds;
        ++t.cards;
        if (verbose) {
            out << "== " << name
                << QStringLiteral("  chars %1  lines %2  %3 s")
                       .arg(s.characters, 0, 'f', 3)
                       .arg(s.lines, 0, 'f', 3)
                       .arg(seconds, 0, 'f', 2)
                << Qt::endl;
            for (int i = 0; i < std::max(truth.size(), recognised.size()); ++i)
                out << "   " << (i < truth.size() ? truth[i] : QString()).leftJustified(40) << " | "
                    << (i < recognised.size() ? recognised[i] : QString()) << Qt::endl;
        }
    }
    out << QStringLiteral("%1 %2 %3 %4 %5")
               .arg(QStringLiteral("variant"), -10)
               .arg(QStringLiteral("cards"), 6)
               .arg(QStringLiteral("chars"), 8)
               .arg(QStringLiteral("lines"), 8)
               .arg(QStringLiteral("s/card"), 8)
        << Qt::endl;
    Totals all;
    for (auto it = totals.cbegin(); it != totals.cend(); ++it) {
        const Totals& t = it.value();
        out << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(it.key(), -10)
                   .arg(t.cards, 6)
                   .arg(100 * t.characters / t.cards, 7, 'f', 1)
                   .arg(100 * t.lines / t.cards, 7, 'f', 1)
                   .arg(t.seconds / t.cards, 8, 'f', 3)
            << Qt::endl;
        all.characters += t.characters;
        all.lines += t.lines;
        all.seconds += t.seconds;
        all.cards += t.cards;
    }
    if (all.cards)
        out << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(QStringLiteral("all"), -10)
                   .arg(all.cards, 6)
                   .arg(100 * all.characters / all.cards, 7, 'f', 1)
                   .arg(100 * all.lines / all.cards, 7, 'f', 1)
                   .arg(all.seconds / all.cards, 8, 'f', 3)
            << Qt::endl;
    return 0;
}

// Draws the located card and the line boxes on the fine copy.
int debugCard(const QString& image, const QString& output, QTextStream& out)
{
    CardImage photo(image.toStdString());
    if (photo.isEmpty())
        return 1;
    photo.convertToGrey();
    CardLocator locator;
    const CardImage card = locator.locate(photo);
    out << "photo " << photo.width() << "x" << photo.height() << " card " << card.width() << "x"
        << card.height() << " crossings " << locator.crossings().size() << " rect "
        << locator.left() << "," << locator.top() << "," << locator.right() << ","
        << locator.bottom() << Qt::endl;
    const CardImage fine
        = card.width() > card.height() ? card.scaledToWidth(1000) : card.scaledToHeight(1000);
    out << "fine threshold " << fine.binarisationThreshold() << " skew "
        << SkewCorrector::estimate(fine) << Qt::endl;
    CardLayout layout(card, fine);
    layout.findLines();
    // Every line's canvases side by side, with the reader's figures.
    CardLineReader reader;
    const float scale = layout.scale();
    int index = 0;
    for (const CardRect& box : layout.boxes()) {
        const CardRect inCard { int(box.left * scale), int(box.top * scale),
            int((box.right + 1) * scale) - 1, int((box.bottom + 1) * scale) - 1 };
        const std::vector<CardGlyph> glyphs = reader.read(card, inCard);
        out << "line " << index << " threshold " << reader.threshold() << " margin "
            << reader.margin() << " baseline " << reader.baseline() << " capital "
            << reader.capHeight() << " glyphs " << glyphs.size() << Qt::endl;
        QImage strip(int(std::max<size_t>(1, glyphs.size())) * 50, 100, QImage::Format_RGB32);
        strip.fill(Qt::blue);
        QPainter stripPainter(&strip);
        for (size_t i = 0; i < glyphs.size(); ++i) {
            if (!glyphs[i].isMarker()) {
                stripPainter.drawImage(int(i) * 50, 0, glyphs[i].image.toQImage());
                stripPainter.drawImage(int(i) * 50, 50, glyphs[i].shape.toQImage());
            }
        }
        stripPainter.end();
        strip.save(output + QStringLiteral(".line%1.png").arg(index++));
    }
    QImage picture = fine.binarised().toQImage();
    QPainter painter(&picture);
    painter.setPen(Qt::red);
    for (const CardRect& b : layout.boxes()) {
        painter.drawRect(b.left, b.top, b.width() - 1, b.height() - 1);
        out << "box " << b.left << "," << b.top << " " << b.width() << "x" << b.height()
            << Qt::endl;
    }
    painter.end();
    return picture.save(output) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("generate FOLDER: writes synthetic card photos (JPEG) with their text.\n"
                       "score FOLDER: reads them and reports the accuracy per variant."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("generate or score"));
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("Card folder."));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Cards per variant."),
        QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed."),
        QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption width(QStringLiteral("width"),
        QStringLiteral("Long side of the photos."), QStringLiteral("PIXELS"),
        QStringLiteral("3000"));
    const QCommandLineOption templates(QStringLiteral("templates"),
        QStringLiteral("Template folder (default: bpv beside this program's bin folder)."),
        QStringLiteral("FOLDER"));
    const QCommandLineOption noRules(
        QStringLiteral("no-rules"), QStringLiteral("Skip the look-alike rules."));
    const QCommandLineOption verbose(
        QStringLiteral("verbose"), QStringLiteral("Print every card."));
    const QCommandLineOption fontList(QStringLiteral("fonts"),
        QStringLiteral("Comma-separated font families of the cards."), QStringLiteral("LIST"));
    const QCommandLineOption ruleMask(QStringLiteral("rules"),
        QStringLiteral("Hexadecimal mask of the look-alike rules to run."), QStringLiteral("MASK"));
    parser.addOptions({ count, seed, width, templates, noRules, verbose, fontList, ruleMask });
    parser.process(app);
    QTextStream out(stdout);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        out << parser.helpText();
        return 2;
    }
    if (args[0] == QLatin1String("generate"))
        return generate(args[1], parser.value(count).toInt(), parser.value(seed).toUInt(),
            parser.value(width).toInt(),
            parser.isSet(fontList) ? parser.value(fontList).split(QLatin1Char(',')) : QStringList(),
            out);
    if (args[0] == QLatin1String("debug") && args.size() == 2)
        return debugCard(args[1], args[1] + QStringLiteral(".boxes.png"), out);
    if (args[0] == QLatin1String("score")) {
        QString folder = parser.value(templates);
        if (folder.isEmpty())
            folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/bpv");
        uint32_t rules = 0xFFFFFFFFu;
        if (parser.isSet(noRules))
            rules = 0;
        if (parser.isSet(ruleMask))
            rules = parser.value(ruleMask).toUInt(nullptr, 16);
        return score(args[1], folder, rules, parser.isSet(verbose), out);
    }
    out << parser.helpText();
    return 2;
}
