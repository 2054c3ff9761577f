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
    // Edit > Find, the text typed into the dialog and OK pressed.
    void Find(const QString &text)
    {
        QTimer::singleShot(0, this, [text] {
            QVERIFY(frmFind && frmFind->isModal());
            frmFind->cmbTextToFind->setEditText(text);
            frmFind->btnOK->click();
        });
        m.Type(QKeySequence::Find);
        QVERIFY(!frmFind);
        QVERIFY(m.Activate()); // the window is active again once the dialog has gone
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

    // A right press makes A current while B stays highlighted and listed: a match
    // in A2, before B in the tree, selects neither its node nor B's third row.
    void matchBeforeTheHighlightedFolder()
    {
        m.Show("A(A1 A2:3) B:3", "B");
        m.ClickNode("A", Qt::RightButton);
        Find("a22");
        QCOMPARE(m.Tree() + " / " + Shown(), QString("A[A1 A2] B* / A|0|Title: a22|7|3"));
        for (int i = 0; i < 2; ++i) { // its address, then nothing more: silent
            m.Type(QKeySequence::FindNext);
            QCOMPARE(Shown(), QString("A|0|Address: http://a22/|16|3"));
        }
    }
};

QTEST_MAIN(TestMainFind)
#include "tst_mainfind.moc"
