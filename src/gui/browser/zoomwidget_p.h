#pragma once

#include <QColor>
#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QVariant>

class QMouseEvent;
class QSequentialAnimationGroup;
class QToolButton;
class QVariantAnimation;
class QWidget;

namespace veldra {

class ThumbnailView;
class ZoomWidget;

class ZoomWidgetPrivate : public QObject
{
    Q_OBJECT

public:
    ZoomWidgetPrivate(ZoomWidget* widget, ThumbnailView* view, const QModelIndex& index);

    QSequentialAnimationGroup* animation = nullptr;
    QPersistentModelIndex index;
    QPixmap picture;
    QColor background;
    QWidget* buttonBar = nullptr;
    QToolButton* similarButton = nullptr;
    QToolButton* faceButton = nullptr;
    QRect itemRect; // global coordinates
    QRect zoomRect; // global coordinates
    QRect barRect;
    double barOffset = 0;
    double scale = 1.0;
    QFutureWatcher<QImage>* scaleWatcher = nullptr;
    bool scaled = false;
    bool pressed = false;
    QPoint pressPos;
    bool closeIfNotEntered = true;
    QPointer<ThumbnailView> view;

    QVariantAnimation* contentAnimation = nullptr;
    QVariantAnimation* buttonAnimation = nullptr;
    ZoomWidget* q = nullptr;

    // The picture's rectangle at the current scale, in overlay coordinates.
    QRect contentRect() const;
    // Sends a press or release to the view's viewport at the matching point.
    void passToView(QMouseEvent* event);

public Q_SLOTS:
    void setGeometry();
    void animationFinished();
    void scaleFinished();
    void scaleContent(const QVariant& _value);
    void scaleButtons(const QVariant& _value);
    void findSimilar();
    void recognize();
    void checkMouseOver();
};

} // namespace veldra
