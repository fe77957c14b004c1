#include "designslider.h"
#include "designsliderextra.h"
#include "features/colorbins.h"
#include "gui/guitest.h"
#include "layoutanimation.h"
#include "line.h"
#include "palettewidget.h"
#include "proxystyle.h"
#include "selectcolordialog.h"
#include "stylesheets.h"
#include "toolbar.h"
#include "topbar.h"
#include "widgetbar.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>

using namespace veldra;
using namespace veldra::test;

namespace {

QPixmap groove(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(QColor(150, 150, 150));
    return pixmap;
}

bool sameImage(const QIcon& icon, const QString& path)
{
    const QImage expected(path);
    return !expected.isNull()
        && icon.pixmap(expected.size())
               .toImage()
               .convertToFormat(QImage::Format_ARGB32_Premultiplied)
        == expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A frameless window with the title bar on top, as the main window has it.
struct Window
{
    QWidget window;
    TopBar* bar = new TopBar(&window);

    Window()
    {
        window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(bar);
        layout->addStretch(1);
        bar->setWindow(&window);
        window.setGeometry(100, 100, 640, 400);
        QVERIFY(exposed(&window));
    }

    // Presses on the bar and releases after moving by offset.
    void drag(const QPoint& offset)
    {
        const QPoint start(300, 10);
        QTest::mousePress(bar, Qt::LeftButton, {}, start);
        QTest::mouseMove(bar, start + offset);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, start + offset);
    }
};

// Pixels of exactly this colour in the lower half (the text) of a button.
int textPixels(const QImage& image, const QRect& button, const QColor& color)
{
    int count = 0;
    for (int y = button.center().y(); y <= button.bottom(); ++y)
        for (int x = button.left(); x <= button.right(); ++x)
            count += image.pixelColor(x, y) == color ? 1 : 0;
    return count;
}

} // namespace

