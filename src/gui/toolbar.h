#pragma once

#include <QColor>
#include <QFrame>

#include <memory>

class QAbstractButton;
class QButtonGroup;
class QToolButton;

namespace veldra {

class ToolBarPrivate;

// The row of page buttons under the title bar. The page buttons and an
// invisible dummy form an exclusive group, so checking the dummy shows no
// page button selected (the index and similarity pages have none).
class ToolBar : public QFrame
{
    Q_OBJECT

public:
    explicit ToolBar(QWidget* parent = nullptr);
    ~ToolBar() override;

    QToolButton* homeButton() const;
    QToolButton* backButton() const;
    QToolButton* forwardButton() const;
    QToolButton* helpButton() const;
    QToolButton* settingsButton() const;
    QToolButton* dummyButton() const;
    QToolButton* searchColorButton() const;
    QToolButton* searchMoodButton() const;
    QToolButton* recognizeFacesButton() const;
    QToolButton* recognizeLicenseButton() const;
    QToolButton* recognizeCharacterButton() const;
    QButtonGroup* pageButtons() const;

public Q_SLOTS:
    // Active icons for the checked page button, inactive ones for the rest.
    void updateButtons();
    // The checked button's text takes this colour (the text colour of the
    // window's background).
    void updateButtons(const QColor& _color);

private:
    std::unique_ptr<ToolBarPrivate> d;
};

} // namespace veldra
