#include "thumbnailview.h"

#include "thumbnailmodel.h"
#include "thumbnailview_p.h"
#include "zoomwidget.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QPropertyAnimation>
#include <QResizeEvent>
#include <QRubberBand>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>

namespace veldra {

namespace {

// Kilobytes: several screens of 250-pixel thumbnails.
constexpr int minimumPictureCache = 64 * 1024;

// Integer division rounding toward negative infinity, for points left of or
// above the grid.
int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

// ---------------------------------------------------------------------------
// ThumbnailViewPrivate

ThumbnailViewPrivate::ThumbnailViewPrivate(ThumbnailView* view, QWidget* parent)
    : QObject(view)
    , rubberBand(new QRubberBand(QRubberBand::Rectangle, view->viewport()))
    , parentWidget(parent)
    , q(view)
{ }

void ThumbnailViewPrivate::updateColumns()
{
    const int width = q->viewport()->width();
    columns = std::max(1, (width - spacing) / (gridSize + spacing));
    extraSpacing
        = columns > 1 ? (width - columns * (gridSize + spacing) - spacing) / (columns - 1) : 0;
}

int ThumbnailViewPrivate::rowsOf(int count) const
{
    return (count + columns - 1) / columns;
}

int ThumbnailViewPrivate::sectionHeight(int count) const
{
    const int rows = rowsOf(count);
    return headerHeight + gridSize * rows + spacing * (rows + 1);
}

int ThumbnailViewPrivate::contentHeight() const
{
    if (sections.isEmpty())
        return 0;
    return sections.last().top + sectionHeight(sections.last().count);
}

int ThumbnailViewPrivate::sectionAt(int y) const
{
    auto it = std::upper_bound(sections.cbegin(), sections.cend(), y,
        [](int value, const FolderSection& section) { return value < section.top; });
    return int(it - sections.cbegin()) - 1;
}

int ThumbnailViewPrivate::sectionOf(const QModelIndex& index) const
{
    if (!index.isValid())
        return -1;
    const QModelIndex folder = index.parent().isValid() ? index.parent() : index;
    const int section = folder.row();
    if (section < 0 || section >= sections.size()
        || sections.at(section).folder != folder.sibling(folder.row(), 0))
        return -1;
    return section;
}

int ThumbnailViewPrivate::itemPosition(const QModelIndex& index) const
{
    const int section = sectionOf(index);
    if (section < 0 || sections.at(section).firstItem < 0)
        return -1;
    const int position = index.parent().isValid() ? sections.at(section).firstItem + 1 + index.row()
                                                  : sections.at(section).firstItem;
    if (position >= items.size()
        || (index.parent().isValid() && index.row() >= sections.at(section).count))
        return -1;
    return position;
}

QRect ThumbnailViewPrivate::cellRect(const FolderSection& section, int row) const
{
    const int line = row / columns;
    const int col = row % columns;
    const int left = (gridSize + extraSpacing) * col + spacing * (col + 1);
    const int top = section.top + headerHeight + spacing * (line + 1) + gridSize * line;
    return QRect(left, top, gridSize, gridSize);
}

QRect ThumbnailViewPrivate::gridRect(const FolderSection& section) const
{
    const int rows = rowsOf(section.count);
    return QRect(0, section.top + headerHeight, q->viewport()->width(),
        rows * (gridSize + spacing) + spacing);
}

QRect ThumbnailViewPrivate::itemRect(const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    const int section = sectionOf(index);
    if (section < 0)
        return {};
    const FolderSection& s = sections.at(section);
    if (!index.parent().isValid())
        return QRect(0, s.top, q->viewport()->width(), headerHeight);

    const QRect cell = cellRect(s, index.row());
    QStyleOptionViewItem option;
    q->initViewItemOption(&option);
    option.rect = cell;
    QAbstractItemDelegate* delegate = q->itemDelegateForIndex(index);
    const QSize hint = delegate ? delegate->sizeHint(option, index) : QSize();
    // Small pictures are enlarged, so every thumbnail fills its cell in one
    // direction and is centred in the other.
    const QSize size = hint.isEmpty() ? cell.size() : hint.scaled(cell.size(), Qt::KeepAspectRatio);
    return QRect(cell.left() + (cell.width() - size.width()) / 2,
        cell.top() + (cell.height() - size.height()) / 2, size.width(), size.height());
}

QRect ThumbnailViewPrivate::itemRect(int position) const
{
    if (position < 0 || position >= items.size())
        return {};
    QRect& cached = itemRects[position];
    if (cached.isNull())
        cached = itemRect(items.at(position));
    return cached;
}

QRect ThumbnailViewPrivate::openFolderBox(int section) const
{
    if (section < 0 || section >= sections.size())
        return {};
    const int top = sections.at(section).top - q->verticalOffset();
    return QRect(QPoint(openFolderBoxTopLeft.x(), top + openFolderBoxTopLeft.y()),
        QPoint(openFolderBoxBottomRight.x(), top + openFolderBoxBottomRight.y()));
}

QVector<int> ThumbnailViewPrivate::itemsIn(int section, const QRect& rect) const
{
    QVector<int> result;
    if (section < 0 || section >= sections.size())
        return result;
    const FolderSection& s = sections.at(section);
    if (s.count == 0 || s.firstItem < 0)
        return result;
    const int gridTop = s.top + headerHeight + spacing;
    const int pitch = gridSize + spacing;
    const int lines = rowsOf(s.count);
    const int firstLine = std::clamp(floorDiv(rect.top() - gridTop, pitch), 0, lines - 1);
    const int lastLine = std::clamp(floorDiv(rect.bottom() - gridTop, pitch), 0, lines - 1);
    for (int line = firstLine; line <= lastLine; ++line) {
        const int end = std::min(s.count, (line + 1) * columns);
        for (int row = line * columns; row < end; ++row) {
            if (cellRect(s, row).intersects(rect))
                result << s.firstItem + 1 + row;
        }
    }
    return result;
}

void ThumbnailViewPrivate::rememberPosition()
{
    if (sections.isEmpty())
        return;
    anchorSection = std::max(0, sectionAt(q->verticalOffset()));
    sectionScrollOffset = q->verticalOffset() - sections.at(anchorSection).top;
}

void ThumbnailViewPrivate::clearLayout()
{
    Q_EMIT closeZoom();
    rememberPosition();
    sections.clear();
    items.clear();
    itemRects.clear();
}

void ThumbnailViewPrivate::stopScrolling()
{
    scrollTimer->stop();
    scrollAnimation->stop();
}

void ThumbnailViewPrivate::startScrollAnimation()
{
    QScrollBar* bar = q->verticalScrollBar();
    const int maximum = bar->maximum();
    if (scrollAnimation->state() == QAbstractAnimation::Running) {
        const int oldEnd = scrollAnimation->endValue().toInt();
        const int newEnd
            = std::clamp(scrollUp ? oldEnd - scrollDistance : oldEnd + scrollDistance, 0, maximum);
        if (newEnd == oldEnd)
            return;
        scrollAnimation->stop();
        scrollAnimation->setStartValue(bar->value());
        scrollAnimation->setEndValue(newEnd);
        scrollAnimation->setEasingCurve(
            sender() == scrollTimer ? QEasingCurve::Linear : QEasingCurve::OutQuad);
    } else {
        const int offset = q->verticalOffset();
        scrollAnimation->setStartValue(offset);
        scrollAnimation->setEndValue(
            std::clamp(scrollUp ? offset - scrollDistance : offset + scrollDistance, 0, maximum));
    }
    scrollAnimation->start();
}

void ThumbnailViewPrivate::animateTo(int target)
{
    QScrollBar* bar = q->verticalScrollBar();
    target = std::clamp(target, 0, bar->maximum());
    const int current = bar->value();
    stopScrolling();
    if (std::abs(target - current) <= maxAnimatedDistance) {
        wheelScrolling = ScrollByCode;
        scrollUp = target <= current;
        scrollDistance = std::abs(target - current);
        scrollAnimation->setEasingCurve(QEasingCurve::OutBack);
        scrollAnimation->setDuration(scrollDuration);
        startScrollAnimation();
    } else {
        bar->setValue(target);
        q->viewport()->update();
    }
}

void ThumbnailViewPrivate::scrollFinished()
{
    wheelScrolling = ScrollByCode;
    checkHover();
    if (rubberBand->isVisible())
        q->setSelection(rubberBand->geometry(), QItemSelectionModel::ClearAndSelect);
}

void ThumbnailViewPrivate::checkHover()
{
    if (scrollAnimation->state() == QAbstractAnimation::Running)
        return;
    const QModelIndex index = q->indexAt(mousePos);
    const QModelIndex previous = hoverIndex;
    if (index != hoverIndex) {
        hoverIndex = index;
        if (index.isValid() && index.parent().isValid()) {
            hoverOffset = q->verticalOffset();
            if (zoomEnabled && q->isVisible()) {
                auto* zoom = new ZoomWidget(q, hoverIndex);
                connect(
                    this, &ThumbnailViewPrivate::scrollContents, zoom, &ZoomWidget::scrollContent);
                connect(this, &ThumbnailViewPrivate::closeZoom, zoom, &ZoomWidget::close);
                connect(zoom, &ZoomWidget::startDrag, this, &ThumbnailViewPrivate::startDrag,
                    Qt::QueuedConnection);
                connect(zoom, &ZoomWidget::findSimilar, q, &ThumbnailView::findSimilar);
                connect(zoom, &ZoomWidget::recognizeFaces, q, &ThumbnailView::recognizeFaces);
                zoom->show();
            }
        }
    }
    if (index.isValid() && index.parent().isValid())
        q->viewport()->setCursor(Qt::PointingHandCursor);
    else
        q->viewport()->unsetCursor();
    // The open-folder box lights up under the mouse and goes dark after it.
    for (const QModelIndex& header : { index, previous }) {
        if (header.isValid() && !header.parent().isValid())
            q->viewport()->update(q->visualRect(header));
    }
}

void ThumbnailViewPrivate::startDrag()
{
    q->startDrag(q->model()->supportedDragActions());
    q->setState(QAbstractItemView::NoState);
    q->stopAutoScroll();
}

QRect ThumbnailViewPrivate::sectionGridInViewport(int section) const
{
    if (section < 0 || section >= sections.size())
        return {};
    return gridRect(sections.at(section)).translated(0, -q->verticalOffset());
}

QRect ThumbnailViewPrivate::rubberBandRect() const
{
    const QPoint press = pressPos - QPoint(q->horizontalOffset(), q->verticalOffset());
    return QRect(press, mousePos).normalized() & sectionGridInViewport(currentSection);
}

void ThumbnailViewPrivate::startEdgeScroll(bool up, int distance)
{
    if (distance <= 0)
        return;
    wheelScrolling = ScrollByCode;
    scrollUp = up;
    scrollDistance = distance;
    scrollAnimation->setEasingCurve(QEasingCurve::Linear);
    scrollAnimation->setDuration(10 * distance);
    startScrollAnimation();
}

ThumbnailViewPrivate::DropTarget ThumbnailViewPrivate::dropTarget(const QPoint& position) const
{
    DropTarget target;
    if (!q->viewport()->rect().contains(position))
        return target;
    const int y = position.y() + q->verticalOffset();
    const int section = sectionAt(y);
    if (section < 0)
        return target;
    const FolderSection& s = sections.at(section);
    if (y <= s.top + headerHeight || !s.folder.isValid())
        return target;
    target.section = section;
    if (s.count == 0) {
        const QRect cell = cellRect(s, 0);
        target.row = 0;
        target.indicator = QRect(cell.left() - spacing / 2 - 1, cell.top(), 3, gridSize);
        return target;
    }
    const int lastLine = rowsOf(s.count) - 1;
    const int line
        = std::clamp(floorDiv(y - headerHeight - s.top, gridSize + spacing), 0, lastLine);
    const int col
        = std::clamp(floorDiv(position.x(), gridSize + spacing + extraSpacing), 0, columns - 1);
    const int reference = std::min(line * columns + col, s.count - 1);
    const QRect cell = cellRect(s, reference);
    const bool after = position.x() > cell.center().x();
    target.row = reference + (after ? 1 : 0);
    // A line in the middle of the gap before the insertion column.
    const int gap = reference % columns == 0 && !after ? spacing : spacing + extraSpacing;
    const int x = after ? cell.right() + 1 + (spacing + extraSpacing) / 2 : cell.left() - gap / 2;
    target.indicator = QRect(x - 1, cell.top(), 3, gridSize);
    return target;
}

bool ThumbnailViewPrivate::filterScrollBar(QEvent* event)
{
    auto* bar = static_cast<ThumbnailViewScrollBar*>(q->verticalScrollBar());
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QStyle::SubControl control = bar->hitTest(mouse->position().toPoint());
        scrollAnimation->setDuration(scrollDuration);
        switch (control) {
        case QStyle::SC_ScrollBarAddLine:
        case QStyle::SC_ScrollBarSubLine:
            scrollDistance = QApplication::wheelScrollLines() * gridSize;
            break;
        case QStyle::SC_ScrollBarAddPage:
        case QStyle::SC_ScrollBarSubPage:
            scrollDistance = 2 * q->viewport()->height();
            break;
        default:
            return false;
        }
        scrollUp = control == QStyle::SC_ScrollBarSubLine || control == QStyle::SC_ScrollBarSubPage;
        scrollAnimation->setEasingCurve(QEasingCurve::InOutQuad);
        wheelScrolling = ScrollByScrollBar;
        startScrollAnimation();
        scrollTimer->start(scrollDuration / 2);
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease
        && scrollAnimation->state() == QAbstractAnimation::Running) {
        // Let go: the content runs on a little, overshoots and settles.
        scrollTimer->stop();
        const int current = bar->value();
        const int end
            = std::clamp(scrollUp ? current - scrollDistance / 2 : current + scrollDistance / 2, 0,
                bar->maximum());
        scrollAnimation->stop();
        scrollAnimation->setStartValue(current);
        scrollAnimation->setEndValue(end);
        scrollAnimation->setEasingCurve(QEasingCurve::OutBack);
        scrollAnimation->start();
    }
    return false;
}

bool ThumbnailViewPrivate::filterParent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
        static_cast<QDragEnterEvent*>(event)->acceptProposedAction();
        return true;
    case QEvent::DragLeave:
        stopScrolling();
        event->ignore();
        return true;
    case QEvent::Drop: {
        // A drop beside the view does nothing.
        stopScrolling();
        auto* drop = static_cast<QDropEvent*>(event);
        drop->setDropAction(Qt::IgnoreAction);
        drop->ignore();
        return true;
    }
    case QEvent::DragMove: {
        auto* move = static_cast<QDragMoveEvent*>(event);
        const QPoint position
            = q->viewport()->mapFrom(parentWidget.data(), move->position().toPoint());
        const QRect viewportRect = q->viewport()->rect();
        if (viewportRect.contains(position))
            return false;
        const bool withinWidth = position.x() >= 0 && position.x() < viewportRect.width();
        if (scrollAnimation->state() == QAbstractAnimation::Running) {
            if (!withinWidth)
                stopScrolling();
        } else if (withinWidth) {
            if (position.y() >= viewportRect.height())
                startEdgeScroll(false, q->verticalScrollBar()->maximum() - q->verticalOffset());
            else if (position.y() < 0)
                startEdgeScroll(true, q->verticalOffset());
        }
        move->ignore();
        return true;
    }
    default:
        return false;
    }
}

