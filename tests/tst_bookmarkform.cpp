// The bookmark dialog: a new bookmark in the current folder at its sorted place,
// selected and focused; when OK may be clicked; what an edit keeps; Enter and Esc.
#include "CatalogShape.h"
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"
#include "dialogs/BookmarkForm.h"
#include "settings/Preferences.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

class TestBookmarkForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_window.Close(); }

    void addShowsNewBookmarkSelected();
    void addWithoutCurrentFolderKeepsNothing();
    void okEnabling_data();
    void okEnabling();
    void editKeepsDatesAndTrims();
    void enterInDescriptionConfirms();
    void escCancels();
    void tabOrderStartsAtTitle();

private:
    TfrmBookmark *Open(TBookmark *bookmark);
    QString Rows() const { return Titles(CurrentFolder->Bookmarks()).join(' '); }

    MainWindowFixture m_window;
    TFolder *m_folder = nullptr;
};

// A current folder "F" with c, a, d sorted by title.
void TestBookmarkForm::init()
{
    QVERIFY(m_window.Open());
    Prefs->Rec().SortType = stTitle;
    m_folder = AddFolder(Catalog->Folders(), "F");
    AddBookmarks(m_folder->Bookmarks(), {"c", "a", "d"});
    m_folder->SetSelected(true);
    m_window.Form->RebuildFolderTree();
}

TfrmBookmark *TestBookmarkForm::Open(TBookmark *bookmark)
{
    frmBookmark = new TfrmBookmark(m_window.Form.get(), bookmark);
    frmBookmark->show();
    return frmBookmark;
}

void TestBookmarkForm::addShowsNewBookmarkSelected()
{
    QPointer<TfrmBookmark> form = Open(nullptr);
    QTest::keyClicks(form->edTitle, " b ");
    QTest::keyClicks(form->edAddress, "example.org ");
    QTest::mouseClick(form->btnOK, Qt::LeftButton);
    QTRY_VERIFY(!form);
    QVERIFY(!frmBookmark);
    QCOMPARE(Rows(), QString("a b c d"));
    const TBookmark *added = m_folder->Bookmarks().At(1);
    QCOMPARE(added->Address(), QString("example.org"));
    QCOMPARE(added->AddDate(), TodayText());
    QVERIFY(added->LastVisit().isEmpty());
    QCOMPARE(m_window.Form->SelectedRows(), QList<int>{1});
    QCOMPARE(m_window.Form->lvBookmarks->currentIndex().row(), 1);
    QCOMPARE(m_window.Form->focusWidget(), m_window.Form->lvBookmarks);
    QCOMPARE(Catalog->GetUndoCount(), 1);
    QVERIFY(Modified);
}

// Only a dialog opened before the folder went can do this; the bookmark made
// at OK must not outlive it (the sanitizer build checks for the leak).
void TestBookmarkForm::addWithoutCurrentFolderKeepsNothing()
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

void TestBookmarkForm::okEnabling_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("both") << "t" << "http://x" << true;
    QTest::newRow("any address") << "t" << "not a web address" << true;
    QTest::newRow("no title") << "" << "http://x" << false;
    QTest::newRow("blank address") << "t" << " \t" << false;
    QTest::newRow("both blank") << "  " << "\n" << false;
}

// Typed in add mode, or loaded from the bookmark in edit mode.
void TestBookmarkForm::okEnabling()
{
    QFETCH(QString, title);
    QFETCH(QString, address);
    QFETCH(bool, enabled);
    TfrmBookmark *form = Open(nullptr);
    form->edTitle->setText(title);
    form->edAddress->setText(address);
    QCOMPARE(form->btnOK->isEnabled(), enabled);
    form->close();
    TBookmark *bookmark = m_folder->Bookmarks().At(0);
    bookmark->SetTitle(title);
    bookmark->SetAddress(address);
    QCOMPARE(Open(bookmark)->btnOK->isEnabled(), enabled);
    frmBookmark->close();
}

void TestBookmarkForm::editKeepsDatesAndTrims()
{
    TBookmark *bookmark = m_folder->Bookmarks().At(2); // d
    bookmark->SetAddDate("2001.01.01");
    bookmark->SetLastVisit("2002.02.02");
    TfrmBookmark *form = Open(bookmark);
    QCOMPARE(form->edTitle->text(), QString("d"));
    form->edTitle->setText("\t0 first ");
    form->edAddress->setText(" http://d\n");
    form->memDescription->setPlainText("\nsome\n\nlines \n");
    form->btnOK->click();
    QCOMPARE(Rows(), QString("0 first a c"));
    QCOMPARE(Fields(*bookmark), QStringList({"0 first", "http://d", "some\n\nlines",
                                             "2001.01.01", "2002.02.02"}));
    QCOMPARE(m_window.Form->SelectedRows(), QList<int>{0});
}

void TestBookmarkForm::enterInDescriptionConfirms()
{
    QPointer<TfrmBookmark> form = Open(nullptr);
    form->edTitle->setText("t");
    QTest::keyClick(form->memDescription, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(form->isVisible()); // no address yet: OK is disabled
    QVERIFY(form->memDescription->toPlainText().isEmpty());
    form->edAddress->setText("x");
    QTest::keyClick(form->memDescription, Qt::Key_Return, Qt::ShiftModifier);
    QTRY_VERIFY(!form);
    QCOMPARE(Rows(), QString("a c d t"));
    QVERIFY(m_folder->Bookmarks().At(3)->Description().isEmpty());
}

void TestBookmarkForm::escCancels()
{
    QPointer<TfrmBookmark> form = Open(m_folder->Bookmarks().At(0));
    form->edAddress->setText("changed");
    QTest::keyClick(form->edAddress, Qt::Key_Escape);
    QTRY_VERIFY(!form);
    QVERIFY(!frmBookmark);
    QVERIFY(m_folder->Bookmarks().At(0)->Address().isEmpty());
    QCOMPARE(Catalog->GetUndoCount(), 0);
    QVERIFY(!Modified);
}

// The buttons are made first; the focus must still start at the title.
void TestBookmarkForm::tabOrderStartsAtTitle()
{
    TfrmBookmark *form = Open(nullptr);
    form->edTitle->setText("t");
    form->edAddress->setText("a");
    QCOMPARE(TabWalk(form, 5),
             QStringList({"edTitle", "edAddress", "memDescription", "btnOK", "btnCancel"}));
    form->close();
}

QTEST_MAIN(TestBookmarkForm)
#include "tst_bookmarkform.moc"
