#include "folderpath.h"

#include <QCoreApplication>
#include <QDir>

namespace veldra {

QString storedFolderPath(const QString& absoluteFolder)
{
    const QDir application(QCoreApplication::applicationDirPath());
    const QString relative
        = QDir::cleanPath(application.relativeFilePath(QDir::cleanPath(absoluteFolder)));
    if (relative.isEmpty() || relative == QLatin1String("."))
        return QString();
    return QLatin1Char('/') + relative;
}

QString absoluteFolderPath(const QString& storedFolder)
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + storedFolder);
}

} // namespace veldra
