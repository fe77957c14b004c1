#include "features/colorbins.h"
#include "search/imagesearch.h"
#include "shell/config.h"
#include "store/indexdatabase.h"
#include "support/mariadbserver.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace veldra;

namespace {

// Indexes of generated rows, kept for the whole run: engine and size -> data.
struct GeneratedIndex
{
    std::unique_ptr<QTemporaryDir> dir;
    QString database;
    QString sample;
};

QString engineName(int engine)
{
    return engine == 0 ? QStringLiteral("QSQLITE") : QStringLiteral("QMYSQL");
}

// Opens (generating on first use) an index of `images` rows. False when the
// engine cannot run here.
bool openGenerated(int engine, int images, QString* sample)
{
    static std::map<std::pair<int, int>, GeneratedIndex> indexes;
    GeneratedIndex& index = indexes[{ engine, images }];
    const bool fresh = !index.dir;
    if (fresh) {
        index.dir = std::make_unique<QTemporaryDir>();
        index.database = QStringLiteral("bench_%1_%2").arg(engine).arg(images);
    }
    qputenv("LUMERAX_DATA_DIR", QFile::encodeName(index.dir->path()));
    Config* config = Config::instance();
    config->setValue("Database", "Engine", engineName(engine));
    config->setValue("Database", "Database", index.database);
    if (engine == 1) {
        test::MariaDbServer* server = test::MariaDbServer::instance();
        if (!server)
            return false;
        config->setValue("Database", "Socket", server->socket());
    }
    if (!IndexDatabase::open())
        return false;
    QSqlDatabase db = IndexDatabase::connection();
    if (fresh) {
        // Rows written directly: 100 pictures a folder, about 30 coloured bins
        // each, with the spread of real photographs' sizes and moods.
        QRandomGenerator random(images);
        const QVector<int>& bins = colorBinKeys();
        IndexDatabase::beginTransaction(db);
        QSqlQuery query(db);
        for (int folder = 1; folder <= (images + 99) / 100; ++folder)
            query.exec(QStringLiteral("insert into folder ( id, path ) values ( %1, '/bench/%1' )")
                           .arg(folder));
        constexpr int chunk = 500;
        for (int start = 0; start < images; start += chunk) {
            QStringList imageRows;
            QStringList colorStatements;
            for (int id = start + 1; id <= std::min(images, start + chunk); ++id) {
                imageRows << QStringLiteral(
                    "( %1, %2, 'p%1.jpg', '%3.jpg', %4, 4000, 3000, %5, 0, %6, %7 )")
                                 .arg(id)
                                 .arg((id - 1) / 100 + 1)
                                 .arg(id, 32, 16, QLatin1Char('0'))
                                 .arg(random.bounded(500000, 8000000))
                                 .arg(random.bounded(100.0))
                                 .arg(random.bounded(200.0) - 100)
                                 .arg((id - 1) % 100);
                QStringList columns { QStringLiteral("id") };
                QStringList values { QString::number(id) };
                const int base = int(random.bounded(216));
                for (int i = 0; i < 30; ++i) {
                    columns << colorColumnName(bins.at((base + i * 7) % 216));
                    values << QString::number(random.bounded(1, 101));
                }
                colorStatements << QStringLiteral("insert into colors ( %1 ) values ( %2 )")
                                       .arg(columns.join(QStringLiteral(", ")),
                                           values.join(QStringLiteral(", ")));
            }
            query.exec(
                QStringLiteral(
                    "insert into images ( id, fid, img, timg, bytes, width, height, rgn, rcn, "
                    "temperature, sequence ) values ")
                + imageRows.join(QStringLiteral(", ")));
            for (const QString& statement : colorStatements)
                query.exec(statement);
        }
        IndexDatabase::commit(db);
        index.sample = QCoreApplication::applicationDirPath() + QStringLiteral("/bench/1/p1.jpg");
    }
    *sample = index.sample;
    return true;
}

void searchArguments(benchmark::internal::Benchmark* benchmark)
{
    for (int engine : { 0, 1 })
        for (int images : { 1000, 10000, 100000 })
            benchmark->Args({ engine, images });
    benchmark->ArgNames({ "mariadb", "images" })->Unit(benchmark::kMillisecond);
}

void BM_SimilaritySearch(benchmark::State& state)
{
    QString sample;
    if (!openGenerated(int(state.range(0)), int(state.range(1)), &sample)) {
        state.SkipWithError("engine not available");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(similaritySearch(sample));
}
BENCHMARK(BM_SimilaritySearch)->Apply(searchArguments);

void BM_ColorSearch(benchmark::State& state)
{
    QString sample;
    if (!openGenerated(int(state.range(0)), int(state.range(1)), &sample)) {
        state.SkipWithError("engine not available");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(
            colorSearch({ QColor(255, 0, 0), QColor(0, 90, 200), QColor(0, 90, 200) }));
}
BENCHMARK(BM_ColorSearch)->Apply(searchArguments);

void BM_MoodSearch(benchmark::State& state)
{
    QString sample;
    if (!openGenerated(int(state.range(0)), int(state.range(1)), &sample)) {
        state.SkipWithError("engine not available");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(moodSearch(40, 30, 50));
}
BENCHMARK(BM_MoodSearch)->Apply(searchArguments);

} // namespace
