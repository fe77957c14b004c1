#include "browser/thumbnailmodel.h"
#include "gui/guitest.h"

#include <QDataStream>
#include <QMimeData>
#include <QPixmap>
#include <QPixmapCache>
#include <QSignalSpy>
#include <QTest>

using namespace veldra;
using namespace veldra::test;

namespace {

struct Record
{
    qint32 parentRow = 0;
    qint32 row = 0;
    QString name;
};

QByteArray payload(const QList<Record>& records)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    for (const Record& r : records)
        stream << r.parentRow << r.row << r.name;
    return bytes;
}

// Which of these roles an index has data for.
QList<bool> hasData(const QModelIndex& index, const QList<int>& roles)
{
    QList<bool> result;
    for (int role : roles)
        result << index.data(role).isValid();
    return result;
}

} // namespace

Q_DECLARE_METATYPE(Record)

class TestThumbnailModel : public QObject
{
    Q_OBJECT

private:
    // Two folders: "/a" with a1 a2 a3, "/b" with b1 b2.
    void fill(ThumbnailModel& model)
    {
        model.setThumbnails({ { "/b", { "b1", "b2" } }, { "/a", { "a1", "a2", "a3" } } });
    }

private Q_SLOTS:
    void foldersInKeyOrderThumbnailsInListOrder()
    {
        ThumbnailModel model;
        QSignalSpy inserted(&model, &ThumbnailModel::rowsInserted);
        model.setThumbnails(
            { { "/b", { "b2", "b1" } }, { "/A", { "x" } }, { "/a", {} }, { "/c", { "c" } } });
        QCOMPARE(inserted.size(), 0); // one reset, no row insertions
        QCOMPARE(texts(&model), QStringList({ "/A", "/b", "/c" }));
        QCOMPARE(texts(&model, model.index(1, 0)), QStringList({ "b2", "b1" }));

        // Empty folders alone leave no rows, and neither does nothing.
        QSignalSpy reset(&model, &ThumbnailModel::modelReset);
        model.setThumbnails({ { "/a", {} }, { "/b", {} } });
        QCOMPARE(model.rowCount(), 0);
        fill(model);
        model.setThumbnails({});
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(reset.size(), 3);
    }

    void treeShape()
    {
        ThumbnailModel model;
        fill(model);
        const QModelIndex folder = model.index(0, 0);
        const QModelIndex thumbnail = model.index(2, 0, folder);
        QCOMPARE(QList<int>({ model.columnCount(), model.columnCount(folder),
                     model.columnCount(thumbnail), model.rowCount(thumbnail) }),
            QList<int>({ 2, 2, 1, 0 }));
        QCOMPARE(thumbnail.parent(), folder);
        QVERIFY(!folder.parent().isValid());
        // The open-folder box carries the folder's node.
        QCOMPARE(model.index(1, 1).data().toString(), QString("/b"));
        QCOMPARE(model.index(1, 0, model.index(1, 0)).parent().row(), 1);
        QVERIFY(!model.index(2, 0).isValid());
        QVERIFY(!model.index(3, 0, folder).isValid());
        QVERIFY(!model.index(-1, 0).isValid());
    }

    void picturesAreLoadedOnceAndShared()
    {
        Pictures pictures;
        const QString path = pictures.add("p", 40, 30);
        QPixmapCache::clear();
        ThumbnailModel first;
        ThumbnailModel second;
        first.setThumbnails({ { "/a", { path } }, { "/b", { path } } });
        second.setThumbnails({ { "/c", { path } } });
        QPixmap cached;
        QVERIFY(!QPixmapCache::find(path, &cached)); // nothing loaded by setThumbnails

        const QModelIndex a = first.index(0, 0, first.index(0, 0));
        const QModelIndex b = first.index(0, 0, first.index(1, 0));
        const QModelIndex c = second.index(0, 0, second.index(0, 0));
        QCOMPARE(a.data(Qt::SizeHintRole).toSize(), QSize(40, 30));
        QVERIFY(QPixmapCache::find(path, &cached));
        const qint64 key = cached.cacheKey();
        for (const QModelIndex& index : { a, b, c })
            QCOMPARE(index.data(Qt::DecorationRole).value<QPixmap>().cacheKey(), key);
    }

