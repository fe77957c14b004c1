#include "commandline.h"
#include "commands.h"

#include "features/featurevector.h"
#include "indexing/imageloader.h"

namespace veldra::cli {

int runFeatures(const QStringList& arguments)
{
    CommandLine command(QStringLiteral("features"),
        QStringLiteral("Prints the index features of each picture as one JSON "
                       "object per line. Pictures are turned upright by their "
                       "EXIF orientation first."));
    command.parser.addPositionalArgument(QStringLiteral("IMAGE"),
        QStringLiteral("Pictures to measure."), QStringLiteral("IMAGE..."));
    if (const auto exit = command.parse(arguments, 1, -1))
        return *exit;

    int result = Success;
    const QStringList files = command.parser.positionalArguments();
    for (const QString& file : files) {
        const QImage image = loadImage(file);
        if (image.isNull()) {
            result = fail(QStringLiteral("cannot read image %1").arg(file));
            continue;
        }
        const FeatureVector features(file, &image);
        QStringList weights;
        for (const auto& [key, weight] : features.colorWeights)
            weights << QStringLiteral("\"%1\":%2").arg(key).arg(weight);
        out() << "{\"file\":" << jsonString(features.fileName) << ",\"width\":" << features.width
              << ",\"height\":" << features.height << ",\"bytes\":" << features.bytes
              << ",\"rgn\":" << jsonNumber(features.rgn)
              << ",\"temperature\":" << jsonNumber(features.temperature) << ",\"colorWeights\":{"
              << weights.join(QLatin1Char(',')) << "}}\n";
        out().flush();
    }
    return result;
}

} // namespace veldra::cli
