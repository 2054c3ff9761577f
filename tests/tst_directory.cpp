// Folder listings that tell an unreadable folder from an empty one, making folders,
// and names found without regard to letter case.
#include "platform/Directory.h"
#include "tests/RawNames.h"
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

    void keepsTheBytesOfNames()
    {
        // Names that are not UTF-8 were shown with U+FFFD, and nothing could open them.
        const QByteArray dir = QFile::encodeName(m_dir->path());
        const RawTreeRemover remover(dir);
        for (const char *name : {"/Caf\xE9", "/Caf\xC3\xA9", "/\x80", "/z"})
            WriteRawFile(dir + name, {});
        QCOMPARE(::symlink(dir + "/Caf\xE9", dir + "/L\xE9"), 0);
        QStringList entries;
        for (const DirectoryEntry &e : ReadDirectory(m_dir->path()).entries)
            entries << e.name + u' ' + QString::fromLatin1(e.rawName.toPercentEncoding());
        // Alike as shown, the entries come in the order of their bytes.
        QCOMPARE(entries, QStringList({u"Caf\u00E9 Caf%C3%A9"_qs, u"Caf\u00E9 Caf%E9"_qs,
                                       u"L\u00E9 L%E9"_qs, "z z", u"\u20AC %80"_qs}));
        const CaseBlindNames names(ReadDirectoryAt(dir).entries);
        QCOMPARE(names.FindEntry(u"CAF\u00C9"_qs)->rawName, QByteArray("Caf\xC3\xA9"));
        QCOMPARE(names.FindEntry(u"\u20AC"_qs)->rawName, QByteArray("\x80"));
        QVERIFY(!names.FindEntry(QStringLiteral("Caf")));
        const QByteArray real = CanonicalPath(dir);
        QVERIFY(!real.isEmpty());
        QCOMPARE(CanonicalPath(dir + "/L\xE9"), real + "/Caf\xE9");
        QCOMPARE(CanonicalPath(dir + "/./z"), real + "/z");
        QCOMPARE(CanonicalPath(dir + "/missing"), QByteArray());
    }

    void readingNeverRaises()
    {
        WriteFileBytes(Path("file"), {});
        const DirectoryListing missing = ReadDirectory(Path("missing"));
        QVERIFY(missing.entries.empty() && missing.error == ENOENT);
        const DirectoryListing file = ReadDirectory(Path("file"));
        QVERIFY(file.entries.empty() && file.error == ENOTDIR);
        const DirectoryListing listed = ReadDirectory(m_dir->path());
        QVERIFY(listed.entries.size() == 1 && listed.error == 0);
    }

    void namesIgnoreLetterCase_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found");
        const QStringList three{"LINKS", "Links", "links"};
        QTest::newRow("exact") << three << "Links" << "Links";
        QTest::newRow("first by name") << three << "LiNkS" << "LINKS";
        QTest::newRow("non-ASCII") << QStringList{u"Ärger"_qs} << u"äRGER"_qs
                                   << u"Ärger"_qs;
        QTest::newRow("none") << three << "Link" << "";
    }

    void namesIgnoreLetterCase()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, name);
        QFETCH(QString, found);
        for (const QString &entry : entries)
            WriteFileBytes(m_dir->filePath(entry), {});
        QCOMPARE(CaseBlindNames(m_dir->path()).Find(name), found);
        QCOMPARE(FindPathCaseBlind(m_dir->filePath(name)),
                 found.isEmpty() ? QString() : m_dir->filePath(found));
        QCOMPARE(CaseBlindNames(Path("missing")).Find(name), QString());
    }

    void pathsIgnoreTheirLastPartsCase()
    {
        QVERIFY(QFile::link(Path("nowhere"), Path("Broken")));
        // What exists stays as it is, a broken link too; only the last part is sought.
        QCOMPARE(FindPathCaseBlind(Path("Broken")), Path("Broken"));
        QCOMPARE(FindPathCaseBlind(m_dir->path() + "/"), m_dir->path() + "/");
        QCOMPARE(FindPathCaseBlind(Path("missing/x")), QString());
        QCOMPARE(FindPathCaseBlind(Path("BROKEN")), Path("Broken"));
        QCOMPARE(FindPathCaseBlind("/TMP"), QFileInfo::exists("/TMP") ? "/TMP" : "/tmp");
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
