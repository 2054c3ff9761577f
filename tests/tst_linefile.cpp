// Reading line-based exchange files: line ends, also across blocks, the byte-order
// mark, the line limit and errors that name the file.
#include "TestSupport.h"
#include "exchange/LineFile.h"

#include <QBuffer>
#include <QtTest>

namespace {

using Lines = QList<QByteArray>;

Lines LinesOf(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TLineReader reader(buffer, QStringLiteral("big.html"));
    Lines lines;
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
    void splitsLines_data()
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

    void splitsLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Lines, lines);
        QCOMPARE(LinesOf(bytes), lines);
    }

    void errorsNameTheFile()
    {
        // Without a limit one endless line would take all memory.
        QByteArray bytes = "first\n" + QByteArray(kLongestLine, 'x');
        QCOMPARE(LinesOf(bytes).last().size(), kLongestLine);
        bytes += "y\nlast\n";
        QCOMPARE(ErrorOf([&] { LinesOf(bytes); }),
                 QStringLiteral("Cannot read file \"big.html\". A line is longer than 64 MiB"));
        QVERIFY(ErrorOf([] { TLineReader(QStringLiteral("/nonexistent")); })
                    .startsWith("Cannot open file \"/nonexistent\". "));
        const QString refusing = QStringLiteral("/proc/self/clear_refs"); // opens, refuses reads
        if (QFile::exists(refusing)) {
            TLineReader reader(refusing);
            QByteArrayView line;
            QVERIFY(ErrorOf([&] { reader.ReadLine(line); })
                        .startsWith(QStringLiteral("Cannot read file \"%1\". ").arg(refusing)));
        }
    }
};

QTEST_GUILESS_MAIN(TestLineFile)
#include "tst_linefile.moc"
