// Sorting a folder's bookmark list: the edge cases, and agreement with the sort
// done step by step (one move per pass, a full sort of "field%index" lines per pass).
#include "catalogue/Catalog.h"

#include <QCollator>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <random>

namespace {

// Bookmarks whose sort field (the key's) holds the given texts, in that order.
void Fill(TBookmarks &list, TSortType key, const QStringList &fields)
{
    for (const QString &field : fields) {
        TBookmark *b = list.Add(std::make_unique<TBookmark>());
        b->SetTitle(field);
        if (key == stAddress)
            b->SetAddress(field);
        else if (key == stLastVisit)
            b->SetLastVisit(field);
        else if (key == stAddDate)
            b->SetAddDate(field);
    }
}

// Where each bookmark stood before, in the list's present order.
QList<int> Positions(const TBookmarks &list, const QList<const TBookmark *> &before)
{
    QHash<const TBookmark *, int> where;
    for (int i = 0; i < before.size(); ++i)
        where.insert(before[i], i);
    QList<int> positions;
    for (const auto &b : list)
        positions << where.value(b.get(), -1);
    return positions;
}

QList<const TBookmark *> Objects(const TBookmarks &list)
{
    QList<const TBookmark *> objects;
    for (const auto &b : list)
        objects << b.get();
    return objects;
}

QList<int> SortedPositions(const QStringList &fields, TSortType key, bool reversed)
{
    TBookmarks list;
    Fill(list, key, fields);
    const QList<const TBookmark *> before = Objects(list);
    list.Sort(key, reversed);
    return Positions(list, before);
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
    auto fieldOf = [](const QString &s) { return s.left(s.lastIndexOf(u'%')); };
    auto numberOf = [](const QString &s) { return s.mid(s.lastIndexOf(u'%') + 1).toInt(); };
    auto less = [&](const QString &a, const QString &b) {
        if (collator.compare(fieldOf(a), fieldOf(b)) == 0)
            return numberOf(a) < numberOf(b);
        return collator.compare(a, b) < 0;
    };
    QList<int> order;
    for (int i = 0; i < fields.size(); ++i)
        order << i;
    for (int pass = 0; pass < 10000; ++pass) {
        QStringList lines;
        for (int i = 0; i < order.size(); ++i)
            lines << fields[order[i]] + u'%' + QString::number(i);
        for (int i = 1; i < lines.size(); ++i) // insertion sort: safe with any comparison
            for (int j = i; j > 0 && less(lines[j], lines[j - 1]); --j)
                lines.swapItemsAt(j, j - 1);
        int j = 0;
        while (j < lines.size() && j >= numberOf(lines[j]))
            ++j;
        if (j < lines.size()) {
            order.move(numberOf(lines[j]), j);
            continue;
        }
        const int count = int(order.size());
        for (int k = count - 1; reversed && k >= 0; --k)
            order.move(count - 1, count - 1 - k);
        return order;
    }
    return std::nullopt;
}

// Empty when sorting fields, ascending and reversed, gives what the sort as its
// steps read gives; otherwise the fields and the direction.
QString StepByStepMismatch(const QStringList &fields)
{
    for (bool reversed : {false, true}) {
        const std::optional<QList<int>> expected = StepByStep(fields, reversed);
        if (!expected || SortedPositions(fields, stTitle, reversed) != *expected)
            return u'"' + fields.join(QStringLiteral("\" \"")) + u'"'
                + QLatin1String(reversed ? " reversed" : " ascending");
    }
    return {};
}

// True when two different fields compare differently as lines depending on the
// numbers after them: "x" / "x%1", or fields that differ in accents only. There
// the step-by-step result depends on the order of the moves, or never settles.
bool DependsOnIndex(const QStringList &fields)
{
    const QCollator collator = LocaleCollator();
    const qsizetype n = fields.size();
    for (qsizetype a = 0; a < n; ++a) {
        for (qsizetype b = a + 1; b < n; ++b) {
            if (collator.compare(fields[a], fields[b]) == 0)
                continue;
            int seen = 0;
            for (qsizetype x = 0; x < n; ++x) {
                for (qsizetype y = 0; y < n; ++y) {
                    if (x == y)
                        continue;
                    const int c = collator.compare(fields[a] + u'%' + QString::number(x),
                                                   fields[b] + u'%' + QString::number(y));
                    const int sign = c < 0 ? -1 : 1;
                    if (seen && sign != seen)
                        return true;
                    seen = sign;
                }
            }
        }
    }
    return false;
}

// Short fields from pieces that meet at the line's "%": "%" itself, digits,
// blanks and punctuation, case and accent variants, empties, prefixes of each other.
QStringList RandomFields(std::mt19937 &rng)
{
    static const QStringList pieces = {
        QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("%"),
        QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("9"), QStringLiteral(" "),
        QStringLiteral("-"), QStringLiteral("e"), QStringLiteral("é"), QStringLiteral("ä"),
        QStringLiteral("z"), QStringLiteral("News"), QStringLiteral("2007.03.05"),
    };
    auto below = [&rng](int n) { return int(rng() % unsigned(n)); };
    auto piece = [&]() { return pieces[below(int(pieces.size()))]; };
    QStringList fields;
    const int count = 2 + below(12);
    for (int i = 0; i < count; ++i) {
        QString field;
        const int kind = below(6);
        if (kind == 0 || fields.isEmpty()) {
            field = QString(); // empty, or a fresh field below
            for (int k = below(4); k > 0; --k)
                field += piece();
        } else if (kind == 1) {
            field = fields[below(int(fields.size()))].toUpper();
        } else if (kind == 2) {
            field = fields[below(int(fields.size()))] + piece();
        } else {
            for (int k = 1 + below(3); k > 0; --k)
                field += piece();
        }
        fields << field;
    }
    return fields;
}

// A large folder: tens of thousands of fields, many equal or equal but for case,
// many sharing a long start, so that ties and long keys fall on every side of
// the parts a large list is keyed in.
QStringList ManyFields(std::mt19937 &rng)
{
    static const QStringList heads = {QString(), QStringLiteral("https://www.example.org/news/"),
                                      QStringLiteral("News of the day from everywhere ")};
    static const QStringList words = {QStringLiteral("Café"), QStringLiteral("cafe"),
                                      QStringLiteral("Straße"), QStringLiteral("x%1"),
                                      QStringLiteral("école"), QStringLiteral("9"),
                                      QStringLiteral("ä"), QStringLiteral("News")};
    QStringList fields;
    for (int i = 0; i < 30000; ++i) {
        QString field = heads[int(rng() % heads.size())];
        for (int k = int(rng() % 3); k >= 0; --k)
            field += words[int(rng() % words.size())];
        fields << (rng() % 2 ? field.toUpper() : field);
    }
    return fields;
}

// Original positions in the order the collator gives the lines field + "%0", equal
// lines in their order, then all reversed if asked: the sort's outcome, which the
// step-by-step sort confirms on small lists.
QList<int> CollatorOrder(const QStringList &fields, bool reversed)
{
    const QCollator collator = LocaleCollator();
    QStringList lines;
    for (const QString &field : fields)
        lines << field + QLatin1String("%0");
    QList<int> order;
    for (int i = 0; i < fields.size(); ++i)
        order << i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return collator.compare(lines[a], lines[b]) < 0;
    });
    if (reversed)
        std::reverse(order.begin(), order.end());
    return order;
}

} // namespace

