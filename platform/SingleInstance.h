#pragma once
// The single-instance rule: a lock named after "VarnokelMutex" marks the running
// instance, and a local socket beside it carries a second start's program path to
// it. A stale lock left by a process that died is taken over.

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // folder: where the lock and the socket live (the user's runtime folder).
    explicit SingleInstance(QString folder = DefaultFolder());
    ~SingleInstance() override;

    // Tries the lock with a 0 ms wait. True: this is the first instance (it keeps
    // the lock until it ends). Also true when the lock cannot be made at all, so
    // a broken runtime folder never stops the program from starting.
    bool TryAcquire();

    // First instance: listen for later starts; Activated is emitted when one
    // sends this program's own path.
    void Listen();

    // Second instance: hand our program path to the running one. False when no
    // running instance answered.
    bool NotifyRunningInstance() const;

    static QString DefaultFolder();
    // The full path of this process's program file.
    static QString OwnProgramPath();

signals:
    void Activated();

private:
    void OnNewConnection();

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};
