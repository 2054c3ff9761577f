// Whole-file reads of regular files within a bound: every other kind of file, a
// larger one and one that grows past the bound while read are refused, never waited on.
#include "platform/RegularFile.h"
#include "tests/TestSupport.h"
#include "tests/Unprivileged.h"

#include <QLocalServer>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using Outcome = RegularFileContents::Outcome;

class TestRegularFile : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString Path(const QString &name) const { return m_dir->filePath(name); }

    // A file of size bytes that takes no room on disk.
    QString Sparse(qint64 size)
    {
        WriteFileBytes(Path("sparse"), "[S]\nK=v\n");
        QFile file(Path("sparse"));
        if (!file.resize(size))
            qFatal("cannot make a sparse file of %lld bytes", size);
        return file.fileName();
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void outcomes_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("maxSize");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("error");
        const auto row = [](const char *kind, qint64 maxSize, Outcome outcome,
                            const char *error = "") {
            QTest::newRow(kind) << kind << maxSize << int(outcome) << error;
        };
        constexpr qint64 kMiB = 1024 * 1024;
        row("regular", 8, Outcome::Read);
        row("link to regular", 8, Outcome::Read);
        row("at the bound", kMiB, Outcome::Read);
        row("over the bound", kMiB, Outcome::TooLarge, "The file is larger than 1 MiB");
        row("3 GiB", 16 * kMiB, Outcome::TooLarge, "The file is larger than 16 MiB");
        // A /proc file says it is empty and has more: read only to the bound.
        row("grows past the bound", 10, Outcome::TooLarge, "The file is larger than 10 bytes");
        row("missing", 8, Outcome::Missing, "No such file or directory");
        row("in a missing folder", 8, Outcome::Missing, "No such file or directory");
        row("folder", 8, Outcome::NotRegular, "Not a regular file");
        row("FIFO", 8, Outcome::NotRegular, "Not a regular file");
        row("socket", 8, Outcome::NotRegular, "Not a regular file");
        row("device", 8, Outcome::NotRegular, "Not a regular file");
    }

    void outcomes()
    {
        QFETCH(QString, kind);
        QFETCH(qint64, maxSize);
        QFETCH(int, outcome);
        QFETCH(QString, error);
        QLocalServer server;
        QString path = Path(kind);
        WriteFileBytes(Path("regular"), "[S]\nK=v\n");
        if (kind == "link to regular" || kind == "device")
            QVERIFY(QFile::link(kind == "device" ? "/dev/zero" : Path("regular"), path));
        else if (kind == "at the bound" || kind == "over the bound" || kind == "3 GiB")
            path = Sparse(kind == "3 GiB" ? 3 * 1024 * qint64(1024 * 1024)
                                          : maxSize + (kind == "over the bound"));
        else if (kind == "grows past the bound")
            path = "/proc/self/status";
        else if (kind == "in a missing folder")
            path = Path("missing/file");
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "FIFO") // with no writer: an open without O_NONBLOCK waits for one
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "socket")
            QVERIFY(server.listen(path));
        const RegularFileContents read = ReadRegularFile(path, maxSize);
        QCOMPARE(int(read.outcome), outcome);
        QCOMPARE(read.error, error);
        if (read.outcome == Outcome::Read)
            QCOMPARE(read.bytes, ReadFileBytes(path));
        else
            QVERIFY(read.bytes.isEmpty());
        // Opening for reading has no bound, and tells the rest alike.
        QFile file;
        QString openError;
        const Outcome opened = OpenRegularFile(QFile::encodeName(path), file, openError);
        const bool bounded = outcome == int(Outcome::TooLarge);
        QCOMPARE(int(opened), bounded ? int(Outcome::Read) : outcome);
        QCOMPARE(openError, bounded ? QString() : error);
        QCOMPARE(file.isOpen(), opened == Outcome::Read);
        QFile plain(path);
        if (file.isOpen() && plain.open(QIODevice::ReadOnly))
            QCOMPARE(file.read(4), plain.read(4));
    }

    void readsWhatProcSays()
    {
        const RegularFileContents read = ReadRegularFile("/proc/self/status", 1024 * 1024);
        QCOMPARE(int(read.outcome), int(Outcome::Read));
        QVERIFY2(read.bytes.startsWith("Name:"), read.bytes.constData());
    }

    void unreadableFile()
    {
        WriteFileBytes(Path("secret"), "x");
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner
                                                         | QFile::ExeOwner | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(Path("secret"), {}));
        const QString secret = Path("secret");
        const std::optional<QByteArray> result = RunWhereModesCount([&secret] {
            const RegularFileContents read = ReadRegularFile(secret, 8);
            return QByteArray::number(int(read.outcome)) + ' ' + read.error.toUtf8();
        });
        if (!result)
            QSKIP("no child process can run as the user nobody here");
        QCOMPARE(*result, QByteArray::number(int(Outcome::Unreadable)) + " Permission denied");
    }
};

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regularfile.moc"
