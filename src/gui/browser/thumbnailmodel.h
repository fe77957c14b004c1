#pragma once

#include <QAbstractItemModel>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

namespace veldra {

class ThumbnailItem;

// Folders at the top level, their thumbnails below them. A thumbnail's name is
// its full path, from which its picture is loaded on first use.
class ThumbnailModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit ThumbnailModel(QObject* parent = nullptr);
    ~ThumbnailModel() override;

    QModelIndex index(
        int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
        const QModelIndex& parent) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Replaces the whole content in one reset: folder title -> thumbnail names.
    // Folders without thumbnails are left out.
    void setThumbnails(const QMap<QString, QVector<QString>>& thumbnails);

Q_SIGNALS:
    // After a drop: destination folder, insertion row, dropped names in order.
    void moveItems(const QString& _dest, int index, const QStringList& _items);

private:
    ThumbnailItem* node(const QModelIndex& index) const;

    ThumbnailItem* m_root = nullptr;
};

// The view's model until a real one is set: nothing at all.
class EmptyModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    using QAbstractItemModel::QAbstractItemModel;

    QModelIndex index(int, int, const QModelIndex& = QModelIndex()) const override { return {}; }
    QModelIndex parent(const QModelIndex&) const override { return {}; }
    int rowCount(const QModelIndex& = QModelIndex()) const override { return 0; }
    int columnCount(const QModelIndex& = QModelIndex()) const override { return 0; }
    bool hasChildren(const QModelIndex& = QModelIndex()) const override { return false; }
    QVariant data(const QModelIndex&, int = Qt::DisplayRole) const override { return {}; }
};

} // namespace veldra
