#pragma once

#include <QObject>

#include <memory>

class QLayout;
class QWidget;

namespace veldra {

class LayoutAnimationPrivate;

// Folds a widget of a layout in and out: every widget of the layout glides
// from its place to the place it has with the widget shown or hidden.
class LayoutAnimation : public QObject
{
    Q_OBJECT

public:
    explicit LayoutAnimation(QLayout* layout, QObject* parent = nullptr);
    ~LayoutAnimation() override;

    bool isRunning() const;
    // Length of one run in milliseconds (500).
    int duration() const;

public Q_SLOTS:
    // Shows a hidden widget or hides a shown one; during a run it reverses
    // the run instead.
    void toggleWidget(QWidget* _widget);

private Q_SLOTS:
    void animationFinished();

private:
    std::unique_ptr<LayoutAnimationPrivate> d;
};

} // namespace veldra
