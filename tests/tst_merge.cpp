// The indexes that keep large merges fast find what a search one by one finds,
// each in its own list, and the texts every import merges are cleaned; the merge
// rule itself shows in each reader's tests.
#include "CatalogTree.h"
#include "exchange/Merge.h"

#include <QtTest>

namespace {

template <typename Item>
std::unique_ptr<Item> New(const QString &title)
{
    auto item = std::make_unique<Item>();
    item->SetTitle(title);
    return item;
}

} // namespace

class TestMerge : public QObject
{
    Q_OBJECT

private slots:
    void indexesFindTheFirstOfEqualTitlesInTheirOwnList()
    {
        // A list may hold equal titles (made by hand): the merge picks the first. One
        // run merges into several lists, as an import of several folders does, each
        // past the size from which a list is indexed.
        TCatalog catalog;
        TFolder *a = AddFolder(catalog.Folders(), QStringLiteral("A"));
        TFolder *b = AddFolder(catalog.Folders(), QStringLiteral("B"));
        for (int i = 0; i < 40; ++i)
            AddFolder(b->Folders(), QStringLiteral("s%1").arg(i % 20));
        TMerger merger(catalog);
        for (int i = 39; i >= 0; --i) {
            const QString title = QStringLiteral("S%1").arg(i % 20);
            QCOMPARE(merger.MergeFolder(b, New<TFolder>(title))->GetIndex(), i % 20);
        }
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < 40; ++i) {
                const QString title = QStringLiteral("t%1").arg(i);
                for (TFolder *f : {a, b}) {
                    QCOMPARE(!merger.MergeBookmark(*f, New<TBookmark>(title)), round != 0);
                    bool isNew = round != 0;
                    QCOMPARE(merger.MergeFolder(f, New<TFolder>(title), &isNew)->Parent(), f);
                    QCOMPARE(isNew, round == 0);
                }
            }
        }
    }

    void largeMergeKeepsEveryNewTitleOnce()
    {
        TCatalog catalog;
        TFolder *f = AddFolder(catalog.Folders(), QStringLiteral("F"));
        for (int i = 0; i < 100000; i += 2)
            AddBookmark(f->Bookmarks(), QStringLiteral("title %1").arg(i));
        TMerger merger(catalog);
        for (int i = 0; i < 100000; ++i)
            merger.MergeBookmark(*f, New<TBookmark>(QStringLiteral("TITLE %1").arg(i)));
        QCOMPARE(f->Bookmarks().Count(), 100000);
        QCOMPARE(f->Bookmarks().At(50000)->Title(), QStringLiteral("TITLE 1"));
        QCOMPARE(f->Bookmarks().Last()->Title(), QStringLiteral("TITLE 99999"));
    }

    // Every importer merges through here: each text of a folder or bookmark comes in
    // without what the catalogue file cannot hold, and titles compare so cleaned.
    void mergedTextsHoldOnlyXmlCharacters()
    {
        const QString dirty = QStringLiteral("a\uFFFE") + QChar(0xD800) + QChar(1)
            + QStringLiteral("b\uFFFF");
        TCatalog catalog;
        TMerger merger(catalog);
        auto folder = New<TFolder>(dirty);
        folder->SetDescription(dirty);
        TFolder *f = merger.MergeFolder(nullptr, std::move(folder));
        QCOMPARE(merger.MergeFolder(nullptr, New<TFolder>("ab")), f);
        auto bookmark = New<TBookmark>(dirty);
        for (auto set : {&TBookmark::SetAddress, &TBookmark::SetDescription,
                         &TBookmark::SetAddDate, &TBookmark::SetLastVisit})
            (bookmark.get()->*set)(dirty);
        const TBookmark *b = merger.MergeBookmark(*f, std::move(bookmark));
        QVERIFY(!merger.MergeBookmark(*f, New<TBookmark>("ab")));
        QCOMPARE(QStringList({f->Title(), f->Description()}), QStringList({"ab", "ab"}));
        QCOMPARE(QStringList({b->Title(), b->Address(), b->Description(), b->AddDate(),
                              b->LastVisit()}),
                 QStringList(5, "ab"));
    }
};

QTEST_GUILESS_MAIN(TestMerge)
#include "tst_merge.moc"
