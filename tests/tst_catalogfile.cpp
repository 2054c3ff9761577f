// The catalogue file: layout, reading rules, failures and round trips.
#include "catalogue/Catalog.h"
#include "platform/VarnokelError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestCatalogFile : public QObject
{
    Q_OBJECT

private slots:
    void savesTheExampleByteForByte();
};

void TestCatalogFile::savesTheExampleByteForByte()
{
    const QString example = QStringLiteral(VK_TEST_DATA "/example.xml");
    TCatalog catalog;
    catalog.LoadFromFile(example);
    QCOMPARE(catalog.GetFolderCount(), 2);
    QCOMPARE(catalog.GetBookmarkCount(), 1);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("bookmarks.xml"));
    catalog.SaveToFile(saved);
    QFile a(example), b(saved);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(b.readAll(), a.readAll());
}

QTEST_GUILESS_MAIN(TestCatalogFile)
#include "tst_catalogfile.moc"
