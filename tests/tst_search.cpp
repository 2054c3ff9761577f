// The resumable find: matches within a field, the order of places up to the end of
// the catalogue, huge and deep catalogues, and keeping the cursor inside the tree.
#include "catalogue/Catalog.h"
#include "catalogue/Search.h"
#include "tests/CatalogShape.h"

#include <QtTest>

namespace {

// R1 [B11 B12] { S1 { S11 [B111] } S2 }, R2, R3 [B31]: every field names itself and
// holds "ab" ("S1 ab", "S1.d ab", "B11.a ab"), but R3's description and B31's address
// are empty.
struct Tree
{
    TCatalog catalog;
    QHash<QString, TFolder *> folders;
    QHash<QString, TBookmark *> bookmarks;

    Tree()
    {
        BuildShape(catalog.Folders(), "R1(S1(S11) S2) R2 R3");
        const QHash<QString, QStringList> held{
            {"R1", {"B11", "B12"}}, {"S11", {"B111"}}, {"R3", {"B31"}}};
        ForEachFolder(catalog.Folders(), [this, &held](TFolder &f) {
            for (const QString &name : held.value(f.Title())) {
                TBookmark *b = bookmarks[name] = AddBookmark(f.Bookmarks(), name + " ab");
                b->SetAddress(name == "B31" ? "" : name + ".a ab");
                b->SetDescription(name + ".d ab");
            }
            folders[f.Title()] = &f;
            f.SetDescription(f.Title() == "R3" ? "" : f.Title() + ".d ab");
            f.SetTitle(f.Title() + " ab");
        });
    }
    // Every field that is not empty, in tree order.
    static inline const QStringList order{
        "R1 ab", "R1.d ab", "B11 ab", "B11.a ab", "B11.d ab", "B12 ab", "B12.a ab", "B12.d ab",
        "S1 ab", "S1.d ab", "S11 ab", "S11.d ab", "B111 ab", "B111.a ab", "B111.d ab", "S2 ab",
        "S2.d ab", "R2 ab", "R2.d ab", "R3 ab", "B31 ab", "B31.d ab"};
};

// Every match from the cursor to the end, as the texts of the fields that hold them.
QStringList AllMatches(TSearchRec &rec)
{
    QStringList found;
    while (found.size() < 100 && FindNext(rec)) {
        const QString &field = SearchFieldText(rec);
        if (rec.FoundPos != field.indexOf(rec.Text, 0, Qt::CaseInsensitive) + 1)
            return {"wrong position in " + field};
        found << field;
    }
    return found;
}

auto Cursor(const TSearchRec &rec)
{
    return std::tie(rec.Text, rec.Folder, rec.Bookmark, rec.Field, rec.FoundPos, rec.NextPos);
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void matchesWithinAField_data();
    void matchesWithinAField();
    void visitsThePlacesInTreeOrder_data();
    void visitsThePlacesInTreeOrder();
    void nothingToSearch();
    void nextFolderFollowsTheSubtree();
    void searchesAHugeAndDeepCatalogue();
    void validateKeepsTheCursorInTheTree_data();
    void validateKeepsTheCursorInTheTree();
};

void TestSearch::matchesWithinAField_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");          // NextPos at the start
    QTest::addColumn<QList<int>>("starts"); // FoundPos of each match in the title
    QTest::newRow("matches do not overlap") << "Abab" << "ab" << 1 << QList<int>{1, 3};
    QTest::newRow("aa in aaa once") << "aaa" << "aa" << 1 << QList<int>{1};
    QTest::newRow("one character, other case") << "x" << "X" << 1 << QList<int>{1};
    QTest::newRow("last character") << "abC" << "c" << 1 << QList<int>{3};
    QTest::newRow("from inside a match") << "abab" << "ab" << 2 << QList<int>{3};
    QTest::newRow("from past the end") << "abab" << "ab" << 5 << QList<int>{};
    QTest::newRow("from before the start") << "abab" << "ab" << 0 << QList<int>{1, 3};
    QTest::newRow("accented capitals") << "ÉCOLE, Ärger" << "école, ä" << 1 << QList<int>{1};
    QTest::newRow("dotted capital I keeps positions") << "İİ ab" << "AB" << 1 << QList<int>{4};
    QTest::newRow("sharp s is not ss") << "Straße" << "STRASSE" << 1 << QList<int>{};
    QTest::newRow("beyond the first plane") << "\U00010400a\U00010401\U00010400"
                                            << "\U00010428" << 1 << QList<int>{1, 6};
    QTest::newRow("empty title") << "" << "ab" << 1 << QList<int>{};
    QTest::newRow("text longer than the title") << "ab" << "abc" << 1 << QList<int>{};
}

