#include "config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace veldra {

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(applicationName));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(applicationVersion));
    QCoreApplication::setOrganizationName(QString::fromLatin1(organizationName));
    QCoreApplication::setOrganizationDomain(QString::fromLatin1(organizationDomain));
}

Config* Config::instance()
{
    static Config* config = new Config;
    return config;
}

static bool makeWritableDirectory(const QString& path)
{
    if (!QDir().mkpath(path))
        return false;
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

QString Config::chooseDataPath(
    const QString& overridePath, const QString& applicationDir, const QString& userDataDir)
{
    if (!overridePath.isEmpty()) {
        QDir().mkpath(overridePath);
        return QDir(overridePath).absolutePath();
    }
    // A system-wide installation cannot write beside its executable; the
    // per-user location keeps the index across reboots, the temporary
    // directory does not and is only the last resort.
    for (const QString& base : { applicationDir, userDataDir }) {
        if (base.isEmpty())
            continue;
        const QString candidate = base + QLatin1String("/thumbs");
        if (makeWritableDirectory(candidate))
            return QDir(candidate).absolutePath();
    }
    return QDir::tempPath();
}

QString Config::dataPath() const
{
    return chooseDataPath(qEnvironmentVariable("LUMERAX_DATA_DIR"),
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}

QVariant Config::value(const QString& group, const QString& key, const QVariant& defaultValue) const
{
    QSettings settings(dataPath() + QLatin1String("/config.ini"), QSettings::IniFormat);
    settings.beginGroup(group);
    const QVariant result = settings.value(key, defaultValue);
    settings.endGroup();
    return result;
}

void Config::setValue(const QString& group, const QString& key, const QVariant& value) const
{
    QSettings settings(dataPath() + QLatin1String("/config.ini"), QSettings::IniFormat);
    settings.beginGroup(group);
    settings.setValue(key, value);
    settings.endGroup();
}

} // namespace veldra
