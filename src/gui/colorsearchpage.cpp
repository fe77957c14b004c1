#include "colorsearchpage.h"

#include "browser/thumbnailmodel.h"
#include "browser/thumbnailwidget.h"
#include "searchpageframe.h"
#include "selectcolordialog.h"
#include "widgetbar.h"

#include <QEvent>
#include <QPalette>
#include <QPixmap>

namespace veldra {

ColorSearchPage::ColorSearchPage(QWidget* parent)
    : QFrame(parent)
    , d(std::make_unique<SearchPageFrame>())
{
    setObjectName(QStringLiteral("ColorSearchPage"));
    m_selectColorWidget = new SelectColorDialog(this);
    m_selectColorWidget->setObjectName(QStringLiteral("m_selectColorWidget"));
    m_selectColorWidget->setAutoFillBackground(true);
    m_selectColorWidget->installEventFilter(this);
    d->setup(
        this, m_selectColorWidget, "m_colorSearchBar", "m_colorResultBar", "m_colorResultView");
    d->searchBar->setText(tr("Color search"));
    d->resultBar->setText(tr("Search result"));

    connect(m_selectColorWidget, &SelectColorDialog::selectionChanged, this,
        &ColorSearchPage::findSimilarColor);
    connect(
        d->resultView, &ThumbnailWidget::recognizeFaces, this, &ColorSearchPage::recognizeFaces);
    connect(
        d->resultView, &ThumbnailWidget::findSimilar, this, &ColorSearchPage::findSimilarImages);
}

ColorSearchPage::~ColorSearchPage() = default;

SelectColorDialog* ColorSearchPage::selectColorWidget() const
{
    return m_selectColorWidget;
}

WidgetBar* ColorSearchPage::searchBar() const
{
    return d->searchBar;
}

WidgetBar* ColorSearchPage::resultBar() const
{
    return d->resultBar;
}

ThumbnailWidget* ColorSearchPage::resultView() const
{
    return d->resultView;
}

ThumbnailModel* ColorSearchPage::model() const
{
    return d->model;
}

void ColorSearchPage::finished(const QVector<QString>& _result)
{
    d->model->setThumbnails({ { tr("Color search result"), _result } });
    Q_EMIT searchFinished();
}

void ColorSearchPage::findSimilarColor(const QVector<QColor>& _selectedColors)
{
    if (_selectedColors.isEmpty()) {
        d->model->setThumbnails({});
        return;
    }
    Q_EMIT startSearch(_selectedColors);
}

bool ColorSearchPage::eventFilter(QObject* watched, QEvent* event)
{
    // The panel picture is stretched over the colour choice at every size.
    if (watched == m_selectColorWidget && event->type() == QEvent::Resize) {
        const QPixmap panel(QStringLiteral(":/resources/button.png"));
        if (!panel.isNull() && !m_selectColorWidget->size().isEmpty()) {
            QPalette palette = m_selectColorWidget->palette();
            palette.setBrush(QPalette::Window,
                panel.scaled(
                    m_selectColorWidget->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            m_selectColorWidget->setPalette(palette);
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace veldra
