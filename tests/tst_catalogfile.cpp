// Reading the catalogue file: the reading rules, failures and the partial tree they
// leave, encodings, and inputs that must never crash (tst_catalogfilewriter.cpp
// covers the saving). Each input is read by both readers: the streaming reader
// must read a file to the document reader's tree or leave it untouched.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFile.h"
#include "catalogue/CatalogFileReaders.h"
#include "platform/AtomicFile.h"
#include "tests/CatalogOutline.h"
#include "tests/CatalogTree.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kBooleanError =
    QStringLiteral("Could not convert variant of type (OleStr) into type (Boolean)");
const QString kNodeError = QStringLiteral("Element does not contain a single text node");

QByteArray Doc(const QByteArray &body)
{
    return "<varnokel_file>" + body + "</varnokel_file>";
}

// What was added to a catalogue that held the folder "kept" alone.
QString Outline(const TCatalog &catalog)
{
    QString outline = CatalogOutline(catalog, kWholeOutline);
    outline.replace(TodayText(), QStringLiteral("today"));
    const QString kept = QStringLiteral("F0 kept |  | 0 0\n");
    return outline.startsWith(kept) ? outline.mid(kept.size()) : "kept is lost\n" + outline;
}

// The files in memory where the machine allows: the disk's waits would cost more
// than all the reading.
QString ScratchTemplate()
{
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                      : QDir::tempPath();
    return base + QStringLiteral("/tst_catalogfile-XXXXXX");
}

// The first 40 characters of a line of a UTF-8 input (from 1), as a failure names it.
QString LineText(const QByteArray &input, int line)
{
    return QString::fromUtf8(input.split('\n').value(line - 1)).remove(u'\r').left(40);
}

QByteArray Encoded(QStringConverter::Encoding encoding, const QString &text)
{
    QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}

} // namespace

class TestCatalogFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fixturesLoadAsTheyDid_data();
    void fixturesLoadAsTheyDid();
    void readingRules_data();
    void readingRules();
    void notWellFormedFilesFailWhole_data();
    void notWellFormedFilesFailWhole();
    void leadingFeffStays_data();
    void leadingFeffStays();
    void missingFileOrFolderChangesNothing();
    void deepAndHugeFilesLoad_data();
    void deepAndHugeFilesLoad();
    void truncatedFilesAndJunkLoadOrFail();
    void errorLineFoundBeyondTheFirstBlock_data();
    void errorLineFoundBeyondTheFirstBlock();
    void failedLoadKeepsTheFile_data();
    void failedLoadKeepsTheFile();

private:
    // A new file each time: rewriting one costs more than the reading.
    QString Write(const QByteArray &bytes);
    // "read by: stream|document\nerror: ...\n" and the tree, from loading the file,
    // once the readers (the streaming one also in blocks of 3 bytes) agree on it.
    QString Read(const QString &path);

    QTemporaryDir m_dir{ScratchTemplate()};
    int m_files = 0;
};

void TestCatalogFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestCatalogFile::Write(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("bookmarks%1.xml").arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString TestCatalogFile::Read(const QString &path)
{
    TCatalog streamed, inSmallBlocks, parsed, loaded;
    for (TCatalog *catalog : {&streamed, &inSmallBlocks, &parsed, &loaded})
        AddFolder(catalog->Folders(), QStringLiteral("kept"));
    const bool taken = ReadCatalogStream(path, streamed.Folders());
    const bool takenInBlocks = ReadCatalogStream(path, inSmallBlocks.Folders(), 3);
    const QString parseError = ErrorOf([&] { ReadCatalogDocument(path, parsed.Folders()); });
    const QString error = ErrorOf([&] { loaded.LoadFromFile(path); });
    const QString tree = Outline(loaded);
    if (takenInBlocks != taken || Outline(inSmallBlocks) != Outline(streamed)
        || Outline(streamed) != (taken ? tree : QString()) || error != parseError
        || Outline(parsed) != tree)
        return QStringLiteral("the readers disagree\nstreamed:\n%1in blocks:\n%2parsed (%3):\n%4")
            .arg(Outline(streamed), Outline(inSmallBlocks), parseError, Outline(parsed));
    return QStringLiteral("read by: %1\nerror: %2\n%3")
        .arg(taken ? QStringLiteral("stream") : QStringLiteral("document"),
             QString(error).replace(path, QStringLiteral("FILE")), tree);
}

void TestCatalogFile::fixturesLoadAsTheyDid_data()
{
    QTest::addColumn<QString>("input");
    const QDir dir(QStringLiteral(VK_TEST_DATA "/catalogfile"));
    const QStringList names = dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

// Each fixture beside what loading it gave before the streaming reader came
// ("name.txt", today's date as "today"), and which reader reads it now.
void TestCatalogFile::fixturesLoadAsTheyDid()
{
    QFETCH(QString, input);
    QFile expected(input.chopped(4) + QStringLiteral(".txt"));
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(Read(input), QString::fromUtf8(expected.readAll()));
}

void TestCatalogFile::readingRules_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("tree");
    const QString stream = QStringLiteral("stream"), document = QStringLiteral("document");
    const auto flag = [&](const char *text, const char *result) {
        const bool fails = *result == 'E';
        QTest::newRow(qPrintable(QStringLiteral("flag \"%1\"").arg(text)))
            << Doc(QByteArray("<folder><selected>") + text + "</selected></folder>")
            << (fails ? document : stream) << (fails ? kBooleanError : QString())
            << QStringLiteral("F0  |  | %1 0\n").arg(fails ? "0" : result);
    };
    for (const char *text : {"2", "0.5", "1e3", "TRUE"})
        flag(text, "1");
    for (const char *text : {"0.0", "-0", "false"})
        flag(text, "0");
    for (const char *text : {"inf", "1x", "t", "-"})
        flag(text, "E");
    const auto failing = [&](const char *name, const QByteArray &folder) {
        QTest::newRow(name) << Doc("<folder>" + folder + "</folder>") << document << kNodeError
                            << QStringLiteral("F0  |  | 0 0\n");
    };
    failing("prefixed field holding an element", "<bookmark><v:title><a/></v:title></bookmark>");
    failing("field holding a processing instruction", "<description><?pi x?></description>");
    failing("field holding text and CDATA", "<bookmark><title>a<![CDATA[b]]></title></bookmark>");

    const QString today = QStringLiteral("F0  |  | 0 0\nB1  |  |  | today | \n");
    QTest::newRow("empty fields keep the defaults")
        << Doc("<folder><title/><expanded></expanded><bookmark><adddate/><lastvisit></lastvisit>"
               "</bookmark></folder>")
        << stream << QString() << today;
    QTest::newRow("empty CDATA keeps the default")
        << Doc("<folder><bookmark><adddate><![CDATA[]]></adddate></bookmark></folder>")
        << document << QString() << today;
    QTest::newRow("other letter case or a prefix: no folder, no bookmark")
        << Doc("<Folder><title>no</title></Folder><x:folder><title>no</title></x:folder>"
               "<folder><title>yes</title><BOOKMARK/><x:bookmark/></folder>")
        << stream << QString() << QStringLiteral("F0 yes |  | 0 0\n");
    // Our choice: such a bookmark has no folder to go into and is skipped unread.
    QTest::newRow("bookmark under the document element")
        << Doc("<bookmark><title>lost</title></bookmark><folder><title>A</title></folder>")
        << stream << QString() << QStringLiteral("F0 A |  | 0 0\n");
    QTest::newRow("bookmark under the document element, unread")
        << Doc("<bookmark><title><!-- x --></title></bookmark><folder><title>A</title></folder>")
        << document << QString() << QStringLiteral("F0 A |  | 0 0\n");
    QTest::newRow("hexadecimal digits in capitals")
        << Doc("<folder><title>&#x4A;&#x4a;</title></folder>") << stream << QString()
        << QStringLiteral("F0 JJ |  | 0 0\n");

    const QString text = QStringLiteral("<varnokel_file><folder><title>Café € 日本</title>"
                                        "</folder></varnokel_file>");
    const QString cafe = QStringLiteral("F0 Café € 日本 |  | 0 0\n");
    QTest::newRow("UTF-16BE, mark and declaration")
        << Encoded(QStringConverter::Utf16BE,
                   "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + text)
        << document << QString() << cafe;
    QTest::newRow("UTF-32LE, mark") << Encoded(QStringConverter::Utf32LE, text) << document
                                    << QString() << cafe;
    for (const char *name : {"utf8", "US-ASCII"})
        QTest::newRow(name) << "<?xml version='1.0' encoding='" + QByteArray(name) + "'?>"
                + text.toUtf8() << stream << QString() << cafe;
    QTest::newRow("ISO-8859-1, blanks in the declaration")
        << QByteArray("<?xml version=\"1.0\" encoding = \"ISO-8859-1\" ?>\n"
                      "<varnokel_file><folder><title>Caf\xE9</title></folder></varnokel_file>")
        << document << QString() << QStringLiteral("F0 Café |  | 0 0\n");
    QTest::newRow("error line cut at 40 characters")
        << QByteArray("<varnokel_file>\n<folder><title>Ünïcödé title that runs on</title>"
                      "<a b=>\n</varnokel_file>")
        << document
        << QStringLiteral("Error parsing element attribute\nLine: 2\n"
                          "<folder><title>Ünïcödé title that runs o")
        << QString();
    // Once taken for UTF-16 for its "\0<" and shown as nonsense.
    QTest::newRow("NUL in front: no UTF-16")
        << QByteArray(1, '\0') + "<varnokel_file>\n<folder/>\n</varnokel_file>" << document
        << QStringLiteral("Character U+0000 not allowed in XML\nLine: 1\n") + QChar(0)
            + QStringLiteral("<varnokel_file>")
        << QString();
    QTest::newRow("UTF-16 without a mark") << Encoded(QStringConverter::Utf16LE, text).mid(2)
                                           << document << QString() << cafe;
    QTest::newRow("declaration that ends after encoding=")
        << QByteArray("<?xml version=\"1.0\" encoding=") << document
        << QStringLiteral("Error parsing document declaration/processing instruction\nLine: 1\n"
                          "<?xml version=\"1.0\" encoding=")
        << QString();
}

void TestCatalogFile::readingRules()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, reader);
    QFETCH(QString, error);
    QFETCH(QString, tree);
    QCOMPARE(Read(Write(input)),
             QStringLiteral("read by: %1\nerror: %2\n%3").arg(reader, error, tree));
}

