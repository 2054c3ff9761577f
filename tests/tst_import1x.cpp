// Import of the 1.x catalogue folder: tree depths by TABs, description pairs,
// five-line bookmark blocks, merging, and files that cannot be read.
#include "CatalogOutline.h"
#include "ExchangeTestHelpers.h"
#include "exchange/Import1x.h"
#include "platform/VarnokelError.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>


namespace {

const OutlineOptions kWithDates{true, true};

QByteArray Lines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

// A 1.x folder with the two list files and, for each pair, a "Links" file.
void MakeFolder(const QString &dir, const QStringList &tree, const QStringList &descriptions,
                const QList<QPair<QString, QStringList>> &links = {})
{
    WriteBytes(dir + QStringLiteral("/folders.wnf"), Lines(tree));
    WriteBytes(dir + QStringLiteral("/folddesc.wnf"), Lines(descriptions));
    for (const auto &[title, lines] : links)
        WriteBytes(dir + QStringLiteral("/Links/") + title + QStringLiteral(".wnl"), Lines(lines));
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
    void treeDepths_data();
    void treeDepths();
    void descriptions_data();
    void descriptions();
    void bookmarkBlocks_data();
    void bookmarkBlocks();
    void importingTwiceAddsNothing();
    void existingFolderKeepsItsDescription();
    void missingListFileImportsNothing_data();
    void missingListFileImportsNothing();
    void titlesNamingNoFileGetNoBookmarks();
    void unreadableFileIsAnErrorNamingIt();
    void filesThatAreNoRegularFilesAreNotRead();
    void deepTreeIsRead();
};

void TestImport1x::importsTheExampleFolder()
{
    // Windows-1252 files with CR LF, as the 1.x version wrote them.
    QCOMPARE(ImportedOutline(QStringLiteral(VK_TEST_DATA "/varnokel1x")),
             u"F0 News | Daily reading\n"
             u"B1 Example News | http://news.example/ | Front page | 2003.12.24 | 2004.03.01\n"
             u"B1 Weather | http://weather.example/ |  | 2004.01.02 | \n"
             u"F1 Local | \n"
             u"F2 Caf\u00E9s | Places to eat\n"
             u"B3 Caf\u00E9 Central | http://cafe.example/ | Viennese | 2004.05.01 | 2004.05.06\n"
             u"F1 World | \n"
             u"F0 Hobbies | Spare time\n"_qs);
}

void TestImport1x::treeDepths_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("outline");
    QTest::newRow("siblings, children, back up")
        << QStringList{"A", "\tB", "\t\tC", "\tD", "E"}
        << "F0 A | \nF1 B | \nF2 C | \nF1 D | \nF0 E | \n";
    QTest::newRow("two levels deeper is one level")
        << QStringList{"A", "\t\tB", "\t\tC"} << "F0 A | \nF1 B | \nF1 C | \n";
    // B counts as depth 2, so C one level up from it is a sibling of A.
    QTest::newRow("depth counted as written")
        << QStringList{"A", "\t\tB", "\tC"} << "F0 A | \nF1 B | \nF0 C | \n";
    QTest::newRow("first line with TABs is a root folder")
        << QStringList{"\t\tA", "\t\tB"} << "F0 A | \nF0 B | \n";
    QTest::newRow("dropping below the top stays at the top")
        << QStringList{"\t\t\tA", "B"} << "F0 A | \nF0 B | \n";
    QTest::newRow("TABs anywhere in the line count")
        << QStringList{"A", "B\t", "C\tx"} << "F0 A | \nF1 B | \nF1 C\tx | \n";
    QTest::newRow("empty and blank lines")
        << QStringList{"A", "", "   ", "B"} << "F0 A | \nF0  | \nF0 B | \n";
    QTest::newRow("equal titles at one place merge")
        << QStringList{"A", "\tX", "a", "\tx", "\tY"} << "F0 A | \nF1 X | \nF1 Y | \n";
}

void TestImport1x::treeDepths()
{
    QFETCH(QStringList, tree);
    QFETCH(QString, outline);
    QTemporaryDir dir;
    MakeFolder(dir.path(), tree, {});
    QCOMPARE(ImportedOutline(dir.path()), outline);
}

void TestImport1x::descriptions_data()
{
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<QString>("outline");
    QTest::newRow("later pair wins") << QStringList{"A", "first", "B", "b", "A", "second"}
                                     << "F0 A | second\nF0 B | b\nF0 C | \n";
    QTest::newRow("ASCII case ignored") << QStringList{"a", "x", "c", "y"}
                                        << "F0 A | x\nF0 B | \nF0 C | y\n";
    QTest::newRow("trimmed") << QStringList{"  A\t", "  text  "}
                             << "F0 A | text\nF0 B | \nF0 C | \n";
    QTest::newRow("odd last pair") << QStringList{"B", "b", "C"}
                                   << "F0 A | \nF0 B | b\nF0 C | \n";
}

void TestImport1x::descriptions()
{
    QFETCH(QStringList, pairs);
    QFETCH(QString, outline);
    QTemporaryDir dir;
    MakeFolder(dir.path(), {"A", "B", "C"}, pairs);
    QCOMPARE(ImportedOutline(dir.path()), outline);
}

