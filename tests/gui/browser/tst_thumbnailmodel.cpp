#include "browser/thumbnailmodel.h"
#include "browsertestdata.h"

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

QMimeData* mime(const QList<Record>& records)
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("application/lumerax"), payload(records));
    return data;
}

QStringList names(const ThumbnailModel& model, int folder)
{
    QStringList result;
    const QModelIndex parent = model.index(folder, 0);
    for (int row = 0; row < model.rowCount(parent); ++row)
        result << model.index(row, 0, parent).data().toString();
    return result;
}

using Content = QMap<QString, QStringList>;

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
    void emptyContentGivesNoRows_data()
    {
        QTest::addColumn<Content>("content");
        QTest::newRow("empty map") << QMap<QString, QStringList>();
        QTest::newRow("only empty folders")
            << QMap<QString, QStringList> { { "/a", {} }, { "/b", {} } };
    }
    void emptyContentGivesNoRows()
    {
        QFETCH(Content, content);
        ThumbnailModel model;
        fill(model);
        QSignalSpy reset(&model, &ThumbnailModel::modelReset);
        model.setThumbnails(content);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(reset.size(), 1);
    }

    void foldersInKeyOrderThumbnailsInListOrder()
    {
        ThumbnailModel model;
        QSignalSpy inserted(&model, &ThumbnailModel::rowsInserted);
        model.setThumbnails(
            { { "/b", { "b2", "b1" } }, { "/A", { "x" } }, { "/a", {} }, { "/c", { "c" } } });
        QCOMPARE(inserted.size(), 0); // one reset, no row insertions
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.index(0, 0).data().toString(), QString("/A"));
        QCOMPARE(model.index(1, 0).data().toString(), QString("/b"));
        QCOMPARE(model.index(2, 0).data().toString(), QString("/c"));
        QCOMPARE(names(model, 1), QStringList({ "b2", "b1" }));
    }

    void treeShape()
    {
        ThumbnailModel model;
        fill(model);
        const QModelIndex folder = model.index(0, 0);
        const QModelIndex thumbnail = model.index(2, 0, folder);
        QVERIFY(thumbnail.isValid());
        QCOMPARE(model.columnCount(), 2);
        QCOMPARE(model.columnCount(folder), 2);
        QCOMPARE(model.columnCount(thumbnail), 1);
        QCOMPARE(model.rowCount(thumbnail), 0);
        QCOMPARE(thumbnail.parent(), folder);
        QVERIFY(!folder.parent().isValid());
        // The open-folder box carries the folder's node.
        QCOMPARE(model.index(1, 1).data().toString(), QString("/b"));
        QCOMPARE(model.index(1, 0, model.index(1, 0)).parent().row(), 1);
        QVERIFY(!model.index(2, 0).isValid());
        QVERIFY(!model.index(3, 0, folder).isValid());
        QVERIFY(!model.index(-1, 0).isValid());
    }

    void flagsByLevel()
    {
        ThumbnailModel model;
        fill(model);
        QCOMPARE(int(model.flags(QModelIndex())), 8);
        QCOMPARE(int(model.flags(model.index(0, 0))), 32);
        QCOMPARE(int(model.flags(model.index(0, 0, model.index(0, 0)))), 45);
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
        QCOMPARE(a.data(Qt::DecorationRole).value<QPixmap>().cacheKey(), key);
        QCOMPARE(b.data(Qt::DecorationRole).value<QPixmap>().cacheKey(), key);
        QCOMPARE(c.data(Qt::DecorationRole).value<QPixmap>().cacheKey(), key);
    }

    void rolesOfFolderAndThumbnail_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("onFolder");
        QTest::addColumn<bool>("valid");
        QTest::newRow("display folder") << 0 << true << true;
        QTest::newRow("edit folder") << 2 << true << true;
        QTest::newRow("decoration folder") << 1 << true << false;
        QTest::newRow("size hint folder") << 13 << true << false;
        QTest::newRow("tool tip thumbnail") << 3 << false << false;
        QTest::newRow("decoration thumbnail") << 1 << false << true;
        QTest::newRow("size hint thumbnail") << 13 << false << true;
        QTest::newRow("edit thumbnail") << 2 << false << true;
    }
    void rolesOfFolderAndThumbnail()
    {
        QFETCH(int, role);
        QFETCH(bool, onFolder);
        QFETCH(bool, valid);
        ThumbnailModel model;
        fill(model);
        const QModelIndex folder = model.index(0, 0);
        const QModelIndex index = onFolder ? folder : model.index(0, 0, folder);
        QCOMPARE(index.data(role).isValid(), valid);
        QVERIFY(!QModelIndex().data(role).isValid());
    }

    void unreadablePictureIsNullButListed()
    {
        ThumbnailModel model;
        model.setThumbnails({ { "/a", { "/nowhere/missing.png" } } });
        const QModelIndex index = model.index(0, 0, model.index(0, 0));
        QVERIFY(index.data(Qt::DecorationRole).value<QPixmap>().isNull());
        QVERIFY(index.data(Qt::SizeHintRole).toSize().isEmpty());
        QCOMPARE(model.rowCount(model.index(0, 0)), 1);
    }

    void setDataOnlyForDisplayRole_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("display") << 0 << true;
        QTest::newRow("edit") << 2 << false;
        QTest::newRow("decoration") << 1 << false;
    }
    void setDataOnlyForDisplayRole()
    {
        QFETCH(int, role);
        QFETCH(bool, accepted);
        ThumbnailModel model;
        fill(model);
        QSignalSpy changed(&model, &ThumbnailModel::dataChanged);
        const QModelIndex index = model.index(1, 0, model.index(0, 0));
        QCOMPARE(model.setData(index, "renamed", role), accepted);
        QCOMPARE(
            index.data(Qt::EditRole).toString(), accepted ? QString("renamed") : QString("a2"));
        QCOMPARE(changed.size(), 0);
        QVERIFY(!model.setData(QModelIndex(), "x", 0));
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
        QCOMPARE(model.mimeTypes(), QStringList { "application/lumerax" });
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
        std::unique_ptr<QMimeData> data(mime(records));
        QVERIFY(model.dropMimeData(data.get(), Qt::MoveAction, row, 0, model.index(1, 0)));
        QCOMPARE(names(model, 1), expected);
        QCOMPARE(names(model, 0), QStringList({ "a1", "a2", "a3" })); // the source stays
        QCOMPARE(moved.size(), 1);
        QStringList dropped;
        for (const Record& r : records)
            dropped << r.name;
        QCOMPARE(moved.first().at(0).toString(), QString("/b"));
        QCOMPARE(moved.first().at(1).toInt(), announcedRow);
        QCOMPARE(moved.first().at(2).toStringList(), dropped);
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
        QCOMPARE(names(model, 1), QStringList({ "b1", "b2", "a1" }));
        QCOMPARE(moved.first().at(2).toStringList(), QStringList { "a1" });
    }

    void insertRowsClampsThePosition_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("position");
        QTest::newRow("negative") << -5 << 0;
        QTest::newRow("inside") << 1 << 1;
        QTest::newRow("past the end") << 10 << 3;
    }
    void insertRowsClampsThePosition()
    {
        QFETCH(int, row);
        QFETCH(int, position);
        ThumbnailModel model;
        fill(model);
        const QModelIndex folder = model.index(0, 0);
        QSignalSpy inserted(&model, &ThumbnailModel::rowsInserted);
        QVERIFY(model.insertRows(row, 2, folder));
        QCOMPARE(inserted.first().at(1).toInt(), position);
        QCOMPARE(inserted.first().at(2).toInt(), position + 1);
        QCOMPARE(model.index(position, 0, folder).data().toString(), QString());
        QCOMPARE(model.rowCount(folder), 5);
        QVERIFY(!model.insertRows(0, 0, folder));
    }

    void removeRowsWithinBoundsOnly_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("more than there are") << 0 << 4 << false << QStringList { "a1", "a2", "a3" };
        QTest::newRow("past the end") << 2 << 2 << false << QStringList { "a1", "a2", "a3" };
        QTest::newRow("negative row") << -1 << 1 << false << QStringList { "a1", "a2", "a3" };
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
        QCOMPARE(names(model, 0), left);
    }

    void emptyModelHasNothing()
    {
        EmptyModel model;
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 0);
        QVERIFY(!model.hasChildren());
        QVERIFY(!model.index(0, 0).isValid());
        QVERIFY(!model.data(QModelIndex()).isValid());
    }
};

QTEST_MAIN(TestThumbnailModel)
#include "tst_thumbnailmodel.moc"
