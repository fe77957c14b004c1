#include "lumeraxgui.h"

#include "browser/thumbnailview.h"
#include "browser/thumbnailwidget.h"
#include "colorsearchpage.h"
#include "designslider.h"
#include "guiresources.h"
#include "indexpage.h"
#include "moodsearchpage.h"
#include "pages/businesscardpage.h"
#include "pages/facesearchpage.h"
#include "pages/licenseplatepage.h"
#include "search/searchmanager.h"
#include "shell/about.h"
#include "shell/config.h"
#include "shell/lumerax.h"
#include "shell/setup.h"
#include "similarsearchpage.h"
#include "tabwidget.h"
#include "toolbar.h"
#include "topbar.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace veldra {

// The widget tree of the window, in the order it is built.
struct LumeraxGUIForm
{
    QWidget* m_centralWidget = nullptr;
    QVBoxLayout* verticalLayout_2 = nullptr;
    TopBar* m_topBar = nullptr;
    ToolBar* m_toolBar = nullptr;
    QSplitter* m_splitter = nullptr;
    TabWidget* m_tabWidget = nullptr;
    QStackedWidget* m_basicStackedWidget = nullptr;
    ColorSearchPage* m_colorSearchPage = nullptr;
    LicensePlatePage* m_licensePlatePage = nullptr;
    MoodSearchPage* m_moodSearchPage = nullptr;
    IndexPage* m_indexPage = nullptr;
    FaceSearchPage* m_faceSearchPage = nullptr;
    SimilarSearchPage* m_similarSearchPage = nullptr;
    BusinessCardPage* m_businessCardPage = nullptr;
    QWidget* m_thumbSliderWidget = nullptr;
    DesignSlider* m_sizeSlider = nullptr;
    QToolButton* m_btnBlackBackground = nullptr;
    QToolButton* m_btnWhiteBackground = nullptr;
    QStatusBar* statusbar = nullptr;
    QWidget* progressHolder = nullptr;
    QProgressBar* progressBar = nullptr;
    QToolButton* cancelIndexing = nullptr;
    SearchManager* searchManager = nullptr;

    void setup(QMainWindow* window);
    void retranslate();
};

