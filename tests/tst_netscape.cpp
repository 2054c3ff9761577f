// Netscape bookmark files: the reading rules, the writer's layout, the merge of an
// existing file on export, browsers' files and round trips.
#include "CatalogOutline.h"
#include "ExchangeTestHelpers.h"
#include "exchange/Netscape.h"
#include "exchange/LineFile.h"
#include "platform/VarnokelError.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QString ImportedOutline(const QByteArray &bytes)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("bookmarks.html"));
    WriteBytes(name, bytes);
    TCatalog catalog;
    ImportFirefox(catalog, name);
    return CatalogOutline(catalog);
}



// Imports the file, exports the result, imports the export: both trees must agree.
void CheckRoundTrip(const QString &fileName)
{
    TCatalog first;
    ImportFirefox(first, fileName);
    QTemporaryDir dir;
    const QString exported = dir.filePath(QStringLiteral("export.html"));
    ExportFirefox(first, exported);
    TCatalog second;
    ImportFirefox(second, exported);
    QCOMPARE(CatalogOutline(second), CatalogOutline(first));
}

} // namespace

class TestNetscape : public QObject
{
    Q_OBJECT

private slots:
    void importsBrowsersFiles_data();
    void importsBrowsersFiles();
    void readingRules_data();
    void readingRules();
    void browserShapes_data();
    void browserShapes();
    void importsIntoAGivenFolder();
    void descriptionAfterAnExistingFolderReplacesIt();
    void descriptionAfterADroppedBookmarkIsLost();
    void overlongLineEndsTheImportKeepingWhatWasMerged();
    void missingFileOrFolderDoesNothing();
    void unreadableFileIsAnErrorNamingIt();
    void writesTheLayout();
    void noFieldBreaksALine();
    void exportMergesAnExistingFile();
    void exportLeavesTheCatalogueAlone();
    void exportFailureNamesTheFile();
    void browsersFilesRoundTrip_data();
    void browsersFilesRoundTrip();
    void deepNestingIsReadAndWritten();
};

void TestNetscape::importsBrowsersFiles_data()
{
    // Links at a file's top level were once dropped: a fifth of a real Netscape 4
    // file. They go into a root folder titled with the file's heading.
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("outline");
    QTest::newRow("Firefox")
        << QStringLiteral(VK_TEST_DATA "/firefox.html")
        << u"F0 Bookmarks Menu | \n"
           u"B1 Start page | https://start.example.org/ | \n"
           u"F0 Reading | Things to read & keep\n"
           u"B1 Daily <News> & \"Views\" | https://news.example.com/?a=1&b=2 | Morning paper\n"
           u"B1 Caf\u00E9 de Flore | https://caf%C3%A9.example.fr/ | \n"
           u"B1 Smile \U0001F600 page | https://emoji.example/ | \n"
           u"F0 Bookmarks Toolbar | \n"
           u"B1 Mail | https://mail.example.com/ | \n"
           u"F1 Tools | \n"
           u"B2 Search \u2013 quick | https://search.example.net/?q=%s&lang=en | \n"
           u"F0 Other Bookmarks | \n"
           u"B1 O'Brien's blog | https://obrien.example/ | \n"_qs;
    QTest::newRow("Chromium")
        << QStringLiteral(VK_TEST_DATA "/chromium.html")
        << u"F0 Bookmarks bar | \n"
           u"B1 Qt Documentation | https://docs.example.org/qt/ | \n"
           u"B1 \u65E5\u672C\u8A9E\u306E\u30DA\u30FC\u30B8 | https://jp.example.jp/ | \n"
           u"F1 Work | \n"
           u"B2 Open issues | https://tracker.example.com/issues?state=open&sort=new | \n"
           u"B2 Stra\u00DFe & Verkehr | https://wiki.example.com/Stra%C3%9Fe | \n"
           u"F0 Bookmarks | \n"
           u"B1 Loose bookmark | https://other.example.com/ | \n"_qs;
    QTest::newRow("Internet Explorer")
        << QStringLiteral(VK_TEST_DATA "/ie.html")
        << u"F0 Links | \n"
           u"B1 Free Hotmail | http://go.example.com/fwlink/?LinkId=68920 | \n"
           u"B1 Web Slice Gallery | http://go.example.com/fwlink/?LinkId=129791 | \n"
           u"F0 Caf\u00E9s | \n"
           u"B1 Caf\u00E9 \u20AC la carte | http://cafe.example.fr/ | \n"
           u"F0 Bookmarks | \n"
           u"B1 Example Home | http://www.example.com/ | \n"
           u"B1 News & Weather | http://news.example.com/ | \n"_qs;
    // The loose link's description once landed on the bookmark before it.
    QTest::newRow("Netscape 4")
        << QStringLiteral(VK_TEST_DATA "/netscape4.html")
        << u"F0 Personal Toolbar Folder | Add bookmarks to this folder to see them displayed "
           u"on the Personal Toolbar\n"
           u"B1 Netscape | http://home.netscape.example/ | \n"
           u"B1 Search | http://search.netscape.example/ | \n"
           u"F0 Bookmarks for Jane Doe | \n"
           u"B1 Example Org | http://www.example.org/ | A loose link with a description\n"
           u"B1 Write to Jane | mailto:jane@example.com | \n"
           u"B1 Jane's page | http://www.example.net/~jane/ | \n"
           u"F0 News | \n"
           u"B1 Daily Paper | http://paper.example.com/ | \n"
           u"B1 Daily Paper mirror | http://mirror.example.com/ | \n"_qs;
}

