#pragma once

#include <QString>

class QFrame;
class QVBoxLayout;
class QWidget;

namespace veldra {

class LayoutAnimation;
class ThumbnailModel;
class ThumbnailWidget;
class WidgetBar;

// The frame the three search pages share: a clickable search bar over the
// input controls (a click folds them in or out), and a result bar over a
// thumbnail widget showing the page's own model without folder headers.
struct SearchPageFrame
{
    QVBoxLayout* layout = nullptr;
    WidgetBar* searchBar = nullptr;
    QWidget* input = nullptr;
    WidgetBar* resultBar = nullptr;
    ThumbnailWidget* resultView = nullptr;
    ThumbnailModel* model = nullptr;
    LayoutAnimation* animation = nullptr;

    // Builds the frame on page around input; the object names are those the
    // style sheets and the main window use.
    void setup(QFrame* page, QWidget* input, const char* searchBarName, const char* resultBarName,
        const char* resultViewName);
};

} // namespace veldra
