#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The application as a user starts it: one instance per user, a second start
// hands over and quits, a crashed instance does not block the next start.
class TestApplication : public QObject
{
    Q_OBJECT

private:
    // Every process of a test shares one private home: its own temporary
    // directory (socket and lock), settings and data directory.
    void start(QProcess& process, const QStringList& arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : { "TMPDIR", "XDG_RUNTIME_DIR" })
            env.insert(name, m_home.path() + "/tmp");
        env.insert("HOME", m_home.path());
        env.insert("XDG_CONFIG_HOME", m_home.path() + "/config");
        env.insert("LUMERAX_DATA_DIR", m_home.path() + "/data");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(LUMERAX_APP_PATH, arguments);
    }

    // An instance ended with SIGTERM leaves its socket and index behind;
    // waitUntilRunning must not take those for the next instance's.
    void clearLeftovers()
    {
        QDir(m_home.path() + "/tmp").removeRecursively();
        QDir().mkpath(m_home.path() + "/tmp");
        for (const QString& file : QDir(m_home.path() + "/data").entryList({ "lumerax.db*" }))
            QFile::remove(m_home.path() + "/data/" + file);
    }

    // The first instance is up once its window has opened the index.
    bool waitUntilRunning(QProcess& process)
    {
        if (!process.waitForStarted(10000))
            return false;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            if (process.state() != QProcess::Running)
                return false;
            if (QFile::exists(m_home.path() + "/data/lumerax.db")
                && QDir(m_home.path() + "/tmp").entryList(QDir::System).size() > 0)
                return true;
            QTest::qWait(100);
        }
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QVERIFY(QDir().mkpath(m_home.path() + "/tmp"));
        // No splash: it would only slow the start down here.
        const QString file = "/config/VELDRA Technologies GmbH/LUMERAX Image Processing.conf";
        QSettings(m_home.path() + file, QSettings::IniFormat).setValue("Splash", false);
    }

    void secondStartHandsOverAndQuits_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no arguments") << QStringList();
        QTest::newRow("web addresses") << QStringList { "photo.jpg", "www.a.org", "www.b.org" };
    }

    void secondStartHandsOverAndQuits()
    {
        QFETCH(QStringList, arguments);
        clearLeftovers();
        QProcess first;
        start(first);
        QVERIFY(waitUntilRunning(first));

        // Handed over, the second start quits; unanswered it would stay as
        // the running instance.
        QProcess second;
        start(second, arguments);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        first.terminate();
        QVERIFY(first.waitForFinished(10000));
    }

    void crashedInstanceDoesNotBlockTheNextStart()
    {
        clearLeftovers();
        QProcess crashed;
        start(crashed);
        QVERIFY(waitUntilRunning(crashed));
        crashed.kill();
        QVERIFY(crashed.waitForFinished(10000));

        // The next start becomes the first instance and stays.
        QProcess next;
        start(next);
        QVERIFY(!next.waitForFinished(3000));
        QCOMPARE(next.state(), QProcess::Running);

        // And serves the one after it.
        QProcess third;
        start(third);
        QVERIFY(third.waitForFinished(10000));
        QCOMPARE(third.exitCode(), 0);
        next.terminate();
        QVERIFY(next.waitForFinished(10000));
    }

private:
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(TestApplication)
#include "tst_application.moc"
