#pragma once

#include <QStyledItemDelegate>

namespace veldra {

// Paints thumbnails with their selection frame, folder titles and the
// open-folder box of a folder header.
class ThumbnailDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace veldra