void TestCatalogFile::notWellFormedFilesFailWhole_data()
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
    fails("second document element",
          "<varnokel_file>\n<folder><title>A</title></folder>\n</varnokel_file>\n<varnokel_file/>\n",
          "More than one document element", 4);
    fails("folder after the document element",
          "<varnokel_file/>\r\n  <folder><title>lost</title></folder>", "More than one document element",
          2);
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
    fails("Latin-1 in the declaration", "<?xml version=\"1.0\" x=\"\xE9\"?>\n<varnokel_file/>", utf8, 1);
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
void TestCatalogFile::notWellFormedFilesFailWhole()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, error);
    QCOMPARE(Read(Write(input)), QStringLiteral("read by: document\nerror: %1\n").arg(error));
}

void TestCatalogFile::leadingFeffStays_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("tree");
    // Each field, in its turn, begins with U+FEFF.
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
            const QString name = QStringLiteral("%1, %2").arg(fields[field], *feff == '&'
                                                                  ? "reference" : "raw");
            QTest::newRow(qPrintable(name + ", streamed")) << Doc(folder) << "stream" << tree;
            QTest::newRow(qPrintable(name + ", parsed"))
                << Doc("<!-- -->" + folder) << "document" << tree;
        }
    }
    QTest::newRow("after the file's own mark")
        << "\xEF\xBB\xBF" + Doc("<folder><title>\xEF\xBB\xBF\xEF\xBB\xBF" "F</title></folder>")
        << "stream" << QStringLiteral("F0 \uFEFF\uFEFFF |  | 0 0\n");
}

// Only a mark at the very start of the file is a byte-order mark. A fault once
// met: the readers dropped it from a field, and a title that began with it merged
// as another title on the next import.
void TestCatalogFile::leadingFeffStays()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, reader);
    QFETCH(QString, tree);
    QCOMPARE(Read(Write(input)), QStringLiteral("read by: %1\nerror: \n%2").arg(reader, tree));
}

