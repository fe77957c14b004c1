#include "browser/thumbnaildelegate.h"
#include "browser/thumbnailmodel.h"
#include "browser/thumbnailview.h"
#include "browser/thumbnailwidget.h"
#include "browsertestdata.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardPaths>
#include <QTest>

using namespace veldra;
using namespace veldra::test;

namespace {

QStringList visibleEntries(ThumbnailWidget& widget)
{
    QStringList entries;
    const QMenu* menu = widget.findChild<QMenu*>();
    for (QAction* action : menu->actions()) {
        if (action->isVisible())
            entries << action->text();
    }
    return entries;
}

QAction* entry(ThumbnailWidget& widget, const QString& text)
{
    for (QAction* action : widget.findChild<QMenu*>()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class TestThumbnailWidget : public QObject
{
    Q_OBJECT

private:
    Pictures m_pictures;
    QTemporaryDir m_config;

    void fill(ThumbnailWidget& widget, ThumbnailModel& model)
    {
        const QString a = m_pictures.add("a", 60, 40);
        const QString b = m_pictures.add("b", 40, 60);
        model.setThumbnails({ { "/one", { a, b, a, b } }, { "/two", { b, a } } });
        widget.setModel(&model);
        widget.resize(900, 600);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QCoreApplication::processEvents();
    }

    void select(ThumbnailWidget& widget, ThumbnailModel& model, const QList<int>& rows)
    {
        for (int row : rows)
            widget.view()->selectionModel()->select(
                model.index(row, 0, model.index(0, 0)), QItemSelectionModel::Select);
    }

    void openMenu(ThumbnailWidget& widget)
    {
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, QPoint(50, 50), widget.mapToGlobal(QPoint(50, 50)));
        QCoreApplication::sendEvent(&widget, &event);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The grid and offset go to the per-user settings store.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QCoreApplication::setOrganizationName("VELDRA Test");
        QCoreApplication::setApplicationName("tst_thumbnailwidget");
    }

    void viewIsSetUpForThisApplication()
    {
        ThumbnailWidget widget;
        ThumbnailView* view = widget.view();
        QVERIFY(view->hasMouseTracking());
        QCOMPARE(view->dragDropMode(), QAbstractItemView::DragDrop);
        QVERIFY(view->dragEnabled());
        QVERIFY(view->acceptDrops());
        QVERIFY(view->showDropIndicator());
        QVERIFY(qobject_cast<ThumbnailDelegate*>(view->itemDelegate()));
        QVERIFY(!view->hasAutoScroll());
        QCOMPARE(view->contextMenuPolicy(), Qt::NoContextMenu);
        QCOMPARE(view->frameShape(), QFrame::NoFrame);
        QCOMPARE(view->selectionMode(), QAbstractItemView::ExtendedSelection);

        const QSlider* slider = widget.findChild<QSlider*>();
        QVERIFY(slider);
        QVERIFY(slider->isHidden());
        QCOMPARE(slider->minimum(), 200);
        QCOMPARE(slider->maximum(), 300);
    }

    void sliderAndViewFollowEachOther()
    {
        ThumbnailWidget widget;
        QSignalSpy changed(&widget, &ThumbnailWidget::gridChanged);
        QSlider* slider = widget.findChild<QSlider*>();
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
        ThumbnailWidget widget;
        ThumbnailModel model;
        fill(widget, model);
        select(widget, model, rows);
        openMenu(widget);
        QCOMPARE(visibleEntries(widget), entries);
        QMenu* menu = widget.findChild<QMenu*>();
        QCOMPARE(menu->isVisible(), !rows.isEmpty());
        menu->close();
    }

    void similarAndCompareCarryTheNames()
    {
        ThumbnailWidget widget;
        ThumbnailModel model;
        fill(widget, model);
        QSignalSpy similar(&widget, &ThumbnailWidget::findSimilar);
        QSignalSpy compare(&widget, &ThumbnailWidget::compareFiles);
        const QModelIndex one = model.index(0, 0);

        select(widget, model, { 1 });
        openMenu(widget);
        entry(widget, "Similar Files")->trigger();
        QCOMPARE(similar.size(), 1);
        QCOMPARE(similar.first().first().toString(), model.index(1, 0, one).data().toString());

        select(widget, model, { 3 });
        openMenu(widget);
        entry(widget, "Compare Files")->trigger();
        QCOMPARE(compare.size(), 1);
        QCOMPARE(compare.first().first().toStringList(),
            QStringList({ model.index(1, 0, one).data().toString(),
                model.index(3, 0, one).data().toString() }));
        widget.findChild<QMenu*>()->close();
    }

    void removalTakesTheSelectedRowsOut()
    {
        ThumbnailWidget widget;
        ThumbnailModel model;
        fill(widget, model);
        const QModelIndex one = model.index(0, 0);
        // Rows 0 1 2 3 hold a b a b; mark them apart first.
        for (int row = 0; row < 4; ++row)
            model.setData(
                model.index(row, 0, one), QStringLiteral("n%1").arg(row), Qt::DisplayRole);
        QSignalSpy removed(&widget, &ThumbnailWidget::removeFiles);
        select(widget, model, { 3, 0, 2 });
        openMenu(widget);
        entry(widget, "Remove Files from Index")->trigger();
        QCOMPARE(model.rowCount(one), 1);
        QCOMPARE(model.index(0, 0, one).data().toString(), QString("n1"));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.first().first().toStringList(), QStringList({ "n0", "n2", "n3" }));
        widget.findChild<QMenu*>()->close();
    }

    void dropsAreForwardedAsMoveFiles()
    {
        ThumbnailWidget widget;
        ThumbnailModel model;
        widget.setModel(&model);
        model.setThumbnails({ { "/one", { "x" } } });
        QSignalSpy moved(&widget, &ThumbnailWidget::moveFiles);
        std::unique_ptr<QMimeData> data(model.mimeData({ model.index(0, 0, model.index(0, 0)) }));
        model.dropMimeData(data.get(), Qt::MoveAction, -1, 0, model.index(0, 0));
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved.first().at(0).toString(), QString("/one"));
        QCOMPARE(moved.first().at(1).toInt(), 1);
    }

