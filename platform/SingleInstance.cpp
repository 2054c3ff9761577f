#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

const char kMutexName[] = "VarnokelMutex";
constexpr int kTimeoutMs = 2000;

} // namespace

SingleInstance::SingleInstance(QString folder) : m_folder(std::move(folder))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

bool SingleInstance::TryAcquire()
{
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(
        m_folder + QLatin1Char('/') + QLatin1String(kMutexName) + QLatin1String(".lock"));
    // Never stale by age: only a lock whose process is gone is taken over.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    return m_lock->error() != QLockFile::LockFailedError;
}

void SingleInstance::Listen()
{
    const QString name = m_folder + QLatin1Char('/') + QLatin1String(kMutexName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name); // a socket left by a dead instance
    m_server->listen(name);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
}

void SingleInstance::OnNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const QString path = QString::fromUtf8(socket->readLine()).trimmed();
            socket->disconnectFromServer();
            if (path == OwnProgramPath())
                emit Activated();
        });
    }
}

QString SingleInstance::OwnProgramPath()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

bool SingleInstance::NotifyRunningInstance() const
{
    const QString programPath = OwnProgramPath();
    QLocalSocket socket;
    socket.connectToServer(m_folder + QLatin1Char('/') + QLatin1String(kMutexName));
    if (!socket.waitForConnected(kTimeoutMs))
        return false;
    socket.write(programPath.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kTimeoutMs))
        return false;
    socket.waitForDisconnected(kTimeoutMs);
    return true;
}
