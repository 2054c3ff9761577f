// Bookmark and folder lists: the title look-up every import merges by, copies
// that keep the dates, and the list's index error.
#include "catalogue/Catalog.h"
#include "tests/CatalogTree.h"
#include "tests/TestSupport.h"

#include <QtTest>

class TestBookmark : public QObject
{
    Q_OBJECT

private slots:
    void indexOfTitleFoldsAsciiLettersOnly_data();
    void indexOfTitleFoldsAsciiLettersOnly();
    void addCopiesOntoItselfDoublesOnceAndKeepsTheDates();
    void badIndexRaisesTheListError();
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

QTEST_GUILESS_MAIN(TestBookmark)
#include "tst_bookmark.moc"
