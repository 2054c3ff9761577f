// The reading of references in HTML text (Netscape files): what a reference gives
// must be something the catalogue file can hold.
#include "exchange/HtmlText.h"

#include <QtTest>

class TestHtmlText : public QObject
{
    Q_OBJECT

private slots:
    void referencesToWhatXmlForbidsGiveNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        for (const char *reference : {"&#0;", "&#1;", "&#x1F;", "&#xFFFE;", "&#65535;", "&#xfffe;"})
            QTest::newRow(reference) << QStringLiteral("a%1b").arg(reference) << "ab";
        QTest::newRow("tab, LF, CR") << "&#9;&#10;&#x0D;" << "\t\n\r";
        QTest::newRow("U+FFFD, U+FEFF, U+10FFFF") << "&#xFFFD;&#65279;&#x10FFFF;"
                                                  << QStringLiteral("\uFFFD\uFEFF\U0010FFFF");
        QTest::newRow("surrogates name nothing and stay") << "&#xD800;&#57343;"
                                                          << "&#xD800;&#57343;";
        QTest::newRow("Windows-1252 bytes") << "&#128;&#129;" << QStringLiteral("\u20AC\u0081");
    }
    void referencesToWhatXmlForbidsGiveNothing()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(DecodeHtmlEntities(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestHtmlText)
#include "tst_htmltext.moc"
