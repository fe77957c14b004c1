#include "mariadbserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace veldra::test {

namespace {

std::unique_ptr<MariaDbServer> server;
QString failure;
bool tried = false;

int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

QString serverBinary()
{
    const QStringList paths { "/usr/sbin", "/usr/bin", "/usr/local/sbin", "/usr/local/bin" };
    for (const char* name : { "mariadbd", "mysqld" }) {
        const QString found = QStandardPaths::findExecutable(name, paths);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

} // namespace

MariaDbServer* MariaDbServer::instance()
{
    if (!tried) {
        tried = true;
        server.reset(new MariaDbServer);
        if (!server->start(&failure))
            server.reset();
        else
            qAddPostRoutine([] { server.reset(); });
    }
    return server.get();
}

QString MariaDbServer::unavailable()
{
    instance();
    return failure;
}

bool MariaDbServer::start(QString* error)
{
    const QString binary = serverBinary();
    if (binary.isEmpty()) {
        *error = "MariaDB server binary (mariadbd) not installed; run scripts/install-deps.sh";
        return false;
    }
    if (!m_dir.isValid() || !QDir().mkpath(m_dir.path() + "/data")) {
        *error = "cannot create a directory for the MariaDB server";
        return false;
    }
    m_port = freePort();
    QStringList arguments { "--no-defaults", "--datadir=" + m_dir.path() + "/data",
        "--socket=" + socket(), "--port=" + QString::number(m_port), "--bind-address=127.0.0.1",
        "--pid-file=" + m_dir.path() + "/mysqld.pid", "--log-error=" + m_dir.path() + "/error.log",
        "--skip-grant-tables", "--skip-log-bin", "--innodb-buffer-pool-size=64M",
        "--innodb-flush-log-at-trx-commit=2", "--character-set-server=utf8mb4",
        "--collation-server=utf8mb4_bin" };
    if (::geteuid() == 0)
        arguments << "--user=root";
    m_process.setProgram(binary);
    m_process.setArguments(arguments);
    // The server must not outlive a test that crashes.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(10000)) {
        *error = "cannot start " + binary + ": " + m_process.errorString();
        return false;
    }

    QElapsedTimer timer;
    timer.start();
    const QString probe = "mariadb-server-probe";
    bool ready = false;
    while (!ready && timer.elapsed() < 60000 && m_process.state() == QProcess::Running) {
        if (QFile::exists(socket())) {
            QSqlDatabase db = QSqlDatabase::addDatabase("QMYSQL", probe);
            db.setConnectOptions("UNIX_SOCKET=" + socket());
            db.setUserName("lumerax");
            ready = db.open();
            db.close();
        }
        if (!ready)
            QThread::msleep(50);
    }
    QSqlDatabase::removeDatabase(probe);
    if (!ready) {
        QFile log(m_dir.path() + "/error.log");
        log.open(QIODevice::ReadOnly);
        *error
            = "the MariaDB server did not come up: " + QString::fromUtf8(log.readAll().right(800));
        stop();
        return false;
    }
    return true;
}

void MariaDbServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(20000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

MariaDbServer::~MariaDbServer()
{
    stop();
}

} // namespace veldra::test