void TestSearch::matchesWithinAField()
{
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(QList<int>, starts);
    TCatalog catalog;
    TFolder *folder = AddFolder(catalog.Folders(), title);
    folder->SetDescription(text);
    TSearchRec rec{text, folder, nullptr, sfTitle, 1, from};
    for (int start : starts) {
        QVERIFY(FindNext(rec));
        QVERIFY(Cursor(rec) == Cursor({text, folder, nullptr, sfTitle, start,
                                       start + int(text.size())}));
    }
    // Then on to the description, which holds the text itself.
    QVERIFY(FindNext(rec));
    QCOMPARE(rec.Field, sfDescription);
    QCOMPARE(rec.FoundPos, 1);
}

void TestSearch::visitsThePlacesInTreeOrder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("bookmark");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("first"); // the first field searched
    const int title = sfTitle, description = sfDescription;
    QTest::newRow("first folder") << "R1" << "" << title << "AB" << "R1 ab";
    QTest::newRow("folder description") << "R1" << "" << description << "AB" << "R1.d ab";
    QTest::newRow("second bookmark") << "R1" << "B12" << title << "AB" << "B12 ab";
    QTest::newRow("bookmark address") << "R1" << "B11" << int(sfAddress) << "AB" << "B11.a ab";
    QTest::newRow("last bookmark, then sub-folders") << "R1" << "B12" << description << "AB"
                                                      << "B12.d ab";
    QTest::newRow("folder without bookmarks") << "S1" << "" << title << "AB" << "S1 ab";
    QTest::newRow("deepest, then the parent's sibling") << "S11" << "B111" << description
                                                        << "AB" << "B111.d ab";
    QTest::newRow("last sub-folder, then the ancestor's sibling") << "S2" << "" << title
                                                                  << "AB" << "S2 ab";
    QTest::newRow("empty fields are passed") << "R3" << "" << title << "AB" << "R3 ab";
    QTest::newRow("a miss in a title goes on to the address") << "R1" << "B11" << title
                                                              << ".A" << "B11 ab";
}

void TestSearch::visitsThePlacesInTreeOrder()
{
    QFETCH(QString, folder);
    QFETCH(QString, bookmark);
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, first);
    Tree tree;
    TSearchRec rec{text, tree.folders.value(folder), tree.bookmarks.value(bookmark),
                   TSearchField(field)};
    const QStringList rest = Tree::order.mid(Tree::order.indexOf(first));
    QCOMPARE(AllMatches(rec), rest.filter(text, Qt::CaseInsensitive));
    // The cursor stays on the last place searched, at its title, and searches it again.
    TBookmark *last = tree.bookmarks["B31"];
    QVERIFY(Cursor(rec) == Cursor({text, tree.folders["R3"], last, sfTitle, 1, 1}));
    const QStringList again{"B31 ab", "B31.d ab"};
    QCOMPARE(AllMatches(rec), again.filter(text, Qt::CaseInsensitive));
}

void TestSearch::nothingToSearch()
{
    Tree tree;
    TBookmark *b12 = tree.bookmarks["B12"];
    for (TSearchRec rec : {TSearchRec{"", tree.folders["R1"], b12, sfAddress, 7, 9},
                           TSearchRec{"a", nullptr, b12, sfAddress, 7, 9}}) {
        const TSearchRec before = rec;
        QVERIFY(!FindNext(rec));
        QVERIFY(Cursor(rec) == Cursor(before));
    }
}

void TestSearch::nextFolderFollowsTheSubtree()
{
    Tree tree;
    QCOMPARE(NextFolder(tree.folders["S1"]), tree.folders["S2"]);
    QCOMPARE(NextFolder(tree.folders["S11"]), tree.folders["S2"]);
    QCOMPARE(NextFolder(tree.folders["R3"]), nullptr);
    QCOMPARE(NextFolder(nullptr), nullptr);
}

