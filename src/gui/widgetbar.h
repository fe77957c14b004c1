#pragma once

#include <QFrame>

class QLabel;
class QToolButton;

namespace veldra {

// The clickable title strip of a page: a title and, on request, a checkable
// button at the end whose picture shows whether the part below is folded.
class WidgetBar : public QFrame
{
    Q_OBJECT

public:
    explicit WidgetBar(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    // Creates the toggle button the first time it is asked to show it.
    void setToggleButtonVisible(bool visible);
    // Null until setToggleButtonVisible(true) was called once.
    QToolButton* toggleButton() const { return m_toggleButton; }

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* m_titleLabel = nullptr;
    QToolButton* m_toggleButton = nullptr;
};

} // namespace veldra
