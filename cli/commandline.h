#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace veldra::cli {

enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

QTextStream& out();
QTextStream& err();

// Prints "lumerax-cli: message" on stderr and returns Failure.
int fail(const QString& message);

// The options every command accepts, wherever they stand on the line.
void addGlobalOptions(QCommandLineParser& parser);

// One command's parser. parse() handles --help, --version, usage errors and
// the global options; it returns an exit code when the command must stop.
class CommandLine
{
public:
    CommandLine(const QString& command, const QString& description);

    QCommandLineParser parser;

    std::optional<int> parse(const QStringList& arguments, int minPositional, int maxPositional);
    int usageError(const QString& message);
    QString helpText() const;

    // Positional argument as an integer; prints a usage error when it is not one.
    std::optional<int> intArgument(int index, const QString& name);

private:
    QString m_command;
};

// For commands that touch the index: turns thumbnails on at 250 pixels and
// opens the database named by --database ("lumerax" by default).
std::optional<int> openIndex(const QCommandLineParser& parser);

// JSON text of a string (quoted, escaped) and of a double (shortest form that
// reads back to the same value).
QString jsonString(const QString& text);
QString jsonNumber(double value);

// Applies --data-dir (and the other global options) for the rest of the run.
std::optional<int> applyGlobalOptions(const QCommandLineParser& parser);

} // namespace veldra::cli