void TestImport1x::bookmarkBlocks_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("outline");
    QTest::newRow("seven lines, two bookmarks")
        << QStringList{"T:One", "U:u1", "V:2001.01.01", "A:2000.01.01", "D:d1", "T:Two", "U:u2"}
        << "F0 F | \nB1 One | u1 | d1 | 2000.01.01 | 2001.01.01\nB1 Two | u2 |  |  | \n";
    QTest::newRow("prefix skipped unread, lines trimmed")
        << QStringList{"  xxTitle  ", "\t??addr", "", "12", "D:"}
        << "F0 F | \nB1 Title | addr |  |  | \n";
    QTest::newRow("prefix of a surrogate pair kept whole")
        << QStringList{u"T\U0001F600x"_qs, "U:u", "", "", ""}
        << "F0 F | \nB1 x | u |  |  | \n";
    QTest::newRow("equal titles dropped")
        << QStringList{"T:One", "U:a", "", "", "", "T:ONE", "U:b", "", "", ""}
        << "F0 F | \nB1 One | a |  |  | \n";
}

void TestImport1x::bookmarkBlocks()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, outline);
    QTemporaryDir dir;
    MakeFolder(dir.path(), {"F"}, {}, {{"F", lines}});
    QCOMPARE(ImportedOutline(dir.path()), outline);
}

void TestImport1x::importingTwiceAddsNothing()
{
    TCatalog catalog;
    const QString dir = QStringLiteral(VK_TEST_DATA "/varnokel1x");
    ImportVarnokel1x(catalog, dir);
    const QString once = CatalogOutline(catalog, kWithDates);
    ImportVarnokel1x(catalog, dir);
    QCOMPARE(CatalogOutline(catalog, kWithDates), once);
}

void TestImport1x::existingFolderKeepsItsDescription()
{
    QTemporaryDir dir;
    MakeFolder(dir.path(), {"work"}, {"Work", "theirs"}, {{"work", {"T:New", "U:n"}}});
    TCatalog catalog;
    auto folder = std::make_unique<TFolder>();
    folder->SetTitle(QStringLiteral("Work"));
    folder->SetDescription(QStringLiteral("mine"));
    catalog.Folders().Add(std::move(folder));
    ImportVarnokel1x(catalog, dir.path());
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 Work | mine\nB1 New | n | \n"));
}

void TestImport1x::missingListFileImportsNothing_data()
{
    QTest::addColumn<QString>("missing");
    QTest::newRow("tree") << "folders.wnf";
    QTest::newRow("descriptions") << "folddesc.wnf";
}

void TestImport1x::missingListFileImportsNothing()
{
    QFETCH(QString, missing);
    QTemporaryDir dir;
    MakeFolder(dir.path(), {"A"}, {"A", "a"});
    QVERIFY(QFile::remove(dir.filePath(missing)));
    QCOMPARE(ImportedOutline(dir.path()), QString());
    QCOMPARE(ImportedOutline(dir.filePath(QStringLiteral("nowhere"))), QString());
}

void TestImport1x::titlesNamingNoFileGetNoBookmarks()
{
    // "../x" would name a file outside the folder: no ".wnl" file can have it.
    QTemporaryDir dir;
    MakeFolder(dir.path(), {"../Secret", "Plain"}, {}, {{"Plain", {"T:p", "U:u"}}});
    WriteBytes(dir.filePath(QStringLiteral("Secret.wnl")), Lines({"T:s", "U:s"}));
    QCOMPARE(ImportedOutline(dir.path()),
             QStringLiteral("F0 ../Secret | \nF0 Plain | \nB1 p | u |  |  | \n"));
}

void TestImport1x::unreadableFileIsAnErrorNamingIt()
{
    // A list file that opens but refuses reads.
    const QString refusing = QStringLiteral("/proc/self/clear_refs");
    if (!QFile::exists(refusing))
        QSKIP("no /proc");
    QTemporaryDir dir;
    MakeFolder(dir.path(), {"A", "B"}, {});
    QDir().mkpath(dir.filePath(QStringLiteral("Links")));
    QVERIFY(QFile::link(refusing, dir.filePath(QStringLiteral("Links/B.wnl"))));
    TCatalog catalog;
    const QString error = ErrorOf([&] { ImportVarnokel1x(catalog, dir.path()); });
    QVERIFY2(error.startsWith(QStringLiteral("Cannot read file \"%1\"")
                                  .arg(dir.filePath(QStringLiteral("Links/B.wnl")))),
             qPrintable(error));
    QCOMPARE(catalog.Folders().Count(), 2); // what was merged before the error stays
}

void TestImport1x::filesThatAreNoRegularFilesAreNotRead()
{
    // A FIFO in place of a file would block the import for good.
    QTemporaryDir dir;
    MakeFolder(dir.path(), {"A"}, {});
    QDir().mkpath(dir.filePath(QStringLiteral("Links")));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("Links/A.wnl")).constData(), 0600), 0);
    QCOMPARE(ImportedOutline(dir.path()), QStringLiteral("F0 A | \n"));
    QFile::remove(dir.filePath(QStringLiteral("folders.wnf")));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("folders.wnf")).constData(), 0600), 0);
    QCOMPARE(ImportedOutline(dir.path()), QString());
}

void TestImport1x::deepTreeIsRead()
{
    // Each line one TAB deeper than the one before, then one line back at the top.
    const int depth = 3000;
    QByteArray tree;
    for (int i = 0; i < depth; ++i)
        tree += QByteArray(i, '\t') + "level\r\n";
    tree += "top\r\n";
    QTemporaryDir dir;
    WriteBytes(dir.filePath(QStringLiteral("folders.wnf")), tree);
    WriteBytes(dir.filePath(QStringLiteral("folddesc.wnf")), QByteArray());
    TCatalog catalog;
    ImportVarnokel1x(catalog, dir.path());
    QCOMPARE(catalog.GetFolderCount(), depth + 1);
    QCOMPARE(catalog.Folders().Count(), 2);
    QCOMPARE(catalog.Folders().At(1)->Title(), QStringLiteral("top"));
}

QTEST_GUILESS_MAIN(TestImport1x)
#include "tst_import1x.moc"
