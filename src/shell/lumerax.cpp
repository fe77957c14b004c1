#include "lumerax.h"

#include "config.h"
#include "indexing/indexer.h"
#include "search/imagesearch.h"
#include "store/imagerecords.h"
#include "store/indexdatabase.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QUrl>
#include <QtConcurrent>

namespace veldra {

namespace {

Lumerax* s_instance = nullptr;

const QString lumeraxGroup = QStringLiteral("Lumerax");
const QString databaseGroup = QStringLiteral("Database");
const QString defaultDatabase = QStringLiteral("lumerax");

} // namespace

Lumerax* Lumerax::instance()
{
    if (!s_instance)
        new Lumerax(nullptr);
    return s_instance;
}

Lumerax::Lumerax(QObject* parent)
    : QObject(parent)
    , m_watcher(new QFutureWatcher<int>(this))
    , m_indexingPool(new QThreadPool(this))
{
    s_instance = this;
    connect(m_watcher, &QFutureWatcher<int>::finished, this, &Lumerax::analyzeFinished);
    connect(m_watcher, &QFutureWatcher<int>::progressRangeChanged, this,
        &Lumerax::progressRangeChanged);
    connect(m_watcher, &QFutureWatcher<int>::progressValueChanged, this,
        &Lumerax::progressValueChanged);
}

Lumerax::~Lumerax()
{
    if (m_watcher->isRunning()) {
        m_watcher->cancel();
        m_watcher->waitForFinished();
    }
    m_indexingPool->waitForDone();
    if (s_instance == this)
        s_instance = nullptr;
}

QVariant Lumerax::setting(int id) const
{
    Config* config = Config::instance();
    switch (id) {
    case ThumbnailSizeSetting:
        if (config->value(lumeraxGroup, QStringLiteral("Thumbnails"), false).toBool())
            return config->value(lumeraxGroup, QStringLiteral("ThumbnailSize"), 250);
        return QVariant();
    case SimilaritySetting:
        return config->value(lumeraxGroup, QStringLiteral("Similarity"), 0);
    case DatabaseSetting:
        return config->value(databaseGroup, QStringLiteral("Database"), defaultDatabase);
    default:
        return QVariant();
    }
}

void Lumerax::setSetting(int id, const QVariant& value)
{
    Config* config = Config::instance();
    const QString database
        = config->value(databaseGroup, QStringLiteral("Database"), defaultDatabase).toString();
    switch (id) {
    case ThumbnailSizeSetting:
        config->setValue(lumeraxGroup, QStringLiteral("Thumbnails"), true);
        config->setValue(lumeraxGroup, QStringLiteral("ThumbnailSize"), value);
        break;
    case SimilaritySetting:
        config->setValue(lumeraxGroup, QStringLiteral("Similarity"), value);
        break;
    case DatabaseSetting:
        if (value.toString() == database)
            break;
        config->setValue(databaseGroup, QStringLiteral("Database"), value);
        openDatabase();
        break;
    default:
        config->setValue(lumeraxGroup, QStringLiteral("Thumbnails"), false);
        config->setValue(lumeraxGroup, QStringLiteral("Similarity"), 0);
        if (database != defaultDatabase) {
            config->setValue(databaseGroup, QStringLiteral("Database"), defaultDatabase);
            openDatabase();
        }
        break;
    }
}

void Lumerax::openDatabase()
{
    if (IndexDatabase::open())
        recoverInterruptedIndexing();
}

void Lumerax::createSchema()
{
    QSqlDatabase db = IndexDatabase::connection();
    IndexDatabase::createSchema(db);
}

void Lumerax::analyze(const QStringList& files)
{
    if (m_batchRunning) {
        m_pendingBatches.append(files);
        return;
    }
    m_batchRunning = true;
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    m_cancelled = cancelled;
    m_watcher->setFuture(
        QtConcurrent::mapped(m_indexingPool, files, [cancelled](const QString& file) {
            return cancelled->load() ? int(NotIndexed) : indexImage(file);
        }));
    Q_EMIT indexStarted();
}

void Lumerax::cancelIndexing()
{
    m_pendingBatches.clear();
    if (m_cancelled)
        m_cancelled->store(true);
}

bool Lumerax::isIndexing() const
{
    return m_batchRunning;
}

QFuture<int> Lumerax::indexingFuture() const
{
    return m_watcher->future();
}

void Lumerax::analyzeFinished()
{
    m_batchRunning = false;
    Q_EMIT indexFinished();
    if (!m_pendingBatches.isEmpty())
        analyze(m_pendingBatches.takeFirst());
}

QMap<QString, QStringList> Lumerax::listAll() const
{
    return veldra::listAll();
}

QString Lumerax::sourceImagePath(const QString& thumbnail) const
{
    return veldra::sourceImagePath(thumbnail);
}

QStringList Lumerax::moveImages(const QString& folder, int position, const QStringList& thumbnails)
{
    return veldra::moveImages(folder, position, thumbnails);
}

QStringList Lumerax::removeImages(const QStringList& thumbnails)
{
    return veldra::removeImages(thumbnails);
}

SearchResult Lumerax::findSimilarImages(const QUrl& sample)
{
    if (sample.isEmpty() && !sample.isValid())
        return {};
    const QString text = sample.toString();
    if (text.startsWith(QLatin1String("http")) || text.startsWith(QLatin1String("ftp")))
        return {};
    return similaritySearch(sample.isLocalFile() ? sample.toLocalFile() : text);
}

SearchResult Lumerax::findColorImages(QVector<QColor> colors)
{
    return colorSearch(colors);
}

SearchResult Lumerax::findMoodImages(int temperature, int noise, int balance)
{
    return moodSearch(temperature, noise, balance);
}

} // namespace veldra
