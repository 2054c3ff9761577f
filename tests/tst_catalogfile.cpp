// Reading the catalogue file: the reading rules, failures and the partial tree they
// leave, encodings, and inputs that must never crash (tst_catalogfilewriter.cpp
// covers the layout and the saving).
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileReaders.h"
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

QString Outline(const TCatalog &catalog)
{
    return CatalogOutline(catalog, kWholeOutline);
}

} // namespace

class TestCatalogFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsTheExampleAndSavesItByteForByte();
    void missingFileChangesNothing();
    void loadingAppendsToTheRootFolders();
    void readsFlags_data();
    void readsFlags();
    void fieldHoldingMoreThanOneTextFails_data();
    void fieldHoldingMoreThanOneTextFails();
    void readsFieldValues_data();
    void readsFieldValues();
    void emptyFieldsKeepTheDefaults();
    void elementNamesMatchExactly();
    void fieldsMayStandAfterTheContents();
    void documentElementFolderGivesItsSubFoldersAsRoots();
    void bookmarkUnderTheDocumentElementIsSkipped();
    void otherDocumentElementGivesAnEmptyCatalogue();
    void failureLeavesThePartialTree();
    void parseErrorNamesReasonLineAndText_data();
    void parseErrorNamesReasonLineAndText();
    void readsEncodingsNamedByMarkOrDeclaration_data();
    void readsEncodingsNamedByMarkOrDeclaration();
    void eightBitEncodingsAndUnknownOnes();
    void binaryJunkFails();
    void truncatedFilesLoadOrFail();
    void hugeTitleLoads();
    void treeNestedDeepLoadsSavesAndFrees();
    void fixturesLoadAsTheyDid_data();
    void fixturesLoadAsTheyDid();
    void streamingReaderTakesWhatTheWriterWrites();

private:
    QString Write(const QByteArray &bytes);
    // The error that loading bytes into the catalogue raises; empty when none.
    QString Load(TCatalog &catalog, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCatalogFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestCatalogFile::Write(const QByteArray &bytes)
{
    const QString path = m_dir->filePath(QStringLiteral("bookmarks.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString TestCatalogFile::Load(TCatalog &catalog, const QByteArray &bytes)
{
    const QString path = Write(bytes);
    return ErrorOf([&] { catalog.LoadFromFile(path); });
}

void TestCatalogFile::readsTheExampleAndSavesItByteForByte()
{
    const QString example = QStringLiteral(VK_TEST_DATA "/example.xml");
    TCatalog catalog;
    catalog.LoadFromFile(example);
    QCOMPARE(CatalogOutline(catalog, kWholeOutline),
             "F0 Reading | Articles to read later | 1 1\n"
             "B1 Shopping list | C:\\Notes\\list.html |  | 2005.11.20 | \n"
             "F1 Archive |  | 0 0\n");
    const QString saved = m_dir->filePath(QStringLiteral("saved.xml"));
    catalog.SaveToFile(saved);
    QFile a(example), b(saved);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(b.readAll(), a.readAll());
}

void TestCatalogFile::missingFileChangesNothing()
{
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("kept"));
    catalog.LoadFromFile(m_dir->filePath(QStringLiteral("missing.xml")));
    catalog.LoadFromFile(m_dir->path()); // a folder is no file either
    QCOMPARE(Titles(catalog.Folders()), QStringList({"kept"}));
}

void TestCatalogFile::loadingAppendsToTheRootFolders()
{
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("kept"));
    QCOMPARE(Load(catalog, Doc("<folder><title>read</title></folder>")), QString());
    QCOMPARE(Titles(catalog.Folders()), QStringList({"kept", "read"}));
}

void TestCatalogFile::readsFlags_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected"); // "1", "0" or the error
    for (const char *text : {"-1", "1", "2", "0.5", "TRUE", "true", "True", " 1 ", "1e3", "+3"})
        QTest::newRow(text) << QByteArray(text) << QStringLiteral("1");
    for (const char *text : {"0", "0.0", "FALSE", "false", "-0", "0e5"})
        QTest::newRow(text) << QByteArray(text) << QStringLiteral("0");
    for (const char *text : {"yes", "on", "1x", "t", "-"})
        QTest::newRow(text) << QByteArray(text) << kBooleanError;
}

void TestCatalogFile::readsFlags()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    for (const QByteArray field : {"selected", "expanded"}) {
        TCatalog catalog;
        const QString error = Load(catalog, Doc("<folder><title>F</title><" + field + ">" + text
                                                + "</" + field + "></folder>"));
        QCOMPARE(catalog.Folders().Count(), 1);
        const TFolder *folder = catalog.Folders().GetItem(0);
        const bool flag = field == "selected" ? folder->Selected() : folder->Expanded();
        QCOMPARE(error.isEmpty() ? QString::number(int(flag)) : error, expected);
    }
}

