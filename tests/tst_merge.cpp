// The merge rule of the imports: reuse by title in the one target list, drop
// bookmarks of a present title, ASCII-only folding, appends only; and the indexes
// that keep large merges fast, each belonging to its own list.
#include "CatalogOutline.h"
#include "CatalogTree.h"
#include "exchange/Merge.h"

#include <QtTest>

namespace {

std::unique_ptr<TFolder> NewFolder(const QString &title, const QString &description = {})
{
    auto folder = std::make_unique<TFolder>();
    folder->SetTitle(title);
    folder->SetDescription(description);
    return folder;
}

std::unique_ptr<TBookmark> NewBookmark(const QString &title)
{
    auto bookmark = std::make_unique<TBookmark>();
    bookmark->SetTitle(title);
    return bookmark;
}

} // namespace

class TestMerge : public QObject
{
    Q_OBJECT

private slots:
    void titlesMatchWithAsciiFolding_data();
    void titlesMatchWithAsciiFolding();
    void existingEntriesKeepTheirFields();
    void indexesBelongToTheirOwnList_data();
    void indexesBelongToTheirOwnList();
    void indexFindsTheFirstOfEqualTitles_data();
    void indexFindsTheFirstOfEqualTitles();
    void largeMergeKeepsEveryNewTitleOnce();
    void controlCharactersAreDropped();
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
    TFolder *used = merger.MergeFolder(nullptr, NewFolder(incoming), &isNew);
    QCOMPARE(used == old, merged);
    QCOMPARE(isNew, !merged);
    QCOMPARE(catalog.Folders().Count(), merged ? 1 : 2);
    QCOMPARE(merger.MergeBookmark(*old, NewBookmark(incoming)) == nullptr, merged);
    QCOMPARE(TitleHash()(existing) == TitleHash()(incoming), merged);
}

void TestMerge::existingEntriesKeepTheirFields()
{
    TCatalog catalog;
    TFolder *old = AddFolder(catalog.Folders(), QStringLiteral("Work"));
    old->SetDescription(QStringLiteral("mine"));
    AddBookmark(old->Bookmarks(), QStringLiteral("Mail"))->SetAddress(QStringLiteral("a"));
    AddFolder(old->Folders(), QStringLiteral("Inner"));
    TMerger merger(catalog);
    auto incoming = NewFolder(QStringLiteral("work"), QStringLiteral("theirs"));
    AddBookmark(incoming->Bookmarks(), QStringLiteral("Other"));
    QCOMPARE(merger.MergeFolder(nullptr, std::move(incoming)), old);
    QCOMPARE(merger.MergeBookmark(*old, NewBookmark(QStringLiteral("MAIL"))), nullptr);
    // "Inner" exists below Work only: the root list gets one of its own.
    TFolder *root = merger.MergeFolder(nullptr, NewFolder(QStringLiteral("INNER")));
    QCOMPARE(merger.MergeFolder(old, NewFolder(QStringLiteral("inner"))), old->Folders().At(0));
    for (const char *title : {"d", "a", "MAIL", "D", "c"})
        merger.MergeBookmark(*root, NewBookmark(QString::fromLatin1(title)));
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 Work | mine\nB1 Mail | a | \n"
                                                     "F1 Inner | \nF0 INNER | \nB1 d |  | \n"
                                                     "B1 a |  | \nB1 MAIL |  | \nB1 c |  | \n"));
}

void TestMerge::indexesBelongToTheirOwnList_data()
{
    // One run merging into several lists, as an import of several folders does;
    // 20 titles are past the size from which a list is indexed.
    QTest::addColumn<int>("held");
    QTest::newRow("lists start empty") << 0;
    QTest::newRow("lists start indexed") << 20;
}

