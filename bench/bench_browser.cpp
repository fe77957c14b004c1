#include "benchimages.h"

#include "browser/thumbnaildelegate.h"
#include "browser/thumbnailmodel.h"
#include "browser/thumbnailview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace veldra;

namespace {

// A large index: 20 000 thumbnails in 200 folders. The thumbnail files are
// 300 photo-like 250-pixel pictures behind 20 000 distinct names (symbolic
// links), so every name is loaded on its own as in a real index.
struct LargeIndex
{
    static constexpr int folders = 200;
    static constexpr int perFolder = 100;

    LargeIndex()
    {
        QStringList pictures;
        for (int i = 0; i < 300; ++i) {
            const QString path = dir.filePath(QStringLiteral("picture%1.jpg").arg(i));
            bench::photoLikeImage(i % 3 ? 250 : 166, i % 3 ? 166 : 250, quint32(i + 1))
                .save(path, "JPEG", 85);
            pictures << path;
        }
        for (int f = 0; f < folders; ++f) {
            QStringList names;
            for (int i = 0; i < perFolder; ++i) {
                const QString name = dir.filePath(QStringLiteral("t%1_%2.jpg").arg(f).arg(i));
                QFile::link(pictures.at((f * perFolder + i) % pictures.size()), name);
                names << name;
            }
            content.insert(
                QStringLiteral("/photos/folder%1").arg(f, 3, 10, QLatin1Char('0')), names);
        }
    }

    static LargeIndex& instance()
    {
        static LargeIndex index;
        return index;
    }

    QTemporaryDir dir;
    QMap<QString, QStringList> content;
};

// A view of the index with the window size of a desktop; opened on demand.
class Browser
{
public:
    Browser()
    {
        view.setItemDelegate(new ThumbnailDelegate(&view));
        view.setModel(&model);
        view.resize(1400, 900);
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.show();
        model.setThumbnails(LargeIndex::instance().content);
        layout();
    }

    void layout()
    {
        QCoreApplication::processEvents();
        view.doItemsLayout();
    }

    // Renders the viewport as a paint event from the window system would.
    void paint(QImage& target) { view.viewport()->render(&target); }

    ThumbnailModel model;
    ThumbnailView view;
};

// Model reset and the layout that follows it: sections, the flat item list
// and the scroll range.
void BM_BrowserResetAndLayout(benchmark::State& state)
{
    Browser browser;
    const auto& content = LargeIndex::instance().content;
    for (auto _ : state) {
        browser.model.setThumbnails(content);
        browser.view.doItemsLayout();
    }
    state.SetItemsProcessed(state.iterations() * LargeIndex::folders * LargeIndex::perFolder);
}
BENCHMARK(BM_BrowserResetAndLayout)->Unit(benchmark::kMillisecond);

// Relayout after a grid change: the item list is kept, sections are rebuilt.
void BM_BrowserGridChangeLayout(benchmark::State& state)
{
    Browser browser;
    int size = 200;
    for (auto _ : state) {
        size = size == 200 ? 300 : 200;
        browser.view.setGridSize(size);
        browser.view.doItemsLayout();
    }
}
BENCHMARK(BM_BrowserGridChangeLayout)->Unit(benchmark::kMicrosecond);

// One viewport in the middle of the index with its pictures cached.
void BM_BrowserPaintViewport(benchmark::State& state)
{
    Browser browser;
    browser.view.verticalScrollBar()->setValue(browser.view.verticalScrollBar()->maximum() / 2);
    QImage target(browser.view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    browser.paint(target);
    for (auto _ : state)
        browser.paint(target);
}
BENCHMARK(BM_BrowserPaintViewport)->Unit(benchmark::kMillisecond);

// The same viewport the first time: every visible picture is read from disk.
void BM_BrowserPaintViewportFirstTime(benchmark::State& state)
{
    Browser browser;
    browser.view.verticalScrollBar()->setValue(browser.view.verticalScrollBar()->maximum() / 2);
    QImage target(browser.view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        QPixmapCache::clear();
        state.ResumeTiming();
        browser.paint(target);
    }
}
BENCHMARK(BM_BrowserPaintViewportFirstTime)->Unit(benchmark::kMillisecond);

} // namespace
