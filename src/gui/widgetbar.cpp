#include "widgetbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

namespace veldra {

WidgetBar::WidgetBar(QWidget* parent)
    : QFrame(parent)
    , m_titleLabel(new QLabel(this))
{
    m_titleLabel->setObjectName(QStringLiteral("m_titleLabel"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 6, 2);
    layout->addWidget(m_titleLabel, 1);
    setCursor(Qt::PointingHandCursor);
}

QString WidgetBar::text() const
{
    return m_titleLabel->text();
}

void WidgetBar::setText(const QString& text)
{
    m_titleLabel->setText(text);
}

void WidgetBar::setToggleButtonVisible(bool visible)
{
    if (!m_toggleButton) {
        if (!visible)
            return;
        m_toggleButton = new QToolButton(this);
        m_toggleButton->setObjectName(QStringLiteral("m_toggleButton"));
        m_toggleButton->setCheckable(true);
        m_toggleButton->setAutoRaise(true);
        m_toggleButton->setFixedSize(16, 16);
        m_toggleButton->setFocusPolicy(Qt::NoFocus);
        layout()->addWidget(m_toggleButton);
        connect(m_toggleButton, &QToolButton::clicked, this, &WidgetBar::clicked);
    }
    m_toggleButton->setVisible(visible);
}

void WidgetBar::mouseReleaseEvent(QMouseEvent* event)
{
    // The whole strip acts as the button: the release toggles it, and its
    // click is what the bar reports.
    if (m_toggleButton && event->button() == Qt::LeftButton)
        m_toggleButton->click();
    QFrame::mouseReleaseEvent(event);
}

} // namespace veldra