QStyle::SubControl ThumbnailViewScrollBar::hitTest(const QPoint& position) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, position, this);
}

// ---------------------------------------------------------------------------
// ThumbnailView

ThumbnailView::ThumbnailView(QWidget* parent)
    : QAbstractItemView(parent)
    , d(new ThumbnailViewPrivate(this, parent))
{
    auto* bar = new ThumbnailViewScrollBar(Qt::Vertical, this);
    setVerticalScrollBar(bar);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    d->rubberBand->hide();

    d->scrollAnimation = new QPropertyAnimation(bar, "value", d);
    d->scrollAnimation->setDuration(d->scrollDuration);
    connect(d->scrollAnimation, &QPropertyAnimation::finished, d,
        &ThumbnailViewPrivate::scrollFinished);
    d->scrollTimer = new QTimer(d);
    connect(d->scrollTimer, &QTimer::timeout, d, &ThumbnailViewPrivate::startScrollAnimation);

    bar->installEventFilter(this);
    if (d->parentWidget)
        d->parentWidget->installEventFilter(this);

    // The toolkit's default cache (10 MB) holds fewer pictures than one large
    // window shows, so every repaint would read them from disk again.
    if (QPixmapCache::cacheLimit() < minimumPictureCache)
        QPixmapCache::setCacheLimit(minimumPictureCache);

    d->updateColumns();
    setModel(new EmptyModel(this));
}

