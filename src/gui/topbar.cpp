#include "topbar.h"

#include "stylesheets.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QSignalMapper>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

namespace veldra {

namespace {

enum FrameButton { MinimizeButton = 0, MaximizeButton = 1, CloseButton = 2 };

constexpr int barHeight = 44;
constexpr int mirrorHeight = 18;

// The bar's three-stop gradient, left to right over whatever it fills.
QLinearGradient barGradient()
{
    QLinearGradient gradient(0, 0, 1, 0);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0.15, QColor(140, 23, 19));
    gradient.setColorAt(0.5, QColor(238, 125, 17));
    gradient.setColorAt(0.75, QColor(255, 211, 0));
    return gradient;
}

QString frameSheet()
{
    return QLatin1String(transparentFrameSheet)
        + QLatin1String("#m_closeBtn, #m_maxBtn, #m_minBtn, #m_addToIndex {\tborder: 0px solid "
                        "transparent;\tbackground-color: transparent;}");
}

} // namespace

class TopBarPrivate : public QObject
{
    Q_OBJECT

public:
    explicit TopBarPrivate(TopBar* bar)
        : q(bar)
        , mapper(new QSignalMapper(this))
    { }

    TopBar* q;
    QImage mirrorMask { QStringLiteral(":/topbar/Resources/verlauf.png") };
    QIcon maximizeIcon { QStringLiteral(":/topbar/Resources/maximieren.png") };
    QIcon restoreIcon { QStringLiteral(":/topbar/Resources/kleiner.png") };
    QPixmap logo { QStringLiteral(":/images/lumerax-demo.png") };
    // Offset of the press from the window's top-left corner, while pressed.
    std::optional<QPoint> pressPos;
    QPointer<QWidget> window;
    QSignalMapper* mapper;

    QVBoxLayout* m_basicLayout = nullptr;
    QFrame* m_barFrame = nullptr;
    QHBoxLayout* m_barLayout = nullptr;
    QLabel* m_logoLabel = nullptr;
    QToolButton* m_addToIndex = nullptr;
    QHBoxLayout* m_frameButtonsLayout = nullptr;
    QToolButton* m_minBtn = nullptr;
    QToolButton* m_maxBtn = nullptr;
    QToolButton* m_closeBtn = nullptr;
    QLabel* m_mirror = nullptr;

    void setupUi();
    QToolButton* frameButton(const QString& name, const QString& icon, const QString& toolTip);
};

QToolButton* TopBarPrivate::frameButton(
    const QString& name, const QString& icon, const QString& toolTip)
{
    auto* button = new QToolButton(m_barFrame);
    button->setObjectName(name);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(18, 18));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(toolTip);
    return button;
}

void TopBarPrivate::setupUi()
{
    q->setObjectName(QStringLiteral("TopBar"));
    m_basicLayout = new QVBoxLayout(q);
    m_basicLayout->setObjectName(QStringLiteral("m_basicLayout"));
    m_basicLayout->setContentsMargins(0, 0, 0, 0);
    m_basicLayout->setSpacing(0);

    m_barFrame = new QFrame(q);
    m_barFrame->setObjectName(QStringLiteral("m_barFrame"));
    m_barFrame->setFixedHeight(barHeight);
    m_barFrame->setStyleSheet(QStringLiteral(
        "QFrame#m_barFrame{\n\tbackground-color: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 0,stop: "
        "0.15 rgb(140, 23, 19), stop: 0.5 rgb(238, 125, 17), stop: 0.75 rgb(255, 211, 0));\n"
        "\tborder-top-left-radius: 6px;\n\tborder-top-right-radius: 6px;\n}"));
    m_barLayout = new QHBoxLayout(m_barFrame);
    m_barLayout->setObjectName(QStringLiteral("m_barLayout"));
    m_barLayout->setContentsMargins(20, 2, 8, 2);
    m_barLayout->setSpacing(12);

    m_logoLabel = new QLabel(m_barFrame);
    m_logoLabel->setObjectName(QStringLiteral("m_logoLabel"));
    m_logoLabel->setPixmap(logo);
    m_barLayout->addWidget(m_logoLabel);

    m_addToIndex = new QToolButton(m_barFrame);
    m_addToIndex->setObjectName(QStringLiteral("m_addToIndex"));
    m_addToIndex->setText(TopBar::tr("Add images"));
    m_addToIndex->setAutoRaise(true);
    m_addToIndex->setCursor(Qt::PointingHandCursor);
    m_addToIndex->setStyleSheet(QStringLiteral("QToolButton { color: rgb(255, 255, 255); }"
                                               "QToolButton:hover { color: rgb(60, 60, 60); }"));
    m_barLayout->addWidget(m_addToIndex);
    m_barLayout->addStretch(1);

    m_frameButtonsLayout = new QHBoxLayout();
    m_frameButtonsLayout->setObjectName(QStringLiteral("m_frameButtonsLayout"));
    m_frameButtonsLayout->setSpacing(2);
    m_minBtn = frameButton(QStringLiteral("m_minBtn"),
        QStringLiteral(":/topbar/Resources/minimieren.png"), TopBar::tr("Minimize"));
    m_maxBtn = frameButton(QStringLiteral("m_maxBtn"),
        QStringLiteral(":/topbar/Resources/maximieren.png"), TopBar::tr("Maximize"));
    m_closeBtn = frameButton(QStringLiteral("m_closeBtn"),
        QStringLiteral(":/topbar/Resources/schliessen.png"), TopBar::tr("Close"));
    m_frameButtonsLayout->addWidget(m_minBtn);
    m_frameButtonsLayout->addWidget(m_maxBtn);
    m_frameButtonsLayout->addWidget(m_closeBtn);
    m_barLayout->addLayout(m_frameButtonsLayout);
    m_basicLayout->addWidget(m_barFrame);

    m_mirror = new QLabel(q);
    m_mirror->setObjectName(QStringLiteral("m_mirror"));
    m_mirror->setFixedHeight(mirrorHeight);
    m_mirror->setScaledContents(false);
    m_basicLayout->addWidget(m_mirror);

    q->setStyleSheet(frameSheet());
}