void TestNetscape::importsBrowsersFiles()
{
    QFETCH(QString, fileName);
    QFETCH(QString, outline);
    TCatalog catalog;
    ImportFirefox(catalog, fileName);
    QCOMPARE(CatalogOutline(catalog), outline);
    const TBookmark *first = catalog.Folders().At(0)->Bookmarks().At(0);
    QCOMPARE(first->AddDate(), TodayText());
    QVERIFY(first->LastVisit().isEmpty());
    ImportFirefox(catalog, fileName);
    QCOMPARE(CatalogOutline(catalog), outline); // importing twice adds nothing
}

void TestNetscape::readingRules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("outline");
    QTest::newRow("indented, lower case")
        << QByteArray("  \t<dt><h3>A</h3>\n\t<dl><p>\n  <dt><a href=\"http://a\">x</a>\n"
                      "\t<dd>about x\n </dl><p>\n<DT><H3>B</H3>")
        << "F0 A | \nB1 x | http://a | about x\nF0 B | \n";
    QTest::newRow("tag attributes")
        << QByteArray("<DT><H3 ADD_DATE=\"1\" LAST_MODIFIED=\"2\">Folder</H3>\n"
                      "<DT><A HREF=\"u\" ADD_DATE=\"3\" ICON=\"data:x\">Site</A>")
        << "F0 Folder | \nB1 Site | u | \n";
    QTest::newRow("short bookmark line")
        << QByteArray("<DT><H3>F</H3>\n<DT><A HREF=\"ab\">Full title here</A>")
        << "F0 F | \nB1 Full title here | ab | \n";
    QTest::newRow("no closing quote: empty address")
        << QByteArray("<DT><H3>F</H3>\n<DT><A HREF=\"http://a>T</A>") << "F0 F | \nB1 T |  | \n";
    QTest::newRow("bookmarks outside every folder")
        << QByteArray("<DT><A HREF=\"a\">before</A>\n<DT><H3>F</H3>\n</DL><p>\n"
                      "<DT><A HREF=\"b\">after</A>\n<DD>kept")
        << "F0 Bookmarks | \nB1 before | a | \nB1 after | b | kept\nF0 F | \n";
    QTest::newRow("the heading names their folder")
        << QByteArray("<H1 ID=\"1\">Caf&eacute; &#1;links</H1>\n<DT><A HREF=\"a\">x</A>\n"
                      "<H1>  </H1>\n<DT><A HREF=\"b\">y</A>\n<H1>bookmarks</H1>\n"
                      "<DT><A HREF=\"c\">z</A>")
        << u"F0 Caf\u00E9 links | \nB1 x | a | \nF0 Bookmarks | \nB1 y | b | \nB1 z | c | \n"_qs;
    QTest::newRow("end of list above the top")
        << QByteArray("</DL><p>\n</DL><p>\n<DT><H3>F</H3>\n<DT><A HREF=\"a\">x</A>")
        << "F0 F | \nB1 x | a | \n";
    QTest::newRow("nesting from folder and end lines only")
        << QByteArray("<DT><H3>A</H3>\n<DT><H3>B</H3>\n</DL><p>\n<DT><H3>C</H3>\n</DL><p>\n"
                      "</DL><p>\n<DT><H3>D</H3>")
        << "F0 A | \nF1 B | \nF1 C | \nF0 D | \n";
    QTest::newRow("separator on the folder's line")
        << QByteArray("<DT><H3>A</H3>\n<DL><p>\n<DT><A HREF=\"a\">x</A>\n"
                      "<HR>    <DT><H3>B</H3>\n<DL><p>\n<DT><A HREF=\"b\">y</A>\n</DL><p>\n"
                      "<hr><HR> <DT><A HREF=\"c\">z</A>\n<HR>\n</DL><p>\n<DT><H3>C</H3>")
        << "F0 A | \nB1 x | a | \nB1 z | c | \nF1 B | \nB2 y | b | \nF0 C | \n";
    QTest::newRow("entities and references decoded")
        << QByteArray("<DT><H3>R&amp;D &lt;1&gt;</H3>\n<DD>&quot;Q&quot; &#8211; &eacute;\n"
                      "<DT><A HREF=\"http://a/?x=1&amp;y=2\">A &#x26; B</A>\n<DD>x&#13;&#10;y")
        << u"F0 R&D <1> | \"Q\" \u2013 \u00E9\nB1 A & B | http://a/?x=1&y=2 | x\r\ny\n"_qs;
    QTest::newRow("four-byte UTF-8")
        << QByteArray("<DT><H3>\xF0\x9F\x93\x9A Books</H3>")
        << u"F0 \U0001F4DA Books | \n"_qs;
    // A file saved in a single-byte code page: the line is read as Windows-1252
    // rather than dropped, so the folder and its nesting survive.
    QTest::newRow("invalid UTF-8 line as Windows-1252")
        << QByteArray("<DT><H3>Top</H3>\n<DT><H3>Caf\xE9 \x80</H3>\n"
                      "<DT><A HREF=\"a\">In caf\xE9</A>\n</DL><p>\n<DT><A HREF=\"b\">In top</A>")
        << u"F0 Top | \nB1 In top | b | \nF1 Caf\u00E9 \u20AC | \nB2 In caf\u00E9 | a | \n"_qs;
    QTest::newRow("control characters dropped, 128-159 as Windows-1252")
        << QByteArray("<DT><H3>A&#1;B\x02</H3>\n<DD>x&#0;y&#9;z&#150;\n"
                      "<DT><A HREF=\"u&#27;\">t&#13;&#10;</A>")
        << u"F0 AB | xy\tz\u2013\nB1 t\r\n | u | \n"_qs;
    QTest::newRow("last description line wins")
        << QByteArray("<DT><H3>A</H3>\n<DD>one\n<DD>two") << "F0 A | two\n";
    QTest::newRow("degenerate lines")
        << QByteArray("<DT><H3\n<DT><H3 x\n<DT><A HREF=\n<DD>\n<DT><A HREF=\"\">")
        << "F0  | \nF1  | \nB2  |  | \n";
}

