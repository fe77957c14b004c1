#pragma once

#include <QString>
#include <QVariant>

namespace veldra {

// Identity shared by the application and the command-line tool; it also
// decides where the native settings store and the per-user data live.
inline constexpr auto applicationName = "LUMERAX Image Processing";
inline constexpr auto applicationVersion = "2.0";
inline constexpr auto organizationName = "VELDRA Technologies GmbH";
inline constexpr auto organizationDomain = "lumerax.org";

void setApplicationIdentity();

// The settings file "config.ini" in the data directory. Stateless: every call
// opens the file anew, so values written by another thread or process are seen.
class Config
{
public:
    static Config* instance();

    // The data directory (settings file, index database, thumbnails). Computed
    // and created on every call; never cached.
    QString dataPath() const;

    QVariant value(
        const QString& group, const QString& key, const QVariant& defaultValue = QVariant()) const;
    void setValue(const QString& group, const QString& key, const QVariant& value) const;

    // The choice behind dataPath(), with its inputs made explicit: an override
    // (LUMERAX_DATA_DIR) wins; otherwise "thumbs" in the application directory,
    // then in the per-user data location, then the temporary directory.
    static QString chooseDataPath(
        const QString& overridePath, const QString& applicationDir, const QString& userDataDir);

private:
    Config() = default;
};

} // namespace veldra