void LumeraxGUIForm::setup(QMainWindow* window)
{
    window->setObjectName(QStringLiteral("LumeraxGUI"));
    m_centralWidget = new QWidget(window);
    m_centralWidget->setObjectName(QStringLiteral("m_centralWidget"));
    m_centralWidget->setAutoFillBackground(true);
    verticalLayout_2 = new QVBoxLayout(m_centralWidget);
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    verticalLayout_2->setContentsMargins(0, 0, 0, 0);
    verticalLayout_2->setSpacing(0);

    m_topBar = new TopBar(m_centralWidget);
    m_topBar->setObjectName(QStringLiteral("m_topBar"));
    m_toolBar = new ToolBar(m_centralWidget);
    m_toolBar->setObjectName(QStringLiteral("m_toolBar"));
    m_splitter = new QSplitter(Qt::Horizontal, m_centralWidget);
    m_splitter->setObjectName(QStringLiteral("m_splitter"));
    m_splitter->setChildrenCollapsible(false);
    m_tabWidget = new TabWidget(m_splitter);
    m_tabWidget->setObjectName(QStringLiteral("m_tabWidget"));
    m_basicStackedWidget = new QStackedWidget(m_splitter);
    m_basicStackedWidget->setObjectName(QStringLiteral("m_basicStackedWidget"));

    m_colorSearchPage = new ColorSearchPage;
    m_colorSearchPage->setObjectName(QStringLiteral("m_colorSearchPage"));
    m_licensePlatePage = new LicensePlatePage;
    m_licensePlatePage->setObjectName(QStringLiteral("m_licensePlatePage"));
    m_moodSearchPage = new MoodSearchPage;
    m_moodSearchPage->setObjectName(QStringLiteral("m_moodSearchPage"));
    m_indexPage = new IndexPage;
    m_indexPage->setObjectName(QStringLiteral("m_indexPage"));
    m_faceSearchPage = new FaceSearchPage;
    m_faceSearchPage->setObjectName(QStringLiteral("m_faceSearchPage"));
    m_similarSearchPage = new SimilarSearchPage;
    m_similarSearchPage->setObjectName(QStringLiteral("m_similarSearchPage"));
    m_businessCardPage = new BusinessCardPage;
    m_businessCardPage->setObjectName(QStringLiteral("m_businessCardPage"));
    for (QWidget* page :
        { static_cast<QWidget*>(m_colorSearchPage), static_cast<QWidget*>(m_licensePlatePage),
            static_cast<QWidget*>(m_moodSearchPage), static_cast<QWidget*>(m_indexPage),
            static_cast<QWidget*>(m_faceSearchPage), static_cast<QWidget*>(m_similarSearchPage),
            static_cast<QWidget*>(m_businessCardPage) })
        m_basicStackedWidget->addWidget(page);
    m_splitter->addWidget(m_tabWidget);
    m_splitter->addWidget(m_basicStackedWidget);

    m_thumbSliderWidget = new QWidget(m_centralWidget);
    m_thumbSliderWidget->setObjectName(QStringLiteral("m_thumbSliderWidget"));
    auto* sliderLayout = new QHBoxLayout(m_thumbSliderWidget);
    sliderLayout->setContentsMargins(8, 4, 12, 4);
    sliderLayout->setSpacing(6);
    sliderLayout->addStretch(1);
    m_sizeSlider = new DesignSlider(m_thumbSliderWidget);
    m_sizeSlider->setObjectName(QStringLiteral("m_sizeSlider"));
    sliderLayout->addWidget(m_sizeSlider);
    const QString sheet = QStringLiteral(
        "QToolButton {\n     border: 1px solid rgb( 122,122,122 );\n     background-color: rgb( "
        "%1 );\n }");
    m_btnBlackBackground = new QToolButton(m_thumbSliderWidget);
    m_btnBlackBackground->setObjectName(QStringLiteral("m_btnBlackBackground"));
    m_btnBlackBackground->setStyleSheet(sheet.arg(QStringLiteral("0,0,0")));
    m_btnWhiteBackground = new QToolButton(m_thumbSliderWidget);
    m_btnWhiteBackground->setObjectName(QStringLiteral("m_btnWhiteBackground"));
    m_btnWhiteBackground->setStyleSheet(sheet.arg(QStringLiteral("255,255,255")));
    for (QToolButton* button : { m_btnBlackBackground, m_btnWhiteBackground }) {
        button->setCheckable(true);
        button->setFixedSize(16, 16);
        button->setCursor(Qt::PointingHandCursor);
        sliderLayout->addWidget(button);
    }

    verticalLayout_2->addWidget(m_topBar);
    verticalLayout_2->addWidget(m_toolBar);
    verticalLayout_2->addWidget(m_splitter, 1);
    verticalLayout_2->addWidget(m_thumbSliderWidget);
    window->setCentralWidget(m_centralWidget);

    window->setMenuBar(new QMenuBar(window));
    window->menuBar()->setObjectName(QStringLiteral("menubar"));
    window->menuBar()->hide();
    statusbar = new QStatusBar(window);
    statusbar->setObjectName(QStringLiteral("statusbar"));
    window->setStatusBar(statusbar);
    retranslate();
}

void LumeraxGUIForm::retranslate()
{
    m_btnBlackBackground->setToolTip(LumeraxGUI::tr("Set background to black"));
    m_btnWhiteBackground->setToolTip(LumeraxGUI::tr("Set background to white"));
    if (cancelIndexing) {
        cancelIndexing->setText(LumeraxGUI::tr("Stop"));
        cancelIndexing->setToolTip(
            LumeraxGUI::tr("Stop indexing; the pictures indexed so far stay in the index"));
    }
}

