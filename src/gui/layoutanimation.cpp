#include "layoutanimation.h"

#include <QAbstractAnimation>
#include <QEasingCurve>
#include <QLayout>
#include <QParallelAnimationGroup>
#include <QPointer>
#include <QPropertyAnimation>
#include <QWidget>

namespace veldra {

class LayoutAnimationPrivate
{
public:
    QPointer<QLayout> layout;
    QParallelAnimationGroup* group = nullptr;
    QPointer<QWidget> widget; // the widget being folded in or out
    bool hiding = false; // where the current run ends
    QSize parentMinimum;
    int duration = 500;

    QList<QWidget*> widgets() const
    {
        QList<QWidget*> list;
        for (int i = 0; layout && i < layout->count(); ++i) {
            if (QWidget* w = layout->itemAt(i)->widget())
                list << w;
        }
        return list;
    }
};

LayoutAnimation::LayoutAnimation(QLayout* layout, QObject* parent)
    : QObject(parent)
    , d(std::make_unique<LayoutAnimationPrivate>())
{
    d->layout = layout;
    d->group = new QParallelAnimationGroup(this);
    connect(
        d->group, &QParallelAnimationGroup::finished, this, &LayoutAnimation::animationFinished);
}

LayoutAnimation::~LayoutAnimation() = default;

bool LayoutAnimation::isRunning() const
{
    return d->group->state() == QAbstractAnimation::Running;
}

int LayoutAnimation::duration() const
{
    return d->duration;
}

void LayoutAnimation::toggleWidget(QWidget* _widget)
{
    if (!_widget || !d->layout)
        return;
    if (isRunning()) {
        d->group->setDirection(d->group->direction() == QAbstractAnimation::Forward
                ? QAbstractAnimation::Backward
                : QAbstractAnimation::Forward);
        d->hiding = !d->hiding;
        return;
    }
    QWidget* parent = d->layout->parentWidget();
    if (!parent || !parent->isVisible() || d->layout->indexOf(_widget) < 0) {
        // Nothing to watch: change the visibility at once.
        _widget->setVisible(_widget->isHidden());
        return;
    }

    d->widget = _widget;
    d->hiding = _widget->isVisible();
    const QList<QWidget*> widgets = d->widgets();

    QList<QRect> starts;
    for (QWidget* w : widgets)
        starts << w->geometry();

    // Let the layout place everything with the new visibility, and read the
    // end rectangles back.
    _widget->setVisible(!d->hiding);
    d->layout->invalidate();
    d->layout->activate();
    QList<QRect> ends;
    for (QWidget* w : widgets)
        ends << w->geometry();

    const int index = widgets.indexOf(_widget);
    if (d->hiding) {
        // The folding widget shrinks to nothing at its top edge.
        ends[index] = QRect(starts[index].topLeft(), QSize(starts[index].width(), 0));
        _widget->setVisible(true);
    } else {
        starts[index] = QRect(ends[index].topLeft(), QSize(ends[index].width(), 0));
    }

    d->parentMinimum = parent->minimumSize();
    parent->setMinimumSize(parent->size().expandedTo(d->parentMinimum));
    d->layout->setEnabled(false);

    d->group->clear();
    d->group->setDirection(QAbstractAnimation::Forward);
    for (int i = 0; i < widgets.size(); ++i) {
        widgets[i]->setGeometry(starts[i]);
        auto* animation = new QPropertyAnimation(widgets[i], "geometry", d->group);
        animation->setStartValue(starts[i]);
        animation->setEndValue(ends[i]);
        animation->setEasingCurve(QEasingCurve::OutBack);
        animation->setDuration(d->duration);
        d->group->addAnimation(animation);
    }
    d->group->start();
}

void LayoutAnimation::animationFinished()
{
    if (d->widget)
        d->widget->setVisible(!d->hiding);
    if (QWidget* parent = d->layout ? d->layout->parentWidget() : nullptr)
        parent->setMinimumSize(d->parentMinimum);
    if (d->layout) {
        d->layout->setEnabled(true);
        d->layout->invalidate();
        d->layout->activate();
    }
    d->group->clear();
}

} // namespace veldra