    // A folder has a name only; a thumbnail its name, picture and size, and
    // no tool tip; an unreadable picture is null but listed.
    void roles()
    {
        ThumbnailModel model;
        fill(model);
        const QList<int> roles { Qt::DisplayRole, Qt::EditRole, Qt::DecorationRole,
            Qt::SizeHintRole, Qt::ToolTipRole };
        QCOMPARE(
            hasData(model.index(0, 0), roles), QList<bool>({ true, true, false, false, false }));
        QCOMPARE(hasData(model.index(0, 0, model.index(0, 0)), roles),
            QList<bool>({ true, true, true, true, false }));
        QCOMPARE(hasData(QModelIndex(), roles), QList<bool>(5, false));

        model.setThumbnails({ { "/a", { "/nowhere/missing.png" } } });
        const QModelIndex index = model.index(0, 0, model.index(0, 0));
        QVERIFY(index.data(Qt::DecorationRole).value<QPixmap>().isNull());
        QVERIFY(index.data(Qt::SizeHintRole).toSize().isEmpty());
        QCOMPARE(model.rowCount(model.index(0, 0)), 1);
    }

    // Only the display role renames, and silently.
    void setData()
    {
        ThumbnailModel model;
        fill(model);
        QSignalSpy changed(&model, &ThumbnailModel::dataChanged);
        const QModelIndex index = model.index(1, 0, model.index(0, 0));
        QVERIFY(!model.setData(index, "edited", Qt::EditRole));
        QVERIFY(!model.setData(index, "decorated", Qt::DecorationRole));
        QCOMPARE(index.data(Qt::EditRole).toString(), QString("a2"));
        QVERIFY(model.setData(index, "renamed", Qt::DisplayRole));
        QCOMPARE(index.data(Qt::EditRole).toString(), QString("renamed"));
        QVERIFY(!model.setData(QModelIndex(), "x", Qt::DisplayRole));
        QCOMPARE(changed.size(), 0);
    }

    void mimeDataWritesOneRecordPerIndex()
    {
        ThumbnailModel model;
        fill(model);
        QVERIFY(!model.mimeData({}));
        const QModelIndex b = model.index(1, 0);
        std::unique_ptr<QMimeData> data(
            model.mimeData({ model.index(1, 0, b), model.index(0, 0, model.index(0, 0)) }));
        QVERIFY(data);
        QCOMPARE(data->formats(), QStringList { "application/lumerax" });
        QCOMPARE(data->data("application/lumerax"), payload({ { 1, 1, "b2" }, { 0, 0, "a1" } }));
    }