LumeraxGUI::LumeraxGUI(QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<LumeraxGUIForm>())
{
    initGuiResources();
    Lumerax* controller = Lumerax::instance();
    controller->setParent(this);
    controller->setSetting(ThumbnailSizeSetting, 250);
    controller->setSetting(DatabaseSetting, QStringLiteral("lumerax"));
    controller->openDatabase();

    ui->setup(this);
    setWindowTitle(QCoreApplication::applicationName());
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    ui->m_splitter->setStretchFactor(1, 1);
    ui->m_topBar->setWindow(this);

    connect(ui->m_topBar->addButton(), &QToolButton::clicked, this, &LumeraxGUI::addToIndex);
    ToolBar* toolBar = ui->m_toolBar;
    connect(toolBar->homeButton(), &QToolButton::clicked, this, &LumeraxGUI::showIndex);
    connect(
        toolBar->searchColorButton(), &QToolButton::clicked, this, &LumeraxGUI::showColorSearch);
    connect(toolBar->searchMoodButton(), &QToolButton::clicked, this, &LumeraxGUI::showMoodSearch);
    connect(
        toolBar->recognizeFacesButton(), &QToolButton::clicked, this, &LumeraxGUI::showFaceSearch);
    connect(toolBar->recognizeLicenseButton(), &QToolButton::clicked, this,
        &LumeraxGUI::showLicensePlateOcr);
    connect(toolBar->recognizeCharacterButton(), &QToolButton::clicked, this,
        &LumeraxGUI::showBusinessCardOcr);
    connect(toolBar->helpButton(), &QToolButton::clicked, this, &LumeraxGUI::showAbout);
    connect(toolBar->settingsButton(), &QToolButton::clicked, this, &LumeraxGUI::showSetup);

    TabWidget* tabs = ui->m_tabWidget;
    connect(tabs, &TabWidget::tabChanged, this, &LumeraxGUI::tabChanged);
    connect(tabs, &TabWidget::folderClicked, this, &LumeraxGUI::folderViewClicked);
    connect(tabs->colorSearchButton(), &QToolButton::clicked, this, &LumeraxGUI::showColorSearch);
    connect(tabs->moodSearchButton(), &QToolButton::clicked, this, &LumeraxGUI::showMoodSearch);
    connect(tabs->faceSearchButton(), &QToolButton::clicked, this, &LumeraxGUI::showFaceSearch);

    FaceSearchPage* facePage = ui->m_faceSearchPage;
    SimilarSearchPage* similarPage = ui->m_similarSearchPage;
    auto recognizeFaces = qOverload<const QString&>(&FaceSearchPage::recognize);
    connect(ui->m_colorSearchPage, &ColorSearchPage::recognizeFaces, facePage, recognizeFaces);
    connect(ui->m_moodSearchPage, &MoodSearchPage::recognizeFaces, facePage, recognizeFaces);
    connect(ui->m_indexPage, &IndexPage::recognizeFaces, facePage, recognizeFaces);
    connect(similarPage, &SimilarSearchPage::recognizeFaces, facePage, recognizeFaces);
    connect(ui->m_colorSearchPage, &ColorSearchPage::findSimilarImages, similarPage,
        &SimilarSearchPage::findSimilarImages);
    connect(ui->m_moodSearchPage, &MoodSearchPage::findSimilarImages, similarPage,
        &SimilarSearchPage::findSimilarImages);
    connect(ui->m_indexPage, &IndexPage::findSimilarImages, similarPage,
        &SimilarSearchPage::findSimilarImages);
    connect(
        ui->m_colorSearchPage, &ColorSearchPage::searchFinished, this, &LumeraxGUI::searchFinished);
    connect(
        ui->m_moodSearchPage, &MoodSearchPage::searchFinished, this, &LumeraxGUI::searchFinished);
    connect(similarPage, &SimilarSearchPage::searchFinished, this, &LumeraxGUI::searchFinished);
    connect(facePage, &FaceSearchPage::searchFinished, this, &LumeraxGUI::searchFinished);
    connect(ui->m_indexPage, &IndexPage::clicked, this, &LumeraxGUI::indexViewClicked);
    connect(ui->m_indexPage, &IndexPage::moveItems, tabs, &TabWidget::moveItems);
    connect(ui->m_indexPage->thumbnailWidget(), &ThumbnailWidget::removeFiles, this,
        &LumeraxGUI::removeFromIndex);

    auto* backgrounds = new QButtonGroup(this);
    backgrounds->setExclusive(true);
    backgrounds->addButton(ui->m_btnBlackBackground, 2);
    backgrounds->addButton(ui->m_btnWhiteBackground, 3);
    connect(backgrounds, &QButtonGroup::idClicked, this, &LumeraxGUI::changeBackgroundColor);
    const int background
        = Config::instance()
              ->value(QStringLiteral("Lumerax"), QStringLiteral("BackgroundColor"), 2)
              .toInt();
    if (QAbstractButton* button = backgrounds->button(background))
        button->click();
    else
        ui->m_btnBlackBackground->click();
    ui->m_sizeSlider->setMargin(4);
    ui->m_sizeSlider->setHandleSize(9);
    QPixmap groove(100, 2);
    groove.fill(QColor(150, 150, 150));
    ui->m_sizeSlider->setPixmap(groove);
    for (ThumbnailWidget* view :
        { ui->m_colorSearchPage->resultView(), ui->m_moodSearchPage->resultView(),
            ui->m_indexPage->thumbnailWidget(), similarPage->resultView() })
        connect(view, &ThumbnailWidget::gridChanged, ui->m_sizeSlider, &DesignSlider::setValue);

    QStatusBar* status = ui->statusbar;
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, QColor(150, 150, 150));
    gradient.setColorAt(1, QColor(122, 122, 122));
    QPalette statusPalette = status->palette();
    statusPalette.setBrush(QPalette::Window, gradient);
    status->setPalette(statusPalette);
    status->setAutoFillBackground(true);
    status->setSizeGripEnabled(true);
    ui->progressHolder = new QWidget(status);
    ui->progressHolder->setObjectName(QStringLiteral("progressHolder"));
    ui->progressHolder->setMaximumHeight(12);
    auto* progressLayout = new QHBoxLayout(ui->progressHolder);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    ui->progressBar = new QProgressBar(ui->progressHolder);
    ui->progressBar->setObjectName(QStringLiteral("progressBar"));
    ui->progressBar->setMinimumWidth(200);
    // The bar is too low for its text; the count is the status message.
    ui->progressBar->setTextVisible(false);
    progressLayout->addWidget(ui->progressBar);
    status->addPermanentWidget(ui->progressHolder);
    // A long run can be stopped; what is indexed by then stays.
    ui->cancelIndexing = new QToolButton(status);
    ui->cancelIndexing->setObjectName(QStringLiteral("cancelIndexing"));
    ui->cancelIndexing->setAutoRaise(true);
    status->addPermanentWidget(ui->cancelIndexing);
    ui->progressHolder->hide();
    ui->cancelIndexing->hide();
    ui->retranslate();
    connect(controller, &Lumerax::progressRangeChanged, ui->progressBar, &QProgressBar::setRange);
    connect(controller, &Lumerax::progressValueChanged, ui->progressBar, &QProgressBar::setValue);
    connect(controller, &Lumerax::progressValueChanged, this, [this](int done) {
        if (ui->progressHolder->isVisible())
            ui->statusbar->showMessage(
                tr("Indexing pictures: %1 of %2").arg(done).arg(ui->progressBar->maximum()));
    });
    connect(ui->cancelIndexing, &QToolButton::clicked, controller, &Lumerax::cancelIndexing);

    ui->searchManager = new SearchManager(this);
    SearchManager* manager = ui->searchManager;
    connect(similarPage, &SimilarSearchPage::startSearch, manager, &SearchManager::searchSimilar);
    connect(manager, &SearchManager::similarFinished, similarPage, &SimilarSearchPage::finished);
    connect(
        ui->m_colorSearchPage, &ColorSearchPage::startSearch, manager, &SearchManager::searchColor);
    connect(
        manager, &SearchManager::colorFinished, ui->m_colorSearchPage, &ColorSearchPage::finished);
    connect(
        ui->m_moodSearchPage, &MoodSearchPage::startSearch, manager, &SearchManager::searchMood);
    connect(manager, &SearchManager::moodFinished, ui->m_moodSearchPage, &MoodSearchPage::finished);

    reloadIndex();

    connect(ui->m_basicStackedWidget, &QStackedWidget::currentChanged, this,
        &LumeraxGUI::connectSlider);
    lastPageIndex = ui->m_basicStackedWidget->indexOf(ui->m_colorSearchPage);
    showIndex();
    connectSlider();

    connect(controller, &Lumerax::indexStarted, this, &LumeraxGUI::indexStarted);
    connect(controller, &Lumerax::indexFinished, this, &LumeraxGUI::indexFinished);

    Config* config = Config::instance();
    const QString group = QStringLiteral("Lumerax");
    ui->m_splitter->restoreState(config->value(group, QStringLiteral("Splitter")).toByteArray());
    // The wheel lines saved in the Preferences apply from the start, unless
    // the settings file names its own.
    const QVariant nativeWheelLines
        = QSettings().value(QStringLiteral("WheelLines"), QApplication::wheelScrollLines());
    QApplication::setWheelScrollLines(
        config->value(group, QStringLiteral("WheelLines"), nativeWheelLines).toInt());
    if (!restoreGeometry(config->value(group, QStringLiteral("Geometry")).toByteArray())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->geometry();
            // Never below what the layout needs, or the centre would move
            // when the window is shown.
            resize((available.size() * 0.6).expandedTo(minimumSizeHint()));
            QRect frame = geometry();
            frame.moveCenter(available.center());
            move(frame.topLeft());
        }
        ui->m_splitter->setSizes({ 260, std::max(400, width() - 260) });
    }

    QFile css(QStringLiteral(":/css/resources/scrollbar/scrollbar.css"));
    if (css.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QString sheet = QString::fromUtf8(css.readAll());
        const QList<QScrollBar*> bars = findChildren<QScrollBar*>();
        for (QScrollBar* bar : bars)
            bar->setStyleSheet(sheet);
    }
    show();
}

