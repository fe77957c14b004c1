#pragma once

#include <QColor>
#include <QFrame>

namespace veldra {

// A thin separator: a filled ellipse, thickest in the middle and fading to a
// point at both ends.
class Line : public QFrame
{
    Q_OBJECT

public:
    explicit Line(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color = QColor(122, 122, 122);
};

} // namespace veldra
