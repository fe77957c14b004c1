#include "searchpageframe.h"

#include "browser/thumbnailmodel.h"
#include "browser/thumbnailwidget.h"
#include "layoutanimation.h"
#include "stylesheets.h"
#include "widgetbar.h"

#include <QFrame>
#include <QSignalMapper>
#include <QVBoxLayout>

namespace veldra {

void SearchPageFrame::setup(QFrame* page, QWidget* inputWidget, const char* searchBarName,
    const char* resultBarName, const char* resultViewName)
{
    input = inputWidget;
    layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    searchBar = new WidgetBar(page);
    searchBar->setObjectName(QLatin1String(searchBarName));
    searchBar->setStyleSheet(searchBarStyleSheet());
    searchBar->setToggleButtonVisible(true);
    searchBar->setFixedHeight(26);

    resultBar = new WidgetBar(page);
    resultBar->setObjectName(QLatin1String(resultBarName));
    resultBar->setStyleSheet(resultBarStyleSheet());
    resultBar->setFixedHeight(26);

    resultView = new ThumbnailWidget(page);
    resultView->setObjectName(QLatin1String(resultViewName));

    layout->addWidget(searchBar);
    layout->addWidget(input);
    layout->addSpacing(6);
    layout->addWidget(resultBar);
    layout->addWidget(resultView, 1);

    animation = new LayoutAnimation(layout, page);
    auto* mapper = new QSignalMapper(page);
    mapper->setMapping(searchBar, input);
    QObject::connect(searchBar, &WidgetBar::clicked, mapper, qOverload<>(&QSignalMapper::map));
    LayoutAnimation* folding = animation;
    QObject::connect(mapper, &QSignalMapper::mappedObject, folding,
        [folding](QObject* widget) { folding->toggleWidget(qobject_cast<QWidget*>(widget)); });

    model = new ThumbnailModel(page);
    resultView->setModel(model);
    resultView->setHeadersVisible(false);
}

} // namespace veldra
