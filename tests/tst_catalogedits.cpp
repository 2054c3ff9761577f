// The catalogue's structural edits: the index rules of the drops, and rows moved,
// copied and removed across folders in their order.
#include "catalogue/CatalogEdits.h"
#include "tests/CatalogShape.h"

#include <QTest>

namespace {

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
    void moveRemoveAndCopyRows();
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
    QTest::newRow("first to last") << QList<int>{0} << 5 << "b1 b2 b3 b4 b5 b0" << QList<int>{5};
}

void TestCatalogEdits::moveToRow()
{
    QFETCH(QList<int>, rows);
    QFETCH(int, to);
    TBookmarks list;
    AddBookmarks(list, {"b0", "b1", "b2", "b3", "b4", "b5"});
    const TRows moved = MoveBookmarksToRow(list, Rows(rows), to);
    QTEST(Titles(list).join(' '), "order");
    QTEST(QList<int>(moved.begin(), moved.end()), "moved");
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
    BuildShape(catalog.Folders(), "A(A1 A2) B C");
    TFolder *folder = FolderNamed(catalog, dragged);
    AddBookmarks(folder->Bookmarks(), {"x", "y"});
    folder->SetExpanded(true);
    const bool refused = shape == "A(A1 A2) B C";
    QCOMPARE(MoveFolder(*folder, *FolderNamed(catalog, target), TFolderDrop(place)), !refused);
    QCOMPARE(Shape(catalog.Folders()), shape);
    // The moved folder keeps what it holds and its flags, and knows its new place.
    folder = FolderNamed(catalog, dragged);
    QCOMPARE(Titles(folder->Bookmarks()), QStringList({"x", "y"}));
    QVERIFY(folder->Expanded());
    QCOMPARE(folder->Parent(), folder->List()->Owner());
    QCOMPARE(folder->List()->At(folder->GetIndex()), folder);
}

void TestCatalogEdits::moveRemoveAndCopyRows()
{
    TBookmarks source, target, copies;
    AddBookmarks(source, {"b0", "b1", "b2", "b3", "b4", "b5"});
    AddBookmarks(target, {"t0"});
    source.At(3)->SetAddress("http://b3.example/");
    CopyBookmarksTo(source, {0, 5}, copies);
    MoveBookmarksTo(source, {1, 3, 4}, target);
    QCOMPARE(Titles(target), QStringList({"t0", "b1", "b3", "b4"}));
    QCOMPARE(target.At(2)->Address(), "http://b3.example/");
    QCOMPARE(target.At(3)->Owner(), &target);
    // Rows outside the list are passed over.
    CopyBookmarksTo(source, {-1, 1, 3}, copies);
    RemoveBookmarks(source, {-1, 0, 2, 3});
    QCOMPARE(Titles(source), QStringList({"b2"}));
    QCOMPARE(Titles(copies), QStringList({"b0", "b5", "b2"}));
}

QTEST_GUILESS_MAIN(TestCatalogEdits)
#include "tst_catalogedits.moc"