ThumbnailView::~ThumbnailView()
{
    // The overlay and the animations must not reach back into a view that is
    // going away.
    Q_EMIT d->closeZoom();
    d->stopScrolling();
}

int ThumbnailView::gridSize() const
{
    return d->gridSize;
}

int ThumbnailView::minimumGridSize() const
{
    return d->minGridSize;
}

int ThumbnailView::maximumGridSize() const
{
    return d->maxGridSize;
}

double ThumbnailView::zoomFactor() const
{
    return d->zoomFactor;
}

int ThumbnailView::columns() const
{
    return d->columns;
}

int ThumbnailView::extraSpacing() const
{
    return d->extraSpacing;
}

int ThumbnailView::headerHeight() const
{
    return d->headerHeight;
}

bool ThumbnailView::headersVisible() const
{
    return d->headersVisible;
}

void ThumbnailView::setHeadersVisible(bool visible)
{
    d->headersVisible = visible;
    d->headerHeight = visible ? 80 : 0;
    // Every section top and item rectangle depends on the header height.
    scheduleDelayedItemsLayout();
    viewport()->update();
}

bool ThumbnailView::isZoomEnabled() const
{
    return d->zoomEnabled;
}

void ThumbnailView::setZoomEnabled(bool enabled)
{
    d->zoomEnabled = enabled;
    if (!enabled)
        Q_EMIT d->closeZoom();
}

