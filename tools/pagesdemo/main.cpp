#include "browser/thumbnailview.h"
#include "browser/thumbnailwidget.h"
#include "colorsearchpage.h"
#include "designslider.h"
#include "indexpage.h"
#include "lumeraxgui.h"
#include "moodsearchpage.h"
#include "proxystyle.h"
#include "search/searchmanager.h"
#include "shell/config.h"
#include "shell/lumerax.h"
#include "similarsearchpage.h"
#include "tabwidget.h"
#include "toolbar.h"
#include "topbar.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCommandLineParser>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

using namespace veldra;

namespace {

enum Page { IndexPageId, SimilarPageId, ColorPageId, MoodPageId };

// A frameless window holding the bars, the tab widget and the four pages,
// connected the way the application connects them.
class DemoWindow : public QWidget
{
public:
    DemoWindow()
    {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setWindowTitle(QStringLiteral("Lumerax pages"));
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);

        central = new QWidget(this);
        central->setObjectName(QStringLiteral("m_centralWidget"));
        central->setAutoFillBackground(true);
        auto* centralLayout = new QVBoxLayout(central);
        centralLayout->setContentsMargins(0, 0, 0, 0);
        centralLayout->setSpacing(0);
        layout->addWidget(central);

        topBar = new TopBar(central);
        topBar->setObjectName(QStringLiteral("m_topBar"));
        topBar->setWindow(this);
        toolBar = new ToolBar(central);
        toolBar->setObjectName(QStringLiteral("m_toolBar"));
        centralLayout->addWidget(topBar);
        centralLayout->addWidget(toolBar);

        auto* splitter = new QSplitter(central);
        splitter->setObjectName(QStringLiteral("m_splitter"));
        tabs = new TabWidget(splitter);
        tabs->setObjectName(QStringLiteral("m_tabWidget"));
        stack = new QStackedWidget(splitter);
        stack->setObjectName(QStringLiteral("m_basicStackedWidget"));
        indexPage = new IndexPage(stack);
        indexPage->setObjectName(QStringLiteral("m_indexPage"));
        similarPage = new SimilarSearchPage(stack);
        similarPage->setObjectName(QStringLiteral("m_similarSearchPage"));
        colorPage = new ColorSearchPage(stack);
        colorPage->setObjectName(QStringLiteral("m_colorSearchPage"));
        moodPage = new MoodSearchPage(stack);
        moodPage->setObjectName(QStringLiteral("m_moodSearchPage"));
        for (QWidget* page : { static_cast<QWidget*>(indexPage), static_cast<QWidget*>(similarPage),
                 static_cast<QWidget*>(colorPage), static_cast<QWidget*>(moodPage) })
            stack->addWidget(page);
        splitter->addWidget(tabs);
        splitter->addWidget(stack);
        splitter->setStretchFactor(1, 1);
        splitter->setSizes({ 260, 1000 });
        centralLayout->addWidget(splitter, 1);

        // The grid slider and the two background buttons under the pages.
        auto* sliderRow = new QWidget(central);
        sliderRow->setObjectName(QStringLiteral("m_thumbSliderWidget"));
        auto* sliderLayout = new QHBoxLayout(sliderRow);
        sliderLayout->setContentsMargins(8, 4, 12, 4);
        sliderLayout->addStretch(1);
        sizeSlider = new DesignSlider(sliderRow);
        sizeSlider->setObjectName(QStringLiteral("m_sizeSlider"));
        QPixmap groove(100, 2);
        groove.fill(QColor(150, 150, 150));
        sizeSlider->setPixmap(groove);
        sizeSlider->setHandleSize(9);
        sizeSlider->setMargin(4);
        sliderLayout->addWidget(sizeSlider);
        auto* backgrounds = new QButtonGroup(this);
        const char* sheet = "QToolButton {\n     border: 1px solid rgb( 122,122,122 );\n     "
                            "background-color: rgb( %1 );\n }";
        for (int id : { 2, 3 }) {
            auto* button = new QToolButton(sliderRow);
            button->setObjectName(id == 2 ? QStringLiteral("m_btnBlackBackground")
                                          : QStringLiteral("m_btnWhiteBackground"));
            button->setCheckable(true);
            button->setFixedSize(16, 16);
            button->setToolTip(id == 2 ? QStringLiteral("Set background to black")
                                       : QStringLiteral("Set background to white"));
            button->setStyleSheet(
                QString::fromLatin1(sheet).arg(id == 2 ? "0,0,0" : "255,255,255"));
            backgrounds->addButton(button, id);
            sliderLayout->addWidget(button);
        }
        centralLayout->addWidget(sliderRow);
        connect(backgrounds, &QButtonGroup::idClicked, this, &DemoWindow::changeBackgroundColor);
        blackButton = backgrounds->button(2);
        whiteButton = backgrounds->button(3);

