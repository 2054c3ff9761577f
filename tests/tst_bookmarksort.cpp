// Sorting a folder's bookmark list: the edge cases, and agreement with the sort done
// step by step (one move per pass, a full sort of "field%index" lines per pass).
#include "catalogue/Bookmarks.h"

#include <QCollator>
#include <QtTest>

#include <numeric>
#include <optional>
#include <random>

namespace {

// A list whose sort field (the key's) holds the fields, sorted; where each
// bookmark stood before, in the sorted order.
QList<int> SortedPositions(const QStringList &fields, TSortType key, bool reversed,
                           int sorts = 1)
{
    TBookmarks list;
    QHash<const TBookmark *, int> where;
    for (const QString &field : fields) {
        TBookmark *b = list.Add(std::make_unique<TBookmark>());
        b->SetTitle(field);
        b->SetAddress(key == stAddress ? field : QString());
        b->SetLastVisit(key == stLastVisit ? field : QString());
        b->SetAddDate(key == stAddDate ? field : QString());
        where.insert(b, int(where.size()));
    }
    for (int i = 0; i < sorts; ++i)
        list.Sort(key, reversed);
    QList<int> positions;
    for (const auto &b : list)
        positions << where.value(b.get(), -1);
    return positions;
}

QCollator LocaleCollator()
{
    QCollator collator(QLocale().collation());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// The sort as its steps read, on original positions. Nothing when it does not
// settle (two fields that differ only in accents at positions 9 and 10 swap forever).
std::optional<QList<int>> StepByStep(const QStringList &fields, bool reversed)
{
    const QCollator collator = LocaleCollator();
    const auto numberOf = [](const QString &s) { return s.mid(s.lastIndexOf(u'%') + 1).toInt(); };
    const auto less = [&](const QString &a, const QString &b) {
        const int c = collator.compare(a.left(a.lastIndexOf(u'%')), b.left(b.lastIndexOf(u'%')));
        return c == 0 ? numberOf(a) < numberOf(b) : collator.compare(a, b) < 0;
    };
    QList<int> order(fields.size());
    std::iota(order.begin(), order.end(), 0);
    for (int pass = 0; pass < 1000; ++pass) {
        QStringList lines;
        for (int i = 0; i < order.size(); ++i)
            lines << fields[order[i]] + u'%' + QString::number(i);
        for (int i = 1; i < lines.size(); ++i) // insertion sort: safe with any comparison
            for (int j = i; j > 0 && less(lines[j], lines[j - 1]); --j)
                lines.swapItemsAt(j, j - 1);
        int j = 0;
        while (j < lines.size() && j >= numberOf(lines[j]))
            ++j;
        if (j == lines.size()) {
            if (reversed)
                std::reverse(order.begin(), order.end());
            return order;
        }
        order.move(numberOf(lines[j]), j);
    }
    return std::nullopt;
}

// True when two different fields compare differently as lines depending on the
// numbers after them: "x" / "x%1", or fields that differ in accents only. There
// the step-by-step result depends on the order of the moves, or never settles.
bool DependsOnIndex(const QStringList &fields)
{
    const QCollator collator = LocaleCollator();
    const qsizetype n = fields.size();
    const auto line = [&fields](qsizetype f, qsizetype i) {
        return fields[f] + u'%' + QString::number(i);
    };
    for (qsizetype a = 0; a < n; ++a) {
        for (qsizetype b = a + 1; b < n; ++b) {
            std::optional<bool> before;
            for (qsizetype x = 0; x < n && collator.compare(fields[a], fields[b]); ++x) {
                for (qsizetype y = 0; y < n; ++y) {
                    if (x == y)
                        continue;
                    const bool less = collator.compare(line(a, x), line(b, y)) < 0;
                    if (before.value_or(less) != less)
                        return true;
                    before = less;
                }
            }
        }
    }
    return false;
}

// A few short fields from pieces that meet at the line's "%": "%" itself, digits,
// blanks and punctuation, case and accent variants, empties, prefixes of each other.
QStringList RandomFields(std::mt19937 &rng)
{
    static const QStringList pieces = {"a", "A", "b", "%", "0", "1", "9", " ", "-", "e",
                                       "é", "ä", "z", "News", "2007.03.05"};
    auto below = [&rng](qsizetype n) { return int(rng() % unsigned(n)); };
    QStringList fields;
    for (int i = 2 + below(11); i > 0; --i) {
        QString field = fields.isEmpty() || below(2) ? QString() : fields[below(fields.size())];
        for (int k = below(4); k > 0; --k)
            field += pieces[below(pieces.size())];
        fields << (below(4) ? field : field.toUpper());
    }
    return fields;
}

} // namespace

class TestBookmarkSort : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void sortsByTheKey_data();
    void sortsByTheKey();
    void matchesTheStepByStepSort_data();
    void matchesTheStepByStepSort();
    void largeListFollowsTheCollator();
};