void ThumbnailView::setSectionColors(const QColor& header, const QColor& thumbnails,
    const QColor& currentHeader, const QColor& currentThumbnails)
{
    d->sectionColors[0] = header;
    d->sectionColors[1] = thumbnails;
    d->sectionColors[2] = currentHeader;
    d->sectionColors[3] = currentThumbnails;
    viewport()->update();
}

QRect ThumbnailView::openFolderBox(const QModelIndex& folder) const
{
    if (!folder.isValid() || folder.parent().isValid())
        return {};
    return d->openFolderBox(d->sectionOf(folder));
}

void ThumbnailView::setGridSize(int _val)
{
    if (_val == d->gridSize)
        return;
    d->gridSize = std::clamp(_val, d->minGridSize, d->maxGridSize);
    d->updateColumns();
    scheduleDelayedItemsLayout();
    Q_EMIT gridChanged(d->gridSize);
}

void ThumbnailView::setModel(QAbstractItemModel* model)
{
    Q_EMIT d->closeZoom();
    d->sections.clear();
    d->items.clear();
    d->itemRects.clear();
    d->hoverIndex = QModelIndex();
    QAbstractItemView::setModel(model);
}

QRect ThumbnailView::visualRect(const QModelIndex& index) const
{
    const QRect rect = d->itemRect(d->itemPosition(index));
    return rect.isNull() ? rect : rect.translated(0, -verticalOffset());
}

void ThumbnailView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const QRect r = d->itemRect(d->itemPosition(index));
    if (r.isNull())
        return;
    const int current = verticalOffset();
    const int height = viewport()->height();
    int target = current;
    switch (hint) {
    case EnsureVisible:
        if (r.top() < current)
            target = r.top();
        else if (r.bottom() > current + height - 1)
            target = current + std::min(r.bottom() - (current + height - 1), r.top() - current);
        break;
    case PositionAtTop:
        target = r.top();
        break;
    case PositionAtBottom:
        target = r.bottom() - viewport()->rect().bottom();
        break;
    case PositionAtCenter:
        target = (r.top() + r.bottom()) / 2 - height / 2;
        break;
    }
    d->animateTo(target);
}

QModelIndex ThumbnailView::indexAt(const QPoint& point) const
{
    if (d->sections.isEmpty())
        return {};
    const int y = point.y() + verticalOffset();
    const int section = d->sectionAt(y);
    if (section < 0)
        return {};
    const FolderSection& s = d->sections.at(section);
    if (y <= s.top + d->headerHeight)
        return s.folder;
    const int line = floorDiv(y - d->headerHeight - s.top, d->gridSize + d->spacing);
    const int col = floorDiv(point.x(), d->gridSize + d->spacing + d->extraSpacing);
    if (line < 0 || col < 0 || col >= d->columns)
        return {};
    const int row = d->columns * line + col;
    const QModelIndex candidate = model()->index(row, 0, s.folder);
    return visualRect(candidate).contains(point) ? candidate : QModelIndex();
}

void ThumbnailView::reset()
{
    d->clearLayout();
    d->stopScrolling();
    d->hoverIndex = QModelIndex();
    QAbstractItemView::reset();
    scheduleDelayedItemsLayout();
    QTimer::singleShot(10, this, &QAbstractItemView::scrollToTop);
}

