// The UTF-7 of a shortcut's Unicode address (UTF-8 or else Windows-1252 is tested
// through the readers that use it).
#include "platform/TextCodec.h"

#include <QtTest>

class TestTextCodec : public QObject
{
    Q_OBJECT

private slots:
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
        // The ends of each range of base64 digits, and both signs.
        good("every kind of base64 digit", "+Zz09/+aA-", u"\u673D\u3DFF\uE680"_qs);
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
