// Internet Explorer favourites: importing a folder tree of ".url" files, exporting
// the catalogue as one, names, the 208/207 rule, and what is never touched.
#include "CatalogOutline.h"
#include "ExchangeTestHelpers.h"
#include "exchange/Favorites.h"
#include "platform/VarnokelError.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteShortcut(const QString &fileName, const QString &address)
{
    WriteBytes(fileName, "[InternetShortcut]\r\nURL=" + address.toUtf8() + "\r\n");
}

QString ImportedOutline(const QString &dir)
{
    TCatalog catalog;
    ImportIE(catalog, dir);
    return CatalogOutline(catalog);
}

// The files and folders below dir, sorted, folders with a trailing "/".
QStringList TreeOf(const QString &dir)
{
    QStringList names;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        names << QDir(dir).relativeFilePath(it.filePath()) + (it.fileInfo().isDir() ? "/" : "");
    }
    names.sort();
    return names;
}

} // namespace

class TestFavorites : public QObject
{
    Q_OBJECT

private slots:
    void importsTheChosenFolder();
    void importingTwiceAddsNothing();
    void foldersMergeWithAsciiFolding();
    void dotNamesAreSkipped();
    void oddShortcutNames();
    void importsIntoAGivenFolder();
    void missingFolderDoesNothing();
    void onlyRegularFilesOfAtMost1MiBAreRead();
    void unreadableFolderIsAnErrorNamingIt();
    void linkToAnEnclosingFolderIsNotFollowed();
    void exportsFoldersAndShortcuts();
    void folderNames();
    void longAndNulFolderTitlesExportAndImportBack();
    void fileNames_data();
    void fileNames();
    void equalFileNamesWriteTheFirstOnly();
    void existingFilesAreNeverChanged();
    void exportNeverLeavesTheChosenFolder();
    void exportFailureNamesTheFolder();
    void exportAndImportGiveTheSameTree();
    void deepTrees();
};

void TestFavorites::importsTheChosenFolder()
{
    // Shortcuts directly in the chosen folder were once dropped; they go into a
    // root folder named after it.
    QTemporaryDir dir;
    const QString favorites = dir.filePath(QStringLiteral("Favorites/"));
    WriteShortcut(favorites + QStringLiteral("Top.url"), QStringLiteral("http://top/"));
    WriteShortcut(favorites + QStringLiteral("Work/Mail.url"), QStringLiteral("http://mail/"));
    WriteShortcut(favorites + QStringLiteral("Work/Docs/Spec.URL"), QStringLiteral("s"));
    WriteBytes(favorites + QStringLiteral("Work/notes.txt"), "not a shortcut");
    TCatalog catalog;
    ImportIE(catalog, favorites);
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 Favorites | \n"
                                                     "B1 Top | http://top/ | \n"
                                                     "F0 Work | \n"
                                                     "B1 Mail | http://mail/ | \n"
                                                     "F1 Docs | \n"
                                                     "B2 Spec | s | \n"));
    const TBookmark *mail = catalog.Folders().At(1)->Bookmarks().At(0);
    QCOMPARE(mail->AddDate(), TodayText());
    QVERIFY(mail->LastVisit().isEmpty());
}

void TestFavorites::importingTwiceAddsNothing()
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("Chosen"));
    const QString mail = chosen + QStringLiteral("/Work/Mail.url");
    WriteShortcut(mail, QStringLiteral("http://old/"));
    WriteShortcut(chosen + QStringLiteral("/Top.url"), QStringLiteral("t"));
    TCatalog catalog;
    ImportIE(catalog, chosen);
    WriteShortcut(mail, QStringLiteral("http://new/"));
    ImportIE(catalog, chosen);
    QCOMPARE(CatalogOutline(catalog), QStringLiteral("F0 Chosen | \nB1 Top | t | \n"
                                                     "F0 Work | \nB1 Mail | http://old/ | \n"));
}

void TestFavorites::foldersMergeWithAsciiFolding()
{
    QTemporaryDir dir;
    WriteShortcut(dir.filePath(QStringLiteral("work/a.url")), QStringLiteral("a"));
    WriteShortcut(dir.filePath(u"\u00E9cole/b.url"_qs), QStringLiteral("b"));
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("Work"), QStringLiteral("mine"));
    AddFolder(catalog.Folders(), u"\u00C9cole"_qs);
    ImportIE(catalog, dir.path());
    QCOMPARE(CatalogOutline(catalog), u"F0 Work | mine\nB1 a | a | \nF0 \u00C9cole | \n"
                                      u"F0 \u00E9cole | \nB1 b | b | \n"_qs);
}

