#include "gui/guitest.h"
#include "line.h"
#include "proxystyle.h"
#include "stylesheets.h"
#include "toolbar.h"
#include "topbar.h"
#include "widgetbar.h"

#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>

using namespace veldra;
using namespace veldra::test;

namespace {

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

class TestBars : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setStyle(new ProxyStyle); }

    void pixelFont()
    {
        QCOMPARE(QApplication::font().family(), QString(pixelFontFamily));
        QCOMPARE(QApplication::font().pointSize(), 12);

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
};

QTEST_MAIN(TestBars)
#include "tst_bars.moc"
