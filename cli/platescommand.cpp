#include "commandline.h"
#include "commands.h"
#include "photoio.h"

#include "recognition/face/regionrendering.h"
#include "recognition/plate/platelocator.h"

namespace veldra::cli {

int runPlates(const QStringList& arguments)
{
    CommandLine command(QStringLiteral("plates"),
        QStringLiteral("Finds the number plates in IMAGE, turned upright by its EXIF orientation "
                       "and reduced to fit 640 x 480 when larger. Prints \"IMAGE: W x H, N "
                       "plates\" with the size of the (reduced) picture and then each plate as "
                       "\"x y width height\" in its coordinates on a line of its own."));
    command.parser.addPositionalArgument(
        QStringLiteral("IMAGE"), QStringLiteral("Picture to read."));
    const QCommandLineOption json(QStringLiteral("json"),
        QStringLiteral(
            "Print {\"file\":PATH,\"width\":W,\"height\":H,\"plates\":[[x,y,w,h],...]}."));
    const QCommandLineOption pixelate(QStringLiteral("pixelate"),
        QStringLiteral(
            "Write the (reduced) picture with every plate pixelated (10 blocks) to OUT."),
        QStringLiteral("OUT"));
    command.parser.addOption(json);
    command.parser.addOption(pixelate);
    if (const auto exit = command.parse(arguments, 1, 1))
        return *exit;

    const QString path = command.parser.positionalArguments().constFirst();
    QImage image = loadPhoto(path);
    if (image.isNull())
        return Failure;
    // The number-plate page works on at most 640 x 480 pixels.
    if (image.width() > 640 || image.height() > 480)
        image = image.scaled(640, 480, Qt::KeepAspectRatio, Qt::SmoothTransformation);

    const QVector<QRect> plates = PlateLocator::locate(image);

    if (command.parser.isSet(pixelate)) {
        const QString out = command.parser.value(pixelate);
        if (!pixelateRegions(image, plates, 10).save(out))
            return fail(QStringLiteral("cannot write %1").arg(out));
    }

    if (command.parser.isSet(json))
        printRegionsJson(path, image.size(), QStringLiteral("plates"), plates);
    else
        printRegions(path, image.size(), QStringLiteral("plate"), plates);
    return Success;
}

} // namespace veldra::cli