LumeraxGUI::~LumeraxGUI() = default;

QString LumeraxGUI::imageFileFilter(const QList<QByteArray>& formats)
{
    QStringList patterns;
    for (const QByteArray& format : formats)
        patterns << QStringLiteral("*.%1").arg(QString::fromLatin1(format));
    QString filter = tr("All Supported Types") + QStringLiteral(" (")
        + patterns.join(QLatin1Char(' ')) + QStringLiteral(");;");

    QStringList entries;
    for (const QByteArray& bytes : formats) {
        const QString format = QString::fromLatin1(bytes);
        QString entry;
        if (format == QLatin1String("bmp"))
            entry = tr("Windows Bitmap") + QStringLiteral(" (*.bmp)");
        else if (format == QLatin1String("gif"))
            entry = tr("Graphic Interchange Format") + QStringLiteral(" (*.gif)");
        else if (format == QLatin1String("svg"))
            entry = tr("Scaleable Vector Graphics") + QStringLiteral(" (*.svg)");
        else if (format == QLatin1String("jpeg") || format == QLatin1String("jpg"))
            entry = tr("Joint Photographic Experts Group") + QStringLiteral(" (*.jpeg *.jpg)");
        else if (format == QLatin1String("mng"))
            entry = tr("Multiple-image Network Graphics") + QStringLiteral(" (*.mng)");
        else if (format == QLatin1String("png"))
            entry = tr("Portable Network Graphics") + QStringLiteral(" (*.png)");
        else if (format == QLatin1String("pbm") || format == QLatin1String("ppm"))
            entry = tr("Portable Bitmap") + QStringLiteral(" (*.pbm *.ppm)");
        else if (format == QLatin1String("pgm"))
            entry = tr("Portable Graymap") + QStringLiteral(" (*.pgm)");
        else if (format == QLatin1String("xbm") || format == QLatin1String("xpm"))
            entry = tr("X11 Bitmap") + QStringLiteral(" (*.xbm *.xpm)");
        else if (format == QLatin1String("ico"))
            entry = tr("Icon Image File Format") + QStringLiteral(" (*.ico)");
        else if (format == QLatin1String("jp2") || format == QLatin1String("j2k"))
            entry = tr("JPEG 2000") + QStringLiteral(" (*.jp2 *.j2k)");
        else if (format == QLatin1String("tif") || format == QLatin1String("tiff"))
            entry = tr("Tagged Image File Format") + QStringLiteral(" (*.tif *.tiff)");
        else
            entry = tr("Unknown Format") + QStringLiteral(" (*.%1)").arg(format);
        if (!entries.contains(entry))
            entries << entry;
    }
    return filter + entries.join(QStringLiteral(";;"));
}

