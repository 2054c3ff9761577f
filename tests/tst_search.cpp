// The resumable find: matches within a field, the order of places, the end of the
// catalogue, large and deep catalogues, and keeping the cursor inside the tree.
#include "catalogue/Catalog.h"
#include "catalogue/Search.h"

#include <QtTest>

namespace {

TFolder *AddFolder(TFolders &list, const QString &title, const QString &description = {})
{
    TFolder *folder = list.Add(std::make_unique<TFolder>());
    folder->SetTitle(title);
    folder->SetDescription(description);
    return folder;
}

TBookmark *AddBookmark(TFolder &folder, const QString &title, const QString &address = {},
                       const QString &description = {})
{
    TBookmark *bookmark = folder.Bookmarks().Add(std::make_unique<TBookmark>());
    bookmark->SetTitle(title);
    bookmark->SetAddress(address);
    bookmark->SetDescription(description);
    return bookmark;
}

// The text of the field the cursor names.
QString FieldAt(const TSearchRec &rec)
{
    if (rec.Bookmark)
        return rec.Field == sfTitle     ? rec.Bookmark->Title()
               : rec.Field == sfAddress ? rec.Bookmark->Address()
                                        : rec.Bookmark->Description();
    return rec.Field == sfTitle ? rec.Folder->Title() : rec.Folder->Description();
}

// R1 [B11 B12] { S1 { S11 [B111] } S2 }, R2, R3 [B31]: every field holds "ab" once
// and names itself ("S1 ab", "S1.d ab", "B11.a ab"), except R3's description and
// B31's address, which are empty.
struct Tree
{
    TCatalog catalog;
    QHash<QString, TFolder *> folders;
    QHash<QString, TBookmark *> bookmarks;

    Tree()
    {
        TFolder *r1 = Folder(catalog.Folders(), "R1");
        Bookmark(*r1, "B11");
        Bookmark(*r1, "B12");
        TFolder *s1 = Folder(r1->Folders(), "S1");
        Bookmark(*Folder(s1->Folders(), "S11"), "B111");
        Folder(r1->Folders(), "S2");
        Folder(catalog.Folders(), "R2");
        TFolder *r3 = Folder(catalog.Folders(), "R3");
        r3->SetDescription(QString());
        Bookmark(*r3, "B31")->SetAddress(QString());
    }
    TFolder *Folder(TFolders &list, const char *name)
    {
        const QString n = QLatin1String(name);
        return folders[n] = AddFolder(list, n + " ab", n + ".d ab");
    }
    TBookmark *Bookmark(TFolder &folder, const char *name)
    {
        const QString n = QLatin1String(name);
        return bookmarks[n] = AddBookmark(folder, n + " ab", n + ".a ab", n + ".d ab");
    }
    // Every field holding "ab", in tree order.
    static QStringList Order()
    {
        return {"R1 ab",   "R1.d ab",   "B11 ab",   "B11.a ab", "B11.d ab", "B12 ab",
                "B12.a ab", "B12.d ab", "S1 ab",    "S1.d ab",  "S11 ab",   "S11.d ab",
                "B111 ab", "B111.a ab", "B111.d ab", "S2 ab",   "S2.d ab",  "R2 ab",
                "R2.d ab", "R3 ab",     "B31 ab",   "B31.d ab"};
    }
};

// Every match from the cursor to the end, as the texts of the fields that hold them.
QStringList AllMatches(TSearchRec &rec)
{
    QStringList found;
    while (FindNext(rec) && found.size() < 1000) {
        if (rec.FoundPos != FieldAt(rec).indexOf(QLatin1String("ab")) + 1)
            return {QStringLiteral("wrong position")};
        found << FieldAt(rec);
    }
    return found;
}

bool InTree(const TCatalog &catalog, const TFolder *wanted)
{
    QList<const TFolder *> pending;
    for (const auto &f : catalog.Folders())
        pending << f.get();
    while (!pending.isEmpty()) {
        const TFolder *folder = pending.takeLast();
        if (folder == wanted)
            return true;
        for (const auto &f : folder->Folders())
            pending << f.get();
    }
    return false;
}

void CompareCursors(const TSearchRec &a, const TSearchRec &b)
{
    QCOMPARE(a.Text, b.Text);
    QCOMPARE(a.Folder, b.Folder);
    QCOMPARE(a.Bookmark, b.Bookmark);
    QCOMPARE(a.Field, b.Field);
    QCOMPARE(a.FoundPos, b.FoundPos);
    QCOMPARE(a.NextPos, b.NextPos);
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void matchesWithinAField_data();
    void matchesWithinAField();
    void resumesAtNextPos_data();
    void resumesAtNextPos();
    void visitsThePlacesInTreeOrder_data();
    void visitsThePlacesInTreeOrder();
    void missInATitleGoesToTheAddress();
    void endsOnTheLastPlaceAndFindsItAgain_data();
    void endsOnTheLastPlaceAndFindsItAgain();
    void nothingToSearch_data();
    void nothingToSearch();
    void bookmarkOfAnotherFolderPicksByItsPosition();
    void nextFolder_data();
    void nextFolder();
    void searchesACatalogueNestedVeryDeep();
    void searchesAMillionBookmarks();
    void searchesManySiblingFolders();
    void validateKeepsTheCursorInTheTree_data();
    void validateKeepsTheCursorInTheTree();
};

void TestSearch::matchesWithinAField_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("starts"); // FoundPos of each match in the title

