#include "recognition/card/bcr.h"
#include "recognition/card/cardimage.h"
#include "recognition/card/templatestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace veldra;

namespace {

// A 3000 x 2000 photo of a business card with nine lines of text, written
// once as a JPEG.
QString cardPhoto()
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("card.jpg"));
    if (QFile::exists(path))
        return path;
    QImage photo(3000, 2000, QImage::Format_RGB32);
    photo.fill(qRgb(70, 55, 40));
    QPainter painter(&photo);
    painter.fillRect(QRect(450, 330, 2100, 1360), QColor(246, 245, 240));
    const QStringList lines { "Katharina Müller", "Geschäftsführerin", "Nordlicht Solutions GmbH",
        "Hauptstraße 12", "10115 Berlin", "Tel. +49 (0)30 123 4567", "Fax +49 (0)30 123 4568",
        "k.mueller@nordlicht.de", "www.nordlicht.de" };
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(62);
    painter.setFont(font);
    painter.setPen(QColor(25, 25, 25));
    int y = 470;
    for (const QString& line : lines) {
        painter.drawText(600, y, line);
        y += 130;
    }
    painter.end();
    photo.save(path, "JPG", 90);
    return path;
}

std::list<std::string> templates()
{
    std::list<std::string> paths;
    const QDir dir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/bpv"));
    for (const QString& name : dir.entryList({ QStringLiteral("*.fdb") }, QDir::Files, QDir::Name))
        paths.push_back(dir.absoluteFilePath(name).toStdString());
    return paths;
}

void BM_ReadCard3000x2000(benchmark::State& state)
{
    const std::string path = cardPhoto().toStdString();
    BCR reader(templates());
    size_t lines = 0;
    for (auto _ : state)
        lines = reader.readCard(path).size();
    state.counters["lines"] = double(lines);
    state.counters["templates"] = double(reader.templates().templates().size());
}
BENCHMARK(BM_ReadCard3000x2000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_LoadCardJpeg3000x2000(benchmark::State& state)
{
    const std::string path = cardPhoto().toStdString();
    for (auto _ : state) {
        CardImage image(path);
        benchmark::DoNotOptimize(image.width());
    }
}
BENCHMARK(BM_LoadCardJpeg3000x2000)->Unit(benchmark::kMillisecond);

} // namespace
