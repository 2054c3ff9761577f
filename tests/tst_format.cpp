// The checked formatter for texts from language files: specifiers, widths,
// precisions, argument indexes, the user's separators, and the error for every mismatch.
#include "platform/Format.h"
#include "tests/TestSupport.h"

#include <QtTest>

namespace {

std::vector<FormatArg> Args(const QVariantList &values)
{
    std::vector<FormatArg> args;
    for (const QVariant &value : values) {
        if (value.typeId() == QMetaType::Int)
            args.emplace_back(value.toInt());
        else if (value.typeId() == QMetaType::Double)
            args.emplace_back(value.toDouble());
        else
            args.emplace_back(value.toString());
    }
    return args;
}

} // namespace

class TestFormat : public QObject
{
    Q_OBJECT

private slots:
    void formats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("expected"); // "error": the format is refused
        QTest::newRow("%d") << "Delete %d items?" << QVariantList{3} << "Delete 3 items?";
        QTest::newRow("precision of %d") << "%.3d %.3d" << QVariantList{7, -7} << "007 -007";
        QTest::newRow("%s is not read again") << "%s" << QVariantList{"1%d"} << "1%d";
        QTest::newRow("precision of %s") << "%.2s" << QVariantList{"abc"} << "ab";
        QTest::newRow("%2.1f") << "%2.1f KB" << QVariantList{12.34} << "12.3 KB";
        QTest::newRow("width, halves up") << "[%5.1f]" << QVariantList{1.25} << "[  1.3]";
        QTest::newRow("left aligned") << "[%-4d]" << QVariantList{7} << "[7   ]";
        QTest::newRow("%f") << "%f" << QVariantList{2.0} << "2.00";
        QTest::newRow("%n groups") << "%n" << QVariantList{1234567.891} << "1,234,567.89";
        QTest::newRow("%.3e") << "%.3e" << QVariantList{1234.5} << "1.23E+003";
        QTest::newRow("%.0e") << "%.0e" << QVariantList{1234.5} << "1E+003";
        QTest::newRow("%.0g") << "%.0g" << QVariantList{1234.5} << "1E+03";
        QTest::newRow("%g") << "%g" << QVariantList{0.5} << "0.5";
        QTest::newRow("%.18g") << "%.18g" << QVariantList{0.1} << "0.100000000000000006";
        QTest::newRow("%.19g is %g") << "%.19g" << QVariantList{0.1} << "0.1";
        QTest::newRow("%x, %u") << "%x %u" << QVariantList{255, -1} << "FF 4294967295";
        QTest::newRow("%%") << "100%% of %d" << QVariantList{7} << "100% of 7";
        QTest::newRow("indexes") << "%1:s %0:s %s|%1:-3s|" << QVariantList{"a", "b"}
                                 << "b a b|b  |";
        QTest::newRow("upper-case type") << "%D %S" << QVariantList{1, "x"} << "1 x";
        QTest::newRow("extra arguments") << "%d" << QVariantList{1, 2} << "1";
        QTest::newRow("widest") << "%9999d" << QVariantList{7} << QString(9998, u' ') + "7";
        QTest::newRow("too wide") << "%10000d" << QVariantList{7} << "error";
        QTest::newRow("text for %d") << "%d" << QVariantList{"x"} << "error";
        QTest::newRow("integer for %f") << "%2.1f KB" << QVariantList{12} << "error";
        QTest::newRow("number for %s") << "'%s'" << QVariantList{3} << "error";
        QTest::newRow("missing argument") << "%d of %d" << QVariantList{1} << "error";
        QTest::newRow("unknown type") << "%q" << QVariantList{1} << "error";
        QTest::newRow("star width") << "%*d" << QVariantList{1, 2} << "error";
        QTest::newRow("trailing %") << "50%" << QVariantList{1} << "error";
        QTest::newRow("dot without precision") << "%.f" << QVariantList{1.0} << "error";
        QTest::newRow("index past the end") << "%5:s" << QVariantList{"a"} << "error";
    }

    void formats()
    {
        QFETCH(QString, format);
        QFETCH(QVariantList, args);
        QFETCH(QString, expected);
        if (expected == "error")
            expected = "Format '" + format + "' invalid or incompatible with argument";
        QString text;
        const QString error = ErrorOf([&] { text = Format(format, Args(args)); });
        QCOMPARE(error.isEmpty() ? text : error, expected);
    }

    // Only the numbers take the user's separators; the format's own "." and "," stay.
    void userSeparators()
    {
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(Format("%2.1f KB. %s, %n", {1.5, "a.b,c", 1234.5}, german),
                 "1,5 KB. a.b,c, 1.234,50");
        QCOMPARE(Format("%.2e", {1500.0}, german), "1,5E+003");
    }
};

QTEST_GUILESS_MAIN(TestFormat)
#include "tst_format.moc"