void ThumbnailView::doItemsLayout()
{
    d->rememberPosition();
    d->sections.clear();
    d->itemRects.clear();
    d->hoverIndex = QModelIndex();

    QAbstractItemModel* m = model();
    const QModelIndex root = rootIndex();
    const int folders = m ? m->rowCount(root) : 0;
    d->sections.resize(folders);
    int y = 0;
    int counter = 0;
    for (int i = 0; i < folders; ++i) {
        FolderSection& section = d->sections[i];
        section.folder = m->index(i, 0, root);
        section.count = m->rowCount(section.folder);
        section.top = y;
        section.firstItem = counter;
        counter += section.count + 1;
        y += d->sectionHeight(section.count);
    }

    if (d->items.isEmpty()) {
        d->items.reserve(counter);
        for (const FolderSection& section : std::as_const(d->sections)) {
            d->items.append(section.folder);
            for (int row = 0; row < section.count; ++row)
                d->items.append(m->index(row, 0, section.folder));
        }
    }
    d->itemRects.resize(d->items.size());

    QAbstractItemView::doItemsLayout();
    if (d->anchorSection >= 0 && d->anchorSection < d->sections.size()) {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(std::min(
            d->sections.at(d->anchorSection).top + d->sectionScrollOffset, bar->maximum()));
    }
    d->checkHover();
}

void ThumbnailView::dataChanged(
    const QModelIndex& _topLeft, const QModelIndex& _bottomRight, const QList<int>& roles)
{
    // A changed picture may have another shape: its rectangle is recomputed.
    if (_topLeft.isValid() && _bottomRight.isValid()
        && _topLeft.parent() == _bottomRight.parent()) {
        for (int row = _topLeft.row(); row <= _bottomRight.row(); ++row) {
            const int position = d->itemPosition(_topLeft.sibling(row, 0));
            if (position >= 0)
                d->itemRects[position] = QRect();
        }
    }
    QAbstractItemView::dataChanged(_topLeft, _bottomRight, roles);
}

void ThumbnailView::rowsInserted(const QModelIndex& _parent, int _start, int _end)
{
    d->clearLayout();
    scheduleDelayedItemsLayout();
    QAbstractItemView::rowsInserted(_parent, _start, _end);
}

void ThumbnailView::rowsAboutToBeRemoved(const QModelIndex& _parent, int _start, int _end)
{
    QAbstractItemView::rowsAboutToBeRemoved(_parent, _start, _end);
    d->clearLayout();
    scheduleDelayedItemsLayout();
}

void ThumbnailView::updateGeometries()
{
    const int height = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, d->contentHeight() - height));
    bar->setPageStep(height);
    bar->setSingleStep(d->gridSize);
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void ThumbnailView::scrollContentsBy(int dx, int dy)
{
    Q_UNUSED(dx);
    // The press point moves with the content; the band follows it.
    if (state() == DragSelectingState)
        d->rubberBand->setGeometry(d->rubberBandRect());
    viewport()->scroll(0, dy);
}

QModelIndex ThumbnailView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(modifiers);
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, 0, rootIndex());
    int row = current.row();
    switch (cursorAction) {
    case MoveUp:
        row -= d->columns;
        break;
    case MoveDown:
        row += d->columns;
        break;
    case MoveLeft:
        --row;
        break;
    case MoveRight:
        ++row;
        break;
    default:
        return current;
    }
    const QModelIndex sibling = current.sibling(row, current.column());
    return sibling.isValid() ? sibling : current;
}

int ThumbnailView::horizontalOffset() const
{
    return 0;
}

int ThumbnailView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

bool ThumbnailView::isIndexHidden(const QModelIndex& index) const
{
    Q_UNUSED(index);
    return false;
}

void ThumbnailView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    QItemSelectionModel* selection = selectionModel();
    if (!selection)
        return;
    QItemSelection result;
    const QRect normal = rect.normalized();
    if (normal.width() == 1 && normal.height() == 1) {
        const QModelIndex index = indexAt(normal.topLeft());
        if (index.isValid())
            result.select(index, index);
    } else if (state() == DragSelectingState) {
        // Only the sections the rectangle meets, and in them only the lines it
        // meets, are looked at.
        const QRect content = normal.translated(0, verticalOffset());
        const int first = std::max(0, d->sectionAt(content.top()));
        const int last = d->sectionAt(content.bottom());
        for (int section = first; section <= last; ++section) {
            for (int position : d->itemsIn(section, content)) {
                const QModelIndex index = d->items.at(position);
                if (d->itemRect(position).intersects(content)
                    && (model()->flags(index) & Qt::ItemIsSelectable))
                    result.select(index, index);
            }
        }
    } else {
        // The corners as given: from the anchor of the range to the point
        // clicked, in whichever direction.
        const QModelIndex from = indexAt(rect.topLeft());
        const QModelIndex to = indexAt(rect.bottomRight());
        auto isThumbnail = [this](const QModelIndex& index) {
            return index.isValid() && index.parent().isValid()
                && (model()->flags(index) & Qt::ItemIsEnabled);
        };
        if (isThumbnail(from) && isThumbnail(to)) {
            int begin = d->itemPosition(from);
            int end = d->itemPosition(to);
            if (begin > end)
                std::swap(begin, end);
            for (int position = begin; position <= end && position >= 0; ++position) {
                const QModelIndex index = d->items.at(position);
                if (model()->flags(index) & Qt::ItemIsSelectable)
                    result.select(index, index);
            }
        }
    }
    selection->select(result, command);
}

QRegion ThumbnailView::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    const int offset = verticalOffset();
    for (const QItemSelectionRange& range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            const int position
                = d->itemPosition(range.parent().isValid() ? model()->index(row, 0, range.parent())
                                                           : model()->index(row, 0, rootIndex()));
            if (position < 0)
                continue;
            // A rectangle not computed yet belongs to a picture never painted:
            // its cell covers it without loading the picture.
            QRect rect = d->itemRects.at(position);
            if (rect.isNull()) {
                const QModelIndex index = d->items.at(position);
                rect = index.parent().isValid()
                    ? d->cellRect(d->sections.at(d->sectionOf(index)), index.row())
                    : d->itemRect(position);
            }
            region += rect.translated(0, -offset);
        }
    }
    return region;
}

