#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;
class QWidget;

namespace veldra {

// Makes sure only one instance of a program runs per user. The first instance
// holds a lock file and listens on a local socket, both named by the
// application id and the user; later ones send it a message and quit. A lock
// and a socket left behind by a crashed instance are recognised as stale (the
// process that held the lock is gone) and taken over.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString& id, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The name of the lock and the socket: the id and the user.
    QString serverName() const { return m_serverName; }

    // Sends message to the running instance and waits at most timeout
    // milliseconds for it to confirm receipt. True when another instance got
    // it; false when this one is (or may become) the first.
    bool sendMessage(const QString& message, int timeout = 5000);

    // Starts listening for messages; with activateOnMessage every message
    // brings the activation window to the front. False when another live
    // instance holds the lock or the socket cannot be created.
    bool listen(bool activateOnMessage = true);
    bool isListening() const;

    void setActivationWindow(QWidget* window);
    QWidget* activationWindow() const;

public Q_SLOTS:
    // Clears the minimised state of the activation window, raises and
    // activates it.
    void activateWindow();

Q_SIGNALS:
    void messageReceived(const QString& _message);

private Q_SLOTS:
    void acceptConnection();

private:
    bool lock();

    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    QPointer<QWidget> m_activationWindow;
};

} // namespace veldra
