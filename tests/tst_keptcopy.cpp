// Copies kept of the user's files: exact, numbered, never through a link, in the
// state folder when the file's folder refuses new files, and failures with reasons.
#include "platform/KeptCopy.h"
#include "tests/FileSizeLimit.h"
#include "tests/LockedFolder.h"
#include "tests/TestSupport.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString kSuffix = QStringLiteral(".damaged");

QByteArray RandomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(99);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

int ModeOf(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777)
                                                                     : -1;
}

} // namespace

class TestKeptCopy : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file; // "folder/bookmarks.xml"

    QString Path(const QString &name) const { return m_dir->filePath(name); }
    QString State() const { return Path("state/varnokel"); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", Path("state").toUtf8());
        m_file = Path("folder/bookmarks.xml");
        WriteFileBytes(m_file, "first");
    }

    // Each copy holds the file as it was then; an earlier copy is never written again.
    void copiesAreExactAndNumbered()
    {
        const QByteArray large = RandomBytes(200 * 1024); // NULs and more than one block
        QCOMPARE(KeepCopy(m_file, kSuffix), m_file + ".damaged");
        WriteFileBytes(m_file, large);
        QCOMPARE(KeepCopy(m_file, kSuffix), m_file + ".damaged.2");
        WriteFileBytes(m_file, "");
        QCOMPARE(KeepCopy(m_file, kSuffix), m_file + ".damaged.3");
        QCOMPARE(ReadFileBytes(m_file + ".damaged"), "first");
        QCOMPARE(ReadFileBytes(m_file + ".damaged.2"), large);
        QCOMPARE(ReadFileBytes(m_file + ".damaged.3"), "");
        QCOMPARE(ModeOf(m_file + ".damaged"), 0600);
    }

    void linkOfTheNameIsNotFollowed()
    {
        WriteFileBytes(Path("theirs"), "theirs");
        QVERIFY(QFile::link(Path("theirs"), m_file + ".damaged"));
        QVERIFY(QFile::link(Path("nowhere"), m_file + ".damaged.2")); // dangling
        QCOMPARE(KeepCopy(m_file, kSuffix), m_file + ".damaged.3");
        QCOMPARE(ReadFileBytes(Path("theirs")), "theirs");
        QVERIFY(!QFile::exists(Path("nowhere")));
        QCOMPARE(ReadFileBytes(m_file + ".damaged.3"), "first");
    }

    void refusedFolderKeepsInTheStateFolder()
    {
        LockedFolder locked(Path("folder"));
        if (!locked.IsLocked())
            QSKIP("neither the immutable flag nor a read-only mode keeps new files out here");
        QCOMPARE(KeepCopy(m_file, kSuffix), State() + "/bookmarks.xml.damaged");
        QCOMPARE(KeepCopy(m_file, kSuffix), State() + "/bookmarks.xml.damaged.2");
        QCOMPARE(ReadFileBytes(State() + "/bookmarks.xml.damaged.2"), "first");
        QCOMPARE(QDir(Path("folder")).entryList(QDir::Files), QStringList("bookmarks.xml"));
        // Made private to the user, its parent too, as the base directory rules ask.
        QCOMPARE(ModeOf(State()), 0700);
        QCOMPARE(ModeOf(Path("state")), 0700);
    }

    void failuresSayWhy_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << "missing"
                                      << "of MISSING: No such file or directory";
        QTest::newRow("a FIFO is no file") << "fifo" << "of FIFO: Invalid argument";
        QTest::newRow("full disk") << "full" << "of FILE as FILE.damaged: File too large";
        QTest::newRow("no state folder")
            << "nostate" << "of FILE as STATE/bookmarks.xml.damaged: Not a directory";
    }
    void failuresSayWhy()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QString file = m_file;
        std::unique_ptr<FileSizeLimit> limit;
        std::unique_ptr<LockedFolder> locked;
        if (kind == "missing") {
            file = Path("folder/missing.xml");
        } else if (kind == "fifo") {
            file = Path("folder/fifo");
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        } else if (kind == "full") {
            WriteFileBytes(m_file, RandomBytes(100 * 1024));
            limit = std::make_unique<FileSizeLimit>(64 * 1024);
        } else {
            WriteFileBytes(Path("state"), "a file where the folder should be");
            locked = std::make_unique<LockedFolder>(Path("folder"));
            if (!locked->IsLocked())
                QSKIP("neither the immutable flag nor a read-only mode keeps new files out here");
        }
        message.replace("MISSING", file).replace("FIFO", file).replace("FILE", m_file);
        message.replace("STATE", State());
        QCOMPARE(ErrorOf([&] { KeepCopy(file, kSuffix); }), "Unable to keep a copy " + message);
        limit.reset();
        locked.reset();
        // A copy that failed half-way is not left to pass for a whole one.
        QCOMPARE(QDir(Path("folder")).entryList(QDir::Files | QDir::System).filter(".damaged"),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(TestKeptCopy)
#include "tst_keptcopy.moc"
