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

// The tree as indented labels, depth first, for whole-tree comparisons.
void collect(const FolderModel& model, const QModelIndex& parent, int depth, QStringList& out)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        out << QString(depth * 2, QLatin1Char(' ')) + index.data().toString();
        collect(model, index, depth + 1, out);
    }
}

QStringList tree(const FolderModel& model)
{
    QStringList out;
    collect(model, QModelIndex(), 0, out);
    return out;
}

} // namespace

class TestFolderModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labels_data();
    void labels();
    void paths();
    void moves_data();
    void moves();
    void rebuildReplacesTree();
};

void TestFolderModel::labels_data()
{
    QTest::addColumn<Folders>("folders");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("two siblings") << Folders {
        { "C:/a/b", pictures(3) }, { "C:/a/c", pictures(2) }
    } << QStringList { "C: ( 5 )", "  a ( 5 )", "    b ( 3 )", "    c ( 2 )" };
    QTest::newRow("absolute unix paths")
        << Folders { { "/home/anna/Photos", pictures(4) },
               { "/usr/share/backgrounds", pictures(1) } }
        << QStringList { "home ( 4 )", "  anna ( 4 )", "    Photos ( 4 )", "usr ( 1 )",
               "  share ( 1 )", "    backgrounds ( 1 )" };
    QTest::newRow("pictures in a folder and below it") << Folders { { "/p", pictures(2) },
        { "/p/q", pictures(3) } } << QStringList { "p ( 5 )", "  q ( 3 )" };
    QTest::newRow("empty and doubled slashes") << Folders { { "", pictures(1) },
        { "//x//y/", pictures(2) } } << QStringList { "x ( 2 )", "  y ( 2 )" };
    QTest::newRow("nothing") << Folders() << QStringList();
}

void TestFolderModel::labels()
{
    QFETCH(Folders, folders);
    QFETCH(QStringList, expected);
    FolderModel model;
    model.setFolders(folders);
    QCOMPARE(tree(model), expected);
}

void TestFolderModel::paths()
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

void TestFolderModel::moves_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("two from b to c") << "C:/a/b"
                                     << "C:/a/c" << 2
                                     << QStringList { "C: ( 5 )", "  a ( 5 )", "    b ( 1 )",
                                            "    c ( 4 )", "D: ( 1 )", "  e ( 1 )" };
    QTest::newRow("all of b to c")
        << "C:/a/b"
        << "C:/a/c" << 3
        << QStringList { "C: ( 5 )", "  a ( 5 )", "    c ( 5 )", "D: ( 1 )", "  e ( 1 )" };
    QTest::newRow("the last of a drive")
        << "D:/e"
        << "C:/a/b" << 1 << QStringList { "C: ( 6 )", "  a ( 6 )", "    b ( 4 )", "    c ( 2 )" };
    QTest::newRow("reordered within b") << "C:/a/b"
                                        << "C:/a/b" << 3
                                        << QStringList { "C: ( 5 )", "  a ( 5 )", "    b ( 3 )",
                                               "    c ( 2 )", "D: ( 1 )", "  e ( 1 )" };
    QTest::newRow("unknown source") << "C:/x"
                                    << "C:/a/c" << 2
                                    << QStringList { "C: ( 7 )", "  a ( 7 )", "    b ( 3 )",
                                           "    c ( 4 )", "D: ( 1 )", "  e ( 1 )" };
    QTest::newRow("unknown destination")
        << "C:/a/c"
        << "C:/x" << 2
        << QStringList { "C: ( 3 )", "  a ( 3 )", "    b ( 3 )", "D: ( 1 )", "  e ( 1 )" };
    QTest::newRow("nothing moved") << "C:/a/b"
                                   << "C:/a/c" << 0
                                   << QStringList { "C: ( 5 )", "  a ( 5 )", "    b ( 3 )",
                                          "    c ( 2 )", "D: ( 1 )", "  e ( 1 )" };
}

void TestFolderModel::moves()
{
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(int, count);
    QFETCH(QStringList, expected);
    FolderModel model;
    model.setFolders(
        { { "C:/a/b", pictures(3) }, { "C:/a/c", pictures(2) }, { "D:/e", pictures(1) } });
    model.updateCounts(source, destination, count);
    QCOMPARE(tree(model), expected);
}

void TestFolderModel::rebuildReplacesTree()
{
    FolderModel model;
    model.setFolders({ { "C:/a/b", pictures(3) } });
    model.setFolders({ { "C:/a/b", pictures(1) } });
    QCOMPARE(tree(model), (QStringList { "C: ( 1 )", "  a ( 1 )", "    b ( 1 )" }));
}

QTEST_GUILESS_MAIN(TestFolderModel)
#include "tst_foldermodel.moc"
