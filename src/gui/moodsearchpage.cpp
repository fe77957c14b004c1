#include "moodsearchpage.h"

#include "browser/thumbnailmodel.h"
#include "browser/thumbnailwidget.h"
#include "designsliderextra.h"
#include "searchpageframe.h"
#include "widgetbar.h"

#include <QPixmap>
#include <QVBoxLayout>

namespace veldra {

namespace {

DesignSliderExtra* makeSlider(QWidget* parent, const char* name)
{
    auto* slider = new DesignSliderExtra(parent);
    slider->setObjectName(QLatin1String(name));
    slider->setExpanding(true);
    return slider;
}

QString percent(int value)
{
    return QStringLiteral("%1 %").arg(value);
}

} // namespace

MoodSearchPage::MoodSearchPage(QWidget* parent)
    : QFrame(parent)
    , d(std::make_unique<SearchPageFrame>())
{
    setObjectName(QStringLiteral("MoodSearchPage"));
    m_designSlidersWidget = new QWidget(this);
    m_designSlidersWidget->setObjectName(QStringLiteral("m_designSlidersWidget"));
    auto* layout = new QVBoxLayout(m_designSlidersWidget);
    layout->setContentsMargins(24, 12, 24, 12);
    layout->setSpacing(14);

    m_imageMoodSlider = makeSlider(m_designSlidersWidget, "m_imageMoodSlider");
    m_imageMoodSlider->setPixmap(
        QPixmap(QStringLiteral(":/designslider/Resources/ease-unease.png")));
    m_imageMoodSlider->setRange(0, 100);
    m_imageMoodSlider->setValue(50);
    m_imageMoodSlider->setText(DesignSliderExtra::Title, tr("Structure"));
    m_imageMoodSlider->setText(DesignSliderExtra::LeftText, tr("Calm"));
    m_imageMoodSlider->setText(DesignSliderExtra::RightText, tr("Turbulent"));

    m_colorMoodSlider = makeSlider(m_designSlidersWidget, "m_colorMoodSlider");
    m_colorMoodSlider->setPixmap(QPixmap(QStringLiteral(":/designslider/Resources/cold-hot.png")));
    m_colorMoodSlider->setRange(-100, 100);
    m_colorMoodSlider->setValue(0);
    m_colorMoodSlider->setText(DesignSliderExtra::Title, tr("Temperature"));
    m_colorMoodSlider->setText(DesignSliderExtra::LeftText, tr("Cold"));
    m_colorMoodSlider->setText(DesignSliderExtra::RightText, tr("Warm"));

    m_balanceMoodSlider = makeSlider(m_designSlidersWidget, "m_balanceMoodSlider");
    QPixmap groove(100, 2);
    groove.fill(QColor(150, 150, 150));
    m_balanceMoodSlider->setPixmap(groove);
    m_balanceMoodSlider->setHandleSize(9);
    m_balanceMoodSlider->setMargin(4);
    m_balanceMoodSlider->setValueLine(false);
    m_balanceMoodSlider->setRange(0, 100);
    m_balanceMoodSlider->setValue(50);
    m_balanceMoodSlider->setText(DesignSliderExtra::Title, tr("Structure"));
    m_balanceMoodSlider->setText(DesignSliderExtra::SecondTitle, tr("Temperature"));
    m_balanceMoodSlider->setText(DesignSliderExtra::LeftText, percent(50));
    m_balanceMoodSlider->setText(DesignSliderExtra::RightText, percent(50));

    layout->addWidget(m_imageMoodSlider);
    layout->addWidget(m_colorMoodSlider);
    layout->addWidget(m_balanceMoodSlider);

    d->setup(this, m_designSlidersWidget, "m_moodSearchBar", "m_moodResultBar", "m_moodResultView");
    d->searchBar->setText(tr("Mood search"));
    d->resultBar->setText(tr("Search result"));

    for (DesignSliderExtra* slider : { m_imageMoodSlider, m_colorMoodSlider, m_balanceMoodSlider })
        connect(slider, &DesignSliderExtra::valueChanged, this, &MoodSearchPage::findSimilarMood);
    connect(d->resultView, &ThumbnailWidget::recognizeFaces, this, &MoodSearchPage::recognizeFaces);
    connect(d->resultView, &ThumbnailWidget::findSimilar, this, &MoodSearchPage::findSimilarImages);
}

MoodSearchPage::~MoodSearchPage() = default;

DesignSliderExtra* MoodSearchPage::imageMoodSlider() const
{
    return m_imageMoodSlider;
}

DesignSliderExtra* MoodSearchPage::colorMoodSlider() const
{
    return m_colorMoodSlider;
}

DesignSliderExtra* MoodSearchPage::balanceMoodSlider() const
{
    return m_balanceMoodSlider;
}

QWidget* MoodSearchPage::designSlidersWidget() const
{
    return m_designSlidersWidget;
}

WidgetBar* MoodSearchPage::searchBar() const
{
    return d->searchBar;
}

WidgetBar* MoodSearchPage::resultBar() const
{
    return d->resultBar;
}

ThumbnailWidget* MoodSearchPage::resultView() const
{
    return d->resultView;
}

ThumbnailModel* MoodSearchPage::model() const
{
    return d->model;
}

void MoodSearchPage::findSimilarMood()
{
    const int balance = m_balanceMoodSlider->value();
    m_balanceMoodSlider->setText(DesignSliderExtra::LeftText, percent(balance));
    m_balanceMoodSlider->setText(DesignSliderExtra::RightText, percent(100 - balance));
    Q_EMIT startSearch(m_colorMoodSlider->value(), m_imageMoodSlider->value(), balance);
}

void MoodSearchPage::finished(const QVector<QString>& _result)
{
    d->model->setThumbnails({ { tr("Mood search result"), _result } });
    Q_EMIT searchFinished();
}

} // namespace veldra
