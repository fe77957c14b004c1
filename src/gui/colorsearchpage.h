#pragma once

#include <QColor>
#include <QFrame>
#include <QVector>

#include <memory>

namespace veldra {

class SearchPageFrame;
class SelectColorDialog;
class ThumbnailModel;
class ThumbnailWidget;
class WidgetBar;

// Finds pictures holding the chosen colours; every change of the choice
// searches again.
class ColorSearchPage : public QFrame
{
    Q_OBJECT

public:
    explicit ColorSearchPage(QWidget* parent = nullptr);
    ~ColorSearchPage() override;

    SelectColorDialog* selectColorWidget() const;
    WidgetBar* searchBar() const;
    WidgetBar* resultBar() const;
    ThumbnailWidget* resultView() const;
    ThumbnailModel* model() const;

Q_SIGNALS:
    void searchFinished();
    void recognizeFaces(const QString& _thumbName);
    void findSimilarImages(const QString& _thumbName);
    void startSearch(const QVector<QColor>& _selectedColors);

public Q_SLOTS:
    void finished(const QVector<QString>& _result);
    // An empty choice clears the results instead of searching.
    void findSimilarColor(const QVector<QColor>& _selectedColors);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<SearchPageFrame> d;
    SelectColorDialog* m_selectColorWidget = nullptr;
};

} // namespace veldra
