#pragma once

#include <QModelIndex>
#include <QStringList>
#include <QWidget>

class QAbstractItemModel;

namespace veldra {

class ThumbnailView;
class ThumbnailWidgetPrivate;

// The thumbnail grid as the pages use it: the view set up for this
// application, its context menu, and its saved grid size and position.
class ThumbnailWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ThumbnailWidget(QWidget* parent = nullptr);
    ~ThumbnailWidget() override;

    void setModel(QAbstractItemModel* model);
    void setHeadersVisible(bool visible);
    ThumbnailView* view() const;

    // Grid size at once, scroll offset 10 ms later, once the new content is
    // laid out.
    void restoreSettings();
    void saveSettings();

public Q_SLOTS:
    void setGridSize(int _val);
    void scrollToTop();

Q_SIGNALS:
    void compareFiles(const QStringList& _images);
    void removeFiles(const QStringList& _list);
    void moveFiles(const QString& _destination, int index, const QStringList& _files);
    void clicked(const QModelIndex& _index);
    void findSimilar(const QString& _fileName);
    void recognizeFaces(const QString& _fileName);
    void gridChanged(int _newSize);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class ThumbnailWidgetPrivate;
    ThumbnailWidgetPrivate* d;
};

} // namespace veldra