void TestCatalogFile::fieldHoldingMoreThanOneTextFails_data()
{
    QTest::addColumn<QByteArray>("folder");
    QTest::newRow("flag holding only a comment") << QByteArray("<selected><!-- -1 --></selected>");
    QTest::newRow("title holding text and a comment")
        << QByteArray("<title>News<!-- daily --></title>");
    QTest::newRow("title holding an element") << QByteArray("<title><b>News</b></title>");
    QTest::newRow("description holding a processing instruction")
        << QByteArray("<description><?pi x?></description>");
    QTest::newRow("bookmark title holding text and CDATA")
        << QByteArray("<bookmark><title>a<![CDATA[b]]></title></bookmark>");
    QTest::newRow("namespaced field holding an element")
        << QByteArray("<bookmark><v:address><a/></v:address></bookmark>");
}

void TestCatalogFile::fieldHoldingMoreThanOneTextFails()
{
    QFETCH(QByteArray, folder);
    TCatalog catalog;
    QCOMPARE(Load(catalog, Doc("<folder>" + folder + "</folder>")), kNodeError);
}

void TestCatalogFile::readsFieldValues_data()
{
    QTest::addColumn<QByteArray>("bookmark");
    QTest::addColumn<QString>("title");
    QTest::newRow("CDATA") << QByteArray("<title><![CDATA[<News & more>]]></title>")
                           << QStringLiteral("<News & more>");
    QTest::newRow("references")
        << QByteArray("<title>&amp;&lt;&gt;&quot;&apos;&#233;&#x20AC;</title>")
        << QStringLiteral("&<>\"'é€");
    QTest::newRow("two titles, the first counts")
        << QByteArray("<title>first</title><title>second</title>") << QStringLiteral("first");
    QTest::newRow("namespace prefix") << QByteArray("<v:title>prefixed</v:title>")
                                      << QStringLiteral("prefixed");
    QTest::newRow("other case is another name")
        << QByteArray("<Title>other</Title><title>right</title>") << QStringLiteral("right");
    QTest::newRow("attributes ignored") << QByteArray("<title lang=\"en\">News</title>")
                                        << QStringLiteral("News");
    QTest::newRow("blanks kept around text") << QByteArray("<title>  News \t</title>")
                                             << QStringLiteral("  News \t");
    QTest::newRow("whitespace only is no value") << QByteArray("<title> \r\n\t</title>")
                                                 << QString();
    QTest::newRow("empty CDATA is no value") << QByteArray("<title><![CDATA[]]></title>")
                                             << QString();
    QTest::newRow("line break inside text") << QByteArray("<title>a\r\nb</title>")
                                            << QStringLiteral("a\nb");
}

void TestCatalogFile::readsFieldValues()
{
    QFETCH(QByteArray, bookmark);
    QFETCH(QString, title);
    TCatalog catalog;
    QCOMPARE(Load(catalog, Doc("<folder a=\"1\"><bookmark id=\"2\">" + bookmark
                               + "</bookmark></folder>")),
             QString());
    QCOMPARE(catalog.GetBookmarkCount(), 1);
    QCOMPARE(catalog.Folders().GetItem(0)->Bookmarks().GetItem(0)->Title(), title);
}

void TestCatalogFile::emptyFieldsKeepTheDefaults()
{
    TCatalog catalog;
    QCOMPARE(Load(catalog, Doc("<folder><title/><selected/><expanded></expanded><bookmark>"
                               "<title/><adddate/><lastvisit></lastvisit></bookmark>"
                               "</folder>")),
             QString());
    QCOMPARE(CatalogOutline(catalog, kWholeOutline),
             "F0  |  | 0 0\nB1  |  |  | " + TodayText() + " | \n");
}

