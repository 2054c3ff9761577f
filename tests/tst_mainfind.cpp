// Find and Find Next: one search step and what the main window shows of it:
// the match's folder in the tree, its bookmark in the list, the field in the
// description pane with the matched text selected.
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"
#include "dialogs/FindForm.h"
#include "settings/Preferences.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

class TestMainFind : public QObject
{
    Q_OBJECT
    MainWindowFixture m;

    // What the window shows: "folder|first selected row|pane|selection start|length".
    QString Shown() const
    {
        const QTextCursor cursor = m.Form->memDescription->textCursor();
        return QStringList{CurrentFolder ? CurrentFolder->Title() : QString("-"),
                           QString::number(m.Form->ItemIndex()),
                           m.Form->memDescription->toPlainText(),
                           QString::number(cursor.selectionStart()),
                           QString::number(cursor.selectionEnd() - cursor.selectionStart())}
            .join('|');
    }
    // Edit > Find, by its keys or from the menu, the text typed into the dialog
    // and OK pressed. The menu sends no key to the list, whose keys move the search.
    void Find(const QString &text, bool fromMenu = false)
    {
        QTimer::singleShot(0, this, [text] {
            QVERIFY(frmFind && frmFind->isModal());
            frmFind->cmbTextToFind->setEditText(text);
            frmFind->btnOK->click();
        });
        if (fromMenu)
            m.Form->Action(ActionId::EditFind)->trigger();
        else
            m.Type(QKeySequence::Find);
        QVERIFY(!frmFind);
        QVERIFY(m.Activate()); // the window is active again once the dialog has gone
    }
    // The rows, then the pane: what the window shows of a match.
    QString RowsAndPane() const
    {
        return m.Rows() + " / " + m.Form->memDescription->toPlainText();
    }

private slots:
    void initTestCase() { m.AnswerBoxes(); }
    void init() { QVERIFY(m.Open()); }
    void cleanup() { m.Close(); }

    void matchSelectedInPane_data()
    {
        QTest::addColumn<QByteArray>("language"); // the language file, none when empty
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const QByteArray title = "[Misc]\r\nTitle=Titelzeile:\r\n";
        QTest::newRow("built-in label") << QByteArray() << "FIND" << "Title: xxfindyy|9|4";
        QTest::newRow("longer label") << title << "find" << "Titelzeile: xxfindyy|14|4";
        QTest::newRow("description") << title << "here" << "Description: only here|18|4";
        QTest::newRow("address, translated label") << QByteArray("[Misc]\r\nAddress=Adresse:")
                                                   << "tell" << "Adresse: http://tell.me|16|4";
    }
    // The match lies in the folder or the bookmark already in view: only the pane changes.
    void matchSelectedInPane()
    {
        QFETCH(QByteArray, language);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        if (!language.isEmpty()) {
            m.Write("languages/test.lng", language);
            Prefs->Rec().LanguageFile = "test.lng";
        }
        m.Show("xxfindyy:1", "xxfindyy");
        CurrentFolder->SetDescription("only here");
        CurrentFolder->Bookmarks().At(0)->SetAddress("http://tell.me");
        Find(text);
        QCOMPARE(Shown(), "xxfindyy|0|" + shown);
        QCOMPARE(m.Form->focusWidget(), m.Form->memDescription);
    }

    // The folder first, with nothing selected in its title; the match at the next step.
    void matchInAnotherFolderTakesTwoSteps()
    {
        m.Show("A:1 B:2", "A");
        FolderNamed(*Catalog, "B")->Bookmarks().At(1)->SetDescription("with a needle in it");
        Find("NEEDLE");
        QCOMPARE(m.Tree() + " / " + Shown(), QString("A B* / B|0|Title: B|7|0"));
        m.Type(QKeySequence::FindNext);
        QCOMPARE(m.Rows() + " / " + Shown(),
                 QString("b0 >b1* / B|1|Description: with a needle in it|20|6"));
    }

