#pragma once

#include <QColor>
#include <QLabel>

namespace veldra {

// The colour grid of the colour search: 18 columns by 10 rows of 16 x 16
// cells on 1-pixel black lines; a click on a cell reports its colour.
class PaletteWidget : public QLabel
{
    Q_OBJECT

public:
    static constexpr int columns = 18;
    static constexpr int rows = 10;
    static constexpr int cellSize = 16;
    static constexpr int pitch = cellSize + 1;

    explicit PaletteWidget(QWidget* parent = nullptr);

    // The cell (column, row) under a widget position; a point on a right or
    // bottom grid line belongs to the cell before it. (-1, -1) off the grid.
    static QPoint cellAt(const QPoint& pos);

Q_SIGNALS:
    void clicked(const QColor& _color);

protected:
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace veldra
