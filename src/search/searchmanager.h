#pragma once

#include "searchresult.h"

#include <QColor>
#include <QFuture>
#include <QObject>
#include <QVector>

template <typename T> class QFutureWatcher;

namespace veldra {

// Runs one search at a time on the thread pool and hands back its result as
// the signal of its kind. A new request replaces the watched one: only the
// latest request's result is delivered.
class SearchManager : public QObject
{
    Q_OBJECT

public:
    explicit SearchManager(QObject* parent = nullptr);
    // Waits for a running search.
    ~SearchManager() override;

Q_SIGNALS:
    void similarFinished(const QVector<QString>& _result);
    void colorFinished(const QVector<QString>& _result);
    void moodFinished(const QVector<QString>& _result);

public Q_SLOTS:
    void searchSimilar(const QString& _fileName);
    void searchColor(const QVector<QColor>& _colors);
    void searchMood(int _temperature, int _noise, int _balance);

private Q_SLOTS:
    void searchFinished();

private:
    enum SearchKind { NoSearch = 0, SimilarSearch = 1, ColorSearch = 2, MoodSearch = 3 };
    void watch(SearchKind kind, const QFuture<SearchResult>& future);

    QFutureWatcher<SearchResult>* m_watcher = nullptr;
    int m_searchKind = NoSearch;
};

} // namespace veldra
