#include "features/featurevector.h"
#include "indexing/thumbnail.h"
#include "store/folderpath.h"
#include "store/imagerecords.h"
#include "support/testindex.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include <numeric>

using namespace veldra;
using namespace veldra::test;

namespace {

FeatureVector record(const QString& path, QVector<QPair<int, int>> weights = { { 500, 100 } })
{
    FeatureVector features;
    features.fileName = path;
    features.width = 4;
    features.height = 3;
    features.bytes = 1234;
    features.rgn = 12.5;
    features.temperature = -22.25;
    features.colorWeights = weights;
    return features;
}

QList<int> sequencesOf(const QString& folder)
{
    QList<int> sequences;
    const int fid = folderId(folder);
    for (const QVariantList& row : TestIndex::rows(
             QString("select sequence from images where fid = %1 order by sequence").arg(fid)))
        sequences << row.at(0).toInt();
    return sequences;
}

QStringList namesOf(const QString& folder)
{
    QStringList names;
    const int fid = folderId(folder);
    for (const QVariantList& row : TestIndex::rows(
             QString("select img from images where fid = %1 order by sequence").arg(fid)))
        names << row.at(0).toString();
    return names;
}

// 0, 1, ... n - 1: the sequence of a folder of n images.
QList<int> contiguous(qsizetype n)
{
    QList<int> sequence(n);
    std::iota(sequence.begin(), sequence.end(), 0);
    return sequence;
}

// Writes a picture and indexes it.
bool indexPicture(const QString& path, int seed = 1)
{
    return QDir().mkpath(QFileInfo(path).path()) && writePicture(path, seed)
        && insertImage(record(path));
}

int imageId(const QString& name)
{
    return TestIndex::scalar(QString("select id from images where img = '%1'").arg(name)).toInt();
}

} // namespace

