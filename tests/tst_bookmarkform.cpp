// The bookmark dialog: a new bookmark in the current folder at its sorted place,
// selected and focused; when OK (and Enter) confirms; what an edit keeps; Esc.
#include "FormCheck.h"
#include "CatalogShape.h"
#include "MainWindowFixture.h"
#include "dialogs/BookmarkForm.h"
#include "settings/Preferences.h"

#include <QtTest>
#include <QtWidgets>

class TestBookmarkForm : public QObject
{
    Q_OBJECT

    MainWindowFixture m_window;
    TFolder *m_folder = nullptr;

    TfrmBookmark *Open(TBookmark *bookmark)
    {
        frmBookmark = new TfrmBookmark(m_window.Form.get(), bookmark);
        frmBookmark->show();
        return frmBookmark;
    }
    QString Rows() const { return Titles(m_folder->Bookmarks()).join(' '); }

private slots:
    // A current folder "F" with c, a, d, sorted by title.
    void init()
    {
        QVERIFY(m_window.Open());
        Prefs->Rec().SortType = stTitle;
        m_folder = AddFolder(Catalog->Folders(), "F");
        AddBookmarks(m_folder->Bookmarks(), {"c", "a", "d"});
        m_folder->SetSelected(true);
        m_window.Form->RebuildFolderTree();
    }
    void cleanup()
    {
        m_window.Close();
        QVERIFY(!frmBookmark);
    }

    void addShowsNewBookmarkSelected()
    {
        QPointer<TfrmBookmark> form = Open(nullptr);
        QTest::keyClicks(form->edTitle, " b ");
        QTest::keyClicks(form->edAddress, "example.org ");
        QTest::mouseClick(form->btnOK, Qt::LeftButton);
        QVERIFY(!frmBookmark);
        QTRY_VERIFY(!form);
        QCOMPARE(Rows(), QString("a b c d"));
        QCOMPARE(Fields(*m_folder->Bookmarks().At(1)),
                 QStringList({"b", "example.org", "", TodayText(), ""}));
        QCOMPARE(m_window.Form->SelectedRows(), QList<int>{1});
        QCOMPARE(m_window.Form->lvBookmarks->currentIndex().row(), 1);
        QCOMPARE(m_window.Form->focusWidget(), m_window.Form->lvBookmarks);
        QCOMPARE(Catalog->GetUndoCount(), 1);
    }

    // Only a dialog opened before the folder went can do this; the bookmark made
    // at OK must not outlive it (the sanitizer build checks for the leak).
    void addWithoutCurrentFolderKeepsNothing()
    {
        TfrmBookmark *form = Open(nullptr);
        CurrentFolder = nullptr;
        form->edTitle->setText("t");
        form->edAddress->setText("a");
        form->btnOK->click();
        QCOMPARE(Catalog->GetBookmarkCount(), 3);
        QCOMPARE(Catalog->GetUndoCount(), 1);
        QVERIFY(Modified);
        QCOMPARE(m_window.Form->lvBookmarks->model()->rowCount(), 0);
    }

