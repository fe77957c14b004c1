#include "imagesearch.h"

#include "features/colorbins.h"
#include "shell/config.h"
#include "store/folderpath.h"
#include "store/indexdatabase.h"

#include <QFileInfo>
#include <QMap>
#include <QSqlQuery>
#include <QStringList>

namespace veldra {

namespace {

// Statements differ between the engines only in their last sort key: SQLite
// returns full ties in row order, a server's sort leaves them unordered, so
// there the row id keeps both engines' rankings identical.
QString tieBreak(const QSqlDatabase& db, const QString& idColumn)
{
    return IndexDatabase::isServer(db) ? QStringLiteral(", %1").arg(idColumn) : QString();
}

// Thumbnail paths from the first column of the rows, stopping at the first
// row whose second column is 0 when stopAtZero is set.
SearchResult thumbnails(QSqlQuery& query, bool stopAtZero = false)
{
    SearchResult result;
    const QString dataPath = Config::instance()->dataPath() + QLatin1Char('/');
    while (query.next()) {
        if (stopAtZero && query.value(1).toInt() == 0)
            break;
        result.append(dataPath + query.value(0).toString());
    }
    return result;
}

} // namespace

SearchResult similaritySearch(const QString& samplePath)
{
    QSqlDatabase db = IndexDatabase::connection();
    const QFileInfo sample(samplePath);
    const QVector<int>& bins = colorBinKeys();

    QStringList columns;
    for (int key : bins)
        columns << colorColumnName(key);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select id, %1 from colors where id = ( select id from images "
                                 "where img = ? and fid = ( select id from folder where path = ? "
                                 ") )")
                      .arg(columns.join(QStringLiteral(", "))));
    query.bindValue(0, sample.fileName());
    query.bindValue(1, storedFolderPath(sample.absolutePath()));
    // Without the sample's weights there is nothing to measure against.
    if (!query.exec() || !query.next())
        return {};
    const int sampleId = query.value(0).toInt();

    // Only numbers read from the index are spliced into the statement.
    QStringList terms;
    for (int i = 0; i < bins.size(); ++i)
        terms << QStringLiteral("abs( colors.%1 - %2 )")
                     .arg(columns.at(i))
                     .arg(query.value(i + 1).toInt());
    query.finish();

    query.prepare(QStringLiteral("select images.timg, %1 from images join colors on images.id = "
                                 "colors.id where images.id <> ? order by 2 asc, images.bytes desc")
                      .arg(terms.join(QStringLiteral(" + ")))
        + tieBreak(db, QStringLiteral("images.id")));
    query.bindValue(0, sampleId);
    if (!query.exec())
        return {};
    return thumbnails(query);
}

SearchResult colorSearch(const QVector<QColor>& colors)
{
    if (colors.isEmpty())
        return {};
    QMap<int, int> counts;
    for (const QColor& color : colors)
        ++counts[colorBinKey(color.rgb())];
    QStringList terms;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        terms << QStringLiteral("colors.c_%1 * %2").arg(it.key()).arg(it.value());

    QSqlDatabase db = IndexDatabase::connection();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select images.timg, %1 from images join colors on images.id "
                                   "= colors.id order by 2 desc, images.bytes desc")
                        .arg(terms.join(QStringLiteral(" + ")))
            + tieBreak(db, QStringLiteral("images.id"))))
        return {};
    return thumbnails(query, true);
}

SearchResult moodSearch(int temperature, int noise, int balance)
{
    QSqlDatabase db = IndexDatabase::connection();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select timg, abs( rgn - ? ) * ? + abs( temperature - ? ) * ? "
                                 "from images order by 2 asc, bytes desc")
        + tieBreak(db, QStringLiteral("id")));
    query.bindValue(0, noise);
    query.bindValue(1, balance);
    query.bindValue(2, temperature);
    query.bindValue(3, 100 - balance);
    if (!query.exec())
        return {};
    return thumbnails(query);
}

} // namespace veldra
