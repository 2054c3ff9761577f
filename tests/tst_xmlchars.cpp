// The characters XML 1.0 allows: the filter on every text that enters the
// catalogue, and the check of the catalogue file's bytes with where it fails.
#include "catalogue/XmlChars.h"

#include <QtTest>

class TestXmlChars : public QObject
{
    Q_OBJECT

private slots:
    void xmlCharsOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QString controls;
        for (char16_t u = 0; u < 0x20; ++u)
            controls += QChar(u);
        QTest::newRow("C0 controls but tab, LF, CR") << "a" + controls + "b"
                                                     << QStringLiteral("a\t\n\rb");
        QTest::newRow("DEL and C1 stay") << QStringLiteral("\u007F\u0085\u009F")
                                         << QStringLiteral("\u007F\u0085\u009F");
        QTest::newRow("U+FFFE, U+FFFF") << QStringLiteral("\uFFFEa\uFFFF") << "a";
        QTest::newRow("U+FFFD, U+FEFF, U+E000 stay") << QStringLiteral("\uFFFD\uFEFF\uE000")
                                                     << QStringLiteral("\uFFFD\uFEFF\uE000");
        QTest::newRow("pairs stay") << QStringLiteral("\U0001F600\U0010FFFF")
                                    << QStringLiteral("\U0001F600\U0010FFFF");
        QTest::newRow("lone high surrogate, in the middle and at the end")
            << QString("a") + QChar(0xD83D) + "b" + QChar(0xD83D) << "ab";
        QTest::newRow("lone low surrogate, at the start") << QChar(0xDE00) + QString("a") << "a";
        QTest::newRow("pair the wrong way round")
            << QString("a") + QChar(0xDE00) + QChar(0xD83D) + "b" << "ab";
        QTest::newRow("high, then a whole pair")
            << QString(QChar(0xD83D)) + QStringLiteral("\U0001F600") << QStringLiteral("\U0001F600");
        QTest::newRow("empty") << QString() << QString();
    }
    void xmlCharsOnly()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(XmlCharsOnly(text), expected);
    }

    void checkXmlUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("at");
        QTest::addColumn<uint>("character");
        const auto row = [](const char *name, const QByteArray &bytes, XmlUtf8Fault::Kind kind,
                            int at, uint character = 0) {
            QTest::newRow(name) << bytes << int(kind) << at << character;
        };
        const QByteArray ascii(40, 'x'); // the faults past the first 16 bytes too
        row("ASCII, tab, LF, CR", ascii + "\t\n\r", XmlUtf8Fault::None, -1);
        row("two to four bytes, the highest of each", "\xDF\xBF\xEF\xBF\xBD\xF4\x8F\xBF\xBF",
            XmlUtf8Fault::None, -1);
        row("U+FEFF and U+E000", "\xEF\xBB\xBF\xEE\x80\x80", XmlUtf8Fault::None, -1);
        row("NUL", ascii + '\0', XmlUtf8Fault::Character, 40, 0);
        row("escape", "ab\x1B", XmlUtf8Fault::Character, 2, 0x1B);
        row("U+FFFE", ascii + "\xEF\xBF\xBE", XmlUtf8Fault::Character, 40, 0xFFFE);
        row("U+FFFF after a two-byte character", "\xC3\xA9\xEF\xBF\xBF", XmlUtf8Fault::Character,
            2, 0xFFFF);
        row("Latin-1", ascii + "caf\xE9", XmlUtf8Fault::Encoding, 43);
        row("continuation byte alone", "\x80", XmlUtf8Fault::Encoding, 0);
        row("overlong two bytes", "a\xC1\xBF", XmlUtf8Fault::Encoding, 1);
        row("overlong three bytes", "\xE0\x9F\xBF", XmlUtf8Fault::Encoding, 0);
        row("overlong four bytes", "\xF0\x8F\xBF\xBF", XmlUtf8Fault::Encoding, 0);
        row("surrogate", "a\xED\xA0\x80", XmlUtf8Fault::Encoding, 1);
        row("beyond U+10FFFF", "\xF4\x90\x80\x80", XmlUtf8Fault::Encoding, 0);
        row("cut short at the end", ascii + "\xE2\x82", XmlUtf8Fault::Encoding, 40);
        row("control inside a sequence", "\xE2\x01\xAC", XmlUtf8Fault::Encoding, 0);
    }
    void checkXmlUtf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QFETCH(int, at);
        QFETCH(uint, character);
        const XmlUtf8Fault fault = CheckXmlUtf8(bytes);
        QCOMPARE(int(fault.kind), kind);
        QCOMPARE(fault.at, qsizetype(at));
        QCOMPARE(uint(fault.character), character);
    }
};

QTEST_GUILESS_MAIN(TestXmlChars)
#include "tst_xmlchars.moc"