    void delegateSizeHint()
    {
        ThumbnailModel model;
        const QString a = m_pictures.add("hint", 64, 48);
        model.setThumbnails({ { "/one", { a } } });
        ThumbnailDelegate delegate;
        QStyleOptionViewItem option;
        QVERIFY(!delegate.sizeHint(option, model.index(0, 0)).isValid());
        QCOMPARE(delegate.sizeHint(option, model.index(0, 0, model.index(0, 0))), QSize(64, 48));
    }

    void settingsComeBackAfterARestart()
    {
        QMap<QString, QStringList> content = m_pictures.grid(30, 12);
        int offset = 0;
        {
            ThumbnailWidget widget;
            ThumbnailModel model;
            model.setThumbnails(content);
            fill(widget, model);
            model.setThumbnails(content);
            QCoreApplication::processEvents();
            widget.setGridSize(240);
            QCoreApplication::processEvents();
            widget.view()->verticalScrollBar()->setValue(3333);
            offset = widget.view()->verticalScrollBar()->value();
            widget.saveSettings();
        }
        QCOMPARE(offset, 3333);
        QCOMPARE(QSettings().value("ThumbnailWidgetGrid").toInt(), 240);

        ThumbnailWidget widget;
        ThumbnailModel model;
        fill(widget, model);
        model.setThumbnails(content);
        widget.restoreSettings();
        QCOMPARE(widget.view()->gridSize(), 240);
        // The offset waits 10 ms for the layout of the new content.
        QCOMPARE(widget.view()->verticalScrollBar()->value(), 0);
        QTRY_COMPARE(widget.view()->verticalScrollBar()->value(), 3333);
    }
};

QTEST_MAIN(TestThumbnailWidget)
#include "tst_thumbnailwidget.moc"
