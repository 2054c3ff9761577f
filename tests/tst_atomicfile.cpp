// Whole-file saves: a folder that takes no new file, a read-only file, a full disk,
// and the temporary files a killed save leaves behind.
#include "platform/AtomicFile.h"
#include "tests/FileSizeLimit.h"
#include "tests/TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

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

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_file = Path("locked/prefs.ini");
        WriteFileBytes(m_file, "old");
    }

    void cleanup()
    {
        for (const QString &path : std::as_const(m_locked)) {
            QProcess::execute("chattr", {"-ia", path}); // fails but for root
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        m_locked.clear();
    }

    void savesInPlaceWhenTheFolderTakesNoNewFile()
    {
        QVERIFY(QFile::link(m_file, Path("link.ini")));
        if (!Lock(Path("locked")))
            QSKIP("neither the immutable flag nor a read-only mode keeps new files out here");
        QCOMPARE(ErrorOf([&] { WriteFileAtomically(m_file, "new"); }), "");
        QCOMPARE(ReadFileBytes(m_file), "new");
        // Saved through a link from another folder: the target is written in place.
        QCOMPARE(ErrorOf([&] { WriteFileAtomically(Path("link.ini"), "newer"); }), "");
        QCOMPARE(ReadFileBytes(m_file), "newer");
        QVERIFY(QFileInfo(Path("link.ini")).isSymLink());
    }

    void readOnlyFileIsKept()
    {
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
                 QString("Unable to write to %1: Existing file %1 is not writable").arg(m_file));
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

    void removesOnlyLeftovers()
    {
        for (const char *name : {"prefs.ini.AB12cd", "prefs.ini.000000", "prefs.ini.AB-2cd",
                                 "prefs.ini.AB12c", "prefs.ini.AB12cd7", "prefsXini.AB12cd",
                                 "xprefs.ini.AB12cd"})
            WriteFileBytes(Path("locked/") + name, "x");
        QVERIFY(QFile::link(m_file, m_file + ".link00")); // a link is never a leftover
        RemoveSaveLeftovers(m_file);
        QCOMPARE(QDir(Path("locked")).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"prefs.ini", "prefs.ini.AB-2cd", "prefs.ini.AB12c",
                              "prefs.ini.AB12cd7", "prefs.ini.link00", "prefsXini.AB12cd",
                              "xprefs.ini.AB12cd"}));
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
