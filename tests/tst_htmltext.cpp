// Text in Netscape bookmark files: references decoded on reading, markup
// characters and line breaks escaped on writing, and the two agreeing.
#include "exchange/HtmlText.h"
#include "exchange/LineFile.h"

#include <QtTest>

namespace {

QByteArray Escaped(const QString &text, bool protectTrailingBlanks = false)
{
    TLineWriter writer;
    AppendHtmlEscaped(writer, text, protectTrailingBlanks);
    return writer.Bytes();
}

} // namespace

class TestHtmlText : public QObject
{
    Q_OBJECT

private slots:
    void decodes_data();
    void decodes();
    void escapes_data();
    void escapes();
    void escapedTextDecodesToItself_data();
    void escapedTextDecodesToItself();
};

void TestHtmlText::decodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("plain") << "News & more" << "News & more";
    QTest::newRow("markup entities") << "&lt;b&gt; &amp; &quot;q&quot; &apos;" << "<b> & \"q\" '";
    QTest::newRow("decimal") << "O&#39;Brien &#233;" << u"O'Brien \u00E9"_qs;
    QTest::newRow("hexadecimal") << "&#xE9;&#XC9;&#x1F600;" << u"\u00E9\u00C9\U0001F600"_qs;
    QTest::newRow("named, case counts") << "&eacute;&Eacute;&nbsp;&euro;"
                                         << u"\u00E9\u00C9\u00A0\u20AC"_qs;
    QTest::newRow("line break references") << "a&#13;&#10;b" << "a\r\nb";
    QTest::newRow("128 to 159 as Windows-1252") << "&#128;&#150;&#x9F;&#129;&#127;&#160;"
                                                << u"\u20AC\u2013\u0178\u0081\u007F\u00A0"_qs;
    QTest::newRow("once only") << "&amp;lt;" << "&lt;";
    QTest::newRow("unknown name stays") << "&foo; &Amp;" << "&foo; &Amp;";
    QTest::newRow("no semicolon stays") << "&amp &#65" << "&amp &#65";
    QTest::newRow("surrogate stays") << "&#xD800;" << "&#xD800;";
    QTest::newRow("too large stays") << "&#x110000; &#99999999;" << "&#x110000; &#99999999;";
    QTest::newRow("no digits stays") << "&#; &#x;" << "&#; &#x;";
    QTest::newRow("sign stays") << "&#+65; &# 65;" << "&#+65; &# 65;";
    QTest::newRow("lone ampersands") << "&&amp;&" << "&&&";
    QTest::newRow("at the end") << "x&" << "x&";
}

void TestHtmlText::decodes()
{
    QFETCH(QString, text);
    QFETCH(QString, decoded);
    QCOMPARE(DecodeHtmlEntities(text), decoded);
}

void TestHtmlText::escapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("protect");
    QTest::addColumn<QByteArray>("escaped");
    QTest::newRow("markup") << "a&b<c>\"d'" << false << QByteArray("a&amp;b&lt;c&gt;&quot;d'");
    QTest::newRow("line breaks") << "one\r\ntwo\nthree" << false
                                 << QByteArray("one&#13;&#10;two&#10;three");
    QTest::newRow("controls") << QString::fromLatin1("a\tb\x01") << false
                              << QByteArray("a&#9;b&#1;");
    QTest::newRow("trailing blanks kept") << "a  " << false << QByteArray("a  ");
    QTest::newRow("trailing blanks protected") << " a  " << true << QByteArray(" a&#32;&#32;");
    QTest::newRow("non-ASCII as UTF-8") << u"caf\u00E9 \U0001F600"_qs << false
                                        << QByteArray("caf\xC3\xA9 \xF0\x9F\x98\x80");
}

void TestHtmlText::escapes()
{
    QFETCH(QString, text);
    QFETCH(bool, protect);
    QFETCH(QByteArray, escaped);
    QCOMPARE(Escaped(text, protect), escaped);
}

void TestHtmlText::escapedTextDecodesToItself_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("entity text") << "&amp; &lt; &#65;";
    QTest::newRow("markup") << "<DT><H3>x</H3> \"&\"";
    QTest::newRow("NUL and breaks") << QString::fromLatin1("a\0b\r\n", 5);
    QTest::newRow("blanks") << "  ";
}

void TestHtmlText::escapedTextDecodesToItself()
{
    QFETCH(QString, text);
    QCOMPARE(DecodeHtmlEntities(QString::fromUtf8(Escaped(text, true))), text);
}

QTEST_GUILESS_MAIN(TestHtmlText)
#include "tst_htmltext.moc"
