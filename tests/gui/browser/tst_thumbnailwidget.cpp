#include "browser/thumbnaildelegate.h"
#include "browser/thumbnailmodel.h"
#include "browser/thumbnailview.h"
#include "browser/thumbnailwidget.h"
#include "browser/zoomwidget.h"
#include "gui/guitest.h"
#include "shell/lumerax.h"
#include "support/testindex.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDropEvent>
#include <QEnterEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QUrl>

using namespace veldra;
using namespace veldra::test;

// Receives the URLs the view asks the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

namespace {

// Folders "/photos/f00" ... with distinct thumbnail names in a widget whose
// viewport is 1000 pixels wide (grid 200, the least the slider takes).
struct Fixture
{
    Fixture(int folders, int perFolder)
    {
        content = pictures.grid(folders, perFolder, true);
        model.setThumbnails(content);
        widget.setModel(&model);
        view()->setZoomEnabled(false);
        view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        widget.resize(1000, 600);
        QVERIFY(exposed(&widget));
        QTest::qWait(20);
        QCoreApplication::processEvents();
    }

    ThumbnailView* view() { return widget.view(); }
    QWidget* viewport() { return widget.view()->viewport(); }
    QModelIndex folder(int row) const { return model.index(row, 0); }
    QModelIndex thumbnail(int folderRow, int row) const
    {
        return model.index(row, 0, model.index(folderRow, 0));
    }
    QString name(int folderRow, int row) const
    {
        return thumbnail(folderRow, row).data().toString();
    }
    QPoint centre(const QModelIndex& index) { return view()->visualRect(index).center(); }
    void click(const QModelIndex& index, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(viewport(), Qt::LeftButton, modifiers, centre(index));
    }
    QModelIndexList selected()
    {
        QModelIndexList list = view()->selectionModel()->selectedIndexes();
        std::sort(list.begin(), list.end());
        return list;
    }
    void select(const QList<int>& rows)
    {
        for (int row : rows)
            view()->selectionModel()->select(thumbnail(0, row), QItemSelectionModel::Select);
    }

    // Opens the context menu and returns its visible entries.
    QStringList openMenu()
    {
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, QPoint(50, 50), widget.mapToGlobal(QPoint(50, 50)));
        QCoreApplication::sendEvent(&widget, &event);
        QStringList entries;
        for (QAction* action : menu()->actions()) {
            if (action->isVisible())
                entries << action->text();
        }
        return entries;
    }
    QMenu* menu() { return widget.findChild<QMenu*>(); }
    void trigger(const QString& entry)
    {
        for (QAction* action : menu()->actions()) {
            if (action->text() == entry)
                action->trigger();
        }
        menu()->close();
    }

    Pictures pictures;
    QMap<QString, QStringList> content;
    ThumbnailModel model;
    ThumbnailWidget widget;
};

// A bare view for zoom overlays, by default on two pictures of 120 x 80 and
// 80 x 120.
struct ZoomFixture
{
    explicit ZoomFixture(QMap<QString, QStringList> content = {})
    {
        if (content.isEmpty())
            content = { { "/a", { pictures.add("a", 120, 80), pictures.add("b", 80, 120) } } };
        view.setItemDelegate(new ThumbnailDelegate(&view));
        view.setModel(&model);
        view.setZoomEnabled(false);
        view.resize(1000, 600);
        QVERIFY(exposed(&view));
        model.setThumbnails(content);
        QTest::qWait(20);
        view.doItemsLayout();
    }

    QModelIndex thumbnail(int row) const { return model.index(row, 0, model.index(0, 0)); }

    // An overlay as the hover check opens it, without the view's connections.
    QPointer<ZoomWidget> open(int row)
    {
        QPointer<ZoomWidget> zoom = new ZoomWidget(&view, thumbnail(row));
        zoom->show();
        return zoom;
    }

    Pictures pictures;
    ThumbnailModel model;
    ThumbnailView view;
};

void enter(QWidget* widget)
{
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(widget, &event);
}

void leave(QWidget* widget)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

// The thumbnail widget: menus, selection, wheel, keys, drops, saved settings,
// and the zoom overlay over its view.
class TestThumbnailWidget : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

