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
        WriteFileBytes(Path("locked/prefs.ini"), "old");
    }

    void cleanup()
    {
        for (const QString &path : std::as_const(m_locked)) {
            if (geteuid() == 0)
                QProcess::execute("chattr", {"-i", path});
            else
                QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner
                                                | QFile::ExeOwner);
        }
        m_locked.clear();
        m_dir.reset();
    }

    void savesInPlaceWhenTheFolderTakesNoNewFile_data()
    {
        QTest::addColumn<QString>("saved"); // the name the save is given
        QTest::newRow("the file") << "locked/prefs.ini";
        QTest::newRow("a link from another folder") << "open/prefs.ini";
    }

    void savesInPlaceWhenTheFolderTakesNoNewFile()
    {
        QFETCH(QString, saved);
        QVERIFY(QDir().mkpath(Path("open")));
        QVERIFY(QFile::link(Path("locked/prefs.ini"), Path("open/prefs.ini")));
        if (!Lock(Path("locked")))
            QSKIP("neither the immutable flag nor a read-only mode keeps new files out here");
        QCOMPARE(ErrorOf([&] { WriteFileAtomically(Path(saved), "new"); }), QString());
        QCOMPARE(ReadFileBytes(Path("locked/prefs.ini")), "new");
        QVERIFY(QFileInfo(Path("open/prefs.ini")).isSymLink());
    }

    void readOnlyFileIsKept()
    {
        const QString file = Path("locked/prefs.ini");
        if (!Lock(file) || !Lock(Path("locked")))
            QSKIP("neither the immutable flag nor a read-only mode keeps new files out here");
        QVERIFY(ErrorOf([&] { WriteFileAtomically(file, "new"); })
                    .startsWith("Unable to write to " + file + ": "));
        QCOMPARE(ReadFileBytes(file), "old");
    }

    void fullDiskKeepsTheOldFile()
    {
        const QString file = Path("locked/prefs.ini");
        {
            FileSizeLimit limit(100);
            QCOMPARE(ErrorOf([&] { WriteFileAtomically(file, QByteArray(1000, 'x')); }),
                     "Unable to write to " + file + ": File too large");
        }
        QCOMPARE(ReadFileBytes(file), "old");
        QCOMPARE(QDir(Path("locked")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"prefs.ini"});
    }

    void removesOnlyLeftovers()
    {
        const QStringList kept = {"prefs.ini",        "prefs.ini.AB12c",  "prefs.ini.AB12cd7",
                                  "prefs.ini.AB-2cd", "prefsXini.AB12cd", "xprefs.ini.AB12cd"};
        for (const QString &name : kept + QStringList{"prefs.ini.AB12cd", "prefs.ini.000000"})
            WriteFileBytes(Path("locked/" + name), "x");
        QVERIFY(QDir().mkpath(Path("locked/prefs.ini.folder")));
        QVERIFY(QFile::link(Path("locked/prefs.ini"), Path("locked/prefs.ini.link00")));
        RemoveSaveLeftovers(Path("locked/prefs.ini"));
        QStringList expected = kept + QStringList{"prefs.ini.folder", "prefs.ini.link00"};
        expected.sort();
        QCOMPARE(QDir(Path("locked")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 expected);
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
