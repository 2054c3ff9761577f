// Folder listings that tell an unreadable folder from an empty one, and making folders.
#include "platform/Directory.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestDirectory : public QObject
{
    Q_OBJECT

private slots:
    void listsEveryEntrySorted();
    void missingFolderIsAnErrorWithTheReason();
    void makesOneLevel();
};

void TestDirectory::listsEveryEntrySorted()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("b-folder")));
    QFile(dir.filePath(QStringLiteral("a-file"))).open(QIODevice::WriteOnly);
    QFile(dir.filePath(QStringLiteral(".hidden"))).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("b-folder")), dir.filePath("c-link")));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), dir.filePath("d-broken")));
    const std::vector<DirectoryEntry> entries = ListDirectory(dir.path());
    QStringList names;
    QString kinds;
    for (const DirectoryEntry &e : entries) {
        names << e.name;
        kinds += QLatin1Char(e.isDir ? 'D' : 'F');
        kinds += QLatin1Char(e.isLink ? 'L' : '-');
        kinds += u' ';
    }
    QCOMPARE(names, (QStringList{".hidden", "a-file", "b-folder", "c-link", "d-broken"}));
    QCOMPARE(kinds, QStringLiteral("F- F- D- DL FL "));
    QVERIFY(ListDirectory(dir.filePath(QStringLiteral("b-folder"))).empty());
}

void TestDirectory::missingFolderIsAnErrorWithTheReason()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing"));
    QVERIFY_THROWS_EXCEPTION(VarnokelError, ListDirectory(missing));
    try {
        ListDirectory(missing);
    } catch (const VarnokelError &e) {
        const QString expected = QStringLiteral("Cannot read folder \"%1\". %2")
                                     .arg(missing, QStringLiteral("No such file or directory"));
        QCOMPARE(e.Message(), expected);
    }
}

void TestDirectory::makesOneLevel()
{
    QTemporaryDir dir;
    const QString one = dir.filePath(QStringLiteral("one"));
    MakeDirectory(one);
    QVERIFY(QFileInfo(one).isDir());
    try {
        MakeDirectory(one);
        QFAIL("no error");
    } catch (const VarnokelError &e) {
        QCOMPARE(e.Message(), QStringLiteral("Cannot create folder \"%1\". File exists").arg(one));
    }
    QVERIFY_THROWS_EXCEPTION(VarnokelError, MakeDirectory(dir.filePath(QStringLiteral("a/b"))));
}

QTEST_GUILESS_MAIN(TestDirectory)
#include "tst_directory.moc"
