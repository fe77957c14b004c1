#pragma once

#include <QColor>
#include <QVector>
#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace veldra {

class PaletteWidget;

// The colour choice of the colour search: the palette, the list of chosen
// colours (duplicates allowed, a click removes one) and a button that clears
// the list. Every change reports the whole selection.
class SelectColorDialog : public QWidget
{
    Q_OBJECT

public:
    static constexpr int swatchSize = 60;

    explicit SelectColorDialog(QWidget* parent = nullptr);

    // The chosen colours in list order.
    QVector<QColor> selectedColors() const;

    PaletteWidget* paletteWidget() const { return m_colorView; }
    QListWidget* selectedColorView() const { return m_selectedColorView; }
    QPushButton* clearButton() const { return m_clearColorsBtn; }

Q_SIGNALS:
    void selectionChanged(const QVector<QColor>& _selected);

public Q_SLOTS:
    void colorClicked(const QColor& _color);
    void selectedColorClicked(QListWidgetItem* _item);
    void clearSelectedColor();

private:
    QLabel* m_colorTableLbl = nullptr;
    QLabel* m_selectedColorsLbl = nullptr;
    PaletteWidget* m_colorView = nullptr;
    QListWidget* m_selectedColorView = nullptr;
    QPushButton* m_clearColorsBtn = nullptr;
};

} // namespace veldra
