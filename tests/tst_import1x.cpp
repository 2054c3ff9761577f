// Import of the 1.x catalogue folder: tree depths by TABs, description pairs,
// five-line bookmark blocks, merging, names in any letter case, and files that
// are not read.
#include "ExchangeTestHelpers.h"
#include "RawNames.h"
#include "Unprivileged.h"
#include "exchange/Import1x.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// A 1.x folder with the two list files and the "Links" file of the folder "F".
QString ImportedFolder(const QString &tree, const QString &pairs, const QString &links = {},
                       const char *fifo = nullptr)
{
    QTemporaryDir dir;
    WriteFileBytes(dir.filePath(QStringLiteral("folders.wnf")), tree.toUtf8());
    WriteFileBytes(dir.filePath(QStringLiteral("folddesc.wnf")), pairs.toUtf8());
    WriteFileBytes(dir.filePath(QStringLiteral("Links/F.wnl")), links.toUtf8());
    if (fifo) {
        const QByteArray name = QFile::encodeName(dir.filePath(QLatin1StringView(fifo)));
        if (!QFile::remove(name) || ::mkfifo(name.constData(), 0600) != 0)
            qFatal("cannot make the FIFO %s", name.constData());
    }
    TCatalog catalog;
    ImportVarnokel1x(catalog, dir.path());
    return CatalogOutline(catalog, {true, true});
}

} // namespace

