#include "shell/singleinstance.h"
#include "shell/startupmessage.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>
#include <QWidget>
#include <QtConcurrent>

#include <unistd.h>

using namespace veldra;

namespace {

QString uniqueId()
{
    return QStringLiteral("lumerax-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// Sends from another thread, as a second process would: the receiver's event
// loop must run meanwhile.
QFuture<bool> sendFromAnotherThread(const QString& id, const QString& message, int timeout = 5000)
{
    return QtConcurrent::run([=] { return SingleInstance(id).sendMessage(message, timeout); });
}

bool waitFor(QFuture<bool> future)
{
    QDeadlineTimer deadline(15000);
    while (!future.isFinished() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return future.isFinished() && future.result();
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyedByIdAndUser()
    {
        const SingleInstance instance(QStringLiteral("lumerax"));
        QCOMPARE(instance.serverName(), QStringLiteral("lumerax-%1").arg(::getuid()));
        // Characters a socket name cannot hold are replaced.
        QCOMPARE(SingleInstance(QStringLiteral("a/b c")).serverName(),
            QStringLiteral("a_b_c-%1").arg(::getuid()));
    }

    void startupMessages_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no arguments") << QStringList { "lumerax" } << QString();
        QTest::newRow("file, then two hosts: the last wins") << QStringList { "lumerax",
            "photo.jpg", "www.a.org", "www.b.org/x" } << "http://www.b.org/x";
        QTest::newRow("upper case does not count")
            << QStringList { "lumerax", "WWW.a.org" } << QString();
        QTest::newRow("already a web address")
            << QStringList { "lumerax", "http://www.a.org" } << QString();
        QTest::newRow("the program path is skipped") << QStringList { "www.prog" } << QString();
        QTest::newRow("a later plain argument keeps it")
            << QStringList { "lumerax", "www.a.org", "x" } << "http://www.a.org";
    }

    void startupMessages()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QCOMPARE(startupMessage(arguments), message);
    }

    void firstInstanceSendsToNobody()
    {
        const QString id = uniqueId();
        SingleInstance first(id);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!first.sendMessage(QStringLiteral("www.example.org"), 5000));
        QVERIFY(timer.elapsed() < 2000);
        QVERIFY(first.listen());
        // The listening instance never hands work to itself.
        QVERIFY(!first.sendMessage(QString(), 100));
    }

    void messagesArrive()
    {
        const QString id = uniqueId();
        SingleInstance first(id);
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);
        // Empty, a web address, not Latin-1, long: one connection each.
        const QStringList messages { QString(), QStringLiteral("http://www.lumerax.org"),
            QStringLiteral("http://www.bücher.de/ÄÖÜ€"), QString(20000, QLatin1Char('w')) };
        for (const QString& message : messages)
            QVERIFY(waitFor(sendFromAnotherThread(id, message)));
        QTRY_COMPARE(received.count(), messages.size());
        for (int i = 0; i < messages.size(); ++i)
            QCOMPARE(received.at(i).at(0).toString(), messages.at(i));
    }

    void secondInstanceWaitsForAStartingFirst()
    {
        // The first holds the lock but listens only a moment later.
        const QString id = uniqueId();
        SingleInstance first(id);
        QVERIFY(!first.sendMessage(QString(), 100));
        QFuture<bool> second = sendFromAnotherThread(id, QStringLiteral("hello"));
        QTest::qWait(300);
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);
        QVERIFY(waitFor(second));
        QTRY_COMPARE(received.count(), 1);
    }

    void unresponsiveFirstTimesOut()
    {
        // A live holder of the lock that never listens: the sender gives up
        // after its time-out and runs on its own.
        const QString id = uniqueId();
        SingleInstance first(id);
        QVERIFY(!first.sendMessage(QString(), 100));
        QElapsedTimer timer;
        timer.start();
        QFuture<bool> second = sendFromAnotherThread(id, QStringLiteral("x"), 700);
        QVERIFY(!waitFor(second));
        QVERIFY(timer.elapsed() >= 650);
        QVERIFY(timer.elapsed() < 5000);
    }

    void crashedInstanceDoesNotBlock()
    {
        // A process that took the lock and the socket and died without
        // cleaning up leaves both behind.
        const QString id = uniqueId();
        QProcess crashing;
        crashing.start(
            QCoreApplication::applicationFilePath(), { QStringLiteral("--crash-holding"), id });
        QVERIFY(crashing.waitForFinished(10000));
        QCOMPARE(crashing.exitCode(), 3);
        SingleInstance probe(id);
        QVERIFY(QFile::exists(QDir::tempPath() + "/" + probe.serverName()));
        QVERIFY(QFile::exists(QDir::tempPath() + "/" + probe.serverName() + ".lock"));

        SingleInstance next(id);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!next.sendMessage(QString(), 5000));
        QVERIFY(timer.elapsed() < 2000);
        QVERIFY(next.listen());
        QSignalSpy received(&next, &SingleInstance::messageReceived);
        QVERIFY(waitFor(sendFromAnotherThread(id, QStringLiteral("again"))));
        QTRY_COMPARE(received.count(), 1);
    }

    void foreignBytesAreDropped()
    {
        const QString id = uniqueId();
        SingleInstance first(id);
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::messageReceived);
        QLocalSocket socket;
        socket.connectToServer(first.serverName());
        QVERIFY(socket.waitForConnected(2000));
        // A length that promises far more than is ever sent.
        socket.write(QByteArray("\x7f\xff\xff\xf0", 4) + QByteArray(70 * 1024, 'x'));
        socket.flush();
        QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(received.count(), 0);
        // Still serving proper senders.
        QVERIFY(waitFor(sendFromAnotherThread(id, QStringLiteral("ok"))));
        QTRY_COMPARE(received.count(), 1);
    }

    void messageActivatesTheWindow()
    {
        const QString id = uniqueId();
        SingleInstance first(id);
        QVERIFY(first.listen(true));
        QWidget window;
        window.show();
        window.setWindowState(Qt::WindowMinimized);
        first.setActivationWindow(&window);
        QVERIFY(waitFor(sendFromAnotherThread(id, QString())));
        QTRY_VERIFY(!(window.windowState() & Qt::WindowMinimized));
        QVERIFY(window.isVisible());
    }
};

int main(int argc, char** argv)
{
    // Helper mode: become the first instance and die without cleaning up.
    if (argc == 3 && qstrcmp(argv[1], "--crash-holding") == 0) {
        QCoreApplication app(argc, argv);
        auto* instance = new SingleInstance(QString::fromLocal8Bit(argv[2]));
        if (instance->sendMessage(QString(), 100) || !instance->listen(false))
            return 1;
        ::_exit(3);
    }
    QApplication app(argc, argv);
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
