#include "palettewidget.h"

#include "features/colorbins.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

namespace veldra {

namespace {

int cellIndex(int coordinate, int count)
{
    const int index
        = coordinate / PaletteWidget::pitch - (coordinate % PaletteWidget::pitch == 0 ? 1 : 0);
    return coordinate >= 0 && index >= 0 && index < count ? index : -1;
}

} // namespace

PaletteWidget::PaletteWidget(QWidget* parent)
    : QLabel(parent)
{
    QPixmap pixmap(columns * pitch + 1, rows * pitch + 1);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            painter.fillRect(
                column * pitch + 1, row * pitch + 1, cellSize, cellSize, pickerColor(column, row));
    }
    painter.end();
    setPixmap(pixmap);
    setFixedSize(pixmap.size());
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::PointingHandCursor);
}

QPoint PaletteWidget::cellAt(const QPoint& pos)
{
    const int column = cellIndex(pos.x(), columns);
    const int row = cellIndex(pos.y(), rows);
    if (column < 0 || row < 0)
        return QPoint(-1, -1);
    return QPoint(column, row);
}

bool PaletteWidget::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint cell = cellAt(help->pos());
        if (cell.x() >= 0)
            QToolTip::showText(help->globalPos(), pickerColor(cell.x(), cell.y()).name(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void PaletteWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint cell = cellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell.x() >= 0)
        Q_EMIT clicked(pickerColor(cell.x(), cell.y()));
    QLabel::mouseReleaseEvent(event);
}

} // namespace veldra