    QTest::newRow("matches do not overlap") << "Abab" << "ab" << QList<int>{1, 3};
    QTest::newRow("aa in aaa once") << "aaa" << "aa" << QList<int>{1};
    QTest::newRow("one character, other case") << "x" << "X" << QList<int>{1};
    QTest::newRow("last character") << "abC" << "c" << QList<int>{3};
    QTest::newRow("accented capitals") << "ÉCOLE, Ärger" << "école, ä" << QList<int>{1};
    QTest::newRow("dotted capital I keeps the positions") << "İstanbul ab" << "AB"
                                                           << QList<int>{10};
    QTest::newRow("sharp s keeps the positions") << "Straße ab" << "ab" << QList<int>{8};
    QTest::newRow("sharp s is not ss") << "Straße" << "STRASSE" << QList<int>{};
    QTest::newRow("letters beyond the first plane") << "a\U00010400b" << "\U00010428B"
                                                    << QList<int>{2};
    QTest::newRow("empty title") << "" << "ab" << QList<int>{};
    QTest::newRow("text longer than the title") << "ab" << "abc" << QList<int>{};
}

void TestSearch::matchesWithinAField()
{
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QList<int>, starts);
    TCatalog catalog;
    TFolder *folder = AddFolder(catalog.Folders(), title, text);
    TSearchRec rec;
    rec.Text = text;
    rec.Folder = folder;
    for (int start : starts) {
        QVERIFY(FindNext(rec));
        QCOMPARE(rec.Field, sfTitle);
        QCOMPARE(rec.FoundPos, start);
        QCOMPARE(rec.NextPos, start + int(text.size()));
    }
    // Then on to the description, which holds the text itself.
    QVERIFY(FindNext(rec));
    QCOMPARE(rec.Folder, folder);
    QCOMPARE(rec.Field, sfDescription);
    QCOMPARE(rec.FoundPos, 1);
}

void TestSearch::resumesAtNextPos_data()
{
    QTest::addColumn<int>("nextPos");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("foundPos");
    QTest::newRow("from the start") << 1 << int(sfTitle) << 1;
    QTest::newRow("inside the first match") << 2 << int(sfTitle) << 3;
    QTest::newRow("on the last match") << 3 << int(sfTitle) << 3;
    QTest::newRow("just past the end") << 5 << int(sfDescription) << 2;
    QTest::newRow("far past the end") << 99 << int(sfDescription) << 2;
    QTest::newRow("before the start") << 0 << int(sfTitle) << 1;
}

