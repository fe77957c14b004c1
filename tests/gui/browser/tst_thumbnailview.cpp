#include "browser/thumbnaildelegate.h"
#include "browser/thumbnailmodel.h"
#include "browser/thumbnailview.h"
#include "gui/guitest.h"

#include <QItemSelectionModel>
#include <QPixmapCache>
#include <QScrollBar>
#include <QSignalSpy>

using namespace veldra;
using namespace veldra::test;

namespace {

// A view whose viewport is exactly width x height pixels.
struct Fixture
{
    explicit Fixture(int width = 1000, int height = 600)
    {
        view.setItemDelegate(new ThumbnailDelegate(&view));
        view.setFrameShape(QFrame::NoFrame);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setModel(&model);
        view.resize(width, height);
        QVERIFY(exposed(&view));
    }

    void set(const QMap<QString, QStringList>& content)
    {
        model.setThumbnails(content);
        // A reset scrolls to the top 10 ms later.
        QTest::qWait(20);
        layout();
    }
    void layout()
    {
        // The view lays out on the next turn of the event loop.
        QCoreApplication::processEvents();
        view.doItemsLayout();
    }
    QModelIndex folder(int row) const { return model.index(row, 0); }
    QModelIndex thumbnail(int folderRow, int row) const
    {
        return model.index(row, 0, model.index(folderRow, 0));
    }
    QImage grab() { return view.viewport()->grab().toImage(); }
    void setGrid(int folders, int perFolder) { set(pictures.grid(folders, perFolder)); }

    Pictures pictures;
    ThumbnailModel model;
    ThumbnailView view;
};

} // namespace

