// The checked formatter for texts from language files: specifiers, widths,
// precisions, argument indexes, the user's separators, and the error for every mismatch.
#include "platform/Format.h"
#include "tests/TestSupport.h"

#include <QtTest>

using Args = std::vector<FormatArg>;
Q_DECLARE_METATYPE(Args)

class TestFormat : public QObject
{
    Q_OBJECT

private slots:
    void formats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<Args>("args");
        QTest::addColumn<QString>("expected"); // "error": the format is refused
        QTest::newRow("%d") << "Delete %d? [%-4d] 100%%" << Args{3, 7} << "Delete 3? [7   ] 100%";
        QTest::newRow("precisions, %s") << "%.3d %.3d %s %.2s" << Args{7, -7, "1%d", "abc"}
                                        << "007 -007 1%d ab";
        QTest::newRow("%f") << "[%5.1f] %f %.0f" << Args{1.25, 2.0, 2.0} << "[  1.3] 2.00 2";
        QTest::newRow("%n") << "%n %.0n" << Args{1234567.891, 1234.0} << "1,234,567.89 1,234";
        QTest::newRow("%e") << "%.3e %.3e" << Args{1234.5, 1e123} << "1.23E+003 1.00E+123";
        QTest::newRow("0, none") << "%.0e %.0g %g" << Args{1e3, 1e3, 1e3} << "1E+003 1E+03 1000";
        QTest::newRow("precision 18 at most") << "%.18g %.19g" << Args{0.1, 0.1}
                                              << "0.100000000000000006 0.1";
        QTest::newRow("%x %u") << "%x %u %D %S" << Args{255, -1, 1, "x"} << "FF 4294967295 1 x";
        QTest::newRow("indexes") << "%1:s %0:s %s|%1:-3s|" << Args{"a", "b"} << "b a b|b  |";
        QTest::newRow("widest") << "%9999d" << Args{7} << QString(9998, u' ') + "7";
        QTest::newRow("too wide") << "%10000d" << Args{7} << "error";
        QTest::newRow("text for %d") << "%d" << Args{"x"} << "error";
        QTest::newRow("integer for %f") << "%2.1f KB" << Args{12} << "error";
        QTest::newRow("number for %s") << "'%s'" << Args{3} << "error";
        QTest::newRow("missing argument") << "%d of %d" << Args{1} << "error";
        QTest::newRow("unknown type") << "%q" << Args{1} << "error";
        QTest::newRow("trailing %") << "50%" << Args{1} << "error";
        QTest::newRow("dot without precision") << "%.f" << Args{1.0} << "error";
    }

    void formats()
    {
        QFETCH(QString, format);
        QFETCH(Args, args);
        QFETCH(QString, expected);
        if (expected == "error")
            expected = "Format '" + format + "' invalid or incompatible with argument";
        QString text;
        const QString error = ErrorOf([&] { text = Format(format, args); });
        QCOMPARE(error.isEmpty() ? text : error, expected);
    }

    // Only the numbers take the user's separators; the format's own "." and "," stay.
    void userSeparators()
    {
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(Format("%2.1f KB. %s, %n", {1.5, "a.b,c", 1234.5}, german),
                 "1,5 KB. a.b,c, 1.234,50");
    }
};

QTEST_GUILESS_MAIN(TestFormat)
#include "tst_format.moc"
