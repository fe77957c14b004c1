#include "browser/thumbnailmodel.h"
#include "browser/thumbnailview.h"
#include "browser/thumbnailwidget.h"
#include "browsertestdata.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

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
        const QString picture = pictures.add("square", 100, 100);
        for (int f = 0; f < folders; ++f) {
            QStringList names;
            for (int i = 0; i < perFolder; ++i)
                names << picture + QStringLiteral("?%1_%2").arg(f).arg(i);
            content.insert(QStringLiteral("/photos/f%1").arg(f, 2, 10, QLatin1Char('0')), names);
        }
        model.setThumbnails(content);
        widget.setModel(&model);
        view()->setZoomEnabled(false);
        view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        widget.resize(1000, 600);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
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
    QPoint centre(const QModelIndex& index) { return view()->visualRect(index).center(); }
    QModelIndexList selected()
    {
        QModelIndexList list = view()->selectionModel()->selectedIndexes();
        std::sort(list.begin(), list.end());
        return list;
    }
    QStringList names(int folderRow)
    {
        QStringList list;
        for (int row = 0; row < model.rowCount(folder(folderRow)); ++row)
            list << thumbnail(folderRow, row).data().toString();
        return list;
    }

    Pictures pictures;
    QMap<QString, QStringList> content;
    ThumbnailModel model;
    ThumbnailWidget widget;
};

} // namespace

class TestThumbnailInteraction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pressingAnotherFolderReplacesTheSelection()
    {
        Fixture f(3, 4);
        QTest::mouseClick(f.viewport(), Qt::LeftButton, {}, f.centre(f.thumbnail(0, 1)));
        QTest::mouseClick(
            f.viewport(), Qt::LeftButton, Qt::ControlModifier, f.centre(f.thumbnail(0, 2)));
        QCOMPARE(f.selected(), QModelIndexList({ f.thumbnail(0, 1), f.thumbnail(0, 2) }));
        QTest::mouseClick(
            f.viewport(), Qt::LeftButton, Qt::ControlModifier, f.centre(f.thumbnail(1, 0)));
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
        QTest::mouseClick(f.viewport(), Qt::LeftButton, {}, f.centre(f.thumbnail(0, anchor)));
        QTest::mouseClick(
            f.viewport(), Qt::LeftButton, Qt::ShiftModifier, f.centre(f.thumbnail(0, clicked)));
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

    void ctrlWheelChangesTheGridByTheWheelLines_data()
    {
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("expected");
        QTest::newRow("towards the user, 3 lines") << -120 << 3 << 253;
        QTest::newRow("away from the user, 3 lines") << 120 << 3 << 247;
        QTest::newRow("away, 5 lines") << 120 << 5 << 245;
        QTest::newRow("clamped at 300") << -120 << 80 << 300;
    }
    void ctrlWheelChangesTheGridByTheWheelLines()
    {
        QFETCH(int, delta);
        QFETCH(int, lines);
        QFETCH(int, expected);
        Fixture f(2, 4);
        f.view()->setGridSize(250);
        const int saved = QApplication::wheelScrollLines();
        QApplication::setWheelScrollLines(lines);
        const QPoint at(500, 300);
        QWheelEvent wheel(at, f.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
            Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f.viewport(), &wheel);
        QApplication::setWheelScrollLines(saved);
        QCOMPARE(f.view()->gridSize(), expected);
    }

    void quickWheelNotchesExtendOneAnimation()
    {
        Fixture f(10, 10);
        const QPoint at(500, 300);
        for (int notch = 0; notch < 3; ++notch) {
            QWheelEvent wheel(at, f.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(f.viewport(), &wheel);
            QTest::qWait(30);
        }
        // One cell per notch, whatever the delta.
        const int cells = 3 * f.view()->gridSize();
        QTRY_COMPARE(f.view()->verticalScrollBar()->value(), cells);
        QTest::qWait(100);
        QCOMPARE(f.view()->verticalScrollBar()->value(), cells);
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
        QTest::mouseClick(f.viewport(), Qt::LeftButton, {}, f.centre(f.thumbnail(1, from)));
        QTest::keyClick(f.view(), Qt::Key(key));
        QCOMPARE(f.view()->currentIndex(), f.thumbnail(1, to));
    }
};

QTEST_MAIN(TestThumbnailInteraction)
#include "tst_thumbnailinteraction.moc"
