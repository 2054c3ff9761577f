// Netscape bookmark files: the reading rules of each line shape, references and
// control characters, the writer's escaping, the merge into the catalogue and of
// an existing file on export, a browser's file and round trips.
#include "ExchangeTestHelpers.h"
#include "exchange/Netscape.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

void Import(TCatalog &catalog, const QByteArray &bytes, TFolder *folder = nullptr)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("bookmarks.html"));
    WriteFileBytes(name, bytes);
    ImportFirefox(catalog, name, folder);
}

// Exports the catalogue and imports the export: both trees must agree.
void CheckRoundTrip(const TCatalog &catalog)
{
    QTemporaryDir dir;
    const QString exported = dir.filePath(QStringLiteral("export.html"));
    ExportFirefox(catalog, exported);
    TCatalog back;
    ImportFirefox(back, exported);
    QCOMPARE(CatalogOutline(back), CatalogOutline(catalog));
}

} // namespace

class TestNetscape : public QObject
{
    Q_OBJECT

private slots:
    // Links at a file's top level were once dropped, a fifth of a real Netscape 4
    // file, and the loose link's description landed on the bookmark before it.
    void importsABrowsersFile()
    {
        const QString outline =
            u"F0 Personal Toolbar Folder | Add bookmarks to this folder to see them displayed on "
            u"the Personal Toolbar\nB1 Netscape | http://home.netscape.example/ | \n"
            u"B1 Search | http://search.netscape.example/ | \nF0 Bookmarks for Jane Doe | \n"
            u"B1 Example Org | http://www.example.org/ | A loose link with a description\n"
            u"B1 Write to Jane | mailto:jane@example.com | \n"
            u"B1 Jane's page | http://www.example.net/~jane/ | \nF0 News | \n"
            u"B1 Daily Paper | http://paper.example.com/ | \n"
            u"B1 Daily Paper mirror | http://mirror.example.com/ | \n"_qs;
        TCatalog catalog;
        for (int twice = 0; twice < 2; ++twice) {
            ImportFirefox(catalog, QStringLiteral(VK_TEST_DATA "/netscape4.html"));
            QCOMPARE(CatalogOutline(catalog), outline);
        }
        CheckRoundTrip(catalog);
        // /dev/zero once grew memory until the program died.
        for (const QString &name : {u"/dev/zero"_qs, u"/nonexistent.html"_qs, QDir::tempPath()})
            ImportFirefox(catalog, name);
        QCOMPARE(CatalogOutline(catalog), outline);
    }

