// Opera hotlists: the block searches, the writer's layout, line breaks as 0x02
// characters, and round trips that give every description back.
#include "ExchangeTestHelpers.h"
#include "exchange/Opera.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Exports the catalogue to the file and imports it back.
QString ExportedOutline(const TCatalog &catalog, const QString &fileName)
{
    ExportOpera(catalog, fileName);
    TCatalog back;
    ImportOpera(back, fileName);
    return CatalogOutline(back);
}

} // namespace

class TestOpera : public QObject
{
    Q_OBJECT

private slots:
    void importsAnOperaHotlist()
    {
        // A bookmark without "URL=" once took the next one's address, and a folder
        // without "NAME=" swallowed the lines up to the next one's name, so later
        // entries landed too deep; a bookmark before the first folder was dropped,
        // and bookmarks' descriptions were not read.
        const QString outline =
            u"F0 opera6 | \nB1 Loose at the top | http://top.example/ | \nF0 Opera | \n"
            u"B1 Opera Software | http://www.opera.example/ | The maker\nof the browser\n"
            u"B1   Spaced title | http://spaced.example/ | \nB1 No address yet |  | \nF1  | \n"
            u"F1 Caf\u00E9 & Co | Coffee\nand more\n"
            u"B2 \u65E5\u672C\u8A9E \U0001F600 | http://jp.example/ | \nF0 Trash | \n"
            u"B1 Old page | http://old.example/ | \n"_qs;
        TCatalog catalog;
        ImportOpera(catalog, QStringLiteral(VK_TEST_DATA "/opera6.adr"));
        QCOMPARE(CatalogOutline(catalog), outline);
        QTemporaryDir dir;
        ImportOpera(catalog, dir.filePath(QStringLiteral("missing.adr")));
        ImportOpera(catalog, dir.path());
        QCOMPARE(ExportedOutline(catalog, dir.filePath(QStringLiteral("out.adr"))), outline);
    }

