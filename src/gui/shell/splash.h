#pragma once

#include <QPixmap>
#include <QWidget>

namespace veldra {

// The picture shown while the application starts: frameless, on top, centred
// on the primary screen, see-through where the picture is. A click closes it.
class Splash : public QWidget
{
    Q_OBJECT

public:
    explicit Splash(QWidget* parent = nullptr);

    QPixmap pixmap() const { return m_pixmap; }
    // Takes the picture's size and moves to the centre of the primary screen.
    void setPixmap(const QPixmap& pixmap);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap m_pixmap;
    bool m_pressed = false;
};

} // namespace veldra