    void dropInsertsAndAnnounces_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<Record>>("records");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("announcedRow");
        QTest::newRow("row -1 appends")
            << -1 << QList<Record> { { 0, 0, "a1" } } << QStringList { "b1", "b2", "a1" } << 2;
        QTest::newRow("row past end appends")
            << 7 << QList<Record> { { 0, 0, "a1" } } << QStringList { "b1", "b2", "a1" } << 2;
        QTest::newRow("row 0") << 0 << QList<Record> { { 0, 0, "a1" } }
                               << QStringList { "a1", "b1", "b2" } << 0;
        QTest::newRow("two records in payload order")
            << 1 << QList<Record> { { 0, 2, "a3" }, { 0, 0, "a1" } }
            << QStringList { "b1", "a3", "a1", "b2" } << 1;
        QTest::newRow("rows in the payload do not matter")
            << 2 << QList<Record> { { 9, -4, "a2" } } << QStringList { "b1", "b2", "a2" } << 2;
    }
    void dropInsertsAndAnnounces()
    {
        QFETCH(int, row);
        QFETCH(QList<Record>, records);
        QFETCH(QStringList, expected);
        QFETCH(int, announcedRow);
        ThumbnailModel model;
        fill(model);
        QSignalSpy moved(&model, &ThumbnailModel::moveItems);
        QMimeData data;
        data.setData("application/lumerax", payload(records));
        QVERIFY(model.dropMimeData(&data, Qt::MoveAction, row, 0, model.index(1, 0)));
        QCOMPARE(texts(&model, model.index(1, 0)), expected);
        QCOMPARE(texts(&model, model.index(0, 0)),
            QStringList({ "a1", "a2", "a3" })); // the source stays
        QStringList dropped;
        for (const Record& r : records)
            dropped << r.name;
        QCOMPARE(moved, QList<QVariantList>({ { "/b", announcedRow, dropped } }));
    }

    void dropIsRefused_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("format");
        QTest::newRow("link action") << int(Qt::LinkAction) << "application/lumerax";
        QTest::newRow("ignore action") << int(Qt::IgnoreAction) << "application/lumerax";
        QTest::newRow("foreign format") << int(Qt::MoveAction) << "text/uri-list";
    }
    void dropIsRefused()
    {
        QFETCH(int, action);
        QFETCH(QString, format);
        ThumbnailModel model;
        fill(model);
        QSignalSpy moved(&model, &ThumbnailModel::moveItems);
        QMimeData data;
        data.setData(format, payload({ { 0, 0, "a1" } }));
        QVERIFY(!model.dropMimeData(&data, Qt::DropAction(action), 0, 0, model.index(1, 0)));
        QVERIFY(!model.dropMimeData(nullptr, Qt::MoveAction, 0, 0, model.index(1, 0)));
        QCOMPARE(model.rowCount(model.index(1, 0)), 2);
        QCOMPARE(moved.size(), 0);
    }

    void truncatedPayloadEndsReading()
    {
        ThumbnailModel model;
        fill(model);
        QByteArray bytes = payload({ { 0, 0, "a1" }, { 0, 1, "a2" } });
        bytes.chop(3);
        QMimeData data;
        data.setData("application/lumerax", bytes);
        QSignalSpy moved(&model, &ThumbnailModel::moveItems);
        QVERIFY(model.dropMimeData(&data, Qt::CopyAction, -1, 0, model.index(1, 0)));
        QCOMPARE(texts(&model, model.index(1, 0)), QStringList({ "b1", "b2", "a1" }));
        QCOMPARE(moved.first().at(2).toStringList(), QStringList { "a1" });
    }

    void insertRowsClampsThePosition()
    {
        // Two empty rows at -5, 1 and 10 land at 0, 1 and the end.
        ThumbnailModel model;
        fill(model);
        const QModelIndex folder = model.index(0, 0);
        QVERIFY(!model.insertRows(0, 0, folder));
        QSignalSpy inserted(&model, &ThumbnailModel::rowsInserted);
        for (int row : { -5, 1, 10 })
            QVERIFY(model.insertRows(row, 2, folder));
        QList<int> ranges;
        for (const QVariantList& arguments : inserted)
            ranges << arguments.at(1).toInt() << arguments.at(2).toInt();
        QCOMPARE(ranges, QList<int>({ 0, 1, 1, 2, 7, 8 }));
        QCOMPARE(texts(&model, model.index(0, 0)),
            QStringList({ "", "", "", "", "a1", "a2", "a3", "", "" }));
    }

    void removeRowsWithinBoundsOnly_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QStringList>("left");
        const QStringList all { "a1", "a2", "a3" };
        QTest::newRow("more than there are") << 0 << 4 << false << all;
        QTest::newRow("past the end") << 2 << 2 << false << all;
        QTest::newRow("negative row") << -1 << 1 << false << all;
        QTest::newRow("last two") << 1 << 2 << true << QStringList { "a1" };
        QTest::newRow("all") << 0 << 3 << true << QStringList();
    }
    void removeRowsWithinBoundsOnly()
    {
        QFETCH(int, row);
        QFETCH(int, count);
        QFETCH(bool, removed);
        QFETCH(QStringList, left);
        ThumbnailModel model;
        fill(model);
        QCOMPARE(model.removeRows(row, count, model.index(0, 0)), removed);
        QCOMPARE(texts(&model, model.index(0, 0)), left);
    }
};

QTEST_MAIN(TestThumbnailModel)
#include "tst_thumbnailmodel.moc"