class TestThumbnailView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columnsSpreadTheLeftoverWidth_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("extraSpacing");
        QTest::newRow("narrower than one cell") << 100 << 1 << 0;
        QTest::newRow("exactly one cell") << 180 << 1 << 0;
        QTest::newRow("two cells, nothing left") << 345 << 2 << 0;
        QTest::newRow("two cells and 55 left") << 400 << 2 << 55;
        QTest::newRow("five cells") << 1000 << 5 << 40;
    }
    void columnsSpreadTheLeftoverWidth()
    {
        QFETCH(int, width);
        QFETCH(int, columns);
        QFETCH(int, extraSpacing);
        Fixture f(width);
        QCOMPARE(f.view.columns(), columns);
        QCOMPARE(f.view.extraSpacing(), extraSpacing);
    }

    void itemRectanglesFollowTheGrid_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("row");
        QTest::addColumn<QRect>("rect");
        // Grid 150, spacing 15, five columns with 40 extra pixels between them.
        QTest::newRow("first, enlarged") << QSize(100, 100) << 0 << QRect(15, 95, 150, 150);
        QTest::newRow("second line, second column")
            << QSize(100, 100) << 6 << QRect(220, 260, 150, 150);
        QTest::newRow("panorama letterboxed") << QSize(300, 100) << 0 << QRect(15, 145, 150, 50);
        QTest::newRow("portrait pillarboxed") << QSize(50, 100) << 4 << QRect(872, 95, 75, 150);
        QTest::newRow("larger than the cell") << QSize(600, 400) << 1 << QRect(220, 120, 150, 100);
    }
    void itemRectanglesFollowTheGrid()
    {
        QFETCH(QSize, picture);
        QFETCH(int, row);
        QFETCH(QRect, rect);
        Fixture f;
        f.set({ { "/a", QStringList(9, f.pictures.add("p", picture.width(), picture.height())) } });
        QCOMPARE(f.view.visualRect(f.thumbnail(0, row)), rect);
        QCOMPARE(f.view.visualRect(f.folder(0)), QRect(0, 0, 1000, 80));
    }

    void emptyFolderKeepsHeaderAndOneSpacing()
    {
        Fixture f;
        f.setGrid(4, 6); // two lines each: 80 + 300 + 45
        QCOMPARE(f.view.verticalScrollBar()->maximum(), 4 * 425 - 600);
        f.setGrid(3, 3);
        QVERIFY(f.model.removeRows(0, 3, f.folder(1)));
        f.layout();
        // Sections: 80 + 150 + 2 * 15 = 260 for one line, 80 + 15 when empty.
        QCOMPARE(f.view.visualRect(f.folder(1)).top(), 260);
        QCOMPARE(f.view.visualRect(f.folder(2)).top(), 260 + 95);
        QCOMPARE(f.view.indexAt(QPoint(500, 260 + 85)), QModelIndex());
        QCOMPARE(f.view.verticalScrollBar()->maximum(), 260 + 95 + 260 - 600);
    }

    void hiddenHeadersTakeNoRoom()
    {
        Fixture f;
        f.setGrid(2, 7);
        f.view.setHeadersVisible(false);
        f.layout();
        QCOMPARE(f.view.headerHeight(), 0);
        QCOMPARE(f.view.visualRect(f.thumbnail(0, 0)).top(), 15);
        // Two lines: 2 * 150 + 3 * 15.
        QCOMPARE(f.view.visualRect(f.thumbnail(1, 0)).top(), 345 + 15);

        const QImage image = f.grab();
        const QRgb background = image.pixel(999, 5);
        for (int x = 0; x < 1000; ++x)
            QCOMPARE(image.pixel(x, 5), background); // no title, no box, no count

        f.view.setHeadersVisible(true);
        f.layout();
        QCOMPARE(f.view.visualRect(f.thumbnail(0, 0)).top(), 95);
    }

    void indexAtHitsPicturesOnly_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("folder");
        QTest::addColumn<int>("row"); // -1: the folder, -2: nothing
        QTest::newRow("header, far right") << QPoint(990, 40) << 0 << -1;
        QTest::newRow("header's last line") << QPoint(3, 80) << 0 << -1;
        QTest::newRow("spacing left of the grid") << QPoint(5, 150) << 0 << -2;
        QTest::newRow("letterbox above the picture") << QPoint(90, 100) << 0 << -2;
        QTest::newRow("picture") << QPoint(90, 170) << 0 << 0;
        QTest::newRow("gap between columns") << QPoint(190, 170) << 0 << -2;
        QTest::newRow("third column") << QPoint(430, 170) << 0 << 2;
        QTest::newRow("beyond the last picture") << QPoint(850, 335) << 0 << -2;
        QTest::newRow("second line") << QPoint(30, 335) << 0 << 5;
        QTest::newRow("next section's header") << QPoint(30, 440) << 1 << -1;
    }
    void indexAtHitsPicturesOnly()
    {
        QFETCH(QPoint, point);
        QFETCH(int, folder);
        QFETCH(int, row);
        Fixture f;
        const QString panorama = f.pictures.add("pano", 300, 100);
        f.set({ { "/a", QStringList(9, panorama) }, { "/b", QStringList(2, panorama) } });
        const QModelIndex expected
            = row == -1 ? f.folder(folder) : (row == -2 ? QModelIndex() : f.thumbnail(folder, row));
        QCOMPARE(f.view.indexAt(point), expected);
    }

    void gridSizeIsClamped()
    {
        // From 150 to between 200 and 300; only a change is reported.
        Fixture f;
        QSignalSpy changed(&f.view, &ThumbnailView::gridChanged);
        for (int value : { 150, 1000, 10, 250, 250 })
            f.view.setGridSize(value);
        QCOMPARE(changed, QList<QVariantList>({ { 300 }, { 200 }, { 250 } }));
        QCOMPARE(f.view.gridSize(), 250);
    }

    void gridChangeKeepsThePlaceInTheSection_data()
    {
        QTest::addColumn<int>("gridSize");
        QTest::addColumn<bool>("painted");
        QTest::newRow("250 after a paint") << 250 << true;
        QTest::newRow("200 before any paint") << 200 << false;
        QTest::newRow("300 after a paint") << 300 << true;
    }
    void gridChangeKeepsThePlaceInTheSection()
    {
        QFETCH(int, gridSize);
        QFETCH(bool, painted);
        Fixture f;
        f.setGrid(30, 13);
        const int top = f.view.visualRect(f.folder(10)).top();
        f.view.verticalScrollBar()->setValue(top + 100);
        if (painted)
            f.grab();
        const int columns = f.view.columns();
        f.view.setGridSize(gridSize);
        f.layout();
        QVERIFY(f.view.columns() != columns);
        QCOMPARE(f.view.visualRect(f.folder(10)).top(), -100);
    }

    void longJumpsAreImmediate_data()
    {
        QTest::addColumn<int>("folder");
        QTest::addColumn<bool>("immediate");
        QTest::newRow("near: animated") << 3 << false;
        QTest::newRow("far: jump") << 150 << true;
    }
    void longJumpsAreImmediate()
    {
        QFETCH(int, folder);
        QFETCH(bool, immediate);
        Fixture f;
        f.setGrid(200, 20);
        const int target = f.view.visualRect(f.folder(folder)).top();
        f.view.scrollTo(f.folder(folder), QAbstractItemView::PositionAtTop);
        QCOMPARE(f.view.verticalScrollBar()->value() == target, immediate);
        QTRY_COMPARE(f.view.verticalScrollBar()->value(), target);
    }

    void ensureVisibleScrollsOnlyAsFarAsNeeded()
    {
        Fixture f;
        f.setGrid(3, 20);
        // Row 15 lies on the fourth line: top 95 + 3 * 165 = 590, bottom 739.
        f.view.scrollTo(f.thumbnail(0, 15));
        QTRY_COMPARE(f.view.verticalScrollBar()->value(), 140);
        f.view.scrollTo(f.thumbnail(0, 16)); // now visible: no movement
        QTest::qWait(50);
        QCOMPARE(f.view.verticalScrollBar()->value(), 140);
    }

    void picturesLoadWhenFirstPainted()
    {
        Pictures pictures;
        QMap<QString, QStringList> content;
        for (int folder = 0; folder < 40; ++folder) {
            QStringList names;
            for (int i = 0; i < 5; ++i)
                names << pictures.add(QStringLiteral("p%1_%2").arg(folder).arg(i), 8, 8);
            content.insert(QStringLiteral("/f%1").arg(folder, 2, 10, QLatin1Char('0')), names);
        }
        QPixmapCache::clear();
        Fixture f;
        f.set(content);
        f.grab();
        QPixmap pixmap;
        // Only what was painted is loaded.
        QVERIFY(QPixmapCache::find(content.first().first(), &pixmap));
        QVERIFY(!QPixmapCache::find(content.last().first(), &pixmap));
        QVERIFY(!QPixmapCache::find(content[QStringLiteral("/f05")].first(), &pixmap));
        f.view.verticalScrollBar()->setValue(f.view.verticalScrollBar()->maximum());
        f.grab();
        QVERIFY(QPixmapCache::find(content.last().first(), &pixmap));
        QVERIFY(!QPixmapCache::find(content[QStringLiteral("/f05")].first(), &pixmap));
    }

    void selectedThumbnailHasRedAndWhiteFrame()
    {
        Fixture f;
        f.setGrid(1, 3);
        f.view.selectionModel()->select(f.thumbnail(0, 1), QItemSelectionModel::Select);
        const QImage image = f.grab();
        const QRect selected = f.view.visualRect(f.thumbnail(0, 1));
        const QRect plain = f.view.visualRect(f.thumbnail(0, 0));
        // The open-folder box, not hovered, is dark green.
        QList<QColor> colours;
        for (const QPoint& p :
            { selected.topLeft(), selected.bottomRight(), selected.topLeft() + QPoint(1, 1),
                selected.center(), plain.topLeft(), QPoint(10, 10) })
            colours << image.pixelColor(p);
        QCOMPARE(colours,
            QList<QColor>({ Qt::red, Qt::red, Qt::white, Qt::blue, Qt::blue, Qt::darkGreen }));
        QCOMPARE(f.view.openFolderBox(f.folder(0)), QRect(10, 10, 16, 16));
    }

    void resetScrollsToTheTop()
    {
        Fixture f;
        f.setGrid(20, 10);
        f.view.verticalScrollBar()->setValue(2000);
        f.model.setThumbnails(f.pictures.grid(20, 11));
        QTRY_COMPARE(f.view.verticalScrollBar()->value(), 0);
    }
};

QTEST_MAIN(TestThumbnailView)
#include "tst_thumbnailview.moc"
