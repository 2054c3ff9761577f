// Folders and folder lists: defaults, back-links, deep copies, counts, the
// owning-list operations and freeing.
#include "catalogue/Catalog.h"
#include "tests/CatalogOutline.h"
#include "tests/CatalogTree.h"
#include "tests/TestSupport.h"

#include <QtTest>

namespace {

// The outline of a folder and everything below it.
QString Outline(const TFolder &folder)
{
    return CatalogOutline(TCatalog(), kWholeOutline, &folder);
}

// X holds bookmarks x1 x2 and folder Y; Y holds Z; Z holds z1 z2 z3.
TFolder *BuildXYZ(TFolders &roots)
{
    TFolder *x = AddFolder(roots, QStringLiteral("X"));
    x->SetDescription(QStringLiteral("about X"));
    x->SetExpanded(true);
    AddBookmarks(x->Bookmarks(), {"x1", "x2"});
    TFolder *y = AddFolder(x->Folders(), QStringLiteral("Y"));
    y->SetSelected(true);
    TFolder *z = AddFolder(y->Folders(), QStringLiteral("Z"));
    AddBookmarks(z->Bookmarks(), {"z1", "z2", "z3"});
    return x;
}

// Every folder below `top` has the folder whose list holds it as Parent, and that list as List.
bool BackLinksHold(const TFolder &top)
{
    std::vector<const TFolder *> stack{&top};
    while (!stack.empty()) {
        const TFolder *folder = stack.back();
        stack.pop_back();
        if (folder->Folders().Owner() != folder)
            return false;
        for (const auto &child : folder->Folders()) {
            if (child->Parent() != folder || child->List() != &folder->Folders())
                return false;
            stack.push_back(child.get());
        }
        for (const auto &bookmark : folder->Bookmarks())
            if (bookmark->Owner() != &folder->Bookmarks())
                return false;
    }
    return true;
}

} // namespace

class TestFolder : public QObject
{
    Q_OBJECT

private slots:
    void newFolderHasDefaults();
    void addSetsParentOnlyWhenTheListHasAnOwner();
    void assignMakesADeepCopyWithItsOwnBackLinks();
    void assignContentsAppendsToWhatTheFolderHolds();
    void assignContentsIntoItsOwnSubFolderEnds();
    void assignPropertiesCopiesTheFourFieldsOnly();
    void addCopiesOfAListOntoItselfDoublesOnce();
    void getIndex();
    void counts();
    void indexOfTitle();
    void listOperationsAndTheirError();
    void deletingAFolderFreesItsSubtree();
};

void TestFolder::newFolderHasDefaults()
{
    TFolder folder;
    QVERIFY(folder.Title().isEmpty() && folder.Description().isEmpty());
    QVERIFY(!folder.Expanded() && !folder.Selected());
    QCOMPARE(folder.Parent(), nullptr);
    QCOMPARE(folder.List(), nullptr);
    QCOMPARE(folder.Folders().Owner(), &folder);
    QCOMPARE(folder.GetIndex(), 0);
    QCOMPARE(folder.Bookmarks().Count(), 0);
    QCOMPARE(folder.Folders().Count(), 0);
}

void TestFolder::addSetsParentOnlyWhenTheListHasAnOwner()
{
    TFolders roots;
    TFolder *root = AddFolder(roots, QStringLiteral("root"));
    QCOMPARE(root->Parent(), nullptr);
    QCOMPARE(root->List(), &roots);
    TFolder *child = AddFolder(root->Folders(), QStringLiteral("child"));
    QCOMPARE(child->Parent(), root);
    QCOMPARE(child->List(), &root->Folders());

    // A list without an owner leaves Parent as it was.
    std::unique_ptr<TFolder> taken = root->Folders().Extract(0);
    TFolders other;
    TFolder *moved = other.Add(std::move(taken));
    QCOMPARE(moved->Parent(), root);
    QCOMPARE(moved->List(), &other);
}

