// Saving the catalogue file: the layout, texts that must come back unchanged, and
// saves that fail without harming the file that was there.
#include "catalogue/Catalog.h"
#include "tests/CatalogOutline.h"
#include "tests/CatalogTree.h"
#include "tests/FileSizeLimit.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/fsuid.h>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Root passes every permission check. While this lives, file access is checked as
// the unprivileged user "nobody" (changing the file-system user id drops the
// capabilities that override permissions), so a read-only folder stays read-only.
class AsNobody
{
public:
    AsNobody() : m_root(geteuid() == 0)
    {
        if (m_root)
            setfsuid(65534);
    }
    ~AsNobody()
    {
        if (m_root)
            setfsuid(0);
    }
    AsNobody(const AsNobody &) = delete;
    AsNobody &operator=(const AsNobody &) = delete;

private:
    bool m_root;
};

void SetAllFields(TCatalog &catalog, const QString &text)
{
    TFolder *folder = AddFolder(catalog.Folders(), text);
    folder->SetDescription(text);
    folder->SetSelected(true);
    TBookmark *b = AddBookmark(folder->Bookmarks(), text);
    b->SetAddress(text);
    b->SetDescription(text);
    b->SetAddDate(text);
    b->SetLastVisit(text);
}

} // namespace

class TestCatalogFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void emptyCatalogueIsTheDocumentElementAlone();
    void everyFieldIsWrittenAlsoWhenEmpty();
    void textsComeBackUnchanged_data();
    void textsComeBackUnchanged();
    void controlCharactersAreDropped();
    void blankValuesComeBackEmpty_data();
    void blankValuesComeBackEmpty();
    void nulIsDropped();
    void orderAndNestingComeBack();
    void indentationStopsGrowingDeepDown();
    void savingReplacesTheWholeFile();
    void failedSaveKeepsThePreviousFile_data();
    void failedSaveKeepsThePreviousFile();

private:
    // Saves and loads the catalogue again; the outline of what came back.
    QString RoundTrip(const TCatalog &catalog);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void TestCatalogFileWriter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = m_dir->filePath(QStringLiteral("bookmarks.xml"));
}

QString TestCatalogFileWriter::RoundTrip(const TCatalog &catalog)
{
    catalog.SaveToFile(m_file);
    TCatalog loaded;
    loaded.LoadFromFile(m_file);
    return CatalogOutline(loaded, kWholeOutline);
}

void TestCatalogFileWriter::emptyCatalogueIsTheDocumentElementAlone()
{
    TCatalog catalog;
    catalog.SaveToFile(m_file);
    QCOMPARE(ReadAll(m_file), QByteArray("<varnokel_file/>\r\n"));
    catalog.LoadFromFile(m_file);
    QCOMPARE(catalog.Folders().Count(), 0);
}

void TestCatalogFileWriter::everyFieldIsWrittenAlsoWhenEmpty()
{
    TCatalog catalog;
    AddBookmark(AddFolder(catalog.Folders(), QString())->Bookmarks(), QString())->SetAddDate({});
    catalog.SaveToFile(m_file);
    QCOMPARE(ReadAll(m_file), QByteArray("<varnokel_file>\r\n"
                                         "  <folder>\r\n"
                                         "    <title/>\r\n"
                                         "    <description/>\r\n"
                                         "    <selected>0</selected>\r\n"
                                         "    <expanded>0</expanded>\r\n"
                                         "    <bookmark>\r\n"
                                         "      <title/>\r\n"
                                         "      <address/>\r\n"
                                         "      <description/>\r\n"
                                         "      <adddate/>\r\n"
                                         "      <lastvisit/>\r\n"
                                         "    </bookmark>\r\n"
                                         "  </folder>\r\n"
                                         "</varnokel_file>\r\n"));
    // An empty add date comes back as the day of loading.
    QCOMPARE(RoundTrip(catalog), "F0  |  | 0 0\nB1  |  |  | " + TodayText() + " | \n");
}

void TestCatalogFileWriter::textsComeBackUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("markup") << QStringLiteral("a & b < c > d \"e\" 'f' &amp; ]]> <!-- x -->");
    QTest::newRow("non-ASCII") << QStringLiteral("Café Straße 日本語 😀 \u00A0");
    QTest::newRow("carriage return") << QStringLiteral("first\rsecond");
    QTest::newRow("CR LF") << QStringLiteral("first\r\nsecond\r\n");
    QTest::newRow("LF and tab") << QStringLiteral("\tfirst\nsecond\t");
    QTest::newRow("blanks around") << QStringLiteral("  padded  ");
    QTest::newRow("long") << QString(20000, QLatin1Char('y'));
}

// A fault once met: a carriage return in a description came back as a line
// feed, and control characters made the file unreadable.
void TestCatalogFileWriter::textsComeBackUnchanged()
{
    QFETCH(QString, text);
    TCatalog catalog;
    SetAllFields(catalog, text);
    AddFolder(catalog.Folders(), QStringLiteral("second"))->SetExpanded(true);
    QCOMPARE(RoundTrip(catalog), CatalogOutline(catalog, kWholeOutline));
    // Every CR in the file ends a line; the others are references.
    QVERIFY(!ReadAll(m_file).replace("\r\n", "").contains('\r'));
}

