#include "features/colorbins.h"
#include "features/featurevector.h"
#include "indexing/thumbnail.h"
#include "search/imagesearch.h"
#include "search/searchmanager.h"
#include "shell/lumerax.h"
#include "store/imagerecords.h"
#include "support/testindex.h"

#include <QSignalSpy>
#include <QTest>
#include <QUrl>

using namespace veldra;
using namespace veldra::test;

namespace {

struct Picture
{
    QString name;
    int bytes;
    QVector<QPair<int, int>> weights;
    double rgn = 0;
    double temperature = 0;
};

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private:
    QString folder() const { return m_index->path() + "/photos"; }

    void store(const QList<Picture>& pictures)
    {
        for (const Picture& picture : pictures) {
            FeatureVector features;
            features.fileName = folder() + "/" + picture.name;
            features.bytes = picture.bytes;
            features.colorWeights = picture.weights;
            features.rgn = picture.rgn;
            features.temperature = picture.temperature;
            QVERIFY(insertImage(features));
        }
    }

    // Result paths back to the pictures' names.
    QStringList names(const SearchResult& result) const
    {
        QStringList list;
        for (const QString& thumbnail : result) {
            const QString source = sourceImagePath(QFileInfo(thumbnail).fileName());
            list << QFileInfo(source).fileName();
        }
        return list;
    }

private Q_SLOTS:
    void initTestCase_data() { addEngineRows(); }
    void init() { LUMERAX_INIT_TEST_INDEX(m_index); }
    void cleanup() { m_index.reset(); }

    void similarityRanksByWeightDistance()
    {
        store({ { "sample.jpg", 100, { { 500, 100 }, { 400, 83 } } },
            { "same.jpg", 10, { { 500, 100 }, { 400, 83 } } },
            { "close.jpg", 10, { { 500, 90 }, { 400, 83 } } }, { "far.jpg", 10, { { 5, 100 } } },
            { "blank.jpg", 10, {} }, { "blank-big.jpg", 20, {} } });
        const SearchResult result = similaritySearch(folder() + "/sample.jpg");
        // blank: 183 away; far: 283; ties by size, larger first.
        QCOMPARE(names(result),
            QStringList({ "same.jpg", "close.jpg", "blank-big.jpg", "blank.jpg", "far.jpg" }));
        QVERIFY(result.first().startsWith(m_index->dataPath() + "/"));
        QVERIFY(result.first().endsWith(".jpg"));
    }

    void sampleOutsideTheIndexFindsNothing()
    {
        store({ { "a.jpg", 1, { { 0, 100 } } } });
        QVERIFY(similaritySearch(folder() + "/unknown.jpg").isEmpty());
        QVERIFY(similaritySearch(m_index->path() + "/elsewhere/a.jpg").isEmpty());
        QCOMPARE(similaritySearch(folder() + "/a.jpg"), SearchResult());
    }

