#pragma once

#include <QMap>
#include <QStandardItemModel>
#include <QStringList>

namespace veldra {

// The indexed folders as a tree of path components, each labelled with the
// number of pictures in it and in all folders below it.
class FolderModel : public QStandardItemModel
{
    Q_OBJECT

public:
    // The path up to and including an item's component, as the index names it.
    static constexpr int PathRole = Qt::UserRole + 1;
    // Pictures in the item's folder and every folder below it.
    static constexpr int CountRole = Qt::UserRole + 2;

    explicit FolderModel(QObject* parent = nullptr);

    // Rebuilds the tree from folder path -> thumbnails.
    void setFolders(const QMap<QString, QStringList>& folders);
    // Moves count pictures' worth of counts from one folder to another; a
    // folder left with none disappears. Unknown folders are ignored.
    void updateCounts(const QString& sourceFolder, const QString& destinationFolder, int count);
    // The item of a folder path, or null.
    QStandardItem* findFolder(const QString& path) const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

} // namespace veldra
