#include "thumbnailwidget.h"

#include "thumbnaildelegate.h"
#include "thumbnailmodel.h"
#include "thumbnailview.h"
#include "thumbnailwidget_p.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace veldra {

namespace {

const QString gridKey = QStringLiteral("ThumbnailWidgetGrid");
const QString offsetKey = QStringLiteral("ThumbnailWidgetVOffset");

} // namespace

ThumbnailWidgetPrivate::ThumbnailWidgetPrivate(ThumbnailWidget* widget)
    : QObject(widget)
    , q(widget)
{ }

void ThumbnailWidgetPrivate::retranslate()
{
    similarAction->setText(ThumbnailWidget::tr("Similar Files"));
    compareAction->setText(ThumbnailWidget::tr("Compare Files"));
    removeAction->setText(ThumbnailWidget::tr("Remove File from Index"));
}

void ThumbnailWidgetPrivate::restoreOffset()
{
    view->verticalScrollBar()->setValue(QSettings().value(offsetKey, 0).toInt());
}

void ThumbnailWidgetPrivate::actionTriggered()
{
    QItemSelectionModel* selection = view->selectionModel();
    if (!selection)
        return;
    QModelIndexList selected = selection->selectedIndexes();
    QObject* action = sender();
    if (action == similarAction) {
        if (selected.size() == 1)
            Q_EMIT q->findSimilar(selected.first().data(Qt::DisplayRole).toString());
    } else if (action == compareAction) {
        if (selected.size() == 2)
            Q_EMIT q->compareFiles({ selected.at(0).data(Qt::DisplayRole).toString(),
                selected.at(1).data(Qt::DisplayRole).toString() });
    } else if (action == removeAction) {
        std::sort(selected.begin(), selected.end());
        QStringList texts;
        QList<QPersistentModelIndex> rows;
        for (const QModelIndex& index : std::as_const(selected)) {
            texts << index.data(Qt::DisplayRole).toString();
            rows << QPersistentModelIndex(index);
        }
        // Persistent indexes follow the rows removed before them.
        for (const QPersistentModelIndex& index : std::as_const(rows)) {
            if (index.isValid())
                view->model()->removeRow(index.row(), index.parent());
        }
        if (!texts.isEmpty())
            Q_EMIT q->removeFiles(texts);
    }
}

ThumbnailWidget::ThumbnailWidget(QWidget* parent)
    : QWidget(parent)
    , d(new ThumbnailWidgetPrivate(this))
{
    d->view = new ThumbnailView(this);
    d->slider = new QSlider(Qt::Horizontal, this);
    auto* delegate = new ThumbnailDelegate(this);

    ThumbnailView* view = d->view;
    view->setObjectName(QStringLiteral("m_thumbnailView"));
    view->setMouseTracking(true);
    view->setDragDropMode(QAbstractItemView::DragDrop);
    view->setDragEnabled(true);
    view->setAcceptDrops(true);
    view->setDropIndicatorShown(true);
    view->setItemDelegate(delegate);
    view->setAutoScroll(false);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setFrameShape(QFrame::NoFrame);
    // Drags that leave the viewport reach this widget, where the view scrolls
    // for them.
    setAcceptDrops(true);

    connect(d->slider, &QSlider::valueChanged, view, &ThumbnailView::setGridSize);
    connect(view, &ThumbnailView::gridChanged, d->slider, &QSlider::setValue);
    connect(view, &ThumbnailView::clicked, this, &ThumbnailWidget::clicked);
    connect(view, &ThumbnailView::findSimilar, this, &ThumbnailWidget::findSimilar);
    connect(view, &ThumbnailView::recognizeFaces, this, &ThumbnailWidget::recognizeFaces);
    connect(view, &ThumbnailView::gridChanged, this, &ThumbnailWidget::gridChanged);

    d->menu = new QMenu(this);
    d->similarAction = d->menu->addAction(QString());
    d->compareAction = d->menu->addAction(QString());
    d->removeAction = d->menu->addAction(QString());
    for (QAction* action : { d->similarAction, d->compareAction, d->removeAction })
        connect(action, &QAction::triggered, d, &ThumbnailWidgetPrivate::actionTriggered);
    d->retranslate();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->setContentsMargins(0, 0, 20, 0);
    sliderRow->addStretch();
    sliderRow->addWidget(d->slider);
    layout->addLayout(sliderRow);
    d->slider->setRange(view->minimumGridSize(), view->maximumGridSize());
    d->slider->setValue(view->gridSize());
    d->slider->hide();
}

ThumbnailWidget::~ThumbnailWidget() = default;

void ThumbnailWidget::setModel(QAbstractItemModel* model)
{
    if (QAbstractItemModel* old = d->view->model())
        disconnect(old, nullptr, this, nullptr);
    d->view->setModel(model);
    if (auto* thumbnails = qobject_cast<ThumbnailModel*>(model))
        connect(thumbnails, &ThumbnailModel::moveItems, this, &ThumbnailWidget::moveFiles);
}

void ThumbnailWidget::setHeadersVisible(bool visible)
{
    d->view->setHeadersVisible(visible);
}

ThumbnailView* ThumbnailWidget::view() const
{
    return d->view;
}

void ThumbnailWidget::restoreSettings()
{
    QSettings settings;
    d->view->setGridSize(settings.value(gridKey, d->view->gridSize()).toInt());
    QTimer::singleShot(10, d, &ThumbnailWidgetPrivate::restoreOffset);
}

void ThumbnailWidget::saveSettings()
{
    QSettings settings;
    settings.setValue(gridKey, d->view->gridSize());
    settings.setValue(offsetKey, d->view->verticalScrollBar()->value());
}

void ThumbnailWidget::setGridSize(int _val)
{
    d->view->setGridSize(_val);
}

void ThumbnailWidget::scrollToTop()
{
    d->view->scrollToTop();
}

void ThumbnailWidget::contextMenuEvent(QContextMenuEvent* event)
{
    QItemSelectionModel* selection = d->view->selectionModel();
    const int n = selection ? int(selection->selectedIndexes().size()) : 0;
    d->removeAction->setText(n == 1 ? tr("Remove File from Index") : tr("Remove Files from Index"));
    d->removeAction->setVisible(n >= 1);
    d->similarAction->setVisible(n == 1);
    d->compareAction->setVisible(n == 2);
    // With nothing selected every entry is hidden: no empty menu.
    if (n >= 1)
        d->menu->popup(event->globalPos());
}

void ThumbnailWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        d->retranslate();
    QWidget::changeEvent(event);
}

} // namespace veldra
