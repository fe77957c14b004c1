#pragma once

#include "search/searchresult.h"

#include <QColor>
#include <QFuture>
#include <QImage>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <atomic>
#include <memory>

template <typename T> class QFutureWatcher;
class QThreadPool;

namespace veldra {

// Selector of the controller's typed settings; any other value resets.
enum SettingId {
    ResetSettings = 0,
    ThumbnailSizeSetting = 1,
    SimilaritySetting = 2,
    DatabaseSetting = 3
};

// The process-wide controller between the user interface and the engine: it
// owns indexing, holds the typed settings, opens the database and answers the
// index queries. Lives on the GUI thread.
class Lumerax : public QObject
{
    Q_OBJECT

public:
    // The controller; created without a parent on first use.
    static Lumerax* instance();

    explicit Lumerax(QObject* parent = nullptr);
    ~Lumerax() override;

    QVariant setting(int id) const;
    void setSetting(int id, const QVariant& value);

    void openDatabase();
    void createSchema();

    // Indexes the files on the thread pool, or queues them behind the batch
    // that is running.
    void analyze(const QStringList& files);
    // Stops after the files in flight and drops the queued batches; what was
    // indexed stays.
    void cancelIndexing();
    bool isIndexing() const;
    // The running batch: one result (an IndexResult) per file, in order.
    QFuture<int> indexingFuture() const;

    QMap<QString, QStringList> listAll() const;
    QString sourceImagePath(const QString& thumbnail) const;
    // Returns the thumbnails whose pictures moved.
    QStringList moveImages(const QString& folder, int position, const QStringList& thumbnails);
    // Takes pictures out of the index (rows and thumbnails, never the source
    // files). Returns the thumbnails that were removed.
    QStringList removeImages(const QStringList& thumbnails);

    // The searches; they touch no controller state and may run on any thread.
    // A sample URL with the scheme http, https or ftp gives an empty result.
    SearchResult findSimilarImages(const QUrl& sample);
    SearchResult findColorImages(QVector<QColor> colors);
    SearchResult findMoodImages(int temperature, int noise, int balance);

Q_SIGNALS:
    void similarImages(QVector<QString> _fileNames);
    void filteredImage(QImage _image);
    void statusSignal(int _done, int _total);
    void progressRangeChanged(int _minimum, int _maximum);
    void progressValueChanged(int _progressValue);
    void indexDone();
    void indexStarted();
    void indexFinished();

private Q_SLOTS:
    void analyzeFinished();

private:
    QList<QStringList> m_pendingBatches;
    // A batch counts as running until its end is reported: a future that has
    // just finished still owes its indexFinished().
    bool m_batchRunning = false;
    QFutureWatcher<int>* m_watcher = nullptr;
    // Indexing has a pool of its own: the toolkit paints and scales images
    // on the global pool, and a long batch there would freeze the window.
    QThreadPool* m_indexingPool = nullptr;
    // Set by cancelIndexing(): the files of the batch that have not started
    // yet are passed over, so every file still reports its result.
    std::shared_ptr<std::atomic<bool>> m_cancelled;
};

} // namespace veldra
