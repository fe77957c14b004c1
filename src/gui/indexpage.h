#pragma once

#include <QFrame>
#include <QMap>
#include <QModelIndex>
#include <QStringList>

namespace veldra {

class ThumbnailModel;
class ThumbnailWidget;
class WidgetBar;

// Every indexed picture, grouped by folder; thumbnails dragged to another
// place or folder are reported by moveItems.
class IndexPage : public QFrame
{
    Q_OBJECT

public:
    // Fills itself from the whole index of the controller.
    explicit IndexPage(QWidget* parent = nullptr);

    // New content (folder path -> thumbnails); the saved grid size and
    // scroll offset come back.
    void setThumbnails(const QMap<QString, QStringList>& thumbnails);
    // Scrolls the first folder at or below path to the top.
    void scrollToFolder(const QString& path);

    WidgetBar* indexBar() const { return m_indexBar; }
    ThumbnailWidget* thumbnailWidget() const { return m_thumbnailView; }
    ThumbnailModel* model() const { return m_model; }

Q_SIGNALS:
    void clicked(const QModelIndex& _index);
    void recognizeFaces(const QString& _thumbName);
    void findSimilarImages(const QString& _thumbName);
    void moveItems(const QString&, int, const QStringList&);

private:
    WidgetBar* m_indexBar = nullptr;
    ThumbnailWidget* m_thumbnailView = nullptr;
    ThumbnailModel* m_model = nullptr;
};

} // namespace veldra
