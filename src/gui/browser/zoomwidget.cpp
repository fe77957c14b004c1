#include "zoomwidget.h"

#include "thumbnailview.h"
#include "zoomwidget_p.h"

#include "guiresources.h"

#include "indexing/imageloader.h"
#include "shell/config.h"
#include "shell/lumerax.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QSequentialAnimationGroup>
#include <QTimer>
#include <QToolButton>
#include <QVariantAnimation>
#include <QtConcurrent>

namespace veldra {

namespace {

// The full-size picture behind a thumbnail, fitted into a square of side
// pixels. Runs on a pool thread: the controller reaches the index through
// that thread's own connection.
QImage sharperPicture(Lumerax* controller, const QString& thumbnail, int side)
{
    const QString source = controller->sourceImagePath(QFileInfo(thumbnail).fileName());
    const QImage image = loadImage(source);
    if (image.isNull())
        return QImage();
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

// ---------------------------------------------------------------------------
// ZoomWidgetPrivate

ZoomWidgetPrivate::ZoomWidgetPrivate(
    ZoomWidget* widget, ThumbnailView* view, const QModelIndex& index)
    : QObject(widget)
    , index(index)
    , view(view)
    , q(widget)
{
    const int colour = Config::instance()
                           ->value(QStringLiteral("Lumerax"), QStringLiteral("BackgroundColor"), 3)
                           .toInt();
    background = QColor(Qt::GlobalColor(std::clamp(colour, 0, int(Qt::transparent))));

    buttonBar = new QWidget(widget);
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, QColor(150, 150, 150, 200));
    gradient.setColorAt(1, QColor(90, 90, 90, 230));
    QPalette palette = buttonBar->palette();
    palette.setBrush(QPalette::Window, gradient);
    buttonBar->setPalette(palette);
    buttonBar->setAutoFillBackground(true);

    auto makeButton = [this](const QString& icon, const QString& tip) {
        auto* button = new QToolButton(buttonBar);
        button->setAutoRaise(true);
        const QPixmap pixmap(icon);
        button->setIcon(pixmap);
        button->setIconSize(pixmap.size());
        button->setToolTip(tip);
        return button;
    };
    similarButton = makeButton(
        QStringLiteral(":/resources/similarsearch.png"), ZoomWidget::tr("Search similar"));
    faceButton = makeButton(
        QStringLiteral(":/resources/facesearch.png"), ZoomWidget::tr("Recognize faces"));
    similarButton->setObjectName(QStringLiteral("m_similarButton"));
    faceButton->setObjectName(QStringLiteral("m_faceButton"));
    connect(similarButton, &QToolButton::clicked, this, &ZoomWidgetPrivate::findSimilar);
    connect(faceButton, &QToolButton::clicked, this, &ZoomWidgetPrivate::recognize);
    auto* layout = new QHBoxLayout(buttonBar);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    layout->addWidget(similarButton);
    layout->addWidget(faceButton);
    layout->addStretch();

    picture = index.data(Qt::DecorationRole).value<QPixmap>();

    contentAnimation = new QVariantAnimation(this);
    contentAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    contentAnimation->setDuration(300);
    connect(
        contentAnimation, &QVariantAnimation::valueChanged, this, &ZoomWidgetPrivate::scaleContent);
    buttonAnimation = new QVariantAnimation(this);
    buttonAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    buttonAnimation->setDuration(150);
    connect(
        buttonAnimation, &QVariantAnimation::valueChanged, this, &ZoomWidgetPrivate::scaleButtons);
    animation = new QSequentialAnimationGroup(this);
    animation->addAnimation(contentAnimation);
    animation->addAnimation(buttonAnimation);
    connect(animation, &QSequentialAnimationGroup::finished, this,
        &ZoomWidgetPrivate::animationFinished);

    scaleWatcher = new QFutureWatcher<QImage>(this);
    setGeometry();
    connect(view, &ThumbnailView::gridChanged, this, &ZoomWidgetPrivate::setGeometry,
        Qt::QueuedConnection);
    connect(
        scaleWatcher, &QFutureWatcher<QImage>::finished, this, &ZoomWidgetPrivate::scaleFinished);
    QTimer::singleShot(100, this, &ZoomWidgetPrivate::checkMouseOver);
}

QRect ZoomWidgetPrivate::contentRect() const
{
    const QSize size = itemRect.size() * scale;
    const QRect area = q->rect();
    return QRect(area.left() + (area.width() - size.width()) / 2,
        area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

void ZoomWidgetPrivate::passToView(QMouseEvent* event)
{
    if (!view || !index.isValid())
        return;
    // Undo the zoom: the same spot of the thumbnail in the view's viewport.
    const QRect content = contentRect();
    const QPointF offset = QPointF(event->position().toPoint() - content.topLeft()) / scale;
    const QPointF local = QPointF(view->visualRect(index).topLeft()) + offset;
    QMouseEvent passed(event->type(), local, view->viewport()->mapToGlobal(local), event->button(),
        event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(view->viewport(), &passed);
}

void ZoomWidgetPrivate::setGeometry()
{
    if (!view || !index.isValid())
        return;
    const QRect visual = view->visualRect(index);
    itemRect = QRect(view->viewport()->mapToGlobal(visual.topLeft()), visual.size());
    const QSize zoomed = itemRect.size() * view->zoomFactor();
    zoomRect = QRect(QPoint(0, 0), zoomed);
    zoomRect.moveCenter(itemRect.center());
    q->QWidget::setGeometry(zoomRect);

    // The bar rests just below the bottom edge and slides up into view.
    const int barHeight = buttonBar->sizeHint().height();
    barRect = QRect(0, zoomRect.height(), zoomRect.width(), barHeight);
    buttonBar->setGeometry(barRect.translated(0, -int(barOffset)));

    contentAnimation->setStartValue(1.0);
    contentAnimation->setEndValue(view->zoomFactor());
    buttonAnimation->setStartValue(0.0);
    buttonAnimation->setEndValue(double(barHeight));
}

void ZoomWidgetPrivate::scaleContent(const QVariant& _value)
{
    scale = _value.toDouble();
    q->repaint();
}

void ZoomWidgetPrivate::scaleButtons(const QVariant& _value)
{
    barOffset = _value.toDouble();
    buttonBar->setGeometry(barRect.translated(0, -qRound(barOffset)));
}

void ZoomWidgetPrivate::animationFinished()
{
    if (animation->direction() == QAbstractAnimation::Backward) {
        q->close();
        return;
    }
    if (scaled || scaleWatcher->isRunning() || !view)
        return;
    // Once per overlay, and only after it has grown: passing over many
    // thumbnails does not load their full-size pictures.
    if (!index.isValid()) {
        scaleWatcher->setFuture(QtConcurrent::run([] { return QImage(); }));
        return;
    }
    const QString name = index.data(Qt::DisplayRole).toString();
    const int side = int(view->maximumGridSize() * view->zoomFactor());
    Lumerax* controller = Lumerax::instance();
    scaleWatcher->setFuture(QtConcurrent::run(
        [controller, name, side] { return sharperPicture(controller, name, side); }));
}

void ZoomWidgetPrivate::scaleFinished()
{
    scaled = true;
    const QImage image = scaleWatcher->result();
    if (image.isNull())
        return;
    picture = QPixmap::fromImage(image);
    q->update();
}

void ZoomWidgetPrivate::findSimilar()
{
    Q_EMIT q->findSimilar(index.data(Qt::DisplayRole).toString());
    q->close();
}

void ZoomWidgetPrivate::recognize()
{
    const QString name = QFileInfo(index.data(Qt::DisplayRole).toString()).fileName();
    Q_EMIT q->recognizeFaces(Lumerax::instance()->sourceImagePath(name));
    q->close();
}

void ZoomWidgetPrivate::checkMouseOver()
{
    if (closeIfNotEntered)
        q->close();
}

// ---------------------------------------------------------------------------
// ZoomWidget

ZoomWidget::ZoomWidget(ThumbnailView* view, const QModelIndex& index)
    : QWidget(nullptr, Qt::Tool | Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint)
    , d(nullptr)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    initGuiResources();
    d = new ZoomWidgetPrivate(this, view, index);
}

ZoomWidget::~ZoomWidget()
{
    // A computation still running finishes on its own; nobody waits for it.
    d->scaleWatcher->disconnect(d);
}

QModelIndex ZoomWidget::index() const
{
    return d->index;
}

double ZoomWidget::scale() const
{
    return d->scale;
}

bool ZoomWidget::isSharpened() const
{
    return d->scaled && !d->scaleWatcher->result().isNull();
}

void ZoomWidget::scrollContent()
{
    if (!d->view || !d->index.isValid())
        return;
    const QRect visual = d->view->visualRect(d->index);
    d->itemRect = QRect(d->view->viewport()->mapToGlobal(visual.topLeft()), visual.size());
    QRect frame = geometry();
    frame.moveCenter(d->itemRect.center());
    move(frame.topLeft());
}

void ZoomWidget::enterEvent(QEnterEvent* event)
{
    d->closeIfNotEntered = false;
    QAbstractAnimation* group = d->animation;
    const bool grown = group->state() == QAbstractAnimation::Stopped
        && group->direction() == QAbstractAnimation::Forward && group->currentTime() > 0;
    group->setDirection(QAbstractAnimation::Forward);
    if (group->state() != QAbstractAnimation::Running && !grown)
        group->start();
    QWidget::enterEvent(event);
}

void ZoomWidget::leaveEvent(QEvent* event)
{
    QAbstractAnimation* group = d->animation;
    group->setDirection(QAbstractAnimation::Backward);
    if (group->state() != QAbstractAnimation::Running)
        group->start();
    QWidget::leaveEvent(event);
}

void ZoomWidget::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect content = d->contentRect();
    painter.fillRect(content, d->background);
    if (!d->picture.isNull())
        painter.drawPixmap(content, d->picture);
}

void ZoomWidget::mousePressEvent(QMouseEvent* event)
{
    d->pressed = true;
    d->pressPos = event->position().toPoint();
    d->passToView(event);
}

void ZoomWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!d->pressed)
        return;
    if ((event->position().toPoint() - d->pressPos).manhattanLength()
        > QApplication::startDragDistance()) {
        d->pressed = false;
        QCoreApplication::sendPostedEvents();
        Q_EMIT startDrag();
        close();
    }
}

void ZoomWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        d->pressed = false;
    // The view was given the press; it gets the end of the click as well, so
    // a click inside a selection narrows it as a click in the view does.
    d->passToView(event);
}

} // namespace veldra
