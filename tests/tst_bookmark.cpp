// Bookmarks and bookmark lists: defaults, copies, the title look-up and the
// owning-list operations.
#include "catalogue/Bookmarks.h"
#include "tests/CatalogTree.h"
#include "tests/TestSupport.h"

#include <QDate>
#include <QtTest>

class TestBookmark : public QObject
{
    Q_OBJECT

private slots:
    void newBookmarkIsDatedTodayAndOwnedByNobody();
    void settersStoreTextUnchanged();
    void copiesTakeTheFiveTextsButNotTheOwner_data();
    void copiesTakeTheFiveTextsButNotTheOwner();
    void addSetsOwnerAndGetIndexFindsThePosition();
    void indexOfTitleFoldsAsciiLettersOnly_data();
    void indexOfTitleFoldsAsciiLettersOnly();
    void addCopiesOntoItselfDoublesOnce();
    void addCopiesAppendsAndKeepsTheDates();
    void deleteMoveAndClear();
    void badIndexRaisesTheListError_data();
    void badIndexRaisesTheListError();
};

void TestBookmark::newBookmarkIsDatedTodayAndOwnedByNobody()
{
    const QString before = QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd"));
    TBookmark b;
    const QString after = QDate::currentDate().toString(QStringLiteral("yyyy.MM.dd"));
    QVERIFY2(b.AddDate() == before || b.AddDate() == after, qPrintable(b.AddDate()));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}\\.\\d{2}\\.\\d{2}$"))
                .match(b.AddDate()).hasMatch());
    QVERIFY(b.Title().isEmpty() && b.Address().isEmpty() && b.Description().isEmpty());
    QVERIFY(b.LastVisit().isEmpty());
    QCOMPARE(b.Owner(), nullptr);
    QCOMPARE(b.GetIndex(), 0);
}

void TestBookmark::settersStoreTextUnchanged()
{
    TBookmark b;
    b.SetTitle(QStringLiteral("  News \t"));
    b.SetAddress(QStringLiteral(" not an address "));
    b.SetDescription(QStringLiteral("\r\n"));
    b.SetLastVisit(QStringLiteral("yesterday"));
    QCOMPARE(b.Title(), QStringLiteral("  News \t"));
    QCOMPARE(b.Address(), QStringLiteral(" not an address "));
    QCOMPARE(b.Description(), QStringLiteral("\r\n"));
    QCOMPARE(b.LastVisit(), QStringLiteral("yesterday"));
}

void TestBookmark::copiesTakeTheFiveTextsButNotTheOwner_data()
{
    QTest::addColumn<bool>("fields");
    QTest::newRow("Assign") << false;
    QTest::newRow("AssignFields") << true;
}

void TestBookmark::copiesTakeTheFiveTextsButNotTheOwner()
{
    QFETCH(bool, fields);
    TBookmarks list;
    TBookmark *source = AddBookmark(list, QStringLiteral("Title"));
    source->SetAddress(QStringLiteral("https://example.org/"));
    source->SetDescription(QStringLiteral("Description"));
    source->SetAddDate(QStringLiteral("2001.02.03"));
    source->SetLastVisit(QStringLiteral("2004.05.06"));

    TBookmark copy;
    fields ? copy.AssignFields(*source) : copy.Assign(*source);
    QCOMPARE(Fields(copy), Fields(*source));
    QCOMPARE(copy.Owner(), nullptr);

    // The copy shares the texts until one side changes them.
    copy.SetTitle(QStringLiteral("Changed"));
    QCOMPARE(source->Title(), QStringLiteral("Title"));
}

void TestBookmark::addSetsOwnerAndGetIndexFindsThePosition()
{
    TBookmarks list;
    TBookmark *a = AddBookmark(list, QStringLiteral("a"));
    TBookmark *b = AddBookmark(list, QStringLiteral("b"));
    QCOMPARE(a->Owner(), &list);
    QCOMPARE(b->Owner(), &list);
    QCOMPARE(a->GetIndex(), 0);
    QCOMPARE(b->GetIndex(), 1);
    QCOMPARE(list.GetItem(1), b);
    list.Move(1, 0);
    QCOMPARE(b->GetIndex(), 0);
    QCOMPARE(b->Owner(), &list);
}

