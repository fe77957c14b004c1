#include "commandline.h"
#include "commands.h"

#include "shell/config.h"

#include <QCoreApplication>

using namespace veldra;
using namespace veldra::cli;

namespace {

// Options before the command that take a value, so their values are not
// mistaken for the command name.
bool takesValue(const QString& argument)
{
    return argument == QLatin1String("--data-dir") || argument == QLatin1String("--database");
}

int generalHelp(const QStringList& arguments)
{
    QCommandLineParser parser;
    QString description
        = QStringLiteral("Indexes, searches and analyses photographs.\n\nCommands:\n");
    for (const Command& command : commands)
        description += QStringLiteral("  %1  %2\n")
                           .arg(QString::fromLatin1(command.name).leftJustified(10),
                               QString::fromLatin1(command.summary));
    description
        += QStringLiteral("\nRun 'lumerax-cli COMMAND --help' for the options of a command.");
    parser.setApplicationDescription(description);
    addGlobalOptions(parser);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command to run."),
        QStringLiteral("COMMAND [arguments]"));

    if (!parser.parse(arguments)) {
        err() << "lumerax-cli: " << parser.errorText() << Qt::endl;
        return UsageError;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out() << "lumerax-cli " << QCoreApplication::applicationVersion() << Qt::endl;
        return Success;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out() << parser.helpText();
        return Success;
    }
    err() << "lumerax-cli: no command given" << Qt::endl << "Try 'lumerax-cli --help'." << Qt::endl;
    return UsageError;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    setApplicationIdentity();

    QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (takesValue(argument)) {
            ++i;
            continue;
        }
        if (argument.startsWith(QLatin1Char('-')))
            continue;
        for (const Command& command : commands) {
            if (argument == QLatin1String(command.name)) {
                arguments.removeAt(i);
                return command.run(arguments);
            }
        }
        err() << "lumerax-cli: unknown command '" << argument << "'" << Qt::endl
              << "Try 'lumerax-cli --help'." << Qt::endl;
        return UsageError;
    }
    return generalHelp(arguments);
}
