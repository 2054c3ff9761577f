// The checked formatter for texts from language files: specifiers, widths,
// precisions, argument indexes, and the error for every mismatch.
#include "platform/Format.h"
#include "platform/VarnokelError.h"

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
    void formats_data();
    void formats();
    void rejects_data();
    void rejects();
    void initializerList();
    void userSeparators();
};

void TestFormat::formats_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no specifier") << "Save changes?" << QVariantList{} << "Save changes?";
    QTest::newRow("%d") << "Delete %d selected items?" << QVariantList{3}
                        << "Delete 3 selected items?";
    QTest::newRow("negative %d") << "%d" << QVariantList{-42} << "-42";
    QTest::newRow("%s") << "Search string '%s' not found" << QVariantList{"abc"}
                        << "Search string 'abc' not found";
    QTest::newRow("%s with % in text") << "%s" << QVariantList{"100%d"} << "100%d";
    QTest::newRow("%2.1f") << "%2.1f KB" << QVariantList{12.34} << "12.3 KB";
    QTest::newRow("%2.1f pads") << "%2.1f KB" << QVariantList{0.05} << "0.1 KB";
    QTest::newRow("%5.1f pads") << "[%5.1f]" << QVariantList{1.25} << "[  1.3]"; // halves away from zero
    QTest::newRow("%f default precision") << "%f" << QVariantList{2.0} << "2.00";
    QTest::newRow("%n groups") << "%n" << QVariantList{1234567.891} << "1,234,567.89";
    QTest::newRow("%e") << "%.3e" << QVariantList{1234.5} << "1.23E+003";
    QTest::newRow("%g") << "%g" << QVariantList{0.5} << "0.5";
    QTest::newRow("%%") << "100%% of %d" << QVariantList{7} << "100% of 7";
    QTest::newRow("width") << "[%4d]" << QVariantList{7} << "[   7]";
    QTest::newRow("left aligned") << "[%-4d]" << QVariantList{7} << "[7   ]";
    QTest::newRow("precision of %d") << "%.3d" << QVariantList{7} << "007";
    QTest::newRow("precision of %s") << "%.2s" << QVariantList{"abc"} << "ab";
    QTest::newRow("%x") << "%x" << QVariantList{255} << "FF";
    QTest::newRow("%u of negative") << "%u" << QVariantList{-1} << "4294967295";
    QTest::newRow("index") << "%1:s %0:s %s" << QVariantList{"a", "b"} << "b a b";
    QTest::newRow("upper-case type") << "%D %S" << QVariantList{1, "x"} << "1 x";
    QTest::newRow("extra arguments") << "%d" << QVariantList{1, 2} << "1";
    QTest::newRow("non-ascii") << "\u00C4%s\u00D6" << QVariantList{"\u00DC"}
                               << "\u00C4\u00DC\u00D6";
}

void TestFormat::formats()
{
    QFETCH(QString, format);
    QFETCH(QVariantList, args);
    QFETCH(QString, expected);
    QCOMPARE(Format(format, Args(args)), expected);
}

void TestFormat::rejects_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariantList>("args");
    QTest::newRow("text for %d") << "%d" << QVariantList{"x"};
    QTest::newRow("integer for %f") << "%2.1f KB" << QVariantList{12};
    QTest::newRow("number for %s") << "'%s'" << QVariantList{3};
    QTest::newRow("missing argument") << "%d of %d" << QVariantList{1};
    QTest::newRow("no arguments") << "Delete %d items?" << QVariantList{};
    QTest::newRow("unknown type") << "%q" << QVariantList{1};
    QTest::newRow("pointer") << "%p" << QVariantList{1};
    QTest::newRow("star width") << "%*d" << QVariantList{1, 2};
    QTest::newRow("trailing %") << "50%" << QVariantList{1};
    QTest::newRow("dot without precision") << "%.f" << QVariantList{1.0};
    QTest::newRow("index past the end") << "%5:s" << QVariantList{"a"};
    QTest::newRow("huge width") << "%99999999999d" << QVariantList{1};
}

void TestFormat::rejects()
{
    QFETCH(QString, format);
    QFETCH(QVariantList, args);
    try {
        Format(format, Args(args));
        QFAIL("no error");
    } catch (const VarnokelError &error) {
        QCOMPARE(error.Message(),
                 "Format '" + format + "' invalid or incompatible with argument");
    }
}

void TestFormat::initializerList()
{
    QCOMPARE(Format(QStringLiteral("%s: %d, %.1f"), {"n", 2, 0.25}), "n: 2, 0.3");
}

// Only the numbers take the user's separators; the format's own "." and "," stay.
void TestFormat::userSeparators()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(Format(QStringLiteral("%2.1f KB. %s, %n"), {1.5, "a.b,c", 1234.5}, german),
             QString::fromUtf8("1,5 KB. a.b,c, 1.234,50"));
    QCOMPARE(Format(QStringLiteral("%.2e"), {1500.0}, german), QStringLiteral("1,5E+003"));
}

QTEST_GUILESS_MAIN(TestFormat)
#include "tst_format.moc"
