#include "browser/thumbnailmodel.h"
#include "browser/thumbnailview.h"
#include "browser/thumbnailwidget.h"
#include "colorsearchpage.h"
#include "designslider.h"
#include "designsliderextra.h"
#include "foldermodel.h"
#include "gui/guitest.h"
#include "indexpage.h"
#include "moodsearchpage.h"
#include "palettewidget.h"
#include "sampleimagewidget.h"
#include "selectcolordialog.h"
#include "shell/lumerax.h"
#include "similarsearchpage.h"
#include "support/testindex.h"
#include "tabwidget.h"
#include "widgetbar.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QTreeView>

using namespace veldra;
using namespace veldra::test;

Q_DECLARE_METATYPE(QVector<QColor>)

class TestPages : public QObject
{
    Q_OBJECT

private:
    QString folder(const QString& name) const { return m_index->path() + "/" + name; }

    static QStringList shown(ThumbnailModel* model)
    {
        QStringList names;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex folder = model->index(row, 0);
            names << folder.data().toString();
            for (int i = 0; i < model->rowCount(folder); ++i)
                names << model->index(i, 0, folder).data().toString();
        }
        return names;
    }

    // The x where a slider's handle stands for value.
    static int positionOf(DesignSlider* slider, int value)
    {
        const int old = slider->value();
        const QSignalBlocker blocker(slider);
        slider->setValue(value);
        const int x = slider->handlePosition();
        slider->setValue(old);
        return x;
    }