void ThumbnailView::paintEvent(QPaintEvent* event)
{
    // Rows that changed since the last layout are not painted half-known.
    executeDelayedItemsLayout();
    QPainter painter(viewport());
    const QRect paintRect = event->rect().normalized();
    const int offset = verticalOffset();
    QAbstractItemModel* m = model();

    if (d->sections.isEmpty())
        return;

    int first = std::max(0, d->sectionAt(offset));
    if (first != d->firstVisibleSection) {
        d->firstVisibleSection = first;
        Q_EMIT firstVisibleItemChanged(d->sections.at(first).folder);
    }
    first = std::max(0, d->sectionAt(paintRect.top() + offset));
    const int last = std::max(0, d->sectionAt(paintRect.bottom() + offset));

    // Section bands.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QColor alternateBase = option.palette.color(QPalette::AlternateBase);
    for (int i = first; i <= last; ++i) {
        const FolderSection& section = d->sections.at(i);
        if (!section.folder.isValid() || section.count < 1 || section.top < 0)
            continue;
        const bool current = i == d->currentSection;
        QStyleOptionViewItem band = option;
        band.features |= QStyleOptionViewItem::Alternate;
        band.rect = QRect(0, section.top - offset, viewport()->width(), d->headerHeight);
        band.palette.setColor(QPalette::AlternateBase, d->sectionColors[current ? 2 : 0]);
        style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &band, &painter, this);
        band.rect = d->gridRect(section).translated(0, -offset);
        band.palette.setColor(QPalette::AlternateBase, d->sectionColors[current ? 3 : 1]);
        style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &band, &painter, this);
    }
    option.palette.setColor(QPalette::AlternateBase, alternateBase);

    // Items: headers and the thumbnails whose cells meet the paint rectangle.
    const QRect content = paintRect.translated(0, offset);
    QItemSelectionModel* selection = selectionModel();
    const QModelIndexList selected = selection ? selection->selectedIndexes() : QModelIndexList();
    for (int i = first; i <= last; ++i) {
        const FolderSection& section = d->sections.at(i);
        if (d->headersVisible && d->itemRect(section.firstItem).intersects(content)) {
            const QModelIndex folder = d->items.at(section.firstItem);
            QStyleOptionViewItem header = option;
            header.rect = visualRect(folder);
            if (QAbstractItemDelegate* delegate = itemDelegateForIndex(folder))
                delegate->paint(&painter, header, folder);

            const int top = header.rect.top();
            QStyleOptionViewItem box = option;
            box.rect = d->openFolderBox(i);
            if (box.rect.contains(d->mousePos)) {
                box.state |= QStyle::State_Selected;
                painter.drawText(QPoint(45, top + 25), tr("Open Folder"));
            }
            const QModelIndex boxIndex = m->index(folder.row(), 1, folder.parent());
            if (QAbstractItemDelegate* delegate = itemDelegateForIndex(boxIndex))
                delegate->paint(&painter, box, boxIndex);

            QString total = tr("Total picture(s): ") + QString::number(section.count);
            if (i == d->currentSection && !selected.isEmpty()
                && selected.first().parent() == folder)
                total += tr(" Selected: ") + QString::number(selected.size());
            painter.drawText(QPoint(325, top + 25), total);
        }
        for (int position : d->itemsIn(i, content)) {
            const QRect rect = d->itemRect(position);
            if (!rect.intersects(content))
                continue;
            const QModelIndex index = d->items.at(position);
            QStyleOptionViewItem item = option;
            item.rect = rect.translated(0, -offset);
            if (selection && selection->isSelected(index))
                item.state |= QStyle::State_Selected;
            if (QAbstractItemDelegate* delegate = itemDelegateForIndex(index))
                delegate->paint(&painter, item, index);
        }
    }

    if (offset != d->hoverOffset) {
        Q_EMIT d->scrollContents();
        d->hoverOffset = offset;
    }

    if (state() == DraggingState && showDropIndicator() && !d->dropIndicatorRect.isNull()) {
        QStyleOption indicator;
        indicator.initFrom(this);
        indicator.rect = d->dropIndicatorRect.translated(0, -offset);
        style()->drawPrimitive(QStyle::PE_IndicatorItemViewItemDrop, &indicator, &painter, this);
    }
}

void ThumbnailView::resizeEvent(QResizeEvent* event)
{
    if (event->size() == event->oldSize())
        return;
    const int columns = d->columns;
    const int extraSpacing = d->extraSpacing;
    d->updateColumns();
    if (d->columns != columns || d->extraSpacing != extraSpacing) {
        scheduleDelayedItemsLayout();
        executeDelayedItemsLayout();
    } else {
        // Header bands span the viewport's width.
        for (const FolderSection& section : std::as_const(d->sections)) {
            if (section.firstItem >= 0 && section.firstItem < d->itemRects.size())
                d->itemRects[section.firstItem] = QRect();
        }
    }
    QAbstractItemView::resizeEvent(event);
}

void ThumbnailView::hideEvent(QHideEvent* event)
{
    Q_EMIT d->closeZoom();
    QAbstractItemView::hideEvent(event);
}