class TestBookmarkSort : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void leavesTheListAlone_data();
    void leavesTheListAlone();
    void sortsByTheKey_data();
    void sortsByTheKey();
    void reversedFlipsEqualFieldsEverySort();
    void keepsEveryBookmarkAndItsOwner();
    void manyTiesKeepTheirOrder();
    void matchesTheStepByStepSort_data();
    void matchesTheStepByStepSort();
    void sortedListsMatchTheStepByStepSort_data();
    void sortedListsMatchTheStepByStepSort();
    void largeListsFollowTheCollator_data();
    void largeListsFollowTheCollator();
    void fieldsThatMeetTheIndexHaveOneOrder_data();
    void fieldsThatMeetTheIndexHaveOneOrder();
    void savedInTheSortedOrder();
};

void TestBookmarkSort::leavesTheListAlone_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<QStringList>("fields");
    const QStringList three = {QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("unsorted, reversed") << int(stUnsorted) << true << three;
    QTest::newRow("unsorted") << int(stUnsorted) << false << three;
    QTest::newRow("no bookmarks") << int(stTitle) << true << QStringList();
    QTest::newRow("one bookmark, reversed") << int(stTitle) << true << QStringList{"b"};
    QTest::newRow("one bookmark by add date") << int(stAddDate) << true << QStringList{""};
    QTest::newRow("mode out of range") << 9 << false << three;
}