// The bars and the search controls, in the application's style.
class TestControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setStyle(new ProxyStyle); }

    void pixelFont()
    {
        QCOMPARE(QApplication::font().family(), QString(pixelFontFamily));

        // A widget that is drawn gets the application font.
        QLabel label("x");
        label.setFont(QFont("Monospace", 30));
        label.grab();
        QCOMPARE(label.font().family(), QString(pixelFontFamily));
    }

    void frameButtons()
    {
        Window w;
        QTest::mouseClick(w.bar->minimizeButton(), Qt::LeftButton);
        QTRY_VERIFY(w.window.isMinimized());
        w.window.showNormal();
        QTest::mouseClick(w.bar->closeButton(), Qt::LeftButton);
        QVERIFY(!w.window.isVisible());
    }

    void dragging()
    {
        Window w;
        const QPoint start = w.window.pos();
        w.drag(QPoint(50, 20));
        QTRY_COMPARE(w.window.pos(), start + QPoint(50, 20));

        // Moving without a press does nothing.
        QTest::mouseMove(w.bar, QPoint(10, 10));
        QCOMPARE(w.window.pos(), start + QPoint(50, 20));

        // A maximised window stays where it is.
        QTest::mouseClick(w.bar->maximizeButton(), Qt::LeftButton);
        QTRY_VERIFY(w.window.isMaximized());
        const QPoint maximized = w.window.pos();
        w.drag(QPoint(40, 30));
        QCOMPARE(w.window.pos(), maximized);

        // Restored, it moves again.
        QTest::mouseClick(w.bar->maximizeButton(), Qt::LeftButton);
        QTRY_VERIFY(!w.window.isMaximized());
        const QPoint restored = w.window.pos();
        w.drag(QPoint(-20, 5));
        QTRY_COMPARE(w.window.pos(), restored + QPoint(-20, 5));
    }

    void doubleClickMaximizes()
    {
        Window w;
        const QString maximize = QStringLiteral(":/topbar/Resources/maximieren.png");
        const QString restore = QStringLiteral(":/topbar/Resources/kleiner.png");
        QVERIFY(sameImage(w.bar->maximizeButton()->icon(), maximize));

        QTest::mouseDClick(w.bar, Qt::LeftButton, {}, QPoint(300, 10));
        QTRY_VERIFY(w.window.isMaximized());
        QTRY_VERIFY(sameImage(w.bar->maximizeButton()->icon(), restore));

        QTest::mouseDClick(w.bar, Qt::LeftButton, {}, QPoint(300, 10));
        QTRY_VERIFY(!w.window.isMaximized());
        QTRY_VERIFY(sameImage(w.bar->maximizeButton()->icon(), maximize));
    }

    void mirror()
    {
        Window w;
        const QImage image = w.bar->mirror()->pixmap().toImage();
        QCOMPARE(image.size(), QSize(640, w.bar->mirror()->height()));
        // Reflected bar: orange in the middle, fading downwards, gone by half.
        const QColor top = image.pixelColor(320, 0);
        QVERIFY(top.alpha() > 60);
        QVERIFY(top.red() > top.blue());
        QVERIFY(image.pixelColor(320, image.height() / 4).alpha() < top.alpha());
        QCOMPARE(image.pixelColor(320, image.height() - 1).alpha(), 0);
    }

    void toolBarIcons()
    {
        ToolBar bar;
        const QString dir = QStringLiteral(":/icons/resources/icons/");
        const QList<QPair<QToolButton*, QString>> pages = {
            { bar.searchColorButton(), "icon-color" },
            { bar.searchMoodButton(), "icon-mood" },
            { bar.recognizeFacesButton(), "icon-faces" },
            { bar.recognizeLicenseButton(), "icon-nummernschild" },
            { bar.recognizeCharacterButton(), "icon-ocr" },
        };
        auto inactive = [&](const QString& name) {
            return dir + name + (name == "icon-mood" ? "-inactiv.png" : "-inaktiv.png");
        };
        QVERIFY(exposed(&bar));
        for (const auto& page : pages)
            QVERIFY(sameImage(page.first->icon(), inactive(page.second)));

        QTest::mouseClick(bar.searchMoodButton(), Qt::LeftButton);
        for (const auto& page : pages) {
            const bool checked = page.first == bar.searchMoodButton();
            QCOMPARE(page.first->isChecked(), checked);
            QVERIFY(sameImage(
                page.first->icon(), checked ? dir + page.second + ".png" : inactive(page.second)));
        }

        // Home checks the invisible dummy: no page button is selected.
        QTest::mouseClick(bar.homeButton(), Qt::LeftButton);
        QVERIFY(bar.dummyButton()->isChecked());
        QVERIFY(!bar.dummyButton()->isVisible());
        for (const auto& page : pages) {
            QVERIFY(!page.first->isChecked());
            QVERIFY(sameImage(page.first->icon(), inactive(page.second)));
        }
    }

    void toolBarTextColor_data()
    {
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("other");
        QTest::newRow("black background") << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("white background") << QColor(Qt::black) << QColor(Qt::white);
    }

    void toolBarTextColor()
    {
        QFETCH(QColor, text);
        QFETCH(QColor, other);
        ToolBar bar;
        bar.resize(900, 70);
        QVERIFY(exposed(&bar));
        bar.updateButtons(text);
        bar.searchColorButton()->click();
        const QImage image = rendered(&bar, QColor(90, 90, 90));
        const QRect checked = bar.searchColorButton()->geometry();
        const QRect unchecked = bar.searchMoodButton()->geometry();
        QVERIFY(textPixels(image, checked, text) > 10);
        QCOMPARE(textPixels(image, checked, other), 0);
        QCOMPARE(textPixels(image, unchecked, text), 0);
        QVERIFY(textPixels(image, unchecked, QColor(150, 150, 150)) > 10);
    }

    void widgetBar()
    {
        WidgetBar bar;
        bar.setText("Color search");
        bar.resize(300, 24);
        QVERIFY(exposed(&bar));
        QSignalSpy clicked(&bar, &WidgetBar::clicked);

        bar.setToggleButtonVisible(false);
        QVERIFY(!bar.toggleButton());
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(50, 10));
        QCOMPARE(clicked.size(), 0);

        bar.setToggleButtonVisible(true);
        QToolButton* button = bar.toggleButton();
        QVERIFY(button && button->isVisible() && button->isCheckable());
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(50, 10));
        QCOMPARE(clicked.size(), 1);
        QVERIFY(button->isChecked());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.size(), 2);
        QVERIFY(!button->isChecked());

        bar.setToggleButtonVisible(false);
        QCOMPARE(bar.toggleButton(), button);
        QVERIFY(!button->isVisible());
    }

    void line()
    {
        Line line;
        line.setColor(QColor(255, 125, 0));
        line.resize(200, 3);
        const QImage image = rendered(&line);
        // Full in the middle, tapering to nothing at the ends.
        QCOMPARE(image.pixelColor(100, 1), QColor(255, 125, 0));
        QVERIFY(image.pixelColor(0, 0).alpha() < 40);
        QVERIFY(image.pixelColor(199, 2).alpha() < 40);
    }
    void paletteShowsEveryPickerColour()
    {
        PaletteWidget palette;
        QCOMPARE(palette.size(), QSize(307, 171));
        const QImage image = palette.pixmap().toImage();
        // Every pixel of a cell has its colour; the grid lines around it are black.
        for (int row = 0; row < 10; ++row) {
            for (int column = 0; column < 18; ++column) {
                const QRect cell(column * 17 + 1, row * 17 + 1, 16, 16);
                for (const QPoint& p : { cell.topLeft(), cell.bottomRight(), cell.center() })
                    QCOMPARE(image.pixelColor(p), pickerColor(column, row));
                QCOMPARE(image.pixelColor(cell.topLeft() - QPoint(1, 1)), QColor(Qt::black));
                QCOMPARE(image.pixelColor(cell.bottomRight() + QPoint(1, 1)), QColor(Qt::black));
            }
        }
    }

    void paletteHitTesting_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QPoint>("cell");
        QTest::newRow("first cell") << QPoint(1, 1) << QPoint(0, 0);
        QTest::newRow("outer top-left line") << QPoint(0, 0) << QPoint(-1, -1);
        QTest::newRow("outer left line") << QPoint(0, 5) << QPoint(-1, -1);
        QTest::newRow("line right of the first cell") << QPoint(17, 5) << QPoint(0, 0);
        QTest::newRow("line below the first cell") << QPoint(5, 17) << QPoint(0, 0);
        QTest::newRow("just past that line") << QPoint(18, 18) << QPoint(1, 1);
        QTest::newRow("last pixel of a cell") << QPoint(16, 16) << QPoint(0, 0);
        QTest::newRow("outer right line") << QPoint(306, 5) << QPoint(17, 0);
        QTest::newRow("outer bottom line") << QPoint(5, 170) << QPoint(0, 9);
        QTest::newRow("bottom-right corner") << QPoint(306, 170) << QPoint(17, 9);
        QTest::newRow("right of the grid") << QPoint(307, 5) << QPoint(-1, -1);
        QTest::newRow("below the grid") << QPoint(5, 171) << QPoint(-1, -1);
        QTest::newRow("negative") << QPoint(-3, 5) << QPoint(-1, -1);
    }

    void paletteHitTesting()
    {
        QFETCH(QPoint, pos);
        QFETCH(QPoint, cell);
        QCOMPARE(PaletteWidget::cellAt(pos), cell);
    }

    void paletteClicks()
    {
        PaletteWidget palette;
        QVERIFY(exposed(&palette));
        QSignalSpy clicked(&palette, &PaletteWidget::clicked);
        QTest::mouseClick(&palette, Qt::LeftButton, {}, QPoint(306, 170));
        // (A null point would mean the centre to QTest.)
        QTest::mouseClick(&palette, Qt::LeftButton, {}, QPoint(0, 1));
        QTest::mouseClick(&palette, Qt::RightButton, {}, QPoint(20, 20));
        QTest::mouseClick(&palette, Qt::LeftButton, {}, QPoint(17 * 3 + 5, 17 * 4 + 5));
        QCOMPARE(clicked, QList<QVariantList>({ { QColor(0, 0, 0) }, { QColor(255, 255, 0) } }));
    }

    void selectedColors()
    {
        SelectColorDialog dialog;
        QVERIFY(exposed(&dialog));
        QSignalSpy changed(&dialog, &SelectColorDialog::selectionChanged);
        PaletteWidget* palette = dialog.paletteWidget();
        const QPoint red(17 * 0 + 8, 17 * 4 + 8);
        const QPoint white(17 * 0 + 8, 17 * 9 + 8);

        // The same cell twice gives the colour twice, each time with the whole list.
        QTest::mouseClick(palette, Qt::LeftButton, {}, red);
        QTest::mouseClick(palette, Qt::LeftButton, {}, red);
        QTest::mouseClick(palette, Qt::LeftButton, {}, white);
        QCOMPARE(changed.size(), 3);
        QCOMPARE(changed[1][0].value<QVector<QColor>>(), (QVector<QColor> { Qt::red, Qt::red }));
        QCOMPARE(dialog.selectedColors(), (QVector<QColor> { Qt::red, Qt::red, Qt::white }));

        QListWidget* list = dialog.selectedColorView();
        QListWidgetItem* item = list->item(1);
        QCOMPARE(item->data(Qt::ToolTipRole).toString(), QString("#ff0000"));
        QCOMPARE(item->data(Qt::DecorationRole).value<QPixmap>().toImage().pixelColor(30, 30),
            QColor(Qt::red));

        // A click on a chosen colour removes just that one.
        list->scrollToItem(item);
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        QCOMPARE(changed.size(), 4);
        QCOMPARE(dialog.selectedColors(), (QVector<QColor> { Qt::red, Qt::white }));

        QTest::mouseClick(dialog.clearButton(), Qt::LeftButton);
        QCOMPARE(changed.size(), 5);
        QVERIFY(changed.last()[0].value<QVector<QColor>>().isEmpty());
        QCOMPARE(list->count(), 0);
    }

    void sliderGeometry()
    {
        DesignSlider slider;
        slider.setPixmap(groove(100, 2));
        slider.setHandleSize(9);
        slider.setMargin(4);
        // Height: picture + 2 (margin + handle); width: picture + 2 handles.
        QCOMPARE(slider.height(), 2 + 2 * (4 + 9));
        QCOMPARE(slider.minimumSizeHint(), QSize(100 + 18, 28));
        slider.resize(slider.sizeHint());
        QCOMPARE(slider.pictureRect(), QRect(9, 13, 100, 2));

        slider.setRange(0, 100);
        slider.setValue(0);
        QCOMPARE(slider.handlePosition(), 9);
        slider.setValue(100);
        QCOMPARE(slider.handlePosition(), 9 + 99);

        // Painted: the picture in the middle, the triangles pointing at the value.
        slider.setValue(50);
        const QImage image = rendered(&slider);
        const int x = slider.handlePosition();
        for (int y : { 1, slider.height() - 2, 13 })
            QCOMPARE(image.pixelColor(x, y), QColor(0x99, 0x99, 0x99));
        QCOMPARE(image.pixelColor(20, 13), QColor(150, 150, 150));
        QCOMPARE(image.pixelColor(20, 5).alpha(), 0);

        DesignSlider expanding;
        expanding.setPixmap(groove(100, 2));
        expanding.setExpanding(true);
        expanding.resize(400, expanding.height());
        QCOMPARE(expanding.pictureRect().width(), 400 - 2 * 5);
        QVERIFY(expanding.minimumWidth() < 100);
    }

    void sliderRange_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside") << -100 << 100 << -37 << -37;
        QTest::newRow("below") << -100 << 100 << -101 << -100;
        QTest::newRow("above") << 0 << 100 << 1000 << 100;
        QTest::newRow("empty range") << 5 << 5 << 7 << 5;
    }

    void sliderRange()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QFETCH(int, expected);
        DesignSlider slider; // at 0
        QSignalSpy range(&slider, &DesignSlider::rangeChanged);
        slider.setRange(minimum, maximum);
        QCOMPARE(range, QList<QVariantList>({ { minimum, maximum } }));
        QSignalSpy changed(&slider, &DesignSlider::valueChanged);
        slider.setValue(value);
        QCOMPARE(slider.value(), expected);
        // Only a change is reported.
        slider.setValue(value);
        QCOMPARE(changed.size(), expected == std::clamp(0, minimum, maximum) ? 0 : 1);
    }

    void sliderMouse()
    {
        DesignSlider slider;
        slider.setPixmap(groove(201, 10));
        slider.setRange(-100, 100);
        QVERIFY(exposed(&slider));
        QSignalSpy changed(&slider, &DesignSlider::valueChanged);
        const QRect picture = slider.pictureRect();
        const int y = picture.center().y();

        // The left end of the picture is the minimum, the right end the maximum.
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(picture.left(), y));
        QCOMPARE(slider.value(), -100);
        QVERIFY(slider.isHandlePressed());
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(picture.left(), y));
        QVERIFY(!slider.isHandlePressed());
        QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(picture.right(), y));
        QCOMPARE(slider.value(), 100);

        // Grab the upper triangle and drag past the left end: clamped.
        slider.setValue(0);
        const int x = slider.handlePosition();
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(x, 1));
        QCOMPARE(slider.value(), 0);
        QVERIFY(slider.isHandlePressed());
        QTest::mouseMove(&slider, QPoint(x + 50, 1));
        QCOMPARE(slider.value(), 50);
        QTest::mouseMove(&slider, QPoint(-40, 1));
        QCOMPARE(slider.value(), -100);
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(-40, 1));

        // Beside the picture and the handles nothing happens.
        QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(picture.right() - 10, 1));
        QCOMPARE(slider.value(), -100);
        QVERIFY(!changed.isEmpty());
    }

    void sliderWheel()
    {
        DesignSlider slider;
        slider.setPixmap(groove(100, 4));
        slider.setRange(0, 100);
        slider.setValue(50);
        const int lines = QApplication::wheelScrollLines();
        turnWheel(&slider, 120); // away from the user
        QCOMPARE(slider.value(), 50 - lines);
        turnWheel(&slider, -240); // towards the user
        QCOMPARE(slider.value(), 50 + lines);
        turnWheel(&slider, -12000);
        QCOMPARE(slider.value(), 100);
    }

    void sliderExtra()
    {
        DesignSliderExtra extra;
        extra.setPixmap(groove(150, 8));
        extra.setRange(0, 100);
        extra.setValue(30);
        QCOMPARE(extra.slider()->value(), 30);
        QSignalSpy changed(&extra, &DesignSliderExtra::valueChanged);
        QSignalSpy range(&extra, &DesignSliderExtra::rangeChanged);
        extra.slider()->setValue(40);
        extra.setMaximum(20);
        QCOMPARE(QList<int>({ int(changed.size()), extra.value(), int(range.size()) }),
            QList<int>({ 2, 20, 1 }));
    }

    void layoutAnimation()
    {
        // A bar, an input of 100 pixels that folds, and the results below.
        QWidget page;
        auto* layout = new QVBoxLayout(&page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto* input = new QLabel("input");
        auto* results = new QLabel("results");
        layout->addWidget(new QLabel("bar"));
        layout->itemAt(0)->widget()->setFixedHeight(20);
        layout->addWidget(input);
        layout->addWidget(results, 1);
        input->setFixedHeight(100);
        results->setMinimumHeight(50);
        page.resize(200, 300);
        QVERIFY(exposed(&page));
        LayoutAnimation animation(layout);
        QCOMPARE(results->geometry().top(), 120);

        // A second toggle mid-run goes back: the input stays.
        animation.toggleWidget(input);
        QTRY_VERIFY(results->y() < 110);
        animation.toggleWidget(input);
        QTRY_VERIFY(!animation.isRunning());
        QVERIFY(input->isVisible());
        QCOMPARE(input->geometry(), QRect(0, 20, 200, 100));

        animation.toggleWidget(input);
        QVERIFY(animation.isRunning());
        QVERIFY(input->isVisible());
        QTRY_VERIFY(!animation.isRunning());
        QVERIFY(input->isHidden());
        QCOMPARE(results->geometry(), QRect(0, 20, 200, 280));
        QCOMPARE(page.size(), QSize(200, 300));

        animation.toggleWidget(input);
        QTRY_VERIFY(!animation.isRunning());
        QVERIFY(input->isVisible());
        QCOMPARE(input->geometry(), QRect(0, 20, 200, 100));
        QCOMPARE(results->geometry(), QRect(0, 120, 200, 180));

        // Not shown: the change is immediate.
        page.hide();
        animation.toggleWidget(input);
        QVERIFY(!animation.isRunning());
        QVERIFY(input->isHidden());
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