void TestCatalogFile::elementNamesMatchExactly()
{
    TCatalog catalog;
    QCOMPARE(Load(catalog, Doc("<Folder><title>no</title></Folder>"
                               "<x:folder><title>no</title></x:folder>"
                               "<folder><title>yes</title><BOOKMARK><title>no</title></BOOKMARK>"
                               "<other><folder><title>no</title></folder></other>"
                               "text<!-- comment --><?pi?></folder>")),
             QString());
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 yes | \n"));
}

void TestCatalogFile::fieldsMayStandAfterTheContents()
{
    TCatalog written, moved;
    QCOMPARE(Load(written, Doc("<folder><title>A</title><description>d</description>"
                               "<selected>-1</selected><expanded>-1</expanded>"
                               "<bookmark><title>b</title><address>u</address></bookmark>"
                               "<folder><title>S</title></folder></folder>")),
             QString());
    QCOMPARE(Load(moved, Doc("<folder><bookmark><address>u</address><title>b</title></bookmark>"
                             "<folder><title>S</title></folder><expanded>-1</expanded>"
                             "<selected>-1</selected><description>d</description>"
                             "<title>A</title></folder>")),
             QString());
    QCOMPARE(CatalogOutline(moved, kWholeOutline), CatalogOutline(written, kWholeOutline));
    QCOMPARE(moved.GetFolderCount(), 2);
}

void TestCatalogFile::documentElementFolderGivesItsSubFoldersAsRoots()
{
    TCatalog catalog;
    QCOMPARE(Load(catalog, "<folder><title>own</title><selected>yes</selected>"
                           "<bookmark><title>skipped</title></bookmark>"
                           "<folder><title>A</title><bookmark><title>a</title></bookmark></folder>"
                           "<folder><title>B</title></folder></folder>"),
             QString());
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 A | \nB1 a |  | \nF0 B | \n"));
}

// Our choice: such a bookmark has no folder to go into and is skipped unread.
void TestCatalogFile::bookmarkUnderTheDocumentElementIsSkipped()
{
    TCatalog catalog;
    QCOMPARE(Load(catalog, Doc("<bookmark><title>lost</title></bookmark>"
                               "<bookmark><title><!-- not even read --></title></bookmark>"
                               "<folder><title>A</title></folder>")),
             QString());
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 A | \n"));
}

void TestCatalogFile::otherDocumentElementGivesAnEmptyCatalogue()
{
    TCatalog catalog;
    QCOMPARE(Load(catalog, "<bookmarks><folder><title>A</title></folder></bookmarks>"), QString());
    QCOMPARE(catalog.Folders().Count(), 0);
}

void TestCatalogFile::failureLeavesThePartialTree()
{
    TCatalog catalog;
    const QString error = Load(
        catalog, Doc("<folder><title>first</title><bookmark><title>f</title></bookmark></folder>"
                     "<folder><title>second</title><folder><title>sub</title></folder></folder>"
                     "<folder><title>third</title><description>d</description>"
                     "<bookmark><title>kept</title></bookmark>"
                     "<bookmark><title>dropped</title><lastvisit>a<!--x--></lastvisit></bookmark>"
                     "<folder><title>never read</title></folder></folder>"
                     "<folder><title>fourth</title></folder>"));
    QCOMPARE(error, kNodeError);
    QCOMPARE(CatalogOutline(catalog),
             "F0 first | \nB1 f |  | \nF0 second | \nF1 sub | \n"
             "F0 third | d\nB1 kept |  | \n");

    // A flag that fails inside the third folder: the fields before it are set.
    TCatalog flags;
    QCOMPARE(Load(flags, Doc("<folder/><folder/><folder><expanded>-1</expanded>"
                             "<title>third</title><selected>maybe</selected>"
                             "<bookmark/></folder>")),
             kBooleanError);
    QCOMPARE(CatalogOutline(flags, kWholeOutline),
             QStringLiteral("F0  |  | 0 0\nF0  |  | 0 0\nF0 third |  | 0 0\n"));
}

