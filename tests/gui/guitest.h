#pragma once

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

namespace veldra::test {

// Shows a widget and waits until it is on the screen.
inline bool exposed(QWidget* widget)
{
    widget->show();
    return QTest::qWaitForWindowExposed(widget);
}

// The widget and its children drawn onto a background.
inline QImage rendered(QWidget* widget, const QColor& background = Qt::transparent)
{
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(background);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// A turn of the wheel in the middle of the widget; 120 is one notch away
// from the user.
inline void turnWheel(QWidget* widget, int delta, Qt::KeyboardModifiers modifiers = {})
{
    const QPointF pos = QRectF(widget->rect()).center();
    QWheelEvent event(pos, widget->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
        modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// Hands the next modal dialog of type T, once it is open, to answer.
template <typename T, typename F> void whenModal(F answer)
{
    QTimer::singleShot(0, [=] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            answer(dialog);
        else
            whenModal<T>(answer);
    });
}

} // namespace veldra::test
