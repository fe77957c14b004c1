#include "singleinstance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QWidget>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace veldra {

namespace {

// Sent back by the running instance once the message is complete, so the
// sender knows it was taken and may quit.
constexpr char acknowledgement = '\x06';
constexpr qint64 maximumMessageBytes = 64 * 1024;

QString userKey()
{
#if defined(Q_OS_UNIX)
    return QString::number(::getuid());
#else
    QString user = qEnvironmentVariable("USERNAME");
    return user.isEmpty() ? QStringLiteral("user") : user;
#endif
}

// A message is a QDataStream string: a length, then the text. Null while the
// bytes read so far are not a whole message.
bool readMessage(const QByteArray& bytes, QString* message)
{
    QDataStream stream(bytes);
    stream.setVersion(QDataStream::Qt_6_0);
    stream.startTransaction();
    stream >> *message;
    return stream.commitTransaction();
}

} // namespace

SingleInstance::SingleInstance(const QString& id, QObject* parent)
    : QObject(parent)
{
    QString name = id;
    for (QChar& c : name) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    }
    m_serverName = name + QLatin1Char('-') + userKey();
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::lock()
{
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(
            QDir::tempPath() + QLatin1Char('/') + m_serverName + QLatin1String(".lock"));
        // Held for the whole run: only a dead holder makes the lock stale,
        // never its age.
        m_lock->setStaleLockTime(0);
    }
    return m_lock->isLocked() || m_lock->tryLock(0);
}

bool SingleInstance::sendMessage(const QString& message, int timeout)
{
    if (m_server)
        return false;
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    for (;;) {
        // Whoever holds the lock is the running instance; without a holder
        // (or with a dead one) this process is the first.
        if (lock())
            return false;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(int(qMax<qint64>(0, deadline.remainingTime()))))
            break;
        // The holder may still be starting up and not listen yet.
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }

    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << message;
    socket.write(bytes);
    if (!socket.waitForBytesWritten(int(qMax<qint64>(0, deadline.remainingTime()))))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(int(qMax<qint64>(0, deadline.remainingTime()))))
            return false;
    }
    char reply = 0;
    return socket.getChar(&reply) && reply == acknowledgement;
}

bool SingleInstance::listen(bool activateOnMessage)
{
    if (m_server)
        return true;
    if (!lock())
        return false;
    // Holding the lock, any socket of this name is a crashed instance's.
    QLocalServer::removeServer(m_serverName);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_serverName)) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    if (activateOnMessage)
        connect(this, &SingleInstance::messageReceived, this, &SingleInstance::activateWindow);
    return true;
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

void SingleInstance::setActivationWindow(QWidget* window)
{
    m_activationWindow = window;
}

QWidget* SingleInstance::activationWindow() const
{
    return m_activationWindow;
}

void SingleInstance::activateWindow()
{
    if (!m_activationWindow)
        return;
    m_activationWindow->setWindowState(m_activationWindow->windowState() & ~Qt::WindowMinimized);
    m_activationWindow->show();
    m_activationWindow->raise();
    m_activationWindow->activateWindow();
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QString message;
            if (!readMessage(socket->peek(socket->bytesAvailable()), &message)) {
                // Messages are short; anything this long is not one of ours.
                if (socket->bytesAvailable() > maximumMessageBytes)
                    socket->abort();
                return;
            }
            socket->readAll();
            socket->putChar(acknowledgement);
            socket->flush();
            socket->disconnectFromServer();
            Q_EMIT messageReceived(message);
        });
    }
}

} // namespace veldra