bool ThumbnailView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == verticalScrollBar() && d->filterScrollBar(event))
        return true;
    if (watched == d->parentWidget && d->filterParent(event))
        return true;
    return QAbstractItemView::eventFilter(watched, event);
}

QItemSelectionModel::SelectionFlags ThumbnailView::selectionCommand(
    const QModelIndex& index, const QEvent* event) const
{
    // A selection never spans two folders.
    if (index.isValid() && index.parent().isValid() && index.parent().row() != d->currentSection)
        return QItemSelectionModel::ClearAndSelect;
    return QAbstractItemView::selectionCommand(index, event);
}

void ThumbnailView::startDrag(Qt::DropActions supportedActions)
{
    QModelIndexList indexes;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    for (const QModelIndex& index : selected) {
        if (model()->flags(index) & Qt::ItemIsDragEnabled)
            indexes << index;
    }
    if (indexes.isEmpty())
        return;
    QMimeData* data = model()->mimeData(indexes);
    if (!data)
        return;
    QStringList names;
    QList<QPersistentModelIndex> dragged;
    QRect area;
    for (const QModelIndex& index : std::as_const(indexes)) {
        names << index.data(Qt::DisplayRole).toString();
        dragged << QPersistentModelIndex(index);
        area |= visualRect(index);
    }
    data->setText(names.join(QLatin1Char('|')));

    // Only what can be seen goes into the picture: a large selection would
    // otherwise ask for an image taller than the whole folder.
    area &= viewport()->rect();
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    if (!area.isEmpty()) {
        QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setOpacity(0.5);
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        for (const QModelIndex& index : std::as_const(indexes)) {
            const QRect rect = visualRect(index);
            if (!rect.intersects(area))
                continue;
            option.rect = rect.translated(-area.topLeft());
            option.state &= ~QStyle::State_Selected;
            if (QAbstractItemDelegate* delegate = itemDelegateForIndex(index))
                delegate->paint(&painter, option, index);
        }
        painter.end();
        drag->setPixmap(QPixmap::fromImage(image));
        drag->setHotSpot(d->pressPos - QPoint(0, verticalOffset()) - area.topLeft());
    }

    const Qt::DropAction action = drag->exec(supportedActions);
    // Only a drop that this view carried out moves the rows: another
    // application taking the text must not make thumbnails vanish.
    if (action == Qt::IgnoreAction || !d->dropDone)
        return;
    d->dropDone = false;
    std::sort(dragged.begin(), dragged.end(),
        [](const QPersistentModelIndex& a, const QPersistentModelIndex& b) {
            return a.row() > b.row();
        });
    for (const QPersistentModelIndex& index : std::as_const(dragged)) {
        if (index.isValid())
            model()->removeRow(index.row(), index.parent());
    }
}

void ThumbnailView::mousePressEvent(QMouseEvent* event)
{
    executeDelayedItemsLayout();
    if (d->sections.isEmpty())
        return;
    d->stopScrolling();
    const QPoint position = event->position().toPoint();
    d->pressPos = position + QPoint(horizontalOffset(), verticalOffset());
    const int section = std::max(0, d->sectionAt(d->pressPos.y()));
    if (section != d->currentSection) {
        d->currentSection = section;
        selectionModel()->clear();
    }
    const QModelIndex index = indexAt(position);
    if (event->button() == Qt::RightButton && index.isValid() && index.parent().isValid()
        && selectionModel()->isSelected(index))
        return;

    QAbstractItemView::mousePressEvent(event);
    Q_EMIT clicked(d->sections.at(d->currentSection).folder);
    if (index.isValid() && !index.parent().isValid())
        selectionModel()->clear();
    if (!(model()->flags(index) & Qt::ItemIsEnabled)) {
        d->mousePos = position;
        d->rubberBand->setGeometry(QRect(position, QSize()));
        d->rubberBand->show();
    }
    viewport()->update();
}

void ThumbnailView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    d->mousePos = position;

    if (state() == DraggingState) {
        const QPoint press = d->pressPos - QPoint(horizontalOffset(), verticalOffset());
        if ((position - press).manhattanLength() > QApplication::startDragDistance()) {
            startDrag(model()->supportedDragActions());
            setState(NoState);
            stopAutoScroll();
        }
        return;
    }

    if (d->rubberBand->isVisible()) {
        const QModelIndex item = indexAt(position);
        if (item.isValid())
            Q_EMIT entered(item);
        setState(DragSelectingState);
        const QRect band = d->rubberBandRect();
        d->rubberBand->setGeometry(band);
        const QRect area = viewport()->rect();
        const bool aboveOrBelow = position.x() >= 0 && position.x() < area.width()
            && (position.y() < 0 || position.y() >= area.height());
        if (!aboveOrBelow) {
            if (d->scrollAnimation->state() == QAbstractAnimation::Running)
                d->stopScrolling();
        } else if (d->scrollAnimation->state() != QAbstractAnimation::Running) {
            QCoreApplication::sendPostedEvents();
            setSelection(band, selectionCommand(item, event));
            const int sectionIndex = std::clamp(d->currentSection, 0, int(d->sections.size()) - 1);
            const FolderSection& section = d->sections.at(sectionIndex);
            const int offset = verticalOffset();
            if (position.y() < 0 && band.top() <= 0) {
                d->startEdgeScroll(true, offset - d->headerHeight - section.top);
            } else if (position.y() >= area.height() && band.bottom() >= area.height() - 1) {
                const int end = sectionIndex + 1 < d->sections.size()
                    ? d->sections.at(sectionIndex + 1).top - area.height() - offset
                    : verticalScrollBar()->maximum() - offset;
                d->startEdgeScroll(false, end);
            }
        }
        return;
    }

    QAbstractItemView::mouseMoveEvent(event);
    d->checkHover();
}