void TestNetscape::readingRules()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, outline);
    QCOMPARE(ImportedOutline(file), outline);
}

void TestNetscape::browserShapes_data()
{
    // Lines browsers read as entries that a reader keyed on line prefixes and cut
    // by position once misread, each giving a plainly wrong tree.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("outline");
    QTest::newRow("list closed by </DL> alone")
        << QByteArray("<DT><H3>A</H3>\n<DL><p>\n<DT><A HREF=\"a\">x</A>\n  </dl>\n"
                      "<DT><H3>B</H3>\n<DL>\n</DL>\n<DT><H3>C</H3>")
        << "F0 A | \nB1 x | a | \nF0 B | \nF0 C | \n";
    QTest::newRow("title up to its closing tag")
        << QByteArray("<DT><H3>Work</H3><DL><p>\n<dt><a href=\"http://a.example/\">A</a></dt>\n"
                      "<DT><A HREF=\"http://b.example/\"></A></DT>\n<DT><H3>No end")
        << "F0 Work | \nB1 A | http://a.example/ | \nB1  | http://b.example/ | \nF1 No end | \n";
    QTest::newRow("> inside a quoted attribute")
        << QByteArray("<DT><H3 ICON='x>y'>F</H3>\n"
                      "<DT><A HREF=\"http://a.example/?q=%22<>%22\" TAGS=\"a>b\">name</A>")
        << "F0 F | \nB1 name | http://a.example/?q=%22<>%22 | \n";
    QTest::newRow("<DT> on its own line, lower case, HREF anywhere")
        << QByteArray("<dt>\n<h3 add_date=\"1\">f</h3>\n<dl><p>\n<DT>\n"
                      "  <a add_date=\"2\" href='http://a/'>single</a>\n"
                      "<A HREF=http://b/ ID=x>unquoted</A>\n"
                      "<DT> <A\tFEED=\"f\" HREF=\"c\">tab</A>\n"
                      "<ADDRESS>no</ADDRESS>\n<DT><H30>no</H30>")
        << "F0 f | \nB1 single | http://a/ | \nB1 unquoted | http://b/ | \nB1 tab | c | \n";
    QTest::newRow("a description for the entry just before it only")
        << QByteArray("<DT><H3>F</H3>\n<DT><A HREF=\"a\">x</A>\n<DT><A NAME=\"n\">anchor</A>\n"
                      "<DD>not for x\n<DT><H3>G</H3>\n</DL><p>\n<DD>for G")
        << "F0 F | \nB1 x | a | \nF1 G | for G\n";
    QTest::newRow("comments skipped")
        << QByteArray("<!-- <DT><H3>Old</H3> -->\n<DT><H3>F</H3>\n"
                      "<!--\n<DT><A HREF=\"x\">hidden</A>\n</DL><p>\n-->\n"
                      "<DT><A HREF=\"a\">shown<!-- note --></A> <!-- a\n"
                      "<DD>hidden too\n--> \n<!---->\n<!-->\n<DT><A HREF=\"b\">after</A>")
        << "F0 F | \nB1 shown | a | \nB1 after | b | \n";
}

