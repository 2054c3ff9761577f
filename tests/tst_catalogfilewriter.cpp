// Saving the catalogue file: the layout, texts that must come back unchanged, and
// saves that fail without harming the file that was there. What the writer writes,
// the streaming reader must take itself: otherwise every load goes the slow way.
#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileReaders.h"
#include "tests/CatalogOutline.h"
#include "tests/CatalogTree.h"
#include "tests/FileSizeLimit.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// A folder and a bookmark holding the text in every field; an empty add date is
// the day of loading.
void AddWithText(TCatalog &catalog, const QString &text)
{
    TFolder *folder = AddFolder(catalog.Folders(), text);
    folder->SetDescription(text);
    folder->SetSelected(true);
    TBookmark *b = AddBookmark(folder->Bookmarks(), text);
    b->SetAddress(text);
    b->SetDescription(text);
    b->SetAddDate(text.isEmpty() ? TodayText() : text);
    b->SetLastVisit(text);
}

} // namespace

class TestCatalogFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void savesTheExampleAsItWas();
    void textsComeBack_data();
    void textsComeBack();
    void treeComesBackAndIndentationStopsGrowing();
    void failedSaveKeepsThePreviousFile();

private:
    // Saves the catalogue and reads it with both readers; the outline of what came
    // back, or what went wrong.
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
    // XML 1.0 allows no other control character, not even as a reference; a CR
    // inside a value is a reference, or it would come back as LF.
    const QByteArray file = ReadAll(m_file).replace("\r\n", "\n");
    for (char c = 1; c < 0x20; ++c) {
        const bool referenced = c != '\r' && file.contains("&#" + QByteArray::number(c) + ';');
        if (c != '\t' && c != '\n' && (file.contains(c) || referenced))
            return QStringLiteral("control character %1 written").arg(int(c));
    }
    TCatalog streamed, inSmallBlocks, parsed;
    if (!ReadCatalogStream(m_file, streamed.Folders())
        || !ReadCatalogStream(m_file, inSmallBlocks.Folders(), 5))
        return QStringLiteral("the streaming reader does not take the file");
    ReadCatalogDocument(m_file, parsed.Folders());
    const QString outline = CatalogOutline(streamed, kWholeOutline);
    if (CatalogOutline(parsed, kWholeOutline) != outline
        || CatalogOutline(inSmallBlocks, kWholeOutline) != outline)
        return QStringLiteral("the readers disagree");
    return outline;
}

// The layout, byte for byte; a save replaces the whole of a longer file.
void TestCatalogFileWriter::savesTheExampleAsItWas()
{
    const QString example = QStringLiteral(VK_TEST_DATA "/example.xml");
    TCatalog catalog;
    catalog.LoadFromFile(example);
    QCOMPARE(catalog.GetBookmarkCount(), 1);
    catalog.SaveToFile(m_file);
    QCOMPARE(ReadAll(m_file), ReadAll(example));
    const TCatalog empty;
    QCOMPARE(RoundTrip(empty), QString());
    QCOMPARE(ReadAll(m_file), QByteArray("<varnokel_file/>\r\n"));
}

void TestCatalogFileWriter::textsComeBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto same = [](const char *name, const QString &text) {
        QTest::newRow(name) << text << text;
    };
    same("markup", QStringLiteral("a & b < c > d \"e\" 'f' &amp; ]]> <!-- x --> &#13;"));
    same("non-ASCII", QStringLiteral("Café Straße 日本語 😀 \u00A0\uFFFD"));
    // A fault once met: the readers dropped a leading U+FEFF as a byte-order mark.
    same("leading U+FEFF", QStringLiteral("\uFEFF\uFEFFtext\uFEFF"));
    // A fault once met: a carriage return in a description came back as a line feed.
    same("line breaks, tabs, blanks around", QStringLiteral("  \tCR\rCR LF\r\nLF\n\t "));
    same("longer than the buffer first made", QString(100000, QLatin1Char('y')));
    // Blanks alone are dropped when the file is read: written as an empty element.
    for (const char *blank : {" ", "\t", "\r\n \n\r"})
        QTest::newRow(qPrintable(QStringLiteral("blank %1").arg(int(*blank))))
            << QString::fromLatin1(blank) << QString();
    // A fault once met: control characters were written as references that XML 1.0
    // forbids, so other XML tools refused the catalogue file.
    QString every, kept = QStringLiteral("\t\n\r");
    for (char16_t u = 1; u < 0x80; ++u) {
        every += QChar(u);
        if (u >= 0x20)
            kept += QChar(u);
    }
    QTest::newRow("control characters dropped") << every << kept;
    QTest::newRow("NUL dropped") << QStringLiteral("a") + QChar(0) + QStringLiteral("b")
                                 << QStringLiteral("ab");
    // Written as they were, they made a file that does not load.
    QTest::newRow("U+FFFE and U+FFFF dropped") << QStringLiteral("a\uFFFEb\uFFFFc")
                                               << QStringLiteral("abc");
    QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b")
                                    << QStringLiteral("a\uFFFDb");
}

void TestCatalogFileWriter::textsComeBack()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    TCatalog catalog, back;
    AddWithText(catalog, text);
    AddWithText(back, expected);
    QCOMPARE(RoundTrip(catalog), CatalogOutline(back, kWholeOutline));
}

// A tree nested 100,000 deep would otherwise make a file of some 60 GB.
void TestCatalogFileWriter::treeComesBackAndIndentationStopsGrowing()
{
    TCatalog catalog;
    for (const char *root : {"B", "A"}) {
        TFolder *folder = AddFolder(catalog.Folders(), QString::fromLatin1(root));
        AddBookmarks(folder->Bookmarks(), {"z", "y"});
        AddFolder(AddFolder(folder->Folders(), "sub2")->Folders(), "sub")->SetSelected(true);
        AddBookmark(AddFolder(folder->Folders(), "sub1")->Bookmarks(), "w");
    }
    TFolders *list = &catalog.Folders();
    for (int level = 1; level <= 40; ++level)
        list = &AddFolder(*list, QStringLiteral("L%1").arg(level))->Folders();
    QCOMPARE(RoundTrip(catalog), CatalogOutline(catalog, kWholeOutline));

    QStringList indents;
    for (const QByteArray &line : ReadAll(m_file).split('\n'))
        if (line.contains("<title>L"))
            indents << QString::number(line.indexOf('<'));
    QCOMPARE(indents.first(), QStringLiteral("4"));
    QCOMPARE(indents.mid(29).join(u' '), QStringLiteral("62 64 64 64 64 64 64 64 64 64 64"));
}

// The save is atomic: a write that fails (here on a full disk) leaves the previous
// file as it was, and the error names the file.
void TestCatalogFileWriter::failedSaveKeepsThePreviousFile()
{
    TCatalog previous, catalog;
    AddWithText(previous, QStringLiteral("previous"));
    previous.SaveToFile(m_file);
    const QByteArray before = ReadAll(m_file);
    for (int i = 0; i < 200; ++i)
        AddWithText(catalog, QStringLiteral("new text %1").arg(i));
    QString error;
    {
        const FileSizeLimit limit(before.size() + 100);
        error = ErrorOf([&] { catalog.SaveToFile(m_file); });
    }
    QCOMPARE(error, "Unable to write to " + m_file + ": File too large");
    QCOMPARE(ReadAll(m_file), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"bookmarks.xml"}));
}

QTEST_GUILESS_MAIN(TestCatalogFileWriter)
#include "tst_catalogfilewriter.moc"
