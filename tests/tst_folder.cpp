// Folders: deep copies with their back-links (also into the folder's own subtree),
// and a tree nested very deep copied, counted and freed.
#include "catalogue/Catalog.h"
#include "tests/CatalogOutline.h"
#include "tests/CatalogTree.h"

#include <QtTest>

namespace {

// X holds bookmarks x1 x2 and folder Y; Y holds Z; Z holds z1 z2 z3.
TFolder *BuildXYZ(TFolders &roots)
{
    TFolder *x = AddFolder(roots, "X");
    x->SetDescription("about X");
    x->SetExpanded(true);
    AddBookmarks(x->Bookmarks(), {"x1", "x2"});
    TFolder *y = AddFolder(x->Folders(), "Y");
    y->SetSelected(true);
    AddBookmarks(AddFolder(y->Folders(), "Z")->Bookmarks(), {"z1", "z2", "z3"});
    return x;
}

// Every folder from `top` down names its list and its parent; every bookmark its list.
bool BackLinksHold(const TFolder &top)
{
    bool hold = true;
    ForEachFolder(top, [&hold](const TFolder &f) {
        hold = hold && f.Folders().Owner() == &f;
        for (const auto &child : f.Folders())
            hold = hold && child->Parent() == &f && child->List() == &f.Folders();
        for (const auto &bookmark : f.Bookmarks())
            hold = hold && bookmark->Owner() == &f.Bookmarks();
    });
    return hold;
}

} // namespace

class TestFolder : public QObject
{
    Q_OBJECT

private slots:
    void addCopiesOntoItselfAppendsDeepCopiesOnce();
    void assignContentsIntoItsOwnSubFolderEnds();
    void treeNestedDeepIsCopiedCountedAndFreed();
};

void TestFolder::addCopiesOntoItselfAppendsDeepCopiesOnce()
{
    TCatalog catalog;
    BuildXYZ(catalog.Folders());
    AddFolder(catalog.Folders(), "W");
    const QString before = CatalogOutline(catalog, kWholeOutline);
    catalog.Folders().AddCopies(catalog.Folders());
    QCOMPARE(CatalogOutline(catalog, kWholeOutline), before + before);
    const TFolder *copy = catalog.Folders().At(2);
    QCOMPARE(copy->Parent(), nullptr);
    QCOMPARE(copy->List(), &catalog.Folders());
    QVERIFY(BackLinksHold(*copy));
}

// A fault once met: copying a folder's contents into one of its own sub-folders
// went on copying the copies until memory ran out. Each folder's counts are taken
// when its copy starts, so the copy ends.
void TestFolder::assignContentsIntoItsOwnSubFolderEnds()
{
    TFolders roots;
    TFolder *x = BuildXYZ(roots);
    AddBookmark(x->Folders().At(0)->Bookmarks(), "y1");
    x->Folders().At(0)->AssignContents(*x);
    // Y keeps y1 and Z and receives x1 x2, then a copy of itself as it stood by then.
    QCOMPARE(CatalogOutline(TCatalog(), {false, false, true}, x),
             "F0 X | about X | 0 1\nB1 x1 | \nB1 x2 | \n"
             "F1 Y |  | 1 0\nB2 y1 | \nB2 x1 | \nB2 x2 | \n"
             "F2 Z |  | 0 0\nB3 z1 | \nB3 z2 | \nB3 z3 | \n"
             "F2 Y |  | 1 0\nB3 y1 | \nB3 x1 | \nB3 x2 | \n"
             "F3 Z |  | 0 0\nB4 z1 | \nB4 z2 | \nB4 z3 | \n");
    QVERIFY(BackLinksHold(*x));
}

void TestFolder::treeNestedDeepIsCopiedCountedAndFreed()
{
    // Copying, counting and freeing walk without recursion; the sanitizer build
    // reports anything left unfreed.
    constexpr int depth = 100000;
    TCatalog catalog;
    TFolder *deepest = AddFolder(catalog.Folders(), "0");
    for (int i = 1; i < depth; ++i) {
        AddBookmark(deepest->Bookmarks(), "b");
        deepest = AddFolder(deepest->Folders(), QString::number(i));
    }
    catalog.Folders().AddCopies(catalog.Folders());
    QCOMPARE(catalog.GetFolderCount(), 2 * depth);
    QCOMPARE(catalog.GetBookmarkCount(), 2 * (depth - 1));
    const TFolder *copy = catalog.Folders().At(1);
    while (!copy->Folders().IsEmpty())
        copy = copy->Folders().At(0);
    QCOMPARE(copy->Parent()->Title(), QString::number(depth - 2));
    catalog.Folders().Delete(0);
    QCOMPARE(catalog.GetFolderCount(), depth);
}

QTEST_GUILESS_MAIN(TestFolder)
#include "tst_folder.moc"