void TestFavorites::dotNamesAreSkipped()
{
    QTemporaryDir dir;
    WriteShortcut(dir.filePath(QStringLiteral(".hidden/Inner/x.url")), QStringLiteral("x"));
    WriteShortcut(dir.filePath(QStringLiteral("Shown/y.url")), QStringLiteral("y"));
    QCOMPARE(ImportedOutline(dir.path()), QStringLiteral("F0 Shown | \nB1 y | y | \n"));
}

void TestFavorites::oddShortcutNames()
{
    // ".url" alone gives an empty title; a folder named "*.url" is a shortcut
    // without an address and a folder as well; a hidden shortcut counts.
    QTemporaryDir dir;
    WriteShortcut(dir.filePath(QStringLiteral("F/.url")), QStringLiteral("empty title"));
    WriteShortcut(dir.filePath(QStringLiteral("F/.hidden.url")), QStringLiteral("h"));
    WriteShortcut(dir.filePath(QStringLiteral("F/Site.url/inner.url")), QStringLiteral("i"));
    WriteBytes(dir.filePath(QStringLiteral("F/Keyless.url")), "[Other]\r\nURL=no\r\n");
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")),
                        dir.filePath(QStringLiteral("F/Broken.url"))));
    QCOMPARE(ImportedOutline(dir.path()), QStringLiteral("F0 F | \n"
                                                         "B1 .hidden | h | \n"
                                                         "B1  | empty title | \n"
                                                         "B1 Broken |  | \n"
                                                         "B1 Keyless |  | \n"
                                                         "B1 Site |  | \n"
                                                         "F1 Site.url | \n"
                                                         "B2 inner | i | \n"));
}

void TestFavorites::importsIntoAGivenFolder()
{
    QTemporaryDir dir;
    WriteShortcut(dir.filePath(QStringLiteral("Top.url")), QStringLiteral("t"));
    WriteShortcut(dir.filePath(QStringLiteral("Sub/In.url")), QStringLiteral("i"));
    TCatalog catalog;
    TFolder *target = AddFolder(catalog.Folders(), QStringLiteral("Target"));
    ImportIE(catalog, dir.path(), target);
    QCOMPARE(CatalogOutline(catalog),
             QStringLiteral("F0 Target | \nB1 Top | t | \nF1 Sub | \nB2 In | i | \n"));
}

void TestFavorites::missingFolderDoesNothing()
{
    QTemporaryDir dir;
    WriteBytes(dir.filePath(QStringLiteral("file")), "x");
    QCOMPARE(ImportedOutline(dir.filePath(QStringLiteral("missing"))), QString());
    QCOMPARE(ImportedOutline(dir.filePath(QStringLiteral("file"))), QString());
}

void TestFavorites::onlyRegularFilesOfAtMost1MiBAreRead()
{
    // A FIFO hung the import for good; /dev/zero grew memory until the end.
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("F/"));
    WriteShortcut(f + QStringLiteral("Large.url"), QString(1024 * 1024 - 26, u'a'));
    WriteShortcut(f + QStringLiteral("Larger.url"), QString(1024 * 1024 - 25, u'a'));
    QCOMPARE(QFileInfo(f + QStringLiteral("Large.url")).size(), 1024 * 1024);
    QCOMPARE(::mkfifo(QFile::encodeName(f + QStringLiteral("Fifo.url")).constData(), 0600), 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), f + QStringLiteral("Zero.url")));
    const SocketFile socket(f + QStringLiteral("Socket.url"));
    TCatalog catalog;
    ImportIE(catalog, dir.path());
    const TFolder *folder = catalog.Folders().At(0);
    QCOMPARE(folder->Bookmarks().Count(), socket.IsValid() ? 5 : 4);
    for (const auto &bookmark : folder->Bookmarks())
        QCOMPARE(bookmark->Address().size(), bookmark->Title() == u"Large" ? 2047 : 0);
}

void TestFavorites::unreadableFolderIsAnErrorNamingIt()
{
    // Listing this folder of another process is refused, even to root.
    const QString locked = QStringLiteral("/proc/1/map_files");
    if (getpid() == 1 || !QFileInfo(locked).isDir())
        QSKIP("no folder of another process to try");
    QTemporaryDir dir;
    QVERIFY(QFile::link(locked, dir.filePath(QStringLiteral("Locked"))));
    const QDir listed(dir.filePath(QStringLiteral("Locked")));
    if (!listed.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty())
        QSKIP("the folder can be read here");
    const QString error = ErrorOf([&] {
        TCatalog catalog;
        ImportIE(catalog, dir.path());
    });
    QVERIFY2(error.startsWith(QStringLiteral("Cannot read folder \"%1\". ")
                                  .arg(dir.filePath(QStringLiteral("Locked")))),
             qPrintable(error));
}