    void readingRules_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("outline");
        QTest::newRow("indented, lower case, attributes, a quote that never closes")
            << QByteArray("  \t<dt><h3 ADD_DATE=\"1\">A</h3>\n\t<dl><p>\n  <dt><a "
                          "href=\"http://a\" ICON=\"data:x\">x</a>\n\t<dd>about x\n </dl><p>\n<DT>"
                          "<H3>B</H3>\n<DT><A HREF=\"http://a>T</A>\n<DT><A HREF=\"b ID='>'>U</A>")
            << "F0 A | \nB1 x | http://a | about x\nF0 B | \nB1 T |  | \nB1 '>U |  | \n";
        QTest::newRow("outside every folder, named by the heading")
            << QByteArray("<DT><A HREF=\"a\">before</A>\n<DT><H3>F</H3>\n</DL><p>\n<DT><A "
                          "HREF=\"b\">after</A>\n<DD>kept\n<H1 ID=\"1\">Caf&eacute; &#1;links</H1>"
                          "\n<DT><A HREF=\"c\">x</A>\n<H1>  </H1>\n<DT><A HREF=\"d\">y</A>\n<H1>"
                          "bookmarks</H1>\n<DT><A HREF=\"e\">z</A>\n<H1\n<H10>No</H10>\n<DT><A "
                          "HREF=\"f\">w</A>")
            << u"F0 Bookmarks | \nB1 before | a | \nB1 after | b | kept\nB1 y | d | \nB1 z | e | "
               u"\nB1 w | f | \nF0 F | \nF0 Caf\u00E9 links | \nB1 x | c | \n"_qs;
        // Real files put a separator and the next entry on one line.
        QTest::newRow("nesting from folder and end lines only, separators before entries")
            << QByteArray("</DL><p>\n<DT><H3>A</H3>\n<DT><H3>B</H3>\n</DL><p>\n<HR>    <DT><H3>"
                          "C</H3>\n<hr><HR> <DT><A HREF=\"c\">z</A>\n</DL><p>\n</DL><p>\n</DL><p>"
                          "\n<HR>\n<DT><H3>D</H3>\n<HR")
            << "F0 A | \nF1 B | \nF1 C | \nB2 z | c | \nF0 D | \n";
        // "&#1;" once reached the catalogue file, which XML tools then refused.
        QTest::newRow("references decoded, control characters dropped")
            << QByteArray("<DT><H3>&lt;b&gt; &amp;&quot;&apos;&amp;lt;&&amp;&#1;\x02</H3>\n<DD>"
                          "&#39;&#0;&#9;&#233;&#00000065;&#xE9;&#XC9;&#x1F600;&#xaf;&#x10FFFF;\n"
                          "<DT><A HREF=\"a&amp;&#27;\">&#1;&eacute;&Eacute;&nbsp;&euro;&AElig;"
                          "&zwnj;&thetasym;&#13;&#10;</A>\n<DD>\x01&#128;&#150;&#x9F;&#129;&#127;"
                          "&#160;")
            << u"F0 <b> &\"'&lt;&& | '\t\u00E9A\u00E9\u00C9\U0001F600\u00AF\U0010FFFF\n"
               u"B1 \u00E9\u00C9\u00A0\u20AC\u00C6\u200C\u03D1\r\n | a& | "
               u"\u20AC\u2013\u0178\u0081\u007F\u00A0\n"_qs;
        QTest::newRow("what names nothing stays")
            << QByteArray("<DT><H3>&foo; &Amp; &thetasyms; &a-b; &amp &#65 "
                          "&#xD800;&#xDFFF;&#x110000;&#99999999; &#; &#x; &#+65; &#1a; &#xG; "
                          "&&;x&</H3>")
            << "F0 &foo; &Amp; &thetasyms; &a-b; &amp &#65 &#xD800;&#xDFFF;&#x110000;&#99999999; "
               "&#; &#x; &#+65; &#1a; &#xG; &&;x& | \n";
        // A file saved in a single-byte code page: the line is read as Windows-1252
        // rather than dropped, so the folder and its nesting survive.
        QTest::newRow("four-byte UTF-8, invalid UTF-8 as Windows-1252")
            << QByteArray("<DT><H3>Top \xF0\x9F\x93\x9A</H3>\n<DT><H3>Caf\xE9 \x80</H3>\n<DT><A "
                          "HREF=\"a\">In caf\xE9</A>\n</DL><p>\n<DT><A HREF=\"b\">In top</A>")
            << u"F0 Top \U0001F4DA | \nB1 In top | b | \nF1 Caf\u00E9 \u20AC | \n"
               u"B2 In caf\u00E9 | a | \n"_qs;
        QTest::newRow("last description line wins, degenerate lines")
            << QByteArray("<DT><H3>A</H3>\n<DD>one\n<DD>two\n<DT><H3\n<DT><H3 x\n<DT><A HREF=\n"
                          "<DD>\n<DT><A HREF=\"\">\n<DT><A>")
            << "F0 A | two\nF1  | \nF2  | \nB3  |  | \n";
        // Lines browsers read as entries that a reader keyed on line prefixes and cut
        // by position once misread, each giving a plainly wrong tree.
        QTest::newRow("list closed by </DL> alone")
            << QByteArray("<DT><H3>A</H3>\n<DL><p>\n<DT><A HREF=\"a\">x</A>\n  </dl>\n"
                          "<DT><H3>B</H3>\n<DL>\n</DL>\n<DT><H3>C</H3>")
            << "F0 A | \nB1 x | a | \nF0 B | \nF0 C | \n";
        QTest::newRow("title up to its closing tag, > inside a quoted attribute")
            << QByteArray("<DT><H3 ICON='x>y'>Work</H3><DL><p>\n<dt><a href=\"http://a.example/\">"
                          "A</a></dt>\n<DT><A HREF=\"http://b/?q=%22<>%22\" TAGS=\"a>b\"></A></DT>"
                          "\n<DT><H3>No end <b")
            << "F0 Work | \nB1 A | http://a.example/ | \nB1  | http://b/?q=%22<>%22 | \n"
               "F1 No end <b | \n";
        QTest::newRow("<DT> on its own line, lower case, HREF anywhere")
            << QByteArray("<dt>\n<h3 add_date=\"1\">f</h3>\n<dl><p>\n<DT>\n  <a add_date=\"2\" "
                          "href='http://a/'>single</a>\n<A HREF=http://b/ ID=x>unquoted</A>\n"
                          "<DT> <A\tFEED=\"f\" HREF = \"c\" href=\"d\" CHECKED>tab</A>\n"
                          "<ADDRESS>no</ADDRESS>\n<DT><H30>no</H30>\n<AHREF=\"e\">no</A>")
            << "F0 f | \nB1 single | http://a/ | \nB1 unquoted | http://b/ | \nB1 tab | c | \n";
        QTest::newRow("a description for the bookmark read last only")
            << QByteArray("<DT><H3>F</H3>\n<DT><A HREF=\"a\">x</A>\n<DT><A NAME=\"n\">anchor</A>\n"
                          "<DD>not for x\n<DT><H3>G</H3>\n<DT><A HREF=\"b\">y</A>\n</DL><p>\n"
                          "<DD>for y")
            << "F0 F | \nB1 x | a | \nF1 G | \nB2 y | b | for y\n";
        // A description after the end of a list once went to the folder read last,
        // however many lists had ended since.
        QTest::newRow("after a folder, a description for the current folder")
            << QByteArray("<DL><p>\n<DT><H3>Alpha</H3>\n<DL><p>\n<DT><H3>Alpha1</H3>\n<DL><p>\n"
                          "</DL><p>\n<DD>after end of list\n</DL><p>\n</DL><p>\n<DD>at top")
            << "F0 Alpha | after end of list\nF1 Alpha1 | \n";
        QTest::newRow("comments skipped")
            << QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DT><H3>F</H3>\n"
                          "<!-- <DT><H3>Old</H3> -->\n<!--\n<DT><A HREF=\"x\">"
                          "hidden</A>\n</DL><p>\n-->\n<DT><A HREF=\"a\">shown<!-- note --></A> "
                          "<!-- a\n<DD>hidden too\n--> \n<!---->\n<!-->\n<DT><A HREF=\"b\">"
                          "after</A>!\n<DT><A HREF=\"c\">c<!-- 1 -->d<!-- 2 --></A>")
            << "F0 F | \nB1 shown | a | \nB1 after | b | \nB1 cd | c | \n";
    }

    void readingRules()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, outline);
        TCatalog catalog;
        Import(catalog, file);
        QCOMPARE(CatalogOutline(catalog), outline);
    }

    // Titles that ran onto the next line were once cut to their first line, and the
    // merge by title then dropped every later bookmark of the folder with the same
    // cut title ("Drawing", "Drawing", ...).
    void continuations_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("outline");
        QTest::newRow("title on the next line")
            << QByteArray("<DT><H3>Art</H3>\n<DL><p>\n<DT><A HREF=\"http://a/blinder.html\" "
                          "ADD_DATE=\"1111815823\">\nThe Blinder Drawing Game</A>\n<DT><A HREF"
                          "=\"http://a/rabbit.html\">Drawing\n    Lesson</A>\n\t<DT><A HREF=\"http:"
                          "//a/two.html\">Drawing\n    Lesson Two</A>\n</DL><p>")
            << "F0 Art | \nB1 The Blinder Drawing Game | http://a/blinder.html | \n"
               "B1 Drawing Lesson | http://a/rabbit.html | \n"
               "B1 Drawing Lesson Two | http://a/two.html | \n";
        QTest::newRow("over three lines, blank lines, a comment, a start tag")
            << QByteArray("<DT><H3>F</H3>\n<DT><A HREF=\"a\">Optivo   \n   \n\tCorporation <!-- x"
                          "\n -->Imaging</a>\n<DT><A HREF=\"b\">Caf\xE9\nau lait</A>\n<DT><A "
                          "HREF=c\n  ADD_DATE=\"1\">Start tag\n\nover lines"
                          "\n</A>\n<DT><A HREF=\"d&amp;\ne\">&amp;lt;\n&#10;</A>")
            << u"F0 F | \nB1 Optivo Corporation Imaging | a | \nB1 Caf\u00E9 au lait | b | \n"
               u"B1 Start tag over lines | c | \nB1 &lt; \n | d&e | \n"_qs;
        QTest::newRow("a folder title")
            << QByteArray("<DT><H3 ADD_DATE=\"1\"\n   ID=\"rdf:#$a\">Optivo\nCorporation</H3>\n"
                          "<DL><p>\n<DT><A HREF=\"a\">in</A>\n</DL><p>\n<DT><h3>\nCamera\n  "
                          "Manuals</h3>\n<DT><H3>Unclosed\n<DL><p>\n<DT><A HREF=\"b\">x</A>")
            << "F0 Optivo Corporation | \nB1 in | a | \nF0 Camera Manuals | \n"
               "F1 Unclosed | \nB2 x | b | \n";
        QTest::newRow("a description of three lines")
            << QByteArray("<DT><H3>F</H3>\n<DD>About F\n  over two\n<DL><p>\n<DT><A HREF=\"a\">"
                          "x</A>\n<DD>First line\n  second line\n\nthird &amp; last&#10;\n\n"
                          "<DT><A HREF=\"b\">y</A>\n<dd>\n\nOnly below\n<HR>\n<DT><A HREF=\"c\">"
                          "z</A>\n<DD>one\n</DD>\n<DT><A HREF=\"d\">w</A>\n<DD>two\n</dl><p>")
            << "F0 F | About F\nover two\nB1 x | a | First line\nsecond line\n\nthird & last\n\n"
               "B1 y | b | Only below\nB1 z | c | one\nB1 w | d | two\n";
        QTest::newRow("an unclosed <A before the next <DT>")
            << QByteArray("<DT><H3>F</H3>\n<DL><p>\n<DT><A HREF=\"a\">Cut\n<DT><A HREF=\"b\">"
                          "Next</A>\n<DT><A HREF=\"c\">Before description\n<DD>its text\n<DT><A "
                          "HREF=\"d\">Before separator\n<HR>\n<DT><A HREF=\"e\">Before a lone "
                          "DT\n<DT>\n<A HREF=\"f\">bare</A>\n<DT><A HREF=\"g\">Before list\n"
                          "<DL><p>\n<DT><A HREF=\"h\">Before end tag\n</DT>\n<DT><A HREF=\"i\">"
                          "Before end\n</DL><p>\n<DT><A HREF=\"j\">top</A>\n<DT><A HREF=\"k\">"
                          "last\nof the file")
            << "F0 F | \nB1 Cut | a | \nB1 Next | b | \nB1 Before description | c | its text\n"
               "B1 Before separator | d | \nB1 Before a lone DT | e | \nB1 bare | f | \n"
               "B1 Before list | g | \nB1 Before end tag | h | \nB1 Before end | i | \n"
               "F0 Bookmarks | \nB1 top | j | \nB1 last of the file | k | \n";
        // 1,024 lines of 1,023 characters and a line break are exactly 1 MiB; the lines
        // after them are read as usual.
        const QByteArray line = QByteArray(1023, 'x') + '\n';
        const QString kept = (u' ' + QString(1023, u'x')).repeated(1024);
        QTest::newRow("the 1 MiB bound")
            << "<DT><H3>F</H3>\n<DT><A HREF=\"a\">start\n" + line.repeated(1030) +
                   "end</A>\n<DD>note\n" + line.repeated(1025) + "<DT><A HREF=\"b\">next</A>"
            << "F0 F | \nB1 start" + kept + " | a | note" + QString(kept).replace(u' ', u'\n') +
                   "\nB1 next | b | \n";
    }

    void continuations() { readingRules(); }

    // A browser's file of 2006 with titles broken over lines, several of a folder
    // alike up to the break: every link comes in, with its whole title.
    void importsEveryLinkOfAFileWithBrokenTitles()
    {
        const QString name = QStringLiteral(VK_TEST_DATA "/firefox2006.html");
        TCatalog catalog;
        ImportFirefox(catalog, name);
        QCOMPARE(catalog.GetBookmarkCount(), int(ReadBytes(name).count("<DT><A HREF=")));
        QCOMPARE(CatalogOutline(catalog),
                 "F0 Bookmarks Toolbar Folder | Add bookmarks to this folder to see them "
                 "displayed on the Bookmarks Toolbar\nB1 Getting Started | "
                 "http://www.start.example/firefox/central/ | \nB1 Latest Headlines | "
                 "http://news.example.com/ | \nF0 Art Class Links | Lessons for the\nspring term"
                 "\nB1 The Blinder Drawing Game | "
                 "http://www.school.example/art/ed/blindergame.html | \nB1 Drawing Lesson | "
                 "http://www.school.example/%7Eteacher/lessons/rabbit.html | \n"
                 "B1 Drawing Lesson: Hands | "
                 "http://www.school.example/%7Eteacher/lessons/hands.html | \n"
                 "B1 Drawing Lesson: Perspective & Depth | "
                 "http://www.school.example/%7Eteacher/lessons/perspective.html | Two-point "
                 "perspective,\nwith worksheets.\nB1 Drawing Lesson: Shading | "
                 "http://www.school.example/%7Eteacher/lessons/shading.html | \n"
                 "B1 Museum for Kids | http://www.museum.example/kids/ | \nF0 Cameras | \n"
                 "B1 Optivo Corporation | http://www.optivo.example/ | \n"
                 "B1 Optivo Support | http://support.optivo.example/ | \n"
                 "B1 Optivo Europe | http://www.optivo.example/europe/ | \n"
                 "B1 Optivo Lenses | http://lenses.optivo.example/ | \n"
                 "B1 Optivo Recall Notice | http://www.optivo.example/recall/ | \n"
                 "B1 Camera Forum | http://forum.example.net/cameras/ | Reviews, \"how to\"\n"
                 "and a buyers' guide\n\n(ask before posting)\nF1 Camera Manuals | \n"
                 "B2 Manual D50 | http://manuals.optivo.example/d50.pdf | \n"
                 "B2 Manual D70 | http://manuals.optivo.example/d70.pdf | \nF0 Bookmarks | \n"
                 "B1 Weather Forecast | http://www.weather.example/ | \n"
                 "B1 Weather Radar | http://www.weather.example/radar/ | \n");
        CheckRoundTrip(catalog);
    }

    void mergesIntoTheCatalogue()
    {
        // A described folder takes the file's text; a dropped bookmark takes its
        // description along. Each folder merges into its own list (the target's, not
        // the root list), however many titles they share.
        TCatalog catalog;
        BuildCatalog(catalog, u"F0 Work | mine\nB1 MAIL | old | mine\nF0 Target | \nF0 A | \n"_qs);
        Import(catalog, "<DT><H3>work</H3>\n<DD>theirs\n<DT><A HREF=\"new\">Mail</A>\n<DD>lost\n");
        QByteArray file = "<DT><A HREF=\"t\">top</A>\n";
        for (const QByteArray folder : {"A", "B", "a"}) {
            file += "<DT><H3>" + folder + "</H3>\n<DL><p>\n";
            for (int i = 0; i < 20; ++i)
                file += "<DT><A HREF=\"" + folder + "\">t" + QByteArray::number(i) + "</A>\n";
            file += "</DL><p>\n";
        }
        Import(catalog, file, catalog.Folders().At(1));
        const QString outline = CatalogOutline(catalog);
        QVERIFY(outline.startsWith("F0 Work | theirs\nB1 MAIL | old | mine\nF0 Target | \n"
                                   "B1 top | t | \nF1 A | \nB2 t0 | A | \n"));
        QCOMPARE(outline.count(" | A | "), 20);
        QCOMPARE(outline.count(" | B | "), 20);
        QCOMPARE(outline.count(u'\n'), 47);
        QVERIFY(outline.endsWith("F0 A | \n"));
    }

    void writesTheLayoutEscapingEveryText()
    {
        // Unescaped, the description of R&D would close the folder and open another one
        // when the file is read back, which every later export does first: it merges
        // what only the file had (after the catalogue's own entries of each folder).
        TCatalog catalog;
        BuildCatalog(catalog, kSmallCatalog + "F0 R&D <\"lab\"> | first\r\n</DL><p>\r\n"
                                              "<DT><H3>Fake</H3>  \nB1 a > b   | "
                                              "http://x/?a=1&b=\"2\" | \tz \n"
                                              "B1 blanks | u |   \n");
        CheckRoundTrip(catalog);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("out.html"));
        WriteFileBytes(name, "<DT><H3>a</H3>\n<DD>theirs\n<DT><A HREF=\"o\">Only theirs</A>\n"
                         "<DT><A HREF=\"x\">plain</A>\n</DL><p>\n<DT><H3>Theirs</H3>\n");
        ExportFirefox(catalog, name);
        QCOMPARE(ReadBytes(name), QByteArray("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                                             "<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n"
                                             "<DL><p>\r\n<DT><H3>A</H3>\r\n<DD>theirs\r\n"
                                             "<DL><p>\r\n"
                                             "<DT><A HREF=\"http://c/\">Caf\xC3\xA9</A>\r\n"
                                             "<DD>Coffee\r\n"
                                             "<DT><A HREF=\"http://p/\">Plain</A>\r\n"
                                             "<DT><A HREF=\"o\">Only theirs</A>\r\n"
                                             "<DT><H3>B</H3>\r\n<DL><p>\r\n"
                                             "<DT><A HREF=\"http://d/\">Deep</A>\r\n"
                                             "</DL><p>\r\n</DL><p>\r\n<DT><H3>Empty</H3>\r\n"
                                             "<DL><p>\r\n</DL><p>\r\n"
                                             "<DT><H3>R&amp;D &lt;&quot;lab&quot;&gt;</H3>\r\n"
                                             "<DD>first&#13;&#10;&lt;/DL&gt;&lt;p&gt;&#13;&#10;"
                                             "&lt;DT&gt;&lt;H3&gt;Fake&lt;/H3&gt;&#32;&#32;\r\n"
                                             "<DL><p>\r\n<DT><A HREF=\"http://x/?a=1&amp;b=&quot;"
                                             "2&quot;\">a &gt; b  </A>\r\n<DD>&#9;z&#32;\r\n"
                                             "<DT><A HREF=\"u\">blanks</A>\r\n<DD>&#32;&#32;\r\n"
                                             "</DL><p>\r\n<DT><H3>Theirs</H3>\r\n<DL><p>\r\n"
                                             "</DL><p>\r\n</DL><p>\r\n"));
    }

    void deepNestingIsReadAndWritten()
    {
        const int depth = 100000;
        TCatalog catalog;
        Import(catalog, QByteArray("<DT><H3>l</H3>\n").repeated(depth) + "<DT><A HREF=u>b</A>");
        QCOMPARE(catalog.GetFolderCount(), depth);
        QCOMPARE(catalog.GetBookmarkCount(), 1);
        CheckRoundTrip(catalog);
    }
};

QTEST_GUILESS_MAIN(TestNetscape)
#include "tst_netscape.moc"
