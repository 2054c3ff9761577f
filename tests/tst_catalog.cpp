// The catalogue: its undo history of whole-tree snapshots, copies between
// catalogues, counts, and trees nested very deep.
#include "catalogue/Catalog.h"
#include "tests/CatalogOutline.h"
#include "tests/CatalogTree.h"

#include <QtTest>

namespace {

// The tree called `name`: one root folder of that title holding one bookmark.
void Show(TCatalog &catalog, const QString &name)
{
    catalog.Folders().Clear();
    TFolder *folder = AddFolder(catalog.Folders(), name);
    AddBookmark(folder->Bookmarks(), name + QStringLiteral("/b"));
}

// A structural change, as every caller makes one: snapshot first, then change.
void Change(TCatalog &catalog, const QString &name)
{
    catalog.SaveUndoState();
    Show(catalog, name);
}

QString Shown(const TCatalog &catalog)
{
    return Titles(catalog.Folders()).join(QLatin1Char(','));
}

QStringList History(const TCatalog &catalog)
{
    QStringList names;
    for (const auto &snapshot : catalog.UndoList())
        names << Titles(snapshot->Folders()).join(QLatin1Char(','));
    return names;
}

QStringList Names(int first, int last)
{
    QStringList names;
    for (int i = first; i <= last; ++i)
        names << QStringLiteral("S%1").arg(i);
    return names;
}

bool UndoOffered(const TCatalog &c) { return c.UndoIndex() > 0; }
bool RedoOffered(const TCatalog &c) { return c.GetUndoCount() - 1 > c.UndoIndex(); }

} // namespace

class TestCatalog : public QObject
{
    Q_OBJECT

private slots:
    void freshCatalogHasNoHistory();
    void oneChangeThenUndoAndRedo();
    void undoWithAnEmptyHistoryOnlyPushesTheTreeShown();
    void threeChanges();
    void twelveChangesWithAFullHistory();
    void undoShowsNewObjects();
    void snapshotsAreUntouchedByLaterChanges();
    void addCopiesAppendsWithoutTheHistory();
    void treeNestedDeepIsCopiedCountedAndFreed();
};

void TestCatalog::freshCatalogHasNoHistory()
{
    TCatalog catalog;
    QCOMPARE(catalog.GetUndoCount(), 0);
    QCOMPARE(catalog.UndoIndex(), 0);
    QCOMPARE(catalog.UndoLimit(), 10);
    QVERIFY(!UndoOffered(catalog));
    QCOMPARE(catalog.Folders().Count(), 0);
}

void TestCatalog::oneChangeThenUndoAndRedo()
{
    TCatalog catalog;
    Show(catalog, QStringLiteral("S0"));
    Change(catalog, QStringLiteral("S1"));
    QCOMPARE(History(catalog), Names(0, 0));
    QCOMPARE(catalog.UndoIndex(), 1);

    catalog.Undo();
    QCOMPARE(History(catalog), Names(0, 1));
    QCOMPARE(catalog.UndoIndex(), 0);
    QCOMPARE(Shown(catalog), QStringLiteral("S0"));
    QVERIFY(!UndoOffered(catalog));
    QVERIFY(RedoOffered(catalog));

    catalog.Redo();
    QCOMPARE(catalog.UndoIndex(), 1);
    QCOMPARE(Shown(catalog), QStringLiteral("S1"));
    QVERIFY(!RedoOffered(catalog)); // 1 is not less than 2 - 1
    catalog.Redo();
    QCOMPARE(catalog.UndoIndex(), 1);
    QCOMPARE(Shown(catalog), QStringLiteral("S1"));
    QCOMPARE(History(catalog), Names(0, 1));
}

void TestCatalog::undoWithAnEmptyHistoryOnlyPushesTheTreeShown()
{
    TCatalog catalog;
    Show(catalog, QStringLiteral("S0"));
    TFolder *shown = catalog.Folders().GetItem(0);
    catalog.Undo();
    QCOMPARE(History(catalog), Names(0, 0));
    QCOMPARE(catalog.UndoIndex(), 0);
    QCOMPARE(catalog.Folders().GetItem(0), shown);
}

void TestCatalog::threeChanges()
{
    TCatalog catalog;
    Show(catalog, QStringLiteral("S0"));
    for (int i = 1; i <= 3; ++i)
        Change(catalog, QStringLiteral("S%1").arg(i));
    QCOMPARE(History(catalog), Names(0, 2));
    QCOMPARE(catalog.UndoIndex(), 3);
    QCOMPARE(Shown(catalog), QStringLiteral("S3"));

    catalog.Undo();
    QCOMPARE(History(catalog), Names(0, 3));
    QCOMPARE(catalog.UndoIndex(), 2);
    QCOMPARE(Shown(catalog), QStringLiteral("S2"));
    catalog.Undo();
    QCOMPARE(catalog.UndoIndex(), 1);
    QCOMPARE(Shown(catalog), QStringLiteral("S1"));
    catalog.Redo();
    QCOMPARE(catalog.UndoIndex(), 2);
    QCOMPARE(Shown(catalog), QStringLiteral("S2"));
    QCOMPARE(History(catalog), Names(0, 3));

    Change(catalog, QStringLiteral("T"));
    QCOMPARE(History(catalog), Names(0, 2));
    QCOMPARE(catalog.UndoIndex(), 3);
    catalog.Undo();
    QCOMPARE(History(catalog), Names(0, 2) << QStringLiteral("T"));
    QCOMPARE(Shown(catalog), QStringLiteral("S2"));
    QCOMPARE(catalog.UndoIndex(), 2);
}

