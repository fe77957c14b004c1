#include "commandline.h"
#include "commands.h"

#include "shell/lumerax.h"
#include "store/imagerecords.h"

#include <QColor>
#include <QFileInfo>
#include <QUrl>

namespace veldra::cli {

namespace {

void addResultOptions(CommandLine& command)
{
    command.parser.addOption(QCommandLineOption(QStringLiteral("sources"),
        QStringLiteral("Print the source pictures instead of the thumbnails.")));
    command.parser.addOption(QCommandLineOption(QStringLiteral("limit"),
        QStringLiteral("Print only the first N results."), QStringLiteral("N")));
}

// Checks --limit before any work is done; -1 means no limit.
std::optional<int> resultLimit(CommandLine& command, int* limit)
{
    *limit = -1;
    if (!command.parser.isSet(QStringLiteral("limit")))
        return std::nullopt;
    bool ok = false;
    *limit = command.parser.value(QStringLiteral("limit")).toInt(&ok);
    if (!ok || *limit < 0)
        return command.usageError(QStringLiteral("--limit needs a number of results, not '%1'")
                                      .arg(command.parser.value(QStringLiteral("limit"))));
    return std::nullopt;
}

int printResult(const CommandLine& command, const SearchResult& result, int limit)
{
    const bool sources = command.parser.isSet(QStringLiteral("sources"));
    const qsizetype count = limit < 0 ? result.size() : std::min<qsizetype>(limit, result.size());
    for (qsizetype i = 0; i < count; ++i)
        out() << (sources ? sourceImagePath(QFileInfo(result.at(i)).fileName()) : result.at(i))
              << '\n';
    return Success;
}

} // namespace

int runSimilar(const QStringList& arguments)
{
    CommandLine command(QStringLiteral("similar"),
        QStringLiteral("Prints the indexed pictures most like IMAGE in colour, "
                       "nearest first. IMAGE must be in the index."));
    command.parser.addPositionalArgument(
        QStringLiteral("IMAGE"), QStringLiteral("An indexed picture."));
    addResultOptions(command);
    int limit;
    if (const auto exit = command.parse(arguments, 1, 1))
        return *exit;
    if (const auto exit = resultLimit(command, &limit))
        return *exit;
    if (const auto exit = openIndex(command.parser))
        return *exit;

    const QString image
        = QFileInfo(command.parser.positionalArguments().first()).absoluteFilePath();
    if (isNewImage(image))
        return fail(QStringLiteral("%1 is not in the index").arg(image));
    return printResult(
        command, Lumerax::instance()->findSimilarImages(QUrl::fromLocalFile(image)), limit);
}

int runColor(const QStringList& arguments)
{
    CommandLine command(QStringLiteral("color"),
        QStringLiteral("Prints the indexed pictures holding most of the given "
                       "colours, best first. A colour given twice counts twice."));
    command.parser.addPositionalArgument(QStringLiteral("COLOR"),
        QStringLiteral("A colour: #rrggbb, #rgb or a name such as red."),
        QStringLiteral("COLOR..."));
    addResultOptions(command);
    int limit;
    if (const auto exit = command.parse(arguments, 1, -1))
        return *exit;
    if (const auto exit = resultLimit(command, &limit))
        return *exit;

    QVector<QColor> colors;
    for (const QString& text : command.parser.positionalArguments()) {
        const QColor color(text);
        if (!color.isValid())
            return command.usageError(QStringLiteral("'%1' is not a colour").arg(text));
        colors << color;
    }
    if (const auto exit = openIndex(command.parser))
        return *exit;
    return printResult(command, Lumerax::instance()->findColorImages(colors), limit);
}

int runMood(const QStringList& arguments)
{
    CommandLine command(QStringLiteral("mood"),
        QStringLiteral("Prints all indexed pictures by how close their colour "
                       "temperature (-100 cool .. 100 warm) and noise (0 .. 100) "
                       "are to the given ones; BALANCE (0 .. 100) is the weight of "
                       "the noise, 100 - BALANCE that of the temperature."));
    command.parser.addPositionalArgument(
        QStringLiteral("TEMPERATURE"), QStringLiteral("Colour temperature."));
    command.parser.addPositionalArgument(QStringLiteral("NOISE"), QStringLiteral("Noise."));
    command.parser.addPositionalArgument(
        QStringLiteral("BALANCE"), QStringLiteral("Weight of the noise in percent."));
    addResultOptions(command);
    int limit;
    if (const auto exit = command.parse(arguments, 3, 3))
        return *exit;
    if (const auto exit = resultLimit(command, &limit))
        return *exit;
    const auto temperature = command.intArgument(0, QStringLiteral("TEMPERATURE"));
    const auto noise = command.intArgument(1, QStringLiteral("NOISE"));
    const auto balance = command.intArgument(2, QStringLiteral("BALANCE"));
    if (!temperature || !noise || !balance)
        return UsageError;
    if (const auto exit = openIndex(command.parser))
        return *exit;
    return printResult(
        command, Lumerax::instance()->findMoodImages(*temperature, *noise, *balance), limit);
}

} // namespace veldra::cli
