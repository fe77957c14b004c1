#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScrollArea>
#include <QString>
#include <QVector>

class QFrame;
class QHBoxLayout;
class QLabel;
class QObject;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace veldra {

class LayoutAnimation;
class WidgetBar;

// The frame the three recognition pages share: a foldable bar over the photo
// and its buttons, and a result bar over the page's result widget.
struct RecognitionPageFrame
{
    QVBoxLayout* verticalLayout = nullptr;
    WidgetBar* recognizeBar = nullptr;
    QWidget* loadForm = nullptr;
    QVBoxLayout* loadFormLayout = nullptr;
    QLabel* sourceLabel = nullptr;
    QHBoxLayout* buttonLayout = nullptr;
    WidgetBar* resultBar = nullptr;
    LayoutAnimation* animation = nullptr;

    // Builds the frame on page; result is put under the result bar. The
    // buttons are added to buttonLayout by the page.
    void setup(QFrame* page, QWidget* result, const char* recognizeBarName,
        const char* resultBarName, const QString& placeholder);
    // A page button: the button picture behind its text, stretched by the
    // page's event filter (see stretchButtonPicture).
    QToolButton* addButton(QObject* filter, const char* name, bool checkable);
    // Shows the picture scaled into 300 x 300 pixels, aspect ratio kept.
    void showPhoto(const QImage& photo);
};

// A frameless scroll area around a top-left label for the cut-outs or the
// "Empty" text: a row of many cut-outs scrolls instead of widening the page.
QScrollArea* scrolledResultLabel(QWidget* page, QLabel** label);

// Sets the button picture, scaled to the widget's size, as its background.
void stretchButtonPicture(QWidget* widget);

// The cut-outs of the regions side by side on a transparent strip as wide as
// their widths together and as high as the highest, top-aligned. Null when
// there are none.
QPixmap cutoutStrip(const QImage& photo, const QVector<QRect>& regions);

// Asks for a photo with the start folder stored under key (default: the
// sub-folder of the application's "Images" folder) and stores the chosen
// file's folder there. Empty when nothing was chosen.
QString choosePhoto(QWidget* parent, const QString& key, const QString& defaultFolder);

} // namespace veldra
