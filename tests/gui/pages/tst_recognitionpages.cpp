#include "gui/guitest.h"
#include "pages/businesscardpage.h"
#include "pages/facesearchpage.h"
#include "pages/licenseplatepage.h"
#include "pages/recognitionpageframe.h"
#include "recognition/card/bcr.h"
#include "recognition/face/regionrendering.h"
#include "recognition/plate/platelocator.h"
#include "shell/config.h"
#include "support/syntheticphotos.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>

using namespace veldra;
using namespace veldra::test;

namespace {

QImage labelImage(QLabel* label)
{
    return label->pixmap().toImage();
}

QImage fitted(const QImage& image)
{
    return image.scaled(300, 300, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

// Answers the next file dialog with file, or cancels it when file is empty;
// records the folder the dialog started in.
void answerFileDialog(const QString& file, QString* startFolder)
{
    whenModal<QFileDialog>([=](QFileDialog* dialog) {
        *startFolder = dialog->directory().absolutePath();
        dialog->selectFile(file);
        QMetaObject::invokeMethod(dialog, file.isEmpty() ? "reject" : "accept");
    });
}

} // namespace

class TestRecognitionPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        setApplicationIdentity();
        QVERIFY(m_dir.isValid());
        m_twoFaces = m_dir.path() + "/two-faces.png";
        QVERIFY(facePhoto(QSize(260, 160), { { QPoint(20, 30), 4 }, { QPoint(150, 40), 3 } })
                    .save(m_twoFaces));
        m_noFace = m_dir.path() + "/no-face.png";
        QVERIFY(facePhoto(QSize(200, 120), {}).save(m_noFace));
        m_broken = m_dir.path() + "/broken.jpg";
        QFile broken(m_broken);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture");
    }

    void faceFindsFacesAndCutsThemOut()
    {
        // A placeholder picture, and no toggles until there are faces.
        FaceSearchPage page;
        QVERIFY(page.pixelButton()->isHidden() && page.censorButton()->isHidden());
        QVERIFY(!labelImage(page.sourceLabel()).isNull());
        QSignalSpy finished(&page, &FaceSearchPage::searchFinished);
        page.recognize(m_twoFaces);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(page.faces().size(), 2);
        QVERIFY(!page.pixelButton()->isHidden() && !page.censorButton()->isHidden());

        int width = 0;
        int height = 0;
        for (const QRect& face : page.faces()) {
            width += face.width();
            height = std::max(height, face.height());
        }
        const QImage strip = labelImage(page.resultLabel());
        QCOMPARE(strip.size(), QSize(width, height));
        // The first cut-out is the photo's pixels; below a lower cut-out the
        // strip stays transparent.
        const QRect first = page.faces().first();
        QCOMPARE(
            strip.pixel(first.width() / 2, first.height() / 2), page.photo().pixel(first.center()));
        QCOMPARE(labelImage(page.sourceLabel()), fitted(page.photo()));
    }

