#include "browser/thumbnailmodel.h"
#include "browser/thumbnailwidget.h"
#include "colorsearchpage.h"
#include "gui/guitest.h"
#include "indexpage.h"
#include "lumeraxgui.h"
#include "pages/facesearchpage.h"
#include "shell/config.h"
#include "shell/lumerax.h"
#include "shell/setup.h"
#include "store/indexdatabase.h"
#include "tabwidget.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QTreeView>

using namespace veldra;
using namespace veldra::test;

namespace {

// A photo-like picture dominated by one colour, with some texture.
bool writeColouredPicture(const QString& path, const QColor& colour, int seed)
{
    QImage image(96, 64, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int n = ((x * 7 + y * 13 + seed * 31) % 23) - 11;
            image.setPixel(x, y,
                qRgb(std::clamp(colour.red() + n, 0, 255), std::clamp(colour.green() + n, 0, 255),
                    std::clamp(colour.blue() + n, 0, 255)));
        }
    return image.save(path);
}

// Answers the next file dialog with the four files prefix0.png ... of a folder.
void chooseFiles(const QString& folder, const QString& prefix)
{
    whenModal<QFileDialog>([=](QFileDialog* dialog) {
        QString names;
        for (int i = 0; i < 4; ++i)
            names += QStringLiteral("\"%1%2.png\" ").arg(prefix).arg(i);
        dialog->setDirectory(folder);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(names);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

QModelIndex folderIndex(ThumbnailModel* model, const QString& folder)
{
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString() == folder)
            return model->index(row, 0);
    return QModelIndex();
}

QStringList thumbnailsOf(ThumbnailModel* model, const QString& folder)
{
    const QModelIndex parent = folderIndex(model, folder);
    return parent.isValid() ? texts(model, parent) : QStringList();
}

int indexedCount()
{
    QSqlQuery query(IndexDatabase::connection());
    return query.exec("select count(*) from images") && query.next() ? query.value(0).toInt() : -1;
}

} // namespace

class TestLumeraxGUI : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path() + "/native");
        qputenv("LUMERAX_DATA_DIR", QFile::encodeName(m_dir.path() + "/data"));
        setApplicationIdentity();
        m_red = m_dir.path() + "/photos/red";
        m_blue = m_dir.path() + "/photos/blue";
        QVERIFY(QDir().mkpath(m_red) && QDir().mkpath(m_blue));
        for (int i = 0; i < 4; ++i) {
            QVERIFY(writeColouredPicture(
                QString("%1/r%2.png").arg(m_red).arg(i), QColor(220, 30, 30), i));
            QVERIFY(writeColouredPicture(
                QString("%1/b%2.png").arg(m_blue).arg(i), QColor(30, 40, 220), i));
        }
    }

    void imageFileFilter()
    {
        const QString filter = LumeraxGUI::imageFileFilter({ "bmp", "jpeg", "jpg", "png", "webp" });
        QCOMPARE(filter,
            QStringLiteral("All Supported Types (*.bmp *.jpeg *.jpg *.png *.webp);;"
                           "Windows Bitmap (*.bmp);;"
                           "Joint Photographic Experts Group (*.jpeg *.jpg);;"
                           "Portable Network Graphics (*.png);;Unknown Format (*.webp)"));
    }

    // From a fresh data directory to a search result and a move between
    // folders, as a user does it.
    void endToEnd()
    {
        auto* window = new LumeraxGUI;
        m_window = window;
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        // 60 % of the screen, unless the window cannot be that small.
        // (The small test screen holds less than the window's minimum.)
        QVERIFY(window->width() >= int(screen.width() * 0.6)
            && window->height() >= int(screen.height() * 0.6));
        QVERIFY(window->width() < screen.width() && window->height() < screen.height());
        QVERIFY((window->geometry().center() - screen.center()).manhattanLength() <= 2);
        auto* stack = window->findChild<QStackedWidget*>("m_basicStackedWidget");
        auto* indexPage = window->findChild<IndexPage*>("m_indexPage");
        auto* tabs = window->findChild<TabWidget*>("m_tabWidget");
        QCOMPARE(stack->currentWidget(), indexPage);
        QVERIFY(window->findChild<QToolButton*>("m_btnBlackBackground")->isChecked());
        Config* config = Config::instance();
        QCOMPARE(config->value("Lumerax", "Thumbnails").toBool(), true);
        QCOMPARE(config->value("Lumerax", "ThumbnailSize").toInt(), 250);
        QVERIFY(!window->findChild<QWidget*>("m_thumbSliderWidget")->isHidden());

        // Add images: two folders, one batch each; the second queues.
        Lumerax* controller = Lumerax::instance();
        QSignalSpy finished(controller, &Lumerax::indexFinished);
        auto* add = window->findChild<QToolButton*>("m_addToIndex");
        chooseFiles(m_red, "r");
        add->click();
        chooseFiles(m_blue, "b");
        add->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 20000);
        QCOMPARE(config->value("Lumerax", "IndexPath").toString(), m_blue);
        QCOMPARE(indexedCount(), 8);
        QVERIFY(window->findChild<QWidget*>("progressHolder")->isHidden());

        ThumbnailModel* model = indexPage->model();
        QCOMPARE(thumbnailsOf(model, m_blue).size(), 4);
        const QStringList redThumbnails = thumbnailsOf(model, m_red);
        QCOMPARE(redThumbnails.size(), 4);
        for (const QString& thumbnail : redThumbnails)
            QVERIFY(QFile::exists(thumbnail));
        QAbstractItemModel* folders = tabs->folderView()->model();
        QVERIFY(!folders
                     ->match(folders->index(0, 0), Qt::UserRole + 1, m_red, 1,
                         Qt::MatchRecursive | Qt::MatchExactly)
                     .isEmpty());

        // A colour search brings the colour page to the front, off the
        // folder tab, with the red pictures first.
        auto* colorPage = window->findChild<ColorSearchPage*>("m_colorSearchPage");
        colorPage->findSimilarColor({ QColor(220, 30, 30) });
        QTRY_COMPARE_WITH_TIMEOUT(stack->currentWidget(), colorPage, 30000);
        QVERIFY(!tabs->isFolderTabActive());
        QVERIFY(colorPage->model()->rowCount() > 0);
        const QModelIndex results = colorPage->model()->index(0, 0);
        QVERIFY(colorPage->model()->rowCount(results) >= 4);
        for (int i = 0; i < 4; ++i)
            QVERIFY(
                redThumbnails.contains(colorPage->model()->index(i, 0, results).data().toString()));
        // The face page has no grid: the slider row goes.
        window->findChild<QToolButton*>("m_btnRecognizeFaces")->click();
        QCOMPARE(stack->currentWidget(), window->findChild<FaceSearchPage*>("m_faceSearchPage"));
        QVERIFY(window->findChild<QWidget*>("m_thumbSliderWidget")->isHidden());
        window->findChild<QToolButton*>("m_btnHome")->click();
        QCOMPARE(stack->currentWidget(), indexPage);
        QVERIFY(tabs->isFolderTabActive());

        // Drag the first red thumbnail onto the blue folder.
        const QString moving = thumbnailsOf(model, m_red).first();
        const QString name
            = QFileInfo(controller->sourceImagePath(QFileInfo(moving).fileName())).fileName();
        const QModelIndex source = model->index(0, 0, folderIndex(model, m_red));
        const QModelIndex target = folderIndex(model, m_blue);
        QVERIFY(source.isValid() && target.isValid());
        std::unique_ptr<QMimeData> payload(model->mimeData({ source }));
        QVERIFY(model->dropMimeData(payload.get(), Qt::MoveAction, 0, 0, target));
        // The view takes the dragged row out after a move, as a drag does.
        QVERIFY(model->removeRow(source.row(), source.parent()));
        QVERIFY(QFile::exists(m_blue + "/" + name));
        QVERIFY(!QFile::exists(m_red + "/" + name));
        QCOMPARE(
            QFileInfo(controller->sourceImagePath(QFileInfo(moving).fileName())).path(), m_blue);
        const QMap<QString, QStringList> listing = controller->listAll();
        QCOMPARE(listing.value(m_blue).size(), 5);
        QCOMPARE(listing.value(m_red).size(), 3);
        QCOMPARE(listing.value(m_blue).first(), moving);
    }

    // The removal entry asks first, then takes the pictures out of the index
    // and the folder list; the files stay.
    void removalAsksAndKeepsTheFiles_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }

    void removalAsksAndKeepsTheFiles()
    {
        QFETCH(bool, confirm);
        QVERIFY(m_window);
        auto* indexPage = m_window->findChild<IndexPage*>("m_indexPage");
        const QStringList red = thumbnailsOf(indexPage->model(), m_red);
        QCOMPARE(red.size(), 3);
        whenModal<QMessageBox>([=](QMessageBox* box) {
            box->button(confirm ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        Q_EMIT indexPage->thumbnailWidget()->removeFiles(red.mid(0, 2));
        QCOMPARE(thumbnailsOf(indexPage->model(), m_red).size(), confirm ? 1 : 3);
        QCOMPARE(indexedCount(), confirm ? 6 : 8);
        QCOMPARE(QFile::exists(red.at(0)), !confirm);
        QCOMPARE(QDir(m_red).entryList(QDir::Files).size(), 3);
    }

    void backgroundAndGeometryComeBack()
    {
        QVERIFY(m_window);
        m_window->findChild<QToolButton*>("m_btnWhiteBackground")->click();
        QCOMPARE(Config::instance()->value("Lumerax", "BackgroundColor").toInt(), 3);
        QCOMPARE(
            m_window->findChild<QWidget*>("m_centralWidget")->palette().color(QPalette::Window),
            QColor(Qt::white));
        m_window->setGeometry(40, 50, 900, 700);
        const QRect geometry = m_window->geometry();
        QVERIFY(m_window->close());
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete m_window;

        auto* window = new LumeraxGUI;
        m_window = window;
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->geometry(), geometry);
        QVERIFY(window->findChild<QToolButton*>("m_btnWhiteBackground")->isChecked());
        QCOMPARE(indexedCount(), 6);
    }

    void germanCatalogues()
    {
        QTranslator qt;
        QVERIFY(qt.load(":/i18n/qt_de_DE"));
        QTranslator lumerax;
        QVERIFY(lumerax.load(":/i18n/lumerax_de_DE"));
        QCoreApplication::installTranslator(&qt);
        QCoreApplication::installTranslator(&lumerax);
        {
            Setup setup;
            QCOMPARE(setup.windowTitle(), QStringLiteral("Einstellungen [Allgemein]"));
            QCOMPARE(setup.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->text(),
                QStringLiteral("Speichern"));
            FaceSearchPage page;
            QCOMPARE(page.loadButton()->text(), QStringLiteral("Foto laden"));
            page.recognize(m_dir.path() + "/missing.png");
            QCOMPARE(page.resultLabel()->text(), QStringLiteral("Leer :("));
        }
        QCoreApplication::removeTranslator(&lumerax);
        QCoreApplication::removeTranslator(&qt);
    }

    void cleanupTestCase() { delete m_window; }

private:
    QTemporaryDir m_dir;
    QString m_red;
    QString m_blue;
    QPointer<LumeraxGUI> m_window;
};

QTEST_MAIN(TestLumeraxGUI)
#include "tst_lumeraxgui.moc"