void TestNetscape::browserShapes()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, outline);
    QCOMPARE(ImportedOutline(file), outline);
}

void TestNetscape::importsIntoAGivenFolder()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("b.html"));
    WriteBytes(name, "<DT><H3>Sub</H3>\n<DT><A HREF=\"a\">x</A>\n");
    TCatalog catalog;
    TFolder *target = AddFolder(catalog.Folders(), QStringLiteral("Target"));
    ImportFirefox(catalog, name, target);
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 Target | \nF1 Sub | \nB2 x | a | \n"));
}

void TestNetscape::descriptionAfterAnExistingFolderReplacesIt()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("b.html"));
    WriteBytes(name, "<DT><H3>work</H3>\n<DD>from the file\n");
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("Work"), QStringLiteral("mine"));
    ImportFirefox(catalog, name);
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 Work | from the file\n"));
}

void TestNetscape::descriptionAfterADroppedBookmarkIsLost()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("b.html"));
    WriteBytes(name, "<DT><H3>F</H3>\n<DT><A HREF=\"new\">Mail</A>\n<DD>from the file\n");
    TCatalog catalog;
    TFolder *f = AddFolder(catalog.Folders(), QStringLiteral("F"));
    AddBookmark(*f, QStringLiteral("MAIL"), QStringLiteral("old"), QStringLiteral("mine"));
    ImportFirefox(catalog, name);
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 F | \nB1 MAIL | old | mine\n"));
}

