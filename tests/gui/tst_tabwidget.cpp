#include "foldermodel.h"
#include "shell/lumerax.h"
#include "support/testindex.h"
#include "tabwidget.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

using namespace veldra;
using namespace veldra::test;

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

    void tabs()
    {
        TabWidget tabs;
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QVERIFY(tabs.isFolderTabActive());
        QCOMPARE(tabs.descriptionLabel()->text(), QString("Indexed folders"));
        QVERIFY(tabs.folderView()->isVisible());
        QSignalSpy changed(&tabs, &TabWidget::tabChanged);

        QTest::mouseClick(tabs.optionsButton(), Qt::LeftButton);
        QCOMPARE(changed.size(), 1);
        QVERIFY(!tabs.isFolderTabActive());
        QCOMPARE(tabs.descriptionLabel()->text(), QString("Search through results again"));
        QVERIFY(tabs.colorSearchButton()->isVisible());
        QCOMPARE(tabs.faceSearchButton()->text(), QString("Face search"));

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
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
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
        QCOMPARE(label(tabs, folder("b")), QString("b ( 3 )"));
        const QString parent = QFileInfo(m_index->path()).fileName();
        QCOMPARE(label(tabs, m_index->path()), parent + " ( 5 )");

        tabs.moveItems(folder("c"), 0, { b[0], b[1] });
        QCOMPARE(label(tabs, folder("b")), QString("b ( 1 )"));
        QCOMPARE(label(tabs, folder("c")), QString("c ( 4 )"));
        QCOMPARE(label(tabs, m_index->path()), parent + " ( 5 )");
        QVERIFY(QFile::exists(folder("c") + "/b0.png"));
        QCOMPARE(Lumerax::instance()->listAll().value(folder("c")).size(), 4);

        // Reordering inside a folder keeps it, however many pictures moved.
        tabs.moveItems(folder("c"), 1, { b[0], b[1], c[0], c[1] });
        QCOMPARE(label(tabs, folder("c")), QString("c ( 4 )"));

        // Nothing moves into a folder the index does not know: nothing changes.
        QDir().mkpath(folder("new"));
        tabs.moveItems(folder("new"), 0, { b[2] });
        QCOMPARE(label(tabs, folder("b")), QString("b ( 1 )"));
        tabs.moveItems(folder("c"), 0, {});
        QCOMPARE(label(tabs, folder("b")), QString("b ( 1 )"));

        // The last picture leaves: the folder disappears from the tree.
        tabs.moveItems(folder("c"), 4, { b[2] });
        QVERIFY(!tabs.folderModel()->findFolder(folder("b")));
        QCOMPARE(label(tabs, folder("c")), QString("c ( 5 )"));
        QCOMPARE(label(tabs, m_index->path()), parent + " ( 5 )");
    }

    void color()
    {
        TabWidget tabs;
        tabs.resize(300, 400);
        tabs.setCurrentTab(TabWidget::OptionsTab);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        for (const QColor& color : { QColor(Qt::black), QColor(Qt::white) }) {
            tabs.updateColor(color);
            QToolButton* button = tabs.moodSearchButton();
            QImage image(button->size(), QImage::Format_RGB32);
            image.fill(QColor(128, 0, 128));
            button->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
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
