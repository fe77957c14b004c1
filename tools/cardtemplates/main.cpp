// Trains the business-card reader's character templates from fonts of the
// system and writes them as "*.fdb" files.

#include "templatetrainer.h"

#include <QCommandLineParser>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTextStream>

using namespace veldra::tools;

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Renders the character classes in free fonts and writes the "
                       "business-card reader's template files into FOLDER."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("Output folder."));
    QCommandLineOption features(QStringLiteral("features"),
        QStringLiteral("Number of feature windows (default 256)."), QStringLiteral("N"),
        QStringLiteral("256"));
    parser.addOption(features);
    QCommandLineOption only(QStringLiteral("fonts"),
        QStringLiteral("Comma-separated font families instead of the standard set."),
        QStringLiteral("LIST"));
    parser.addOption(only);
    QCommandLineOption variants(QStringLiteral("variants"),
        QStringLiteral("Number of rendering variants (1 to 4, default 4)."), QStringLiteral("N"),
        QStringLiteral("4"));
    parser.addOption(variants);
    QCommandLineOption medoids(
        QStringLiteral("medoids"), QStringLiteral("Use real samples as prototypes."));
    parser.addOption(medoids);
    QCommandLineOption lines(QStringLiteral("lines"),
        QStringLiteral("Also train on whole lines of text (off by default: it helps the fonts "
                       "trained on and costs on others)."));
    parser.addOption(lines);
    QCommandLineOption report(
        QStringLiteral("report"), QStringLiteral("Print the accuracy per class."));
    parser.addOption(report);
    parser.process(app);
    QTextStream out(stdout);
    if (parser.positionalArguments().size() != 1) {
        out << parser.helpText();
        return 2;
    }

    // Fonts of Debian's fonts-dejavu-core, fonts-liberation2, fonts-freefont-ttf
    // and fonts-urw-base35. Missing ones are left out, so the output depends
    // on the installed packages; scripts/install-deps.sh --dev installs them.
    // fonts-roboto, fonts-open-sans, fonts-lato, fonts-croscore and
    // fonts-crosextra-carlito.
    QStringList wanted = { "DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono", "Liberation Sans",
        "Liberation Serif", "FreeSans", "FreeSerif", "Roboto", "Open Sans", "Lato", "Arimo",
        "Tinos", "Carlito" };
    if (parser.isSet(only))
        wanted = parser.value(only).split(QLatin1Char(','));
    QStringList fonts;
    const QStringList available = QFontDatabase::families();
    for (const QString& family : wanted)
        if (available.contains(family))
            fonts << family;
        else
            out << "font missing: " << family << Qt::endl;

    TemplateTrainer trainer;
    trainer.setFonts(fonts);
    trainer.setFeatureCount(parser.value(features).toInt());
    trainer.setVariants(parser.value(variants).toInt());
    trainer.setMedoids(parser.isSet(medoids));
    trainer.setLineSamples(parser.isSet(lines));
    out << "samples: " << trainer.collect() << Qt::endl;
    trainer.train();
    out << "features: " << trainer.features().size() << Qt::endl;
    for (int variant = 0; variant < parser.value(variants).toInt(); ++variant)
        out << "accuracy, variant " << variant << ": " << trainer.accuracy(variant) << Qt::endl;
    if (parser.isSet(report))
        out << trainer.report();
    if (!trainer.write(parser.positionalArguments().constFirst())) {
        out << "cannot write the template files" << Qt::endl;
        return 1;
    }
    return 0;
}