    void sampleUrls_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("found");
        QTest::newRow("path") << "%1/s.jpg" << true;
        QTest::newRow("file url") << "file://%1/s.jpg" << true;
        QTest::newRow("http") << "http://example.org%1/s.jpg" << false;
        QTest::newRow("https") << "https://example.org%1/s.jpg" << false;
        QTest::newRow("ftp") << "ftp://example.org%1/s.jpg" << false;
        QTest::newRow("empty") << "" << false;
    }

    void sampleUrls()
    {
        QFETCH(QString, url);
        QFETCH(bool, found);
        store({ { "s.jpg", 1, { { 0, 100 } } }, { "t.jpg", 1, { { 0, 50 } } } });
        const QString text = url.contains("%1") ? url.arg(folder()) : url;
        const QUrl sample = text.startsWith('/') ? QUrl::fromLocalFile(text) : QUrl(text);
        QCOMPARE(Lumerax::instance()->findSimilarImages(sample).size(), found ? 1 : 0);
    }

    void colorSearchScoresTheChosenBins()
    {
        store({ { "red.jpg", 5, { { 500, 100 }, { 400, 83 } } },
            { "dark-red.jpg", 5, { { 500, 83 }, { 400, 100 } } },
            { "big-dark-red.jpg", 9, { { 500, 83 }, { 400, 100 } } },
            { "blue.jpg", 5, { { 5, 100 } } } });
        const QStringList once = names(colorSearch({ QColor(255, 0, 0) }));
        QCOMPARE(once, QStringList({ "red.jpg", "big-dark-red.jpg", "dark-red.jpg" }));
        QCOMPARE(names(colorSearch({ QColor(255, 0, 0), QColor(230, 20, 20) })), once);
        // Two bins: red 100 + 83, dark red 83 + 100; blue still has nothing.
        QCOMPARE(names(colorSearch({ QColor(255, 0, 0), QColor(180, 0, 0) })),
            QStringList({ "big-dark-red.jpg", "red.jpg", "dark-red.jpg" }));
        QCOMPARE(names(colorSearch({ QColor(0, 0, 255), QColor(0, 0, 255) })),
            QStringList({ "blue.jpg" }));
        QVERIFY(colorSearch({ QColor(0, 255, 0) }).isEmpty());
        QVERIFY(colorSearch({}).isEmpty());
    }

    void moodBalancesNoiseAgainstTemperature_data()
    {
        QTest::addColumn<int>("temperature");
        QTest::addColumn<int>("noise");
        QTest::addColumn<int>("balance");
        QTest::addColumn<QStringList>("order");
        // warm-calm: t 80, n 10; cool-busy: t -60, n 90; mild: t 10, n 50.
        QTest::newRow("temperature only")
            << 70 << 90 << 0 << QStringList({ "warm-calm.jpg", "mild.jpg", "cool-busy.jpg" });
        QTest::newRow("noise only")
            << 70 << 90 << 100 << QStringList({ "cool-busy.jpg", "mild.jpg", "warm-calm.jpg" });
        // Unclamped: the temperature term weighs -50 and favours distance.
        QTest::newRow("balance 150")
            << 70 << 90 << 150 << QStringList({ "cool-busy.jpg", "mild.jpg", "warm-calm.jpg" });
        QTest::newRow("ties by size")
            << 10 << 50 << 50 << QStringList({ "mild.jpg", "warm-calm.jpg", "cool-busy.jpg" });
    }

    void moodBalancesNoiseAgainstTemperature()
    {
        QFETCH(int, temperature);
        QFETCH(int, noise);
        QFETCH(int, balance);
        QFETCH(QStringList, order);
        QVERIFY(moodSearch(temperature, noise, balance).isEmpty());
        store({ { "warm-calm.jpg", 30, {}, 10, 80 }, { "cool-busy.jpg", 20, {}, 90, -60 },
            { "mild.jpg", 10, {}, 50, 10 } });
        QCOMPARE(names(moodSearch(temperature, noise, balance)), order);
    }

    void managerDeliversOnlyTheLatestRequest()
    {
        store({ { "red.jpg", 5, { { 500, 100 } } }, { "blue.jpg", 5, { { 5, 100 } } } });
        SearchManager manager;
        QSignalSpy similar(&manager, &SearchManager::similarFinished);
        QSignalSpy color(&manager, &SearchManager::colorFinished);
        QSignalSpy mood(&manager, &SearchManager::moodFinished);

        manager.searchColor({ QColor(255, 0, 0) });
        manager.searchColor({ QColor(0, 0, 255) });
        QVERIFY(color.wait(10000));
        QTest::qWait(100);
        QCOMPARE(color.count(), 1);
        QCOMPARE(
            names(color.first().first().value<QVector<QString>>()), QStringList({ "blue.jpg" }));

        manager.searchSimilar(folder() + "/red.jpg");
        manager.searchMood(0, 0, 50);
        QVERIFY(mood.wait(10000));
        QTest::qWait(100);
        QCOMPARE(similar.count(), 0);
        QCOMPARE(mood.count(), 1);
        QCOMPARE(mood.first().first().value<QVector<QString>>().size(), 2);

        manager.searchSimilar(folder() + "/red.jpg");
        QVERIFY(similar.wait(10000));
        QCOMPARE(
            names(similar.first().first().value<QVector<QString>>()), QStringList({ "blue.jpg" }));
    }

    void destroyingTheManagerWaitsForItsSearch()
    {
        QList<Picture> pictures;
        for (int i = 0; i < 300; ++i)
            pictures << Picture { QString("p%1.jpg").arg(i), i,
                { { colorBinKeys().at(i % 215), 50 }, { 555, i % 100 + 1 } } };
        store(pictures);
        auto* manager = new SearchManager;
        QSignalSpy mood(manager, &SearchManager::moodFinished);
        manager->searchSimilar(folder() + "/p1.jpg");
        delete manager;
        QCOMPARE(mood.count(), 0);
    }

private:
    std::unique_ptr<TestIndex> m_index;
};

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