void TestBookmarkSort::leavesTheListAlone()
{
    QFETCH(int, key);
    QFETCH(bool, reversed);
    QFETCH(QStringList, fields);
    QList<int> unchanged;
    for (int i = 0; i < fields.size(); ++i)
        unchanged << i;
    QCOMPARE(SortedPositions(fields, TSortType(key), reversed), unchanged);
}

void TestBookmarkSort::sortsByTheKey_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QList<int>>("expected"); // original positions

    const QStringList bac = {QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("c")};
    const QStringList visits = {QStringLiteral("2007.10.01"), QString(),
                                QStringLiteral("2007.03.05"), QString()};
    QStringList sameDay(12, QStringLiteral("2007.03.05"));
    sameDay << QStringLiteral("2006.12.31");
    const QStringList news = {QStringLiteral("Newsletter"), QStringLiteral("News"),
                              QStringLiteral("News Daily")};
    const QStringList addresses = {QStringLiteral("https://b.example"),
                                   QStringLiteral("HTTP://a.example"),
                                   QStringLiteral("ftp://z.example")};
    for (const QString &locale : {QStringLiteral("en_US"), QStringLiteral("C")}) {
        auto row = [&](const char *name) {
            return &(QTest::newRow(qPrintable(locale + u' ' + QLatin1String(name))) << locale);
        };
        *row("case ignored") << int(stTitle) << false << bac << QList<int>{1, 0, 2};
        *row("case ignored, reversed") << int(stTitle) << true << bac << QList<int>{2, 0, 1};
        *row("never visited first") << int(stLastVisit) << false << visits
                                    << QList<int>{1, 3, 2, 0};
        *row("never visited last, reversed") << int(stLastVisit) << true << visits
                                             << QList<int>{0, 2, 3, 1};
        // Twelve ties: 10 and 11 stay after 2 (numbers, not texts, order them).
        *row("twelve on one day keep their order")
            << int(stAddDate) << false << sameDay
            << QList<int>{12, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        // "%" after News meets " " of News Daily (a blank ranks first) and "l".
        *row("a title that begins another") << int(stTitle) << false << news
                                            << QList<int>{2, 1, 0};
        *row("addresses") << int(stAddress) << false << addresses << QList<int>{2, 1, 0};
        const QString longTitle(300000, u'b'); // a key larger than a block of keys
        *row("very long titles") << int(stTitle) << false
                                 << QStringList{longTitle + u'c', QStringLiteral("c"), longTitle}
                                 << QList<int>{2, 0, 1};
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
}

void TestBookmarkSort::reversedFlipsEqualFieldsEverySort()
{
    TBookmarks list;
    Fill(list, stTitle, {QStringLiteral("x"), QStringLiteral("a"), QStringLiteral("X")});
    const QList<const TBookmark *> before = Objects(list);
    list.Sort(stTitle, true);
    QCOMPARE(Positions(list, before), (QList<int>{2, 0, 1}));
    list.Sort(stTitle, true);
    QCOMPARE(Positions(list, before), (QList<int>{0, 2, 1}));
    list.Sort(stTitle, true);
    QCOMPARE(Positions(list, before), (QList<int>{2, 0, 1}));
}

void TestBookmarkSort::keepsEveryBookmarkAndItsOwner()
{
    TBookmarks list;
    std::mt19937 rng(3);
    QStringList titles;
    for (int i = 0; i < 500; ++i)
        titles << QString::number(rng() % 100);
    Fill(list, stTitle, titles);
    QList<const TBookmark *> before = Objects(list);
    list.Sort(stTitle, true);
    QList<const TBookmark *> after = Objects(list);
    QVERIFY(after != before);
    for (const auto &b : list)
        QCOMPARE(b->Owner(), &list);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    QCOMPARE(after, before);
}

void TestBookmarkSort::manyTiesKeepTheirOrder()
{
    static const QStringList names = {"beta", "Alpha", "ALPHA", "gamma", "alpha", "Beta"};
    std::mt19937 rng(5);
    QStringList titles;
    for (int i = 0; i < 3000; ++i)
        titles << names[int(rng() % names.size())];
    const QList<int> ascending = SortedPositions(titles, stTitle, false);
    for (int i = 1; i < ascending.size(); ++i) {
        const QString a = titles[ascending[i - 1]].toLower();
        const QString b = titles[ascending[i]].toLower();
        QVERIFY(a < b || (a == b && ascending[i - 1] < ascending[i]));
    }
    QList<int> descending = SortedPositions(titles, stTitle, true);
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(descending, ascending);
}

void TestBookmarkSort::matchesTheStepByStepSort_data()
{
    QTest::addColumn<QString>("locale");
    for (const char *locale : {"en_US", "C", "de_DE", "sv_SE"})
        QTest::newRow(locale) << QString::fromLatin1(locale);
}

void TestBookmarkSort::matchesTheStepByStepSort()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    std::mt19937 rng(20070305);
    const int lists = 250;
    int compared = 0;
    for (int t = 0; t < lists; ++t) {
        const QStringList fields = RandomFields(rng);
        const QList<int> sorted = SortedPositions(fields, stTitle, false);
        if (DependsOnIndex(fields)) {
            // No one step-by-step result to compare with; the order is fixed all the same.
            TBookmarks list;
            Fill(list, stTitle, fields);
            list.Sort(stTitle, false);
            const QList<const TBookmark *> once = Objects(list);
            list.Sort(stTitle, false);
            QCOMPARE(Objects(list), once);
            continue;
        }
        ++compared;
        const QString mismatch = StepByStepMismatch(fields);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }
    QVERIFY2(compared > lists / 2, qPrintable(QString::number(compared)));
}

