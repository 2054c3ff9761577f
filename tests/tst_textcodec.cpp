// Decoding of 8-bit text: UTF-8 or else Windows-1252, and the UTF-7 of a shortcut's
// Unicode address.
#include "platform/TextCodec.h"

#include <QtTest>

class TestTextCodec : public QObject
{
    Q_OBJECT

private slots:
    void utf8OrWindows1252_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8") << QByteArray("Caf\xC3\xA9 \xF0\x9F\x98\x80") << u"Café 😀"_qs;
        QTest::newRow("Latin-1 byte") << QByteArray("Caf\xE9") << u"Café"_qs;
        QTest::newRow("0x80..0x9F") << QByteArray("\x80\x81\x9F") << u"\u20AC\u0081\u0178"_qs;
        // Valid UTF-8 with one stray byte: the whole text is Windows-1252.
        QTest::newRow("mixed") << QByteArray("\xC3\xA9\xE9") << u"\u00C3\u00A9\u00E9"_qs;
    }

    void utf8OrWindows1252()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeUtf8OrAnsi(bytes), text);
    }

    void utf7_data()
    {
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<bool>("decodes");
        QTest::addColumn<QString>("text");
        const auto good = [](const char *name, const char *encoded, const QString &text) {
            QTest::newRow(name) << QString::fromLatin1(encoded) << true << text;
        };
        const auto bad = [](const char *name, const QString &encoded) {
            QTest::newRow(name) << encoded << false << QString();
        };
        good("Cyrillic query", "http://example.com/?q=+BDAEMQ-", u"http://example.com/?q=аб"_qs);
        good("plus sign", "a+-b", "a+b");
        good("run ended by a direct character", "+BDA.", u"а."_qs);
        good("run ended by the text", "+BDA", u"а"_qs);
        good("two units in one run", "+AOQgrA-x", u"ä€x"_qs);
        good("surrogate pair", "+2D3eAA-", u"😀"_qs);
        good("plain ASCII", "http://example.com/a~b\\c", "http://example.com/a~b\\c");
        good("empty", "", "");
        bad("plus at the end", "a+");
        bad("plus before no base64", "+!");
        bad("beyond ASCII", u"http://example.com/é"_qs);
        bad("bits left over are not zero", "+BDB-");
        bad("a sixth left over", "+BDAE-");
        bad("lone high surrogate", "+2D0-x");
        bad("high surrogate at the end", "+2D0-");
        bad("lone low surrogate", "+3gA-");
    }

    void utf7()
    {
        QFETCH(QString, encoded);
        QFETCH(bool, decodes);
        QFETCH(QString, text);
        const std::optional<QString> decoded = DecodeUtf7(encoded);
        QCOMPARE(decoded.has_value(), decodes);
        if (decodes)
            QCOMPARE(*decoded, text);
    }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