void LumeraxGUI::slotOpenUrl(const QUrl& _url)
{
    if (_url.isEmpty())
        return;
    pendingUrl = _url;
    // Later, so the About window that handed the link over is gone and no
    // longer catches web links itself.
    QTimer::singleShot(20, this, &LumeraxGUI::slotRealOpenUrl);
}

void LumeraxGUI::slotRealOpenUrl()
{
    if (!pendingUrl.isEmpty() && pendingUrl.isValid())
        QDesktopServices::openUrl(pendingUrl);
}

void LumeraxGUI::makeCurrent(QWidget* page)
{
    ui->m_basicStackedWidget->setCurrentWidget(page);
    if (page != ui->m_indexPage)
        lastPageIndex = ui->m_basicStackedWidget->indexOf(page);
}

void LumeraxGUI::showPage(QWidget* page)
{
    if (!page || ui->m_basicStackedWidget->currentWidget() == page)
        return;
    makeCurrent(page);
    synchronizeToolBar();
    applyTabRule();
}

void LumeraxGUI::showIndex()
{
    if (ui->m_basicStackedWidget->currentWidget() == ui->m_indexPage)
        return;
    ui->m_tabWidget->folderButton()->click();
    ui->m_basicStackedWidget->setCurrentWidget(ui->m_indexPage);
    synchronizeToolBar();
    applyTabRule();
}

