// Import of the 1.x catalogue folder: tree depths by TABs, description pairs,
// five-line bookmark blocks, merging, and files that are not read.
#include "ExchangeTestHelpers.h"
#include "exchange/Import1x.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const OutlineOptions kWithDates{true, true};

QByteArray Lines(const QStringList &lines)
{
    return lines.isEmpty() ? QByteArray() : (lines.join(QStringLiteral("\r\n")) + "\r\n").toUtf8();
}

// A 1.x folder with the two list files and the "Links" file of the folder "F".
void MakeFolder(const QString &dir, const QStringList &tree, const QStringList &descriptions,
                const QStringList &links = {})
{
    WriteBytes(dir + QStringLiteral("/folders.wnf"), Lines(tree));
    WriteBytes(dir + QStringLiteral("/folddesc.wnf"), Lines(descriptions));
    WriteBytes(dir + QStringLiteral("/Links/F.wnl"), Lines(links));
}

QString ImportedOutline(const QString &dir)
{
    TCatalog catalog;
    ImportVarnokel1x(catalog, dir);
    return CatalogOutline(catalog, kWithDates);
}

} // namespace

class TestImport1x : public QObject
{
    Q_OBJECT

private slots:
    void importsTheExampleFolder();
    void readingRules_data();
    void readingRules();
    void missingOrIrregularFilesAreNotRead();
    void deepTreeIsRead();
};

void TestImport1x::importsTheExampleFolder()
{
    // Windows-1252 files with CR LF, as the 1.x version wrote them.
    const QString outline =
        u"F0 News | Daily reading\n"
        u"B1 Example News | http://news.example/ | Front page | 2003.12.24 | 2004.03.01\n"
        u"B1 Weather | http://weather.example/ |  | 2004.01.02 | \nF1 Local | \n"
        u"F2 Caf\u00E9s | Places to eat\n"
        u"B3 Caf\u00E9 Central | http://cafe.example/ | Viennese | 2004.05.01 | 2004.05.06\n"
        u"F1 World | \nF0 Hobbies | Spare time\n"_qs;
    TCatalog catalog;
    ImportVarnokel1x(catalog, QStringLiteral(VK_TEST_DATA "/varnokel1x"));
    QCOMPARE(CatalogOutline(catalog, kWithDates), outline);
    ImportVarnokel1x(catalog, QStringLiteral(VK_TEST_DATA "/varnokel1x"));
    QCOMPARE(CatalogOutline(catalog, kWithDates), outline); // importing twice adds nothing
}

void TestImport1x::readingRules_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<QString>("outline");
    const QStringList none;
    // Depths as written: G is a child of E like F, so H one level up is a root.
    QTest::newRow("siblings, children, back up, deeper by two")
        << QStringList{"A", "\tB", "\t\tC", "\tD", "E", "\t\tF", "\t\tG", "\tH"} << none << none
        << "F0 A | \nF1 B | \nF2 C | \nF1 D | \nF0 E | \nF1 F | \nF1 G | \nF0 H | \n";
    QTest::newRow("deep first line is a root folder; below the top stays at the top")
        << QStringList{"\t\tA", "\t\tB", "\t\t\tC", "D"} << none << none
        << "F0 A | \nF0 B | \nF1 C | \nF0 D | \n";
    QTest::newRow("TABs anywhere count; blank lines; equal titles at one place merge")
        << QStringList{"A", "B\t", "C\tx", "", "   ", "a", "\tb", "\tY"} << none << none
        << "F0 A | \nF1 B | \nF1 C\tx | \nF1 Y | \nF0  | \n";
    QTest::newRow("descriptions: trimmed, ASCII case, later pair wins, odd last line")
        << QStringList{"A", "B", "C"} << QStringList{"  a\t", "first", "C", " c ", "A", "x", "B"}
        << none << "F0 A | x\nF0 B | \nF0 C | c\n";
    // Trimmed, less a prefix left unread (a surrogate pair kept whole); control
    // characters dropped; equal titles dropped; a short last block.
    QTest::newRow("bookmark blocks")
        << QStringList{"F"} << none
        << QStringList{"T:One", "U:u1", "V:2001.01.01\x01", "A:\x01" "2000.01.01", "D:d1",
                       "  xxTitle  ", "\t??addr", "", "12", "D:", "T:TITLE", "U:b", "", "", "",
                       u"T\U0001F600x"_qs, "U:u", "", "", "", "T:Two", "U:u2"}
        << "F0 F | \nB1 One | u1 | d1 | 2000.01.01 | 2001.01.01\nB1 Title | addr |  |  | \n"
           "B1 x | u |  |  | \nB1 Two | u2 |  |  | \n";
    // "../Links/F" would name a file outside the folder: no ".wnl" file can have it.
    QTest::newRow("titles naming no file get no bookmarks")
        << QStringList{"../Links/F", "F"} << none << QStringList{"T:x", "U:u"}
        << "F0 ../Links/F | \nF0 F | \nB1 x | u |  |  | \n";
}

void TestImport1x::readingRules()
{
    QFETCH(QStringList, tree);
    QFETCH(QStringList, pairs);
    QFETCH(QStringList, links);
    QFETCH(QString, outline);
    QTemporaryDir dir;
    MakeFolder(dir.path(), tree, pairs, links);
    QCOMPARE(ImportedOutline(dir.path()), outline);
}

void TestImport1x::missingOrIrregularFilesAreNotRead()
{
    // A FIFO in place of a file would block the import for good.
    for (const char *file : {"Links/F.wnl", "folddesc.wnf", "folders.wnf"}) {
        QTemporaryDir dir;
        MakeFolder(dir.path(), {"F"}, {"F", "f"}, {"T:x"});
        const QString name = dir.filePath(QLatin1StringView(file));
        QVERIFY(QFile::remove(name));
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
        QCOMPARE(ImportedOutline(dir.path()), *file == 'L' ? u"F0 F | f\n"_qs : QString());
    }
    QCOMPARE(ImportedOutline(QStringLiteral("/nowhere")), QString());
}

void TestImport1x::deepTreeIsRead()
{
    // Each line one TAB deeper than the one before, then one line back at the top.
    const int depth = 3000;
    QStringList tree;
    for (int i = 0; i < depth; ++i)
        tree << QString(i, u'\t') + QStringLiteral("level");
    QTemporaryDir dir;
    MakeFolder(dir.path(), tree << QStringLiteral("top"), {});
    TCatalog catalog;
    ImportVarnokel1x(catalog, dir.path());
    QCOMPARE(catalog.GetFolderCount(), depth + 1);
    QCOMPARE(Titles(catalog.Folders()), (QStringList{"level", "top"}));
}

QTEST_GUILESS_MAIN(TestImport1x)
#include "tst_import1x.moc"
