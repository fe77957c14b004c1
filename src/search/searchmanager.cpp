#include "searchmanager.h"

#include "shell/lumerax.h"

#include <QDir>
#include <QFutureWatcher>
#include <QUrl>
#include <QtConcurrent>

namespace veldra {

SearchManager::SearchManager(QObject* parent)
    : QObject(parent)
    , m_watcher(new QFutureWatcher<SearchResult>(this))
{
    connect(
        m_watcher, &QFutureWatcher<SearchResult>::finished, this, &SearchManager::searchFinished);
}

SearchManager::~SearchManager()
{
    if (m_watcher->isRunning()) {
        m_watcher->cancel();
        m_watcher->waitForFinished();
    }
}

void SearchManager::watch(SearchKind kind, const QFuture<SearchResult>& future)
{
    m_searchKind = kind;
    m_watcher->setFuture(future);
}

void SearchManager::searchSimilar(const QString& _fileName)
{
    if (m_watcher->isRunning())
        m_watcher->cancel();
    // A path becomes a file URL, which keeps "%", "#" and "?" in file names.
    const QUrl sample
        = QDir::isAbsolutePath(_fileName) ? QUrl::fromLocalFile(_fileName) : QUrl(_fileName);
    watch(
        SimilarSearch, QtConcurrent::run(&Lumerax::findSimilarImages, Lumerax::instance(), sample));
}

void SearchManager::searchColor(const QVector<QColor>& _colors)
{
    if (m_watcher->isRunning())
        m_watcher->cancel();
    watch(ColorSearch, QtConcurrent::run(&Lumerax::findColorImages, Lumerax::instance(), _colors));
}

void SearchManager::searchMood(int _temperature, int _noise, int _balance)
{
    if (m_watcher->isRunning())
        m_watcher->cancel();
    watch(MoodSearch,
        QtConcurrent::run(
            &Lumerax::findMoodImages, Lumerax::instance(), _temperature, _noise, _balance));
}

void SearchManager::searchFinished()
{
    const QFuture<SearchResult> future = m_watcher->future();
    const SearchResult result = future.resultCount() > 0 ? future.result() : SearchResult();
    switch (m_searchKind) {
    case SimilarSearch:
        Q_EMIT similarFinished(result);
        break;
    case ColorSearch:
        Q_EMIT colorFinished(result);
        break;
    case MoodSearch:
        Q_EMIT moodFinished(result);
        break;
    default:
        break;
    }
    m_searchKind = NoSearch;
}

} // namespace veldra
