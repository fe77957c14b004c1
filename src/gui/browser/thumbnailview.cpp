#include "thumbnailview.h"

#include "thumbnailmodel.h"
#include "thumbnailview_p.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QPropertyAnimation>
#include <QResizeEvent>
#include <QRubberBand>
#include <QTimer>

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
    , rubberBand(new QRubberBand(QRubberBand::Rectangle, view))
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
}

void ThumbnailViewPrivate::checkHover()
{ }

void ThumbnailViewPrivate::startDrag()
{ }

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
        const QModelIndex from = indexAt(normal.topLeft());
        const QModelIndex to = indexAt(normal.bottomRight());
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
    return QAbstractItemView::eventFilter(watched, event);
}

} // namespace veldra
