// One instance at a time: a second one hands over to the running one, which shows
// itself only for this program's own path; a dead instance's lock is taken over.
#include "platform/SingleInstance.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

class TestSingleInstance : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString Path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void secondInstanceHandsOver()
    {
        SingleInstance first(Path("run"));
        QVERIFY(first.TryAcquire());
        SingleInstance second(Path("run"));
        QVERIFY(!second.TryAcquire());
        QVERIFY(!second.NotifyRunningInstance()); // nobody listens yet
        QFile(Path("run/VarnokelMutex")).open(QIODevice::WriteOnly); // left by a dead one
        first.Listen();
        QSignalSpy activated(&first, &SingleInstance::Activated);
        std::atomic<bool> notified = false;
        const std::jthread starter([&] { notified = second.NotifyRunningInstance(); });
        QTRY_VERIFY(notified && activated.count() == 1);
        QLocalSocket other; // another program's path shows nothing
        other.connectToServer(Path("run/VarnokelMutex"));
        QVERIFY(other.waitForConnected(1000));
        other.write("/usr/bin/other\n");
        QTRY_COMPARE(other.state(), QLocalSocket::UnconnectedState); // read and let go
        QCOMPARE(activated.count(), 1);
        // A folder where no lock can be made never keeps the program from starting.
        QVERIFY(SingleInstance(Path("run/VarnokelMutex")).TryAcquire());
    }

    void lockOfADeadInstanceIsTakenOver()
    {
        const pid_t child = fork();
        if (child == 0) { // an instance that dies without releasing its lock
            SingleInstance dying(Path("dead"));
            _exit(dying.TryAcquire() ? 0 : 1);
        }
        int status = -1;
        QVERIFY(child > 0 && waitpid(child, &status, 0) == child && status == 0);
        SingleInstance next(Path("dead"));
        QVERIFY(next.TryAcquire());
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
