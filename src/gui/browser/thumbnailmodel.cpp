#include "thumbnailmodel.h"

#include "thumbnailitem.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QPixmap>
#include <QPixmapCache>

#include <algorithm>

namespace veldra {

namespace {

const QString mimeType = QStringLiteral("application/lumerax");

// Pictures are shared by every model and view through the global cache, keyed
// by the thumbnail path; a file that cannot be read is cached as a null pixmap
// so it is not tried again on every paint.
QPixmap picture(const QString& name)
{
    QPixmap pixmap;
    if (!QPixmapCache::find(name, &pixmap)) {
        pixmap.load(name);
        QPixmapCache::insert(name, pixmap);
    }
    return pixmap;
}

} // namespace

ThumbnailModel::ThumbnailModel(QObject* parent)
    : QAbstractItemModel(parent)
    , m_root(new ThumbnailItem(QStringLiteral("root")))
{ }

ThumbnailModel::~ThumbnailModel()
{
    delete m_root;
}

ThumbnailItem* ThumbnailModel::node(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<ThumbnailItem*>(index.internalPointer()) : m_root;
}

QModelIndex ThumbnailModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    ThumbnailItem* parentNode = node(parent);
    if (!parentNode || row >= parentNode->children.size())
        return {};
    ThumbnailItem* child = parentNode->children.at(row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex ThumbnailModel::parent(const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    ThumbnailItem* item = node(index);
    ThumbnailItem* parentNode = item ? item->parent : nullptr;
    if (!parentNode || parentNode == m_root)
        return {};
    const int row = parentNode->parent ? int(parentNode->parent->children.indexOf(parentNode)) : 0;
    return createIndex(row, 0, parentNode);
}

int ThumbnailModel::rowCount(const QModelIndex& parent) const
{
    const ThumbnailItem* parentNode = node(parent);
    return parentNode ? int(parentNode->children.size()) : 0;
}

int ThumbnailModel::columnCount(const QModelIndex& parent) const
{
    // Column 1 of a folder row is its open-folder box.
    return parent.parent().isValid() ? 1 : 2;
}

QVariant ThumbnailModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const ThumbnailItem* item = node(index);
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return item->name;
    case Qt::DecorationRole:
        if (index.parent().isValid())
            return picture(item->name);
        return {};
    case Qt::SizeHintRole:
        if (index.parent().isValid())
            return picture(item->name).size();
        return {};
    default:
        return {};
    }
}

bool ThumbnailModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return false;
    ThumbnailItem* item = node(index);
    if (!item)
        return false;
    item->name = value.toString();
    return true;
}

QStringList ThumbnailModel::mimeTypes() const
{
    return { mimeType };
}

QMimeData* ThumbnailModel::mimeData(const QModelIndexList& indexes) const
{
    const QStringList types = mimeTypes();
    if (indexes.isEmpty() || types.isEmpty())
        return nullptr;
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    for (const QModelIndex& index : indexes)
        stream << qint32(index.parent().row()) << qint32(index.row())
               << index.data(Qt::DisplayRole).toString();
    auto* mime = new QMimeData;
    mime->setData(types.first(), payload);
    return mime;
}

bool ThumbnailModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
    int /*column*/, const QModelIndex& parent)
{
    if (!data || (action != Qt::CopyAction && action != Qt::MoveAction))
        return false;
    const QStringList types = mimeTypes();
    if (types.isEmpty() || !data->hasFormat(types.first()))
        return false;
    if (row < 0 || row > rowCount(parent))
        row = rowCount(parent);

    QByteArray payload = data->data(types.first());
    QDataStream stream(&payload, QIODevice::ReadOnly);
    QStringList names;
    while (!stream.atEnd()) {
        qint32 parentRow = 0;
        qint32 itemRow = 0;
        QString name;
        stream >> parentRow >> itemRow >> name;
        // A truncated record ends the payload.
        if (stream.status() != QDataStream::Ok)
            break;
        names << name;
    }

    insertRows(row, int(names.size()), parent);
    for (int i = 0; i < names.size(); ++i) {
        const QModelIndex target = index(row + i, 0, parent);
        if (target.isValid())
            setData(target, names.at(i), Qt::DisplayRole);
    }
    Q_EMIT moveItems(parent.data(Qt::DisplayRole).toString(), row, names);
    return true;
}

bool ThumbnailModel::insertRows(int row, int count, const QModelIndex& parent)
{
    ThumbnailItem* parentNode = node(parent);
    if (!parentNode)
        return false;
    // Nothing to insert: beginInsertRows would be handed last < first.
    if (count <= 0)
        return false;
    const int position = std::clamp(row, 0, int(parentNode->children.size()));
    beginInsertRows(parent, position, position + count - 1);
    for (int i = 0; i < count; ++i)
        parentNode->children.insert(position + i, new ThumbnailItem(QString(), parentNode));
    endInsertRows();
    return true;
}

bool ThumbnailModel::removeRows(int row, int count, const QModelIndex& parent)
{
    ThumbnailItem* parentNode = node(parent);
    if (!parentNode)
        return false;
    if (row < 0 || count <= 0 || row + count > parentNode->children.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        delete parentNode->children.takeAt(row);
    endRemoveRows();
    return true;
}

Qt::ItemFlags ThumbnailModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    if (!index.parent().isValid())
        return Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled | Qt::ItemIsEnabled;
}

void ThumbnailModel::setThumbnails(const QMap<QString, QVector<QString>>& thumbnails)
{
    beginResetModel();
    while (!m_root->children.isEmpty())
        delete m_root->children.takeLast();
    for (auto it = thumbnails.cbegin(); it != thumbnails.cend(); ++it) {
        if (it.value().isEmpty())
            continue;
        auto* folder = new ThumbnailItem(it.key(), m_root);
        m_root->children.append(folder);
        folder->children.reserve(it.value().size());
        for (const QString& name : it.value())
            folder->children.append(new ThumbnailItem(name, folder));
    }
    endResetModel();
}

} // namespace veldra