void TestMerge::indexesBelongToTheirOwnList()
{
    QFETCH(int, held);
    TCatalog catalog;
    TFolder *a = AddFolder(catalog.Folders(), QStringLiteral("A"));
    TFolder *b = AddFolder(catalog.Folders(), QStringLiteral("B"));
    for (int i = 0; i < held; ++i) {
        AddBookmark(a->Bookmarks(), QStringLiteral("a%1").arg(i));
        AddFolder(b->Folders(), QStringLiteral("b%1").arg(i));
    }
    TMerger merger(catalog);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 40; ++i) {
            const QString title = QStringLiteral("t%1").arg(i);
            const TFolder *made[2] = {};
            for (int k = 0; k < 3; ++k) { // into A, B, then A again
                TFolder *f = k == 1 ? b : a;
                const bool fresh = round == 0 && k < 2;
                QCOMPARE(merger.MergeBookmark(*f, NewBookmark(title)) != nullptr, fresh);
                bool isNew = !fresh;
                const TFolder *sub = merger.MergeFolder(f, NewFolder(title), &isNew);
                QCOMPARE(isNew, fresh);
                QCOMPARE(sub->Parent(), f);
                if (k < 2)
                    made[k] = sub;
                else
                    QCOMPARE(sub, made[0]);
            }
        }
    }
    QCOMPARE(a->Bookmarks().Count(), held + 40);
    QCOMPARE(b->Bookmarks().Count(), 40);
    QCOMPARE(a->Folders().Count(), 40);
    QCOMPARE(b->Folders().Count(), held + 40);
}

void TestMerge::indexFindsTheFirstOfEqualTitles_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("searched one by one") << 6;
    QTest::newRow("indexed") << 40;
}

void TestMerge::indexFindsTheFirstOfEqualTitles()
{
    // A list may hold equal titles (made by hand): the merge picks the first.
    QFETCH(int, size);
    TCatalog catalog;
    for (int i = 0; i < size; ++i)
        AddFolder(catalog.Folders(), QStringLiteral("f%1").arg(i % (size / 2)));
    TMerger merger(catalog);
    for (int i = size / 2 - 1; i >= 0; --i)
        QCOMPARE(merger.MergeFolder(nullptr, NewFolder(QStringLiteral("F%1").arg(i)))->GetIndex(),
                 i);
    QCOMPARE(catalog.Folders().Count(), size);
}

void TestMerge::largeMergeKeepsEveryNewTitleOnce()
{
    TCatalog catalog;
    TFolder *f = AddFolder(catalog.Folders(), QStringLiteral("F"));
    for (int i = 0; i < 100000; i += 2)
        AddBookmark(f->Bookmarks(), QStringLiteral("title %1").arg(i));
    TMerger merger(catalog);
    for (int i = 0; i < 100000; ++i)
        merger.MergeBookmark(*f, NewBookmark(QStringLiteral("TITLE %1").arg(i)));
    QCOMPARE(f->Bookmarks().Count(), 100000);
    QCOMPARE(f->Bookmarks().At(50000)->Title(), QStringLiteral("TITLE 1"));
    QCOMPARE(f->Bookmarks().Last()->Title(), QStringLiteral("TITLE 99999"));
}

void TestMerge::controlCharactersAreDropped()
{
    // "&#1;" in an imported file once reached the catalogue file, which XML tools
    // then refused. Tab, line feed and carriage return stay.
    TCatalog catalog;
    TMerger merger(catalog);
    TFolder *f = merger.MergeFolder(nullptr, NewFolder(u"A\u0001B"_qs, u"x\u001Fy\tz\r\n\0 "_qs));
    QCOMPARE(f->Title(), QStringLiteral("AB"));
    QCOMPARE(f->Description(), QStringLiteral("xy\tz\r\n "));
    QCOMPARE(merger.MergeFolder(nullptr, NewFolder(u"\u0002AB\u0003"_qs)), f);
    auto b = NewBookmark(u"T\u0007"_qs);
    b->SetAddress(u"http://a/\u001B"_qs);
    b->SetDescription(u"\u0008d"_qs);
    b->SetLastVisit(u"2020.01.01\u0000"_qs);
    b->SetAddDate(u"\u00192021.02.02"_qs);
    const TBookmark *kept = merger.MergeBookmark(*f, std::move(b));
    QVERIFY(kept);
    QCOMPARE(Fields(*kept), (QStringList{"T", "http://a/", "d", "2021.02.02", "2020.01.01"}));
    QVERIFY(!merger.MergeBookmark(*f, NewBookmark(u"\u0001t"_qs)));
}

QTEST_GUILESS_MAIN(TestMerge)
#include "tst_merge.moc"
