#include "shell/config.h"
#include "shell/lumerax.h"
#include "shell/setup.h"
#include "shell/setupgeneral.h"
#include "shell/setupsearch.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace veldra;

namespace {

template <typename T> T* child(QWidget* parent, const char* name)
{
    T* widget = parent->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

QVariant iniValue(const QString& key)
{
    return Config::instance()->value(QStringLiteral("Lumerax"), key);
}

} // namespace

class TestSetup : public QObject
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

    void opensOnTheGeneralPage()
    {
        auto* setup = new Setup;
        QCOMPARE(setup->size(), QSize(460, 340));
        QVERIFY(setup->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(setup->windowTitle(), QStringLiteral("Preferences [General]"));
        auto* pages = child<QStackedWidget>(setup, "m_pages");
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->currentWidget(), setup->generalPage());
        QVERIFY(!setup->windowIcon().isNull());
        delete setup;
    }

    void choosingAPageShowsItAndNamesIt_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("page");
        QTest::newRow("Search") << 1 << "Preferences [Search]" << 2;
        QTest::newRow("back to General") << 0 << "Preferences [General]" << 1;
    }

    void choosingAPageShowsItAndNamesIt()
    {
        QFETCH(int, row);
        QFETCH(QString, title);
        QFETCH(int, page);
        Setup setup;
        auto* list = child<QTreeWidget>(&setup, "m_pageList");
        QCOMPARE(list->width(), 120);
        QVERIFY(list->isHeaderHidden());
        list->setCurrentItem(list->topLevelItem(1));
        list->setCurrentItem(list->topLevelItem(row));
        QCOMPARE(setup.windowTitle(), title);
        QCOMPARE(child<QStackedWidget>(&setup, "m_pages")->currentIndex(), page);
    }

    void pagesReadTheirStores()
    {
        QSettings native;
        native.setValue(QStringLiteral("Splash"), false);
        native.setValue(QStringLiteral("WheelLines"), 7);
        native.setValue(QStringLiteral("SearchResults"), 250);
        Lumerax::instance()->setSetting(SimilaritySetting, 2);
        native.sync();

        Setup setup;
        QVERIFY(!child<QCheckBox>(&setup, "m_splash")->isChecked());
        QCOMPARE(child<QSpinBox>(&setup, "m_wheelLines")->value(), 7);
        QCOMPARE(QApplication::wheelScrollLines(), 7);
        QCOMPARE(child<QSlider>(&setup, "m_similarity")->value(), 2);
        QCOMPARE(child<QSpinBox>(&setup, "m_results")->value(), 250);
    }

    void defaultsOnAFreshStore()
    {
        Setup setup;
        QVERIFY(child<QCheckBox>(&setup, "m_splash")->isChecked());
        QCOMPARE(child<QSpinBox>(&setup, "m_wheelLines")->value(), 3);
        QCOMPARE(child<QSlider>(&setup, "m_similarity")->value(), 0);
        QCOMPARE(child<QSpinBox>(&setup, "m_results")->value(), 30);
        QCOMPARE(child<QSpinBox>(&setup, "m_results")->minimum(), 1);
        QCOMPARE(child<QSpinBox>(&setup, "m_results")->suffix(), QStringLiteral(" images"));
        QCOMPARE(child<QSpinBox>(&setup, "m_wheelLines")->suffix(), QStringLiteral(" lines"));
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
        QCOMPARE(native.contains(QStringLiteral("Splash")), written);
        QCOMPARE(native.contains(QStringLiteral("WheelLines")), written);
        QCOMPARE(native.contains(QStringLiteral("SearchResults")), written);
        QCOMPARE(iniValue(QStringLiteral("Similarity")).toInt(), written ? 2 : 0);
        QVERIFY(!native.contains(QStringLiteral("Similarity")));
        if (written) {
            QCOMPARE(native.value(QStringLiteral("Splash")).toBool(), false);
            QCOMPARE(native.value(QStringLiteral("WheelLines")).toInt(), 9);
            QCOMPARE(native.value(QStringLiteral("SearchResults")).toInt(), 77);
            QCOMPARE(QApplication::wheelScrollLines(), 9);
        }
        if (button == QDialogButtonBox::Reset) {
            QVERIFY(setup);
            QVERIFY(child<QCheckBox>(setup, "m_splash")->isChecked());
            QCOMPARE(child<QSpinBox>(setup, "m_wheelLines")->value(), 3);
            QCOMPARE(child<QSlider>(setup, "m_similarity")->value(), 0);
            QCOMPARE(child<QSpinBox>(setup, "m_results")->value(), 30);
            QCOMPARE(QApplication::wheelScrollLines(), 3);
            delete setup;
        } else {
            // Closed dialogs delete themselves.
            QTRY_VERIFY(!setup);
        }
    }

private:
    QTemporaryDir m_native;
};

QTEST_MAIN(TestSetup)
#include "tst_setup.moc"
