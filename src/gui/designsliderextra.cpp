#include "designsliderextra.h"

#include "designslider.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace veldra {

class DesignSliderExtraPrivate : public QObject
{
    Q_OBJECT

public:
    DesignSlider* slider = nullptr;
    QLabel* labels[4] = {};
    QHBoxLayout* titleLayout = nullptr;

public Q_SLOTS:
    // The titles line up with the ends of the picture, and both end texts
    // get the same width so the picture stays centred.
    void setMargins()
    {
        const int handle = slider->handleSize();
        const int ends = std::max(labels[DesignSliderExtra::LeftText]->sizeHint().width(),
            labels[DesignSliderExtra::RightText]->sizeHint().width());
        for (int index : { DesignSliderExtra::LeftText, DesignSliderExtra::RightText })
            labels[index]->setMinimumWidth(ends);
        titleLayout->setContentsMargins(ends + handle, 0, ends + handle, 0);
    }
};

DesignSliderExtra::DesignSliderExtra(QWidget* parent)
    : QWidget(parent)
    , d(std::make_unique<DesignSliderExtraPrivate>())
{
    d->slider = new DesignSlider(this);
    d->slider->setObjectName(QStringLiteral("m_slider"));
    for (int i = 0; i < 4; ++i) {
        d->labels[i] = new QLabel(this);
        d->labels[i]->setObjectName(QStringLiteral("m_label%1").arg(i));
    }
    d->labels[SecondTitle]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    d->labels[LeftText]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    d->labels[RightText]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    d->titleLayout = new QHBoxLayout();
    d->titleLayout->addWidget(d->labels[Title]);
    d->titleLayout->addStretch(1);
    d->titleLayout->addWidget(d->labels[SecondTitle]);
    layout->addLayout(d->titleLayout);
    auto* sliderLayout = new QHBoxLayout();
    sliderLayout->setSpacing(6);
    sliderLayout->addWidget(d->labels[LeftText]);
    sliderLayout->addWidget(d->slider);
    sliderLayout->addWidget(d->labels[RightText]);
    layout->addLayout(sliderLayout);

    connect(d->slider, &DesignSlider::valueChanged, this, &DesignSliderExtra::valueChanged);
    connect(d->slider, &DesignSlider::rangeChanged, this, &DesignSliderExtra::rangeChanged);
    connect(d->slider, &DesignSlider::handleSizeChanged, d.get(),
        &DesignSliderExtraPrivate::setMargins);
    connect(d->slider, &DesignSlider::rangeChanged, d.get(), &DesignSliderExtraPrivate::setMargins);
    d->setMargins();
}

DesignSliderExtra::~DesignSliderExtra() = default;

DesignSlider* DesignSliderExtra::slider() const
{
    return d->slider;
}

void DesignSliderExtra::setPixmap(const QPixmap& pixmap)
{
    d->slider->setPixmap(pixmap);
}

void DesignSliderExtra::setRange(int minimum, int maximum)
{
    d->slider->setRange(minimum, maximum);
}

void DesignSliderExtra::setMinimum(int minimum)
{
    d->slider->setMinimum(minimum);
}

void DesignSliderExtra::setMaximum(int maximum)
{
    d->slider->setMaximum(maximum);
}

int DesignSliderExtra::minimum() const
{
    return d->slider->minimum();
}

int DesignSliderExtra::maximum() const
{
    return d->slider->maximum();
}

int DesignSliderExtra::value() const
{
    return d->slider->value();
}

void DesignSliderExtra::setValue(int _value)
{
    d->slider->setValue(_value);
}

void DesignSliderExtra::setHandleSize(int size)
{
    d->slider->setHandleSize(size);
}

void DesignSliderExtra::setMargin(int margin)
{
    d->slider->setMargin(margin);
}

void DesignSliderExtra::setValueLine(bool visible)
{
    d->slider->setValueLine(visible);
}

void DesignSliderExtra::setText(int index, const QString& text)
{
    if (index < 0 || index > RightText)
        return;
    d->labels[index]->setText(text);
    if (index == LeftText || index == RightText)
        d->setMargins();
}

QString DesignSliderExtra::text(int index) const
{
    return index >= 0 && index <= RightText ? d->labels[index]->text() : QString();
}

void DesignSliderExtra::setExpanding(bool expanding)
{
    const QSizePolicy::Policy policy = expanding ? QSizePolicy::Expanding : QSizePolicy::Preferred;
    setSizePolicy(policy, QSizePolicy::Fixed);
    d->slider->setExpanding(expanding);
}

} // namespace veldra

#include "designsliderextra.moc"