    // OK is enabled while neither text is blank; Enter confirms only then.
    void keys_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("both; Enter in the title") << "t" << "http://x" << "edTitle" << "Return"
                                                  << true;
        QTest::newRow("any address; Shift+Enter in it")
            << "t" << "not a web address" << "edAddress" << "Shift+Return" << true;
        QTest::newRow("no title; keypad Enter") << "" << "http://x" << "edAddress" << "Enter"
                                                << false;
        QTest::newRow("blank address; Ctrl+Enter in the description")
            << "t" << " \t" << "memDescription" << "Ctrl+Return" << false;
        QTest::newRow("Esc") << "t" << "x" << "edAddress" << "Esc" << true;
    }
    void keys()
    {
        QFETCH(QString, title);
        QFETCH(QString, address);
        QFETCH(QString, editor);
        QFETCH(QString, keys);
        QFETCH(bool, enabled);
        QPointer<TfrmBookmark> form = Open(nullptr);
        form->edTitle->setText(title);
        form->edAddress->setText(address);
        const QKeyCombination key = QKeySequence(keys)[0];
        QTest::keyClick(form->findChild<QWidget *>(editor), key.key(), key.keyboardModifiers());
        QTRY_COMPARE(form.isNull(), enabled);
        const bool stored = enabled && keys != "Esc";
        QCOMPARE(m_folder->Bookmarks().Count(), stored ? 4 : 3);
        QCOMPARE(Modified, stored);
        QCOMPARE(Catalog->GetUndoCount(), int(stored));
        if (!enabled)
            QVERIFY(form->memDescription->toPlainText().isEmpty()); // no line added
    }

    // Its designed size in any font, fixed: it opened at the size its memo asked
    // for (296 x 327) and could be resized.
    void opensAtDesignedSize_data() { AddFontRows(); }
    void opensAtDesignedSize()
    {
        QFETCH(int, pixelSize);
        const AppFontScope font(pixelSize);
        TfrmBookmark *form = Open(nullptr);
        CheckDesignedSize(form, {296, 203});
        CheckForm(form, "Add/Edit Bookmark", {"btnOK", "btnCancel", "lblTitle", "lblAddress",
                  "edAddress", "edTitle", "lblDescription", "memDescription", "Bevel1"},
                  {296, 203});
    }

    void editKeepsDatesAndTrims()
    {
        TBookmark *bookmark = m_folder->Bookmarks().At(2); // d
        bookmark->SetAddDate("2001.01.01");
        bookmark->SetLastVisit("2002.02.02");
        bookmark->SetAddress("old");
        TfrmBookmark *form = Open(bookmark);
        CheckForm(form, "Add/Edit Bookmark", {"btnOK", "btnCancel", "lblTitle", "lblAddress",
                  "edAddress", "edTitle", "lblDescription", "memDescription", "Bevel1"},
                  {296, 203});
        QCOMPARE(TabWalk(form, 5),
                 QStringList({"edTitle", "edAddress", "memDescription", "btnOK", "btnCancel"}));
        form->edTitle->setText("\t0 first ");
        form->edAddress->setText(" http://d\n");
        form->memDescription->setPlainText("\nsome\n\nlines \n");
        form->btnOK->click();
        QCOMPARE(Rows(), QString("0 first a c"));
        QCOMPARE(Fields(*bookmark), QStringList({"0 first", "http://d", "some\n\nlines",
                                                 "2001.01.01", "2002.02.02"}));
        QCOMPARE(m_window.Form->SelectedRows(), QList<int>{0});
        QCOMPARE(Catalog->GetUndoCount(), 1);
        Open(bookmark); // left open: closing the main window frees it
    }

    // A pasted control character or U+FFFF once reached the catalogue file, which
    // then did not load; a title of such characters alone is blank.
    void storesOnlyWhatTheFileHolds()
    {
        TBookmark *bookmark = m_folder->Bookmarks().At(0);
        TfrmBookmark *form = Open(bookmark);
        form->edTitle->setText(QString(QChar(0xFFFF)) + QChar(1));
        form->edAddress->setText("x");
        QVERIFY(!form->btnOK->isEnabled());
        form->edTitle->setText(QStringLiteral("\uFFFEb") + QChar(0x1F) + QStringLiteral("\U0001F600"));
        form->edAddress->setText(QStringLiteral("http://x/") + QChar(0xDC00) + QStringLiteral("\uFFFF"));
        form->memDescription->setPlainText(QStringLiteral("d") + QChar(0xD800) + QChar(8) + "e");
        form->btnOK->click();
        QCOMPARE(Fields(*bookmark).mid(0, 3),
                 QStringList({QStringLiteral("b\U0001F600"), "http://x/", "de"}));
    }
};

QTEST_MAIN(TestBookmarkForm)
#include "tst_bookmarkform.moc"