void TestCatalog::twelveChangesWithAFullHistory()
{
    TCatalog catalog;
    Show(catalog, QStringLiteral("S0"));
    for (int i = 1; i <= 12; ++i)
        Change(catalog, QStringLiteral("S%1").arg(i));
    QCOMPARE(History(catalog), Names(2, 11));
    QCOMPARE(catalog.UndoIndex(), 10);

    catalog.Undo();
    QCOMPARE(History(catalog), Names(3, 12));
    QCOMPARE(catalog.UndoIndex(), 8);
    QCOMPARE(Shown(catalog), QStringLiteral("S11"));

    Change(catalog, QStringLiteral("T"));
    QCOMPARE(History(catalog), Names(4, 11) << QStringLiteral("S11"));
    QCOMPARE(catalog.UndoIndex(), 9);

    catalog.Undo();
    QCOMPARE(History(catalog), Names(4, 11) << QStringLiteral("S11") << QStringLiteral("T"));
    QCOMPARE(Shown(catalog), QStringLiteral("S11"));
    QCOMPARE(catalog.UndoIndex(), 8);
    catalog.Undo(); // the same tree once more
    QCOMPARE(Shown(catalog), QStringLiteral("S11"));
    QCOMPARE(catalog.UndoIndex(), 7);
    catalog.Undo();
    QCOMPARE(Shown(catalog), QStringLiteral("S10"));
    QCOMPARE(catalog.UndoIndex(), 6);

    // From a full history at most nine steps can be undone in a row.
    int steps = 3;
    while (UndoOffered(catalog)) {
        catalog.Undo();
        ++steps;
    }
    QCOMPARE(steps, 9);
    QCOMPARE(Shown(catalog), QStringLiteral("S4"));
    QCOMPARE(catalog.GetUndoCount(), catalog.UndoLimit());
}

void TestCatalog::undoShowsNewObjects()
{
    TCatalog catalog;
    Show(catalog, QStringLiteral("S0"));
    Change(catalog, QStringLiteral("S1"));
    catalog.Undo();
    const TFolder *shown = catalog.Folders().GetItem(0);
    const TFolder *kept = catalog.UndoList().GetItem(0)->Folders().GetItem(0);
    QCOMPARE(CatalogOutline(catalog, kWholeOutline),
             CatalogOutline(catalog, kWholeOutline, kept));
    QVERIFY(shown != kept);
    QVERIFY(shown->Bookmarks().GetItem(0) != kept->Bookmarks().GetItem(0));
    QCOMPARE(shown->Parent(), nullptr);
    QCOMPARE(shown->List(), &catalog.Folders());
    QCOMPARE(shown->Bookmarks().GetItem(0)->Owner(), &shown->Bookmarks());
}

void TestCatalog::snapshotsAreUntouchedByLaterChanges()
{
    TCatalog catalog;
    Show(catalog, QStringLiteral("S0"));
    catalog.SaveUndoState();
    const QString before = CatalogOutline(catalog, kWholeOutline);
    // Edits in place, as the dialogs make them.
    TFolder *folder = catalog.Folders().GetItem(0);
    folder->SetTitle(QStringLiteral("edited"));
    folder->SetSelected(true);
    folder->Bookmarks().GetItem(0)->SetAddress(QStringLiteral("https://example.org/"));
    folder->Folders().Add(std::make_unique<TFolder>());
    catalog.Undo();
    QCOMPARE(CatalogOutline(catalog, kWholeOutline), before);
    catalog.Redo();
    QCOMPARE(Shown(catalog), QStringLiteral("edited"));
    QCOMPARE(catalog.Folders().GetItem(0)->Bookmarks().GetItem(0)->Address(),
             QStringLiteral("https://example.org/"));
}

void TestCatalog::addCopiesAppendsWithoutTheHistory()
{
    TCatalog source;
    Show(source, QStringLiteral("A"));
    AddFolder(source.Folders(), QStringLiteral("B"));
    source.SaveUndoState();
    TCatalog target;
    Show(target, QStringLiteral("own"));
    target.AddCopies(source);
    QCOMPARE(Titles(target.Folders()), QStringList({"own", "A", "B"}));
    QCOMPARE(CatalogOutline(target, kWholeOutline, target.Folders().GetItem(1))
                 + CatalogOutline(target, kWholeOutline, target.Folders().GetItem(2)),
             CatalogOutline(source, kWholeOutline));
    QCOMPARE(target.GetUndoCount(), 0);
    QCOMPARE(target.Folders().GetItem(1)->List(), &target.Folders());
}

void TestCatalog::treeNestedDeepIsCopiedCountedAndFreed()
{
    constexpr int depth = 100000;
    TCatalog catalog;
    TFolders *list = &catalog.Folders();
    for (int i = 0; i < depth; ++i) {
        list = &AddFolder(*list, QString::number(i))->Folders();
    }
    catalog.SaveUndoState();
    catalog.Folders().Clear();
    QCOMPARE(catalog.GetFolderCount(), 0);
    catalog.Undo();
    QCOMPARE(catalog.GetFolderCount(), depth);
    QCOMPARE(catalog.Folders().GetItem(0)->GetFolderCount(), depth - 1);
    const TFolder *deepest = catalog.Folders().GetItem(0);
    while (deepest->Folders().Count())
        deepest = deepest->Folders().GetItem(0);
    QCOMPARE(deepest->Title(), QString::number(depth - 1));
    catalog.Redo();
    QCOMPARE(catalog.GetFolderCount(), 0);
}

QTEST_GUILESS_MAIN(TestCatalog)
#include "tst_catalog.moc"
