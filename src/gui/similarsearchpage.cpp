#include "similarsearchpage.h"

#include "browser/thumbnailmodel.h"
#include "browser/thumbnailwidget.h"
#include "sampleimagewidget.h"
#include "searchpageframe.h"
#include "shell/lumerax.h"
#include "widgetbar.h"

#include <QFileInfo>

namespace veldra {

SimilarSearchPage::SimilarSearchPage(QWidget* parent)
    : QFrame(parent)
    , d(std::make_unique<SearchPageFrame>())
{
    setObjectName(QStringLiteral("SimilarSearchPage"));
    m_sampleImageWidget = new SampleImageWidget(this);
    m_sampleImageWidget->setObjectName(QStringLiteral("m_sampleImageWidget"));
    d->setup(this, m_sampleImageWidget, "m_similarSearchBar", "m_similarResultBar",
        "m_similarImageView");
    d->searchBar->setText(tr("Similarity search"));
    d->resultBar->setText(tr("Search result"));

    connect(
        d->resultView, &ThumbnailWidget::recognizeFaces, this, &SimilarSearchPage::recognizeFaces);
    // Similar pictures of a result: that result becomes the new sample.
    connect(
        d->resultView, &ThumbnailWidget::findSimilar, this, &SimilarSearchPage::findSimilarImages);
}

SimilarSearchPage::~SimilarSearchPage() = default;

SampleImageWidget* SimilarSearchPage::sampleImageWidget() const
{
    return m_sampleImageWidget;
}

WidgetBar* SimilarSearchPage::searchBar() const
{
    return d->searchBar;
}

WidgetBar* SimilarSearchPage::resultBar() const
{
    return d->resultBar;
}

ThumbnailWidget* SimilarSearchPage::resultView() const
{
    return d->resultView;
}

ThumbnailModel* SimilarSearchPage::model() const
{
    return d->model;
}

void SimilarSearchPage::findSimilarImages(const QString& _thumbName)
{
    const QString path = Lumerax::instance()->sourceImagePath(QFileInfo(_thumbName).fileName());
    m_sampleImageWidget->showImage(path);
    Q_EMIT startSearch(path);
}

void SimilarSearchPage::finished(const QVector<QString>& _result)
{
    d->model->setThumbnails({ { tr("Similarity search result"), _result } });
    Q_EMIT searchFinished();
}

} // namespace veldra
