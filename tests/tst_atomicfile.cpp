// Whole-file saves: a folder that takes no new file or refuses the rename, a
// read-only file, a file that is no regular file, a full disk, a size limit, a kill
// at any step of an in-place save or of its repair, and the temporary files a killed
// save leaves behind.
#include "platform/AtomicFile.h"
#include "platform/InPlaceSave.h"
#include "platform/UserFolders.h"
#include "tests/FileSizeLimit.h"
#include "tests/TestSupport.h"
#include "tests/Unprivileged.h"

#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char *OutcomeName(SaveRepair::Outcome outcome)
{
    switch (outcome) {
    case SaveRepair::Outcome::None: return "None";
    case SaveRepair::Outcome::Ended: return "Ended";
    case SaveRepair::Outcome::Restored: return "Restored";
    }
    return "?";
}

} // namespace

Q_DECLARE_METATYPE(SaveStep)

class TestAtomicFile : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file; // "prefs.ini" in the folder "locked", holding "old"
    qsizetype m_cut = -1; // the bytes a killed write leaves written; -1: half
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

    // Runs work in a child process with temporaries refused, which its n-th step
    // ends as a kill would, a write to the file cut at m_cut; false when work got
    // through.
    bool KilledAt(int n, const QByteArray &contents, const std::function<void()> &work)
    {
        const pid_t child = fork();
        if (child == 0) {
            RefuseTemporaries([&, steps = 0](SaveStep step, const QString &path) mutable {
                if (++steps == n && step == SaveStep::Write && path == m_file)
                    TearFile(m_file, contents.left(m_cut < 0 ? contents.size() / 2 : m_cut));
                if (steps == n)
                    ::raise(SIGKILL);
                return 0;
            });
            work();
            _exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status);
    }
    bool KilledAt(int n, const QByteArray &contents)
    {
        return KilledAt(n, contents, [&] { TryWriteFileAtomically(m_file, contents); });
    }

    // The file left by an in-place save killed in its write: it begins with the new
    // contents and goes on with the old ones; the copy and the record are there.
    QByteArray TornSave(const QByteArray &old, const QByteArray &contents)
    {
        WriteFileBytes(m_file, old);
        for (int n = 1; KilledAt(n, contents); ++n) {
            const QByteArray left = ReadFileBytes(m_file);
            if (left != old && left != contents)
                return left;
        }
        return "<never torn>";
    }

    // The files of the state folder but the copy and its record.
    QStringList StateLeftovers() const
    {
        QStringList names = QDir(StateFolder()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QFileInfo(m_file).fileName() + ".before-save");
        names.removeAll(QFileInfo(m_file).fileName() + ".before-save.record");
        return names;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", QFile::encodeName(Path("state")));
        m_file = Path("locked/prefs.ini");
        m_cut = -1;
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
        // A file-size limit fails the save before the first old byte is overwritten
        // (the limit leaves room for the record of the save).
        QCOMPARE(ErrorOf([&] {
                     const FileSizeLimit limit(500);
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

    void noReservationStillSavesInPlace_data()
    {
        QTest::addColumn<int>("error"); // what the reservation fails with
        QTest::newRow("not supported") << int(EOPNOTSUPP);
        QTest::newRow("invalid") << int(EINVAL);
    }
    // A file system that cannot reserve space is written all the same, the copy
    // keeping the old file meanwhile.
    void noReservationStillSavesInPlace()
    {
        QFETCH(int, error);
        RefuseTemporaries([&](SaveStep step, const QString &) {
            return step == SaveStep::Reserve ? error : 0;
        });
        QCOMPARE(TryWriteFileAtomically(m_file, "new contents"), "");
        QCOMPARE(ReadFileBytes(m_file), "new contents");
        QCOMPARE(QDir(StateFolder()).entryList(QDir::Files | QDir::Hidden), {});
    }

    void killedInPlaceSaveLeavesAWholeFile_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<qsizetype>("cut"); // where the write stops; -1: half
        const qsizetype page = 4096;
        QTest::newRow("shorter") << QByteArray(3000, 'o') << QByteArray(1000, 'n') << qsizetype(-1);
        QTest::newRow("longer") << QByteArray(1000, 'o') << QByteArray(3000, 'n') << qsizetype(-1);
        // The system writes whole pages: a kill leaves the new file up to one of them.
        QTest::newRow("shorter, at a page")
            << QByteArray(3 * page, 'o') << QByteArray(page + 100, 'n') << page;
        QTest::newRow("longer, at the last page")
            << QByteArray(page + 100, 'o') << QByteArray(3 * page + 100, 'n') << 3 * page;
        QTest::newRow("longer, at the old end") << QByteArray(page, 'o')
                                                << QByteArray(2 * page, 'n') << page;
    }

    void killedInPlaceSaveLeavesAWholeFile()
    {
        // A kill in the write left a file that began new and went on old, and the
        // next start took it for the catalogue; the copy beside it was never looked at.
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, contents);
        QFETCH(qsizetype, cut);
        m_cut = cut;
        int n = 1;
        int torn = 0;
        for (WriteFileBytes(m_file, old); KilledAt(n, contents); ++n) {
            const QString at = QString("killed at step %1").arg(n);
            const QByteArray left = ReadFileBytes(m_file);
            RemoveSaveLeftovers(m_file);
            const SaveRepair repair = RepairInterruptedSave(m_file);
            QVERIFY2(ReadFileBytes(m_file) == (left == contents ? contents : old), qPrintable(at));
            const bool wasTorn = left != old && left != contents;
            torn += wasTorn;
            QVERIFY2((repair.outcome == SaveRepair::Outcome::Restored) == wasTorn, qPrintable(at));
            if (wasTorn)
                QCOMPARE(ReadFileBytes(repair.keptAs), left);
            QCOMPARE(QDir(StateFolder()).entryList(QDir::Files | QDir::Hidden), {});
            if (wasTorn)
                QVERIFY(QFile::remove(repair.keptAs));
            WriteFileBytes(m_file, old);
        }
        QVERIFY2(n > 8, "the steps of the copy and of the in-place write");
        QVERIFY(torn > 0);
        QCOMPARE(ReadFileBytes(m_file), contents);
        QCOMPARE(QDir(StateFolder()).entryList(QDir::Files | QDir::Hidden), {});
    }

    void killedRepairIsRepairedNextTime()
    {
        const QByteArray old(3000, 'o'), contents(1000, 'n');
        int n = 1;
        for (;; ++n) {
            const QByteArray torn = TornSave(old, contents);
            QCOMPARE(torn.size(), old.size());
            if (!KilledAt(n, old, [&] { RepairInterruptedSave(m_file); }))
                break;
            RemoveSaveLeftovers(m_file);
            RepairInterruptedSave(m_file);
            QCOMPARE(ReadFileBytes(m_file), old);
            QCOMPARE(QDir(StateFolder()).entryList(QDir::Files | QDir::Hidden), {});
            QCOMPARE(ReadFileBytes(m_file + ".damaged"), torn);
            for (const QString &kept : QDir(Path("locked")).entryList({"prefs.ini.damaged*"}))
                QVERIFY(QFile::remove(Path("locked/" + kept)));
        }
        QVERIFY2(n > 5, "the steps of putting the old file back");
        QCOMPARE(ReadFileBytes(m_file), old);
    }

    void repairOfWhatASaveLeft_data()
    {
        QTest::addColumn<QString>("left");    // what the state folder holds
        QTest::addColumn<bool>("beforeSave"); // the check before a save
        QTest::addColumn<QString>("after");   // outcome, file, copy, kept file, copy set aside
        QTest::newRow("copy without record") << "copy" << false << "Restored old - file -";
        QTest::newRow("copy without record, old file") << "copy of file" << false
                                                       << "Ended file - - -";
        QTest::newRow("copy without record, at a save") << "copy" << true << "None file old - -";
        QTest::newRow("another file's save") << "other" << false << "None file old - -";
        QTest::newRow("file gone") << "copy, no file" << false << "Ended - - - old";
        QTest::newRow("torn save") << "torn" << false << "Restored old - file -";
        // The save then replaces the old file: once with an empty catalogue after a failed load.
        QTest::newRow("torn save, at a save") << "torn" << true << "Restored old - file old";
    }

    void repairOfWhatASaveLeft()
    {
        QFETCH(QString, left);
        QFETCH(bool, beforeSave);
        const QString copy = InPlaceCopyPath(m_file);
        WriteFileBytes(m_file, "file");
        if (left.startsWith("copy"))
            WriteFileBytes(copy, left == "copy of file" ? "file" : "old");
        if (left == "copy, no file")
            QVERIFY(QFile::remove(m_file));
        if (left == "torn")
            QVERIFY(TornSave("old", "new contents").startsWith("new "));
        if (left == "other") { // the same name in another folder, its write failing
            const QString other = Path("other/prefs.ini");
            WriteFileBytes(other, "old");
            SetSaveStepHook([&](SaveStep step, const QString &path) {
                if (step == SaveStep::CreateTemporary && QFileInfo(path).path() == Path("other"))
                    return EACCES;
                return step == SaveStep::Write && path == other ? ENOSPC : 0;
            });
            QVERIFY(!TryWriteFileAtomically(other, "new").isEmpty());
            SetSaveStepHook({});
        }
        const QByteArray before = ReadFileBytes(m_file);
        const SaveRepair repair = RepairInterruptedSave(m_file, beforeSave);
        const auto shown = [&](const QString &path) {
            const QByteArray bytes = ReadFileBytes(path);
            return bytes == "<missing>" ? "-"
                : bytes == "old"        ? "old"
                : bytes == before       ? "file"
                                        : "?";
        };
        const char *kept = repair.keptAs.isEmpty() ? "-" : shown(repair.keptAs);
        QTEST(QStringList({OutcomeName(repair.outcome), shown(m_file), shown(copy), kept,
                           shown(copy + ".1")})
                  .join(' '),
              "after");
        QCOMPARE(RepairMessage(m_file, repair).isEmpty(),
                 repair.outcome != SaveRepair::Outcome::Restored);
        const QStringList aside = {"prefs.ini.before-save.1"};
        QCOMPARE(StateLeftovers(), QFile::exists(copy + ".1") ? aside : QStringList());
        // A copy set aside is the user's, no save's: its record went with it.
        QVERIFY(QFile::exists(copy) || !QFile::exists(SaveRecordPath(copy)));
    }

    void stickyFolderSavesInPlace()
    {
        // A sticky folder refused to rename over another user's file, and the save
        // failed with "Operation not permitted" although the file was writable.
        if (geteuid() != 0)
            QSKIP("only root can give the file to another user");
        const QString folder = Path("sticky"), file = Path("sticky/prefs.ini");
        WriteFileBytes(file, "root's old file");
        QVERIFY(QDir().mkpath(Path("open")));
        for (const auto &[path, mode] : {std::pair{m_dir->path(), 0755}, {folder, 01777},
                                         {file, 0666}, {Path("open"), 0777}})
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        const std::optional<QByteArray> result = RunWhereModesCount([&] {
            qputenv("XDG_STATE_HOME", QFile::encodeName(Path("open")));
            const QString reason = TryWriteFileAtomically(file, "new");
            return (reason + '|' + QDir(folder).entryList(QDir::Files | QDir::Hidden).join(' ')
                    + '|' + QDir(StateFolder()).entryList(QDir::Files | QDir::Hidden).join(' '))
                .toUtf8();
        });
        if (!result)
            QSKIP("no user nobody to run as");
        QCOMPARE(*result, "|prefs.ini|");
        QCOMPARE(ReadFileBytes(file), "new");
        QCOMPARE(QFileInfo(file).ownerId(), 0u);
    }

    void onlyARegularFileIsReplaced_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to a device") << "device";
        QTest::newRow("link to a FIFO") << "FIFO";
        QTest::newRow("link to a socket") << "socket";
        QTest::newRow("a FIFO") << "FIFO itself";
    }

    void onlyARegularFileIsReplaced()
    {
        // A link to /dev/null was replaced by a regular file: run as root, the system's.
        QFETCH(QString, kind);
        QString node = Path("node");
        QLocalServer server;
        if (kind == "device" && geteuid() == 0) { // a node of our own, never the system's
            if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
                QSKIP("no device node can be made here");
        } else if (kind == "device") {
            node = "/dev/null"; // this user cannot replace it, whatever the save does
        } else if (kind == "socket") {
            QVERIFY(server.listen(node));
        } else {
            QCOMPARE(::mkfifo(QFile::encodeName(node).constData(), 0600), 0);
        }
        struct stat was;
        QCOMPARE(::stat(QFile::encodeName(node).constData(), &was), 0);
        const QString file = kind == "FIFO itself" ? node : Path("locked/link.ini");
        if (file != node)
            QVERIFY(QFile::link(node, file));
        QCOMPARE(ErrorOf([&] { WriteFileAtomically(file, "new"); }),
                 "Unable to write to " + file + ": Not a regular file");
        struct stat now;
        QCOMPARE(::stat(QFile::encodeName(node).constData(), &now), 0);
        QCOMPARE(now.st_ino, was.st_ino);
        QCOMPARE(now.st_mode, was.st_mode);
        QVERIFY(file == node || QFileInfo(file).isSymLink());
        QCOMPARE(QDir(Path("locked")).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
                 file == node ? 1 : 2);
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
