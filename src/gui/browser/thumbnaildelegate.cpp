#include "thumbnaildelegate.h"

#include <QPainter>
#include <QPixmap>

namespace veldra {

void ThumbnailDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QRect& r = option.rect;
    if (!index.parent().isValid() && index.column() == 1) {
        // The open-folder box; "selected" means the mouse is on it.
        painter->save();
        painter->setPen(QPen(selected ? Qt::green : Qt::darkGreen, 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(r);
        painter->restore();
        return;
    }
    if (!index.parent().isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }

    // The view already gave the rectangle the picture's shape. Drawn into the
    // rectangle without a scaled copy; without the smooth-transform hint the
    // painter scales as fast as a fast-transformed copy would.
    const QPixmap pixmap = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!pixmap.isNull())
        painter->drawPixmap(r, pixmap);
    if (selected) {
        painter->save();
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(Qt::red, 1));
        painter->drawRect(r.left(), r.top(), r.width() - 1, r.height() - 1);
        painter->setPen(QPen(Qt::white, 1));
        painter->drawRect(r.left() + 1, r.top() + 1, r.width() - 3, r.height() - 3);
        painter->restore();
    }
}

QSize ThumbnailDelegate::sizeHint(
    const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    Q_UNUSED(option);
    if (!index.parent().isValid())
        return QSize();
    return index.data(Qt::SizeHintRole).toSize();
}

} // namespace veldra
