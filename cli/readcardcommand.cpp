#include "commandline.h"
#include "commands.h"

#include "recognition/card/bcr.h"
#include "recognition/card/templatestore.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <string>

namespace veldra::cli {

int runReadCard(const QStringList& arguments)
{
    CommandLine command(QStringLiteral("read-card"),
        QStringLiteral("Reads the text of the business card photographed in IMAGE (a JPEG) "
                       "and prints its lines."));
    command.parser.addPositionalArgument(
        QStringLiteral("IMAGE"), QStringLiteral("JPEG photo of a business card."));
    if (const auto exit = command.parse(arguments, 1, 1))
        return *exit;

    const QString path = command.parser.positionalArguments().constFirst();
    BCR reader(TemplateStore::installedFiles());
    const std::vector<std::string> lines
        = reader.readCard(QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString());
    if (lines.empty()) {
        out().flush();
        err() << QCoreApplication::translate("BusinessCardPage", "Trouble with file format.")
              << Qt::endl
              << QCoreApplication::translate("BusinessCardPage", "Can't read the card. Sorry. :(")
              << Qt::endl;
        return Failure;
    }
    for (const std::string& line : lines)
        out() << QString::fromLatin1(line.data(), qsizetype(line.size())) << Qt::endl;
    return Success;
}

} // namespace veldra::cli
