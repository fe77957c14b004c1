#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QSpinBox;

namespace veldra {

// Preferences page "General": the splash screen and the mouse-wheel lines,
// both kept in the native settings store.
class SetupGeneral : public QWidget
{
    Q_OBJECT

public:
    explicit SetupGeneral(QWidget* parent = nullptr);

    // Puts the values read at creation back into the controls and applies
    // the wheel lines again.
    void reset();
    // Stores the controls' values and applies the wheel lines.
    void save();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QCheckBox* m_splash = nullptr;
    QSpinBox* m_wheelLines = nullptr;
    QGroupBox* m_group = nullptr;
    QLabel* m_wheelLabel = nullptr;
    bool m_splashValue = true;
    int m_wheelLinesValue = 3;
};

} // namespace veldra