void TestFavorites::linkToAnEnclosingFolderIsNotFollowed()
{
    QTemporaryDir dir;
    WriteShortcut(dir.filePath(QStringLiteral("Work/Mail.url")), QStringLiteral("m"));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("Work")),
                        dir.filePath(QStringLiteral("Work/Loop"))));
    QCOMPARE(ImportedOutline(dir.path()),
             QStringLiteral("F0 Work | \nB1 Mail | m | \nF1 Loop | \n"));
}

void TestFavorites::exportsFoldersAndShortcuts()
{
    TCatalog catalog;
    MakeSmallCatalog(catalog);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("Favorites"));
    ExportIE(catalog, target);
    QCOMPARE(TreeOf(target),
             (QStringList{u"A/"_qs, u"A/B/"_qs, u"A/B/Deep.url"_qs, u"A/Caf\u00E9.url"_qs,
                          u"A/Plain.url"_qs, u"Empty/"_qs}));
    QCOMPARE(ReadBytes(target + QStringLiteral("/A/B/Deep.url")),
             QByteArray("[InternetShortcut]\r\nURL=http://d/\r\n"));
}

void TestFavorites::folderNames()
{
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("a/b:c"));
    TFolder *questions = AddFolder(catalog.Folders(), QStringLiteral("???"));
    AddBookmark(*AddFolder(questions->Folders(), QStringLiteral("Below")), "x", "x");
    AddBookmark(*questions, QStringLiteral("Lost"), QStringLiteral("l"));
    AddFolder(catalog.Folders(), QStringLiteral(" blanks "));
    AddFolder(catalog.Folders(), QStringLiteral("\t"));
    QTemporaryDir dir;
    ExportIE(catalog, dir.path());
    QCOMPARE(TreeOf(dir.path()), (QStringList{u" blanks /"_qs, u"abc/"_qs}));
}

void TestFavorites::longAndNulFolderTitlesExportAndImportBack()
{
    // A title over 255 bytes stopped the whole export; a NUL made mkdir act on a
    // cut name. Titles that give one name share its directory.
    const QString emoji = u"\U0001F600"_qs;
    TCatalog catalog;
    AddBookmark(*AddFolder(catalog.Folders(), QString(300, u'a')), "x", "1");
    AddBookmark(*AddFolder(catalog.Folders(), emoji.repeated(150)), "y", "2");
    AddBookmark(*AddFolder(catalog.Folders(), QStringLiteral("N\0UL")), "z", "3");
    AddBookmark(*AddFolder(catalog.Folders(), QStringLiteral("NUL")), "w", "4");
    QTemporaryDir dir;
    ExportIE(catalog, dir.path());
    TCatalog back;
    ImportIE(back, dir.path());
    QCOMPARE(CatalogOutline(back), QStringLiteral("F0 NUL | \nB1 w | 4 | \nB1 z | 3 | \n"
                                                  "F0 %1 | \nB1 x | 1 | \n"
                                                  "F0 %2 | \nB1 y | 2 | \n")
                                       .arg(QString(255, u'a'), emoji.repeated(63)));
}

void TestFavorites::fileNames_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::newRow("300 characters") << QString(300, u'a') << QString(207, u'a');
    QTest::newRow("208 characters stay") << QString(208, u'a') << QString(208, u'a');
    QTest::newRow("209 characters") << QString(209, u'a') << QString(207, u'a');
    QTest::newRow("forbidden characters") << "a\\b/c:d*e?f\"g<h>i|j" << "abcdefghij";
    QTest::newRow("NUL") << QStringLiteral("a\0b") << "ab";
    QTest::newRow("only forbidden") << "<?>" << "";
    QTest::newRow("blanks are a name") << " " << " ";
    QTest::newRow("dot names") << "." << "";
    QTest::newRow("dot-dot after removal") << ".:." << "";
    QTest::newRow("three dots stay") << "..." << "...";
    // 207 characters of three bytes each are more than a file name holds.
    QTest::newRow("cut to what a file name holds") << QString(300, QChar(0x65E5))
                                                   << QString(83, QChar(0x65E5));
    QTest::newRow("surrogate pair kept whole") << QString(206, u'a') + u"\U0001F600\U0001F600"_qs
                                               << QString(206, u'a');
}

void TestFavorites::fileNames()
{
    QFETCH(QString, title);
    QFETCH(QString, name);
    QCOMPARE(FavoriteFileName(title), name);
}

