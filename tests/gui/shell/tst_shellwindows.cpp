#include "gui/guitest.h"
#include "shell/about.h"
#include "shell/config.h"
#include "shell/lumerax.h"
#include "shell/setup.h"
#include "shell/setupgeneral.h"
#include "shell/setupsearch.h"
#include "shell/splash.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUrl>

using namespace veldra;
using namespace veldra::test;

namespace {

template <typename T> T* child(QWidget* parent, const char* name)
{
    T* widget = parent->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

// What the dialog shows: splash, wheel lines, similarity, results per search.
QVariantList shown(QWidget* setup)
{
    return { child<QCheckBox>(setup, "m_splash")->isChecked(),
        child<QSpinBox>(setup, "m_wheelLines")->value(),
        child<QSlider>(setup, "m_similarity")->value(),
        child<QSpinBox>(setup, "m_results")->value() };
}

const QVariantList defaults { true, 3, 0, 30 };

} // namespace

// The windows of the shell: Preferences, the splash screen and About.
class TestShellWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The native store of this test lies in a private directory.
        QVERIFY(m_native.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_native.path());
        setApplicationIdentity();
    }

    void init()
    {
        QSettings().clear();
        Config::instance()->setValue(QStringLiteral("Lumerax"), QStringLiteral("Similarity"), 0);
        QApplication::setWheelScrollLines(3);
    }

    void choosingAPageShowsItAndNamesIt()
    {
        Setup setup;
        auto* pages = child<QStackedWidget>(&setup, "m_pages");
        QCOMPARE(setup.windowTitle(), QStringLiteral("Preferences [General]"));
        QCOMPARE(pages->currentWidget(), setup.generalPage());
        auto* list = child<QTreeWidget>(&setup, "m_pageList");
        list->setCurrentItem(list->topLevelItem(1));
        QCOMPARE(setup.windowTitle(), QStringLiteral("Preferences [Search]"));
        QCOMPARE(pages->currentWidget(), setup.searchPage());
        list->setCurrentItem(list->topLevelItem(0));
        QCOMPARE(setup.windowTitle(), QStringLiteral("Preferences [General]"));
        QCOMPARE(pages->currentWidget(), setup.generalPage());
    }

    void pagesReadTheirStores()
    {
        {
            Setup fresh;
            QCOMPARE(shown(&fresh), defaults);
        }
        QSettings native;
        native.setValue(QStringLiteral("Splash"), false);
        native.setValue(QStringLiteral("WheelLines"), 7);
        native.setValue(QStringLiteral("SearchResults"), 250);
        Lumerax::instance()->setSetting(SimilaritySetting, 2);
        native.sync();
        Setup setup;
        QCOMPARE(shown(&setup), (QVariantList { false, 7, 2, 250 }));
        QCOMPARE(QApplication::wheelScrollLines(), 7);
    }

    // Save puts similarity into the settings file and the rest into the
    // native store; Cancel and Reset write nothing.
    void buttons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("result");
        QTest::newRow("Save") << int(QDialogButtonBox::Save) << true << int(QDialog::Accepted);
        QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel) << false << int(QDialog::Rejected);
        QTest::newRow("Reset") << int(QDialogButtonBox::Reset) << false << -1;
    }

    void buttons()
    {
        QFETCH(int, button);
        QFETCH(bool, written);
        QFETCH(int, result);
        QPointer<Setup> setup = new Setup;
        setup->show();
        child<QCheckBox>(setup, "m_splash")->setChecked(false);
        child<QSpinBox>(setup, "m_wheelLines")->setValue(9);
        child<QSlider>(setup, "m_similarity")->setValue(2);
        child<QSpinBox>(setup, "m_results")->setValue(77);
        int finished = -1;
        connect(setup, &QDialog::finished, this, [&finished](int r) { finished = r; });

        auto* box = setup->findChild<QDialogButtonBox*>();
        QTest::mouseClick(box->button(QDialogButtonBox::StandardButton(button)), Qt::LeftButton);
        QCOMPARE(finished, result);

        const QSettings native;
        const QStringList keys { "Splash", "WheelLines", "SearchResults" };
        for (const QString& key : keys)
            QCOMPARE(native.contains(key), written);
        QVERIFY(!native.contains(QStringLiteral("Similarity")));
        QCOMPARE(Config::instance()->value("Lumerax", "Similarity").toInt(), written ? 2 : 0);
        if (written) {
            QCOMPARE(native.value("Splash").toBool(), false);
            QCOMPARE(QList<int>({ native.value("WheelLines").toInt(),
                         native.value("SearchResults").toInt(), QApplication::wheelScrollLines() }),
                QList<int>({ 9, 77, 9 }));
        }
        if (button == QDialogButtonBox::Reset) {
            QVERIFY(setup);
            QCOMPARE(shown(setup), defaults);
            QCOMPARE(QApplication::wheelScrollLines(), 3);
            delete setup;
        } else {
            // Closed dialogs delete themselves.
            QTRY_VERIFY(!setup);
        }
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
    }

    // Transparent parts of the picture show through; a click closes the splash.
    void splashShowsThroughAndClickCloses()
    {
        QPointer<Splash> splash = new Splash;
        QPixmap picture(100, 50);
        picture.fill(Qt::transparent);
        QPainter(&picture).fillRect(0, 0, 50, 50, Qt::blue);
        splash->setPixmap(picture);
        const QImage shown = splash->grab().toImage();
        QCOMPARE(shown.pixelColor(5, 5), QColor(Qt::blue));
        QCOMPARE(shown.pixelColor(75, 5).alpha(), 0);
        QVERIFY(exposed(splash));
        // A release without a press (the button went down elsewhere) is not
        // a click.
        QTest::mouseRelease(splash, Qt::LeftButton, {}, QPoint(25, 25));
        QVERIFY(splash->isVisible());
        QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(0, 49));
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
        QCOMPARE(
            opened, QList<QVariantList>({ { QUrl("https://www.veldra.example/de/lumeraxapp") } }));
        QTRY_VERIFY(!about);
    }

    void clickClosesAbout()
    {
        QPointer<About> about = new About;
        QVERIFY(exposed(about));
        QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_VERIFY(!about);
    }

private:
    QTemporaryDir m_native;
};

QTEST_MAIN(TestShellWindows)
#include "tst_shellwindows.moc"
