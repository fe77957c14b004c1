#pragma once

#include <QList>
#include <QString>

namespace veldra {

// One node of the thumbnail tree; owns its children.
class ThumbnailItem
{
public:
    explicit ThumbnailItem(const QString& name = QString(), ThumbnailItem* parent = nullptr)
        : parent(parent)
        , name(name)
    { }
    ~ThumbnailItem() { qDeleteAll(children); }

    ThumbnailItem(const ThumbnailItem&) = delete;
    ThumbnailItem& operator=(const ThumbnailItem&) = delete;

    QList<ThumbnailItem*> children;
    ThumbnailItem* parent = nullptr;
    QString name;
};

} // namespace veldra