void TestFolder::assignMakesADeepCopyWithItsOwnBackLinks()
{
    TFolders roots;
    TFolder *x = BuildXYZ(roots);
    TFolder copy;
    copy.Assign(*x);
    QCOMPARE(Outline(copy), Outline(*x));
    QCOMPARE(Titles(copy.Bookmarks()), QStringList({"x1", "x2"}));
    QCOMPARE(copy.Parent(), nullptr);
    QCOMPARE(copy.List(), nullptr);
    QVERIFY(BackLinksHold(copy));
    QVERIFY(copy.Folders().GetItem(0) != x->Folders().GetItem(0));
    QCOMPARE(copy.Folders().GetItem(0)->Folders().GetItem(0)->Parent(),
             copy.Folders().GetItem(0));
}

void TestFolder::assignContentsAppendsToWhatTheFolderHolds()
{
    TFolders roots;
    TFolder *x = BuildXYZ(roots);
    TFolder target;
    target.SetTitle(QStringLiteral("target"));
    AddBookmarks(target.Bookmarks(), {QStringLiteral("own")});
    AddFolder(target.Folders(), QStringLiteral("ownFolder"));
    target.AssignContents(*x);
    QCOMPARE(target.Title(), QStringLiteral("target"));
    QCOMPARE(Titles(target.Bookmarks()), QStringList({"own", "x1", "x2"}));
    QCOMPARE(Titles(target.Folders()), QStringList({"ownFolder", "Y"}));
    QVERIFY(BackLinksHold(target));
}

// A fault once met: copying a folder's contents into one of its own sub-folders
// went on copying the copies until memory ran out. Each folder's counts are taken
// when its copy starts, so the copy ends.
void TestFolder::assignContentsIntoItsOwnSubFolderEnds()
{
    TFolders roots;
    TFolder *x = BuildXYZ(roots);
    TFolder *y = x->Folders().GetItem(0);
    y->AssignContents(*x);
    // Y received x1 x2, then a copy of itself as it stood by then (x1 x2 and Z).
    const QString b = QStringLiteral(" |  | ") + TodayText() + QStringLiteral(" | \n");
    QCOMPARE(Outline(*x), "F0 X | about X | 0 1\n"
                          "B1 x1 | " + b + "B1 x2 | " + b +
                          "F1 Y |  | 1 0\n"
                          "B2 x1 | " + b + "B2 x2 | " + b +
                          "F2 Z |  | 0 0\n"
                          "B3 z1 | " + b + "B3 z2 | " + b + "B3 z3 | " + b +
                          "F2 Y |  | 1 0\n"
                          "B3 x1 | " + b + "B3 x2 | " + b +
                          "F3 Z |  | 0 0\n"
                          "B4 z1 | " + b + "B4 z2 | " + b + "B4 z3 | " + b);
    QVERIFY(BackLinksHold(*x));
}

void TestFolder::assignPropertiesCopiesTheFourFieldsOnly()
{
    TFolders roots;
    TFolder *x = BuildXYZ(roots);
    x->SetSelected(true);
    TFolder copy;
    copy.AssignProperties(*x);
    QCOMPARE(Outline(copy), QStringLiteral("F0 X | about X | 1 1\n"));
    QCOMPARE(copy.List(), nullptr);
}

void TestFolder::addCopiesOfAListOntoItselfDoublesOnce()
{
    TCatalog catalog;
    TFolders &roots = catalog.Folders();
    BuildXYZ(roots);
    AddFolder(roots, QStringLiteral("W"));
    const QString before = CatalogOutline(catalog, kWholeOutline);
    roots.AddCopies(roots);
    QCOMPARE(Titles(roots), QStringList({"X", "W", "X", "W"}));
    QCOMPARE(CatalogOutline(catalog, kWholeOutline), before + before);
    QCOMPARE(roots.GetItem(2)->Parent(), nullptr);
    QCOMPARE(roots.GetItem(2)->List(), &roots);
    QVERIFY(BackLinksHold(*roots.GetItem(2)));
}