void TestNetscape::overlongLineEndsTheImportKeepingWhatWasMerged()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("b.html"));
    WriteBytes(name, "<DT><H3>F</H3>\n<DT><A HREF=\"a\">kept</A>\n<DT><A HREF=\""
                         + QByteArray(kLongestLine, 'x') + "\">lost</A>\n");
    TCatalog catalog;
    const QString error = ErrorOf([&] { ImportFirefox(catalog, name); });
    QCOMPARE(error, QStringLiteral("Cannot read file \"%1\". A line is longer than 64 MiB")
                        .arg(name));
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 F | \nB1 kept | a | \n"));
}

void TestNetscape::missingFileOrFolderDoesNothing()
{
    // A link to /dev/zero once grew memory until the program died.
    QTemporaryDir dir;
    const QString zero = dir.filePath(QStringLiteral("zero.html"));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
    TCatalog catalog;
    ImportFirefox(catalog, dir.filePath(QStringLiteral("missing.html")));
    ImportFirefox(catalog, dir.path());
    ImportFirefox(catalog, QString());
    ImportFirefox(catalog, zero);
    QCOMPARE(catalog.Folders().Count(), 0);
}

void TestNetscape::unreadableFileIsAnErrorNamingIt()
{
    const QString name = QStringLiteral("/proc/self/clear_refs"); // opens, refuses reads
    if (!QFile::exists(name))
        QSKIP("no /proc");
    TCatalog catalog;
    QVERIFY_THROWS_EXCEPTION(VarnokelError, ImportFirefox(catalog, name));
    try {
        ImportFirefox(catalog, name);
    } catch (const VarnokelError &e) {
        QVERIFY2(e.Message().startsWith(QStringLiteral("Cannot read file \"%1\"").arg(name)),
                 qPrintable(e.Message()));
    }
}

void TestNetscape::writesTheLayout()
{
    TCatalog catalog;
    MakeSmallCatalog(catalog);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("out.html"));
    ExportFirefox(catalog, name);
    QCOMPARE(ReadBytes(name), QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                                         "<TITLE>Bookmarks</TITLE>\r\n"
                                         "<H1>Bookmarks</H1>\r\n"
                                         "<DL><p>\r\n"
                                         "<DT><H3>A</H3>\r\n"
                                         "<DD>About A\r\n"
                                         "<DL><p>\r\n"
                                         "<DT><A HREF=\"http://c/\">Caf\xC3\xA9</A>\r\n"
                                         "<DD>Coffee\r\n"
                                         "<DT><A HREF=\"http://p/\">Plain</A>\r\n"
                                         "<DT><H3>B</H3>\r\n"
                                         "<DL><p>\r\n"
                                         "<DT><A HREF=\"http://d/\">Deep</A>\r\n"
                                         "</DL><p>\r\n"
                                         "</DL><p>\r\n"
                                         "<DT><H3>Empty</H3>\r\n"
                                         "<DL><p>\r\n"
                                         "</DL><p>\r\n"
                                         "</DL><p>\r\n"));
}

void TestNetscape::noFieldBreaksALine()
{
    // Unescaped, this description would close the folder and open another one
    // when the file is read back, which every later export does first.
    TCatalog catalog;
    TFolder *f = AddFolder(catalog.Folders(), QStringLiteral("R&D <\"lab\">"),
                           QStringLiteral("first\r\n</DL><p>\r\n<DT><H3>Fake</H3>  "));
    AddBookmark(*f, QStringLiteral("a > b"), QStringLiteral("http://x/?a=1&b=\"2\""),
                QStringLiteral("line\nbreak\t"));
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("out.html"));
    ExportFirefox(catalog, name);
    const QByteArray bytes = ReadBytes(name);
    QVERIFY(bytes.contains("<DT><H3>R&amp;D &lt;&quot;lab&quot;&gt;</H3>\r\n"
                           "<DD>first&#13;&#10;&lt;/DL&gt;&lt;p&gt;&#13;&#10;"
                           "&lt;DT&gt;&lt;H3&gt;Fake&lt;/H3&gt;&#32;&#32;\r\n"));
    QVERIFY(bytes.contains("<DT><A HREF=\"http://x/?a=1&amp;b=&quot;2&quot;\">a &gt; b</A>"));
    QCOMPARE(bytes.count("\r\n"), 11);
    TCatalog back;
    ImportFirefox(back, name);
    QCOMPARE(CatalogOutline(back), CatalogOutline(catalog));
}