void LumeraxGUI::showColorSearch()
{
    showPage(ui->m_colorSearchPage);
}

void LumeraxGUI::showMoodSearch()
{
    showPage(ui->m_moodSearchPage);
}

void LumeraxGUI::showFaceSearch()
{
    showPage(ui->m_faceSearchPage);
}

void LumeraxGUI::showLicensePlateOcr()
{
    showPage(ui->m_licensePlatePage);
}

void LumeraxGUI::showBusinessCardOcr()
{
    showPage(ui->m_businessCardPage);
}

void LumeraxGUI::searchFinished()
{
    auto* page = qobject_cast<QWidget*>(sender());
    if (!page || ui->m_basicStackedWidget->indexOf(page) < 0)
        return;
    makeCurrent(page);
    synchronizeToolBar();
    applyTabRule();
}

void LumeraxGUI::tabChanged()
{
    if (ui->m_tabWidget->isFolderTabActive())
        ui->m_basicStackedWidget->setCurrentWidget(ui->m_indexPage);
    else if (lastPageIndex >= 0)
        ui->m_basicStackedWidget->setCurrentIndex(lastPageIndex);
    synchronizeToolBar();
}

void LumeraxGUI::synchronizeToolBar()
{
    QWidget* page = ui->m_basicStackedWidget->currentWidget();
    ToolBar* toolBar = ui->m_toolBar;
    QToolButton* button = toolBar->dummyButton();
    if (page == ui->m_colorSearchPage)
        button = toolBar->searchColorButton();
    else if (page == ui->m_moodSearchPage)
        button = toolBar->searchMoodButton();
    else if (page == ui->m_faceSearchPage)
        button = toolBar->recognizeFacesButton();
    else if (page == ui->m_licensePlatePage)
        button = toolBar->recognizeLicenseButton();
    else if (page && page == ui->m_businessCardPage)
        button = toolBar->recognizeCharacterButton();
    // Checked without a click: a click would ask for the page again.
    button->setChecked(true);
    toolBar->updateButtons();
}

void LumeraxGUI::applyTabRule()
{
    TabWidget* tabs = ui->m_tabWidget;
    if (ui->m_basicStackedWidget->currentWidget() == ui->m_indexPage)
        tabs->folderButton()->click();
    else if (tabs->folderButton()->isChecked())
        tabs->optionsButton()->click();
}

void LumeraxGUI::connectSlider()
{
    QWidget* page = ui->m_basicStackedWidget->currentWidget();
    ThumbnailView* view = page ? page->findChild<ThumbnailView*>() : nullptr;
    if (!view) {
        ui->m_thumbSliderWidget->hide();
        return;
    }
    disconnect(ui->m_sizeSlider, &DesignSlider::valueChanged, nullptr, nullptr);
    ui->m_sizeSlider->setMaximum(view->maximumGridSize());
    ui->m_sizeSlider->setMinimum(view->minimumGridSize());
    ui->m_sizeSlider->setValue(view->gridSize());
    connect(ui->m_sizeSlider, &DesignSlider::valueChanged, view, &ThumbnailView::setGridSize);
    ui->m_thumbSliderWidget->show();
}

void LumeraxGUI::indexViewClicked(const QModelIndex& _index)
{
    if (_index.isValid())
        ui->m_tabWidget->selectFolder(_index.data(Qt::DisplayRole).toString());
}

void LumeraxGUI::folderViewClicked(const QModelIndex& _index)
{
    if (_index.isValid())
        ui->m_indexPage->scrollToFolder(_index.data(Qt::UserRole + 1).toString());
}

void LumeraxGUI::indexStarted()
{
    ui->progressHolder->show();
    ui->cancelIndexing->show();
}

