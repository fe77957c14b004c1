#pragma once

#include <QModelIndex>
#include <QWidget>

namespace veldra {

class ThumbnailView;
class ZoomWidgetPrivate;

// The hover overlay of a thumbnail: grows it to the view's zoom factor, slides
// in a bar with "Search similar" and "Recognize faces", shows a sharper
// picture once grown, and shrinks and closes when the mouse leaves.
class ZoomWidget : public QWidget
{
    Q_OBJECT

public:
    ZoomWidget(ThumbnailView* view, const QModelIndex& index);
    ~ZoomWidget() override;

    QModelIndex index() const;
    // The current enlargement of the picture, 1.0 up to the zoom factor.
    double scale() const;
    // Whether the sharper picture has replaced the thumbnail.
    bool isSharpened() const;

Q_SIGNALS:
    void startDrag();
    void findSimilar(const QString& _name);
    void recognizeFaces(const QString& _name);

public Q_SLOTS:
    void scrollContent();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class ZoomWidgetPrivate;
    ZoomWidgetPrivate* d;
};

} // namespace veldra