void TestFolder::getIndex()
{
    TFolders roots;
    TFolder *a = AddFolder(roots, QStringLiteral("a"));
    TFolder *b = AddFolder(roots, QStringLiteral("b"));
    QCOMPARE(a->GetIndex(), 0);
    QCOMPARE(b->GetIndex(), 1);
    roots.Move(1, 0);
    QCOMPARE(b->GetIndex(), 0);
    QCOMPARE(b->List(), &roots);
}

void TestFolder::counts()
{
    TCatalog catalog;
    QCOMPARE(catalog.GetFolderCount(), 0);
    QCOMPARE(catalog.GetBookmarkCount(), 0);
    TFolder *x = BuildXYZ(catalog.Folders());
    TFolder *y = x->Folders().GetItem(0);
    TFolder *z = y->Folders().GetItem(0);
    QCOMPARE(catalog.GetFolderCount(), 3);
    QCOMPARE(x->GetFolderCount(), 2);
    QCOMPARE(z->GetFolderCount(), 0);
    QCOMPARE(catalog.GetBookmarkCount(), 5);
    QCOMPARE(y->GetBookmarkCount(), 3);
    QCOMPARE(x->GetBookmarkCount(), 5);
    AddFolder(catalog.Folders(), QStringLiteral("second root"));
    QCOMPARE(catalog.GetFolderCount(), 4);
}

void TestFolder::indexOfTitle()
{
    TFolders roots;
    AddFolder(roots, QStringLiteral("News"));
    AddFolder(roots, QStringLiteral("NEWS"));
    QCOMPARE(roots.IndexOfTitle(QStringLiteral("news")), 0);
    QCOMPARE(roots.IndexOfTitle(QStringLiteral("News ")), -1);
    QCOMPARE(TFolders().IndexOfTitle(QStringLiteral("news")), -1);
}

void TestFolder::listOperationsAndTheirError()
{
    TFolders roots;
    for (const char *title : {"a", "b", "c"})
        AddFolder(roots, QString::fromLatin1(title));
    QCOMPARE(ErrorOf([&] { roots.GetItem(3); }), QStringLiteral("List index out of bounds (3)"));
    QCOMPARE(ErrorOf([&] { roots.Delete(-2); }), QStringLiteral("List index out of bounds (-2)"));
    QCOMPARE(ErrorOf([&] { roots.Move(1, 3); }), QStringLiteral("List index out of bounds (3)"));
    QCOMPARE(Titles(roots), QStringList({"a", "b", "c"}));
    roots.Move(2, 0);
    QCOMPARE(Titles(roots), QStringList({"c", "a", "b"}));
    roots.Delete(1);
    QCOMPARE(Titles(roots), QStringList({"c", "b"}));
    roots.Clear();
    QCOMPARE(roots.Count(), 0);
}

void TestFolder::deletingAFolderFreesItsSubtree()
{
    // The sanitizer build reports anything that is not freed; a subtree
    // 100,000 levels deep is freed without recursion.
    TCatalog catalog;
    BuildXYZ(catalog.Folders());
    TFolder *deep = AddFolder(catalog.Folders(), QStringLiteral("deep"));
    for (int i = 0; i < 100000; ++i) {
        AddBookmark(deep->Bookmarks(), QStringLiteral("b"));
        deep = AddFolder(deep->Folders(), QStringLiteral("d"));
    }
    QCOMPARE(catalog.GetFolderCount(), 100004);
    QCOMPARE(catalog.GetBookmarkCount(), 100005);
    catalog.Folders().Delete(0);
    QCOMPARE(catalog.GetFolderCount(), 100001);
    QCOMPARE(catalog.GetBookmarkCount(), 100000);
    catalog.Folders().Delete(0);
    QCOMPARE(catalog.GetFolderCount(), 0);
    QCOMPARE(catalog.GetBookmarkCount(), 0);
}

QTEST_GUILESS_MAIN(TestFolder)
#include "tst_folder.moc"
