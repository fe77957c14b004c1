#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace veldra::test {

// A private MariaDB server for the tests of one process: its own data
// directory, socket and port in a temporary directory, no grant tables. It
// starts on first use and stops when the application object goes, or with
// the test process if that dies.
class MariaDbServer
{
public:
    // The running server, or null when it cannot run here (see unavailable()).
    static MariaDbServer* instance();
    // Why there is no server, empty when there is one.
    static QString unavailable();

    QString socket() const { return m_dir.path() + "/mysqld.sock"; }
    int port() const { return m_port; }

    ~MariaDbServer();

private:
    MariaDbServer() = default;
    bool start(QString* error);
    void stop();

    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

} // namespace veldra::test
