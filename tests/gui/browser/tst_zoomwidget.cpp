#include "browser/thumbnaildelegate.h"
#include "browser/thumbnailmodel.h"
#include "browser/thumbnailview.h"
#include "browser/zoomwidget.h"
#include "gui/guitest.h"
#include "shell/lumerax.h"
#include "support/testindex.h"

#include <QEnterEvent>
#include <QItemSelectionModel>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>

using namespace veldra;
using namespace veldra::test;

namespace {

struct Fixture
{
    explicit Fixture(const QMap<QString, QStringList>& content)
    {
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

class TestZoomWidget : public QObject
{
    Q_OBJECT

private:
    Pictures m_pictures;

    QMap<QString, QStringList> content()
    {
        return { { "/a", { m_pictures.add("a", 120, 80), m_pictures.add("b", 80, 120) } } };
    }

private Q_SLOTS:
    void overlayCoversTheThumbnailZoomed()
    {
        Fixture f(content());
        QPointer<ZoomWidget> zoom = f.open(0);
        const QRect item = f.view.visualRect(f.thumbnail(0));
        const QRect global(f.view.viewport()->mapToGlobal(item.topLeft()), item.size());
        QCOMPARE(zoom->size(), item.size() * 1.5);
        QCOMPARE(zoom->geometry().center(), global.center());
        zoom->close();
    }

    void closesWhenNotEnteredWithin100ms()
    {
        Fixture f(content());
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
        Fixture f(content());
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
        Fixture f(content());
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
        Fixture f(content());
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
        Fixture f(content());
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
        QMap<QString, QStringList> many;
        const QString picture = m_pictures.add("square", 100, 100);
        many.insert("/a", QStringList(40, picture));
        Fixture f(many);
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

        Fixture f(all);
        QPointer<ZoomWidget> zoom = f.open(0);
        enter(zoom);
        QVERIFY(!zoom->isSharpened());
        QTRY_VERIFY_WITH_TIMEOUT(zoom->isSharpened(), 5000);
        zoom->close();
        delete controller;
    }
};

QTEST_MAIN(TestZoomWidget)
#include "tst_zoomwidget.moc"
