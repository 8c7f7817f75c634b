#include "app/platform/SingleInstance.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QVariant>

#include <unistd.h>

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_name(std::move(serverName))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultServerName()
{
    // The user's runtime folder keeps the socket private; without one the name carries the user.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/talvern-rlc");
    return QStringLiteral("talvern-rlc-%1").arg(static_cast<qulonglong>(getuid()));
}

bool SingleInstance::SendToRunningInstance(const QString& serverName,
                                           const std::vector<std::string>& commands, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    for (const std::string& command : commands) {
        if (command.empty() || command.size() >= kMaxCommandLength ||
            command.find('\n') != std::string::npos)
            return false;
        socket.write(command.data(), static_cast<qint64>(command.size()));
        socket.write("\n", 1);
    }
    socket.flush();
    size_t acknowledged = 0;
    while (acknowledged < commands.size()) {
        if (!socket.canReadLine() && !socket.waitForReadyRead(timeoutMs))
            return false;
        while (socket.canReadLine())
            if (socket.readLine(8).startsWith('1'))
                ++acknowledged;
    }
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Listen(std::function<bool(const std::string&)> handler)
{
    m_handler = std::move(handler);
    m_server = new QLocalServer(this);
    if (!m_server->listen(m_name)) {
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(500))
            return false;  // another program answers
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
    return true;
}

void SingleInstance::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        socket->setProperty("commands", 0);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadCommands(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        ReadCommands(socket);
    }
}

void SingleInstance::ReadCommands(QLocalSocket* socket)
{
    int count = socket->property("commands").toInt();
    while (socket->canReadLine()) {
        QByteArray line = socket->readLine(kMaxCommandLength + 1);
        if (!line.endsWith('\n') || ++count > kMaxCommandsPerConnection) {
            socket->abort();
            return;
        }
        line.chop(1);
        socket->write("1\n");
        if (!line.isEmpty())
            m_pending.push_back(line.toStdString());
    }
    if (socket->bytesAvailable() > kMaxCommandLength) {
        socket->abort();
        return;
    }
    socket->setProperty("commands", count);
    socket->flush();
    // Handlers may open documents and show messages; they run outside the socket's signal.
    QTimer::singleShot(0, this, &SingleInstance::DispatchPending);
}

void SingleInstance::DispatchPending()
{
    if (m_dispatching)
        return;  // the outer call goes on with the rest, in order
    m_dispatching = true;
    while (!m_pending.empty()) {
        const std::string command = std::move(m_pending.front());
        m_pending.pop_front();
        if (m_handler)
            m_handler(command);
    }
    m_dispatching = false;
}
