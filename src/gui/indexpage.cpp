#include "indexpage.h"

#include "browser/thumbnailmodel.h"
#include "browser/thumbnailview.h"
#include "browser/thumbnailwidget.h"
#include "shell/lumerax.h"
#include "stylesheets.h"
#include "widgetbar.h"

#include <QVBoxLayout>

namespace veldra {

IndexPage::IndexPage(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("IndexPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_indexBar = new WidgetBar(this);
    m_indexBar->setObjectName(QStringLiteral("m_indexBar"));
    m_indexBar->setStyleSheet(resultBarStyleSheet());
    m_indexBar->setFixedHeight(26);
    m_indexBar->setText(tr("Index"));
    m_thumbnailView = new ThumbnailWidget(this);
    m_thumbnailView->setObjectName(QStringLiteral("m_thumbnailView"));
    layout->addWidget(m_indexBar);
    layout->addWidget(m_thumbnailView, 1);

    m_model = new ThumbnailModel(this);
    m_model->setThumbnails(Lumerax::instance()->listAll());
    m_thumbnailView->setModel(m_model);
    m_thumbnailView->restoreSettings();

    connect(m_thumbnailView, &ThumbnailWidget::clicked, this, &IndexPage::clicked);
    connect(m_thumbnailView, &ThumbnailWidget::recognizeFaces, this, &IndexPage::recognizeFaces);
    connect(m_thumbnailView, &ThumbnailWidget::findSimilar, this, &IndexPage::findSimilarImages);
    connect(m_model, &ThumbnailModel::moveItems, this, &IndexPage::moveItems);
}

void IndexPage::setThumbnails(const QMap<QString, QStringList>& thumbnails)
{
    m_model->setThumbnails(thumbnails);
    m_thumbnailView->restoreSettings();
}

void IndexPage::scrollToFolder(const QString& path)
{
    if (path.isEmpty())
        return;
    // The folder itself, or else the first one below it: a plain prefix would
    // also take "/a/bc" for "/a/b".
    const QString below = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex folder = m_model->index(row, 0);
        const QString title = folder.data().toString();
        if (title == path || title.startsWith(below)) {
            m_thumbnailView->view()->scrollTo(folder, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

} // namespace veldra
