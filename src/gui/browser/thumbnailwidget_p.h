#pragma once

#include <QObject>

class QAction;
class QMenu;
class QSlider;

namespace veldra {

class ThumbnailView;
class ThumbnailWidget;

class ThumbnailWidgetPrivate : public QObject
{
    Q_OBJECT

public:
    explicit ThumbnailWidgetPrivate(ThumbnailWidget* widget);

    QMenu* menu = nullptr;
    QAction* similarAction = nullptr;
    QAction* compareAction = nullptr;
    QAction* removeAction = nullptr;
    ThumbnailView* view = nullptr;
    QSlider* slider = nullptr;
    ThumbnailWidget* q = nullptr;

    void retranslate();

public Q_SLOTS:
    void restoreOffset();
    void actionTriggered();
};

} // namespace veldra
