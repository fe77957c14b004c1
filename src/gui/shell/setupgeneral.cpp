#include "setupgeneral.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

namespace veldra {

SetupGeneral::SetupGeneral(QWidget* parent)
    : QWidget(parent)
    , m_splash(new QCheckBox)
    , m_wheelLines(new QSpinBox)
    , m_group(new QGroupBox)
    , m_wheelLabel(new QLabel)
{
    m_splash->setObjectName(QStringLiteral("m_splash"));
    m_wheelLines->setObjectName(QStringLiteral("m_wheelLines"));
    m_wheelLines->setMinimum(1);
    m_wheelLines->setMaximum(100);
    m_wheelLabel->setBuddy(m_wheelLines);

    auto* row = new QHBoxLayout;
    row->addWidget(m_wheelLabel);
    row->addWidget(m_wheelLines);
    row->addStretch(1);
    auto* groupLayout = new QVBoxLayout(m_group);
    groupLayout->addWidget(m_splash);
    groupLayout->addLayout(row);
    groupLayout->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_group);
    retranslate();

    const QSettings settings;
    m_splashValue = settings.value(QStringLiteral("Splash"), true).toBool();
    m_wheelLinesValue
        = settings.value(QStringLiteral("WheelLines"), QApplication::wheelScrollLines()).toInt();
    reset();
}

void SetupGeneral::reset()
{
    m_splash->setChecked(m_splashValue);
    m_wheelLines->setValue(m_wheelLinesValue);
    QApplication::setWheelScrollLines(m_wheelLinesValue);
}

void SetupGeneral::save()
{
    QSettings settings;
    settings.setValue(QStringLiteral("Splash"), m_splash->isChecked());
    settings.setValue(QStringLiteral("WheelLines"), m_wheelLines->value());
    QApplication::setWheelScrollLines(m_wheelLines->value());
}

void SetupGeneral::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void SetupGeneral::retranslate()
{
    m_group->setTitle(tr("General Settings"));
    m_splash->setText(tr("Display splash screen"));
    m_wheelLabel->setText(tr("Move mouse wheel:"));
    m_wheelLines->setSuffix(tr(" lines"));
}

} // namespace veldra
