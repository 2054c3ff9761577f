// Internet Explorer favourites: importing a folder tree of ".url" files (symbolic
// links, unreadable entries), exporting the catalogue as one, names, the 208/207
// rule, and what is never touched.
#include "ExchangeTestHelpers.h"
#include "RawNames.h"
#include "Unprivileged.h"
#include "exchange/Favorites.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// Writes "path=address" shortcuts below dir.
void WriteShortcuts(const QString &dir, const QStringList &shortcuts)
{
    for (const QString &shortcut : shortcuts)
        WriteFileBytes(dir + u'/' + shortcut.section(u'=', 0, 0),
                   "[InternetShortcut]\r\nURL=" + shortcut.section(u'=', 1).toUtf8() + "\r\n");
}

} // namespace

class TestFavorites : public QObject
{
    Q_OBJECT

private slots:
    void importsTheChosenFolder()
    {
        // Shortcuts directly in the chosen folder were once dropped; they go into a
        // root folder named after it. A folder named "*.url" is a shortcut without an
        // address as well; names beginning with "." are skipped, unless shortcuts.
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("Favorites"));
        WriteShortcuts(in, {"Top.url=t", "Work/Mail.url=m", "Work/Docs/Spec.URL=s",
                            ".hidden/x.url=x", "Odd/.url=e", "Odd/.hidden.url=h",
                            "Odd/Site.url/inner.url=i", u"\u00E9cole/b.url=b"_qs});
        WriteFileBytes(in + QStringLiteral("/Work/notes.txt"), "not a shortcut");
        WriteFileBytes(in + QStringLiteral("/Odd/Keyless.url"), "[Other]\r\nURL=no\r\n");
        QVERIFY(QFile::link(in + QStringLiteral("/Work"), in + QStringLiteral("/Work/Loop")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), in + "/Odd/Broken.url"));
        const QString outline = u"F0 work | mine\nB1 Mail | m | \nF1 Docs | \nB2 Spec | s | \n"
                                u"F1 Loop | \nF0 \u00C9cole | \nF0 Target | \nB1 Spec | s | \n"
                                u"F0 Favorites | \nB1 Top | t | \nF0 Odd | \nB1 .hidden | h | \n"
                                u"B1  | e | \nB1 Broken |  | \nB1 Keyless |  | \nB1 Site |  | \n"
                                u"F1 Site.url | \nB2 inner | i | \nF0 \u00E9cole | \n"
                                u"B1 b | b | \n"_qs;
        TCatalog catalog;
        BuildCatalog(catalog, u"F0 work | mine\nF0 \u00C9cole | \nF0 Target | \n"_qs);
        ImportIE(catalog, in + QStringLiteral("/Work/Docs"), catalog.Folders().At(2));
        ImportIE(catalog, in);
        QCOMPARE(CatalogOutline(catalog), outline);
        WriteShortcuts(in, {"Work/Mail.url=new"});
        for (const QString &other : {in, in + "/Top.url", dir.filePath("missing")})
            ImportIE(catalog, other);
        QCOMPARE(CatalogOutline(catalog), outline); // importing twice adds nothing
    }

    void namesThatAreNotUtf8()
    {
        // A name from an old Windows disk turned into U+FFFD, and the path made from it
        // named no file: "Caf\xE9 menu.url" came without its address, the folder
        // "Caf\xE9" in it was empty. A link named so led nowhere.
        QTemporaryDir dir;
        const QByteArray in = QFile::encodeName(dir.filePath(QStringLiteral("in")));
        const RawTreeRemover remover(in);
        const QByteArray shortcut = "[InternetShortcut]\r\nURL=http://";
        for (const char *folder : {"", "/Caf\xE9", "/Caf\xE9/Men\xFC", "/.st\xF6re"})
            MakeRawFolder(in + folder);
        WriteRawFile(in + "/Caf\xE9/Caf\xE9 menu.url", shortcut + "menu/\r\n");
        WriteRawFile(in + "/Caf\xE9/Men\xFC/\x80 price.url", shortcut + "price/\r\n");
        WriteRawFile(in + "/.st\xF6re/Kept\xA0.url", shortcut + "kept/\r\n");
        QCOMPARE(::symlink(in + "/.st\xF6re", in + "/St\xF6re"), 0);
        TCatalog catalog;
        ImportIE(catalog, QFile::decodeName(in));
        QCOMPARE(CatalogOutline(catalog),
                 u"F0 Caf\u00E9 | \nB1 Caf\u00E9 menu | http://menu/ | \nF1 Men\u00FC | \n"
                 u"B2 \u20AC price | http://price/ | \nF0 St\u00F6re | \n"
                 u"B1 Kept\u00A0 | http://kept/ | \n"_qs);
    }

    void unicodeAddress_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("address");
        const QByteArray ansi = "[InternetShortcut]\r\nURL=http://example.com/?q=\xE0\xE1\r\n";
        const QString ansiAddress = u"http://example.com/?q=\u00E0\u00E1"_qs;
        const QString unicode = u"http://example.com/?q=\u0430\u0431"_qs;
        QTest::newRow("present") << ansi + "[InternetShortcut.W]\r\nURL=http://example.com/"
                                           "?q=+BDAEMQ-\r\n" << unicode;
        QTest::newRow("present first, other case")
            << "[internetshortcut.w]\r\nurl=http://example.com/?q=+BDAEMQ-\r\n" + ansi
            << unicode;
        QTest::newRow("present alone")
            << QByteArray("[InternetShortcut.W]\r\nURL=http://example.com/?q=+BDAEMQ-\r\n")
            << unicode;
        QTest::newRow("absent") << ansi << ansiAddress;
        QTest::newRow("without URL") << ansi + "[InternetShortcut.W]\r\nIconIndex=0\r\n"
                                     << ansiAddress;
        QTest::newRow("empty") << ansi + "[InternetShortcut.W]\r\nURL=\r\n" << ansiAddress;
        QTest::newRow("undecodable: bits left over")
            << ansi + "[InternetShortcut.W]\r\nURL=http://example.com/?q=+BDB-\r\n"
            << ansiAddress;
        // No address holds a line break, and no ".url" line can.
        QTest::newRow("a line break")
            << ansi + "[InternetShortcut.W]\r\nURL=http://example.com/+AAo-x\r\n"
            << ansiAddress;
        QTest::newRow("undecodable: not ASCII")
            << ansi + "[InternetShortcut.W]\r\nURL=http://example.com/?q=\xE0\r\n"
            << ansiAddress;
    }

    void unicodeAddress()
    {
        // Addresses with characters beyond the writer's code page came in garbled
        // ("?q=\u00E0\u00E1"): their Unicode copy was never read.
        QFETCH(QByteArray, file);
        QFETCH(QString, address);
        QTemporaryDir dir;
        WriteFileBytes(dir.filePath(QStringLiteral("F/Shortcut.url")), file);
        TCatalog catalog;
        ImportIE(catalog, dir.path());
        QCOMPARE(catalog.GetBookmarkCount(), 1);
        QCOMPARE(catalog.Folders().At(0)->Bookmarks().At(0)->Address(), address);
    }

    void onlyRegularFilesOfAtMost1MiBAreRead()
    {
        // A FIFO hung the import for good; /dev/zero grew memory until the end.
        QTemporaryDir dir;
        const QString f = dir.filePath(QStringLiteral("F/"));
        WriteShortcuts(f, {"Large.url=" + QString(1024 * 1024 - 26, u'a'),
                           "Larger.url=" + QString(1024 * 1024 - 25, u'a')});
        QCOMPARE(QFileInfo(f + QStringLiteral("Large.url")).size(), 1024 * 1024);
        QCOMPARE(::mkfifo(QFile::encodeName(f + QStringLiteral("Fifo.url")).constData(), 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), f + QStringLiteral("Zero.url")));
        TCatalog catalog;
        ImportIE(catalog, dir.path());
        QCOMPARE(Titles(catalog.Folders().At(0)->Bookmarks()),
                 (QStringList{"Fifo", "Large", "Larger", "Zero"}));
        for (const auto &bookmark : catalog.Folders().At(0)->Bookmarks())
            QCOMPARE(bookmark->Address().size(), bookmark->Title() == u"Large" ? 2047 : 0);
    }

    void eachRealFolderIsEnteredOnce()
    {
        // Each path through links was walked anew: 19 levels of two links each gave
        // 524,287 folders, and each further level doubled time and memory. Deeper
        // than 40 levels a path through the links alone can no longer be opened.
        constexpr int kLevels = 48;
        QTemporaryDir dir;
        const QString level = dir.filePath(QStringLiteral("chosen/.store/L%1"));
        for (int i = 0; i <= kLevels; ++i)
            WriteShortcuts(level.arg(i), {QStringLiteral("s%1.url=u").arg(i)});
        for (int i = 0; i < kLevels; ++i)
            for (const char *link : {"/a", "/b"})
                QVERIFY(QFile::link(level.arg(i + 1), level.arg(i) + link));
        QVERIFY(QFile::link(level.arg(0), dir.filePath(QStringLiteral("chosen/Top"))));
        TCatalog catalog;
        ImportIE(catalog, dir.filePath(QStringLiteral("chosen")));
        QCOMPARE(catalog.GetFolderCount(), 1 + 2 * kLevels);
        QCOMPARE(catalog.GetBookmarkCount(), kLevels + 1);
        // Level i: its shortcut, "a" entered, "b" made but left empty.
        const TFolder *f = catalog.Folders().At(0);
        for (int i = 0; i <= kLevels; ++i) {
            QCOMPARE(Titles(f->Bookmarks()), QStringList{QStringLiteral("s%1").arg(i)});
            QCOMPARE(f->Folders().Count(), i < kLevels ? 2 : 0);
            if (i < kLevels) {
                QCOMPARE(f->Folders().At(1)->Folders().Count(), 0);
                QCOMPARE(f->Folders().At(1)->Bookmarks().Count(), 0);
                f = f->Folders().At(0);
            }
        }
    }

    void linksAreFollowedInsideTheChosenFolderOnly()
    {
        // A link to "/" walked the whole disk. A folder shows its shortcuts where it
        // really is, though a link to it ("Again") comes first by name.
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("chosen"));
        WriteShortcuts(dir.path(), {"outside/o.url=o", "chosen/Work/w.url=w",
                                    "chosen/.hidden/h.url=h"});
        for (const auto &[target, link] : std::initializer_list<std::pair<QString, QString>>{
                 {chosen + "/Work", chosen + "/Again"}, {chosen + "/.hidden", chosen + "/Hidden"},
                 {"/", chosen + "/Work/Root"}, {dir.filePath("outside"), chosen + "/Work/Out"},
                 {chosen, chosen + "/Work/Up"}, {dir.filePath("missing"), chosen + "/Gone"}})
            QVERIFY(QFile::link(target, link));
        TCatalog catalog;
        ImportIE(catalog, chosen);
        QCOMPARE(CatalogOutline(catalog), "F0 Again | \nF0 Hidden | \nB1 h | h | \nF0 Work | \n"
                                          "B1 w | w | \nF1 Out | \nF1 Root | \nF1 Up | \n");
    }

    void unreadableShortcutsAndFoldersAreSkipped()
    {
        // An unreadable shortcut or folder ended the import with an error, after the
        // folders before it.
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in"));
        WriteShortcuts(in, {"A/a1.url=a1", "A/a2.url=a2", "B/b.url=b", "C/c.url=c"});
        const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                          | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(dir.path(), open) && QFile::setPermissions(in, open));
        for (const char *name : {"/A", "/C"})
            QVERIFY(QFile::setPermissions(in + name, open));
        QVERIFY(QFile::setPermissions(in + "/A/a1.url", {}));
        QVERIFY(QFile::setPermissions(in + "/B", {}));
        const std::optional<QByteArray> imported = RunWhereModesCount([&in] {
            TCatalog catalog;
            ImportIE(catalog, in);
            // The chosen folder itself must be readable: nothing else says why
            // nothing came.
            const QString error = ErrorOf([&] { ImportIE(catalog, in + "/B"); });
            return (CatalogOutline(catalog) + error).toUtf8();
        });
        QFile::setPermissions(in + "/B", open);
        if (!imported)
            QSKIP("no child process can run as the user nobody here");
        QCOMPARE(QString::fromUtf8(*imported),
                 "F0 A | \nB1 a1 |  | \nB1 a2 | a2 | \nF0 B | \nF0 C | \nB1 c | c | \n"
                 "Cannot read folder \"" + in + "/B\". Permission denied");
    }

    void exportsFoldersAndShortcutsAndImportsThemBack()
    {
        // ".." as a name would write into the folder above the chosen one; a name
        // "." or one that trims to nothing is skipped with everything below it. Files
        // already there are never changed, nor links followed. A title over 255 bytes
        // stopped the whole export; a NUL made mkdir act on a cut name.
        const QString emoji = u"\U0001F600"_qs;
        TCatalog catalog;
        BuildCatalog(catalog, kSmallCatalog
                                  + u"B1 a:b | first | \nB1 ab | second | \nB1 .. | x | \n"
                                    u"B1 ../../up | u | \nB1 Link | l | \nF0 x/y:z | \nF0 ??? | \n"
                                    u"B1 Lost | l | \nF1 In | \nF0  blanks  | \nF0 \t | \n"
                                    u"F0 .. | \nB1 Up | e | \nF0 . | \nB1 Here | h | \nF0 .:. | \n"
                                    u"F1 Also | \n"
                                    u"F0 %1 | \nB1 x | 1 | \nF0 %2 | \nB1 y | 2 | \nF0 N\0UL | \n"
                                    u"B1 z | 3 | \nF0 NUL | \nB1 w | 4 | \n"_qs
                                        .arg(QString(300, u'a'), emoji.repeated(150)));
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("chosen"));
        WriteFileBytes(chosen + QStringLiteral("/A/Plain.url"), "mine");
        QVERIFY(QDir().mkpath(chosen + QStringLiteral("/Empty")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("outside")), chosen + "/Empty/Link.url"));
        ExportIE(catalog, chosen);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"chosen"});
        QCOMPARE(ReadBytes(chosen + QStringLiteral("/A/B/Deep.url")),
                 QByteArray("[InternetShortcut]\r\nURL=http://d/\r\n"));
        TCatalog back;
        ImportIE(back, chosen);
        QCOMPARE(CatalogOutline(back),
                 u"F0  blanks  | \nF0 A | \nB1 Caf\u00E9 | http://c/ | \nB1 Plain |  | \nF1 B | \n"
                 u"B2 Deep | http://d/ | \nF0 Empty | \nB1 ....up | u | \nB1 Link |  | \n"
                 u"B1 ab | first | \nF0 NUL | \nB1 w | 4 | \nB1 z | 3 | \nF0 %1 | \nB1 x | 1 | \n"
                 u"F0 xyz | \nF0 %2 | \nB1 y | 2 | \n"_qs.arg(QString(255, u'a'),
                                                            emoji.repeated(63)));
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("208 characters stay") << QString(208, u'a') << QString(208, u'a');
        QTest::newRow("209 characters") << QString(209, u'a') << QString(207, u'a');
        QTest::newRow("forbidden characters, NUL")
            << QStringLiteral("a\\b/c:d*e?f\"g<h>i|j\0k") << "abcdefghijk";
        QTest::newRow("only forbidden") << "<?>" << "";
        QTest::newRow("dot names") << ".:." << "";
        QTest::newRow("three dots stay") << "..." << "...";
        // 207 characters of two or three bytes each are more than a file name holds.
        QTest::newRow("three-byte characters")
            << QString(300, QChar(0x65E5)) << QString(83, QChar(0x65E5));
        QTest::newRow("the first three-byte character")
            << QString(300, QChar(0x0800)) << QString(83, QChar(0x0800));
        QTest::newRow("two-byte characters")
            << u"\u0080\u07FF"_qs.repeated(150) << u"\u0080\u07FF"_qs.repeated(63).first(125);
        QTest::newRow("surrogate pair kept whole")
            << QString(206, u'a') + u"\U0001F600\U0001F600"_qs << QString(206, u'a');
        QTest::newRow("pairs cut by bytes")
            << u"\U0001F600"_qs.repeated(70) << u"\U0001F600"_qs.repeated(62);
    }

    void fileNames()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(FavoriteFileName(title), name);
    }

    void deepTrees()
    {
        // A catalogue nested far deeper than paths can reach ends in a clear error.
        const QString title(200, u'n');
        TCatalog catalog;
        TFolder *f = AddFolder(catalog.Folders(), title);
        for (int i = 0; i < 100000; ++i)
            f = AddFolder(f->Folders(), title);
        QTemporaryDir dir;
        const QString error = ErrorOf([&] { ExportIE(catalog, dir.path()); });
        QVERIFY2(error.startsWith(QStringLiteral("Cannot create folder")), qPrintable(error));
        // What was written reads back as deep as it went.
        TCatalog back;
        ImportIE(back, dir.path());
        QVERIFY(back.GetFolderCount() > 10);
    }
};

QTEST_GUILESS_MAIN(TestFavorites)
#include "tst_favorites.moc"
