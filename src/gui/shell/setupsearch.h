#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QSlider;
class QSpinBox;

namespace veldra {

// Preferences page "Search": the similarity slider (kept by the controller
// in the settings file) and the maximum number of results (native store).
class SetupSearch : public QWidget
{
    Q_OBJECT

public:
    explicit SetupSearch(QWidget* parent = nullptr);

    // Puts the values read at creation back into the controls.
    void reset();
    void save();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QGroupBox* m_group = nullptr;
    QLabel* m_similarityLabel = nullptr;
    QSlider* m_similarity = nullptr;
    QLabel* m_less = nullptr;
    QLabel* m_best = nullptr;
    QLabel* m_identical = nullptr;
    QLabel* m_resultsLabel = nullptr;
    QSpinBox* m_results = nullptr;
    int m_similarityValue = 0;
    int m_resultsValue = 30;
};

} // namespace veldra