void TestSearch::resumesAtNextPos()
{
    QFETCH(int, nextPos);
    QFETCH(int, field);
    QFETCH(int, foundPos);
    TCatalog catalog;
    TSearchRec rec;
    rec.Text = QStringLiteral("ab");
    rec.Folder = AddFolder(catalog.Folders(), QStringLiteral("abab"), QStringLiteral("xab"));
    rec.NextPos = nextPos;
    QVERIFY(FindNext(rec));
    QCOMPARE(int(rec.Field), field);
    QCOMPARE(rec.FoundPos, foundPos);
    QCOMPARE(rec.NextPos, foundPos + 2);
}

void TestSearch::visitsThePlacesInTreeOrder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("bookmark");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("first"); // the first field searched

    QTest::newRow("first folder") << "R1" << "" << int(sfTitle) << "R1 ab";
    QTest::newRow("folder description") << "R1" << "" << int(sfDescription) << "R1.d ab";
    QTest::newRow("second bookmark") << "R1" << "B12" << int(sfTitle) << "B12 ab";
    QTest::newRow("bookmark address") << "R1" << "B11" << int(sfAddress) << "B11.a ab";
    QTest::newRow("last bookmark's description, then sub-folders") << "R1" << "B12"
                                                                   << int(sfDescription)
                                                                   << "B12.d ab";
    QTest::newRow("folder without bookmarks") << "S1" << "" << int(sfTitle) << "S1 ab";
    QTest::newRow("deepest, then its parent's sibling") << "S11" << "B111"
                                                        << int(sfDescription) << "B111.d ab";
    QTest::newRow("last sub-folder, then the ancestor's sibling") << "S2" << "" << int(sfTitle)
                                                                  << "S2 ab";
    QTest::newRow("empty fields are passed") << "R3" << "" << int(sfTitle) << "R3 ab";
}

void TestSearch::visitsThePlacesInTreeOrder()
{
    QFETCH(QString, folder);
    QFETCH(QString, bookmark);
    QFETCH(int, field);
    QFETCH(QString, first);
    Tree tree;
    TSearchRec rec;
    rec.Text = QStringLiteral("AB");
    rec.Folder = tree.folders.value(folder);
    rec.Bookmark = tree.bookmarks.value(bookmark);
    rec.Field = TSearchField(field);
    const QStringList order = Tree::Order();
    QCOMPARE(AllMatches(rec), order.mid(order.indexOf(first)));
}

void TestSearch::missInATitleGoesToTheAddress()
{
    TCatalog catalog;
    TFolder *folder = AddFolder(catalog.Folders(), QStringLiteral("f"));
    TBookmark *bookmark = AddBookmark(*folder, QStringLiteral("t"), QStringLiteral("a x"),
                                      QStringLiteral("x"));
    TSearchRec rec;
    rec.Text = QStringLiteral("x");
    rec.Folder = folder;
    rec.Bookmark = bookmark;
    QVERIFY(FindNext(rec));
    QCOMPARE(rec.Field, sfAddress);
    QCOMPARE(rec.FoundPos, 3);
    QVERIFY(FindNext(rec));
    QCOMPARE(rec.Field, sfDescription);
}

void TestSearch::endsOnTheLastPlaceAndFindsItAgain_data()
{
    QTest::addColumn<bool>("lastIsABookmark");
    QTest::newRow("a bookmark's description") << true;
    QTest::newRow("a folder's description") << false;
}

void TestSearch::endsOnTheLastPlaceAndFindsItAgain()
{
    QFETCH(bool, lastIsABookmark);
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("first"));
    TFolder *last = AddFolder(catalog.Folders(), QStringLiteral("last"),
                              lastIsABookmark ? QString() : QStringLiteral("the end"));
    TBookmark *bookmark = lastIsABookmark
        ? AddBookmark(*last, QString(), QString(), QStringLiteral("the end"))
        : nullptr;
    TSearchRec rec;
    rec.Text = QStringLiteral("END");
    rec.Folder = catalog.Folders().At(0);
    for (int round = 0; round < 2; ++round) {
        QVERIFY(FindNext(rec));
        QCOMPARE(rec.Folder, last);
        QCOMPARE(rec.Bookmark, bookmark);
        QCOMPARE(rec.Field, sfDescription);
        QCOMPARE(rec.FoundPos, 5);
        QVERIFY(!FindNext(rec));
        QCOMPARE(rec.Folder, last);
        QCOMPARE(rec.Bookmark, bookmark);
        QCOMPARE(rec.Field, sfTitle);
        QCOMPARE(rec.FoundPos, 1);
        QCOMPARE(rec.NextPos, 1);
    }
}