    void faceEmptyResults_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("decoded");
        QTest::newRow("no face") << m_noFace << true;
        QTest::newRow("undecodable") << m_broken << false;
        QTest::newRow("missing") << m_dir.path() + "/missing.png" << false;
    }

    void faceEmptyResults()
    {
        QFETCH(QString, file);
        QFETCH(bool, decoded);
        FaceSearchPage page;
        page.recognize(m_twoFaces);
        page.pixelButton()->click();
        QSignalSpy finished(&page, &FaceSearchPage::searchFinished);
        page.recognize(file);
        QCOMPARE(finished.count(), 1);
        QVERIFY(page.faces().isEmpty());
        QCOMPARE(page.photo().isNull(), !decoded);
        QCOMPARE(page.resultLabel()->text(), QStringLiteral("Empty :("));
        QVERIFY(page.pixelButton()->isHidden() && page.censorButton()->isHidden());
        QVERIFY(!page.pixelButton()->isChecked());
    }

    // The toggles exclude each other; a second click shows the plain photo, and
    // so does the next photo.
    void faceToggles_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("shown");
        QTest::newRow("pixelated") << QString("p") << QString("pixelated");
        QTest::newRow("censored") << QString("c") << QString("censored");
        QTest::newRow("censored over pixelated") << QString("pc") << QString("censored");
        QTest::newRow("pixelated over censored") << QString("cp") << QString("pixelated");
        QTest::newRow("pixelated off again") << QString("pp") << QString("plain");
        QTest::newRow("censored off again") << QString("pcc") << QString("plain");
    }

    void faceToggles()
    {
        QFETCH(QString, clicks);
        QFETCH(QString, shown);
        FaceSearchPage page;
        page.show();
        page.recognize(m_twoFaces);
        for (QChar c : clicks)
            QTest::mouseClick(c == 'p' ? page.pixelButton() : page.censorButton(), Qt::LeftButton);
        QCOMPARE(page.pixelButton()->isChecked(), shown == "pixelated");
        QCOMPARE(page.censorButton()->isChecked(), shown == "censored");
        const QImage expected = shown == "pixelated"
            ? pixelateRegions(page.photo(), page.faces(), 10)
            : shown == "censored" ? censorRegions(page.photo(), page.faces())
                                  : page.photo();
        QCOMPARE(labelImage(page.sourceLabel()), fitted(expected));
        page.recognize(m_twoFaces);
        QVERIFY(!page.pixelButton()->isChecked() && !page.censorButton()->isChecked());
        QCOMPARE(labelImage(page.sourceLabel()), fitted(page.photo()));
    }

    void plateLargePhotosAreReduced_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("reduced");
        QTest::newRow("4000 x 3000") << QSize(4000, 3000) << QSize(640, 480);
        QTest::newRow("portrait") << QSize(1000, 2000) << QSize(240, 480);
        QTest::newRow("fits") << QSize(640, 480) << QSize(640, 480);
        QTest::newRow("just too wide") << QSize(641, 100) << QSize(640, 99);
    }

    void plateLargePhotosAreReduced()
    {
        QFETCH(QSize, size);
        QFETCH(QSize, reduced);
        const QString file = m_dir.path() + "/car.png";
        const QRect plate(
            size.width() * 3 / 8, size.height() * 5 / 8, size.width() / 4, size.height() / 12);
        QVERIFY(carPhoto(size, plate, 7).save(file));
        LicensePlatePage page;
        page.recognizeFile(file);
        QCOMPARE(page.photo().size(), reduced);
        // The plates and their cut-outs come from the reduced photo.
        QCOMPARE(page.plates(), PlateLocator::locate(page.photo()));
        if (!page.plates().isEmpty()) {
            const QRect first = page.plates().first();
            QCOMPARE(
                labelImage(page.resultLabel()).pixel(0, 0), page.photo().pixel(first.topLeft()));
        }
    }

    void plateFoundAndPixelated()
    {
        const QString file = m_dir.path() + "/car.png";
        QVERIFY(carPhoto(QSize(320, 240), QRect(100, 150, 110, 24), 7).save(file));
        LicensePlatePage page;
        page.show();
        page.recognizeFile(file);
        QCOMPARE(page.plates().size(), 1);
        QVERIFY(!page.pixelButton()->isHidden());
        QVERIFY(!page.pixelButton()->isChecked());
        QCOMPARE(labelImage(page.resultLabel()).size(), page.plates().first().size());
        QTest::mouseClick(page.pixelButton(), Qt::LeftButton);
        QVERIFY(page.pixelButton()->isChecked());
        const QImage pixelated = pixelateRegions(page.photo(), page.plates(), 10);
        QCOMPARE(labelImage(page.sourceLabel()), fitted(pixelated));
        // The next photo starts unchecked and plain.
        page.recognizeFile(file);
        QVERIFY(!page.pixelButton()->isChecked());
        QCOMPARE(labelImage(page.sourceLabel()), fitted(page.photo()));

        // A photo too narrow for a plate.
        QVERIFY(carPhoto(QSize(100, 200), QRect(5, 30, 80, 18), 7).save(file));
        page.recognizeFile(file);
        QVERIFY(page.plates().isEmpty());
        QCOMPARE(page.resultLabel()->text(), QStringLiteral("Empty :("));
        QVERIFY(page.pixelButton()->isHidden());
    }

    // The dialog starts in the stored folder (default: the sample folder);
    // a chosen file's folder is stored, a cancelled dialog changes nothing.
    void startFolders_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("sample");
        QTest::newRow("faces") << "RecognizeFacePath"
                               << "People";
        QTest::newRow("plates") << "RecognizeLicensePath"
                                << "Licenceplates";
        QTest::newRow("cards") << "RecognizeBusinessCardPath"
                               << "Businesscards";
    }

    void startFolders()
    {
        QFETCH(QString, key);
        QFETCH(QString, sample);
        Config* config = Config::instance();
        config->setValue("Lumerax", key, QVariant());
        const QString defaultFolder = QCoreApplication::applicationDirPath() + "/Images/" + sample;
        QVERIFY(QDir().mkpath(defaultFolder));
        FaceSearchPage faces;
        LicensePlatePage plates;
        BusinessCardPage cards;
        QToolButton* load = sample == "People" ? faces.loadButton()
            : sample == "Licenceplates"        ? plates.loadButton()
                                               : cards.loadButton();
        QString start;
        answerFileDialog(QString(), &start);
        load->click();
        QCOMPARE(start, defaultFolder);
        QVERIFY(config->value("Lumerax", key).toString().isEmpty());
        if (load == cards.loadButton()) {
            QVERIFY(cards.resultLines().isEmpty());
            QVERIFY(cards.recognizer());
            return;
        }

        const QString folder = m_dir.path() + "/chosen";
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(m_twoFaces, folder + "/photo.png"));
        answerFileDialog(folder + "/photo.png", &start);
        load->click();
        QCOMPARE(config->value("Lumerax", key).toString(), folder);
        QVERIFY(!(load == faces.loadButton() ? faces.photo() : plates.photo()).isNull());

        answerFileDialog(QString(), &start);
        load->click();
        QCOMPARE(start, folder);
        QFile::remove(folder + "/photo.png");
    }

    void cardShowsWaitingThenItsLines()
    {
        const QString card = QFINDTESTDATA("../../../samples/Images/Businesscards/card-veldra.jpg");
        QVERIFY(!card.isEmpty());
        BusinessCardPage page;
        QVERIFY(!page.recognizer());
        QSignalSpy recognized(&page, &BusinessCardPage::recognized);
        page.recognizeFile(card);
        BCR* recognizer = page.recognizer();
        QVERIFY(recognizer);
        QCOMPARE(page.resultLines(), QStringList { "Please wait. OCR is working..." });
        QVERIFY(!page.photoLabel()->pixmap().isNull());
        QVERIFY(recognized.wait(60000));
        QVERIFY(!page.resultLines().isEmpty());
        QVERIFY(!page.resultLines().contains("Please wait. OCR is working..."));
        QVERIFY(!page.resultLines().contains("Can't read the card. Sorry. :("));

        // Later readings reuse the recogniser.
        page.recognizeFile(m_twoFaces);
        QCOMPARE(page.recognizer(), recognizer);
        QVERIFY(recognized.wait(60000));
        // The reader takes JPEG files only.
        QCOMPARE(page.resultLines(),
            QStringList({ "Trouble with file format.", "Can't read the card. Sorry. :(" }));
    }

    void cardNewReadingReplacesARunningOne()
    {
        const QString card = QFINDTESTDATA("../../../samples/Images/Businesscards/card-studio.jpg");
        BusinessCardPage page;
        QSignalSpy recognized(&page, &BusinessCardPage::recognized);
        page.recognizeFile(card);
        page.recognizeFile(m_broken);
        QTRY_VERIFY_WITH_TIMEOUT(!page.isWorking(), 60000);
        QTRY_COMPARE(recognized.count(), 1);
        QCOMPARE(page.resultLines(),
            QStringList({ "Trouble with file format.", "Can't read the card. Sorry. :(" }));
    }

private:
    QTemporaryDir m_dir;
    QString m_twoFaces;
    QString m_noFace;
    QString m_broken;
};

QTEST_MAIN(TestRecognitionPages)
#include "tst_recognitionpages.moc"
