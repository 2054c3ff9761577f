// The catalogue's structural edits: the index rules of the drops, moves across
// folders keeping order, and removals of many rows in one pass.
#include "CatalogTree.h"
#include "catalogue/CatalogEdits.h"
#include "catalogue/FolderWalk.h"

#include <QTest>

namespace {

// "A(A1 A2) B C": titles with sub-folders in brackets.
QString Shape(const TFolders &list)
{
    QStringList parts;
    for (const auto &f : list)
        parts << (f->Folders().IsEmpty() ? f->Title()
                                         : f->Title() + "(" + Shape(f->Folders()) + ")");
    return parts.join(' ');
}

TRows Rows(const QList<int> &rows)
{
    return TRows(rows.begin(), rows.end());
}

} // namespace

class TestCatalogEdits : public QObject
{
    Q_OBJECT

private slots:
    void moveToRow_data();
    void moveToRow();
    void moveFolder_data();
    void moveFolder();
    void moveBookmarksToAnotherFolder();
    void removeAndCopyRows();
    void siblingList();
};

void TestCatalogEdits::moveToRow_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QList<int>>("moved");
    QTest::newRow("2,3 to 0") << QList<int>{2, 3} << 0 << "b2 b3 b0 b1 b4 b5" << QList<int>{0, 1};
    QTest::newRow("0,1 to 4") << QList<int>{0, 1} << 4 << "b2 b3 b4 b0 b1 b5" << QList<int>{3, 4};
    QTest::newRow("one onto itself") << QList<int>{3} << 3 << "b0 b1 b2 b3 b4 b5"
                                     << QList<int>{3};
    QTest::newRow("rows on both sides") << QList<int>{1, 4} << 2 << "b0 b2 b1 b4 b3 b5"
                                        << QList<int>{2, 3};
    QTest::newRow("last to first") << QList<int>{5} << 0 << "b5 b0 b1 b2 b3 b4" << QList<int>{0};
    QTest::newRow("first to last") << QList<int>{0} << 5 << "b1 b2 b3 b4 b5 b0" << QList<int>{5};
}

void TestCatalogEdits::moveToRow()
{
    QFETCH(QList<int>, rows);
    QFETCH(int, to);
    QFETCH(QString, order);
    QFETCH(QList<int>, moved);
    TBookmarks list;
    AddBookmarks(list, {"b0", "b1", "b2", "b3", "b4", "b5"});
    const TRows result = MoveBookmarksToRow(list, Rows(rows), to);
    QCOMPARE(Titles(list).join(' '), order);
    QCOMPARE(QList<int>(result.begin(), result.end()), moved);
    for (const auto &b : list)
        QCOMPARE(b->Owner(), &list);
}

void TestCatalogEdits::moveFolder_data()
{
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("place");
    QTest::addColumn<QString>("shape");
    const int into = int(TFolderDrop::Into), before = int(TFolderDrop::Before),
              after = int(TFolderDrop::After);
    QTest::newRow("into: last child") << "C" << "B" << into << "A(A1 A2) B(C)";
    QTest::newRow("before a root") << "C" << "B" << before << "A(A1 A2) C B";
    QTest::newRow("after a folder with children") << "C" << "A" << after << "A(A1 A2) C B";
    QTest::newRow("sub-folder to the top level") << "A2" << "C" << after << "A(A1) B C A2";
    QTest::newRow("before within its own list") << "A2" << "A1" << before << "A(A2 A1) B C";
    QTest::newRow("after within its own list") << "A1" << "A2" << after << "A(A2 A1) B C";
    QTest::newRow("onto itself: refused") << "A" << "A" << into << "A(A1 A2) B C";
    QTest::newRow("below itself: refused") << "A" << "A1" << after << "A(A1 A2) B C";
}

void TestCatalogEdits::moveFolder()
{
    QFETCH(QString, dragged);
    QFETCH(QString, target);
    QFETCH(int, place);
    QFETCH(QString, shape);
    TCatalog catalog;
    TFolder *a = AddFolder(catalog.Folders(), "A");
    QHash<QString, TFolder *> byTitle{{"A", a},
                                      {"A1", AddFolder(a->Folders(), "A1")},
                                      {"A2", AddFolder(a->Folders(), "A2")},
                                      {"B", AddFolder(catalog.Folders(), "B")},
                                      {"C", AddFolder(catalog.Folders(), "C")}};
    AddBookmarks(byTitle[dragged]->Bookmarks(), {"x", "y"});
    const bool refused = shape == "A(A1 A2) B C";
    QCOMPARE(MoveFolder(*byTitle[dragged], *byTitle[target], TFolderDrop(place)), !refused);
    QCOMPARE(Shape(catalog.Folders()), shape);
    // The moved folder keeps its bookmarks and knows its new place.
    ForEachFolder(catalog.Folders(), [&](const TFolder &f) {
        QVERIFY(f.List()->IndexOf(&f) >= 0);
        QCOMPARE(f.Parent(), f.List()->Owner());
        if (f.Title() == dragged)
            QCOMPARE(Titles(f.Bookmarks()), QStringList({"x", "y"}));
    });
}

void TestCatalogEdits::moveBookmarksToAnotherFolder()
{
    TBookmarks source, target;
    AddBookmarks(source, {"b0", "b1", "b2", "b3", "b4"});
    AddBookmarks(target, {"t0"});
    source.At(3)->SetAddress("http://b3.example/");
    MoveBookmarksTo(source, {1, 3, 4}, target);
    QCOMPARE(Titles(source), QStringList({"b0", "b2"}));
    QCOMPARE(Titles(target), QStringList({"t0", "b1", "b3", "b4"}));
    QCOMPARE(target.At(2)->Address(), QString("http://b3.example/"));
    for (const auto &b : target)
        QCOMPARE(b->Owner(), &target);
}

void TestCatalogEdits::removeAndCopyRows()
{
    TBookmarks list, copies;
    AddBookmarks(list, {"b0", "b1", "b2", "b3", "b4"});
    CopyBookmarksTo(list, {0, 4}, copies);
    RemoveBookmarks(list, {0, 2, 4});
    QCOMPARE(Titles(list), QStringList({"b1", "b3"}));
    QCOMPARE(Titles(copies), QStringList({"b0", "b4"}));
    // 20,000 of 40,000 rows: one pass, not a removal per row.
    TBookmarks large;
    TRows even;
    for (int i = 0; i < 40000; ++i) {
        AddBookmark(large, QString::number(i));
        if (i % 2 == 0)
            even.push_back(i);
    }
    RemoveBookmarks(large, even);
    QCOMPARE(large.Count(), 20000);
    QCOMPARE(large.At(0)->Title(), QString("1"));
    QCOMPARE(large.Last()->Title(), QString("39999"));
}

void TestCatalogEdits::siblingList()
{
    TCatalog catalog;
    TFolder *a = AddFolder(catalog.Folders(), "A");
    TFolder *a1 = AddFolder(a->Folders(), "A1");
    QCOMPARE(&SiblingList(catalog, nullptr), &catalog.Folders());
    QCOMPARE(&SiblingList(catalog, a), &catalog.Folders());
    QCOMPARE(&SiblingList(catalog, a1), &a->Folders());
}

QTEST_GUILESS_MAIN(TestCatalogEdits)
#include "tst_catalogedits.moc"
