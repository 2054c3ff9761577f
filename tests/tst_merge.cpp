// The merge rule of the imports: reuse by title in the one target list, drop
// bookmarks of a present title, ASCII-only folding, appends only; and the indexes
// that keep large merges fast, each belonging to its own list.
#include "CatalogOutline.h"
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
    void titlesMatchWithAsciiFolding_data();
    void titlesMatchWithAsciiFolding();
    void mergesIntoTheOneTargetList();
    void indexesFindTheFirstOfEqualTitlesInTheirOwnList();
    void largeMergeKeepsEveryNewTitleOnce();
};

void TestMerge::titlesMatchWithAsciiFolding_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<bool>("merged");
    QTest::newRow("same") << "Work" << "Work" << true;
    QTest::newRow("ASCII case") << "aWzZ" << "AwZz" << true;
    QTest::newRow("non-ASCII case") << u"\u00C9cole"_qs << u"\u00E9cole"_qs << false;
    QTest::newRow("blank at the end counts") << "Work" << "Work " << false;
    QTest::newRow("empty titles") << "" << "" << true;
    QTest::newRow("folding is a-z only") << "[@`" << "{`@" << false;
}

void TestMerge::titlesMatchWithAsciiFolding()
{
    QFETCH(QString, existing);
    QFETCH(QString, incoming);
    QFETCH(bool, merged);
    TCatalog catalog;
    TFolder *old = AddFolder(catalog.Folders(), existing);
    AddBookmark(old->Bookmarks(), existing);
    TMerger merger(catalog);
    bool isNew = merged;
    QCOMPARE(merger.MergeFolder(nullptr, New<TFolder>(incoming), &isNew) == old, merged);
    QCOMPARE(isNew, !merged);
    QCOMPARE(catalog.Folders().Count(), merged ? 1 : 2);
    QCOMPARE(merger.MergeBookmark(*old, New<TBookmark>(incoming)) == nullptr, merged);
    QCOMPARE(TitleHash()(existing) == TitleHash()(incoming), merged);
}

void TestMerge::mergesIntoTheOneTargetList()
{
    // What is there keeps its fields; what is new is appended in the order given.
    TCatalog catalog;
    TFolder *work = AddFolder(catalog.Folders(), QStringLiteral("Work"));
    work->SetDescription(QStringLiteral("mine"));
    AddBookmark(work->Bookmarks(), QStringLiteral("Mail"))->SetAddress(QStringLiteral("a"));
    AddFolder(work->Folders(), QStringLiteral("Inner"));
    TMerger merger(catalog);
    auto incoming = New<TFolder>(QStringLiteral("work"));
    incoming->SetDescription(QStringLiteral("theirs"));
    AddBookmark(incoming->Bookmarks(), QStringLiteral("Other"));
    QCOMPARE(merger.MergeFolder(nullptr, std::move(incoming)), work);
    QCOMPARE(merger.MergeBookmark(*work, New<TBookmark>(QStringLiteral("MAIL"))), nullptr);
    TFolder *root = merger.MergeFolder(nullptr, New<TFolder>(QStringLiteral("INNER")));
    QCOMPARE(merger.MergeFolder(work, New<TFolder>(QStringLiteral("inner"))), work->Folders().At(0));
    for (const char *title : {"d", "a", "MAIL", "D", "c"})
        merger.MergeBookmark(*root, New<TBookmark>(QString::fromLatin1(title)));
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 Work | mine\nB1 Mail | a | \n"
                                                     "F1 Inner | \nF0 INNER | \nB1 d |  | \n"
                                                     "B1 a |  | \nB1 MAIL |  | \nB1 c |  | \n"));
}

void TestMerge::indexesFindTheFirstOfEqualTitlesInTheirOwnList()
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
    for (int i = 39; i >= 0; --i)
        QCOMPARE(merger.MergeFolder(b, New<TFolder>(QStringLiteral("S%1").arg(i % 20)))->GetIndex(),
                 i % 20);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 40; ++i) {
            const QString title = QStringLiteral("t%1").arg(i);
            for (TFolder *f : {a, b}) {
                QCOMPARE(merger.MergeBookmark(*f, New<TBookmark>(title)) != nullptr, round == 0);
                bool isNew = round != 0;
                QCOMPARE(merger.MergeFolder(f, New<TFolder>(title), &isNew)->Parent(), f);
                QCOMPARE(isNew, round == 0);
            }
        }
    }
    QCOMPARE(a->Bookmarks().Count() + b->Bookmarks().Count() + a->Folders().Count(), 120);
    QCOMPARE(b->Folders().Count(), 80);
}

void TestMerge::largeMergeKeepsEveryNewTitleOnce()
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

QTEST_GUILESS_MAIN(TestMerge)
#include "tst_merge.moc"