void TestCatalogFile::parseErrorNamesReasonLineAndText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("lineText");
    QTest::newRow("mismatched end tag")
        << QByteArray("<varnokel_file>\r\n  <folder>\r\n    <title>A</titel>\r\n  </folder>\r\n"
                      "</varnokel_file>\r\n")
        << 3 << QStringLiteral("    <title>A</titel>");
    QTest::newRow("first 40 characters of a long line")
        << QByteArray("<varnokel_file>\n<folder><title>Ünïcödé title that runs on</title>"
                      "<a b=>\n</varnokel_file>")
        << 2 << QStringLiteral("<folder><title>Ünïcödé title that runs o");
    QTest::newRow("empty file") << QByteArray() << 1 << QString();
    QTest::newRow("cut short") << QByteArray("<varnokel_file>\r\n  <folder>\r\n    <title>A")
                               << 3 << QStringLiteral("    <title>A");
}

void TestCatalogFile::parseErrorNamesReasonLineAndText()
{
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, lineText);
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("kept"));
    const QStringList parts = Load(catalog, text).split(QLatin1Char('\n'));
    QCOMPARE(parts.size(), 3);
    QVERIFY(!parts[0].isEmpty());
    QCOMPARE(parts[1], QStringLiteral("Line: %1").arg(line));
    QCOMPARE(parts[2], lineText);
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 kept | \n"));
}

void TestCatalogFile::readsEncodingsNamedByMarkOrDeclaration_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QStringLiteral("<varnokel_file><folder><title>Café € 日本</title>"
                                        "</folder></varnokel_file>");
    const auto encode = [&text](QStringConverter::Encoding encoding, const QString &prefix) {
        QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
        return QByteArray(encoder.encode(prefix + text));
    };
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 with mark") << encode(QStringConverter::Utf8, QString());
    QTest::newRow("UTF-8 declared")
        << ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + text.toUtf8());
    QTest::newRow("UTF-16LE with mark") << encode(QStringConverter::Utf16LE, QString());
    QTest::newRow("UTF-16BE with mark and declaration")
        << encode(QStringConverter::Utf16BE, "<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
    QTest::newRow("UTF-32LE with mark") << encode(QStringConverter::Utf32LE, QString());
}

void TestCatalogFile::readsEncodingsNamedByMarkOrDeclaration()
{
    QFETCH(QByteArray, bytes);
    TCatalog catalog;
    QCOMPARE(Load(catalog, bytes), QString());
    QCOMPARE(Titles(catalog.Folders()), QStringList({"Café € 日本"}));
}

void TestCatalogFile::eightBitEncodingsAndUnknownOnes()
{
    // 8-bit encodings named by the declaration are decoded as they say.
    TCatalog catalog;
    QCOMPARE(Load(catalog, "<?xml version='1.0' encoding='windows-1252'?><varnokel_file>"
                           "<folder><title>Caf\xE9 \x80</title></folder></varnokel_file>"),
             QString());
    QCOMPARE(Load(catalog, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<varnokel_file>"
                           "<folder><title>Caf\xE9</title></folder></varnokel_file>"),
             QString());
    QCOMPARE(Titles(catalog.Folders()), QStringList({"Café €", "Café"}));

    const QString error = Load(catalog, "<?xml version=\"1.0\" encoding=\"x-unheard-of\"?>"
                                        "<varnokel_file/>");
    QVERIFY2(error.contains(QLatin1String("x-unheard-of")), qPrintable(error));
    QVERIFY2(error.contains(QLatin1String("bookmarks.xml")), qPrintable(error));
    QCOMPARE(catalog.Folders().Count(), 2);
}

void TestCatalogFile::binaryJunkFails()
{
    QRandomGenerator random(1234);
    for (int size : {1, 17, 4096, 1 << 20}) {
        QByteArray junk(size, Qt::Uninitialized);
        for (char &c : junk)
            c = char(random.bounded(256));
        TCatalog catalog;
        QVERIFY2(!Load(catalog, junk).isEmpty(), qPrintable(QString::number(size)));
        QCOMPARE(catalog.Folders().Count(), 0);
    }
}

