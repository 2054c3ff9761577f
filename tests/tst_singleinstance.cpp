// One instance at a time: two real processes of the program (a second start hands
// over and ends; a dead instance's lock is taken over), and the hand-over itself.
#include "platform/SingleInstance.h"
#include "tests/TestSupport.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

class TestSingleInstance : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<std::unique_ptr<QProcess>> m_processes;

    QString Path(const QString &name) const { return m_dir->filePath(name); }

    // The program, run from a copy in the temporary folder, which holds its files.
    QProcess *Start()
    {
        auto &process = m_processes.emplace_back(std::make_unique<QProcess>());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", Path("run"));
        env.insert("HOME", Path("home"));
        env.insert("XDG_CONFIG_HOME", Path("home/.config"));
        process->setProcessEnvironment(env);
        process->start(Path("varnokel"), {});
        return process.get();
    }

    // True once a running instance accepts connections (a dead one's socket refuses).
    bool Listening() const
    {
        QLocalSocket probe;
        probe.connectToServer(Path("run/VarnokelMutex"));
        return probe.waitForConnected(100);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(Path("run")) && QDir().mkpath(Path("home")));
        QFile::setPermissions(Path("run"), QFile::ReadOwner | QFile::WriteOwner
                                               | QFile::ExeOwner);
        QVERIFY(QFile::copy(VK_BINARY_DIR "/varnokel", Path("varnokel")));
        WriteFileBytes(Path("preferences.ini"), "[Start/Exit]\r\nStartMinimized=1\r\n");
    }

    void cleanup()
    {
        for (auto &process : m_processes) {
            process->kill();
            process->waitForFinished();
        }
        m_processes.clear();
    }

    void secondStartShowsTheFirstAndEnds()
    {
        QProcess *first = Start();
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 20000);
        const QStringList filesBefore = QDir(m_dir->path()).entryList(QDir::Files);
        QProcess *second = Start();
        QVERIFY(second->waitForFinished(20000));
        QCOMPARE(second->exitCode(), 0);
        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT((log += first->readAllStandardError()).contains("second start")
                                     || first->state() != QProcess::Running, 20000);
        QCOMPARE(first->state(), QProcess::Running);
        // The second start read and wrote nothing of the program's files.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), filesBefore);
    }

    void lockOfADeadInstanceIsTakenOver()
    {
        QProcess *dead = Start();
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 20000);
        dead->kill(); // no chance to release the lock or remove its socket
        QVERIFY(dead->waitForFinished(20000));
        QVERIFY(QFile::exists(Path("run/VarnokelMutex.lock")) && !Listening());
        QProcess *next = Start();
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 20000);
        QCOMPARE(next->state(), QProcess::Running);
    }

    // Only this program's own path shows the running instance; a folder where no
    // lock can be made never keeps the program from starting.
    void handOverInOneProcess()
    {
        SingleInstance first(Path("run"));
        QVERIFY(first.TryAcquire());
        SingleInstance second(Path("run"));
        QVERIFY(!second.TryAcquire());
        QVERIFY(!second.NotifyRunningInstance()); // nobody listens yet
        first.Listen();
        QSignalSpy activated(&first, &SingleInstance::Activated);
        QLocalSocket other;
        other.connectToServer(Path("run/VarnokelMutex"));
        QVERIFY(other.waitForConnected(1000));
        other.write("/usr/bin/other\n");
        QTRY_COMPARE(other.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(activated.count(), 0);
        bool notified = false;
        std::thread starter([&] { notified = second.NotifyRunningInstance(); });
        QTRY_COMPARE(activated.count(), 1);
        starter.join();
        QVERIFY(notified);
        QVERIFY(SingleInstance(Path("preferences.ini")).TryAcquire());
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