void ThumbnailView::mouseReleaseEvent(QMouseEvent* event)
{
    if (d->sections.isEmpty())
        return;
    d->stopScrolling();
    const QPoint position = event->position().toPoint();
    d->mousePos = position;
    d->checkHover();
    const QModelIndex index = indexAt(position);
    if (event->button() == Qt::RightButton && index.isValid() && index.parent().isValid()
        && selectionModel()->isSelected(index))
        return;

    const State before = state();
    QAbstractItemView::mouseReleaseEvent(event);
    setState(before);
    if (before == DragSelectingState)
        setSelection(d->rubberBand->geometry(), QItemSelectionModel::ClearAndSelect);
    setState(NoState);
    d->rubberBand->hide();

    if (event->button() == Qt::LeftButton && index.isValid() && !index.parent().isValid()) {
        const int section = d->sectionOf(index);
        if (d->openFolderBox(section).contains(d->mousePos) && before == NoState) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(index.data(Qt::DisplayRole).toString()));
        } else if (before != DragSelectingState) {
            scrollTo(index, PositionAtTop);
        }
    }
    viewport()->update();
}

void ThumbnailView::wheelEvent(QWheelEvent* event)
{
    if (d->rubberBand->isVisible()) {
        event->ignore();
        return;
    }
    const int delta = event->angleDelta().y();
    if (event->modifiers() & Qt::ControlModifier) {
        d->stopScrolling();
        int lines = QApplication::wheelScrollLines();
        if (delta > 0)
            lines = -lines;
        if (delta != 0)
            setGridSize(d->gridSize + lines);
        event->accept();
        return;
    }
    if (delta == 0) {
        event->ignore();
        return;
    }
    const bool running = d->scrollAnimation->state() == QAbstractAnimation::Running;
    if (running && d->wheelScrolling != ScrollByWheel) {
        d->checkHover();
        return;
    }
    d->scrollUp = delta > 0;
    if (!running)
        d->scrollAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    d->scrollDistance = d->gridSize;
    d->scrollAnimation->setDuration(500);
    d->wheelScrolling = ScrollByWheel;
    d->startScrollAnimation();
    d->checkHover();
    event->accept();
}

void ThumbnailView::enterEvent(QEnterEvent* event)
{
    d->mousePos = viewport()->mapFromGlobal(QCursor::pos());
    d->checkHover();
    QAbstractItemView::enterEvent(event);
}

void ThumbnailView::leaveEvent(QEvent* event)
{
    d->mousePos = QPoint(0, 0);
    d->checkHover();
    QAbstractItemView::leaveEvent(event);
}

void ThumbnailView::dragEnterEvent(QDragEnterEvent* event)
{
    d->stopScrolling();
    QAbstractItemView::dragEnterEvent(event);
}

void ThumbnailView::dragMoveEvent(QDragMoveEvent* event)
{
    const QPoint position = event->position().toPoint();
    d->mousePos = position;
    if (event->source() != this) {
        event->ignore();
        return;
    }
    const QMimeData* data = event->mimeData();
    bool known = false;
    const QStringList types = model()->mimeTypes();
    for (const QString& type : types)
        known = known || data->hasFormat(type);
    if (!known || !(event->dropAction() & model()->supportedDropActions())) {
        event->ignore();
        return;
    }
    const QRect old = d->dropIndicatorRect;
    const ThumbnailViewPrivate::DropTarget target = d->dropTarget(position);
    d->dropIndicatorRect = target.indicator;
    const int offset = verticalOffset();
    viewport()->update(old.translated(0, -offset).adjusted(-2, -2, 2, 2));
    viewport()->update(d->dropIndicatorRect.translated(0, -offset).adjusted(-2, -2, 2, 2));
    // Headers take no drops: the cursor says so before the button is let go.
    if (target.section < 0)
        event->ignore();
    else
        event->accept();
}

void ThumbnailView::dropEvent(QDropEvent* event)
{
    const QPoint position = event->position().toPoint();
    const ThumbnailViewPrivate::DropTarget target = d->dropTarget(position);
    auto finish = [this] {
        d->dropIndicatorRect = QRect();
        stopAutoScroll();
        setState(NoState);
        viewport()->update();
    };
    auto refuse = [&] {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        finish();
    };
    if (target.section < 0 || event->source() != this) {
        refuse();
        return;
    }
    const QStringList names = event->mimeData()->text().split(QLatin1Char('|'), Qt::SkipEmptyParts);
    if (!names.isEmpty()
        && QMessageBox::question(this, tr("Move"), tr("Do you want to move the files?"),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes) {
        refuse();
        return;
    }
    const QModelIndex folder = d->sections.at(target.section).folder;
    if (!model()->dropMimeData(event->mimeData(), Qt::MoveAction, target.row, 0, folder)) {
        refuse();
        return;
    }
    int count = 0;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    for (const QModelIndex& index : selected) {
        if (model()->flags(index) & Qt::ItemIsDragEnabled)
            ++count;
    }
    d->currentSection = folder.row();
    QItemSelection inserted;
    if (count > 0)
        inserted.select(model()->index(target.row, 0, folder),
            model()->index(target.row + count - 1, 0, folder));
    selectionModel()->select(inserted, QItemSelectionModel::ClearAndSelect);
    d->dropDone = true;
    event->setDropAction(Qt::MoveAction);
    event->accept();
    finish();
}

} // namespace veldra
