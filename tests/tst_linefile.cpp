// Reading and writing line-based exchange files: line ends, blocks, errors.
#include "TestSupport.h"
#include "exchange/LineFile.h"
#include "platform/VarnokelError.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QList<QByteArray> LinesOf(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TLineReader reader(buffer, QStringLiteral("test"));
    QList<QByteArray> lines;
    QByteArrayView line;
    while (reader.ReadLine(line))
        lines << line.toByteArray();
    return lines;
}

} // namespace

class TestLineFile : public QObject
{
    Q_OBJECT

private slots:
    void splitsLines_data();
    void splitsLines();
    void crLfAcrossABlockBoundaryIsOneLineEnd();
    void keepsALineLongerThanABlock();
    void lineOverTheLimitIsAnErrorNamingTheFile();
    void readsAFile();
    void onlyRegularFilesAreExistingFiles();
    void missingFileIsAnErrorNamingIt();
    void readFailureIsAnErrorNamingIt();
    void trimsControlCharactersOnly();
    void writesUtf8WithCrLf();
    void writeFailureNamesTheFile();
};

void TestLineFile::splitsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("lines");
    using L = QList<QByteArray>;
    QTest::newRow("empty file") << QByteArray() << L{};
    QTest::newRow("LF") << QByteArray("a\nb\n") << L{"a", "b"};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << L{"a", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb") << L{"a", "b"};
    QTest::newRow("no final break") << QByteArray("a\nb") << L{"a", "b"};
    QTest::newRow("blank lines kept") << QByteArray("\n\r\n\nx") << L{"", "", "", "x"};
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << L{"a", "", "b"};
    QTest::newRow("byte-order mark skipped") << QByteArray("\xEF\xBB\xBFhead\nx")
                                             << L{"head", "x"};
    QTest::newRow("mark alone") << QByteArray("\xEF\xBB\xBF") << L{};
    QTest::newRow("mark only at the start") << QByteArray("a\n\xEF\xBB\xBF")
                                            << L{"a", "\xEF\xBB\xBF"};
    QTest::newRow("NUL inside a line") << QByteArray("a\0b\n", 4) << L{QByteArray("a\0b", 3)};
}

void TestLineFile::splitsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(LinesOf(bytes), lines);
}

void TestLineFile::crLfAcrossABlockBoundaryIsOneLineEnd()
{
    // The CR is the last byte of the first 64 KiB block, its LF the first of the next.
    QByteArray bytes(64 * 1024 - 1, 'x');
    bytes += "\r\nnext\r\n";
    const QList<QByteArray> lines = LinesOf(bytes);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0].size(), 64 * 1024 - 1);
    QCOMPARE(lines[1], QByteArray("next"));
}

void TestLineFile::keepsALineLongerThanABlock()
{
    QByteArray longLine(300 * 1000, 'y');
    longLine[150000] = 'z';
    const QList<QByteArray> lines = LinesOf("first\n" + longLine + "\nlast");
    QCOMPARE(lines, (QList<QByteArray>{"first", longLine, "last"}));
}

void TestLineFile::lineOverTheLimitIsAnErrorNamingTheFile()
{
    // Without a limit one endless line would take all memory.
    QByteArray bytes = "first\n" + QByteArray(kLongestLine, 'x');
    QCOMPARE(LinesOf(bytes).last().size(), kLongestLine);
    bytes += "y\nlast\n";
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TLineReader reader(buffer, QStringLiteral("big.html"));
    QByteArrayView line;
    QVERIFY(reader.ReadLine(line));
    QCOMPARE(ErrorOf([&] { reader.ReadLine(line); }),
             QStringLiteral("Cannot read file \"big.html\". A line is longer than 64 MiB"));
}

void TestLineFile::readsAFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("lines.txt"));
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("one\r\ntwo\r\n");
    file.close();
    TLineReader reader(name);
    QByteArrayView line;
    QVERIFY(reader.ReadLine(line));
    QCOMPARE(line, "one");
    QVERIFY(reader.ReadLine(line));
    QCOMPARE(line, "two");
    QVERIFY(!reader.ReadLine(line));
}

void TestLineFile::onlyRegularFilesAreExistingFiles()
{
    // A FIFO would block the reader for good, /dev/zero never end.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("file"));
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    const QString zero = dir.filePath(QStringLiteral("zero"));
    const QString toFile = dir.filePath(QStringLiteral("link"));
    QFile(file).open(QIODevice::WriteOnly);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
    QVERIFY(QFile::link(file, toFile));
    QVERIFY(IsExistingFile(file));
    QVERIFY(IsExistingFile(toFile));
    for (const QString &name : {dir.path(), fifo, zero, dir.filePath(QStringLiteral("missing"))})
        QVERIFY2(!IsExistingFile(name), qPrintable(name));
}

void TestLineFile::missingFileIsAnErrorNamingIt()
{
    const QString name = QStringLiteral("/nonexistent/bookmarks.html");
    try {
        TLineReader reader(name);
        QFAIL("no error");
    } catch (const VarnokelError &e) {
        QVERIFY2(e.Message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(name)),
                 qPrintable(e.Message()));
    }
}

void TestLineFile::readFailureIsAnErrorNamingIt()
{
    // A file that opens but cannot be read (the kernel refuses reads of it).
    const QString name = QStringLiteral("/proc/self/clear_refs");
    if (!QFile::exists(name))
        QSKIP("no /proc");
    try {
        TLineReader reader(name);
        QByteArrayView line;
        while (reader.ReadLine(line)) {
        }
        QFAIL("no error");
    } catch (const VarnokelError &e) {
        QVERIFY2(e.Message().contains(name), qPrintable(e.Message()));
    }
}

void TestLineFile::trimsControlCharactersOnly()
{
    QCOMPARE(TrimLine(QByteArrayView("\x01\t \x1F" "a b\x7F\xA0\r\n", 11)), "a b\x7F\xA0");
    QCOMPARE(TrimLine(QByteArrayView(" \t\0", 3)), "");
    const char16_t text[] = u"\u0000 \u00A0x\u3000 ";
    QCOMPARE(TrimText(QStringView(text, 6)), u"\u00A0x\u3000");
}

void TestLineFile::writesUtf8WithCrLf()
{
    TLineWriter writer;
    writer.Line(QLatin1StringView("<DL><p>"));
    writer.Append(QStringView(u"Caf\u00E9 "));
    writer.Append(QString::fromUtf8("\xF0\x9F\x98\x80"));
    writer.EndLine();
    writer.EndLine();
    QCOMPARE(writer.Bytes(), QByteArray("<DL><p>\r\nCaf\xC3\xA9 \xF0\x9F\x98\x80\r\n\r\n"));
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("out.txt"));
    writer.WriteFile(name);
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), writer.Bytes());
}

void TestLineFile::writeFailureNamesTheFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("no/such/folder/out.txt"));
    TLineWriter writer;
    writer.Line(QLatin1StringView("x"));
    try {
        writer.WriteFile(name);
        QFAIL("no error");
    } catch (const VarnokelError &e) {
        QVERIFY2(e.Message().startsWith(QStringLiteral("Unable to write to ") + name),
                 qPrintable(e.Message()));
    }
}

QTEST_GUILESS_MAIN(TestLineFile)
#include "tst_linefile.moc"