void TestSearch::nothingToSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasFolder");
    QTest::newRow("empty text") << QString() << true;
    QTest::newRow("no folder") << QStringLiteral("a") << false;
}

void TestSearch::nothingToSearch()
{
    QFETCH(QString, text);
    QFETCH(bool, hasFolder);
    Tree tree;
    TSearchRec rec;
    rec.Text = text;
    rec.Folder = hasFolder ? tree.folders["R1"] : nullptr;
    rec.Bookmark = tree.bookmarks["B12"];
    rec.Field = sfAddress;
    rec.FoundPos = 7;
    rec.NextPos = 9;
    const TSearchRec before = rec;
    QVERIFY(!FindNext(rec));
    CompareCursors(rec, before);
}

void TestSearch::bookmarkOfAnotherFolderPicksByItsPosition()
{
    // Folder changed, Bookmark kept from another folder (and not validated): the
    // bookmark's fields, then the folder's bookmark after the bookmark's own position.
    Tree tree;
    TSearchRec rec;
    rec.Text = QStringLiteral("ab");
    rec.Folder = tree.folders["R1"];
    rec.Bookmark = tree.bookmarks["B111"]; // first in its list
    const QStringList found = AllMatches(rec);
    QCOMPARE(found.mid(0, 4), (QStringList{"B111 ab", "B111.a ab", "B111.d ab", "B12 ab"}));
}

void TestSearch::nextFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("next");
    QTest::newRow("next sibling") << "R1" << "R2";
    QTest::newRow("first sub-folder's sibling") << "S1" << "S2";
    QTest::newRow("last sub-folder: the ancestor's sibling") << "S2" << "R2";
    QTest::newRow("deepest: the nearest ancestor with a sibling") << "S11" << "S2";
    QTest::newRow("last root folder") << "R3" << "";
    QTest::newRow("no folder") << "" << "";
}

void TestSearch::nextFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, next);
    Tree tree;
    QCOMPARE(NextFolder(tree.folders.value(folder)), tree.folders.value(next));
    TFolder loose; // in no list
    QCOMPARE(NextFolder(&loose), nullptr);
}

void TestSearch::searchesACatalogueNestedVeryDeep()
{
    TCatalog catalog;
    TFolder *deepest = AddFolder(catalog.Folders(), QStringLiteral("0"));
    for (int depth = 1; depth < 100000; ++depth)
        deepest = AddFolder(deepest->Folders(), QStringLiteral("folder"));
    TBookmark *bookmark = AddBookmark(*deepest, QString(), QString(), QStringLiteral("found"));
    AddFolder(catalog.Folders(), QStringLiteral("after"));

    TSearchRec rec;
    rec.Text = QStringLiteral("found");
    rec.Folder = catalog.Folders().At(0);
    QVERIFY(FindNext(rec));
    QCOMPARE(rec.Bookmark, bookmark);
    QVERIFY(!FindNext(rec)); // climbs all the way back up to "after"
    QCOMPARE(rec.Folder, catalog.Folders().At(1));
    QCOMPARE(NextFolder(deepest), catalog.Folders().At(1));

    rec.Folder = deepest;
    ValidateSearchRec(rec, catalog);
    QCOMPARE(rec.Folder, deepest);
}

void TestSearch::searchesAMillionBookmarks()
{
    TCatalog catalog;
    TFolder *folder = AddFolder(catalog.Folders(), QStringLiteral("big"));
    TBookmark shared; // one set of texts for all (they are implicitly shared)
    shared.SetTitle(QStringLiteral("title"));
    shared.SetAddress(QStringLiteral("https://example.com/"));
    for (int i = 0; i < 1000000; ++i)
        folder->Bookmarks().Add(std::make_unique<TBookmark>())->Assign(shared);
    TBookmark *last = folder->Bookmarks().Last();
    last->SetDescription(QStringLiteral("needle"));

    TSearchRec rec;
    rec.Text = QStringLiteral("Needle");
    rec.Folder = folder;
    QVERIFY(FindNext(rec));
    QCOMPARE(rec.Bookmark, last);
    QCOMPARE(rec.Field, sfDescription);
    QVERIFY(!FindNext(rec));
}

