// Bookmark and folder lists: the title look-up every import merges by, copies
// that keep the dates, the list's index error, and today's date as the clock has it.
#include "catalogue/Catalog.h"
#include "tests/CatalogTree.h"
#include "tests/TestSupport.h"

#include <QtTest>

namespace {

qint64 g_now = 0;

qint64 TestClock()
{
    return g_now;
}

qint64 LocalTime(int year, int month, int day, int hour, int minute, int msecs = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute)).toMSecsSinceEpoch() + msecs;
}

} // namespace

class TestBookmark : public QObject
{
    Q_OBJECT

private slots:
    void indexOfTitleFoldsAsciiLettersOnly_data();
    void indexOfTitleFoldsAsciiLettersOnly();
    void addCopiesOntoItselfDoublesOnceAndKeepsTheDates();
    void badIndexRaisesTheListError();
    void todayFollowsTheClock_data();
    void todayFollowsTheClock();
    void cleanup() { SetTodayClock(nullptr); }
};

void TestBookmark::indexOfTitleFoldsAsciiLettersOnly_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("first of two case variants") << QStringList{"News", "NEWS"} << "NEWS" << 0;
    QTest::newRow("later item") << QStringList{"x", "news"} << "NEWS" << 1;
    QTest::newRow("accented letter not folded") << QStringList{"Café"} << "CAFÉ" << -1;
    QTest::newRow("trailing blank counts") << QStringList{"News "} << "News" << -1;
    QTest::newRow("empty list") << QStringList{} << "news" << -1;
}

void TestBookmark::indexOfTitleFoldsAsciiLettersOnly()
{
    QFETCH(QStringList, titles);
    QFETCH(QString, text);
    TBookmarks bookmarks;
    TFolders folders;
    for (const QString &title : titles) {
        AddBookmark(bookmarks, title);
        AddFolder(folders, title);
    }
    QTEST(bookmarks.IndexOfTitle(text), "expected");
    QTEST(folders.IndexOfTitle(text), "expected");
}

void TestBookmark::addCopiesOntoItselfDoublesOnceAndKeepsTheDates()
{
    TBookmarks list;
    AddBookmarks(list, {"a", "b"});
    list.At(0)->SetAddDate("1999.12.31");
    list.At(0)->SetLastVisit("2000.01.01");
    list.AddCopies(list);
    QCOMPARE(Titles(list), QStringList({"a", "b", "a", "b"}));
    QCOMPARE(Fields(*list.At(2)), Fields(*list.At(0)));
    QVERIFY(list.At(2) != list.At(0));
    QCOMPARE(list.At(3)->GetIndex(), 3);
}

void TestBookmark::badIndexRaisesTheListError()
{
    TBookmarks list;
    AddBookmarks(list, {"a", "b", "c"});
    QCOMPARE(ErrorOf([&] { list.GetItem(3); }), "List index out of bounds (3)");
    QCOMPARE(ErrorOf([&] { list.GetItem(-1); }), "List index out of bounds (-1)");
    QCOMPARE(ErrorOf([&] { list.Delete(3); }), "List index out of bounds (3)");
    QCOMPARE(ErrorOf([&] { list.Move(0, 3); }), "List index out of bounds (3)");
    QCOMPARE(Titles(list), QStringList({"a", "b", "c"}));
}

void TestBookmark::todayFollowsTheClock_data()
{
    QTest::addColumn<qint64>("before");
    QTest::addColumn<qint64>("now");
    QTest::addColumn<QString>("today");
    QTest::newRow("same day, to its last moment")
        << LocalTime(2007, 3, 5, 0, 0) << LocalTime(2007, 3, 5, 23, 59, 59999) << "2007.03.05";
    QTest::newRow("forward to midnight")
        << LocalTime(2007, 3, 5, 23, 59, 59999) << LocalTime(2007, 3, 6, 0, 0) << "2007.03.06";
    QTest::newRow("back across midnight")
        << LocalTime(2007, 3, 5, 0, 0) << LocalTime(2007, 3, 4, 23, 59, 59999) << "2007.03.04";
    QTest::newRow("back a year")
        << LocalTime(2007, 3, 5, 12, 0) << LocalTime(2006, 3, 5, 12, 0) << "2006.03.05";
}

// The date was once kept until the next midnight, so a clock set back while the
// program ran went on stamping the later day.
void TestBookmark::todayFollowsTheClock()
{
    QFETCH(qint64, before);
    QFETCH(qint64, now);
    SetTodayClock(TestClock);
    g_now = before;
    QCOMPARE(TodayText(), QDateTime::fromMSecsSinceEpoch(before).toString("yyyy.MM.dd"));
    g_now = now;
    QTEST(TBookmark().AddDate(), "today");
    QTEST(TodayText(), "today");
}

QTEST_GUILESS_MAIN(TestBookmark)
#include "tst_bookmark.moc"
