#include "commandline.h"
#include "commands.h"
#include "photoio.h"

#include "recognition/face/facelocalizer.h"
#include "recognition/face/regionrendering.h"

namespace veldra::cli {

int runFaces(const QStringList& arguments)
{
    CommandLine command(QStringLiteral("faces"),
        QStringLiteral("Finds the faces in IMAGE, turned upright by its EXIF orientation and "
                       "not scaled. Prints \"IMAGE: W x H, N faces\" and then each face as "
                       "\"x y width height\" on a line of its own, in the order the localiser "
                       "returns them."));
    command.parser.addPositionalArgument(
        QStringLiteral("IMAGE"), QStringLiteral("Picture to read."));
    const QCommandLineOption json(QStringLiteral("json"),
        QStringLiteral(
            "Print {\"file\":PATH,\"width\":W,\"height\":H,\"faces\":[[x,y,w,h],...]}."));
    const QCommandLineOption censor(QStringLiteral("censor"),
        QStringLiteral("Write the picture with a black bar over the eyes of every face to OUT."),
        QStringLiteral("OUT"));
    const QCommandLineOption pixelate(QStringLiteral("pixelate"),
        QStringLiteral("Write the picture with every face pixelated (10 blocks) to OUT."),
        QStringLiteral("OUT"));
    command.parser.addOption(json);
    command.parser.addOption(censor);
    command.parser.addOption(pixelate);
    if (const auto exit = command.parse(arguments, 1, 1))
        return *exit;

    const QString path = command.parser.positionalArguments().constFirst();
    const QImage image = loadPhoto(path);
    if (image.isNull())
        return Failure;

    const QVector<QRect> faces = FaceLocalizer(25, 0.2).locate(image);

    if (command.parser.isSet(censor)) {
        const QString out = command.parser.value(censor);
        if (!censorRegions(image, faces).save(out))
            return fail(QStringLiteral("cannot write %1").arg(out));
    }
    if (command.parser.isSet(pixelate)) {
        const QString out = command.parser.value(pixelate);
        if (!pixelateRegions(image, faces, 10).save(out))
            return fail(QStringLiteral("cannot write %1").arg(out));
    }

    if (command.parser.isSet(json))
        printRegionsJson(path, image.size(), QStringLiteral("faces"), faces);
    else
        printRegions(path, image.size(), QStringLiteral("face"), faces);
    return Success;
}

} // namespace veldra::cli
