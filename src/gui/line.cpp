#include "line.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOptionFrame>

namespace veldra {

Line::Line(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(3);
}

void Line::setColor(const QColor& color)
{
    m_color = color;
    update();
}

QSize Line::sizeHint() const
{
    return QSize(100, 3);
}

void Line::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0)
        return;
    QPixmap pixmap(size());
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addEllipse(QRectF(rect()));
        painter.fillPath(path, m_color);
    }
    QStyleOptionFrame option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawItemPixmap(&painter, option.rect, Qt::AlignCenter, pixmap);
}

} // namespace veldra