void TestBookmark::indexOfTitleFoldsAsciiLettersOnly_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    const QStringList news{QStringLiteral("News"), QStringLiteral("NEWS")};
    QTest::newRow("first of two case variants") << news << QStringLiteral("news") << 0;
    QTest::newRow("exact second still gives first") << news << QStringLiteral("NEWS") << 0;
    QTest::newRow("later item") << QStringList{QStringLiteral("x"), QStringLiteral("news")}
                                << QStringLiteral("NEWS") << 1;
    QTest::newRow("accented letter not folded")
        << QStringList{QStringLiteral("Café")} << QStringLiteral("CAFÉ") << -1;
    QTest::newRow("ascii folded beside an accent")
        << QStringList{QStringLiteral("Café")} << QStringLiteral("cAFé") << 0;
    QTest::newRow("trailing blank counts")
        << QStringList{QStringLiteral("News ")} << QStringLiteral("News") << -1;
    QTest::newRow("brackets are not letters")
        << QStringList{QStringLiteral("a[b]")} << QStringLiteral("A{B}") << -1;
    QTest::newRow("at sign and backquote")
        << QStringList{QStringLiteral("@")} << QStringLiteral("`") << -1;
    QTest::newRow("no length-changing folds")
        << QStringList{QStringLiteral("straße")} << QStringLiteral("STRASSE") << -1;
    QTest::newRow("empty title matches empty") << QStringList{QString()} << QString() << 0;
    QTest::newRow("empty list") << QStringList{} << QStringLiteral("news") << -1;
}

void TestBookmark::indexOfTitleFoldsAsciiLettersOnly()
{
    QFETCH(QStringList, titles);
    QFETCH(QString, text);
    QFETCH(int, expected);
    TBookmarks list;
    AddBookmarks(list, titles);
    QCOMPARE(list.IndexOfTitle(text), expected);
}

void TestBookmark::addCopiesOntoItselfDoublesOnce()
{
    TBookmarks list;
    AddBookmarks(list, {QStringLiteral("a"), QStringLiteral("b")});
    TBookmark *first = list.GetItem(0);
    list.AddCopies(list);
    QCOMPARE(Titles(list), QStringList({"a", "b", "a", "b"}));
    QVERIFY(list.GetItem(2) != first);
    QCOMPARE(list.GetItem(2)->Owner(), &list);
    QCOMPARE(list.GetItem(3)->GetIndex(), 3);
}

void TestBookmark::addCopiesAppendsAndKeepsTheDates()
{
    TBookmarks source;
    TBookmark *old = AddBookmark(source, QStringLiteral("old"));
    old->SetAddDate(QStringLiteral("1999.12.31"));
    old->SetLastVisit(QStringLiteral("2000.01.01"));
    TBookmarks target;
    AddBookmark(target, QStringLiteral("kept"));
    target.AddCopies(source);
    QCOMPARE(Titles(target), QStringList({"kept", "old"}));
    QCOMPARE(Fields(*target.GetItem(1)), Fields(*old));
    QCOMPARE(target.GetItem(1)->Owner(), &target);
    QCOMPARE(old->Owner(), &source);
}

void TestBookmark::deleteMoveAndClear()
{
    TBookmarks list;
    AddBookmarks(list, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                QStringLiteral("d")});
    list.Move(3, 1);
    QCOMPARE(Titles(list), QStringList({"a", "d", "b", "c"}));
    list.Move(0, 2);
    QCOMPARE(Titles(list), QStringList({"d", "b", "a", "c"}));
    TBookmark *c = list.GetItem(3);
    QCOMPARE(list.IndexOf(c), 3);
    list.Delete(1);
    QCOMPARE(Titles(list), QStringList({"d", "a", "c"}));
    QCOMPARE(c->GetIndex(), 2);
    list.Clear();
    QCOMPARE(list.Count(), 0);
    QCOMPARE(list.IndexOfTitle(QStringLiteral("a")), -1);
}

void TestBookmark::badIndexRaisesTheListError_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("message");
    QTest::newRow("item past the end") << "item" << 3 << 0 << "List index out of bounds (3)";
    QTest::newRow("item before the start") << "item" << -1 << 0
                                           << "List index out of bounds (-1)";
    QTest::newRow("delete past the end") << "delete" << 3 << 0
                                         << "List index out of bounds (3)";
    QTest::newRow("move from past the end") << "move" << 7 << 0
                                            << "List index out of bounds (7)";
    QTest::newRow("move to past the end") << "move" << 0 << 5 << "List index out of bounds (5)";
}

void TestBookmark::badIndexRaisesTheListError()
{
    QFETCH(QString, operation);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, message);
    TBookmarks list;
    AddBookmarks(list, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    const QString error = ErrorOf([&] {
        if (operation == QLatin1String("item"))
            list.GetItem(from);
        else if (operation == QLatin1String("delete"))
            list.Delete(from);
        else
            list.Move(from, to);
    });
    QCOMPARE(error, message);
    QCOMPARE(Titles(list), QStringList({"a", "b", "c"}));
}

QTEST_GUILESS_MAIN(TestBookmark)
#include "tst_bookmark.moc"
