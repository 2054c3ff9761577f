// A catalogue file that is not well-formed XML 1.0 fails to load whole, with the
// parser's reason and the fault's line, whichever reader meets it; a U+FEFF that
// begins a field is a character of it. The readers and their other rules are in
// tst_catalogfile.cpp.
#include "tests/CatalogFileReading.h"

#include <QtTest>

namespace {

// The first 40 characters of a line of a UTF-8 input (from 1), as a failure names it.
QString LineText(const QByteArray &input, int line)
{
    return QString::fromUtf8(input.split('\n').value(line - 1)).remove(u'\r').left(40);
}

// Only a mark at the very start of the file is a byte-order mark. A fault once
// met: the readers dropped it from a field, and a title that began with it merged
// as another title on the next import. Each field in its turn begins with U+FEFF.
void AddLeadingFeffRows()
{
    const char *const fields[] = {"folder title", "folder description", "title", "address",
                                  "description"};
    for (const char *feff : {"\xEF\xBB\xBF", "&#xFEFF;"}) {
        for (int field = 0; field < 5; ++field) {
            const auto text = [&](int i, const char *value) {
                return (i == field ? QByteArray(feff) : QByteArray()) + value;
            };
            const auto value = [&](int i, const char *v) {
                return (i == field ? QStringLiteral("\uFEFF") : QString()) + QString::fromLatin1(v);
            };
            const QByteArray folder = "<folder><title>" + text(0, "F") + "</title><description>"
                + text(1, "D") + "</description><bookmark><title>" + text(2, "t")
                + "</title><address>" + text(3, "a") + "</address><description>" + text(4, "d")
                + "</description></bookmark></folder>";
            const QString tree = QStringLiteral("F0 %1 | %2 | 0 0\nB1 %3 | %4 | %5 | today | \n")
                                     .arg(value(0, "F"), value(1, "D"), value(2, "t"),
                                          value(3, "a"), value(4, "d"));
            const QString name = QStringLiteral("U+FEFF first in the %1, %2")
                                     .arg(fields[field], *feff == '&' ? "reference" : "raw");
            QTest::newRow(qPrintable(name + ", streamed")) << Doc(folder) << "stream" << tree;
            QTest::newRow(qPrintable(name + ", parsed"))
                << Doc("<!-- -->" + folder) << "document" << tree;
        }
    }
    QTest::newRow("U+FEFF after the file's own mark")
        << "\xEF\xBB\xBF" + Doc("<folder><title>\xEF\xBB\xBF\xEF\xBB\xBF" "F</title></folder>")
        << "stream" << QStringLiteral("F0 \uFEFF\uFEFFF |  | 0 0\n");
}

} // namespace

class TestCatalogFileWellFormed : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_files.IsValid()); }
    void notWellFormedFilesFailWhole_data();
    void notWellFormedFilesFailWhole();
    void wellFormedFilesLoad_data();
    void wellFormedFilesLoad();

private:
    CatalogTestFiles m_files;
};