private Q_SLOTS:
    void initTestCase()
    {
        // The grid and offset go to the per-user settings store.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QCoreApplication::setOrganizationName("VELDRA Test");
        QCoreApplication::setApplicationName("tst_thumbnailwidget");
    }

    void sliderAndViewFollowEachOther()
    {
        ThumbnailWidget widget;
        // Thumbnails are dragged and dropped between folders.
        QCOMPARE(widget.view()->dragDropMode(), QAbstractItemView::DragDrop);
        QSignalSpy changed(&widget, &ThumbnailWidget::gridChanged);
        QSlider* slider = widget.findChild<QSlider*>();
        QVERIFY(slider->isHidden());
        slider->setValue(260);
        QCOMPARE(widget.view()->gridSize(), 260);
        widget.setGridSize(280);
        QCOMPARE(slider->value(), 280);
        QCOMPARE(changed.size(), 2);
    }

    void contextMenuDependsOnTheSelection_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("none") << QList<int>() << QStringList();
        QTest::newRow("one") << QList<int> { 2 }
                             << QStringList { "Similar Files", "Remove File from Index" };
        QTest::newRow("two") << QList<int> { 0, 3 }
                             << QStringList { "Compare Files", "Remove Files from Index" };
        QTest::newRow("three") << QList<int> { 0, 1, 2 }
                               << QStringList { "Remove Files from Index" };
    }
    void contextMenuDependsOnTheSelection()
    {
        QFETCH(QList<int>, rows);
        QFETCH(QStringList, entries);
        Fixture f(2, 4);
        f.select(rows);
        QCOMPARE(f.openMenu(), entries);
        QCOMPARE(f.menu()->isVisible(), !rows.isEmpty());
        f.menu()->close();
    }

    void menuEntriesCarryTheNames()
    {
        Fixture f(2, 4);
        QSignalSpy similar(&f.widget, &ThumbnailWidget::findSimilar);
        QSignalSpy compare(&f.widget, &ThumbnailWidget::compareFiles);
        QSignalSpy removed(&f.widget, &ThumbnailWidget::removeFiles);
        f.select({ 1 });
        f.openMenu();
        f.trigger("Similar Files");
        QCOMPARE(similar, QList<QVariantList>({ { f.name(0, 1) } }));
        f.select({ 3 });
        f.openMenu();
        f.trigger("Compare Files");
        QCOMPARE(compare, QList<QVariantList>({ { QStringList { f.name(0, 1), f.name(0, 3) } } }));

        // Removal takes the selected rows out of the model.
        f.select({ 0 });
        const QStringList names { f.name(0, 0), f.name(0, 1), f.name(0, 3) };
        const QString kept = f.name(0, 2);
        f.openMenu();
        f.trigger("Remove Files from Index");
        QCOMPARE(f.model.rowCount(f.folder(0)), 1);
        QCOMPARE(f.name(0, 0), kept);
        QCOMPARE(removed, QList<QVariantList>({ { names } }));
    }

    void dropsAreForwardedAsMoveFiles()
    {
        Fixture f(2, 1);
        QSignalSpy moved(&f.widget, &ThumbnailWidget::moveFiles);
        std::unique_ptr<QMimeData> data(f.model.mimeData({ f.thumbnail(0, 0) }));
        f.model.dropMimeData(data.get(), Qt::MoveAction, -1, 0, f.folder(1));
        QCOMPARE(
            moved, QList<QVariantList>({ { "/photos/f01", 1, QStringList { f.name(0, 0) } } }));
    }

    void dropBesideTheViewIsIgnored()
    {
        Fixture f(1, 3);
        QMimeData data;
        data.setData("application/lumerax", QByteArray());
        // Drops reach the widget that took the drag's entry.
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&f.widget, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&f.widget, &drop);
        QCOMPARE(drop.dropAction(), Qt::IgnoreAction);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(f.model.rowCount(f.folder(0)), 3);
    }

    void pressingAnotherFolderReplacesTheSelection()
    {
        Fixture f(3, 4);
        f.click(f.thumbnail(0, 1));
        f.click(f.thumbnail(0, 2), Qt::ControlModifier);
        QCOMPARE(f.selected(), QModelIndexList({ f.thumbnail(0, 1), f.thumbnail(0, 2) }));
        f.click(f.thumbnail(1, 0), Qt::ControlModifier);
        QCOMPARE(f.selected(), QModelIndexList({ f.thumbnail(1, 0) }));
    }

    void shiftSelectsARangeInOneFolder_data()
    {
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("clicked");
        QTest::newRow("backwards, up and left") << 8 << 2;
        QTest::newRow("forwards, down and left") << 3 << 5;
        QTest::newRow("backwards, up and right") << 5 << 3;
    }
    void shiftSelectsARangeInOneFolder()
    {
        QFETCH(int, anchor);
        QFETCH(int, clicked);
        Fixture f(1, 12);
        f.click(f.thumbnail(0, anchor));
        f.click(f.thumbnail(0, clicked), Qt::ShiftModifier);
        QModelIndexList expected;
        for (int row = std::min(anchor, clicked); row <= std::max(anchor, clicked); ++row)
            expected << f.thumbnail(0, row);
        QCOMPARE(f.selected(), expected);
    }

    void rubberBandStaysInItsFolder()
    {
        Fixture f(2, 10);
        // Press in the gap left of folder 1's first picture, sweep over
        // folder 0, end on folder 1's second picture.
        const QRect first = f.view()->visualRect(f.thumbnail(1, 0));
        const QRect second = f.view()->visualRect(f.thumbnail(1, 1));
        const QPoint press(5, first.top() + 5);
        QTest::mousePress(f.viewport(), Qt::LeftButton, {}, press);
        QTest::mouseMove(f.viewport(), f.centre(f.thumbnail(0, 2)));
        const QPoint end(second.right() + 5, first.bottom() - 5);
        QTest::mouseMove(f.viewport(), end);
        QTest::mouseRelease(f.viewport(), Qt::LeftButton, {}, end);
        QCOMPARE(f.selected(), QModelIndexList({ f.thumbnail(1, 0), f.thumbnail(1, 1) }));
    }

    void headerClickScrollsItsFolderUp()
    {
        Fixture f(6, 10);
        const QRect header = f.view()->visualRect(f.folder(1));
        QSignalSpy clicked(&f.widget, &ThumbnailWidget::clicked);
        QTest::mouseClick(f.viewport(), Qt::LeftButton, {}, header.topLeft() + QPoint(300, 50));
        QCOMPARE(clicked.first().first().value<QModelIndex>(), f.folder(1));
        QTRY_COMPARE(f.view()->verticalScrollBar()->value(), header.top());
    }

    void openFolderBoxOpensTheFolder()
    {
        Fixture f(2, 3);
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        const QPoint box = f.view()->openFolderBox(f.folder(1)).center();
        QTest::mouseMove(f.viewport(), box);
        QTest::mouseClick(f.viewport(), Qt::LeftButton, {}, box);
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(catcher.urls, QList<QUrl> { QUrl::fromLocalFile("/photos/f01") });
        QTest::qWait(50);
        QCOMPARE(f.view()->verticalScrollBar()->value(), 0);
    }

    void ctrlWheelChangesTheGridByTheWheelLines()
    {
        Fixture f(2, 4);
        f.view()->setGridSize(250);
        const int saved = QApplication::wheelScrollLines();
        QList<int> grids;
        // Towards the user and away with 3 lines, away with 5, towards with 80.
        for (const auto& [delta, lines] :
            QList<QPair<int, int>>({ { -120, 3 }, { 120, 3 }, { 120, 5 }, { -120, 80 } })) {
            QApplication::setWheelScrollLines(lines);
            turnWheel(f.viewport(), delta, Qt::ControlModifier);
            grids << f.view()->gridSize();
        }
        QApplication::setWheelScrollLines(saved);
        QCOMPARE(grids, QList<int>({ 253, 250, 245, 300 }));
    }

    void quickWheelNotchesExtendOneAnimation()
    {
        Fixture f(10, 10);
        for (int notch = 0; notch < 3; ++notch) {
            turnWheel(f.viewport(), -120);
            QTest::qWait(30);
        }
        // One cell per notch, whatever the delta.
        const int cells = 3 * f.view()->gridSize();
        QTRY_COMPARE(f.view()->verticalScrollBar()->value(), cells);
        QTest::qWait(100);
        QCOMPARE(f.view()->verticalScrollBar()->value(), cells);
    }

    void keyboardMovesWithinTheFolder_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("right") << int(Qt::Key_Right) << 2 << 3;
        QTest::newRow("left at the start stays") << int(Qt::Key_Left) << 0 << 0;
        // Grid 200 in the widget: four columns.
        QTest::newRow("down a line") << int(Qt::Key_Down) << 1 << 5;
        QTest::newRow("down past the end stays") << int(Qt::Key_Down) << 6 << 6;
        QTest::newRow("up a line") << int(Qt::Key_Up) << 7 << 3;
    }
    void keyboardMovesWithinTheFolder()
    {
        QFETCH(int, key);
        QFETCH(int, from);
        QFETCH(int, to);
        Fixture f(2, 9);
        QCOMPARE(f.view()->columns(), 4);
        f.click(f.thumbnail(1, from));
        QTest::keyClick(f.view(), Qt::Key(key));
        QCOMPARE(f.view()->currentIndex(), f.thumbnail(1, to));
    }

    void settingsComeBackAfterARestart()
    {
        {
            Fixture f(30, 12);
            f.widget.setGridSize(240);
            QCoreApplication::processEvents();
            f.view()->verticalScrollBar()->setValue(3333);
            QCOMPARE(f.view()->verticalScrollBar()->value(), 3333);
            f.widget.saveSettings();
        }
        QCOMPARE(QSettings().value("ThumbnailWidgetGrid").toInt(), 240);

        Fixture f(30, 12);
        f.widget.restoreSettings();
        QCOMPARE(f.view()->gridSize(), 240);
        // The offset waits 10 ms for the layout of the new content.
        QCOMPARE(f.view()->verticalScrollBar()->value(), 0);
        QTRY_COMPARE(f.view()->verticalScrollBar()->value(), 3333);
    }

    void overlayCoversTheThumbnailZoomed()
    {
        ZoomFixture f;
        QPointer<ZoomWidget> zoom = f.open(0);
        const QRect item = f.view.visualRect(f.thumbnail(0));
        const QRect global(f.view.viewport()->mapToGlobal(item.topLeft()), item.size());
        QCOMPARE(zoom->size(), item.size() * 1.5);
        QCOMPARE(zoom->geometry().center(), global.center());
        zoom->close();
    }

    void closesWhenNotEnteredWithin100ms()
    {
        ZoomFixture f;
        QPointer<ZoomWidget> passed = f.open(0);
        QTest::qWait(60);
        QVERIFY(passed);
        QTRY_VERIFY_WITH_TIMEOUT(!passed, 300);

        QPointer<ZoomWidget> entered = f.open(1);
        enter(entered);
        QTest::qWait(200);
        QVERIFY(entered);
        entered->close();
    }

    void zoomsInThenSlidesTheButtonsIn()
    {
        ZoomFixture f;
        QPointer<ZoomWidget> zoom = f.open(0);
        enter(zoom);
        QTest::qWait(150);
        QVERIFY(zoom->scale() > 1.0 && zoom->scale() < 1.5);
        auto* button = zoom->findChild<QToolButton*>("m_similarButton");
        QVERIFY(button->parentWidget()->geometry().top() >= zoom->height()); // still hidden
        QTRY_COMPARE(zoom->scale(), 1.5);
        QTRY_VERIFY(button->parentWidget()->geometry().bottom() <= zoom->height());
        QVERIFY(!button->icon().isNull());
        // A press on the picture selects the thumbnail below.
        QTest::mouseClick(zoom, Qt::LeftButton, {}, zoom->rect().center());
        QCOMPARE(f.view.selectionModel()->selectedIndexes(), QModelIndexList { f.thumbnail(0) });
        zoom->close();
    }

    void leavingDuringZoomInReversesAndCloses()
    {
        ZoomFixture f;
        QPointer<ZoomWidget> zoom = f.open(0);
        enter(zoom);
        QTest::qWait(200);
        const double reached = zoom->scale();
        QVERIFY(reached > 1.0 && reached < 1.5);
        leave(zoom);
        QTest::qWait(60);
        QVERIFY(zoom);
        QVERIFY(zoom->scale() < reached);
        QTRY_VERIFY_WITH_TIMEOUT(!zoom, 1000);
    }

    void buttonsEmitAndClose()
    {
        ZoomFixture f;
        QPointer<ZoomWidget> zoom = f.open(1);
        enter(zoom);
        QSignalSpy similar(zoom.data(), &ZoomWidget::findSimilar);
        QTest::mouseClick(zoom->findChild<QToolButton*>("m_similarButton"), Qt::LeftButton);
        QCOMPARE(similar, QList<QVariantList>({ { f.thumbnail(1).data().toString() } }));
        QTRY_VERIFY(!zoom);

        TestIndex index;
        zoom = f.open(0);
        enter(zoom);
        QSignalSpy faces(zoom.data(), &ZoomWidget::recognizeFaces);
        QTest::mouseClick(zoom->findChild<QToolButton*>("m_faceButton"), Qt::LeftButton);
        QCOMPARE(faces.size(), 1);
        QTRY_VERIFY(!zoom);
        delete Lumerax::instance();
    }

    void dragFromTheOverlayStartsADrag()
    {
        ZoomFixture f;
        QPointer<ZoomWidget> zoom = f.open(0);
        enter(zoom);
        QSignalSpy drag(zoom.data(), &ZoomWidget::startDrag);
        const QPoint centre = zoom->rect().center();
        QTest::mousePress(zoom, Qt::LeftButton, {}, centre);
        QTest::mouseMove(zoom, centre + QPoint(2, 2));
        QCOMPARE(drag.size(), 0);
        QTest::mouseMove(zoom, centre + QPoint(QApplication::startDragDistance() + 5, 0));
        QCOMPARE(drag.size(), 1);
        QTRY_VERIFY(!zoom);
        QCOMPARE(f.view.selectionModel()->selectedIndexes(), QModelIndexList { f.thumbnail(0) });
    }

    void followsTheViewWhileItScrolls()
    {
        Pictures pictures;
        ZoomFixture f({ { "/a", QStringList(40, pictures.add("square", 100, 100)) } });
        f.view.setZoomEnabled(true);
        const QPoint centre = f.view.visualRect(f.thumbnail(12)).center();
        QTest::mouseMove(f.view.viewport(), centre);
        ZoomWidget* zoom = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* candidate = qobject_cast<ZoomWidget*>(widget);
            if (candidate && candidate->isVisible() && candidate->index().isValid())
                zoom = candidate;
        }
        QVERIFY(zoom);
        QCOMPARE(zoom->index(), f.thumbnail(12));
        QPointer<ZoomWidget> guard = zoom;
        enter(zoom);
        const QPoint before = zoom->geometry().center();
        f.view.verticalScrollBar()->setValue(60);
        f.view.viewport()->repaint();
        QCOMPARE(zoom->geometry().center(), before - QPoint(0, 60));
        // A model reset closes it.
        f.model.setThumbnails({});
        QTRY_VERIFY(!guard);
    }

    void sharperPictureReplacesTheThumbnailOnce()
    {
        TestIndex index;
        const QString source = index.path() + "/photo.png";
        QImage photo(1200, 800, QImage::Format_RGB32);
        photo.fill(Qt::darkCyan);
        QVERIFY(photo.save(source));
        Lumerax* controller = Lumerax::instance();
        controller->setSetting(ThumbnailSizeSetting, 250);
        QSignalSpy finished(controller, &Lumerax::indexFinished);
        controller->analyze({ source });
        QVERIFY(finished.wait(20000));
        const QMap<QString, QStringList> all = controller->listAll();
        QCOMPARE(all.size(), 1);

        ZoomFixture f(all);
        QPointer<ZoomWidget> zoom = f.open(0);
        enter(zoom);
        QVERIFY(!zoom->isSharpened());
        QTRY_VERIFY_WITH_TIMEOUT(zoom->isSharpened(), 5000);
        zoom->close();
        delete controller;
    }
};

QTEST_MAIN(TestThumbnailWidget)
#include "tst_thumbnailwidget.moc"
