#include "browser/thumbnailmodel.h"
#include "browser/thumbnailview.h"
#include "browser/thumbnailwidget.h"
#include "colorsearchpage.h"
#include "designslider.h"
#include "designsliderextra.h"
#include "foldermodel.h"
#include "gui/guitest.h"
#include "indexpage.h"
#include "moodsearchpage.h"
#include "pages/businesscardpage.h"
#include "pages/facesearchpage.h"
#include "pages/licenseplatepage.h"
#include "pages/recognitionpageframe.h"
#include "palettewidget.h"
#include "recognition/card/bcr.h"
#include "recognition/face/regionrendering.h"
#include "recognition/plate/platelocator.h"
#include "sampleimagewidget.h"
#include "selectcolordialog.h"
#include "shell/config.h"
#include "shell/lumerax.h"
#include "similarsearchpage.h"
#include "support/syntheticphotos.h"
#include "support/testindex.h"
#include "tabwidget.h"
#include "widgetbar.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>

using namespace veldra;
using namespace veldra::test;

namespace {

using Folders = QMap<QString, QStringList>;

QStringList pictures(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("/data/%1.jpg").arg(i);
    return list;
}

// The tree in one line: every label, with its children in braces after it.
QString tree(const FolderModel& model, const QModelIndex& parent = QModelIndex())
{
    QStringList items;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const QString children = tree(model, index);
        items << index.data().toString() + (children.isEmpty() ? "" : " { " + children + " }");
    }
    return items.join(", ");
}

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

// The folder tree with its tabs, the index page, the search pages and the
// recognition pages.
class TestPages : public QObject
{
    Q_OBJECT

private:
    QString folder(const QString& name) const { return m_index->path() + "/" + name; }

    QString label(const TabWidget& tabs, const QString& path) const
    {
        QStandardItem* item = tabs.folderModel()->findFolder(path);
        return item ? item->index().data().toString() : QString();
    }

    // The x where a slider's handle stands for value.
    static int positionOf(DesignSlider* slider, int value)
    {
        const int old = slider->value();
        const QSignalBlocker blocker(slider);
        slider->setValue(value);
        const int x = slider->handlePosition();
        slider->setValue(old);
        return x;
    }

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

    void init()
    {
        m_index = std::make_unique<TestIndex>();
        Lumerax::instance()->setSetting(ThumbnailSizeSetting, 250);
    }
    void cleanup() { m_index.reset(); }

    void modelLabels_data()
    {
        QTest::addColumn<Folders>("folders");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two siblings")
            << Folders { { "C:/a/b", pictures(3) }, { "C:/a/c", pictures(2) } }
            << QString("C: ( 5 ) { a ( 5 ) { b ( 3 ), c ( 2 ) } }");
        QTest::newRow("absolute unix paths")
            << Folders { { "/home/anna/Photos", pictures(4) },
                   { "/usr/share/backgrounds", pictures(1) } }
            << QString("home ( 4 ) { anna ( 4 ) { Photos ( 4 ) } }, usr ( 1 ) { share ( 1 ) { "
                       "backgrounds ( 1 ) } }");
        QTest::newRow("pictures in a folder and below it") << Folders { { "/p", pictures(2) },
            { "/p/q", pictures(3) } } << QString("p ( 5 ) { q ( 3 ) }");
        QTest::newRow("empty and doubled slashes") << Folders { { "", pictures(1) },
            { "//x//y/", pictures(2) } } << QString("x ( 2 ) { y ( 2 ) }");
        QTest::newRow("nothing") << Folders() << QString();
    }

    void modelLabels()
    {
        QFETCH(Folders, folders);
        QFETCH(QString, expected);
        // A second tree replaces the first.
        FolderModel model;
        model.setFolders({ { "C:/a/b", pictures(3) }, { "/p/q", pictures(9) } });
        model.setFolders(folders);
        QCOMPARE(tree(model), expected);
    }

