#pragma once

#include <QFrame>
#include <QVector>

#include <memory>

namespace veldra {

class SampleImageWidget;
class SearchPageFrame;
class ThumbnailModel;
class ThumbnailWidget;
class WidgetBar;

// Finds pictures like a sample picture of the index.
class SimilarSearchPage : public QFrame
{
    Q_OBJECT

public:
    explicit SimilarSearchPage(QWidget* parent = nullptr);
    ~SimilarSearchPage() override;

    SampleImageWidget* sampleImageWidget() const;
    WidgetBar* searchBar() const;
    WidgetBar* resultBar() const;
    ThumbnailWidget* resultView() const;
    ThumbnailModel* model() const;

Q_SIGNALS:
    void searchFinished();
    void recognizeFaces(const QString& _thumbName);
    void startSearch(const QString& _fileName);

public Q_SLOTS:
    // Makes the source picture of the thumbnail the sample and searches.
    void findSimilarImages(const QString& _thumbName);
    void finished(const QVector<QString>& _result);

private:
    std::unique_ptr<SearchPageFrame> d;
    SampleImageWidget* m_sampleImageWidget = nullptr;
};

} // namespace veldra
