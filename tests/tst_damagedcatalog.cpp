// A catalogue file that fails to load, in any way: nothing of it stays in the
// catalogue for a save to write over the whole, its bytes are kept, and no save
// replaces it before that copy exists.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFile.h"
#include "catalogue/CatalogFileReaders.h"
#include "tests/CatalogOutline.h"
#include "tests/CatalogTree.h"
#include "tests/FailingAllocation.h"
#include "tests/FileSizeLimit.h"
#include "tests/TestSupport.h"
#include "tests/Unprivileged.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

class TestDamagedCatalog : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;

    QString Path(const QString &name) const { return m_dir->filePath(name); }
    QStringList Copies() const
    {
        return QDir(m_dir->path()).entryList({QStringLiteral("*.damaged*")}, QDir::Files);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", Path("state").toUtf8());
        m_file = Path("bookmarks.xml");
    }

    void failedAllocationLeavesTheCatalogueAsItWas_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("streamed"); // read by the streaming reader, else by the document's
        QTest::addColumn<bool>("badAlloc"); // else another exception
        QTest::addColumn<QString>("reason");
        const QByteArray example = ReadFileBytes(QStringLiteral(VK_TEST_DATA "/example.xml"));
        const QByteArray commented = QByteArray(example).replace("<folder>", "<!--c--><folder>");
        const QString noMemory = QStringLiteral("Out of memory");
        QTest::newRow("streamed, no memory") << example << true << true << noMemory;
        QTest::newRow("parsed, no memory") << commented << false << true << noMemory;
        QTest::newRow("streamed, another exception")
            << example << true << false
            << QStringLiteral("cannot create std::vector larger than max_size()");
    }
    // Every allocation of the load in turn fails. Once "Out of memory" named no file,
    // the part read stayed, and the next save wrote it over the whole.
    void failedAllocationLeavesTheCatalogueAsItWas()
    {
        QFETCH(QByteArray, input);
        QFETCH(bool, badAlloc);
        QFETCH(QString, reason);
        WriteFileBytes(m_file, input);
        TCatalog probe;
        QTEST(ReadCatalogStream(m_file, probe.Folders()), "streamed");
        long long allocations = 0;
        {
            TCatalog whole;
            AllocationFailure counted(0);
            LoadCatalogFile(whole, m_file);
            allocations = counted.Count();
            QCOMPARE(whole.GetFolderCount() + whole.GetBookmarkCount(), 3);
        }
        QVERIFY(allocations > 3);
        const QString expected =
            QStringLiteral("Unable to load %1: %2\nThe file was kept as %1.damaged.")
                .arg(m_file, reason);
        for (long long n = 1; n <= allocations; ++n) {
            TCatalog catalog;
            AddFolder(AddFolder(catalog.Folders(), "kept")->Folders(), "inside");
            const QString before = CatalogOutline(catalog, kWholeOutline);
            QString error;
            bool failed = false;
            {
                AllocationFailure failure(n, 0, badAlloc);
                error = ErrorOf([&] { LoadCatalogFile(catalog, m_file); });
                failed = failure.Failed();
            }
            const QByteArray at = "allocation " + QByteArray::number(n);
            QVERIFY2(failed, at);
            QVERIFY2(error == expected, at + ": " + error.toUtf8());
            QVERIFY2(CatalogOutline(catalog, kWholeOutline) == before, at);
            QVERIFY2(ReadFileBytes(m_file + ".damaged") == input, at);
            QVERIFY(QFile::remove(m_file + ".damaged"));
        }
        QCOMPARE(ReadFileBytes(m_file), input);
    }

    void uncopiedFileIsNeverReplaced_data()
    {
        QTest::addColumn<bool>("full"); // the disk is full, else the file cannot be read
        QTest::addColumn<QString>("failure");
        const QString unable = QStringLiteral("Unable to keep a copy of DIR/bookmarks.xml");
        QTest::newRow("full disk")
            << true << unable + " as DIR/bookmarks.xml.damaged: File too large";
        QTest::newRow("unreadable file") << false << unable + ": Permission denied";
    }
    // Once, after the user had freed space, the next save replaced the damaged file
    // with an empty catalogue, and its content existed nowhere.
    void uncopiedFileIsNeverReplaced()
    {
        QFETCH(bool, full);
        QFETCH(QString, failure);
        QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7777)));
        const QByteArray input = "<varnokel_file><folder><title>old</title><description>"
                                 + QByteArray(3000, 'd') + "</description>";
        const auto report = RunWhereModesCount([&] {
            WriteFileBytes(m_file, input);
            TCatalog catalog;
            QStringList lines;
            {
                std::optional<FileSizeLimit> limit;
                if (full)
                    limit.emplace(input.size() / 2); // room for the new catalogue only
                else
                    QFile::setPermissions(m_file, QFile::WriteOwner);
                lines << ErrorOf([&] { LoadCatalogFile(catalog, m_file); }).section('\n', -1);
                AddFolder(catalog.Folders(), "new");
                lines << ErrorOf([&] { SaveCatalogFile(catalog, m_file); });
            }
            QFile::setPermissions(m_file, QFile::ReadOwner | QFile::WriteOwner);
            lines << (ReadFileBytes(m_file) == input ? "as it was" : "replaced")
                  << Copies().join(u' ');
            lines << ErrorOf([&] { SaveCatalogFile(catalog, m_file); }) // the copy first
                  << ErrorOf([&] { SaveCatalogFile(catalog, m_file); }) // and only once
                  << Copies().join(u' ')
                  << (ReadFileBytes(m_file + ".damaged") == input ? "exact" : "differs")
                  << (ReadFileBytes(m_file).contains("<title>new</title>") ? "saved" : "-");
            return lines.join(u'\n').toUtf8();
        });
        if (!report)
            QSKIP("a child of root cannot become another user here");
        QCOMPARE(QString::fromUtf8(*report).replace(m_dir->path(), "DIR"),
                 QStringList({failure + '.',
                              failure + "\nThe file failed to load and is not replaced until "
                                        "a copy of it is kept",
                              "as it was", "", "", "", "bookmarks.xml.damaged", "exact", "saved"})
                     .join(u'\n'));
    }
};

QTEST_GUILESS_MAIN(TestDamagedCatalog)
#include "tst_damagedcatalog.moc"
