#include "toolbar.h"

#include "stylesheets.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>

namespace veldra {

namespace {

struct PageIcons
{
    QToolButton* button;
    QIcon inactive;
    QIcon active;
};

QString iconPath(const char* name)
{
    return QStringLiteral(":/icons/resources/icons/") + QLatin1String(name);
}

} // namespace

class ToolBarPrivate
{
public:
    QHBoxLayout* m_layout = nullptr;
    QToolButton* m_btnHome = nullptr;
    QToolButton* m_btnBack = nullptr;
    QToolButton* m_btnForward = nullptr;
    QWidget* m_spareWidget = nullptr;
    QToolButton* m_btnDummy = nullptr;
    QToolButton* m_btnSearchColor = nullptr;
    QToolButton* m_btnSearchMood = nullptr;
    QToolButton* m_btnRecognizeFaces = nullptr;
    QToolButton* m_btnRecognizeLicense = nullptr;
    QToolButton* m_btnRecognizeCharacter = nullptr;
    QToolButton* m_btnHelp = nullptr;
    QToolButton* m_btnSettings = nullptr;
    QButtonGroup* group = nullptr;
    QList<PageIcons> pages;

    void setupUi(ToolBar* q);
    void retranslateUi();
};

static QToolButton* makeButton(QWidget* parent, const char* name, const QString& icon = QString())
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    if (!icon.isEmpty())
        button->setIcon(QIcon(icon));
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void ToolBarPrivate::setupUi(ToolBar* q)
{
    q->setObjectName(QStringLiteral("ToolBar"));
    m_layout = new QHBoxLayout(q);
    m_layout->setContentsMargins(12, 0, 12, 0);
    m_layout->setSpacing(6);

    m_btnHome = makeButton(q, "m_btnHome", QStringLiteral(":/icons/home.png"));
    m_btnBack = makeButton(q, "m_btnBack", QStringLiteral(":/icons/back.png"));
    m_btnForward = makeButton(q, "m_btnForward", QStringLiteral(":/icons/forward.png"));
    m_spareWidget = new QWidget(q);
    m_spareWidget->setObjectName(QStringLiteral("m_spareWidget"));
    m_btnDummy = makeButton(q, "m_btnDummy");
    m_btnDummy->setCheckable(true);
    m_btnSearchColor = makeButton(q, "m_btnSearchColor");
    m_btnSearchMood = makeButton(q, "m_btnSearchMood");
    m_btnRecognizeFaces = makeButton(q, "m_btnRecognizeFaces");
    m_btnRecognizeLicense = makeButton(q, "m_btnRecognizeLicense");
    m_btnRecognizeCharacter = makeButton(q, "m_btnRecognizeCharacter");
    m_btnHelp = makeButton(q, "m_btnHelp", QStringLiteral(":/icons/help.png"));
    m_btnSettings = makeButton(q, "m_btnSettings", QStringLiteral(":/icons/settings.png"));

    pages = {
        { m_btnSearchColor, QIcon(iconPath("icon-color-inaktiv.png")),
            QIcon(iconPath("icon-color.png")) },
        { m_btnSearchMood, QIcon(iconPath("icon-mood-inactiv.png")),
            QIcon(iconPath("icon-mood.png")) },
        { m_btnRecognizeFaces, QIcon(iconPath("icon-faces-inaktiv.png")),
            QIcon(iconPath("icon-faces.png")) },
        { m_btnRecognizeLicense, QIcon(iconPath("icon-nummernschild-inaktiv.png")),
            QIcon(iconPath("icon-nummernschild.png")) },
        { m_btnRecognizeCharacter, QIcon(iconPath("icon-ocr-inaktiv.png")),
            QIcon(iconPath("icon-ocr.png")) },
    };
    for (const PageIcons& page : pages) {
        page.button->setCheckable(true);
        page.button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }

    m_layout->addWidget(m_btnHome);
    m_layout->addWidget(m_btnBack);
    m_layout->addWidget(m_btnForward);
    m_layout->addWidget(m_spareWidget);
    m_layout->addSpacing(12);
    m_layout->addWidget(m_btnDummy);
    for (const PageIcons& page : pages)
        m_layout->addWidget(page.button);
    m_layout->addStretch(1);
    m_layout->addWidget(m_btnHelp);
    m_layout->addWidget(m_btnSettings);
}

void ToolBarPrivate::retranslateUi()
{
    m_btnSearchColor->setText(ToolBar::tr("Color"));
    m_btnSearchMood->setText(ToolBar::tr("Mood"));
    m_btnRecognizeFaces->setText(ToolBar::tr("Faces"));
    m_btnRecognizeLicense->setText(ToolBar::tr("Number plates"));
    m_btnRecognizeCharacter->setText(ToolBar::tr("Character"));
    m_btnHome->setToolTip(ToolBar::tr("Index"));
    m_btnBack->setToolTip(ToolBar::tr("Back"));
    m_btnForward->setToolTip(ToolBar::tr("Forward"));
    m_btnHelp->setToolTip(ToolBar::tr("About"));
    m_btnSettings->setToolTip(ToolBar::tr("Preferences"));
}

ToolBar::ToolBar(QWidget* parent)
    : QFrame(parent)
    , d(std::make_unique<ToolBarPrivate>())
{
    d->setupUi(this);
    d->m_spareWidget->hide();
    // Nothing in the application navigates back and forth, and the dummy
    // only stands for "no page button".
    d->m_btnBack->hide();
    d->m_btnForward->hide();
    d->m_btnDummy->hide();

    d->group = new QButtonGroup(this);
    d->group->setExclusive(true);
    d->group->addButton(d->m_btnDummy);
    for (const PageIcons& page : d->pages)
        d->group->addButton(page.button);
    connect(d->group, &QButtonGroup::idClicked, this, qOverload<>(&ToolBar::updateButtons));
    connect(d->m_btnHome, &QToolButton::clicked, d->m_btnDummy, &QToolButton::click);
    d->retranslateUi();
    updateButtons();
    updateButtons(QColor(Qt::white));
}

ToolBar::~ToolBar() = default;

QToolButton* ToolBar::homeButton() const
{
    return d->m_btnHome;
}

QToolButton* ToolBar::backButton() const
{
    return d->m_btnBack;
}

QToolButton* ToolBar::forwardButton() const
{
    return d->m_btnForward;
}

QToolButton* ToolBar::helpButton() const
{
    return d->m_btnHelp;
}

QToolButton* ToolBar::settingsButton() const
{
    return d->m_btnSettings;
}

QToolButton* ToolBar::dummyButton() const
{
    return d->m_btnDummy;
}

QToolButton* ToolBar::searchColorButton() const
{
    return d->m_btnSearchColor;
}

QToolButton* ToolBar::searchMoodButton() const
{
    return d->m_btnSearchMood;
}

QToolButton* ToolBar::recognizeFacesButton() const
{
    return d->m_btnRecognizeFaces;
}

QToolButton* ToolBar::recognizeLicenseButton() const
{
    return d->m_btnRecognizeLicense;
}

QToolButton* ToolBar::recognizeCharacterButton() const
{
    return d->m_btnRecognizeCharacter;
}

QButtonGroup* ToolBar::pageButtons() const
{
    return d->group;
}

void ToolBar::updateButtons()
{
    for (const PageIcons& page : d->pages)
        page.button->setIcon(page.button->isChecked() ? page.active : page.inactive);
}

void ToolBar::updateButtons(const QColor& _color)
{
    setStyleSheet(QLatin1String(transparentFrameSheet)
        + QStringLiteral("#m_btnBack,#m_btnDummy,#m_btnForward,#m_btnHelp,#m_btnHome,"
                         "#m_btnRecognizeCharacter,#m_btnRecognizeFaces,#m_btnRecognizeLicense,"
                         "#m_btnSearchColor,#m_btnSearchMood,#m_btnSettings {\tborder: 0px solid "
                         "transparent;\tbackground-color: transparent;}"
                         "QToolButton { color: rgb(150, 150, 150); }"
                         "QToolButton:checked { color: rgb(%1, %2, %3); }")
              .arg(_color.red())
              .arg(_color.green())
              .arg(_color.blue()));
}

} // namespace veldra