class TestImageRecords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { addEngineRows(); }
    void init() { LUMERAX_INIT_TEST_INDEX(m_index); }
    void cleanup() { m_index.reset(); }

    void storedFolderPaths_data()
    {
        const QString app = QCoreApplication::applicationDirPath();
        QTest::addColumn<QString>("absolute");
        QTest::addColumn<QString>("stored");
        QTest::newRow("inside") << app + "/Images/People" << QString("/Images/People");
        QTest::newRow("one level") << app + "/Images" << QString("/Images");
        QTest::newRow("the application directory") << app << QString();
        QTest::newRow("sibling sharing the prefix") << app + "2/x"
                                                    << "/../" + QFileInfo(app).fileName() + "2/x";
        QTest::newRow("parent") << QDir::cleanPath(app + "/..") << QString("/..");
        QTest::newRow("elsewhere")
            << QString("/home/anna/Photos")
            << "/" + QString("../").repeated(app.count('/')) + "home/anna/Photos";
    }

    void storedFolderPaths()
    {
        QFETCH(QString, absolute);
        QFETCH(QString, stored);
        QCOMPARE(storedFolderPath(absolute), stored);
        QCOMPARE(absoluteFolderPath(stored), absolute);
        QCOMPARE(QDir::cleanPath(QCoreApplication::applicationDirPath() + stored), absolute);
    }

    void insertAppendsToTheFolder()
    {
        const QString folder = m_index->path() + "/photos";
        QVERIFY(insertImage(record(folder + "/a.jpg")));
        QVERIFY(insertImage(record(folder + "/b.jpg", {})));
        QVERIFY(insertImage(record(m_index->path() + "/other/c.jpg")));

        QCOMPARE(TestIndex::scalar("select count(*) from folder").toInt(), 2);
        QCOMPARE(sequencesOf(folder), QList<int>({ 0, 1 }));
        QCOMPARE(namesOf(folder), QStringList({ "a.jpg", "b.jpg" }));
        QCOMPARE(TestIndex::scalar("select path from folder where id = 1").toString(),
            storedFolderPath(folder));

        const QVariantList a = TestIndex::rows("select timg, bytes, width, height, rgn, rcn, "
                                               "temperature from images where img = 'a.jpg'")
                                   .value(0);
        QCOMPARE(a.value(0).toString(), thumbnailName(folder + "/a.jpg"));
        QCOMPARE(a.mid(1), QVariantList({ 1234, 4, 3, 12.5, 0, -22.25 }));
        const QString colors = "select %1 from colors where id = %2";
        QCOMPARE(TestIndex::scalar(colors.arg("c_500").arg(imageId("a.jpg"))).toInt(), 100);
        // Without weights the colour row holds only the id; every bin reads 0.
        const int b = imageId("b.jpg");
        QCOMPARE(TestIndex::scalar(colors.arg("count(*)").arg(b)).toInt(), 1);
        QCOMPARE(TestIndex::scalar(colors.arg("c_500 + c_0 + c_555").arg(b)).toInt(), 0);
    }

    void newImagesAreToldByFolderAndExactName()
    {
        const QString folder = m_index->path() + "/photos";
        QVERIFY(isNewImage(folder + "/a.jpg"));
        QVERIFY(insertImage(record(folder + "/a.jpg")));
        QVERIFY(!isNewImage(folder + "/a.jpg"));
        QVERIFY(isNewImage(folder + "/A.jpg"));
        QVERIFY(isNewImage(folder + "/a.jpeg"));
        QVERIFY(isNewImage(m_index->path() + "/elsewhere/a.jpg"));
    }

    void sourcePathsAndListing()
    {
        const QString outside = m_index->path() + "/photos";
        QTemporaryDir insideDir(QCoreApplication::applicationDirPath() + "/inside-XXXXXX");
        const QString inside = insideDir.path();
        QVERIFY(listAll().isEmpty());
        QVERIFY(insertImage(record(outside + "/b.jpg")));
        QVERIFY(insertImage(record(outside + "/a.jpg")));
        QVERIFY(insertImage(record(inside + "/c.png")));

        QCOMPARE(sourceImagePath(thumbnailName(outside + "/a.jpg")), outside + "/a.jpg");
        QCOMPARE(sourceImagePath(thumbnailName(inside + "/c.png")), inside + "/c.png");
        QCOMPARE(sourceImagePath("00000000000000000000000000000000.jpg"),
            QCoreApplication::applicationDirPath() + "/");

        const QMap<QString, QStringList> all = listAll();
        QCOMPARE(all.size(), 2);
        QVERIFY(all.contains(inside));
        QVERIFY(all.contains(outside));
        QCOMPARE(all.value(outside),
            QStringList({ m_index->dataPath() + "/" + thumbnailName(outside + "/b.jpg"),
                m_index->dataPath() + "/" + thumbnailName(outside + "/a.jpg") }));
        QCOMPARE(all.value(inside), QStringList({ thumbnailPath(inside + "/c.png") }));
    }

    void rowMoves_data()
    {
        QTest::addColumn<QStringList>("moved");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        const QStringList f { "f0", "f1", "f2", "f3", "f4" };
        const QStringList g { "g0", "g1" };
        QTest::newRow("fourth to the front") << QStringList { "f3" } << "F" << 0
                                             << QStringList { "f3", "f0", "f1", "f2", "f4" } << g;
        QTest::newRow("second to the end") << QStringList { "f1" } << "F" << 5
                                           << QStringList { "f0", "f2", "f3", "f4", "f1" } << g;
        QTest::newRow("before the last") << QStringList { "f1" } << "F" << 4
                                         << QStringList { "f0", "f2", "f3", "f1", "f4" } << g;
        QTest::newRow("two into the other folder")
            << QStringList { "f4", "f0" } << "G" << 1 << QStringList { "f1", "f2", "f3" }
            << QStringList { "g0", "f4", "f0", "g1" };
        QTest::newRow("beyond the end is the end")
            << QStringList { "f2" } << "G" << 40 << QStringList { "f0", "f1", "f3", "f4" }
            << QStringList { "g0", "g1", "f2" };
        QTest::newRow("negative is the front")
            << QStringList { "g1" } << "F" << -3
            << QStringList { "g1", "f0", "f1", "f2", "f3", "f4" } << QStringList { "g0" };
        QTest::newRow("nothing") << QStringList() << "G" << 0 << f << g;
    }

    void rowMoves()
    {
        QFETCH(QStringList, moved);
        QFETCH(QString, target);
        QFETCH(int, position);
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        const QString folderF = m_index->path() + "/F";
        const QString folderG = m_index->path() + "/G";
        for (int i = 0; i < 5; ++i)
            QVERIFY(insertImage(record(QString("%1/f%2").arg(folderF).arg(i))));
        for (int i = 0; i < 2; ++i)
            QVERIFY(insertImage(record(QString("%1/g%2").arg(folderG).arg(i))));

        QList<int> ids;
        for (const QString& name : moved)
            ids << imageId(name);
        moveImageRows(folderId(target == "F" ? folderF : folderG), position, ids);

        QCOMPARE(namesOf(folderF), first);
        QCOMPARE(namesOf(folderG), second);
        QCOMPARE(sequencesOf(folderF), contiguous(first.size()));
        QCOMPARE(sequencesOf(folderG), contiguous(second.size()));
    }

    void emptiedFolderIsDropped()
    {
        const QString folderF = m_index->path() + "/F";
        const QString folderG = m_index->path() + "/G";
        QVERIFY(insertImage(record(folderF + "/a")));
        QVERIFY(insertImage(record(folderF + "/b")));
        QVERIFY(insertImage(record(folderG + "/c")));
        moveImageRows(folderId(folderG), 0, { imageId("a"), imageId("b") });
        QCOMPARE(folderId(folderF), 0);
        QCOMPARE(namesOf(folderG), QStringList({ "a", "b", "c" }));
        QCOMPARE(TestIndex::scalar("select count(*) from colors").toInt(), 3);
    }

    void filesMoveWithTheirRows()
    {
        const QString from = m_index->path() + "/from";
        const QString to = m_index->path() + "/to";
        for (const char* name : { "a.png", "b.png", "c.png", "d.png" })
            QVERIFY(indexPicture(from + "/" + name, name[0]));
        QVERIFY(indexPicture(to + "/t.png", 9));
        // b's destination is taken by a different file, c's source has gone.
        QVERIFY(writePicture(to + "/b.png", 7));
        QVERIFY(QFile::remove(from + "/c.png"));

        const QStringList thumbnails { thumbnailPath(from + "/a.png"),
            thumbnailPath(from + "/b.png"), thumbnailPath(from + "/c.png"),
            thumbnailPath(from + "/d.png"), thumbnailPath(from + "/not-indexed.png") };
        const QStringList moved = moveImages(to, 0, thumbnails);
        QCOMPARE(moved, QStringList({ thumbnails[0], thumbnails[3] }));

        QVERIFY(QFile::exists(to + "/a.png") && !QFile::exists(from + "/a.png"));
        QVERIFY(QFile::exists(to + "/d.png") && !QFile::exists(from + "/d.png"));
        QVERIFY(QFile::exists(from + "/b.png"));
        QCOMPARE(QImage(to + "/b.png").pixel(0, 0), qRgb(7 * 47 % 256, 7 * 91 % 256, 7 * 13));
        QCOMPARE(namesOf(to), QStringList({ "a.png", "d.png", "t.png" }));
        QCOMPARE(namesOf(from), QStringList({ "b.png", "c.png" }));
        QCOMPARE(sourceImagePath(thumbnailName(from + "/a.png")), to + "/a.png");
    }

    void reorderingInsideAFolderKeepsTheFiles()
    {
        const QString folder = m_index->path() + "/f";
        for (const char* name : { "a.png", "b.png", "c.png" })
            QVERIFY(indexPicture(folder + "/" + name));
        const QStringList moved = moveImages(folder, 0, { thumbnailPath(folder + "/c.png") });
        QCOMPARE(moved.size(), 1);
        QCOMPARE(namesOf(folder), QStringList({ "c.png", "a.png", "b.png" }));
        QVERIFY(QFile::exists(folder + "/c.png"));
    }

    void removal_data()
    {
        QTest::addColumn<QList<int>>("removed");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("first") << QList<int> { 0 } << QStringList { "b", "c", "d", "e" };
        QTest::newRow("middle") << QList<int> { 2 } << QStringList { "a", "b", "d", "e" };
        QTest::newRow("last") << QList<int> { 4 } << QStringList { "a", "b", "c", "d" };
        QTest::newRow("scattered, out of order")
            << QList<int> { 3, 0, 1 } << QStringList { "c", "e" };
        QTest::newRow("all") << QList<int> { 0, 1, 2, 3, 4 } << QStringList {};
        QTest::newRow("the same twice")
            << QList<int> { 1, 1 } << QStringList { "a", "c", "d", "e" };
    }

    // Rows, colour rows and thumbnails go; the folder's sequence stays
    // contiguous on both engines; the other folder is untouched.
    void removal()
    {
        QFETCH(QList<int>, removed);
        QFETCH(QStringList, left);
        const QString folderF = m_index->path() + "/f";
        const QString folderG = m_index->path() + "/g";
        const QStringList names { "a", "b", "c", "d", "e" };
        QStringList thumbnails;
        for (const QString& name : names) {
            QVERIFY(insertImage(record(folderF + "/" + name)));
            thumbnails << thumbnailPath(folderF + "/" + name);
            QVERIFY(writeThumbnail(thumbnails.last(), "thumb"));
        }
        QVERIFY(insertImage(record(folderG + "/x")));
        QVERIFY(insertImage(record(folderG + "/y")));

        QStringList request;
        for (int i : removed)
            request << thumbnails.at(i);
        QStringList expected = request;
        expected.removeDuplicates();
        QCOMPARE(removeImages(request), expected);

        QCOMPARE(namesOf(folderF), left);
        QCOMPARE(sequencesOf(folderF), contiguous(left.size()));
        QCOMPARE(folderId(folderF) != 0, !left.isEmpty());
        QCOMPARE(namesOf(folderG), QStringList({ "x", "y" }));
        QCOMPARE(sequencesOf(folderG), QList<int>({ 0, 1 }));
        QCOMPARE(TestIndex::scalar("select count(*) from colors").toInt(), left.size() + 2);
        const QString orphans
            = "select count(*) from colors where id not in (select id from images)";
        QCOMPARE(TestIndex::scalar(orphans).toInt(), 0);
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(QFile::exists(thumbnails.at(i)), left.contains(names.at(i)));

        // A picture added afterwards takes the next free place.
        QVERIFY(insertImage(record(folderF + "/z")));
        QCOMPARE(namesOf(folderF), left + QStringList { "z" });
        QCOMPARE(sequencesOf(folderF), contiguous(left.size() + 1));
    }

    // The index forgets pictures; the user's files and anything outside the
    // data directory stay, whatever path a caller passes.
    void removalKeepsTheSourceFiles()
    {
        const QString folder = m_index->path() + "/f";
        QVERIFY(indexPicture(folder + "/a.png"));
        const QString name = thumbnailName(folder + "/a.png");
        // A file of the thumbnail's name outside the data directory.
        const QString decoy = folder + "/" + name;
        QVERIFY(writePicture(decoy, 2));

        QCOMPARE(removeImages({ decoy, folder + "/a.png", QString(), "../a.png" }),
            QStringList({ decoy }));
        QVERIFY(QFile::exists(folder + "/a.png"));
        QVERIFY(QFile::exists(decoy));
        QVERIFY(listAll().isEmpty());
        QVERIFY(removeImages({ decoy }).isEmpty());
    }

    void withoutADatabaseNothingIsStoredOrRemoved()
    {
        const QString folder = m_index->path() + "/f";
        QVERIFY(insertImage(record(folder + "/a")));
        const QString thumbnail = thumbnailPath(folder + "/a");
        QVERIFY(writeThumbnail(thumbnail, "thumb"));
        QSqlDatabase::database(IndexDatabase::connectionName, false).close();
        QVERIFY(removeImages({ thumbnail }).isEmpty());
        QVERIFY(QFile::exists(thumbnail));
        QVERIFY(!insertImage(record(folder + "/b")));
        QVERIFY(isNewImage(folder + "/b"));
    }

    void nothingMovesIntoAnUnknownFolder()
    {
        const QString from = m_index->path() + "/from";
        QVERIFY(QDir().mkpath(m_index->path() + "/new") && indexPicture(from + "/a.png"));
        QVERIFY(
            moveImages(m_index->path() + "/new", 0, { thumbnailPath(from + "/a.png") }).isEmpty());
        QVERIFY(QFile::exists(from + "/a.png"));
        QCOMPARE(namesOf(from), QStringList({ "a.png" }));
    }

private:
    std::unique_ptr<TestIndex> m_index;
};

QTEST_GUILESS_MAIN(TestImageRecords)
#include "tst_imagerecords.moc"
