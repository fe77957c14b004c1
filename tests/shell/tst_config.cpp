#include "shell/config.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace veldra;

class TestConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        qputenv("LUMERAX_DATA_DIR", QFile::encodeName(m_dir->path() + "/data"));
    }

    // The data directory is created on first use; settings are read and written
    // through config.ini at once, so changes from elsewhere are seen.
    void settingsLiveInConfigIni()
    {
        Config* config = Config::instance();
        QCOMPARE(config->dataPath(), m_dir->path() + "/data");
        QVERIFY(QFileInfo(config->dataPath()).isDir());
        const QString file = config->dataPath() + "/config.ini";
        QCOMPARE(config->value("Lumerax", "ThumbnailSize", 250).toInt(), 250);
        QVERIFY(!config->value("Lumerax", "Geometry").isValid());
        QVERIFY(!QFile::exists(file));

        config->setValue("Lumerax", "Thumbnails", true);
        config->setValue("Database", "Database", "lumerax");
        QSettings ini(file, QSettings::IniFormat);
        QCOMPARE(ini.value("Lumerax/Thumbnails").toBool(), true);
        QCOMPARE(ini.value("Database/Database").toString(), QString("lumerax"));
        ini.setValue("Lumerax/Similarity", 2);
        ini.sync();
        QCOMPARE(config->value("Lumerax", "Similarity", 0).toInt(), 2);
    }

    void dataDirectoryBesideTheExecutable()
    {
        const QString app = m_dir->path() + "/app";
        QVERIFY(QDir().mkpath(app));
        QCOMPARE(Config::chooseDataPath(QString(), app, m_dir->path() + "/user"), app + "/thumbs");
        QVERIFY(QFileInfo(app + "/thumbs").isDir());
        QVERIFY(!QFileInfo::exists(m_dir->path() + "/user/thumbs"));
    }

    void unwritableApplicationDirectoryFallsBackToUserData()
    {
        // A directory cannot be created below a regular file, whoever runs this.
        const QString blocked = m_dir->path() + "/not-a-directory";
        QVERIFY(QFile(blocked).open(QIODevice::WriteOnly));
        const QString user = m_dir->path() + "/user";
        QCOMPARE(Config::chooseDataPath(QString(), blocked, user), user + "/thumbs");
        QVERIFY(QFileInfo(user + "/thumbs").isDir());
        // The temporary directory is the last resort.
        QCOMPARE(Config::chooseDataPath(QString(), blocked, blocked), QDir::tempPath());
        QCOMPARE(Config::chooseDataPath(QString(), blocked, QString()), QDir::tempPath());
    }

    void readOnlyThumbsDirectoryIsNotUsed()
    {
        const QString app = m_dir->path() + "/app";
        QVERIFY(QDir().mkpath(app + "/thumbs"));
        QFile::setPermissions(app + "/thumbs", QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(app + "/thumbs").isWritable())
            QSKIP("permissions do not restrict this user (root)");
        const QString user = m_dir->path() + "/user";
        QCOMPARE(Config::chooseDataPath(QString(), app, user), user + "/thumbs");
        QFile::setPermissions(
            app + "/thumbs", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void overrideWins()
    {
        const QString chosen = m_dir->path() + "/chosen/deeper";
        QCOMPARE(Config::chooseDataPath(chosen, m_dir->path(), m_dir->path()), chosen);
        QVERIFY(QFileInfo(chosen).isDir());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
