// Folder listings that tell an unreadable folder from an empty one, and making folders.
#include "platform/Directory.h"
#include "tests/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestDirectory : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString Path(const char *name) const { return m_dir->filePath(name); }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void listsEveryEntrySorted()
    {
        MakeDirectory(Path("b-folder"));
        WriteFileBytes(Path("a-file"), {});
        WriteFileBytes(Path(".hidden"), {});
        QVERIFY(QFile::link(Path("b-folder"), Path("c-link")));
        QVERIFY(QFile::link(Path("nowhere"), Path("d-broken")));
        QStringList entries;
        for (const DirectoryEntry &e : ListDirectory(m_dir->path()))
            entries << e.name + (e.isDir ? " dir" : "") + (e.isLink ? " link" : "");
        QCOMPARE(entries, QStringList({".hidden", "a-file", "b-folder dir", "c-link dir link",
                                       "d-broken link"}));
        QVERIFY(ListDirectory(Path("b-folder")).empty());
    }

    void failuresNameTheFolderAndTheReason()
    {
        WriteFileBytes(Path("file"), {});
        QCOMPARE(ErrorOf([&] { ListDirectory(Path("missing")); }),
                 "Cannot read folder \"" + Path("missing") + "\". No such file or directory");
        QCOMPARE(ErrorOf([&] { MakeDirectory(Path("file")); }),
                 "Cannot create folder \"" + Path("file") + "\". File exists");
    }
};

QTEST_GUILESS_MAIN(TestDirectory)
#include "tst_directory.moc"
