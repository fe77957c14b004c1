#include "tabwidget.h"

#include "foldermodel.h"
#include "line.h"
#include "shell/lumerax.h"
#include "stylesheets.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace veldra {

class TabWidgetPrivate
{
public:
    QVBoxLayout* m_layout = nullptr;
    QPushButton* m_folderBtn = nullptr;
    QPushButton* m_optionsBtn = nullptr;
    QPushButton* m_projectsBtn = nullptr;
    QLabel* m_descriptionLabel = nullptr;
    QStackedWidget* m_tabStackedWidget = nullptr;
    QWidget* m_pageFolder = nullptr;
    QTreeView* m_folderView = nullptr;
    QWidget* m_pageOption = nullptr;
    QToolButton* m_colorSearchBtn = nullptr;
    QToolButton* m_moodSearchBtn = nullptr;
    QToolButton* m_faceSearchBtn = nullptr;
    QWidget* m_pageProjects = nullptr;
    QButtonGroup* group = nullptr;
    FolderModel* model = nullptr;
    QStringList descriptions;

    void setupUi(TabWidget* q);
};

namespace {

QPushButton* tabButton(QWidget* parent, const char* name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setFlat(true);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QToolButton* optionButton(QWidget* parent, const char* name, const QString& icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

QString optionPageSheet(const QColor& color)
{
    return QLatin1String(transparentFrameSheet)
        + QStringLiteral("#m_colorSearchBtn, #m_faceSearchBtn, #m_moodSearchBtn {  border: 0px "
                         "solid transparent;  background-color: transparent;}QToolButton { color: "
                         "rgb(%1, %2, %3); }")
              .arg(color.red())
              .arg(color.green())
              .arg(color.blue());
}

} // namespace

void TabWidgetPrivate::setupUi(TabWidget* q)
{
    q->setObjectName(QStringLiteral("TabWidget"));
    m_layout = new QVBoxLayout(q);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);

    auto* tabs = new QHBoxLayout();
    tabs->setContentsMargins(4, 0, 0, 0);
    tabs->setSpacing(2);
    m_folderBtn = tabButton(q, "m_folderBtn");
    m_optionsBtn = tabButton(q, "m_optionsBtn");
    m_projectsBtn = tabButton(q, "m_projectsBtn");
    for (QPushButton* button : { m_folderBtn, m_optionsBtn, m_projectsBtn }) {
        button->setStyleSheet(QStringLiteral(
            "QPushButton:flat {\n\tborder: 2px solid rgb(122, 122, 122);\n\tborder-top-style: "
            "none;\n\tborder-left-style: none;\n\tpadding: 2px;\n\tpadding-left: 8px;\n"
            "\tpadding-right: 8px;\n\tborder-top-left-radius: 5px;\n\tborder-top-right-radius: "
            "5px;\n\tbackground-color: rgb(90, 90, 90);\n\tcolor: rgb(222, 222, 222);\n}"
            "QPushButton:flat:checked {\n\tbackground-color: rgb(255, 125, 0);\n\tcolor: rgb(255, "
            "255, 255);\n}"));
        tabs->addWidget(button);
    }
    tabs->addStretch(1);
    m_layout->addLayout(tabs);

    m_descriptionLabel = new QLabel(q);
    m_descriptionLabel->setObjectName(QStringLiteral("m_descriptionLabel"));
    m_descriptionLabel->setStyleSheet(
        QStringLiteral("QLabel#m_descriptionLabel {\n\tbackground-color: rgb(255, 125, 0);\n"
                       "\tcolor: rgb(255, 255, 255);\n\tpadding: 3px 6px;\n}"));
    m_layout->addWidget(m_descriptionLabel);

    m_tabStackedWidget = new QStackedWidget(q);
    m_tabStackedWidget->setObjectName(QStringLiteral("m_tabStackedWidget"));

    m_pageFolder = new QWidget();
    m_pageFolder->setObjectName(QStringLiteral("m_pageFolder"));
    auto* folderLayout = new QVBoxLayout(m_pageFolder);
    folderLayout->setContentsMargins(0, 4, 0, 0);
    m_folderView = new QTreeView(m_pageFolder);
    m_folderView->setObjectName(QStringLiteral("m_folderView"));
    m_folderView->setHeaderHidden(true);
    m_folderView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_folderView->setFrameShape(QFrame::NoFrame);
    m_folderView->setStyleSheet(
        QStringLiteral("QTreeView { background: transparent; }"
                       "QTreeView::item:selected { background-color: rgb(255, 125, 0); color: "
                       "rgb(255, 255, 255); }"));
    folderLayout->addWidget(m_folderView);
    m_tabStackedWidget->addWidget(m_pageFolder);

    m_pageOption = new QWidget();
    m_pageOption->setObjectName(QStringLiteral("m_pageOption"));
    auto* optionLayout = new QVBoxLayout(m_pageOption);
    optionLayout->setContentsMargins(4, 8, 4, 0);
    optionLayout->setSpacing(4);
    m_colorSearchBtn = optionButton(
        m_pageOption, "m_colorSearchBtn", QStringLiteral(":/icons/resources/icons/icon-color.png"));
    m_moodSearchBtn = optionButton(
        m_pageOption, "m_moodSearchBtn", QStringLiteral(":/icons/resources/icons/icon-mood.png"));
    m_faceSearchBtn = optionButton(
        m_pageOption, "m_faceSearchBtn", QStringLiteral(":/icons/resources/icons/icon-faces.png"));
    for (QToolButton* button : { m_colorSearchBtn, m_moodSearchBtn, m_faceSearchBtn }) {
        optionLayout->addWidget(button);
        optionLayout->addWidget(new Line(m_pageOption));
    }
    optionLayout->addStretch(1);
    m_tabStackedWidget->addWidget(m_pageOption);

    // Room for projects, which nothing offers yet.
    m_pageProjects = new QWidget(q);
    m_pageProjects->setObjectName(QStringLiteral("m_pageProjects"));

    m_layout->addWidget(m_tabStackedWidget, 1);
}

TabWidget::TabWidget(QWidget* parent)
    : QFrame(parent)
    , d(std::make_unique<TabWidgetPrivate>())
{
    d->setupUi(this);
    d->m_projectsBtn->hide();
    d->m_pageProjects->hide();

    d->model = new FolderModel(this);
    d->m_folderView->setModel(d->model);

    d->group = new QButtonGroup(this);
    d->group->setExclusive(true);
    d->group->addButton(d->m_folderBtn, FolderTab);
    d->group->addButton(d->m_optionsBtn, OptionsTab);
    connect(d->group, &QButtonGroup::idClicked, this, &TabWidget::setCurrentTab);
    // Every change of the shown tab page is reported once, as tabChanged().
    connect(d->m_tabStackedWidget, &QStackedWidget::currentChanged, this, &TabWidget::tabChanged);
    connect(d->m_folderView, &QTreeView::clicked, this, &TabWidget::folderClicked);

    d->m_folderBtn->setText(tr("Folder"));
    d->m_optionsBtn->setText(tr("Options"));
    d->m_projectsBtn->setText(tr("Projects"));
    d->m_colorSearchBtn->setText(tr("Color search"));
    d->m_moodSearchBtn->setText(tr("Mood search"));
    d->m_faceSearchBtn->setText(tr("Face search"));
    d->descriptions
        = QStringList { tr("Indexed folders"), tr("Search through results again"), tr("Projects") };

    d->m_folderBtn->setChecked(true);
    d->m_tabStackedWidget->setCurrentIndex(FolderTab);
    d->m_descriptionLabel->setText(d->descriptions.at(FolderTab));
    updateColor(QColor(Qt::white));
}

TabWidget::~TabWidget() = default;

void TabWidget::setCurrentTab(int _currentId)
{
    if (_currentId < 0 || _currentId >= d->m_tabStackedWidget->count()
        || _currentId == d->m_tabStackedWidget->currentIndex())
        return;
    d->group->button(_currentId)->setChecked(true);
    d->m_descriptionLabel->setText(d->descriptions.value(_currentId));
    d->m_tabStackedWidget->setCurrentIndex(_currentId);
}

int TabWidget::currentTab() const
{
    return d->m_tabStackedWidget->currentIndex();
}

bool TabWidget::isFolderTabActive() const
{
    return d->m_folderBtn->isChecked();
}

void TabWidget::setFolders(const QMap<QString, QStringList>& folders)
{
    d->model->setFolders(folders);
    d->m_folderView->expandAll();
}

void TabWidget::selectFolder(const QString& path)
{
    QStandardItem* item = d->model->findFolder(path);
    if (!item)
        return;
    const QModelIndex index = item->index();
    d->m_folderView->setCurrentIndex(index);
    d->m_folderView->scrollTo(index);
}

void TabWidget::moveItems(const QString& _dest, int index, const QStringList& _files)
{
    if (_files.isEmpty())
        return;
    Lumerax* controller = Lumerax::instance();
    const QString source
        = QFileInfo(controller->sourceImagePath(QFileInfo(_files.first()).fileName())).path();
    // The counts follow what really moved: a file that could not be moved
    // stays counted where it is.
    const QStringList moved = controller->moveImages(_dest, index, _files);
    d->model->updateCounts(source, _dest, int(moved.size()));
}

void TabWidget::updateColor(const QColor& color)
{
    d->m_pageOption->setStyleSheet(optionPageSheet(color));
    QPalette palette = d->m_folderView->palette();
    palette.setColor(QPalette::Text, color);
    d->m_folderView->setPalette(palette);
}

QPushButton* TabWidget::folderButton() const
{
    return d->m_folderBtn;
}

QPushButton* TabWidget::optionsButton() const
{
    return d->m_optionsBtn;
}

QToolButton* TabWidget::colorSearchButton() const
{
    return d->m_colorSearchBtn;
}

QToolButton* TabWidget::moodSearchButton() const
{
    return d->m_moodSearchBtn;
}

QToolButton* TabWidget::faceSearchButton() const
{
    return d->m_faceSearchBtn;
}

QTreeView* TabWidget::folderView() const
{
    return d->m_folderView;
}

FolderModel* TabWidget::folderModel() const
{
    return d->model;
}

QLabel* TabWidget::descriptionLabel() const
{
    return d->m_descriptionLabel;
}

} // namespace veldra
