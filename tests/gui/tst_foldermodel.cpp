#include "foldermodel.h"

#include <QTest>

using namespace veldra;

namespace {

using Folders = QMap<QString, QStringList>;

QStringList pictures(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("/data/%1.jpg").arg(i);
    return list;
}

// The tree in one line: every label, with its children in braces after it.
QString tree(const FolderModel& model, const QModelIndex& parent = QModelIndex())
{
    QStringList items;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const QString children = tree(model, index);
        items << index.data().toString() + (children.isEmpty() ? "" : " { " + children + " }");
    }
    return items.join(", ");
}

} // namespace

class TestFolderModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labels_data()
    {
        QTest::addColumn<Folders>("folders");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two siblings")
            << Folders { { "C:/a/b", pictures(3) }, { "C:/a/c", pictures(2) } }
            << QString("C: ( 5 ) { a ( 5 ) { b ( 3 ), c ( 2 ) } }");
        QTest::newRow("absolute unix paths")
            << Folders { { "/home/anna/Photos", pictures(4) },
                   { "/usr/share/backgrounds", pictures(1) } }
            << QString("home ( 4 ) { anna ( 4 ) { Photos ( 4 ) } }, usr ( 1 ) { share ( 1 ) { "
                       "backgrounds ( 1 ) } }");
        QTest::newRow("pictures in a folder and below it") << Folders { { "/p", pictures(2) },
            { "/p/q", pictures(3) } } << QString("p ( 5 ) { q ( 3 ) }");
        QTest::newRow("empty and doubled slashes") << Folders { { "", pictures(1) },
            { "//x//y/", pictures(2) } } << QString("x ( 2 ) { y ( 2 ) }");
        QTest::newRow("nothing") << Folders() << QString();
    }

    void labels()
    {
        QFETCH(Folders, folders);
        QFETCH(QString, expected);
        FolderModel model;
        model.setFolders(folders);
        QCOMPARE(tree(model), expected);
    }

    void paths()
    {
        FolderModel model;
        model.setFolders({ { "C:/a/b", pictures(3) }, { "/usr/share", pictures(1) } });
        // Every item knows the path up to itself in the form the index uses, so
        // the index page can find it by prefix and the tree by equality.
        QCOMPARE(model.findFolder("C:/a")->data(FolderModel::PathRole).toString(), QString("C:/a"));
        QCOMPARE(model.findFolder("C:/a/b")->text(), QString("b"));
        QCOMPARE(model.findFolder("/usr")->text(), QString("usr"));
        QCOMPARE(model.findFolder("/usr/share")->data(FolderModel::CountRole).toInt(), 1);
        QVERIFY(!model.findFolder("usr/share"));
        QVERIFY(!model.findFolder("C:/A"));
    }

    void moves_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* source, const char* destination,
                             int count, const char* tree) {
            QTest::newRow(name) << QString(source) << QString(destination) << count
                                << QString(tree);
        };
        const char* unchanged = "C: ( 5 ) { a ( 5 ) { b ( 3 ), c ( 2 ) } }, D: ( 1 ) { e ( 1 ) }";
        row("two from b to c", "C:/a/b", "C:/a/c", 2,
            "C: ( 5 ) { a ( 5 ) { b ( 1 ), c ( 4 ) } }, D: ( 1 ) { e ( 1 ) }");
        row("all of b to c", "C:/a/b", "C:/a/c", 3,
            "C: ( 5 ) { a ( 5 ) { c ( 5 ) } }, D: ( 1 ) { e ( 1 ) }");
        row("the last of a drive", "D:/e", "C:/a/b", 1,
            "C: ( 6 ) { a ( 6 ) { b ( 4 ), c ( 2 ) } }");
        row("reordered within b", "C:/a/b", "C:/a/b", 3, unchanged);
        row("unknown source", "C:/x", "C:/a/c", 2,
            "C: ( 7 ) { a ( 7 ) { b ( 3 ), c ( 4 ) } }, D: ( 1 ) { e ( 1 ) }");
        row("unknown destination", "C:/a/c", "C:/x", 2,
            "C: ( 3 ) { a ( 3 ) { b ( 3 ) } }, D: ( 1 ) { e ( 1 ) }");
        row("nothing moved", "C:/a/b", "C:/a/c", 0, unchanged);
    }

    void moves()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(int, count);
        QFETCH(QString, expected);
        FolderModel model;
        model.setFolders(
            { { "C:/a/b", pictures(3) }, { "C:/a/c", pictures(2) }, { "D:/e", pictures(1) } });
        model.updateCounts(source, destination, count);
        QCOMPARE(tree(model), expected);
    }

    void rebuildReplacesTree()
    {
        FolderModel model;
        model.setFolders({ { "C:/a/b", pictures(3) } });
        model.setFolders({ { "C:/a/b", pictures(1) } });
        QCOMPARE(tree(model), QString("C: ( 1 ) { a ( 1 ) { b ( 1 ) } }"));
    }
};

QTEST_GUILESS_MAIN(TestFolderModel)
#include "tst_foldermodel.moc"