TopBar::TopBar(QWidget* parent)
    : QFrame(parent)
    , d(std::make_unique<TopBarPrivate>(this))
{
    d->setupUi();
    d->mapper->setMapping(d->m_minBtn, MinimizeButton);
    d->mapper->setMapping(d->m_maxBtn, MaximizeButton);
    d->mapper->setMapping(d->m_closeBtn, CloseButton);
    for (QToolButton* button : { d->m_minBtn, d->m_maxBtn, d->m_closeBtn })
        connect(button, &QToolButton::clicked, d->mapper, qOverload<>(&QSignalMapper::map));
    connect(d->mapper, &QSignalMapper::mappedInt, this, &TopBar::frameButtonClicked);
}

TopBar::~TopBar()
{
    if (d->window)
        d->window->removeEventFilter(this);
}

void TopBar::setWindow(QWidget* window)
{
    if (d->window)
        d->window->removeEventFilter(this);
    d->window = window;
    if (window)
        window->installEventFilter(this);
    updateMaximizeButton();
}

QWidget* TopBar::window() const
{
    return d->window;
}

QToolButton* TopBar::addButton() const
{
    return d->m_addToIndex;
}

QToolButton* TopBar::minimizeButton() const
{
    return d->m_minBtn;
}

QToolButton* TopBar::maximizeButton() const
{
    return d->m_maxBtn;
}

QToolButton* TopBar::closeButton() const
{
    return d->m_closeBtn;
}

QLabel* TopBar::mirror() const
{
    return d->m_mirror;
}

void TopBar::updateMaximizeButton()
{
    const bool maximized = d->window && d->window->isMaximized();
    d->m_maxBtn->setIcon(maximized ? d->restoreIcon : d->maximizeIcon);
    d->m_maxBtn->setToolTip(maximized ? tr("Restore") : tr("Maximize"));
}

bool TopBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == d->window && event->type() == QEvent::WindowStateChange) {
        updateMaximizeButton();
        setStyleSheet(frameSheet());
    }
    return QFrame::eventFilter(watched, event);
}

void TopBar::mousePressEvent(QMouseEvent* event)
{
    if (d->window && event->button() == Qt::LeftButton)
        d->pressPos = event->globalPosition().toPoint() - d->window->pos();
    QFrame::mousePressEvent(event);
}

void TopBar::mouseMoveEvent(QMouseEvent* event)
{
    if (d->window && d->pressPos && !d->window->isMaximized())
        d->window->move(event->globalPosition().toPoint() - *d->pressPos);
    QFrame::mouseMoveEvent(event);
}

void TopBar::mouseReleaseEvent(QMouseEvent* event)
{
    d->pressPos.reset();
    QFrame::mouseReleaseEvent(event);
}

void TopBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click also delivers a press; dragging must not follow it.
    d->pressPos.reset();
    if (event->button() == Qt::LeftButton)
        d->m_maxBtn->click();
}

void TopBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    updateMirror();
}

void TopBar::updateMirror()
{
    const QSize size = d->m_mirror->size();
    if (size.isEmpty())
        return;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(image.rect(), barGradient());
    painter.drawPixmap(20, 0, d->logo.transformed(QTransform().rotate(180)));
    // Only the mask's alpha counts; without it the reflection fades to
    // nothing by half its height.
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    if (!d->mirrorMask.isNull()) {
        painter.drawImage(image.rect(),
            d->mirrorMask.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    } else {
        QLinearGradient fade(0, 0, 0, size.height() / 2.0);
        fade.setColorAt(0, QColor(0, 0, 0, 255));
        fade.setColorAt(1, QColor(0, 0, 0, 0));
        painter.fillRect(image.rect(), fade);
    }
    painter.end();
    d->m_mirror->setPixmap(QPixmap::fromImage(image));
}

void TopBar::frameButtonClicked(int _btn)
{
    if (!d->window)
        return;
    switch (_btn) {
    case MinimizeButton:
        d->window->showMinimized();
        break;
    case MaximizeButton:
        if (d->window->isMaximized())
            d->window->showNormal();
        else
            d->window->showMaximized();
        break;
    case CloseButton:
        d->window->close();
        break;
    default:
        break;
    }
}

} // namespace veldra

#include "topbar.moc"