void TestBookmarkSort::sortedListsMatchTheStepByStepSort_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("firstReversed");
    for (const char *locale : {"en_US", "C"}) {
        const QString name = QString::fromLatin1(locale);
        QTest::newRow(qPrintable(name + QLatin1String(" ascending"))) << name << false;
        QTest::newRow(qPrintable(name + QLatin1String(" descending"))) << name << true;
    }
}

// A list sorted again (each time it is shown) stands in order already, or in
// reverse order with its ties reversed too: the sort must still keep ties in the
// order they stand in.
void TestBookmarkSort::sortedListsMatchTheStepByStepSort()
{
    QFETCH(QString, locale);
    QFETCH(bool, firstReversed);
    QLocale::setDefault(QLocale(locale));
    std::mt19937 rng(20071001);
    int compared = 0;
    for (int t = 0; t < 150; ++t) {
        TBookmarks list;
        Fill(list, stTitle, RandomFields(rng));
        list.Sort(stTitle, firstReversed);
        QStringList fields;
        for (const auto &b : list)
            fields << b->Title();
        if (DependsOnIndex(fields))
            continue;
        ++compared;
        const QString mismatch = StepByStepMismatch(fields);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }
    QVERIFY2(compared > 75, qPrintable(QString::number(compared)));
}

