// Whole-file saves: a folder that takes no new file, a read-only file, a full disk,
// a size limit, a kill at any step of an in-place save, and the temporary files a
// killed save leaves behind.
#include "platform/AtomicFile.h"
#include "platform/UserFolders.h"
#include "tests/FileSizeLimit.h"
#include "tests/TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(SaveStep)

class TestAtomicFile : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file; // "prefs.ini" in the folder "locked", holding "old"
    QStringList m_locked;

    QString Path(const QString &name) const { return m_dir->filePath(name); }

    // Root passes every permission check but not the immutable flag; others get a
    // read-only mode. True when the path then refuses new entries (a file always does).
    bool Lock(const QString &path)
    {
        if (geteuid() == 0 ? QProcess::execute("chattr", {"+i", path}) == 0
                           : QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner))
            m_locked << path;
        return m_locked.contains(path) && !QFile(path + "/new").open(QIODevice::WriteOnly);
    }

    // The folder "locked" refuses temporary files as one without write permission
    // does; `fail` may fail or end any step.
    void RefuseTemporaries(const SaveStepHook &fail = {})
    {
        SetSaveStepHook([locked = Path("locked"), fail](SaveStep step, const QString &path) {
            if (step == SaveStep::CreateTemporary && QFileInfo(path).path() == locked)
                return EACCES;
            return fail ? fail(step, path) : 0;
        });
    }

    // Saves in place in a child process that its n-th step ends as a kill would,
    // a write to the file cut at half; false when the save got through.
    bool KilledAt(int n, const QByteArray &contents)
    {
        const pid_t child = fork();
        if (child == 0) {
            RefuseTemporaries([&, steps = 0](SaveStep step, const QString &path) mutable {
                if (++steps == n && step == SaveStep::Write && path == m_file)
                    WriteFileBytes(m_file, contents.left(contents.size() / 2));
                if (steps == n)
                    ::raise(SIGKILL);
                return 0;
            });
            _exit(TryWriteFileAtomically(m_file, contents).isEmpty() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", QFile::encodeName(Path("state")));
        m_file = Path("locked/prefs.ini");
        WriteFileBytes(m_file, "old");
    }

    void cleanup()
    {
        SetSaveStepHook({});
        for (const QString &path : std::as_const(m_locked)) {
            QProcess::execute("chattr", {"-ia", path}); // fails but for root
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        m_locked.clear();
    }

    void savesInPlaceWhenTheFolderTakesNoNewFile()
    {
        QVERIFY(QFile::link(m_file, Path("link.ini")));
        QVERIFY(QFile::setPermissions(m_file, QFile::ReadOwner | QFile::WriteOwner));
        const QFile::Permissions mode = QFile::permissions(m_file);
        WriteFileAtomically(Path("link.ini"), "through the link"); // the target, and its mode
        QVERIFY(QFileInfo(Path("link.ini")).isSymLink());
        QCOMPARE(QFile::permissions(m_file), mode);
        if (!Lock(Path("locked")))
            QSKIP("neither the immutable flag nor a read-only mode keeps new files out here");
        WriteFileBytes(InPlaceCopyPath(Path("link.ini")), "a copy a killed save left");
        QCOMPARE(ErrorOf([&] { WriteFileAtomically(Path("link.ini"), "new"); }), "");
        QCOMPARE(ReadFileBytes(m_file), "new");
        QVERIFY(QFileInfo(Path("link.ini")).isSymLink());
        // The earlier copy is set aside, never overwritten; this save's copy is gone.
        QCOMPARE(QDir(StateFolder()).entryList(QDir::Files), QStringList{"link.ini.before-save.1"});
        QCOMPARE(ReadFileBytes(StateFolder() + "/link.ini.before-save.1"),
                 "a copy a killed save left");
        // A file-size limit fails the save before the first old byte is overwritten.
        QCOMPARE(ErrorOf([&] {
                     const FileSizeLimit limit(100);
                     WriteFileAtomically(m_file, QByteArray(1000, 'x'));
                 }),
                 "Unable to write to " + m_file + ": File too large");
        QCOMPARE(ReadFileBytes(m_file), "new");
    }

    void readOnlyFileIsKept()
    {
        // A read-only mount gives its own reason, and nothing is written in place.
        SetSaveStepHook([](SaveStep step, const QString &) {
            return step == SaveStep::CreateTemporary ? EROFS : 0;
        });
        QCOMPARE(ErrorOf([&] { WriteFileAtomically(m_file, "new"); }),
                 "Unable to write to " + m_file + ": Read-only file system");
        QCOMPARE(ReadFileBytes(m_file), "old");
        SetSaveStepHook({});
        // An append-only file (root only) takes a temporary file beside it, not the rename.
        if (geteuid() == 0 && QProcess::execute("chattr", {"+a", m_file}) == 0) {
            m_locked << m_file;
            QVERIFY(ErrorOf([&] { WriteFileAtomically(m_file, "new"); })
                        .startsWith("Unable to write to " + m_file + ": "));
            QCOMPARE(QDir(Path("locked")).entryList(QDir::Files), QStringList{"prefs.ini"});
        }
        if (!Lock(m_file) || !Lock(Path("locked")))
            QSKIP("neither the immutable flag nor a read-only mode keeps new files out here");
        QCOMPARE(ErrorOf([&] { WriteFileAtomically(m_file, "new"); }),
                 "Unable to write to " + m_file + ": "
                     + (geteuid() == 0 ? "Operation not permitted" : "Permission denied"));
        QCOMPARE(ReadFileBytes(m_file), "old");
    }

    void fullDiskKeepsTheOldFile()
    {
        QCOMPARE(ErrorOf([&] {
                     const FileSizeLimit limit(100);
                     WriteFileAtomically(m_file, QByteArray(1000, 'x'));
                 }),
                 "Unable to write to " + m_file + ": File too large");
        QCOMPARE(ReadFileBytes(m_file), "old");
        WriteFileAtomically(m_file, "1"); // the smallest save, one write of one byte
        QCOMPARE(ReadFileBytes(m_file), "1");
    }

    void failedInPlaceSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<SaveStep>("step");
        QTest::addColumn<QString>("folder"); // where the step fails
        QTest::addColumn<bool>("once");
        QTest::addColumn<QString>("reason"); // "%1": the copy
        const QString state = "state/varnokel";
        QTest::newRow("no space for the copy")
            << SaveStep::CreateTemporary << state << true
            << "No space left on device (while keeping the old file in %1)";
        QTest::newRow("no space to reserve") << SaveStep::Reserve << "locked" << true
                                             << "No space left on device";
        QTest::newRow("write put back") << SaveStep::Write << "locked" << true
                                        << "No space left on device";
        QTest::newRow("flush put back") << SaveStep::Sync << "locked" << true
                                        << "No space left on device";
        QTest::newRow("nothing put back") << SaveStep::Write << "locked" << false
                                          << "No space left on device (the old file is kept in %1)";
    }

    void failedInPlaceSaveKeepsTheOldFile()
    {
        QFETCH(SaveStep, step);
        QFETCH(QString, folder);
        QFETCH(bool, once);
        QFETCH(QString, reason);
        int failures = 0;
        RefuseTemporaries([&](SaveStep s, const QString &path) {
            if (s != step || QFileInfo(path).path() != Path(folder) || (once && failures++ > 0))
                return 0;
            if (s == SaveStep::Write)
                WriteFileBytes(path, "cut"); // a write that failed half-way
            return ENOSPC;
        });
        const QString copy = InPlaceCopyPath(m_file);
        QCOMPARE(ErrorOf([&] { WriteFileAtomically(m_file, QByteArray(1000, 'x')); }),
                 "Unable to write to " + m_file + ": " + reason.replace("%1", copy));
        QCOMPARE(ReadFileBytes(once ? m_file : copy), "old");
        QCOMPARE(QFile::exists(copy), !once);
    }

    void killedInPlaceSaveLeavesAWholeFile_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("shorter") << QByteArray(3000, 'o') << QByteArray(1000, 'n');
        QTest::newRow("longer") << QByteArray(1000, 'o') << QByteArray(3000, 'n');
    }

    void killedInPlaceSaveLeavesAWholeFile()
    {
        // The in-place save truncated first: a kill left an empty or a cut file.
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, contents);
        const QString copy = InPlaceCopyPath(m_file);
        int n = 1;
        for (WriteFileBytes(m_file, old); KilledAt(n, contents); ++n) {
            const QByteArray now = ReadFileBytes(m_file);
            QVERIFY2(now == old || now == contents || ReadFileBytes(copy) == old,
                     qPrintable(QString("killed at step %1").arg(n)));
            WriteFileBytes(m_file, old);
            QVERIFY(QDir(StateFolder()).removeRecursively());
        }
        QVERIFY2(n > 8, "the steps of the copy and of the in-place write");
        QCOMPARE(ReadFileBytes(m_file), contents);
        QCOMPARE(QDir(StateFolder()).entryList(QDir::Files | QDir::Hidden), {});
    }

    void fileSizeLimitFailsTheSave()
    {
        // The limit's signal ended the program, and its unsaved changes with it.
        const pid_t child = fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            IgnoreFileSizeSignal();
            const rlimit limit{100, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
            _exit(TryWriteFileAtomically(m_file, QByteArray(1000, 'x')) == "File too large");
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    }

    void removesOnlyLeftovers()
    {
        // Once every "<name>.XXXXXX" went: "prefs.ini.backup", a user's copy, among them.
        const QStringList ours = {"locked/.prefs.ini.vk-save-AB12cd", "locked/.vk-probe-x1Y2z3",
                                  "target/.page.html.vk-save-000000",
                                  "state/varnokel/.prefs.ini.before-save.vk-save-Zz9yY8"};
        const QStringList theirs = {
            "locked/prefs.ini.backup",         "locked/prefs.ini.abc123",
            "locked/.prefs.ini.vk-save-AB12c", "locked/.prefs.ini.vk-save-AB12cd7",
            "locked/.other.vk-save-AB12cd",    "locked/x.prefs.ini.vk-save-AB12cd",
            "links/.page.html.vk-save-AB12cd", "state/varnokel/prefs.ini.before-save"};
        for (const QString &name : ours + theirs)
            WriteFileBytes(Path(name), "x");
        QVERIFY(QFile::link(Path("target/page.html"), Path("links/page.html")));
        const QString link = Path("locked/.prefs.ini.vk-save-link00"); // never a leftover
        QVERIFY(QFile::link(m_file, link));
        RemoveSaveLeftovers(m_file);
        RemoveSaveLeftovers(Path("links/page.html"));
        for (const QString &name : ours + theirs)
            QVERIFY2(QFile::exists(Path(name)) == theirs.contains(name), qPrintable(name));
        QVERIFY(QFileInfo(link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
