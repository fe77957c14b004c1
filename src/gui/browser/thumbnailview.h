#pragma once

#include <QAbstractItemView>

namespace veldra {

class ThumbnailViewPrivate;

// Folder sections stacked vertically: a header band with the folder's title
// and picture count, then a grid of square cells with its thumbnails.
class ThumbnailView : public QAbstractItemView
{
    Q_OBJECT

public:
    explicit ThumbnailView(QWidget* parent = nullptr);
    ~ThumbnailView() override;

    int gridSize() const;
    int minimumGridSize() const;
    int maximumGridSize() const;
    double zoomFactor() const;
    int columns() const;
    int extraSpacing() const;
    int headerHeight() const;

    bool headersVisible() const;
    void setHeadersVisible(bool visible);

    // Whether resting the mouse on a thumbnail opens the zoom overlay.
    bool isZoomEnabled() const;
    void setZoomEnabled(bool enabled);

    // Backgrounds of the header band, the thumbnail band, and both for the
    // section last pressed; transparent by default.
    void setSectionColors(const QColor& header, const QColor& thumbnails,
        const QColor& currentHeader, const QColor& currentThumbnails);

    // Where the open-folder box of a folder's header lies, in viewport
    // coordinates; null for anything but a laid-out folder.
    QRect openFolderBox(const QModelIndex& folder) const;

    void setModel(QAbstractItemModel* model) override;
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void reset() override;
    void doItemsLayout() override;

public Q_SLOTS:
    void setGridSize(int _val);

Q_SIGNALS:
    void gridChanged(int _val);
    void firstVisibleItemChanged(const QModelIndex& _index);
    void findSimilar(const QString& _name);
    void recognizeFaces(const QString& _name);

protected Q_SLOTS:
    void dataChanged(const QModelIndex& _topLeft, const QModelIndex& _bottomRight,
        const QList<int>& roles = QList<int>()) override;
    void rowsInserted(const QModelIndex& _parent, int _start, int _end) override;
    void rowsAboutToBeRemoved(const QModelIndex& _parent, int _start, int _end) override;
    void updateGeometries() override;

protected:
    void scrollContentsBy(int dx, int dy) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;
    void startDrag(Qt::DropActions supportedActions) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class ThumbnailViewPrivate;
    ThumbnailViewPrivate* d;
};

} // namespace veldra