void TestFavorites::equalFileNamesWriteTheFirstOnly()
{
    TCatalog catalog;
    TFolder *f = AddFolder(catalog.Folders(), QStringLiteral("F"));
    AddBookmark(*f, QStringLiteral("a:b"), QStringLiteral("first"));
    AddBookmark(*f, QStringLiteral("ab"), QStringLiteral("second"));
    QTemporaryDir dir;
    ExportIE(catalog, dir.path());
    QCOMPARE(TreeOf(dir.path()), (QStringList{u"F/"_qs, u"F/ab.url"_qs}));
    QCOMPARE(ReadBytes(dir.filePath(QStringLiteral("F/ab.url"))),
             QByteArray("[InternetShortcut]\r\nURL=first\r\n"));
}

void TestFavorites::existingFilesAreNeverChanged()
{
    TCatalog catalog;
    TFolder *f = AddFolder(catalog.Folders(), QStringLiteral("F"));
    TBookmark *b = AddBookmark(*f, QStringLiteral("Mail"), QStringLiteral("http://old/"));
    QTemporaryDir dir;
    WriteBytes(dir.filePath(QStringLiteral("F/Other.url")), "mine");
    ExportIE(catalog, dir.path());
    const QString mail = dir.filePath(QStringLiteral("F/Mail.url"));
    const QDateTime written = QFileInfo(mail).lastModified();
    b->SetAddress(QStringLiteral("http://new/"));
    ExportIE(catalog, dir.path());
    QCOMPARE(ReadBytes(mail), QByteArray("[InternetShortcut]\r\nURL=http://old/\r\n"));
    QCOMPARE(QFileInfo(mail).lastModified(), written);
    QCOMPARE(ReadBytes(dir.filePath(QStringLiteral("F/Other.url"))), QByteArray("mine"));
}

void TestFavorites::exportNeverLeavesTheChosenFolder()
{
    // ".." as a folder name would write into the folder above the chosen one.
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("chosen"));
    TCatalog catalog;
    AddBookmark(*AddFolder(catalog.Folders(), QStringLiteral("..")), "Escaped", "e");
    AddBookmark(*AddFolder(catalog.Folders(), QStringLiteral(".")), "Here", "h");
    AddBookmark(*AddFolder(catalog.Folders(), QStringLiteral(".:.")), "Also", "a");
    TFolder *inner = AddFolder(catalog.Folders(), QStringLiteral("In"));
    AddBookmark(*inner, QStringLiteral(".."), QStringLiteral("dots"));
    AddBookmark(*inner, QStringLiteral("../../up"), QStringLiteral("u"));
    ExportIE(catalog, chosen);
    QCOMPARE(TreeOf(dir.path()), (QStringList{u"chosen/"_qs, u"chosen/In/"_qs,
                                              u"chosen/In/....up.url"_qs}));
}

void TestFavorites::exportFailureNamesTheFolder()
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("missing/parent"));
    TCatalog catalog;
    AddFolder(catalog.Folders(), QStringLiteral("F"));
    QString error = ErrorOf([&] { ExportIE(catalog, chosen); });
    QVERIFY2(error.startsWith(QStringLiteral("Cannot create folder \"%1\". ").arg(chosen)),
             qPrintable(error));
    // A file in the place of a folder.
    WriteBytes(dir.filePath(QStringLiteral("F")), "a file");
    error = ErrorOf([&] { ExportIE(catalog, dir.path()); });
    QVERIFY2(error.startsWith(
                 QStringLiteral("Cannot create folder \"%1\". ").arg(dir.filePath("F"))),
             qPrintable(error));
}

void TestFavorites::exportAndImportGiveTheSameTree()
{
    // The chosen folder's name sorts first, as its root folder comes first.
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("Bookmarks/"));
    WriteShortcut(in + u"Caf\u00E9/Men\u00FC.url"_qs, QStringLiteral("http://m/"));
    WriteShortcut(in + QStringLiteral("Work/Mail.url"), QStringLiteral("mail"));
    WriteShortcut(in + QStringLiteral("Work/Deep/x.url"), QStringLiteral("x"));
    WriteShortcut(in + QStringLiteral("Top.url"), QStringLiteral("t"));
    TCatalog first;
    ImportIE(first, in);
    ExportIE(first, dir.filePath(QStringLiteral("out")));
    TCatalog second;
    ImportIE(second, dir.filePath(QStringLiteral("out")));
    QCOMPARE(CatalogOutline(second), CatalogOutline(first));
    QCOMPARE(first.GetBookmarkCount(), 4);
}

void TestFavorites::deepTrees()
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

QTEST_GUILESS_MAIN(TestFavorites)
#include "tst_favorites.moc"
