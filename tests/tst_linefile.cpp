// Line-based exchange files: line ends across blocks, the line limit, errors that
// name the file, trimming, and the writer's bytes.
#include "TestSupport.h"
#include "exchange/LineFile.h"

#include <QBuffer>
#include <QtTest>

namespace {

using Lines = QList<QByteArray>;

Lines LinesOf(TLineReader &&reader)
{
    Lines lines;
    QByteArrayView line;
    while (reader.ReadLine(line))
        lines << line.toByteArray();
    return lines;
}

Lines LinesOf(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return LinesOf(TLineReader(buffer, QStringLiteral("big.html")));
}

} // namespace

class TestLineFile : public QObject
{
    Q_OBJECT

private slots:
    void splitsLines_data();
    void splitsLines();
    void errorsNameTheFile();
    void trimsAndWrites();
};

void TestLineFile::splitsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Lines>("lines");
    const QByteArray block(64 * 1024 - 1, 'x'); // a CR after it ends the first block
    const QByteArray longLine = QByteArray(150000, 'y') + 'z' + QByteArray(150000, 'y');
    QTest::newRow("empty file") << QByteArray() << Lines{};
    QTest::newRow("LF, CR LF, lone CR, no final break")
        << QByteArray("a\nb\r\nc\rd") << Lines{"a", "b", "c", "d"};
    QTest::newRow("blank lines, LF CR is two ends")
        << QByteArray("\n\r\n\nx\n\ry\r") << Lines{"", "", "", "x", "", "y"};
    QTest::newRow("byte-order mark skipped, NUL kept")
        << QByteArray("\xEF\xBB\xBFhe\0d\nx", 9) << Lines{QByteArray("he\0d", 4), "x"};
    QTest::newRow("mark alone") << QByteArray("\xEF\xBB\xBF") << Lines{};
    QTest::newRow("mark only at the start")
        << QByteArray("ab\n\xEF\xBB\xBF") << Lines{"ab", "\xEF\xBB\xBF"};
    QTest::newRow("CR LF across blocks") << block + "\r\nnext\r\n" << Lines{block, "next"};
    QTest::newRow("lone CR across blocks") << block + "\rnext" << Lines{block, "next"};
    QTest::newRow("longer than a block")
        << "first\n" + longLine + "\nlast" << Lines{"first", longLine, "last"};
}

void TestLineFile::splitsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Lines, lines);
    QCOMPARE(LinesOf(bytes), lines);
}

void TestLineFile::errorsNameTheFile()
{
    // Without a limit one endless line would take all memory.
    QByteArray bytes = "first\n" + QByteArray(kLongestLine, 'x');
    QCOMPARE(LinesOf(bytes).last().size(), kLongestLine);
    bytes += "y\nlast\n";
    QCOMPARE(ErrorOf([&] { LinesOf(bytes); }),
             QStringLiteral("Cannot read file \"big.html\". A line is longer than 64 MiB"));
    const QString missing = QStringLiteral("/nonexistent/b.html");
    QVERIFY(ErrorOf([&] { TLineReader r(missing); })
                .startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(missing)));
    const QString refusing = QStringLiteral("/proc/self/clear_refs"); // opens, refuses reads
    if (QFile::exists(refusing))
        QVERIFY(ErrorOf([&] { LinesOf(TLineReader(refusing)); })
                    .startsWith(QStringLiteral("Cannot read file \"%1\". ").arg(refusing)));
}

void TestLineFile::trimsAndWrites()
{
    QCOMPARE(TrimLine(QByteArrayView("\x01\t \x1F" "a b\x7F\xA0!\r\n ", 13)), "a b\x7F\xA0!");
    QCOMPARE(TrimLine(QByteArrayView(" \t\0", 3)), "");
    QCOMPARE(TrimText(QStringView(u"\u0000 !x\u00A0\u3000  ", 8)), u"!x\u00A0\u3000");
    QCOMPARE(TrimText(u" \t "), u"");
    TLineWriter writer;
    writer.Line(QLatin1StringView("<DL><p>"));
    writer.Append(QStringView(u"Caf\u00E9 "));
    writer.Append(QString::fromUtf8("\xF0\x9F\x98\x80"));
    writer.EndLine();
    writer.EndLine();
    QCOMPARE(writer.Bytes(), QByteArray("<DL><p>\r\nCaf\xC3\xA9 \xF0\x9F\x98\x80\r\n\r\n"));
}

QTEST_GUILESS_MAIN(TestLineFile)
#include "tst_linefile.moc"
