#include "designslider.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace veldra {

namespace {

// How far from the value line a press still grabs the handle.
constexpr int lineTolerance = 3;

} // namespace

class DesignSliderPrivate
{
public:
    QPixmap pixmap;
    int handleSize = 5;
    int minimum = 0;
    int maximum = 99;
    int value = 0;
    int margin = 1;
    bool valueLine = true;
    QColor normalColor { 0x99, 0x99, 0x99 };
    QColor pressedColor { 0xff, 0x66, 0x00 };
    QPolygon upperHandle;
    QPolygon lowerHandle;
    bool pressed = false;
};

DesignSlider::DesignSlider(QWidget* parent)
    : QWidget(parent)
    , d(std::make_unique<DesignSliderPrivate>())
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateGeometryConstraints();
}

DesignSlider::~DesignSlider() = default;

QPixmap DesignSlider::pixmap() const
{
    return d->pixmap;
}

void DesignSlider::setPixmap(const QPixmap& pixmap)
{
    d->pixmap = pixmap;
    updateGeometryConstraints();
}

int DesignSlider::handleSize() const
{
    return d->handleSize;
}

void DesignSlider::setHandleSize(int size)
{
    size = std::max(0, size);
    if (size == d->handleSize)
        return;
    d->handleSize = size;
    updateGeometryConstraints();
    Q_EMIT handleSizeChanged();
}

int DesignSlider::margin() const
{
    return d->margin;
}

void DesignSlider::setMargin(int margin)
{
    d->margin = std::max(0, margin);
    updateGeometryConstraints();
}

int DesignSlider::minimum() const
{
    return d->minimum;
}

void DesignSlider::setMinimum(int minimum)
{
    setRange(minimum, std::max(minimum, d->maximum));
}

int DesignSlider::maximum() const
{
    return d->maximum;
}

void DesignSlider::setMaximum(int maximum)
{
    setRange(std::min(maximum, d->minimum), maximum);
}

void DesignSlider::setRange(int minimum, int maximum)
{
    d->minimum = minimum;
    d->maximum = std::max(minimum, maximum);
    Q_EMIT rangeChanged(d->minimum, d->maximum);
    setValue(d->value);
    update();
}

bool DesignSlider::valueLine() const
{
    return d->valueLine;
}

void DesignSlider::setValueLine(bool visible)
{
    d->valueLine = visible;
    update();
}

int DesignSlider::value() const
{
    return d->value;
}

bool DesignSlider::isHandlePressed() const
{
    return d->pressed;
}

void DesignSlider::setValue(int _value)
{
    _value = std::clamp(_value, d->minimum, d->maximum);
    if (_value == d->value)
        return;
    d->value = _value;
    update();
    Q_EMIT valueChanged(_value);
}

QRect DesignSlider::pictureRect() const
{
    const int h = d->handleSize;
    // An expanding slider stretches its picture over the width it gets.
    return QRect(h, h + d->margin, std::max(1, width() - 2 * h), d->pixmap.height());
}

int DesignSlider::handlePosition() const
{
    const QRect picture = pictureRect();
    const int span = d->maximum - d->minimum;
    if (span <= 0)
        return picture.left();
    return picture.left()
        + int(std::lround(double(d->value - d->minimum) * (picture.width() - 1) / span));
}

int DesignSlider::valueAt(int x) const
{
    const QRect picture = pictureRect();
    const int offset = std::clamp(x, picture.left(), picture.right()) - picture.left();
    if (picture.width() <= 1)
        return d->minimum;
    return d->minimum
        + int(std::lround(double(offset) * (d->maximum - d->minimum) / (picture.width() - 1)));
}

QSize DesignSlider::sizeHint() const
{
    return minimumSizeHint();
}

QSize DesignSlider::minimumSizeHint() const
{
    const int h = d->handleSize;
    return QSize(d->pixmap.width() + 2 * h, d->pixmap.height() + 2 * (d->margin + h));
}

void DesignSlider::updateGeometryConstraints()
{
    const QSize hint = minimumSizeHint();
    setFixedHeight(hint.height());
    const bool expanding = sizePolicy().horizontalPolicy() & QSizePolicy::ExpandFlag;
    setMinimumWidth(expanding ? 2 * d->handleSize + 1 : hint.width());
    updateGeometry();
    update();
}

void DesignSlider::setExpanding(bool expanding)
{
    setSizePolicy(expanding ? QSizePolicy::Expanding : QSizePolicy::Fixed, QSizePolicy::Fixed);
    updateGeometryConstraints();
}

void DesignSlider::updateHandles()
{
    const int h = d->handleSize;
    const int x = handlePosition();
    const int bottom = height();
    d->upperHandle = QPolygon({ QPoint(x - h, 0), QPoint(x + h, 0), QPoint(x, h) });
    d->lowerHandle
        = QPolygon({ QPoint(x - h, bottom), QPoint(x + h, bottom), QPoint(x, bottom - h) });
}

void DesignSlider::paintEvent(QPaintEvent*)
{
    const int h = d->handleSize;
    const QRect picture = pictureRect();
    const int x = handlePosition();
    const int bottom = height();
    updateHandles();

    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!d->pixmap.isNull())
        painter.drawPixmap(picture, d->pixmap);
    const QColor color = d->pressed ? d->pressedColor : d->normalColor;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(d->upperHandle);
    painter.drawPolygon(d->lowerHandle);
    if (d->valueLine) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        const int top = d->margin == 0 ? h : picture.top();
        const int end = d->margin == 0 ? bottom - h : picture.bottom() + 1;
        painter.fillRect(QRect(x - 1, top, 3, end - top), color);
    }
}

void DesignSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    updateHandles();
    const QRect picture = pictureRect();
    const int x = handlePosition();
    const bool onLine = std::abs(pos.x() - x) <= lineTolerance && pos.y() >= picture.top()
        && pos.y() <= picture.bottom();
    const bool onHandle = onLine || d->upperHandle.containsPoint(pos, Qt::OddEvenFill)
        || d->lowerHandle.containsPoint(pos, Qt::OddEvenFill);
    if (onHandle) {
        d->pressed = true;
    } else if (picture.contains(pos)) {
        // A press on the picture puts the handle there; the drag goes on
        // from there.
        d->pressed = true;
        setValue(valueAt(pos.x()));
    }
    update();
}

void DesignSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (d->pressed)
        setValue(valueAt(event->position().toPoint().x()));
}

void DesignSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (d->pressed && event->button() == Qt::LeftButton) {
        d->pressed = false;
        update();
    }
}

void DesignSlider::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0) {
        event->ignore();
        return;
    }
    // A notch away from the user lowers the value, towards the user raises it.
    setValue(d->value - notches * QApplication::wheelScrollLines());
    event->accept();
}

} // namespace veldra
