#include "commandline.h"

#include "shell/lumerax.h"
#include "store/indexdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSqlError>

namespace veldra::cli {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

int fail(const QString& message)
{
    out().flush();
    err() << "lumerax-cli: " << message << Qt::endl;
    return Failure;
}

void addGlobalOptions(QCommandLineParser& parser)
{
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(QStringLiteral("data-dir"),
        QStringLiteral("Data directory holding config.ini, the index and the thumbnails."),
        QStringLiteral("DIR")));
    parser.addOption(QCommandLineOption(QStringLiteral("database"),
        QStringLiteral("Index database to use (default lumerax; :memory: for a throw-away one)."),
        QStringLiteral("NAME")));
}

std::optional<int> openIndex(const QCommandLineParser& parser)
{
    // As the application does at start-up: thumbnails on at 250 pixels and
    // the database of the command line, "lumerax" unless named.
    Lumerax* lumerax = Lumerax::instance();
    lumerax->setSetting(ThumbnailSizeSetting, 250);
    lumerax->setSetting(DatabaseSetting,
        parser.isSet(QStringLiteral("database")) ? parser.value(QStringLiteral("database"))
                                                 : QStringLiteral("lumerax"));
    lumerax->openDatabase();
    const QSqlDatabase db = IndexDatabase::connection();
    if (!db.isOpen())
        return fail(QStringLiteral("cannot open the index database %1: %2")
                        .arg(db.databaseName(), db.lastError().text()));
    return std::nullopt;
}

QString jsonString(const QString& text)
{
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            result += QLatin1String("\\\"");
            break;
        case '\\':
            result += QLatin1String("\\\\");
            break;
        case '\n':
            result += QLatin1String("\\n");
            break;
        case '\t':
            result += QLatin1String("\\t");
            break;
        case '\r':
            result += QLatin1String("\\r");
            break;
        default:
            if (c.unicode() < 0x20)
                result += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                result += c;
        }
    }
    return result + QLatin1Char('"');
}

QString jsonNumber(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<int> applyGlobalOptions(const QCommandLineParser& parser)
{
    if (parser.isSet(QStringLiteral("data-dir"))) {
        const QString dir = QDir(parser.value(QStringLiteral("data-dir"))).absolutePath();
        if (!QDir().mkpath(dir) || !QFileInfo(dir).isWritable())
            return fail(QStringLiteral("cannot use data directory %1").arg(dir));
        qputenv("LUMERAX_DATA_DIR", QFile::encodeName(dir));
    }
    return std::nullopt;
}

CommandLine::CommandLine(const QString& command, const QString& description)
    : m_command(command)
{
    parser.setApplicationDescription(description);
    addGlobalOptions(parser);
}

QString CommandLine::helpText() const
{
    // The usage line names the command, which the parser does not know about.
    QString text = parser.helpText();
    const qsizetype end = text.indexOf(QLatin1Char('\n'));
    const QString usage = QStringLiteral("Usage: lumerax-cli %1 [options]").arg(m_command);
    const qsizetype options = text.indexOf(QLatin1String("[options]"));
    if (options >= 0 && options < end)
        text.replace(0, options + 9, usage);
    return text;
}

int CommandLine::usageError(const QString& message)
{
    out().flush();
    err() << "lumerax-cli " << m_command << ": " << message << Qt::endl
          << "Try 'lumerax-cli " << m_command << " --help'." << Qt::endl;
    return UsageError;
}

std::optional<int> CommandLine::parse(
    const QStringList& arguments, int minPositional, int maxPositional)
{
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out() << helpText();
        return Success;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out() << "lumerax-cli " << QCoreApplication::applicationVersion() << Qt::endl;
        return Success;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < minPositional)
        return usageError(QStringLiteral("missing arguments"));
    if (maxPositional >= 0 && count > maxPositional)
        return usageError(QStringLiteral("too many arguments"));
    return applyGlobalOptions(parser);
}

std::optional<int> CommandLine::intArgument(int index, const QString& name)
{
    const QString text = parser.positionalArguments().value(index);
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) {
        usageError(QStringLiteral("%1 must be an integer, not '%2'").arg(name, text));
        return std::nullopt;
    }
    return value;
}

} // namespace veldra::cli