    void noMatchChangesNothing_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("text");
        QTest::newRow("nowhere") << "A" << "absent";
        QTest::newRow("only before the cursor") << "B" << "a0";
    }
    // Nothing changes on screen and nothing is said; only the actions are recomputed.
    void noMatchChangesNothing()
    {
        QFETCH(QString, selected);
        QFETCH(QString, text);
        m.Show("A:2 B:2", selected);
        m.ClickRow(1);
        const QString before = m.Tree() + " / " + Shown();
        SearchRec.Text = text; // Find Next stays disabled until the states are recomputed
        QVERIFY(m.Disabled().endsWith("EditFindNext"));
        m.Form->EditFindNextExecute();
        QCOMPARE(m.Tree() + " / " + Shown(), before);
        QCOMPARE(m.Form->focusWidget(), m.Form->lvBookmarks);
        QCOMPARE(m.Disabled(), QString("FileSave EditUndo EditRedo EditPaste"));
        QVERIFY(m.Boxes.isEmpty());
    }

    void searchStartsAtThePressedRow_data()
    {
        QTest::addColumn<bool>("inactive"); // the press also brings the window to the front
        QTest::newRow("window active") << false;
        // That press reached the list before the window was active, the search
        // then took the list for unfocused and started at the folder's title:
        // the pane showed rows 1, 2 and 3 while row 4 stayed selected.
        QTest::newRow("the press that brings the window to the front") << true;
    }
    // Five bookmarks by add date, newest first; the fourth row pressed; Find
    // "://" from the menu, then Find Next twice: each match's row is selected.
    void searchStartsAtThePressedRow()
    {
        QFETCH(bool, inactive);
        m.Show("E F:5", "F");
        for (int i = 0; i < 5; ++i)
            CurrentFolder->Bookmarks().At(i)->SetAddDate(QString("2024-03-0%1").arg(i + 1));
        m.Form->Action(ActionId::ViewSortByAddDate)->trigger();
        m.Form->Action(ActionId::ViewReversedOrder)->trigger();
        QWidget other;
        if (inactive) {
            other.show();
            QApplication::setActiveWindow(&other);
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        m.ClickRow(3);
        Find("://", true);
        QCOMPARE(RowsAndPane(), QString("f4 f3 f2 >f1* f0 / Address: http://f1/"));
        QCOMPARE(m.Form->focusWidget(), m.Form->memDescription);
        m.Type(QKeySequence::FindNext);
        QCOMPARE(RowsAndPane(), QString("f4 f3 f2 f1 >f0* / Address: http://f0/"));
        m.Type(QKeySequence::FindNext); // no further match: nothing changes
        QCOMPARE(RowsAndPane(), QString("f4 f3 f2 f1 >f0* / Address: http://f0/"));
    }

    void matchAboveTheSelectedRow_data()
    {
        QTest::addColumn<QList<int>>("clicked"); // the first plain, the others with Ctrl
        QTest::addColumn<int>("downs");          // then Down pressed so many times
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("deleted"); // the rows once Delete is pressed in the list
        // A key moves the search to the row it leaves: here row 2, above the row selected.
        QTest::newRow("a key left the row above")
            << QList<int>{0} << 2 << "f0 >f1* f2 f3 f4 / Address: http://f1/" << "f0 >f2* f3 f4";
        QTest::newRow("two rows selected: the match's alone")
            << QList<int>{0, 3} << 0 << ">f0* f1 f2 f3 f4 / Address: http://f0/"
            << ">f1* f2 f3 f4";
    }
    // The match's row becomes the one selected, also above the current row, so
    // that Delete takes the bookmark shown. Rows above were once left unselected.
    void matchAboveTheSelectedRow()
    {
        QFETCH(QList<int>, clicked);
        QFETCH(int, downs);
        Prefs->Rec().ConfirmDeletingItems = false;
        m.Show("F:5", "F");
        m.ClickRows(clicked);
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(m.Form->lvBookmarks, Qt::Key_Down);
        Find("://", true);
        QTEST(RowsAndPane(), "shown");
        m.Form->lvBookmarks->setFocus(); // Tab
        m.Type(QKeySequence(Qt::Key_Delete));
        QTEST(m.Rows(), "deleted");
    }

    // Each change of folder starts the search at the folder chosen, so only a
    // search placed there by code can stand above the highlighted folder: its
    // node is selected all the same, then its row. Nodes above were once skipped.
    void matchInAFolderAboveTheHighlightedOne()
    {
        m.Show("A(A1:3) B:2", "B");
        SearchRec.Text = "a11";
        SearchRec.Folder = FolderNamed(*Catalog, "A");
        m.ClickNode("B"); // B stays selected; Find Next is offered now
        m.Type(QKeySequence::FindNext);
        QCOMPARE(m.Tree() + " / " + Shown(), QString("A(A1*) B / A1|0|Title: A1|7|0"));
        m.Type(QKeySequence::FindNext);
        QCOMPARE(RowsAndPane(), QString("a10 >a11* a12 / Title: a11"));
    }
};

QTEST_MAIN(TestMainFind)
#include "tst_mainfind.moc"