    void modelPaths()
    {
        FolderModel model;
        model.setFolders({ { "C:/a/b", pictures(3) }, { "/usr/share", pictures(1) } });
        // Every item knows the path up to itself in the form the index uses, so
        // the index page can find it by prefix and the tree by equality.
        QCOMPARE(model.findFolder("C:/a")->data(FolderModel::PathRole).toString(), QString("C:/a"));
        QCOMPARE(model.findFolder("C:/a/b")->text(), QString("b"));
        QCOMPARE(model.findFolder("/usr")->text(), QString("usr"));
        QCOMPARE(model.findFolder("/usr/share")->data(FolderModel::CountRole).toInt(), 1);
        QVERIFY(!model.findFolder("usr/share"));
        QVERIFY(!model.findFolder("C:/A"));
    }

    void modelMoves_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* source, const char* destination,
                             int count, const char* tree) {
            QTest::newRow(name) << QString(source) << QString(destination) << count
                                << QString(tree);
        };
        const char* unchanged = "C: ( 5 ) { a ( 5 ) { b ( 3 ), c ( 2 ) } }, D: ( 1 ) { e ( 1 ) }";
        row("two from b to c", "C:/a/b", "C:/a/c", 2,
            "C: ( 5 ) { a ( 5 ) { b ( 1 ), c ( 4 ) } }, D: ( 1 ) { e ( 1 ) }");
        row("all of b to c", "C:/a/b", "C:/a/c", 3,
            "C: ( 5 ) { a ( 5 ) { c ( 5 ) } }, D: ( 1 ) { e ( 1 ) }");
        row("the last of a drive", "D:/e", "C:/a/b", 1,
            "C: ( 6 ) { a ( 6 ) { b ( 4 ), c ( 2 ) } }");
        row("reordered within b", "C:/a/b", "C:/a/b", 3, unchanged);
        row("unknown source", "C:/x", "C:/a/c", 2,
            "C: ( 7 ) { a ( 7 ) { b ( 3 ), c ( 4 ) } }, D: ( 1 ) { e ( 1 ) }");
        row("unknown destination", "C:/a/c", "C:/x", 2,
            "C: ( 3 ) { a ( 3 ) { b ( 3 ) } }, D: ( 1 ) { e ( 1 ) }");
        row("nothing moved", "C:/a/b", "C:/a/c", 0, unchanged);
    }

    void modelMoves()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(int, count);
        QFETCH(QString, expected);
        FolderModel model;
        model.setFolders(
            { { "C:/a/b", pictures(3) }, { "C:/a/c", pictures(2) }, { "D:/e", pictures(1) } });
        model.updateCounts(source, destination, count);
        QCOMPARE(tree(model), expected);
    }

    void tabs()
    {
        TabWidget tabs;
        QVERIFY(exposed(&tabs));
        QVERIFY(tabs.isFolderTabActive());
        QCOMPARE(tabs.descriptionLabel()->text(), QString("Indexed folders"));
        QVERIFY(tabs.folderView()->isVisible());
        QSignalSpy changed(&tabs, &TabWidget::tabChanged);

        QTest::mouseClick(tabs.optionsButton(), Qt::LeftButton);
        QCOMPARE(changed.size(), 1);
        QVERIFY(!tabs.isFolderTabActive());
        QCOMPARE(tabs.descriptionLabel()->text(), QString("Search through results again"));
        QVERIFY(tabs.colorSearchButton()->isVisible());

        // The tab already shown changes nothing.
        QTest::mouseClick(tabs.optionsButton(), Qt::LeftButton);
        tabs.setCurrentTab(TabWidget::OptionsTab);
        tabs.setCurrentTab(2);
        tabs.setCurrentTab(-1);
        QCOMPARE(changed.size(), 1);
        QVERIFY(tabs.optionsButton()->isChecked());

        tabs.setCurrentTab(TabWidget::FolderTab);
        QCOMPARE(changed.size(), 2);
        QVERIFY(tabs.folderButton()->isChecked());
        QCOMPARE(tabs.descriptionLabel()->text(), QString("Indexed folders"));
    }

    void folderTreeClicksAndSelection()
    {
        TabWidget tabs;
        tabs.resize(300, 500);
        QVERIFY(exposed(&tabs));
        tabs.setFolders({ { "C:/a/b", { "1", "2", "3" } }, { "C:/a/c", { "4", "5" } } });
        QTreeView* view = tabs.folderView();
        const QModelIndex c = tabs.folderModel()->findFolder("C:/a/c")->index();
        QVERIFY(view->isExpanded(c.parent()));
        QVERIFY(view->isExpanded(c.parent().parent()));

        QSignalSpy clicked(&tabs, &TabWidget::folderClicked);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(c).center());
        QCOMPARE(clicked.size(), 1);
        const QModelIndex index = clicked[0][0].value<QModelIndex>();
        QCOMPARE(index.data(FolderModel::PathRole).toString(), QString("C:/a/c"));
        QCOMPARE(index.data().toString(), QString("c ( 2 )"));

        tabs.selectFolder("C:/a/b");
        QCOMPARE(view->currentIndex().data(FolderModel::PathRole).toString(), QString("C:/a/b"));
        QVERIFY(view->selectionModel()->isSelected(view->currentIndex()));
        tabs.selectFolder("C:/nowhere");
        QCOMPARE(view->currentIndex().data(FolderModel::PathRole).toString(), QString("C:/a/b"));
    }

    void folderCountsFollowMoves()
    {
        const QStringList b = indexFolder(folder("b"), 3);
        const QStringList c = indexFolder(folder("c"), 2);
        TabWidget tabs;
        tabs.setFolders(Lumerax::instance()->listAll());
        const QString parent = QFileInfo(m_index->path()).fileName() + " ( 5 )";
        // The labels of b, c and their parent.
        const auto labels = [&] {
            return QStringList { label(tabs, folder("b")), label(tabs, folder("c")),
                label(tabs, m_index->path()) };
        };
        QCOMPARE(labels(), QStringList({ "b ( 3 )", "c ( 2 )", parent }));

        tabs.moveItems(folder("c"), 0, { b[0], b[1] });
        QCOMPARE(labels(), QStringList({ "b ( 1 )", "c ( 4 )", parent }));
        QVERIFY(QFile::exists(folder("c") + "/b0.png"));
        QCOMPARE(Lumerax::instance()->listAll().value(folder("c")).size(), 4);

        // Reordering inside a folder keeps it, however many pictures moved.
        tabs.moveItems(folder("c"), 1, { b[0], b[1], c[0], c[1] });
        QCOMPARE(labels(), QStringList({ "b ( 1 )", "c ( 4 )", parent }));

        // Nothing moves into a folder the index does not know, nor nothing.
        QDir().mkpath(folder("new"));
        tabs.moveItems(folder("new"), 0, { b[2] });
        tabs.moveItems(folder("c"), 0, {});
        QCOMPARE(labels(), QStringList({ "b ( 1 )", "c ( 4 )", parent }));

        // The last picture leaves: the folder disappears from the tree.
        tabs.moveItems(folder("c"), 4, { b[2] });
        QCOMPARE(labels(), QStringList({ "", "c ( 5 )", parent }));
    }

    void optionsFollowTheBackground()
    {
        TabWidget tabs;
        tabs.resize(300, 400);
        tabs.setCurrentTab(TabWidget::OptionsTab);
        QVERIFY(exposed(&tabs));
        for (const QColor& color : { QColor(Qt::black), QColor(Qt::white) }) {
            tabs.updateColor(color);
            const QImage image = rendered(tabs.moodSearchButton(), QColor(128, 0, 128));
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 40; x < image.width(); ++x)
                    count += std::abs(image.pixelColor(x, y).lightness() - color.lightness()) < 40;
            QVERIFY2(count > 10, qPrintable(color.name()));
        }
    }

    void indexPage()
    {
        const QStringList a = indexFolder(folder("a"), 2);
        indexFolder(folder("b"), 1);
        IndexPage page;
        QCOMPARE(texts(page.model(), {}, true),
            (QStringList {
                folder("a"), a[0], a[1], folder("b"), thumbnailPath(folder("b") + "/b0.png") }));

        QSignalSpy moves(&page, &IndexPage::moveItems);
        Q_EMIT page.model()->moveItems(folder("b"), 1, { a[0] });
        QCOMPARE(moves, QList<QVariantList>({ { folder("b"), 1, QStringList { a[0] } } }));

        QSignalSpy similar(&page, &IndexPage::findSimilarImages);
        QSignalSpy faces(&page, &IndexPage::recognizeFaces);
        Q_EMIT page.thumbnailWidget()->findSimilar(a[1]);
        Q_EMIT page.thumbnailWidget()->recognizeFaces(a[0]);
        QCOMPARE(similar, QList<QVariantList>({ { a[1] } }));
        QCOMPARE(faces, QList<QVariantList>({ { a[0] } }));

        page.setThumbnails({ { folder("z"), { a[0] } } });
        QCOMPARE(texts(page.model(), {}, true), (QStringList { folder("z"), a[0] }));
    }

    void folderClickScrollsIndex()
    {
        indexFolder(folder("one"), 12);
        indexFolder(folder("two"), 12);
        indexFolder(folder("two words"), 3);
        indexFolder(folder("two/deeper"), 12);
        indexFolder(folder("three"), 12);

        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* tabs = new TabWidget(&window);
        auto* page = new IndexPage(&window);
        layout->addWidget(tabs);
        layout->addWidget(page, 1);
        connect(tabs, &TabWidget::folderClicked, page, [page](const QModelIndex& index) {
            page->scrollToFolder(index.data(FolderModel::PathRole).toString());
        });
        tabs->setFolders(Lumerax::instance()->listAll());
        window.resize(900, 400);
        QVERIFY(exposed(&window));
        ThumbnailView* view = page->thumbnailWidget()->view();
        view->setGridSize(view->minimumGridSize());
        QVERIFY(view->verticalScrollBar()->maximum() > 0);

        // Clicking "two" brings the section of that very folder to the top, not
        // "two words", which sorts before "two/deeper".
        QTreeView* tree = tabs->folderView();
        const QModelIndex two = tabs->folderModel()->findFolder(folder("two"))->index();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(two).center());
        const QModelIndex section = page->model()->index(2, 0);
        QCOMPARE(section.data().toString(), folder("two"));
        QTRY_COMPARE(view->visualRect(section).top(), 0);

        // A folder without pictures of its own scrolls to the first one below it.
        page->scrollToFolder(m_index->path());
        QTRY_COMPARE(view->verticalScrollBar()->value(), 0);
        page->scrollToFolder(folder("nowhere"));
        QTest::qWait(50);
        QCOMPARE(view->verticalScrollBar()->value(), 0);
    }

    void similarPage()
    {
        const QStringList a = indexFolder(folder("a"), 3);
        SimilarSearchPage page;
        QVERIFY(!page.resultView()->view()->headersVisible());
        QSignalSpy start(&page, &SimilarSearchPage::startSearch);
        QSignalSpy finished(&page, &SimilarSearchPage::searchFinished);

        // The search and the sample are the source picture of the thumbnail.
        page.findSimilarImages(a[0]);
        QCOMPARE(start, QList<QVariantList>({ { folder("a") + "/a0.png" } }));
        QCOMPARE(page.sampleImageWidget()->fileName(), folder("a") + "/a0.png");
        QCOMPARE(page.sampleImageWidget()->imageLabel()->pixmap().size(), QSize(450, 300));

        page.finished({ a[1], a[2] });
        QCOMPARE(finished.size(), 1);
        QCOMPARE(texts(page.model(), {}, true),
            (QStringList { "Similarity search result", a[1], a[2] }));

        // Similar pictures of a result: that result is the new sample.
        Q_EMIT page.resultView()->findSimilar(a[2]);
        QCOMPARE(start.last(), QVariantList { folder("a") + "/a2.png" });
        QCOMPARE(page.sampleImageWidget()->fileName(), folder("a") + "/a2.png");

        // A thumbnail the index does not know still searches, without a picture.
        page.findSimilarImages("/nowhere/0123.png");
        QCOMPARE(start.size(), 3);
        QVERIFY(page.sampleImageWidget()->imageLabel()->pixmap().isNull());
    }

    void colorPage()
    {
        const QStringList a = indexFolder(folder("a"), 2);
        ColorSearchPage page;
        page.resize(800, 600);
        QVERIFY(exposed(&page));
        QVERIFY(!page.resultView()->view()->headersVisible());
        QSignalSpy start(&page, &ColorSearchPage::startSearch);
        QSignalSpy similar(&page, &ColorSearchPage::findSimilarImages);

        PaletteWidget* palette = page.selectColorWidget()->paletteWidget();
        const QPoint red(8, 17 * 4 + 8);
        QTest::mouseClick(palette, Qt::LeftButton, {}, red);
        QTest::mouseClick(palette, Qt::LeftButton, {}, red);
        QCOMPARE(start.size(), 2);
        QCOMPARE(start[1][0].value<QVector<QColor>>(), (QVector<QColor> { Qt::red, Qt::red }));

        page.finished({ a[0], a[1] });
        QCOMPARE(
            texts(page.model(), {}, true), (QStringList { "Color search result", a[0], a[1] }));

        // Clearing empties the results and searches nothing.
        QTest::mouseClick(page.selectColorWidget()->clearButton(), Qt::LeftButton);
        QCOMPARE(start.size(), 2);
        QCOMPARE(page.model()->rowCount(), 0);

        Q_EMIT page.resultView()->findSimilar(a[1]);
        QCOMPARE(similar.size(), 1);

        // The panel picture covers the colour choice at its current size.
        page.resize(1000, 700);
        QTRY_COMPARE(page.selectColorWidget()->palette().brush(QPalette::Window).texture().size(),
            page.selectColorWidget()->size());
    }

    void moodPage()
    {
        MoodSearchPage page;
        page.resize(900, 600);
        QVERIFY(exposed(&page));
        DesignSliderExtra* image = page.imageMoodSlider();
        DesignSliderExtra* color = page.colorMoodSlider();
        DesignSliderExtra* balance = page.balanceMoodSlider();
        QCOMPARE(QList<int>({ image->minimum(), image->value(), image->maximum(), color->minimum(),
                     color->value(), balance->value() }),
            QList<int>({ 0, 50, 100, -100, 0, 50 }));
        QCOMPARE(balance->text(DesignSliderExtra::LeftText), QString("50 %"));
        QVERIFY(image->slider()->width() > 300);
        QSignalSpy start(&page, &MoodSearchPage::startSearch);

        DesignSlider* slider = balance->slider();
        const int y = slider->pictureRect().center().y();
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(positionOf(slider, 30), y));
        QCOMPARE(balance->value(), 30);
        QCOMPARE(balance->text(DesignSliderExtra::LeftText), QString("30 %"));
        QCOMPARE(balance->text(DesignSliderExtra::RightText), QString("70 %"));
        QCOMPARE(start.size(), 1);
        QCOMPARE(start[0], (QVariantList { 0, 50, 30 }));

        // The colour slider's left end is -100.
        DesignSlider* temperature = color->slider();
        QTest::mouseClick(temperature, Qt::LeftButton, {},
            QPoint(temperature->pictureRect().left(), temperature->pictureRect().center().y()));
        QCOMPARE(color->value(), -100);
        QCOMPARE(start.last(), (QVariantList { -100, 50, 30 }));

        page.finished({});
        QCOMPARE(texts(page.model(), {}, true), QStringList());

        // A click on the search bar folds the sliders away, another unfolds them.
        QWidget* input = page.designSlidersWidget();
        const int resultTop = page.resultBar()->y();

        QTest::mouseClick(page.searchBar(), Qt::LeftButton, {}, QPoint(40, 10));
        QVERIFY(page.searchBar()->toggleButton()->isChecked());
        QTRY_VERIFY(input->isHidden());
        QTRY_VERIFY(page.resultBar()->y() < resultTop);

        QTest::mouseClick(page.searchBar(), Qt::LeftButton, {}, QPoint(40, 10));
        QVERIFY(!page.searchBar()->toggleButton()->isChecked());
        QTRY_VERIFY(input->isVisible());
        QTRY_COMPARE(page.resultBar()->y(), resultTop);
    }

private:
    std::unique_ptr<TestIndex> m_index;
    QTemporaryDir m_dir;
    QString m_twoFaces;
    QString m_noFace;
    QString m_broken;
};

QTEST_MAIN(TestPages)
#include "tst_pages.moc"
