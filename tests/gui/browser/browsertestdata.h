#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace veldra::test {

// Thumbnail files of chosen sizes and colours in a temporary directory.
class Pictures
{
public:
    // Writes name.png of the given size filled with colour; returns its path.
    QString add(const QString& name, int width, int height, const QColor& color = Qt::blue)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        const QString path = m_dir.filePath(name + QStringLiteral(".png"));
        image.save(path);
        return path;
    }

    // folders folders named "/photos/fNN", each with perFolder square
    // pictures of the given size (shared files, distinct names are not needed
    // for layout).
    QMap<QString, QStringList> grid(int folders, int perFolder, int size = 100)
    {
        const QString picture = add(QStringLiteral("square%1").arg(size), size, size);
        QMap<QString, QStringList> map;
        for (int f = 0; f < folders; ++f) {
            QStringList names;
            for (int i = 0; i < perFolder; ++i)
                names << picture;
            map.insert(QStringLiteral("/photos/f%1").arg(f, 2, 10, QLatin1Char('0')), names);
        }
        return map;
    }

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

} // namespace veldra::test
