#include "foldermodel.h"

namespace veldra {

FolderModel::FolderModel(QObject* parent)
    : QStandardItemModel(parent)
{ }

void FolderModel::setFolders(const QMap<QString, QStringList>& folders)
{
    clear();
    for (auto it = folders.cbegin(); it != folders.cend(); ++it) {
        const QString& path = it.key();
        const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (parts.isEmpty())
            continue;
        // An absolute path keeps its leading "/", so every item's path is a
        // prefix of the folder paths the index and the views use.
        QString prefix = path.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
        QStandardItem* item = invisibleRootItem();
        for (int i = 0; i < parts.size(); ++i) {
            if (i > 0)
                prefix += QLatin1Char('/');
            prefix += parts[i];
            QStandardItem* child = nullptr;
            for (int row = 0; row < item->rowCount(); ++row) {
                if (item->child(row)->text() == parts[i]) {
                    child = item->child(row);
                    break;
                }
            }
            if (!child) {
                child = new QStandardItem(parts[i]);
                child->setEditable(false);
                child->setData(prefix, PathRole);
                child->setData(0, CountRole);
                item->appendRow(child);
            }
            item = child;
        }
        for (QStandardItem* node = item; node && node != invisibleRootItem(); node = node->parent())
            node->setData(node->data(CountRole).toInt() + it.value().size(), CountRole);
    }
}

QStandardItem* FolderModel::findFolder(const QString& path) const
{
    if (rowCount() == 0)
        return nullptr;
    const QModelIndexList hits = match(index(0, 0), PathRole, path, 1,
        Qt::MatchExactly | Qt::MatchRecursive | Qt::MatchCaseSensitive);
    return hits.isEmpty() ? nullptr : itemFromIndex(hits.first());
}

void FolderModel::updateCounts(
    const QString& sourceFolder, const QString& destinationFolder, int count)
{
    // Reordering inside one folder changes no count (subtracting first would
    // drop a folder whose pictures were all dragged within it).
    if (count <= 0 || sourceFolder == destinationFolder)
        return;
    QStandardItem* node = findFolder(sourceFolder);
    while (node) {
        QStandardItem* parent = node->parent();
        const int left = node->data(CountRole).toInt() - count;
        if (left <= 0) {
            QStandardItem* owner = parent ? parent : invisibleRootItem();
            owner->removeRow(node->row());
        } else {
            node->setData(left, CountRole);
        }
        node = parent;
    }
    for (node = findFolder(destinationFolder); node; node = node->parent())
        node->setData(node->data(CountRole).toInt() + count, CountRole);
}

QVariant FolderModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::DisplayRole && index.isValid()) {
        return QStringLiteral("%1 ( %2 )")
            .arg(QStandardItemModel::data(index, Qt::DisplayRole).toString())
            .arg(QStandardItemModel::data(index, CountRole).toInt());
    }
    return QStandardItemModel::data(index, role);
}

} // namespace veldra
