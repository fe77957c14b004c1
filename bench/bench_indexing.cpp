#include "benchimages.h"

#include "features/featurevector.h"
#include "indexing/imageloader.h"
#include "shell/config.h"
#include "shell/lumerax.h"

#include <QBuffer>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace veldra;

namespace {

// One 12-megapixel photograph as a camera would write it, or the photograph
// named by LUMERAX_BENCH_PHOTO.
const QByteArray& jpeg12MP()
{
    static const QByteArray bytes = [] {
        QFile photo(qEnvironmentVariable("LUMERAX_BENCH_PHOTO"));
        if (photo.open(QIODevice::ReadOnly))
            return photo.readAll();
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        bench::photoLikeImage(4000, 3000).save(&buffer, "JPEG", 90);
        return data;
    }();
    return bytes;
}

QString writeJpeg(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(jpeg12MP());
    return path;
}

void BM_Decode12MPJpeg(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeJpeg(dir.filePath("photo.jpg"));
    for (auto _ : state)
        benchmark::DoNotOptimize(loadImage(path));
}
BENCHMARK(BM_Decode12MPJpeg)->Unit(benchmark::kMillisecond);

void BM_Features12MP(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeJpeg(dir.filePath("photo.jpg"));
    const QImage image = loadImage(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(FeatureVector(path, &image));
}
BENCHMARK(BM_Features12MP)->Unit(benchmark::kMillisecond);

// The whole pipeline on the thread pool: decode, features, thumbnail, rows.
void BM_Index200Photos12MP(benchmark::State& state)
{
    constexpr int photos = 200;
    QTemporaryDir dir;
    QStringList files;
    for (int i = 0; i < photos; ++i)
        files << writeJpeg(dir.filePath(QStringLiteral("photo%1.jpg").arg(i)));

    int round = 0;
    for (auto _ : state) {
        qputenv("LUMERAX_DATA_DIR",
            QFile::encodeName(dir.filePath(QStringLiteral("data%1").arg(round++))));
        Lumerax lumerax;
        lumerax.setSetting(ThumbnailSizeSetting, 250);
        lumerax.openDatabase();
        QEventLoop loop;
        QObject::connect(&lumerax, &Lumerax::indexFinished, &loop, &QEventLoop::quit);
        lumerax.analyze(files);
        loop.exec();
    }
    state.counters["images/s"]
        = benchmark::Counter(photos, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Index200Photos12MP)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace
