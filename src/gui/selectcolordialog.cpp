#include "selectcolordialog.h"

#include "palettewidget.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <qdrawutil.h>

namespace veldra {

namespace {

// A sunken button face filled with the colour.
QPixmap swatch(const QColor& color, const QPalette& palette)
{
    QPixmap pixmap(SelectColorDialog::swatchSize, SelectColorDialog::swatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QBrush fill(color);
    qDrawWinButton(&painter, pixmap.rect(), palette, true, &fill);
    return pixmap;
}

} // namespace

SelectColorDialog::SelectColorDialog(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("SelectColorDialog"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setHorizontalSpacing(16);

    m_colorTableLbl = new QLabel(tr("Color choice"), this);
    m_colorTableLbl->setObjectName(QStringLiteral("m_colorTableLbl"));
    m_selectedColorsLbl = new QLabel(tr("Selected colors"), this);
    m_selectedColorsLbl->setObjectName(QStringLiteral("m_selectedColorsLbl"));
    m_colorView = new PaletteWidget(this);
    m_colorView->setObjectName(QStringLiteral("m_colorView"));

    m_selectedColorView = new QListWidget(this);
    m_selectedColorView->setObjectName(QStringLiteral("m_selectedColorView"));
    m_selectedColorView->setViewMode(QListView::IconMode);
    m_selectedColorView->setIconSize(QSize(swatchSize, swatchSize));
    m_selectedColorView->setFlow(QListView::LeftToRight);
    m_selectedColorView->setWrapping(true);
    m_selectedColorView->setResizeMode(QListView::Adjust);
    m_selectedColorView->setMovement(QListView::Static);
    m_selectedColorView->setSpacing(4);
    m_selectedColorView->setFixedHeight(m_colorView->height());
    m_selectedColorView->setMinimumWidth(2 * (swatchSize + 12));
    m_selectedColorView->setStyleSheet(
        QStringLiteral("QListWidget { background: transparent; border: 1px solid rgb(122, 122, "
                       "122); }"));

    m_clearColorsBtn = new QPushButton(tr("Clear selected colors"), this);
    m_clearColorsBtn->setObjectName(QStringLiteral("m_clearColorsBtn"));

    // The choice sits on a light panel whatever the window's background, so
    // its texts keep dark colours of their own.
    setStyleSheet(QStringLiteral(
        "QLabel { color: rgb(50, 50, 50); background: transparent; }"
        "QPushButton#m_clearColorsBtn { color: rgb(50, 50, 50); border: 1px solid rgb(122, 122, "
        "122); border-radius: 4px; padding: 3px 10px; background-color: qlineargradient(x1: 0, "
        "y1: 0, x2: 0, y2: 1, stop: 0 rgb(240, 240, 240), stop: 1 rgb(200, 200, 200)); }"
        "QPushButton#m_clearColorsBtn:hover { border-color: rgb(255, 125, 0); }"
        "QPushButton#m_clearColorsBtn:pressed { color: rgb(255, 255, 255); background-color: "
        "rgb(255, 125, 0); }"));

    layout->addWidget(m_colorTableLbl, 0, 0);
    layout->addWidget(m_selectedColorsLbl, 0, 1);
    layout->addWidget(m_colorView, 1, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_selectedColorView, 1, 1);
    layout->addWidget(m_clearColorsBtn, 2, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);

    connect(m_colorView, &PaletteWidget::clicked, this, &SelectColorDialog::colorClicked);
    connect(m_selectedColorView, &QListWidget::itemClicked, this,
        &SelectColorDialog::selectedColorClicked);
    connect(m_clearColorsBtn, &QPushButton::clicked, this, &SelectColorDialog::clearSelectedColor);
}

QVector<QColor> SelectColorDialog::selectedColors() const
{
    QVector<QColor> colors;
    for (int row = 0; row < m_selectedColorView->count(); ++row)
        colors << m_selectedColorView->item(row)->data(Qt::ToolTipRole).value<QColor>();
    return colors;
}

void SelectColorDialog::colorClicked(const QColor& _color)
{
    auto* item = new QListWidgetItem(m_selectedColorView);
    item->setData(Qt::DecorationRole, swatch(_color, palette()));
    item->setData(Qt::ToolTipRole, _color);
    Q_EMIT selectionChanged(selectedColors());
}

void SelectColorDialog::selectedColorClicked(QListWidgetItem* _item)
{
    if (!_item || _item->listWidget() != m_selectedColorView)
        return;
    delete _item;
    Q_EMIT selectionChanged(selectedColors());
}

void SelectColorDialog::clearSelectedColor()
{
    m_selectedColorView->clear();
    Q_EMIT selectionChanged(selectedColors());
}

} // namespace veldra