void LumeraxGUI::progressStatusChanged(int _progress)
{
    ui->progressHolder->show();
    ui->progressBar->setValue(_progress);
    ui->progressBar->repaint();
    if (_progress >= 100) {
        ui->progressHolder->hide();
        ui->cancelIndexing->hide();
        ui->statusbar->clearMessage();
    }
}

void LumeraxGUI::indexFinished()
{
    // A queued batch starts at once and shows the bar again.
    if (!Lumerax::instance()->isIndexing()) {
        ui->progressHolder->hide();
        ui->cancelIndexing->hide();
        ui->statusbar->clearMessage();
    }
    reloadIndex();
}

void LumeraxGUI::reloadIndex()
{
    const QMap<QString, QStringList> all = Lumerax::instance()->listAll();
    ui->m_indexPage->setThumbnails(all);
    ui->m_tabWidget->setFolders(all);
}

QColor LumeraxGUI::paintBackground(QWidget* central, bool white)
{
    const QColor background = white ? QColor(Qt::white) : QColor(Qt::black);
    const QColor text = white ? QColor(Qt::black) : QColor(Qt::white);
    QPalette palette = central->palette();
    palette.setColor(central->backgroundRole(), background);
    palette.setColor(central->foregroundRole(), text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    // The thumbnail grids and the result lists paint on the base colour.
    palette.setColor(QPalette::Base, background);
    central->setPalette(palette);
    return text;
}

void LumeraxGUI::changeBackgroundColor(int _index)
{
    Config::instance()->setValue(
        QStringLiteral("Lumerax"), QStringLiteral("BackgroundColor"), _index);
    const bool white = _index == 3;
    const QColor text = paintBackground(ui->m_centralWidget, white);
    ui->m_toolBar->updateButtons(text);
    ui->m_tabWidget->updateColor(text);
    (white ? ui->m_btnWhiteBackground : ui->m_btnBlackBackground)->setChecked(true);
}

void LumeraxGUI::showSetup()
{
    auto* setup = new Setup(this);
    setup->exec();
}

void LumeraxGUI::showAbout()
{
    auto* about = new About(this);
    connect(about, &About::openUrl, this, &LumeraxGUI::slotOpenUrl);
    // Centred over the window: a popup has no window manager to place it.
    about->adjustSize();
    QRect frame = about->geometry();
    frame.moveCenter(geometry().center());
    about->move(frame.topLeft());
    about->show();
}

void LumeraxGUI::addToIndex()
{
    Config* config = Config::instance();
    const QString group = QStringLiteral("Lumerax");
    const QString applicationDir = QCoreApplication::applicationDirPath();
    const QString startFolder = config
                                    ->value(group, QStringLiteral("IndexPath"),
                                        applicationDir + QStringLiteral("/Images"))
                                    .toString();
    const QStringList files = QFileDialog::getOpenFileNames(this,
        tr("Open Images - %1").arg(QCoreApplication::organizationName()), startFolder,
        imageFileFilter(QImageReader::supportedImageFormats()));
    if (files.isEmpty())
        return;
    const QString folder = QFileInfo(files.first()).absolutePath();
    if (!folder.startsWith(applicationDir, Qt::CaseInsensitive))
        config->setValue(group, QStringLiteral("IndexPath"), folder);
    Lumerax::instance()->analyze(files);
}

void LumeraxGUI::removeFromIndex(const QStringList& _thumbnails)
{
    if (_thumbnails.isEmpty())
        return;
    const auto answer = QMessageBox::question(this, tr("Remove from Index"),
        tr("Remove %n picture(s) from the index?\nThe files themselves are not deleted.", "",
            int(_thumbnails.size())),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        Lumerax::instance()->removeImages(_thumbnails);
    // The grid took the rows out already; the listing puts back what stayed.
    reloadIndex();
}

void LumeraxGUI::closeEvent(QCloseEvent* event)
{
    Lumerax* controller = Lumerax::instance();
    // Closing does not wait for the rest of a long run.
    controller->cancelIndexing();
    controller->deleteLater();
    Config* config = Config::instance();
    const QString group = QStringLiteral("Lumerax");
    config->setValue(group, QStringLiteral("Geometry"), saveGeometry());
    config->setValue(group, QStringLiteral("Splitter"), ui->m_splitter->saveState());
    ui->m_indexPage->thumbnailWidget()->saveSettings();
    QMainWindow::closeEvent(event);
}

} // namespace veldra
