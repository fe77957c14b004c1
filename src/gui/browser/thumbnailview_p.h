#pragma once

#include <QColor>
#include <QModelIndex>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QScrollBar>
#include <QStyle>
#include <QVector>

class QPropertyAnimation;
class QRubberBand;
class QTimer;

namespace veldra {

class ThumbnailView;

// The view's vertical scroll bar; its own type so that it can be told apart
// in event filters and style sheets.
class ThumbnailViewScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    using QScrollBar::QScrollBar;

    // The part of the scroll bar at a point of its own coordinates.
    QStyle::SubControl hitTest(const QPoint& position) const;
};

// One folder of the model as laid out by the view.
struct FolderSection
{
    QModelIndex folder;
    int count = 0; // thumbnails in the folder
    int top = -1; // content coordinates
    int firstItem = -1; // position of the folder's own entry in items
};

// Who started the running scroll animation.
enum ScrollSource { ScrollByCode = 0, ScrollByWheel = 1, ScrollByScrollBar = 2 };

class ThumbnailViewPrivate : public QObject
{
    Q_OBJECT

public:
    explicit ThumbnailViewPrivate(ThumbnailView* view, QWidget* parent);

    QVector<FolderSection> sections;
    QVector<QModelIndex> items;
    mutable QVector<QRect> itemRects;
    int currentSection = -1;
    int firstVisibleSection = -1;
    QRect dropIndicatorRect;
    QRubberBand* rubberBand = nullptr;
    QPoint pressPos;
    QPoint mousePos;
    QModelIndex hoverIndex;
    int hoverOffset = 0;
    double zoomFactor = 1.5;
    bool zoomEnabled = true;
    QColor sectionColors[4]
        = { Qt::transparent, Qt::transparent, Qt::transparent, Qt::transparent };
    int headerHeight = 80;
    bool headersVisible = true;
    int columns = 1;
    int gridSize = 150;
    int minGridSize = 200;
    int maxGridSize = 300;
    int spacing = 15;
    int extraSpacing = 0;
    int sectionScrollOffset = 0;
    QPropertyAnimation* scrollAnimation = nullptr;
    int scrollDuration = 1000;
    int scrollDistance = 0;
    bool scrollUp = false;
    int wheelScrolling = ScrollByCode;
    QTimer* scrollTimer = nullptr;
    int maxAnimatedDistance = 5000;
    QPointer<QWidget> parentWidget;
    QPoint openFolderBoxTopLeft { 10, 10 };
    QPoint openFolderBoxBottomRight { 25, 25 };
    // The section the remembered scroll position is relative to. Taken from
    // the offset itself rather than from the last paint, so a relayout before
    // the first paint (a hidden page) keeps its place as well.
    int anchorSection = -1;
    // Set when this view carried out the drop of its own drag.
    bool dropDone = false;

    ThumbnailView* q = nullptr;

    // Where a drop at a viewport point inserts: the section, the row in its
    // folder and the indicator line (content coordinates). Section -1 when
    // the point refuses drops (a header, nothing).
    struct DropTarget
    {
        int section = -1;
        int row = -1;
        QRect indicator;
    };
    DropTarget dropTarget(const QPoint& position) const;
    // The thumbnail area of a section in viewport coordinates.
    QRect sectionGridInViewport(int section) const;
    QRect rubberBandRect() const;
    void startEdgeScroll(bool up, int distance);
    bool filterScrollBar(QEvent* event);
    bool filterParent(QEvent* event);

    // Geometry, all in content coordinates.
    void updateColumns();
    int rowsOf(int count) const;
    int sectionHeight(int count) const;
    int contentHeight() const;
    // The last section whose top is at or above y; -1 above the first one.
    int sectionAt(int y) const;
    int sectionOf(const QModelIndex& index) const;
    // Position of an index in items, -1 when it is not laid out.
    int itemPosition(const QModelIndex& index) const;
    QRect cellRect(const FolderSection& section, int row) const;
    QRect gridRect(const FolderSection& section) const;
    QRect itemRect(int position) const;
    QRect itemRect(const QModelIndex& index) const;
    QRect openFolderBox(int section) const; // viewport coordinates
    // Positions in items of the thumbnails of a section whose cells meet rect.
    QVector<int> itemsIn(int section, const QRect& rect) const;

    void rememberPosition();
    void clearLayout();
    void animateTo(int target);
    void stopScrolling();
    void checkHover();

Q_SIGNALS:
    void scrollContents();
    void closeZoom();

public Q_SLOTS:
    void startScrollAnimation();
    void scrollFinished();
    void startDrag();
};

} // namespace veldra