// Every prefix of a saved file either loads (a prefix that is a whole document)
// or fails with a message; none crashes.
void TestCatalogFile::truncatedFilesLoadOrFail()
{
    QFile example(QStringLiteral(VK_TEST_DATA "/example.xml"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    const QByteArray whole = example.readAll();
    int loaded = 0;
    for (qsizetype size = 0; size < whole.size(); ++size) {
        TCatalog catalog;
        if (Load(catalog, whole.left(size)).isEmpty())
            ++loaded;
    }
    QCOMPARE(loaded, 2); // the document less its final CR LF, or less its LF
}

void TestCatalogFile::hugeTitleLoads()
{
    const QByteArray title(50 * 1000 * 1000, 'x');
    TCatalog catalog;
    QCOMPARE(Load(catalog, Doc("<folder><title>" + title + "</title></folder>")), QString());
    QCOMPARE(catalog.Folders().GetItem(0)->Title().size(), title.size());
}

void TestCatalogFile::treeNestedDeepLoadsSavesAndFrees()
{
    constexpr int depth = 100000;
    QByteArray text = "<varnokel_file>";
    for (int i = 0; i < depth; ++i)
        text += "<folder><title>" + QByteArray::number(i) + "</title>";
    text += "<bookmark><title>deepest</title></bookmark>";
    for (int i = 0; i < depth; ++i)
        text += "</folder>";
    text += "</varnokel_file>";

    TCatalog catalog;
    QCOMPARE(Load(catalog, text), QString());
    QCOMPARE(catalog.GetFolderCount(), depth);
    QCOMPARE(catalog.GetBookmarkCount(), 1);
    catalog.SaveUndoState();

    const QString saved = m_dir->filePath(QStringLiteral("saved.xml"));
    catalog.SaveToFile(saved);
    TCatalog reloaded;
    reloaded.LoadFromFile(saved);
    QCOMPARE(CatalogOutline(reloaded, kWholeOutline), CatalogOutline(catalog, kWholeOutline));
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

// Each fixture beside what loading it gave before the streaming reader came:
// "name.txt" holds which reader reads it now, the error and the tree (today's date
// as "today"). The streaming reader takes a file only when the document reader
// reads it to the same tree, and leaves every other untouched, whatever the blocks
// it reads in.
void TestCatalogFile::fixturesLoadAsTheyDid()
{
    QFETCH(QString, input);
    QFile expected(input.chopped(4) + QStringLiteral(".txt"));
    QVERIFY(expected.open(QIODevice::ReadOnly));

    TCatalog streamed, inSmallBlocks, parsed, loaded;
    const bool taken = ReadCatalogStream(input, streamed.Folders());
    QCOMPARE(ReadCatalogStream(input, inSmallBlocks.Folders(), 3), taken);
    QCOMPARE(Outline(inSmallBlocks), Outline(streamed));
    const QString parseError = ErrorOf([&] { ReadCatalogDocument(input, parsed.Folders()); });
    const QString error = ErrorOf([&] { loaded.LoadFromFile(input); });
    QCOMPARE(Outline(streamed), taken ? Outline(parsed) : QString());
    QVERIFY(!taken || parseError.isEmpty());
    QCOMPARE(error, parseError);
    QCOMPARE(Outline(loaded), Outline(parsed));
    const QString found = QStringLiteral("read by: %1\nerror: %2\n%3")
                              .arg(taken ? QStringLiteral("stream") : QStringLiteral("document"),
                                   QString(error).replace(input, QStringLiteral("FILE")),
                                   Outline(loaded).replace(TodayText(), QStringLiteral("today")));
    QCOMPARE(found, QString::fromUtf8(expected.readAll()));
}

// Every character a field can hold, as the writer writes it; a fault here would
// send every load the slow way.
void TestCatalogFile::streamingReaderTakesWhatTheWriterWrites()
{
    QString every;
    for (char16_t u = 1; u < 0x80; ++u)
        every += QChar(u);
    every += QChar(0xD800) + QStringLiteral("é€日本😀\uFFFF ");
    TCatalog catalog;
    TFolder *folder = AddFolder(catalog.Folders(), every);
    folder->SetDescription(QStringLiteral("  "));
    folder->SetSelected(true);
    TBookmark *bookmark = AddBookmark(AddFolder(folder->Folders(), QString())->Bookmarks(), every);
    bookmark->SetAddress(every);
    bookmark->SetDescription(QStringLiteral("a\r\nb\rc"));
    const QString saved = m_dir->filePath(QStringLiteral("saved.xml"));
    catalog.SaveToFile(saved);

    TCatalog streamed, parsed;
    QVERIFY(ReadCatalogStream(saved, streamed.Folders()));
    ReadCatalogDocument(saved, parsed.Folders());
    QCOMPARE(Outline(streamed), Outline(parsed));
    QCOMPARE(streamed.GetBookmarkCount(), 1);
}

QTEST_GUILESS_MAIN(TestCatalogFile)
#include "tst_catalogfile.moc"
