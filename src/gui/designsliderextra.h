#pragma once

#include <QPixmap>
#include <QWidget>

#include <memory>

namespace veldra {

class DesignSlider;
class DesignSliderExtraPrivate;

// A DesignSlider with a title and a second title above it and a text at
// either end.
class DesignSliderExtra : public QWidget
{
    Q_OBJECT

public:
    enum Label { Title = 0, SecondTitle = 1, LeftText = 2, RightText = 3 };

    explicit DesignSliderExtra(QWidget* parent = nullptr);
    ~DesignSliderExtra() override;

    DesignSlider* slider() const;

    void setPixmap(const QPixmap& pixmap);
    void setRange(int minimum, int maximum);
    void setMinimum(int minimum);
    void setMaximum(int maximum);
    int minimum() const;
    int maximum() const;
    int value() const;
    void setHandleSize(int size);
    void setMargin(int margin);
    void setValueLine(bool visible);

    // Index 0 title, 1 second title, 2 left text, 3 right text.
    void setText(int index, const QString& text);
    QString text(int index) const;
    void setExpanding(bool expanding);

Q_SIGNALS:
    void valueChanged(int _value);
    void rangeChanged(int _min, int _max);

public Q_SLOTS:
    void setValue(int _value);

private:
    std::unique_ptr<DesignSliderExtraPrivate> d;
};

} // namespace veldra
