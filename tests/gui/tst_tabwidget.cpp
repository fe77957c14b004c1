#include "foldermodel.h"
#include "gui/guitest.h"
#include "shell/lumerax.h"
#include "support/testindex.h"
#include "tabwidget.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QTreeView>

using namespace veldra;
using namespace veldra::test;

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

class TestTabWidget : public QObject
{
    Q_OBJECT

private:
    QString folder(const QString& name) const { return m_index->path() + "/" + name; }

    QString label(const TabWidget& tabs, const QString& path) const
    {
        QStandardItem* item = tabs.folderModel()->findFolder(path);
        return item ? item->index().data().toString() : QString();
    }

private Q_SLOTS:
    void init() { m_index = std::make_unique<TestIndex>(); }
    void cleanup() { m_index.reset(); }

    void modelLabels_data()
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

    void modelLabels()
    {
        QFETCH(Folders, folders);
        QFETCH(QString, expected);
        // A second tree replaces the first.
        FolderModel model;
        model.setFolders({ { "C:/a/b", pictures(3) }, { "/p/q", pictures(9) } });
        model.setFolders(folders);
        QCOMPARE(tree(model), expected);
    }

    void modelPaths()
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

    void modelMoves_data()
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

    void modelMoves()
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

    void tabs()
    {
        TabWidget tabs;
        QVERIFY(exposed(&tabs));
        QVERIFY(tabs.isFolderTabActive());
        QCOMPARE(tabs.descriptionLabel()->text(), QString("Indexed folders"));
        QVERIFY(tabs.folderView()->isVisible());
        QSignalSpy changed(&tabs, &TabWidget::tabChanged);

        QTest::mouseClick(tabs.optionsButton(), Qt::LeftButton);
        QCOMPARE(changed.size(), 1);
        QVERIFY(!tabs.isFolderTabActive());
        QCOMPARE(tabs.descriptionLabel()->text(), QString("Search through results again"));
        QVERIFY(tabs.colorSearchButton()->isVisible());

        // The tab already shown changes nothing.
        QTest::mouseClick(tabs.optionsButton(), Qt::LeftButton);
        tabs.setCurrentTab(TabWidget::OptionsTab);
        tabs.setCurrentTab(2);
        tabs.setCurrentTab(-1);
        QCOMPARE(changed.size(), 1);
        QVERIFY(tabs.optionsButton()->isChecked());

        tabs.setCurrentTab(TabWidget::FolderTab);
        QCOMPARE(changed.size(), 2);
        QVERIFY(tabs.folderButton()->isChecked());
        QCOMPARE(tabs.descriptionLabel()->text(), QString("Indexed folders"));
    }

    void folders()
    {
        TabWidget tabs;
        tabs.resize(300, 500);
        QVERIFY(exposed(&tabs));
        tabs.setFolders({ { "C:/a/b", { "1", "2", "3" } }, { "C:/a/c", { "4", "5" } } });
        QTreeView* view = tabs.folderView();
        const QModelIndex c = tabs.folderModel()->findFolder("C:/a/c")->index();
        QVERIFY(view->isExpanded(c.parent()));
        QVERIFY(view->isExpanded(c.parent().parent()));

        QSignalSpy clicked(&tabs, &TabWidget::folderClicked);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(c).center());
        QCOMPARE(clicked.size(), 1);
        const QModelIndex index = clicked[0][0].value<QModelIndex>();
        QCOMPARE(index.data(FolderModel::PathRole).toString(), QString("C:/a/c"));
        QCOMPARE(index.data().toString(), QString("c ( 2 )"));

        tabs.selectFolder("C:/a/b");
        QCOMPARE(view->currentIndex().data(FolderModel::PathRole).toString(), QString("C:/a/b"));
        QVERIFY(view->selectionModel()->isSelected(view->currentIndex()));
        tabs.selectFolder("C:/nowhere");
        QCOMPARE(view->currentIndex().data(FolderModel::PathRole).toString(), QString("C:/a/b"));
    }

    void moves()
    {
        const QStringList b = indexFolder(folder("b"), 3);
        const QStringList c = indexFolder(folder("c"), 2);
        TabWidget tabs;
        tabs.setFolders(Lumerax::instance()->listAll());
        const QString parent = QFileInfo(m_index->path()).fileName() + " ( 5 )";
        // The labels of b, c and their parent.
        const auto labels = [&] {
            return QStringList { label(tabs, folder("b")), label(tabs, folder("c")),
                label(tabs, m_index->path()) };
        };
        QCOMPARE(labels(), QStringList({ "b ( 3 )", "c ( 2 )", parent }));

        tabs.moveItems(folder("c"), 0, { b[0], b[1] });
        QCOMPARE(labels(), QStringList({ "b ( 1 )", "c ( 4 )", parent }));
        QVERIFY(QFile::exists(folder("c") + "/b0.png"));
        QCOMPARE(Lumerax::instance()->listAll().value(folder("c")).size(), 4);

        // Reordering inside a folder keeps it, however many pictures moved.
        tabs.moveItems(folder("c"), 1, { b[0], b[1], c[0], c[1] });
        QCOMPARE(labels(), QStringList({ "b ( 1 )", "c ( 4 )", parent }));

        // Nothing moves into a folder the index does not know, nor nothing.
        QDir().mkpath(folder("new"));
        tabs.moveItems(folder("new"), 0, { b[2] });
        tabs.moveItems(folder("c"), 0, {});
        QCOMPARE(labels(), QStringList({ "b ( 1 )", "c ( 4 )", parent }));

        // The last picture leaves: the folder disappears from the tree.
        tabs.moveItems(folder("c"), 4, { b[2] });
        QCOMPARE(labels(), QStringList({ "", "c ( 5 )", parent }));
    }

    void color()
    {
        TabWidget tabs;
        tabs.resize(300, 400);
        tabs.setCurrentTab(TabWidget::OptionsTab);
        QVERIFY(exposed(&tabs));
        for (const QColor& color : { QColor(Qt::black), QColor(Qt::white) }) {
            tabs.updateColor(color);
            const QImage image = rendered(tabs.moodSearchButton(), QColor(128, 0, 128));
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 40; x < image.width(); ++x)
                    count += std::abs(image.pixelColor(x, y).lightness() - color.lightness()) < 40;
            QVERIFY2(count > 10, qPrintable(color.name()));
        }
    }

private:
    std::unique_ptr<TestIndex> m_index;
};

QTEST_MAIN(TestTabWidget)
#include "tst_tabwidget.moc"
