#pragma once

#include <QPixmap>
#include <QWidget>

#include <memory>

namespace veldra {

class DesignSliderPrivate;

// A slider drawn as a picture (the groove) with two triangles above and below
// it pointing at the value, and a line across the picture at the value.
class DesignSlider : public QWidget
{
    Q_OBJECT

public:
    explicit DesignSlider(QWidget* parent = nullptr);
    ~DesignSlider() override;

    QPixmap pixmap() const;
    void setPixmap(const QPixmap& pixmap);
    int handleSize() const;
    void setHandleSize(int size);
    int margin() const;
    void setMargin(int margin);
    int minimum() const;
    void setMinimum(int minimum);
    int maximum() const;
    void setMaximum(int maximum);
    void setRange(int minimum, int maximum);
    bool valueLine() const;
    void setValueLine(bool visible);
    int value() const;
    bool isHandlePressed() const;
    // An expanding slider stretches its picture over the width it gets.
    void setExpanding(bool expanding);

    // Where the picture is drawn, and the x of the value's line.
    QRect pictureRect() const;
    int handlePosition() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void handleSizeChanged();
    void valueChanged(int _value);
    void rangeChanged(int _min, int _max);

public Q_SLOTS:
    // Clamped to the range; valueChanged only when the value changes.
    void setValue(int _value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void updateGeometryConstraints();
    void updateHandles();
    int valueAt(int x) const;

    std::unique_ptr<DesignSliderPrivate> d;
};

} // namespace veldra