private Q_SLOTS:
    void init()
    {
        m_index = std::make_unique<TestIndex>();
        Lumerax::instance()->setSetting(ThumbnailSizeSetting, 250);
    }
    void cleanup() { m_index.reset(); }

    void indexPage()
    {
        const QStringList a = indexFolder(folder("a"), 2);
        indexFolder(folder("b"), 1);
        IndexPage page;
        QCOMPARE(shown(page.model()),
            (QStringList {
                folder("a"), a[0], a[1], folder("b"), thumbnailPath(folder("b") + "/b0.png") }));

        QSignalSpy moves(&page, &IndexPage::moveItems);
        Q_EMIT page.model()->moveItems(folder("b"), 1, { a[0] });
        QCOMPARE(moves, QList<QVariantList>({ { folder("b"), 1, QStringList { a[0] } } }));

        QSignalSpy similar(&page, &IndexPage::findSimilarImages);
        QSignalSpy faces(&page, &IndexPage::recognizeFaces);
        Q_EMIT page.thumbnailWidget()->findSimilar(a[1]);
        Q_EMIT page.thumbnailWidget()->recognizeFaces(a[0]);
        QCOMPARE(similar, QList<QVariantList>({ { a[1] } }));
        QCOMPARE(faces, QList<QVariantList>({ { a[0] } }));

        page.setThumbnails({ { folder("z"), { a[0] } } });
        QCOMPARE(shown(page.model()), (QStringList { folder("z"), a[0] }));
    }

    void folderClickScrollsIndex()
    {
        indexFolder(folder("one"), 12);
        indexFolder(folder("two"), 12);
        indexFolder(folder("two words"), 3);
        indexFolder(folder("two/deeper"), 12);
        indexFolder(folder("three"), 12);

        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* tabs = new TabWidget(&window);
        auto* page = new IndexPage(&window);
        layout->addWidget(tabs);
        layout->addWidget(page, 1);
        connect(tabs, &TabWidget::folderClicked, page, [page](const QModelIndex& index) {
            page->scrollToFolder(index.data(FolderModel::PathRole).toString());
        });
        tabs->setFolders(Lumerax::instance()->listAll());
        window.resize(900, 400);
        QVERIFY(exposed(&window));
        ThumbnailView* view = page->thumbnailWidget()->view();
        view->setGridSize(view->minimumGridSize());
        QVERIFY(view->verticalScrollBar()->maximum() > 0);

        // Clicking "two" brings the section of that very folder to the top, not
        // "two words", which sorts before "two/deeper".
        QTreeView* tree = tabs->folderView();
        const QModelIndex two = tabs->folderModel()->findFolder(folder("two"))->index();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(two).center());
        const QModelIndex section = page->model()->index(2, 0);
        QCOMPARE(section.data().toString(), folder("two"));
        QTRY_COMPARE(view->visualRect(section).top(), 0);

        // A folder without pictures of its own scrolls to the first one below it.
        page->scrollToFolder(m_index->path());
        QTRY_COMPARE(view->verticalScrollBar()->value(), 0);
        page->scrollToFolder(folder("nowhere"));
        QTest::qWait(50);
        QCOMPARE(view->verticalScrollBar()->value(), 0);
    }

    void similarPage()
    {
        const QStringList a = indexFolder(folder("a"), 3);
        SimilarSearchPage page;
        QVERIFY(!page.resultView()->view()->headersVisible());
        QSignalSpy start(&page, &SimilarSearchPage::startSearch);
        QSignalSpy finished(&page, &SimilarSearchPage::searchFinished);

        // The search and the sample are the source picture of the thumbnail.
        page.findSimilarImages(a[0]);
        QCOMPARE(start, QList<QVariantList>({ { folder("a") + "/a0.png" } }));
        QCOMPARE(page.sampleImageWidget()->fileName(), folder("a") + "/a0.png");
        QVERIFY(!page.sampleImageWidget()->imageLabel()->pixmap().isNull());

        page.finished({ a[1], a[2] });
        QCOMPARE(finished.size(), 1);
        QCOMPARE(shown(page.model()), (QStringList { "Similarity search result", a[1], a[2] }));

        // Similar pictures of a result: that result is the new sample.
        Q_EMIT page.resultView()->findSimilar(a[2]);
        QCOMPARE(start.last(), QVariantList { folder("a") + "/a2.png" });
        QCOMPARE(page.sampleImageWidget()->fileName(), folder("a") + "/a2.png");

        // A thumbnail the index does not know still searches, without a picture.
        page.findSimilarImages("/nowhere/0123.png");
        QCOMPARE(start.size(), 3);
        QVERIFY(page.sampleImageWidget()->imageLabel()->pixmap().isNull());
    }

    void colorPage()
    {
        const QStringList a = indexFolder(folder("a"), 2);
        ColorSearchPage page;
        page.resize(800, 600);
        QVERIFY(exposed(&page));
        QVERIFY(!page.resultView()->view()->headersVisible());
        QSignalSpy start(&page, &ColorSearchPage::startSearch);
        QSignalSpy similar(&page, &ColorSearchPage::findSimilarImages);

        PaletteWidget* palette = page.selectColorWidget()->paletteWidget();
        const QPoint red(8, 17 * 4 + 8);
        QTest::mouseClick(palette, Qt::LeftButton, {}, red);
        QTest::mouseClick(palette, Qt::LeftButton, {}, red);
        QCOMPARE(start.size(), 2);
        QCOMPARE(start[1][0].value<QVector<QColor>>(), (QVector<QColor> { Qt::red, Qt::red }));

        page.finished({ a[0], a[1] });
        QCOMPARE(shown(page.model()), (QStringList { "Color search result", a[0], a[1] }));

        // Clearing empties the results and searches nothing.
        QTest::mouseClick(page.selectColorWidget()->clearButton(), Qt::LeftButton);
        QCOMPARE(start.size(), 2);
        QCOMPARE(page.model()->rowCount(), 0);

        Q_EMIT page.resultView()->findSimilar(a[1]);
        QCOMPARE(similar.size(), 1);

        // The panel picture covers the colour choice at its current size.
        page.resize(1000, 700);
        QTRY_COMPARE(page.selectColorWidget()->palette().brush(QPalette::Window).texture().size(),
            page.selectColorWidget()->size());
    }

    void moodPage()
    {
        MoodSearchPage page;
        page.resize(900, 600);
        QVERIFY(exposed(&page));
        DesignSliderExtra* image = page.imageMoodSlider();
        DesignSliderExtra* color = page.colorMoodSlider();
        DesignSliderExtra* balance = page.balanceMoodSlider();
        QCOMPARE(QList<int>({ image->minimum(), image->value(), image->maximum(), color->minimum(),
                     color->value(), balance->value() }),
            QList<int>({ 0, 50, 100, -100, 0, 50 }));
        QCOMPARE(balance->text(DesignSliderExtra::LeftText), QString("50 %"));
        QVERIFY(image->slider()->width() > 300);
        QSignalSpy start(&page, &MoodSearchPage::startSearch);

        DesignSlider* slider = balance->slider();
        const int y = slider->pictureRect().center().y();
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(positionOf(slider, 30), y));
        QCOMPARE(balance->value(), 30);
        QCOMPARE(balance->text(DesignSliderExtra::LeftText), QString("30 %"));
        QCOMPARE(balance->text(DesignSliderExtra::RightText), QString("70 %"));
        QCOMPARE(start.size(), 1);
        QCOMPARE(start[0], (QVariantList { 0, 50, 30 }));

        // The colour slider's left end is -100.
        DesignSlider* temperature = color->slider();
        QTest::mouseClick(temperature, Qt::LeftButton, {},
            QPoint(temperature->pictureRect().left(), temperature->pictureRect().center().y()));
        QCOMPARE(color->value(), -100);
        QCOMPARE(start.last(), (QVariantList { -100, 50, 30 }));

        page.finished({});
        QCOMPARE(shown(page.model()), QStringList());
    }

    void searchBarFolds()
    {
        MoodSearchPage page;
        page.resize(800, 700);
        QVERIFY(exposed(&page));
        QWidget* input = page.designSlidersWidget();
        const int resultTop = page.resultBar()->y();

        QTest::mouseClick(page.searchBar(), Qt::LeftButton, {}, QPoint(40, 10));
        QVERIFY(page.searchBar()->toggleButton()->isChecked());
        QTRY_VERIFY(input->isHidden());
        QTRY_VERIFY(page.resultBar()->y() < resultTop);

        QTest::mouseClick(page.searchBar(), Qt::LeftButton, {}, QPoint(40, 10));
        QVERIFY(!page.searchBar()->toggleButton()->isChecked());
        QTRY_VERIFY(input->isVisible());
        QTRY_COMPARE(page.resultBar()->y(), resultTop);
    }

private:
    std::unique_ptr<TestIndex> m_index;
};

QTEST_MAIN(TestPages)
#include "tst_pages.moc"
