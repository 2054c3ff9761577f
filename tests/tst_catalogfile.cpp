// Reading the catalogue file: the reading rules, failures and the partial tree they
// leave, encodings, and inputs that must never crash (tst_catalogfilewriter.cpp
// covers the saving). Each input is read by both readers: the streaming reader
// must read a file to the document reader's tree or leave it untouched.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFile.h"
#include "catalogue/CatalogFileReaders.h"
#include "platform/AtomicFile.h"
#include "platform/UserFolders.h"
#include "tests/CatalogFileReading.h"
#include "tests/CatalogOutline.h"
#include "tests/CatalogTree.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>

namespace {

const QString kBooleanError =
    QStringLiteral("Could not convert variant of type (OleStr) into type (Boolean)");
const QString kNodeError = QStringLiteral("Element does not contain a single text node");

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
    void missingFileOrFolderChangesNothing();
    void deepAndHugeFilesLoad_data();
    void deepAndHugeFilesLoad();
    void truncatedFilesAndJunkLoadOrFail();
    void errorLineFoundBeyondTheFirstBlock_data();
    void errorLineFoundBeyondTheFirstBlock();
    void failedLoadKeepsTheFile_data();
    void failedLoadKeepsTheFile();
    void killedInPlaceSaveNeverLoadsTorn_data();
    void killedInPlaceSaveNeverLoadsTorn();

private:
    QString Write(const QByteArray &bytes) { return m_files.Write(bytes); }
    QString Read(const QString &path) { return m_files.Read(path); }

    CatalogTestFiles m_files;
};

void TestCatalogFile::initTestCase()
{
    QVERIFY(m_files.IsValid());
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

void TestCatalogFile::missingFileOrFolderChangesNothing()
{
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("kept"));
    catalog.LoadFromFile(m_files.Dir().filePath(QStringLiteral("missing.xml")));
    catalog.LoadFromFile(m_files.Dir().path());
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
    QTest::newRow("cut file") << cut << QStringList() << "bookmarks.xml.damaged" << kept + ".";
    QTest::newRow("a failing field")
        << Doc("<folder><selected>yes</selected></folder>") << QStringList()
        << "bookmarks.xml.damaged" << kept + ".";
    QTest::newRow("an earlier copy stays") << cut << QStringList({"bookmarks.xml.damaged"})
                                           << "bookmarks.xml.damaged.2" << kept + ".2.";
    QTest::newRow("a file that loads is not copied")
        << Doc("<folder/>") << QStringList() << QString() << QString();
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
    // A failing field once left the folders before it, and the next save wrote them alone.
    QCOMPARE(AddedOutline(kept), copy.isEmpty() ? AddedOutline(plain) : QString());
    const QStringList copies = before.filter(".damaged") + QStringList(copy).filter(".damaged");
    QCOMPARE(QDir(dir.path()).entryList({"*.damaged*"}, QDir::Files), copies);
    if (!copy.isEmpty())
        QCOMPARE(ReadFileBytes(dir.filePath(copy)), input);
    for (const QString &name : before)
        QCOMPARE(ReadFileBytes(dir.filePath(name)), "earlier");
}

namespace {

// A catalogue of one folder of `count` bookmarks named after `mark`.
QByteArray CatalogBytes(const QString &fileName, int count, const QString &mark)
{
    TCatalog catalog;
    TFolder *folder = AddFolder(catalog.Folders(), QStringLiteral("Reading"));
    for (int i = 0; i < count; ++i)
        AddBookmark(folder->Bookmarks(), QStringLiteral("%1 %2").arg(mark).arg(i))
            ->SetAddress(QStringLiteral("https://example.org/%1/%2").arg(mark).arg(i));
    catalog.SaveToFile(fileName);
    return ReadFileBytes(fileName);
}

// Saves contents over fileName in place (its folder refusing temporary files) in a
// child process that its n-th step ends as a kill would; at a write to the file,
// after the first `pages` pages of it. False when the save got through.
bool SaveKilledAt(const QString &fileName, const QByteArray &contents, int n, int pages)
{
    const pid_t child = fork();
    if (child == 0) {
        const QString folder = QFileInfo(fileName).path();
        SetSaveStepHook([&, steps = 0](SaveStep step, const QString &path) mutable {
            if (step == SaveStep::CreateTemporary && QFileInfo(path).path() == folder)
                return EACCES;
            if (++steps == n && step == SaveStep::Write && path == fileName)
                TearFile(fileName, contents.left(pages * 4096));
            if (steps == n)
                ::raise(SIGKILL);
            return 0;
        });
        _exit(TryWriteFileAtomically(fileName, contents).isEmpty() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

QString LoadedOutline(const QString &fileName, QString *message = nullptr)
{
    TCatalog catalog;
    const QString error = ErrorOf([&] {
        const QString said = LoadCatalogFile(catalog, fileName);
        if (message)
            *message = said;
    });
    return error.isEmpty() ? CatalogOutline(catalog, kWholeOutline) : "error: " + error;
}

} // namespace

void TestCatalogFile::killedInPlaceSaveNeverLoadsTorn_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("longer") << 60 << 90;
    QTest::newRow("shorter") << 90 << 60;
}

// A kill in the in-place write left a catalogue that began new and went on old;
// the next start loaded it, often without a word, as neither the old nor the new one.
void TestCatalogFile::killedInPlaceSaveNeverLoadsTorn()
{
    QFETCH(int, before);
    QFETCH(int, after);
    QTemporaryDir dir(ScratchTemplate());
    qputenv("XDG_STATE_HOME", dir.filePath("state").toUtf8());
    const QString file = dir.filePath("bookmarks.xml");
    const QByteArray contents = CatalogBytes(dir.filePath("new.xml"), after, "new");
    const QByteArray old = CatalogBytes(file, before, "old");
    const QString oldOutline = LoadedOutline(file);
    const QString newOutline = LoadedOutline(dir.filePath("new.xml"));
    const int pages = int(qMax(old.size(), contents.size()) / 4096) + 1;
    QVERIFY(pages > 2 && oldOutline != newOutline);
    int torn = 0;
    int n = 1;
    for (bool killed = true; killed; ++n) {
        for (int page = 0; page <= pages && killed; ++page) {
            killed = SaveKilledAt(file, contents, n, page);
            const QByteArray left = ReadFileBytes(file);
            const bool wasTorn = left != old && left != contents;
            torn += wasTorn;
            QString message;
            const QString at = QStringLiteral("step %1, page %2").arg(n).arg(page);
            QVERIFY2(LoadedOutline(file, &message) == (left == contents ? newOutline : oldOutline),
                     qPrintable(at));
            QCOMPARE(ReadFileBytes(file + ".damaged"), wasTorn ? left : "<missing>");
            QVERIFY2(message.contains(file + ".damaged") == wasTorn, qPrintable(at));
            QVERIFY2(message.contains(file + " ") == wasTorn, qPrintable(at));
            QFile::remove(file + ".damaged");
            RemoveSaveLeftovers(file);
            QCOMPARE(QDir(StateFolder()).entryList(QDir::Files | QDir::Hidden), {});
            WriteFileBytes(file, killed ? old : contents);
        }
    }
    QVERIFY2(n > 10, "the steps of the copy, the record and the write");
    QVERIFY(torn >= pages - 1);
}

QTEST_GUILESS_MAIN(TestCatalogFile)
#include "tst_catalogfile.moc"