void TestBookmarkSort::sortsByTheKey_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QList<int>>("expected"); // original positions

    const QStringList bac = {"b", "A", "c"};
    const QStringList visits = {"2007.10.01", "", "2007.03.05", ""};
    QStringList sameDay(12, QStringLiteral("2007.03.05"));
    sameDay << QStringLiteral("2006.12.31");
    const QString longTitle(300000, u'b'); // a key larger than a block of keys
    const QStringList nine(9, QStringLiteral("a"));
    const QList<int> upToNine = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    for (const QString &locale : {QStringLiteral("en_US"), QStringLiteral("C")}) {
        auto row = [&](const char *name) {
            return &(QTest::newRow(qPrintable(locale + u' ' + QLatin1String(name))) << locale);
        };
        *row("unsorted") << int(stUnsorted) << true << bac << QList<int>{0, 1, 2};
        *row("mode out of range") << 9 << false << bac << QList<int>{0, 1, 2};
        *row("case ignored, reversed") << int(stTitle) << true << bac << QList<int>{2, 0, 1};
        *row("never visited first") << int(stLastVisit) << false << visits
                                    << QList<int>{1, 3, 2, 0};
        // Twelve ties: 10 and 11 stay after 2 (numbers, not texts, order them).
        *row("twelve on one day keep their order")
            << int(stAddDate) << false << sameDay
            << QList<int>{12, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        *row("addresses")
            << int(stAddress) << false
            << QStringList{"https://b.example", "HTTP://a.example", "ftp://z.example"}
            << QList<int>{2, 1, 0};
        *row("very long titles") << int(stTitle) << false
                                 << QStringList{longTitle + u'c', "c", longTitle}
                                 << QList<int>{2, 0, 1};
        // A fault once met: step by step, "Café%10" sorts before "Cafe%9" and the
        // two swap forever; each sort moved them. One order, sorted once or again.
        *row("accents only, at 9 and 10") << int(stTitle) << false
                                          << nine + QStringList{"Café", "Cafe"}
                                          << upToNine + QList<int>{10, 9};
        *row("continued by % and a digit, first") << int(stTitle) << false
                                                  << QStringList{"x", "b", "x%1"}
                                                  << QList<int>{1, 0, 2};
        *row("continued by % and a digit, last") << int(stTitle) << false
                                                 << nine + QStringList{"x%1", "x"}
                                                 << upToNine + QList<int>{10, 9};
    }
}

void TestBookmarkSort::sortsByTheKey()
{
    QFETCH(QString, locale);
    QFETCH(int, key);
    QFETCH(bool, reversed);
    QFETCH(QStringList, fields);
    QFETCH(QList<int>, expected);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(SortedPositions(fields, TSortType(key), reversed), expected);
    if (!reversed)
        QCOMPARE(SortedPositions(fields, TSortType(key), reversed, 2), expected);
}

void TestBookmarkSort::matchesTheStepByStepSort_data()
{
    QTest::addColumn<QString>("locale");
    for (const char *locale : {"en_US", "C", "de_DE", "sv_SE"})
        QTest::newRow(locale) << QString::fromLatin1(locale);
}

// Each random list as it comes, and as it stands when shown again: in order, or in
// reverse order with its ties reversed too.
void TestBookmarkSort::matchesTheStepByStepSort()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    std::mt19937 rng(20070305);
    int compared = 0;
    for (int t = 0; t < 100; ++t) {
        const QStringList fields = RandomFields(rng);
        QList<QStringList> lists = {fields};
        for (bool reversed : {false, true}) {
            lists << QStringList();
            for (int i : SortedPositions(fields, stTitle, reversed))
                lists.last() << fields[i];
        }
        if (DependsOnIndex(fields)) { // no one step-by-step result, but one order all the same
            QCOMPARE(SortedPositions(fields, stTitle, false, 2),
                     SortedPositions(fields, stTitle, false));
            continue;
        }
        ++compared;
        for (const QStringList &list : lists) {
            for (bool reversed : {false, true}) {
                const std::optional<QList<int>> expected = StepByStep(list, reversed);
                QVERIFY2(expected && SortedPositions(list, stTitle, reversed) == *expected,
                         qPrintable(u'"' + list.join(QStringLiteral("\" \"")) + u'"'
                                    + QLatin1String(reversed ? " reversed" : "")));
            }
        }
    }
    QVERIFY2(compared > 80, qPrintable(QString::number(compared)));
}

// A large folder, keyed in parts on several threads: tens of thousands of fields,
// many equal or equal but for case, many sharing a long start, so that ties and
// long keys fall on every side of the parts. Sorted shuffled, then reversed, then
// reversed again as it is shown.
void TestBookmarkSort::largeListFollowsTheCollator()
{
    static const QStringList heads = {"", "https://www.example.org/news/",
                                      "News of the day from everywhere "};
    static const QStringList words = {"Café", "cafe", "Straße", "x%1",
                                      "école", "9", "ä", "News"};
    std::mt19937 rng(20070305);
    QStringList fields;
    for (int i = 0; i < 30000; ++i) {
        QString field = heads[int(rng() % heads.size())];
        for (int k = int(rng() % 3); k >= 0; --k)
            field += words[int(rng() % words.size())];
        fields << (rng() % 2 ? field.toUpper() : field);
    }
    const QCollator collator = LocaleCollator();
    for (bool reversed : {false, true, true}) {
        QStringList lines;
        for (const QString &field : fields)
            lines << field + QLatin1String("%0");
        QList<int> expected(fields.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            return collator.compare(lines[a], lines[b]) < 0;
        });
        if (reversed)
            std::reverse(expected.begin(), expected.end());
        QCOMPARE(SortedPositions(fields, stTitle, reversed), expected);
        QStringList sorted;
        for (int i : expected)
            sorted << fields[i];
        fields = sorted;
    }
}

QTEST_GUILESS_MAIN(TestBookmarkSort)
#include "tst_bookmarksort.moc"