        connectEverything();
        const QMap<QString, QStringList> all = Lumerax::instance()->listAll();
        tabs->setFolders(all);
        connect(stack, &QStackedWidget::currentChanged, this, &DemoWindow::connectSlider);
        showPage(IndexPageId);
        connectSlider();
    }

    void changeBackgroundColor(int id)
    {
        const bool white = id == 3;
        const QColor text = LumeraxGUI::paintBackground(central, white);
        toolBar->updateButtons(text);
        tabs->updateColor(text);
        (white ? whiteButton : blackButton)->setChecked(true);
    }

    // From a button: a page already shown stays as it is.
    void requestPage(int page)
    {
        if (stack->currentIndex() != page)
            showPage(page);
    }

    void showPage(int page)
    {
        // Remembered first: the tab rule below may ask for the last page.
        if (page != IndexPageId)
            lastPage = page;
        stack->setCurrentIndex(page);
        QToolButton* button = page == ColorPageId ? toolBar->searchColorButton()
            : page == MoodPageId                  ? toolBar->searchMoodButton()
                                                  : toolBar->dummyButton();
        button->click();
        if (page == IndexPageId)
            tabs->folderButton()->click();
        else if (tabs->isFolderTabActive())
            tabs->optionsButton()->click();
    }

private:
    void connectEverything()
    {
        connect(toolBar->homeButton(), &QToolButton::clicked, this,
            [this] { requestPage(IndexPageId); });
        connect(toolBar->searchColorButton(), &QToolButton::clicked, this,
            [this] { requestPage(ColorPageId); });
        connect(toolBar->searchMoodButton(), &QToolButton::clicked, this,
            [this] { requestPage(MoodPageId); });
        for (QToolButton* unavailable : { toolBar->recognizeFacesButton(),
                 toolBar->recognizeLicenseButton(), toolBar->recognizeCharacterButton() })
            unavailable->setEnabled(false);
        connect(tabs->colorSearchButton(), &QToolButton::clicked, this,
            [this] { requestPage(ColorPageId); });
        connect(tabs->moodSearchButton(), &QToolButton::clicked, this,
            [this] { requestPage(MoodPageId); });
        tabs->faceSearchButton()->setEnabled(false);
        connect(tabs, &TabWidget::tabChanged, this,
            [this] { requestPage(tabs->isFolderTabActive() ? int(IndexPageId) : lastPage); });
        connect(tabs, &TabWidget::folderClicked, this, [this](const QModelIndex& index) {
            if (index.isValid())
                indexPage->scrollToFolder(index.data(Qt::UserRole + 1).toString());
        });
        connect(indexPage, &IndexPage::clicked, this, [this](const QModelIndex& index) {
            if (index.isValid())
                tabs->selectFolder(index.data().toString());
        });
        connect(indexPage, &IndexPage::moveItems, tabs, &TabWidget::moveItems);
        connect(indexPage, &IndexPage::findSimilarImages, similarPage,
            &SimilarSearchPage::findSimilarImages);
        connect(colorPage, &ColorSearchPage::findSimilarImages, similarPage,
            &SimilarSearchPage::findSimilarImages);
        connect(moodPage, &MoodSearchPage::findSimilarImages, similarPage,
            &SimilarSearchPage::findSimilarImages);

        auto* manager = new SearchManager(this);
        connect(
            similarPage, &SimilarSearchPage::startSearch, manager, &SearchManager::searchSimilar);
        connect(
            manager, &SearchManager::similarFinished, similarPage, &SimilarSearchPage::finished);
        connect(colorPage, &ColorSearchPage::startSearch, manager, &SearchManager::searchColor);
        connect(manager, &SearchManager::colorFinished, colorPage, &ColorSearchPage::finished);
        connect(moodPage, &MoodSearchPage::startSearch, manager, &SearchManager::searchMood);
        connect(manager, &SearchManager::moodFinished, moodPage, &MoodSearchPage::finished);
        connect(similarPage, &SimilarSearchPage::searchFinished, this,
            [this] { showPage(SimilarPageId); });
        connect(
            colorPage, &ColorSearchPage::searchFinished, this, [this] { showPage(ColorPageId); });
        connect(moodPage, &MoodSearchPage::searchFinished, this, [this] { showPage(MoodPageId); });

        connect(topBar->addButton(), &QToolButton::clicked, this, [this] {
            const QStringList files = QFileDialog::getOpenFileNames(this,
                QStringLiteral("Open Images - %1").arg(QApplication::organizationName()),
                QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
            if (!files.isEmpty())
                Lumerax::instance()->analyze(files);
        });
        connect(Lumerax::instance(), &Lumerax::indexFinished, this, [this] {
            const QMap<QString, QStringList> all = Lumerax::instance()->listAll();
            indexPage->setThumbnails(all);
            tabs->setFolders(all);
        });
    }

    // The grid slider drives the thumbnail view of the page shown.
    void connectSlider()
    {
        ThumbnailView* view = stack->currentWidget()->findChild<ThumbnailView*>();
        disconnect(sizeSlider, &DesignSlider::valueChanged, nullptr, nullptr);
        if (!view)
            return;
        sizeSlider->setMaximum(view->maximumGridSize());
        sizeSlider->setMinimum(view->minimumGridSize());
        sizeSlider->setValue(view->gridSize());
        connect(sizeSlider, &DesignSlider::valueChanged, view, &ThumbnailView::setGridSize);
    }

    QWidget* central = nullptr;
    TopBar* topBar = nullptr;
    ToolBar* toolBar = nullptr;
    TabWidget* tabs = nullptr;
    QStackedWidget* stack = nullptr;
    IndexPage* indexPage = nullptr;
    SimilarSearchPage* similarPage = nullptr;
    ColorSearchPage* colorPage = nullptr;
    MoodSearchPage* moodPage = nullptr;
    DesignSlider* sizeSlider = nullptr;
    QAbstractButton* blackButton = nullptr;
    QAbstractButton* whiteButton = nullptr;
    int lastPage = ColorPageId;

public:
    SimilarSearchPage* similar() const { return similarPage; }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    setApplicationIdentity();
    QApplication::setStyle(new ProxyStyle);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows the bars and the index and search pages on the index of the data directory "
        "(LUMERAX_DATA_DIR; fill it with lumerax-cli index FOLDER)."));
    parser.addHelpOption();
    const QCommandLineOption white(QStringLiteral("white"), QStringLiteral("White background."));
    const QCommandLineOption page(QStringLiteral("page"),
        QStringLiteral("Page to show first: index, similar, color or mood."),
        QStringLiteral("page"), QStringLiteral("index"));
    const QCommandLineOption size(
        QStringLiteral("size"), QStringLiteral("Window size WxH."), QStringLiteral("size"));
    const QCommandLineOption sample(QStringLiteral("similar"),
        QStringLiteral("Search pictures like this indexed thumbnail at start."),
        QStringLiteral("thumbnail"));
    parser.addOptions({ white, page, size, sample });
    parser.process(app);

    Lumerax* controller = Lumerax::instance();
    controller->setSetting(ThumbnailSizeSetting, 250);
    controller->setSetting(DatabaseSetting, QStringLiteral("lumerax"));
    controller->openDatabase();

    DemoWindow window;
    window.changeBackgroundColor(parser.isSet(white) ? 3 : 2);
    const QStringList pages { "index", "similar", "color", "mood" };
    window.showPage(std::max<int>(0, int(pages.indexOf(parser.value(page)))));

    QSize windowSize = QGuiApplication::primaryScreen()->availableSize() * 0.6;
    const QStringList wh = parser.value(size).split(QLatin1Char('x'));
    if (wh.size() == 2)
        windowSize = QSize(wh[0].toInt(), wh[1].toInt());
    window.resize(windowSize);
    window.move(
        QGuiApplication::primaryScreen()->availableGeometry().center() - window.rect().center());

    QFile css(QStringLiteral(":/css/resources/scrollbar/scrollbar.css"));
    if (css.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QString sheet = QString::fromUtf8(css.readAll());
        for (QScrollBar* bar : window.findChildren<QScrollBar*>())
            bar->setStyleSheet(sheet);
    }
    window.show();
    if (parser.isSet(sample))
        window.similar()->findSimilarImages(parser.value(sample));
    return app.exec();
}