    void readingRules_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("outline");
        QTest::newRow("indented keys, blanks after the equals sign, lower case not read")
            << QByteArray("#folder\nNAME=X\n#FOLDER\nname=no\n\tNAME=  F  \n#URL\nname=x\n"
                          "\t\tNAME=  b\nurl=no\n\t URL=  u\n")
            << "F0 F | \nB1   b |   u\n";
        QTest::newRow("a block ends at the next block or folder end")
            << QByteArray("#FOLDER\nNAME=F\n#URL\nNAME=first\n#URL\n-\n#FOLDER\nNAME=x\n"
                          "URL=second\n#URL\nNAME=later\nURL=u\n#FOLDER\n\tID=2\n\t-\n #FOLDER\n"
                          "ID=1\nNAME=B\n#URL\nNAME=b\n#FOLDER\nID=2")
            << "F0 F | \nB1 first | \nB1  | \nF0 x | \nB1 later | u\nF1  | \nF1 B | \nB2 b | \n"
               "F2  | \n";
        QTest::newRow("keys in any order, the first counts, other blocks ignored")
            << QByteArray("#FOLDER\nNAME=F\nDELETABLE=NO\nDESCRIPTION=one\x02\x02two\n"
                          "DESCRIPTION=2\n#SEPERATOR\nNAME=s\n#URL\nURL=u\nSHORT NAME=s\nNAME=b\n"
                          "NAME=c\nURL=v\nDESCRIPTION=for b\n#NOTE\nNAME=n\n#FOLDER\nNAME=G\n"
                          "#URL\nNAME=b\nURL=u\nDESCRIPTION=not for G\n")
            << "F0 F | one\ntwo\nB1 b | u\nF1 G | \nB2 b | u\n";
        QTest::newRow("nesting; outside every folder: a root folder named after the file")
            << QByteArray("-\n#URL\nNAME=loose\nURL=l\n#FOLDER\nNAME=A\n#FOLDER\nNAME=B\n-\n"
                          "#FOLDER\nNAME=C\n -\t\n-\n-\n#URL\nNAME=after\nURL=a\n#FOLDER\n"
                          "NAME=OPERA6\n#URL\nNAME=in\nURL=i\n")
            << "F0 opera6 | \nB1 loose | l\nB1 after | a\nB1 in | i\nF0 A | \nF1 B | \nF1 C | \n";
        QTest::newRow("Windows-1252, four-byte UTF-8, byte-order mark after the equals sign")
            << QByteArray("#FOLDER\nNAME=Caf\xE9\n#URL\nNAME=\xF0\x9F\x98\x80\nURL=u\n#FOLDER\n"
                          "NAME=\xEF\xBB\xBF" "F\n#URL\nNAME=\xEF\xBB\xBF\nURL=u\n")
            << u"F0 Caf\u00E9 | \nB1 \U0001F600 | u\nF1 \uFEFFF | \nB2 \uFEFF | u\n"_qs;
        // A folder found again keeps its description.
        QTest::newRow("equal titles merged, control characters dropped")
            << QByteArray("#FOLDER\nNAME=F\nDESCRIPTION=one\n#URL\nNAME=b\nURL=1\n-\n#FOLDER\n"
                          "NAME=f\x01\nDESCRIPTION=two\n#URL\nNAME=B\nURL=2\n#URL\nNAME=c\x1F\n"
                          "URL=3\n")
            << "F0 F | one\nB1 b | 1\nB1 c | 3\n";
    }

    void readingRules()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, outline);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("opera6.adr"));
        WriteFileBytes(name, file);
        TCatalog catalog;
        ImportOpera(catalog, name);
        QCOMPARE(CatalogOutline(catalog, {false}), outline);
    }

    void writesTheLayout()
    {
        // Line breaks written as they stand would make the line "-" close the folder
        // on reading back.
        TCatalog catalog;
        BuildCatalog(catalog, kSmallCatalog + u"B1 b | u | a\r\n-\nF1 Inner | one\r\n-\n#FOLDER\r"
                                              u"NAME=x\n"_qs);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("out.adr"));
        QCOMPARE(ExportedOutline(catalog, name),
                 kSmallCatalog + u"B1 b | u | a\r\n-\nF1 Inner | one\r\n-\n#FOLDER\nNAME=x\n"_qs);
        QCOMPARE(ReadBytes(name),
                 QByteArray("Opera Hotlist version 2.0\r\nOptions: encoding = utf8, version=3\r\n"
                            "#FOLDER\r\nNAME=A\r\nDESCRIPTION=About A\r\n#URL\r\n"
                            "NAME=Caf\xC3\xA9\r\nURL=http://c/\r\nDESCRIPTION=Coffee\r\n#URL\r\n"
                            "NAME=Plain\r\nURL=http://p/\r\n#FOLDER\r\nNAME=B\r\n#URL\r\n"
                            "NAME=Deep\r\nURL=http://d/\r\n-\r\n-\r\n#FOLDER\r\nNAME=Empty\r\n"
                            "#URL\r\nNAME=b\r\nURL=u\r\nDESCRIPTION=a\x02\x02\x02-\r\n#FOLDER\r\n"
                            "NAME=Inner\r\nDESCRIPTION=one\x02\x02\x02-\x02\x02#FOLDER\x02\x02"
                            "NAME=x\r\n-\r\n-\r\n"));
    }

    void descriptionsComeBack_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("back");
        const auto same = [](const char *name, const QString &text) {
            QTest::newRow(name) << text << text;
        };
        same("empty", u""_qs);
        same("line feed alone", u"\n"_qs);
        same("CR LF alone", u"\r\n"_qs);
        same("ends in CR LF", u"text\r\n"_qs);
        same("ends in a line feed", u"text\n"_qs);
        same("starts with line breaks", u"\n\n\ntext"_qs);
        same("blank lines typed here", u"a\n\nb\n"_qs);
        same("blank lines from Windows", u"a\r\n\r\nb"_qs);
        same("both kinds, in runs of their own", u"a\nb\r\nc\n\nd\r\n\r\n\r\n"_qs);
        same("blanks and tabs around", u"  \ttext \t "_qs);
        same("blanks only", u"   "_qs);
        same("folder end", u"-"_qs);
        same("folder end on a line of its own", u"x\n-\n"_qs);
        same("block lines", u"#URL\r\nNAME=x\n#FOLDER"_qs);
        same("a key", u"URL=elsewhere"_qs);
        same("not ASCII", u"Caf\u00E9 \u2615 \U0001F600"_qs);
        // What the format cannot carry: 0x02 stands for line breaks, and a lone CR or
        // a run of both kinds is written as line feeds.
        QTest::newRow("0x02 left out") << u"a\x02\nb\x02\x02" u"c\r\n\x02\r\n"_qs
                                       << u"a\nbc\r\n\r\n"_qs;
        QTest::newRow("lone CR") << u"a\rb"_qs << u"a\nb"_qs;
        QTest::newRow("both kinds in one run") << u"a\r\n\nb"_qs << u"a\n\nb"_qs;
    }

    // The program's own export once lost descriptions on the way back: bookmarks'
    // were not read, and a final line break was trimmed away.
    void descriptionsComeBack()
    {
        QFETCH(QString, description);
        TCatalog catalog;
        TFolder *folder = AddFolder(catalog.Folders(), u"F"_qs);
        folder->SetDescription(description);
        AddBookmark(folder->Bookmarks(), u"b"_qs)->SetDescription(description);
        AddBookmark(folder->Bookmarks(), u"after"_qs)->SetDescription(u"-"_qs);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("out.adr"));
        ExportOpera(catalog, name);
        TCatalog read;
        ImportOpera(read, name);
        QFETCH(QString, back);
        QCOMPARE(CatalogOutline(read), u"F0 F | %1\nB1 b |  | %1\nB1 after |  | -\n"_qs.arg(back));
    }

    // A bookmark that only the old file has keeps its description in the export.
    void exportKeepsTheOldFilesDescriptions()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("out.adr"));
        WriteFileBytes(name, "#FOLDER\nNAME=A\nDESCRIPTION=theirs\n#URL\nNAME=Old\nURL=o\n"
                         "DESCRIPTION=kept\x02\x02\n#URL\nNAME=Plain\nURL=x\nDESCRIPTION=lost\n");
        TCatalog catalog;
        BuildCatalog(catalog, kSmallCatalog);
        QCOMPARE(ExportedOutline(catalog, name),
                 QString(kSmallCatalog)
                     .replace(u"F1 B"_qs, u"B1 Old | o | kept\n\nF1 B"_qs));
    }

    void deepNestingIsReadAndWritten()
    {
        const int depth = 100000;
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("deep.adr"));
        WriteFileBytes(name, QByteArray("#FOLDER\nNAME=l\n").repeated(depth) + "#URL\nNAME=b\nURL=u");
        TCatalog first;
        ImportOpera(first, name);
        QCOMPARE(first.GetFolderCount(), depth);
        QCOMPARE(ExportedOutline(first, dir.filePath(QStringLiteral("out.adr"))),
                 CatalogOutline(first));
    }
};

QTEST_GUILESS_MAIN(TestOpera)
#include "tst_opera.moc"