void TestCatalogFile::missingFileOrFolderChangesNothing()
{
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("kept"));
    catalog.LoadFromFile(m_dir.filePath(QStringLiteral("missing.xml")));
    catalog.LoadFromFile(m_dir.path());
    QCOMPARE(Titles(catalog.Folders()), QStringList({"kept"}));
}

void TestCatalogFile::deepAndHugeFilesLoad_data()
{
    QTest::addColumn<bool>("streamed"); // else a comment leaves it to the document reader
    QTest::addColumn<bool>("deep");
    QTest::newRow("100,000 deep, streamed") << true << true;
    QTest::newRow("100,000 deep, parsed") << false << true;
    QTest::newRow("huge title, streamed") << true << false;
    QTest::newRow("huge title, parsed") << false << false;
}

// A title of 128 blocks of the streaming reader, or folders 100,000 deep, in a
// file far larger than the start that holds its declaration.
void TestCatalogFile::deepAndHugeFilesLoad()
{
    QFETCH(bool, streamed);
    QFETCH(bool, deep);
    const int depth = deep ? 100000 : 1;
    const QByteArray huge(8 << 20, 'x');
    QByteArray text = "<?xml version=\"1.0\"?>\r\n<varnokel_file>";
    text += streamed ? "" : "<!-- -->";
    for (int i = 0; i < depth; ++i)
        text += "<folder><title>" + (deep ? QByteArray::number(i) : huge) + "</title>";
    text += "<bookmark><title>deepest</title></bookmark>" + QByteArray("</folder>").repeated(depth)
        + "</varnokel_file>";
    const QString path = Write(text);
    TCatalog catalog;
    QCOMPARE(ReadCatalogStream(path, catalog.Folders()), streamed);
    if (!streamed)
        ReadCatalogDocument(path, catalog.Folders());
    QCOMPARE(catalog.GetFolderCount(), depth);
    const TFolder *deepest = catalog.Folders().At(0);
    while (!deepest->Folders().IsEmpty())
        deepest = deepest->Folders().At(0);
    QCOMPARE(deepest->Title(), deep ? QString::number(depth - 1) : QString::fromLatin1(huge));
    QCOMPARE(Titles(deepest->Bookmarks()), QStringList({"deepest"}));
}