void TestSearch::searchesManySiblingFolders()
{
    TCatalog catalog;
    for (int i = 0; i < 100000; ++i)
        AddFolder(catalog.Folders(), QStringLiteral("folder"));
    TFolder *last = catalog.Folders().Last();
    last->SetDescription(QStringLiteral("needle"));
    TSearchRec rec;
    rec.Text = QStringLiteral("needle");
    rec.Folder = catalog.Folders().At(0);
    QVERIFY(FindNext(rec));
    QCOMPARE(rec.Folder, last);
}

void TestSearch::validateKeepsTheCursorInTheTree_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("folder");   // expected afterwards
    QTest::addColumn<QString>("bookmark"); // expected afterwards
    QTest::addColumn<int>("nextPos");      // expected afterwards

    QTest::newRow("nothing changed") << "none" << "S11" << "B111" << 4;
    QTest::newRow("its folder deleted") << "delete folder" << "" << "" << 1;
    QTest::newRow("an ancestor deleted") << "delete ancestor" << "" << "" << 1;
    QTest::newRow("its folder cut") << "extract folder" << "" << "" << 1;
    QTest::newRow("its bookmark deleted") << "delete bookmark" << "S11" << "" << 1;
    // The new copies may take the freed addresses: then the cursor names one of them.
    QTest::newRow("tree replaced by undo") << "undo" << "?" << "" << 1;
    QTest::newRow("bookmark of another folder") << "other folder" << "R1" << "" << 1;
    QTest::newRow("no folder, a bookmark") << "no folder" << "" << "" << 1;
}

void TestSearch::validateKeepsTheCursorInTheTree()
{
    QFETCH(QString, change);
    QFETCH(QString, folder);
    QFETCH(QString, bookmark);
    QFETCH(int, nextPos);
    Tree tree;
    tree.catalog.SaveUndoState();
    TSearchRec rec;
    rec.Text = QStringLiteral("ab");
    rec.Folder = tree.folders["S11"];
    rec.Bookmark = tree.bookmarks["B111"];
    rec.Field = sfAddress;
    rec.FoundPos = 2;
    rec.NextPos = 4;
    std::unique_ptr<TFolder> cut;
    TFolder *s1 = tree.folders["S1"];
    if (change == "delete folder")
        s1->Folders().Delete(0);
    else if (change == "delete ancestor")
        tree.catalog.Folders().Delete(0);
    else if (change == "extract folder")
        cut = s1->Folders().Extract(0);
    else if (change == "delete bookmark")
        rec.Folder->Bookmarks().Delete(0);
    else if (change == "undo")
        tree.catalog.Undo();
    else if (change == "other folder")
        rec.Folder = tree.folders["R1"];
    else if (change == "no folder")
        rec.Folder = nullptr;

    ValidateSearchRec(rec, tree.catalog);
    if (folder == "?") {
        QVERIFY(!rec.Folder || InTree(tree.catalog, rec.Folder));
        QVERIFY(!rec.Bookmark || rec.Folder->Bookmarks().IndexOf(rec.Bookmark) >= 0);
    } else {
        QCOMPARE(rec.Folder, folder.isEmpty() ? nullptr : tree.folders[folder]);
        QCOMPARE(rec.Bookmark, bookmark.isEmpty() ? nullptr : tree.bookmarks[bookmark]);
        QCOMPARE(rec.NextPos, nextPos);
        QCOMPARE(rec.Field, bookmark.isEmpty() ? sfTitle : sfAddress);
    }
    // Whatever became of the cursor, searching from it is safe.
    const QStringList found = AllMatches(rec);
    QCOMPARE(found.isEmpty(), rec.Folder == nullptr);
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