void TestSearch::searchesAHugeAndDeepCatalogue()
{
    // Positions are carried along and the walk climbs in a loop: a look-up per
    // bookmark would take hours here, a call per level overflow the stack.
    TCatalog catalog;
    TFolder *big = AddFolder(catalog.Folders(), "big");
    TBookmark shared; // one set of texts for all (they are implicitly shared)
    shared.SetTitle("title");
    for (int i = 0; i < 1000000; ++i)
        big->Bookmarks().Add(std::make_unique<TBookmark>())->Assign(shared);
    TFolder *deepest = big;
    for (int depth = 0; depth < 100000; ++depth)
        deepest = AddFolder(deepest->Folders(), "folder");
    for (int i = 0; i < 100000; ++i)
        AddFolder(catalog.Folders(), "folder");
    big->Bookmarks().Last()->SetDescription("needle");
    deepest->SetDescription("needle");
    catalog.Folders().Last()->SetDescription("needle");
    TSearchRec rec{"Needle", big};
    QVERIFY(FindNext(rec));
    QCOMPARE(rec.Bookmark, big->Bookmarks().Last());
    QVERIFY(FindNext(rec));
    QCOMPARE(rec.Folder, deepest);
    QVERIFY(FindNext(rec));
    QCOMPARE(rec.Folder, catalog.Folders().Last());
    QCOMPARE(NextFolder(deepest), catalog.Folders().At(1));
    rec.Folder = deepest;
    ValidateSearchRec(rec, catalog);
    QCOMPARE(rec.Folder, deepest);
}

void TestSearch::validateKeepsTheCursorInTheTree_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("folder");   // afterwards; "?" when any folder may do
    QTest::addColumn<QString>("bookmark"); // afterwards
    QTest::addColumn<bool>("restarted");   // at the title, positions 1
    QTest::newRow("nothing changed") << "none" << "S11" << "B111" << false;
    QTest::newRow("on the folder's own field") << "folder field" << "S11" << "" << false;
    QTest::newRow("an address, but no bookmark") << "no bookmark" << "S11" << "" << true;
    QTest::newRow("an ancestor deleted") << "delete ancestor" << "" << "" << true;
    QTest::newRow("its folder cut, still alive") << "cut folder" << "" << "" << true;
    QTest::newRow("its bookmark deleted") << "delete bookmark" << "S11" << "" << true;
    QTest::newRow("bookmark of another folder") << "other folder" << "R1" << "" << true;
    // The new copies may take the freed addresses: then the cursor names one of them.
    QTest::newRow("tree replaced by undo") << "undo" << "?" << "" << true;
}

void TestSearch::validateKeepsTheCursorInTheTree()
{
    QFETCH(QString, change);
    QFETCH(QString, folder);
    QFETCH(QString, bookmark);
    QFETCH(bool, restarted);
    Tree tree;
    tree.catalog.SaveUndoState();
    TSearchRec rec{"ab", tree.folders["S11"], tree.bookmarks["B111"], sfAddress, 2, 4};
    std::unique_ptr<TFolder> cut;
    if (change == "folder field" || change == "no bookmark")
        rec.Bookmark = nullptr;
    if (change == "folder field")
        rec.Field = sfDescription;
    else if (change == "delete ancestor")
        tree.catalog.Folders().Delete(0);
    else if (change == "cut folder")
        cut = tree.folders["S1"]->Folders().Extract(0);
    else if (change == "delete bookmark")
        rec.Folder->Bookmarks().Delete(0);
    else if (change == "other folder")
        rec.Folder = tree.folders["R1"];
    else if (change == "undo")
        tree.catalog.Undo();
    const TSearchRec before = rec;
    ValidateSearchRec(rec, tree.catalog);
    const TSearchRec atTitle{"ab", tree.folders.value(folder), tree.bookmarks.value(bookmark)};
    if (folder != "?")
        QVERIFY(Cursor(rec) == Cursor(restarted ? atTitle : before));
    // Whatever became of the cursor, searching from it is safe.
    QCOMPARE(AllMatches(rec).isEmpty(), rec.Folder == nullptr);
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
