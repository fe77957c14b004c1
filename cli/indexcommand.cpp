#include "commandline.h"
#include "commands.h"

#include "indexing/indexer.h"
#include "shell/config.h"
#include "shell/lumerax.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace veldra::cli {

namespace {

int interruptPipe[2] = { -1, -1 };

void onInterrupt(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(interruptPipe[1], &byte, 1);
    // A second Ctrl+C ends the process at once.
    std::signal(SIGINT, SIG_DFL);
}

// The readable pictures below the given paths, each directory's in name order.
// The data directory is left out: its thumbnails are not the user's pictures.
QStringList collectFiles(const QStringList& paths, QStringList& missing)
{
    QStringList filters;
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    for (const QByteArray& format : formats)
        filters << QStringLiteral("*.") + QString::fromLatin1(format);
    const QString dataPath = Config::instance()->dataPath() + QLatin1Char('/');

    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            QStringList found;
            QDirIterator it(info.absoluteFilePath(), filters, QDir::Files | QDir::Readable,
                QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
            while (it.hasNext()) {
                const QString file = it.next();
                if (!file.startsWith(dataPath))
                    found << file;
            }
            found.sort();
            files << found;
        } else if (info.isFile()) {
            files << info.absoluteFilePath();
        } else {
            missing << path;
        }
    }
    files.removeDuplicates();
    return files;
}

class Progress
{
public:
    explicit Progress(int total)
        : m_total(total)
        , m_terminal(::isatty(STDERR_FILENO))
    { }

    void update(int done)
    {
        const int percent = m_total ? done * 100 / m_total : 100;
        if (m_terminal) {
            const int filled = percent * 30 / 100;
            err() << "\r[" << QString(filled, QLatin1Char('#'))
                  << QString(30 - filled, QLatin1Char('.')) << "] " << percent << "% " << done
                  << '/' << m_total << Qt::flush;
        } else if (percent / 5 > m_lastStep) {
            m_lastStep = percent / 5;
            err() << "indexing: " << percent << "% (" << done << '/' << m_total << ')' << Qt::endl;
        }
    }

    void finish()
    {
        if (m_terminal)
            err() << Qt::endl;
    }

private:
    int m_total;
    bool m_terminal;
    int m_lastStep = 0;
};

} // namespace

int runIndex(const QStringList& arguments)
{
    CommandLine command(QStringLiteral("index"),
        QStringLiteral("Adds pictures to the index: files, and directories with "
                       "everything below them in a readable image format. "
                       "Pictures already in the index are skipped. Ctrl+C stops "
                       "after the pictures being worked on."));
    command.parser.addPositionalArgument(
        QStringLiteral("PATH"), QStringLiteral("Files or directories."), QStringLiteral("PATH..."));
    command.parser.addOption(QCommandLineOption(
        QStringLiteral("verbose"), QStringLiteral("Name the files that failed.")));
    if (const auto exit = command.parse(arguments, 1, -1))
        return *exit;
    if (const auto exit = openIndex(command.parser))
        return *exit;
    const bool verbose = command.parser.isSet(QStringLiteral("verbose"));

    QStringList missing;
    const QStringList files = collectFiles(command.parser.positionalArguments(), missing);
    for (const QString& path : missing)
        err() << "lumerax-cli: no such file or directory: " << path << Qt::endl;

    int counts[5] = { 0, 0, 0, 0, 0 };
    QStringList failed;
    bool interrupted = false;
    if (!files.isEmpty()) {
        Lumerax* lumerax = Lumerax::instance();
        Progress progress(int(files.size()));

        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, interruptPipe) == 0) {
            auto* notifier = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read, qApp);
            QObject::connect(
                notifier, &QSocketNotifier::activated, [notifier, lumerax, &interrupted] {
                    notifier->setEnabled(false);
                    interrupted = true;
                    err() << Qt::endl
                          << "lumerax-cli: interrupted, finishing the pictures in work" << Qt::endl;
                    lumerax->cancelIndexing();
                });
            std::signal(SIGINT, onInterrupt);
        }

        QEventLoop loop;
        QObject::connect(lumerax, &Lumerax::indexFinished, &loop, &QEventLoop::quit);
        lumerax->analyze(files);
        QFutureWatcher<int> results;
        int done = 0;
        QObject::connect(&results, &QFutureWatcher<int>::resultsReadyAt, [&](int begin, int end) {
            for (int i = begin; i < end; ++i) {
                const int result = results.resultAt(i);
                ++counts[std::clamp(result, 0, 4)];
                if (result == Unreadable || result == StoreFailed)
                    failed << files.at(i);
                ++done;
            }
            progress.update(done);
        });
        results.setFuture(lumerax->indexingFuture());
        loop.exec();
        // Results that arrived together with the end of the batch.
        QCoreApplication::sendPostedEvents(&results);
        progress.finish();
        std::signal(SIGINT, SIG_DFL);
    }

    const int failures = counts[Unreadable] + counts[StoreFailed] + int(missing.size());
    if (verbose)
        for (const QString& file : std::as_const(failed))
            err() << "failed: " << file << Qt::endl;
    out() << counts[Indexed] << " indexed, " << counts[AlreadyIndexed] << " skipped, " << failures
          << " failed" << (interrupted ? " (interrupted)" : "") << Qt::endl;
    return failures > 0 || interrupted ? Failure : Success;
}

} // namespace veldra::cli