void TestCatalogFileWellFormed::notWellFormedFilesFailWhole_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("error");
    const auto fails = [](const char *name, const QByteArray &input, const char *reason,
                          int line) {
        QTest::newRow(name) << input
                            << QStringLiteral("%1\nLine: %2\n%3")
                                   .arg(QString::fromUtf8(reason))
                                   .arg(line)
                                   .arg(LineText(input, line));
    };
    // The fault on line 3, after a folder that the load must not keep either.
    const auto inFolder = [](const QByteArray &content) {
        return "<varnokel_file>\r\n<folder><title>first</title></folder>\r\n<folder>" + content
            + "</folder>\r\n</varnokel_file>\r\n";
    };
    const auto inTitle = [&inFolder](const QByteArray &text) {
        return inFolder("<bookmark><title>" + text + "</title></bookmark>");
    };
    const char *const outside = "Text outside the document element";
    const char *const second = "More than one document element";
    fails("second document element",
          "<varnokel_file>\n<folder><title>A</title></folder>\n</varnokel_file>\n"
          "<varnokel_file/>\n",
          second, 4);
    fails("folder after the document element",
          "<varnokel_file/>\r\n  <folder><title>lost</title></folder>", second, 2);
    fails("text after the document element, its last byte", "<varnokel_file/>\n\n x", outside, 3);
    fails("text after the document element, then a comment", "<varnokel_file/>\nab<!-- -->",
          outside, 2);
    fails("text before the document element", "x\n<varnokel_file/>", outside, 1);
    fails("CDATA after the document element", "<varnokel_file/>\n<![CDATA[x]]>", outside, 2);
    fails("second byte-order mark", "\xEF\xBB\xBF\xEF\xBB\xBF<varnokel_file/>", outside, 1);
    fails("document type after the document element", "<varnokel_file/>\n<!DOCTYPE varnokel_file>",
          "Error parsing document type declaration", 2);
    fails("declaration after a comment", "<!-- -->\n<?xml version=\"1.0\"?><varnokel_file/>",
          "Error parsing document declaration/processing instruction", 2);
    fails("declaration in capitals", "<?XML version=\"1.0\"?><varnokel_file/>",
          "Error parsing document declaration/processing instruction", 1);

    const char *const utf8 = "Invalid byte sequence in encoding UTF-8";
    fails("Latin-1 without a declaration", inTitle("Caf\xE9"), utf8, 3);
    fails("encoded surrogate", inTitle("\xED\xA0\x80"), utf8, 3);
    fails("overlong form", inTitle("\xC0\xBC"), utf8, 3);
    fails("beyond U+10FFFF", inTitle("\xF4\x90\x80\x80"), utf8, 3);
    fails("sequence cut short by the file's end", "<varnokel_file/>\n\xE2\x82", utf8, 2);
    fails("Latin-1 in text no field takes", inFolder("Caf\xE9"), utf8, 3);
    fails("Latin-1 in a name", inFolder("<caf\xE9/>"), utf8, 3);
    fails("Latin-1 in the declaration", "<?xml version=\"1.0\" x=\"\xE9\"?>\n<varnokel_file/>",
          utf8, 1);
    const QString utf16 = QStringLiteral("<varnokel_file>\n<folder><title>a") + QChar(0xD800)
        + QStringLiteral("b</title></folder></varnokel_file>");
    QTest::newRow("UTF-16 with a lone surrogate")
        << "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2)
        << QStringLiteral("Invalid byte sequence in encoding UTF-16LE\nLine: 2\n"
                          "<folder><title>a?b</title></folder></var");
    fails("control character", inTitle("a\x01z"), "Character U+0001 not allowed in XML", 3);
    fails("U+FFFF", inTitle("a\xEF\xBF\xBFz"), "Character U+FFFF not allowed in XML", 3);
    fails("U+FFFE in a comment", "<varnokel_file>\n<!-- \xEF\xBF\xBE -->\n</varnokel_file>",
          "Character U+FFFE not allowed in XML", 2);

    const char *const ampersand = "Unescaped '&'";
    fails("bare ampersand", inTitle("Tom & Jerry"), ampersand, 3);
    fails("ampersand in an address", inFolder("<bookmark><address>https://x/?a=1&b=2</address>"
                                              "</bookmark>"),
          ampersand, 3);
    fails("ampersand in text no field takes", inFolder("loose & text"), ampersand, 3);
    fails("ampersand in an attribute", inFolder("<x id='a&b'/>"), ampersand, 3);
    fails("undefined entity", inTitle("&bogus;"), "Undefined entity &bogus;", 3);
    fails("undefined entity in an unknown element", inFolder("<other>&eacute;</other>"),
          "Undefined entity &eacute;", 3);
    for (const char *reference : {"&#0;", "&#1;", "&#x1F;", "&#xD800;", "&#57343;", "&#xFFFE;",
                                  "&#65535;", "&#x110000;", "&#X41;", "&#;", "&#x;", "&#65",
                                  "&#6A;"})
        fails(qPrintable(QStringLiteral("reference %1").arg(reference)), inTitle(reference),
              "Invalid character reference", 3);
    fails("]]> in text", inTitle("a]]>b"), "']]>' outside a CDATA section", 3);
    fails("< in an attribute", inFolder("<x id=\"a<b\"/>"), "Error parsing element attribute", 3);
}

// Nothing of a file that is not well-formed is read, whichever reader meets it
// (each also reads in blocks of 3 bytes); the error names the parser's reason and
// the fault's line. Such files once loaded in part, and the next save made the
// loss permanent.
void TestCatalogFileWellFormed::notWellFormedFilesFailWhole()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, error);
    QCOMPARE(m_files.Read(m_files.Write(input)),
             QStringLiteral("read by: document\nerror: %1\n").arg(error));
}

void TestCatalogFileWellFormed::wellFormedFilesLoad_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("tree");
    const auto loads = [](const char *name, const QByteArray &input, const char *reader,
                          const QString &title) {
        QTest::newRow(name) << input << reader << QStringLiteral("F0 %1 |  | 0 0\n").arg(title);
    };
    const auto titled = [](const QByteArray &title) {
        return Doc("<folder><title>" + title + "</title></folder>");
    };
    loads("'>' and ']]' in text", titled("a > b ]] c]>"), "stream", "a > b ]] c]>");
    loads("references to tab, line breaks, U+10FFFF, U+FFFD",
          titled("&#9;&#10;&#xD;&#x10FFFF;&#65533;"), "stream",
          QStringLiteral("\t\n\r\U0010FFFF\uFFFD"));
    loads("U+FFFD, U+FFFC and private use as they are",
          titled("\xEF\xBF\xBD\xEF\xBF\xBC\xEE\x80\x80"), "stream",
          QStringLiteral("\uFFFD\uFFFC\uE000"));
    loads("'&' and ']]>' where they stand for themselves",
          Doc("<!-- a & b --><?pi & ]]> ?><folder><title>t</title>"
              "<x><![CDATA[x & ]]]]><![CDATA[>]]></x></folder>"),
          "document", "t");
    loads("CDATA with '&' and line ends",
          Doc("<folder><title><![CDATA[a &amp; b\r\nc]]></title></folder>"), "document",
          "a &amp; b\nc");
    loads("references in attributes, '>' there",
          Doc("<folder a=\"&amp;&#60;&gt;\" b='>'><title>x</title></folder>"), "document", "x");
    loads("declaration, document type, then comment, instruction and blanks after",
          "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n<!DOCTYPE varnokel_file>\r\n"
              + titled("x") + "\r\n<!-- end -->\r\n<?pi after?>\r\n\t \r\n",
          "document", "x");
    AddLeadingFeffRows();
}

// What XML allows keeps loading, by the streaming reader where it did.
void TestCatalogFileWellFormed::wellFormedFilesLoad()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, reader);
    QFETCH(QString, tree);
    QCOMPARE(m_files.Read(m_files.Write(input)),
             QStringLiteral("read by: %1\nerror: \n%2").arg(reader, tree));
}

QTEST_GUILESS_MAIN(TestCatalogFileWellFormed)
#include "tst_catalogfilewellformed.moc"