void TestBookmarkSort::largeListsFollowTheCollator_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("reversed");
    for (const char *locale : {"en_US", "C"}) {
        const QString name = QString::fromLatin1(locale);
        QTest::newRow(qPrintable(name + QLatin1String(" ascending"))) << name << false;
        QTest::newRow(qPrintable(name + QLatin1String(" reversed"))) << name << true;
    }
}

// Shuffled, then shown again (in order already), as a large folder is.
void TestBookmarkSort::largeListsFollowTheCollator()
{
    QFETCH(QString, locale);
    QFETCH(bool, reversed);
    QLocale::setDefault(QLocale(locale));
    std::mt19937 rng(20070305);
    QStringList fields = ManyFields(rng);
    for (int pass = 0; pass < 2; ++pass) {
        const QList<int> expected = CollatorOrder(fields, reversed);
        QCOMPARE(SortedPositions(fields, stTitle, reversed), expected);
        QStringList sorted;
        for (int i : expected)
            sorted << fields[i];
        fields = sorted;
    }
}

void TestBookmarkSort::fieldsThatMeetTheIndexHaveOneOrder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("expected");
    QStringList filler(9, QStringLiteral("a"));
    for (const QString &locale : {QStringLiteral("en_US"), QStringLiteral("C")}) {
        auto row = [&](const char *name) {
            return &(QTest::newRow(qPrintable(locale + u' ' + QLatin1String(name))) << locale);
        };
        // Step by step, "Café%10" sorts before "Cafe%9" and the two swap forever.
        *row("accents only, at 9 and 10")
            << filler + QStringList{QStringLiteral("Café"), QStringLiteral("Cafe")}
            << filler + QStringList{QStringLiteral("Cafe"), QStringLiteral("Café")};
        *row("continued by % and a digit, first")
            << QStringList{QStringLiteral("x"), QStringLiteral("b"), QStringLiteral("x%1")}
            << QStringList{QStringLiteral("b"), QStringLiteral("x"), QStringLiteral("x%1")};
        *row("continued by % and a digit, last")
            << filler + QStringList{QStringLiteral("x%1"), QStringLiteral("x")}
            << filler + QStringList{QStringLiteral("x"), QStringLiteral("x%1")};
    }
}

void TestBookmarkSort::fieldsThatMeetTheIndexHaveOneOrder()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, expected);
    QLocale::setDefault(QLocale(locale));
    TBookmarks list;
    Fill(list, stTitle, fields);
    for (int run = 0; run < 2; ++run) {
        list.Sort(stTitle, false);
        QStringList titles;
        for (const auto &b : list)
            titles << b->Title();
        QCOMPARE(titles, expected);
    }
}

void TestBookmarkSort::savedInTheSortedOrder()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bookmarks.xml"));
    TCatalog catalog;
    TFolder *folder = catalog.Folders().Add(std::make_unique<TFolder>());
    Fill(folder->Bookmarks(), stTitle, {QStringLiteral("b"), QStringLiteral("c"),
                                        QStringLiteral("A")});
    folder->Bookmarks().Sort(stTitle, true);
    folder->Bookmarks().Sort(stUnsorted, false);
    catalog.SaveToFile(file);
    TCatalog loaded;
    loaded.LoadFromFile(file);
    QStringList titles;
    for (const auto &b : loaded.Folders().At(0)->Bookmarks())
        titles << b->Title();
    QCOMPARE(titles, (QStringList{"c", "b", "A"}));
}

QTEST_GUILESS_MAIN(TestBookmarkSort)
#include "tst_bookmarksort.moc"