// A fault once met: control characters were written as references that XML 1.0
// forbids, so other XML tools refused the catalogue file.
void TestCatalogFileWriter::controlCharactersAreDropped()
{
    TCatalog catalog;
    SetAllFields(catalog, QStringLiteral("a\x01" "b\x1F" "c\x7F" "d\x0B" "e\tf"));
    RoundTrip(catalog);
    const QByteArray file = ReadAll(m_file);
    for (char c = 1; c < 0x20; ++c)
        if (c != '\t' && c != '\n' && c != '\r')
            QVERIFY2(!file.contains(c) && !file.contains("&#" + QByteArray::number(c) + ";"),
                     qPrintable(QString::number(c)));
    TCatalog loaded;
    loaded.LoadFromFile(m_file);
    QCOMPARE(loaded.Folders().At(0)->Title(), QStringLiteral("abc\x7F" "de\tf"));
}

void TestCatalogFileWriter::blankValuesComeBackEmpty_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("blank") << QStringLiteral(" ");
    QTest::newRow("tab") << QStringLiteral("\t");
    QTest::newRow("line breaks") << QStringLiteral("\r\n \n\r");
}

void TestCatalogFileWriter::blankValuesComeBackEmpty()
{
    QFETCH(QString, text);
    TCatalog catalog;
    SetAllFields(catalog, text);
    QCOMPARE(RoundTrip(catalog), "F0  |  | 1 0\nB1  |  |  | " + TodayText() + " | \n");
}

void TestCatalogFileWriter::nulIsDropped()
{
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    QCOMPARE(RoundTrip(catalog), QStringLiteral("F0 ab |  | 0 0\n"));
}

void TestCatalogFileWriter::orderAndNestingComeBack()
{
    TCatalog catalog;
    for (const char *root : {"B", "A", "C"}) {
        TFolder *folder = AddFolder(catalog.Folders(), QString::fromLatin1(root));
        AddBookmarks(folder->Bookmarks(), {"z", "y", "x"});
        TFolder *sub = AddFolder(folder->Folders(), QStringLiteral("sub2"));
        AddFolder(sub->Folders(), QStringLiteral("subsub"))->SetSelected(true);
        AddBookmark(AddFolder(folder->Folders(), QStringLiteral("sub1"))->Bookmarks(), "w");
    }
    QCOMPARE(RoundTrip(catalog), CatalogOutline(catalog, kWholeOutline));
}

// A tree nested 100,000 deep would otherwise make a file of some 60 GB.
void TestCatalogFileWriter::indentationStopsGrowingDeepDown()
{
    TCatalog catalog;
    TFolders *list = &catalog.Folders();
    for (int level = 1; level <= 40; ++level)
        list = &AddFolder(*list, QStringLiteral("L%1").arg(level))->Folders();
    catalog.SaveToFile(m_file);
    const QList<QByteArray> lines = ReadAll(m_file).split('\n');
    const auto indentOf = [&lines](const QByteArray &title) {
        for (const QByteArray &line : lines)
            if (line.trimmed() == "<title>" + title + "</title>")
                return int(line.indexOf('<'));
        return -1;
    };
    QCOMPARE(indentOf("L1"), 4);
    QCOMPARE(indentOf("L31"), 64);
    QCOMPARE(indentOf("L32"), 64);
    QCOMPARE(indentOf("L40"), 64);
    QCOMPARE(RoundTrip(catalog), CatalogOutline(catalog, kWholeOutline));
}

void TestCatalogFileWriter::savingReplacesTheWholeFile()
{
    QFile old(m_file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(10000, 'x'));
    old.close();
    TCatalog catalog;
    catalog.SaveToFile(m_file);
    QCOMPARE(ReadAll(m_file), QByteArray("<varnokel_file/>\r\n"));
}

void TestCatalogFileWriter::failedSaveKeepsThePreviousFile_data()
{
    QTest::addColumn<QString>("cause");
    QTest::newRow("disk full") << "full";
    QTest::newRow("read-only folder") << "read-only";
    QTest::newRow("missing folder") << "missing";
}

// The save is atomic: a write that fails leaves the previous file as it was,
// and the error names the file.
void TestCatalogFileWriter::failedSaveKeepsThePreviousFile()
{
    QFETCH(QString, cause);
    TCatalog previous;
    SetAllFields(previous, QStringLiteral("previous"));
    const QString folder = m_dir->filePath(QStringLiteral("programs"));
    QVERIFY(QDir().mkpath(folder));
    QString target = folder + QStringLiteral("/bookmarks.xml");
    previous.SaveToFile(target);
    const QByteArray before = ReadAll(target);

    TCatalog catalog;
    for (int i = 0; i < 200; ++i)
        SetAllFields(catalog, QStringLiteral("new text %1").arg(i));
    QString error;
    if (cause == QLatin1String("full")) {
        const FileSizeLimit limit(before.size() + 100);
        error = ErrorOf([&] { catalog.SaveToFile(target); });
    } else if (cause == QLatin1String("read-only")) {
        QFile::setPermissions(m_dir->path(), QFile::Permissions(0x7555));
        QFile::setPermissions(folder, QFile::Permissions(0x5555));
        {
            const AsNobody nobody;
            error = ErrorOf([&] { catalog.SaveToFile(target); });
        }
        QFile::setPermissions(folder, QFile::Permissions(0x7755));
    } else {
        target = folder + QStringLiteral("/missing/bookmarks.xml");
        error = ErrorOf([&] { catalog.SaveToFile(target); });
    }
    QVERIFY2(error.startsWith(QStringLiteral("Unable to write to ")
                              + QDir::toNativeSeparators(target)),
             qPrintable(error));
    QCOMPARE(ReadAll(folder + QStringLiteral("/bookmarks.xml")), before);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({"bookmarks.xml"}));
}

QTEST_GUILESS_MAIN(TestCatalogFileWriter)
#include "tst_catalogfilewriter.moc"
