#include "setupsearch.h"

#include "shell/lumerax.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace veldra {

SetupSearch::SetupSearch(QWidget* parent)
    : QWidget(parent)
    , m_group(new QGroupBox)
    , m_similarityLabel(new QLabel)
    , m_similarity(new QSlider(Qt::Horizontal))
    , m_less(new QLabel)
    , m_best(new QLabel)
    , m_identical(new QLabel)
    , m_resultsLabel(new QLabel)
    , m_results(new QSpinBox)
{
    m_similarity->setObjectName(QStringLiteral("m_similarity"));
    m_similarity->setRange(0, 2);
    m_similarity->setPageStep(1);
    m_similarity->setTickPosition(QSlider::TicksBelow);
    m_similarity->setTickInterval(1);
    m_results->setObjectName(QStringLiteral("m_results"));
    m_results->setMinimum(1);
    m_results->setMaximum(100000);
    m_resultsLabel->setBuddy(m_results);

    auto* scale = new QHBoxLayout;
    scale->addWidget(m_less);
    scale->addStretch(1);
    scale->addWidget(m_best);
    scale->addStretch(1);
    scale->addWidget(m_identical);
    auto* row = new QHBoxLayout;
    row->addWidget(m_resultsLabel);
    row->addWidget(m_results);
    row->addStretch(1);
    auto* groupLayout = new QVBoxLayout(m_group);
    groupLayout->addWidget(m_similarityLabel);
    groupLayout->addWidget(m_similarity);
    groupLayout->addLayout(scale);
    groupLayout->addSpacing(8);
    groupLayout->addLayout(row);
    groupLayout->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_group);
    retranslate();

    m_similarityValue = Lumerax::instance()->setting(SimilaritySetting).toInt();
    m_resultsValue = QSettings().value(QStringLiteral("SearchResults"), 30).toInt();
    reset();
}

void SetupSearch::reset()
{
    m_similarity->setValue(m_similarityValue);
    m_results->setValue(m_resultsValue);
}

void SetupSearch::save()
{
    Lumerax::instance()->setSetting(SimilaritySetting, m_similarity->value());
    QSettings().setValue(QStringLiteral("SearchResults"), m_results->value());
}

void SetupSearch::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void SetupSearch::retranslate()
{
    m_group->setTitle(tr("Search Settings"));
    m_similarityLabel->setText(tr("Similarity"));
    m_less->setText(tr("Less"));
    m_best->setText(tr("Best"));
    m_identical->setText(tr("Identical"));
    m_resultsLabel->setText(tr("Maximum search results:"));
    m_results->setSuffix(tr(" images"));
}

} // namespace veldra
