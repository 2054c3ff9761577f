// One instance at a time, with two real processes of the program: a second
// start hands over to the running one and ends; a dead instance's lock is taken over.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void secondStartShowsTheFirstAndEnds();
    void lockOfADeadInstanceIsTakenOver();
    void lockInTheSameProcessIsRefused();

private:
    QProcess *Start();
    bool WaitForListening(QProcess *process);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QList<QProcess *> m_processes;
};

void TestSingleInstance::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir(m_dir->path()).mkdir("run");
    QFile::setPermissions(m_dir->filePath("run"), QFile::ReadOwner | QFile::WriteOwner
                                                      | QFile::ExeOwner);
    QDir(m_dir->path()).mkdir("home");
    // The program's folder holds its files: run a copy from the temporary folder.
    m_program = m_dir->filePath("varnokel");
    QVERIFY(QFile::copy(VK_BINARY_DIR "/varnokel", m_program));
    QFile ini(m_dir->filePath("preferences.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Start/Exit]\r\nStartMinimized=1\r\n"); // hides into the tray at start
}

void TestSingleInstance::cleanup()
{
    for (QProcess *process : m_processes) {
        process->kill();
        process->waitForFinished();
        delete process;
    }
    m_processes.clear();
}

QProcess *TestSingleInstance::Start()
{
    auto *process = new QProcess;
    m_processes.append(process);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", m_dir->filePath("run"));
    env.insert("HOME", m_dir->filePath("home"));
    env.insert("XDG_CONFIG_HOME", m_dir->filePath("home/.config"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(m_program, {});
    return process;
}

bool TestSingleInstance::WaitForListening(QProcess *process)
{
    const QString socket = m_dir->filePath("run/VarnokelMutex");
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(socket) && timer.elapsed() < 20000) {
        if (process->state() == QProcess::NotRunning)
            return false;
        QTest::qWait(20);
    }
    return QFile::exists(socket);
}

void TestSingleInstance::secondStartShowsTheFirstAndEnds()
{
    QProcess *first = Start();
    QVERIFY(WaitForListening(first));
    const QStringList filesBefore = QDir(m_dir->path()).entryList(QDir::Files);
    QProcess *second = Start();
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);
    QByteArray log;
    QTRY_VERIFY_WITH_TIMEOUT((log += first->readAllStandardError()).contains("second start")
                                 || first->state() != QProcess::Running, 20000);
    QCOMPARE(first->state(), QProcess::Running);
    // The second start read and wrote nothing of the program's files.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), filesBefore);
}

void TestSingleInstance::lockOfADeadInstanceIsTakenOver()
{
    QProcess *dead = Start();
    QVERIFY(WaitForListening(dead));
    dead->kill(); // no chance to release the lock
    QVERIFY(dead->waitForFinished(20000));
    QVERIFY(QFile::exists(m_dir->filePath("run/VarnokelMutex.lock")));
    QFile::remove(m_dir->filePath("run/VarnokelMutex")); // its socket would be left too
    QProcess *next = Start();
    QVERIFY(WaitForListening(next));
    QCOMPARE(next->state(), QProcess::Running);
}

void TestSingleInstance::lockInTheSameProcessIsRefused()
{
    SingleInstance first(m_dir->filePath("run"));
    QVERIFY(first.TryAcquire());
    SingleInstance second(m_dir->filePath("run"));
    QVERIFY(!second.TryAcquire());
    QVERIFY(!second.NotifyRunningInstance()); // nobody listens yet
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