void TestNetscape::exportMergesAnExistingFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("out.html"));
    WriteBytes(name, "<DT><H3>F</H3>\n<DD>old description\n<DL><p>\n"
                     "<DT><A HREF=\"old\">Both</A>\n<DT><A HREF=\"o\">Only old</A>\n"
                     "</DL><p>\n<DT><H3>Old folder</H3>\n<DT><A HREF=\"x\">X</A>\n</DL><p>\n");
    TCatalog catalog;
    TFolder *f = AddFolder(catalog.Folders(), QStringLiteral("F"), QStringLiteral("new"));
    AddBookmark(*f, QStringLiteral("Mine"), QStringLiteral("m"));
    AddBookmark(*f, QStringLiteral("both"), QStringLiteral("new"));
    ExportFirefox(catalog, name);
    TCatalog back;
    ImportFirefox(back, name);
    QCOMPARE(CatalogOutline(back), QStringLiteral("F0 F | old description\n"
                                                  "B1 Mine | m | \n"
                                                  "B1 both | new | \n"
                                                  "B1 Only old | o | \n"
                                                  "F0 Old folder | \n"
                                                  "B1 X | x | \n"));
}

void TestNetscape::exportLeavesTheCatalogueAlone()
{
    TCatalog catalog;
    ImportFirefox(catalog, QStringLiteral(VK_TEST_DATA "/chromium.html"));
    const QString before = CatalogOutline(catalog, {true, true});
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("out.html"));
    QFile::copy(QStringLiteral(VK_TEST_DATA "/firefox.html"), name);
    ExportFirefox(catalog, name);
    QCOMPARE(CatalogOutline(catalog, {true, true}), before);
    QCOMPARE(catalog.GetUndoCount(), 0);
}

void TestNetscape::exportFailureNamesTheFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("missing/out.html"));
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("F"));
    try {
        ExportFirefox(catalog, name);
        QFAIL("no error");
    } catch (const VarnokelError &e) {
        QVERIFY2(e.Message().contains(name), qPrintable(e.Message()));
    }
}

void TestNetscape::browsersFilesRoundTrip_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("Firefox") << QStringLiteral(VK_TEST_DATA "/firefox.html");
    QTest::newRow("Chromium") << QStringLiteral(VK_TEST_DATA "/chromium.html");
    QTest::newRow("Internet Explorer") << QStringLiteral(VK_TEST_DATA "/ie.html");
    QTest::newRow("Netscape 4") << QStringLiteral(VK_TEST_DATA "/netscape4.html");
}

void TestNetscape::browsersFilesRoundTrip()
{
    QFETCH(QString, fileName);
    CheckRoundTrip(fileName);
}

void TestNetscape::deepNestingIsReadAndWritten()
{
    const int depth = 100000;
    QByteArray bytes;
    for (int i = 0; i < depth; ++i)
        bytes += "<DT><H3>level</H3>\n<DT><A HREF=\"u\">b</A>\n";
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("deep.html"));
    WriteBytes(name, bytes);
    TCatalog catalog;
    ImportFirefox(catalog, name);
    QCOMPARE(catalog.GetFolderCount(), depth);
    QCOMPARE(catalog.GetBookmarkCount(), depth);
    CheckRoundTrip(name);
}

QTEST_GUILESS_MAIN(TestNetscape)
#include "tst_netscape.moc"
