#include "commandline.h"
#include "commands.h"

#include "features/edgedetector.h"

#include <QImageReader>

namespace veldra::cli {

int runEdges(const QStringList& arguments)
{
    CommandLine command(QStringLiteral("edges"),
        QStringLiteral("Writes the edge image of IMAGE, found with the low and high "
                       "thresholds LOW and HIGH, to OUT as PNG. The picture is used "
                       "as stored, without EXIF rotation."));
    command.parser.addPositionalArgument(
        QStringLiteral("IMAGE"), QStringLiteral("Picture to read."));
    command.parser.addPositionalArgument(QStringLiteral("LOW"), QStringLiteral("Low threshold."));
    command.parser.addPositionalArgument(QStringLiteral("HIGH"), QStringLiteral("High threshold."));
    command.parser.addPositionalArgument(
        QStringLiteral("OUT"), QStringLiteral("PNG file to write."));
    if (const auto exit = command.parse(arguments, 4, 4))
        return *exit;

    const QStringList positional = command.parser.positionalArguments();
    const auto low = command.intArgument(1, QStringLiteral("LOW"));
    if (!low)
        return UsageError;
    const auto high = command.intArgument(2, QStringLiteral("HIGH"));
    if (!high)
        return UsageError;

    QImageReader reader(positional[0]);
    const QImage image = reader.read();
    if (image.isNull())
        return fail(
            QStringLiteral("cannot read image %1: %2").arg(positional[0], reader.errorString()));

    const QImage edges = detectEdges(image, *low, *high);
    if (!edges.save(positional[3], "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(positional[3]));
    return Success;
}

} // namespace veldra::cli
