#pragma once
// One running program per user takes the files later launches are asked to open. The running
// program listens on a local socket; a later launch sends one shell command per line, each
// acknowledged at once with "1\n", and the running program hands the commands to its handler
// in the order received (the application's OnDDECommand, which queues them during start-up).
#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
public:
    // Longest command line taken; a longer one drops the connection.
    static constexpr qint64 kMaxCommandLength = 16 * 1024;
    // Most commands taken from one connection.
    static constexpr int kMaxCommandsPerConnection = 256;

    explicit SingleInstance(QString serverName = DefaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // "$XDG_RUNTIME_DIR/talvern-rlc", else "talvern-rlc-<user id>" in the temporary folder.
    static QString DefaultServerName();

    // Hands the commands to the running program; true when it acknowledged every one.
    static bool SendToRunningInstance(const QString& serverName, const std::vector<std::string>& commands,
                                      int timeoutMs = 3000);

    // Starts listening (a stale socket left by a crashed program is removed first); false when
    // another program listens already.
    bool Listen(std::function<bool(const std::string&)> handler);

private:
    void OnNewConnection();
    void ReadCommands(QLocalSocket* socket);
    void DispatchPending();

    QString m_name;
    QLocalServer* m_server = nullptr;
    std::function<bool(const std::string&)> m_handler;
    std::deque<std::string> m_pending;
    bool m_dispatching = false;
};