// Every prefix of a saved file either loads (a prefix that is a whole document)
// or fails with a message, and so does random junk; none crashes.
void TestCatalogFile::truncatedFilesAndJunkLoadOrFail()
{
    QFile example(QStringLiteral(VK_TEST_DATA "/example.xml"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    const QByteArray whole = example.readAll();
    QList<QByteArray> inputs;
    for (qsizetype size = 0; size < whole.size(); ++size)
        inputs << whole.left(size);
    QRandomGenerator random(1234);
    for (int size : {1, 17, 4096, 1 << 20}) {
        inputs << QByteArray(size, Qt::Uninitialized);
        for (char &c : inputs.last())
            c = char(random.bounded(256));
    }
    int loaded = 0;
    for (const QByteArray &input : inputs) {
        const QString found = Read(Write(input));
        QVERIFY2(found.startsWith(QLatin1String("read by: ")), qPrintable(found.left(300)));
        loaded += found.section(u'\n', 1, 1) == QLatin1String("error: ");
    }
    QCOMPARE(loaded, 2); // the document less its final CR LF, or less its LF
}

void TestCatalogFile::errorLineFoundBeyondTheFirstBlock_data()
{
    QTest::addColumn<QStringConverter::Encoding>("encoding");
    QTest::addColumn<QString>("split"); // a character that the block's end cuts in two
    QTest::newRow("UTF-8") << QStringConverter::Utf8 << QStringLiteral("€");
    QTest::newRow("UTF-16") << QStringConverter::Utf16LE << QStringLiteral("😀");
}

// The parse changes the text in place, so the line of an error is read again from
// the file, a block at a time (it once was a second copy of the whole file).
void TestCatalogFile::errorLineFoundBeyondTheFirstBlock()
{
    QFETCH(QStringConverter::Encoding, encoding);
    QFETCH(QString, split);
    const bool utf8 = encoding == QStringConverter::Utf8;
    const qsizetype mark = Encoded(encoding, QString()).size();
    // The bytes read start after a UTF-8 mark and before any other; the text before
    // the split character is ASCII.
    const qsizetype blockEnd = (utf8 ? mark : 0) + 64 * 1024;
    const qsizetype at = (blockEnd - (utf8 ? 1 : 2) - mark) / (utf8 ? 1 : 2);
    QString text = QStringLiteral("<varnokel_file>\r\n");
    const QString filler = QStringLiteral("<folder/>\r\n");
    text += filler.repeated((at - text.size() - 25) / filler.size());
    const QString head = QStringLiteral("<folder><title>");
    const QString line = head + QString(at - text.size() - head.size(), u'x') + split + "<a b=>";
    const int number = int(text.count(u'\n')) + 1;
    text += line + QStringLiteral("\r\n</folder></varnokel_file>");
    QCOMPARE(Read(Write(Encoded(encoding, text))),
             QStringLiteral("read by: document\nerror: Error parsing element attribute\n"
                            "Line: %1\n%2\n").arg(number).arg(line.left(40)));
}

void TestCatalogFile::failedLoadKeepsTheFile_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("before"); // files there before the load
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("lines"); // after the load's own message
    QFile example(QStringLiteral(VK_TEST_DATA "/example.xml"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    // Cut as a crash of another program left it; the next save then replaced it.
    const QByteArray cut = example.readAll().chopped(100);
    const QString kept = QStringLiteral("\nThe file was kept as DIR/bookmarks.xml.damaged");
    const QString old = QStringLiteral("state/varnokel/bookmarks.xml.before-save");
    QTest::newRow("cut file") << cut << QStringList() << "bookmarks.xml.damaged" << kept + ".";
    QTest::newRow("a failing field")
        << Doc("<folder><selected>yes</selected></folder>") << QStringList()
        << "bookmarks.xml.damaged" << kept + ".";
    QTest::newRow("an earlier copy stays") << cut << QStringList({"bookmarks.xml.damaged"})
                                           << "bookmarks.xml.damaged.2" << kept + ".2.";
    QTest::newRow("an interrupted save's old file")
        << cut << QStringList({old}) << "bookmarks.xml.damaged"
        << kept + ".\nThe file as it was before an interrupted save is at DIR/" + old + ".";
    QTest::newRow("a file that loads is not copied")
        << Doc("<folder/>") << QStringList({old}) << QString() << QString();
}

void TestCatalogFile::failedLoadKeepsTheFile()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, before);
    QFETCH(QString, copy);
    QFETCH(QString, lines);
    QTemporaryDir dir(ScratchTemplate());
    qputenv("XDG_STATE_HOME", dir.filePath("state").toUtf8());
    const QString file = dir.filePath("bookmarks.xml");
    WriteFileBytes(file, input);
    for (const QString &name : before)
        WriteFileBytes(dir.filePath(name), "earlier");
    TCatalog plain, kept;
    AddFolder(plain.Folders(), QStringLiteral("kept"));
    AddFolder(kept.Folders(), QStringLiteral("kept"));
    const QString error = ErrorOf([&] { plain.LoadFromFile(file); });
    QCOMPARE(ErrorOf([&] { LoadCatalogFile(kept, file); }),
             error + QString(lines).replace("DIR", dir.path()));
    QCOMPARE(Outline(kept), Outline(plain)); // what was read before the failure stays
    const QStringList copies = before.filter(".damaged") + QStringList(copy).filter(".damaged");
    QCOMPARE(QDir(dir.path()).entryList({"*.damaged*"}, QDir::Files), copies);
    if (!copy.isEmpty())
        QCOMPARE(ReadFileBytes(dir.filePath(copy)), input);
    for (const QString &name : before)
        QCOMPARE(ReadFileBytes(dir.filePath(name)), "earlier");
}

QTEST_GUILESS_MAIN(TestCatalogFile)
#include "tst_catalogfile.moc"
