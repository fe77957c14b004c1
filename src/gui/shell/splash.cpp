#include "splash.h"

#include "guiresources.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace veldra {

Splash::Splash(QWidget* parent)
    : QWidget(parent,
        Qt::SplashScreen | Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint
            | Qt::WindowStaysOnTopHint)
{
    initGuiResources();
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_TranslucentBackground);
    setPixmap(QPixmap(QStringLiteral(":/splash")));
}

void Splash::setPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    const QSize size = pixmap.deviceIndependentSize().toSize();
    resize(size);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size);
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    repaint();
}

void Splash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_pixmap);
}

void Splash::mousePressEvent(QMouseEvent*)
{
    m_pressed = true;
}

void Splash::mouseReleaseEvent(QMouseEvent*)
{
    if (m_pressed)
        close();
}

} // namespace veldra