class TestImport1x : public QObject
{
    Q_OBJECT

private slots:
    void importsTheExampleFolder()
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
        for (int twice = 0; twice < 2; ++twice) {
            ImportVarnokel1x(catalog, QStringLiteral(VK_TEST_DATA "/varnokel1x"));
            QCOMPARE(CatalogOutline(catalog, {true, true}), outline);
        }
    }

    void readingRules_data()
    {
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QString>("pairs");
        QTest::addColumn<QString>("links");
        QTest::addColumn<QString>("outline");
        // A deep first line is a root; lines deeper by two are one level deeper, and
        // one level up from them (K) is a root; TABs count anywhere in a line; equal
        // titles at one place merge.
        QTest::newRow("depths")
            << "\t\tA\n\t\tB\n\t\t\tC\nD\n\tE\n\t\tF\n\tG\nH\n\t\tI\n\t\tJ\n\tK\nL\t\nM\tx\n\n"
               "   \nd\n\te\n\tY" << "" << ""
            << "F0 A | \nF0 B | \nF1 C | \nF0 D | \nF1 E | \nF2 F | \nF1 G | \nF1 Y | \nF0 H | \n"
               "F1 I | \nF1 J | \nF0 K | \nF0 L | \nF0 M\tx | \nF0  | \n";
        QTest::newRow("descriptions: trimmed, ASCII case, later pair wins, odd last line")
            << "A\nB\nC" << "  a\t\nfirst\nC\n c \nA\nx\nB" << ""
            << "F0 A | x\nF0 B | \nF0 C | c\n";
        // Trimmed, less a prefix left unread (a surrogate pair kept whole); control
        // characters dropped; equal titles dropped; a short last block.
        QTest::newRow("bookmark blocks")
            << "F" << ""
            << u"T:One\nU:u1\nV:2001.01.01\u0001\nA:\u00012000.01.01\nD:d1\n  xxTitle  \n"
               u"\t??addr\n\n12\nD:\nT:TITLE\nU:b\n\n\n\nT\U0001F600x\nU:u\n\n\n\nT:Two\nU:u2"_qs
            << "F0 F | \nB1 One | u1 | d1 | 2000.01.01 | 2001.01.01\nB1 Title | addr |  |  | \n"
               "B1 x | u |  |  | \nB1 Two | u2 |  |  | \n";
        // "../Links/F" would name a file outside the folder: no ".wnl" file can have it.
        QTest::newRow("titles naming no file get no bookmarks")
            << "../Links/F\nF" << "" << "T:x\nU:u"
            << "F0 ../Links/F | \nF0 F | \nB1 x | u |  |  | \n";
    }

    void readingRules()
    {
        QFETCH(QString, tree);
        QFETCH(QString, pairs);
        QFETCH(QString, links);
        QFETCH(QString, outline);
        QCOMPARE(ImportedFolder(tree, pairs, links), outline);
    }

    void fileNamesIgnoreLetterCase()
    {
        // Only exact names were found: a 1.x folder with "FOLDERS.WNF" imported
        // nothing, one with "Links/NEWS.WNL" no bookmarks. An exact name comes first.
        QTemporaryDir dir;
        using File = std::pair<const char *, QByteArray>;
        for (const auto &[name, bytes] : std::initializer_list<File>{
                 {"FOLDERS.WNF", "F\nG\nH\n"}, {"FoldDesc.Wnf", "g\ndescribed\n"},
                 {"Links/F.wnl", "T:exact\nU:1"}, {"Links/f.wnl", "T:other case\nU:2"},
                 {"Links/g.WNL", "T:upper\nU:3"}, {"links/H.wnl", "T:other folder\nU:4"}})
            WriteFileBytes(dir.filePath(QLatin1StringView(name)), bytes);
        TCatalog catalog;
        ImportVarnokel1x(catalog, dir.path());
        QCOMPARE(CatalogOutline(catalog),
                 "F0 F | \nB1 exact | 1 | \nF0 G | described\nB1 upper | 3 | \nF0 H | \n");
    }

    void linksFilesNamedInWindows1252()
    {
        // "Links/Caf\xE9.wnl" was looked for under a name with U+FFFD: the folder came
        // without its bookmarks. The tree line may be in either encoding.
        QTemporaryDir dir;
        const QByteArray links = QFile::encodeName(dir.filePath(QStringLiteral("Links")));
        const RawTreeRemover remover(links);
        WriteFileBytes(dir.filePath(QStringLiteral("folders.wnf")), "Caf\xE9\r\nMen\xC3\xBC\r\n");
        WriteFileBytes(dir.filePath(QStringLiteral("folddesc.wnf")), "Caf\xE9\r\nCoffee\r\n");
        MakeRawFolder(links);
        WriteRawFile(links + "/Caf\xE9.wnl", "T:Caf\xE9 Central\r\nU:http://cafe/\r\n");
        WriteRawFile(links + "/MEN\xDC.wnl", "T:Today\r\nU:http://menu/\r\n");
        TCatalog catalog;
        ImportVarnokel1x(catalog, dir.path());
        QCOMPARE(CatalogOutline(catalog),
                 u"F0 Caf\u00E9 | Coffee\nB1 Caf\u00E9 Central | http://cafe/ | \n"
                 u"F0 Men\u00FC | \nB1 Today | http://menu/ | \n"_qs);
    }

    void titleRepeatedManyTimes()
    {
        // Each line read its links file again, also into a folder already filled: a
        // folder file of 40,000 lines of one title took minutes. Read once per folder
        // and file, the result stays the same: the nested "Misc" is another folder and
        // reads the file again; "MISC" merges into "Misc" but names another file.
        constexpr int kLines = 3000;
        constexpr int kBookmarks = 400;
        QTemporaryDir dir;
        QByteArray tree = "Misc\n\tMisc\nMISC\n";
        for (int i = 0; i < kLines; ++i)
            tree += i % 3 == 2 ? "\tMisc\n" : "Misc\n";
        QByteArray misc;
        QString outline;
        for (int i = 0; i < kBookmarks; ++i) {
            misc += QByteArray("T:b%1\nU:u%1\n\n\n\n").replace("%1", QByteArray::number(i));
            outline += QStringLiteral("B%2 b%1 | u%1 | \n").arg(i);
        }
        WriteFileBytes(dir.filePath(QStringLiteral("folders.wnf")), tree);
        WriteFileBytes(dir.filePath(QStringLiteral("folddesc.wnf")), {});
        WriteFileBytes(dir.filePath(QStringLiteral("Links/Misc.wnl")), misc);
        WriteFileBytes(dir.filePath(QStringLiteral("Links/MISC.wnl")),
                       "T:B1\nU:x\n\n\n\nT:c\nU:c");
        TCatalog catalog;
        BuildCatalog(catalog, u"F0 misc | \nB1 b7 | mine | \n"_qs);
        ImportVarnokel1x(catalog, dir.path());
        QString expected = outline.arg(1);
        expected.remove(u"B1 b7 | u7 | \n"_qs);
        QCOMPARE(CatalogOutline(catalog), "F0 misc | \nB1 b7 | mine | \n" + expected
                                              + "B1 c | c | \nF1 Misc | \n" + outline.arg(2));
    }

    void missingOrIrregularFilesAreNotRead()
    {
        // A FIFO in place of a file would block the import for good.
        for (const char *fifo : {"Links/F.wnl", "folddesc.wnf", "folders.wnf"})
            QCOMPARE(ImportedFolder("F", "F\nf", "T:x", fifo), *fifo == 'L' ? "F0 F | f\n" : "");
        TCatalog catalog;
        ImportVarnokel1x(catalog, QStringLiteral("/nonexistent"));
        QCOMPARE(catalog.Folders().Count(), 0);
    }

    void unreadableFilesRaiseAnError()
    {
        // Opened by the bytes of their names now: a file that cannot be read still ends
        // the import with its name as shown, and what was merged before stays. A list
        // file so fails only when the other one is there.
        QTemporaryDir dir;
        const QString path = dir.path();
        const QByteArray links = QFile::encodeName(dir.filePath(QStringLiteral("Links")));
        const RawTreeRemover remover(links);
        WriteFileBytes(path + QStringLiteral("/folders.wnf"), "A\nCaf\xE9\nB\n");
        WriteFileBytes(path + QStringLiteral("/folddesc.wnf"), {});
        MakeRawFolder(links);
        WriteRawFile(links + "/Caf\xE9.wnl", "T:x\nU:u\n");
        QCOMPARE(::chmod(links + "/Caf\xE9.wnl", 0), 0);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner
                                                | QFile::ExeOwner | QFile::ReadOther
                                                | QFile::ExeOther));
        const auto import = [&path] {
            return RunWhereModesCount([&path] {
                TCatalog catalog;
                const QString error = ErrorOf([&] { ImportVarnokel1x(catalog, path); });
                return (error + u'\n' + CatalogOutline(catalog)).toUtf8();
            });
        };
        const std::optional<QByteArray> linksFile = import();
        if (!linksFile)
            QSKIP("no child process can run as the user nobody here");
        QCOMPARE(QString::fromUtf8(*linksFile),
                 u"Cannot open file \"%1/Links/Caf\u00E9.wnl\". Permission denied\n"
                 u"F0 A | \nF0 Caf\u00E9 | \n"_qs.arg(path));
        QVERIFY(QFile::setPermissions(path + QStringLiteral("/folders.wnf"), {}));
        QCOMPARE(QString::fromUtf8(import().value()),
                 "Cannot open file \"" + path + "/folders.wnf\". Permission denied\n");
        QVERIFY(QFile::remove(path + QStringLiteral("/folddesc.wnf")));
        QCOMPARE(import().value(), QByteArray("\n"));
    }

    void deepTreeIsRead()
    {
        // Each line one TAB deeper than the one before, then one line back at the top.
        QString tree;
        for (int i = 0; i < 3000; ++i)
            tree += QString(i, u'\t') + QStringLiteral("level\n");
        const QString outline = ImportedFolder(tree + QStringLiteral("top"), {});
        QCOMPARE(outline.count(u'\n'), 3001);
        QVERIFY(outline.endsWith(u"F2999 level | \nF0 top | \n"_qs));
    }
};

QTEST_GUILESS_MAIN(TestImport1x)
#include "tst_import1x.moc"
