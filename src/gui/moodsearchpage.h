#pragma once

#include <QFrame>
#include <QVector>

#include <memory>

namespace veldra {

class DesignSliderExtra;
class SearchPageFrame;
class ThumbnailModel;
class ThumbnailWidget;
class WidgetBar;

// Finds pictures by colour temperature and structure (noise), weighted by a
// balance slider; every slider move searches again.
class MoodSearchPage : public QFrame
{
    Q_OBJECT

public:
    explicit MoodSearchPage(QWidget* parent = nullptr);
    ~MoodSearchPage() override;

    DesignSliderExtra* imageMoodSlider() const;
    DesignSliderExtra* colorMoodSlider() const;
    DesignSliderExtra* balanceMoodSlider() const;
    QWidget* designSlidersWidget() const;
    WidgetBar* searchBar() const;
    WidgetBar* resultBar() const;
    ThumbnailWidget* resultView() const;
    ThumbnailModel* model() const;

Q_SIGNALS:
    void searchFinished();
    void recognizeFaces(const QString& _thumbName);
    void findSimilarImages(const QString& _thumbName);
    void startSearch(int _temperature, int _noise, int _balance);

public Q_SLOTS:
    void findSimilarMood();
    void finished(const QVector<QString>& _result);

private:
    std::unique_ptr<SearchPageFrame> d;
    QWidget* m_designSlidersWidget = nullptr;
    DesignSliderExtra* m_imageMoodSlider = nullptr;
    DesignSliderExtra* m_colorMoodSlider = nullptr;
    DesignSliderExtra* m_balanceMoodSlider = nullptr;
};

} // namespace veldra
