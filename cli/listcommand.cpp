#include "commandline.h"
#include "commands.h"

#include "shell/lumerax.h"

namespace veldra::cli {

int runList(const QStringList& arguments)
{
    CommandLine command(QStringLiteral("list"),
        QStringLiteral("Prints the index as FOLDER<TAB>THUMBNAIL lines, folders in "
                       "order and each folder's pictures in their order."));
    command.parser.addOption(QCommandLineOption(
        QStringLiteral("json"), QStringLiteral("Print one JSON object: folder -> thumbnails.")));
    if (const auto exit = command.parse(arguments, 0, 0))
        return *exit;
    if (const auto exit = openIndex(command.parser))
        return *exit;

    const QMap<QString, QStringList> index = Lumerax::instance()->listAll();
    if (command.parser.isSet(QStringLiteral("json"))) {
        QStringList folders;
        for (auto it = index.cbegin(); it != index.cend(); ++it) {
            QStringList thumbnails;
            for (const QString& thumbnail : it.value())
                thumbnails << jsonString(thumbnail);
            folders << jsonString(it.key()) + QLatin1String(":[")
                    + thumbnails.join(QLatin1Char(',')) + QLatin1Char(']');
        }
        out() << '{' << folders.join(QLatin1Char(',')) << "}\n";
        return Success;
    }
    for (auto it = index.cbegin(); it != index.cend(); ++it)
        for (const QString& thumbnail : it.value())
            out() << it.key() << '\t' << thumbnail << '\n';
    return Success;
}

} // namespace veldra::cli
