#include "shell/about.h"
#include "shell/config.h"
#include "shell/splash.h"

#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace veldra;

class TestSplashAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_native.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_native.path());
        setApplicationIdentity();
    }

    void splashTakesThePicturesSizeAndCentres_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("wide") << QSize(420, 180);
        QTest::newRow("odd") << QSize(301, 77);
        QTest::newRow("larger than the screen") << QSize(5000, 3000);
    }

    void splashTakesThePicturesSizeAndCentres()
    {
        QFETCH(QSize, size);
        Splash splash;
        QPixmap picture(size);
        picture.fill(Qt::red);
        splash.setPixmap(picture);
        QCOMPARE(splash.size(), size);
        const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY((splash.geometry().center() - centre).manhattanLength() <= 1);
        QVERIFY(splash.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void splashShowsTransparentPartsThrough()
    {
        Splash splash;
        QPixmap picture(40, 20);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            painter.fillRect(0, 0, 20, 20, Qt::blue);
        }
        splash.setPixmap(picture);
        const QImage shown = splash.grab().toImage();
        QCOMPARE(shown.pixelColor(5, 5), QColor(Qt::blue));
        QCOMPARE(shown.pixelColor(30, 5).alpha(), 0);
    }

    void clickClosesTheSplash()
    {
        QPointer<Splash> splash = new Splash;
        QPixmap picture(100, 50);
        picture.fill(Qt::gray);
        splash->setPixmap(picture);
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        // A release without a press (the button went down elsewhere) is not
        // a click.
        QTest::mouseRelease(splash, Qt::LeftButton, {}, QPoint(50, 25));
        QVERIFY(splash->isVisible());
        QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(99, 49));
        QTRY_VERIFY(!splash);
    }

    void years_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("text");
        QTest::newRow("first year") << 2008 << "2008";
        QTest::newRow("the year after") << 2009 << "2008 - 2009";
        QTest::newRow("later") << 2031 << "2008 - 2031";
        QTest::newRow("clock before 2008") << 1970 << "2008";
    }

    void years()
    {
        QFETCH(int, year);
        QFETCH(QString, text);
        QCOMPARE(About::yearsText(year), text);
    }

    void aboutNamesMakerYearsAndVersion()
    {
        About about;
        const QString line1 = about.findChild<QLabel*>("txtLine1")->text();
        QVERIFY(line1.contains("LUMERAX Image Processing"));
        QVERIFY(line1.contains("2.0"));
        const QString line2 = about.findChild<QLabel*>("txtLine2")->text();
        QVERIFY(line2.contains(About::yearsText(QDate::currentDate().year())));
        QVERIFY(line2.contains("VELDRA Technologies GmbH"));
        QVERIFY(about.findChild<QLabel*>("txtLine3")->text().contains("<a href="));
        QVERIFY(about.windowFlags() & Qt::Popup);
    }

    void linkTargets_data()
    {
        QTest::addColumn<QUrl>("link");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QUrl>("target");
        const QUrl maker("http://www.veldra.example/anything");
        QTest::newRow("German") << maker << "German"
                                << QUrl("https://www.veldra.example/de/lumeraxapp");
        QTest::newRow("English") << maker << "English"
                                 << QUrl("https://www.veldra.example/lumeraxapp");
        QTest::newRow("other site")
            << QUrl("http://www.qt.io/") << "German" << QUrl("http://www.qt.io/");
    }

    void linkTargets()
    {
        QFETCH(QUrl, link);
        QFETCH(QString, language);
        QFETCH(QUrl, target);
        QCOMPARE(About::linkTarget(link, language), target);
    }

    // A link activated while the About window is open is handed out through
    // openUrl (not to the browser) and closes the window.
    void linksAreRoutedThroughOpenUrl()
    {
        QSettings().setValue(QStringLiteral("Language"), QStringLiteral("German"));
        QPointer<About> about = new About;
        about->show();
        QSignalSpy opened(about.data(), &About::openUrl);
        QVERIFY(QDesktopServices::openUrl(QUrl("http://www.veldra.example/lumeraxapp")));
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).toUrl(), QUrl("https://www.veldra.example/de/lumeraxapp"));
        QTRY_VERIFY(!about);
    }

    void clickClosesAbout()
    {
        QPointer<About> about = new About;
        about->show();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_VERIFY(!about);
    }

private:
    QTemporaryDir m_native;
};

QTEST_MAIN(TestSplashAbout)
#include "tst_splashabout.moc"
