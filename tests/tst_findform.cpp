// The Find dialog: the history of texts it offers and keeps, when OK applies,
// what Cancel leaves alone, and the first match shown while it is still open.
#include "FormCheck.h"
#include "CatalogTree.h"
#include "MainWindowFixture.h"
#include "dialogs/FindForm.h"
#include "settings/Preferences.h"

#include <QtTest>
#include <QtWidgets>

namespace {

void SetHistory(const QStringList &entries)
{
    Prefs->Rec().LastString.fill(QString());
    std::copy(entries.begin(), entries.end(), Prefs->Rec().LastString.begin());
}

// Up to the last entry that is not empty.
QStringList History()
{
    QStringList entries(Prefs->Rec().LastString.begin(), Prefs->Rec().LastString.end());
    while (!entries.isEmpty() && entries.last().isEmpty())
        entries.removeLast();
    return entries;
}

// What the dialog offers: its text, then the items of its drop-down list.
QStringList Offered(const TfrmFind &dialog)
{
    QStringList offered{dialog.cmbTextToFind->currentText()};
    for (int i = 0; i < dialog.cmbTextToFind->count(); ++i)
        offered << dialog.cmbTextToFind->itemText(i);
    return offered;
}

} // namespace

class TestFindForm : public QObject
{
    Q_OBJECT

    MainWindowFixture m_window;
    TFolder *m_folder = nullptr;

    TfrmFind *Open()
    {
        frmFind = new TfrmFind(m_window.Form.get());
        frmFind->show();
        return frmFind;
    }

private slots:
    void init()
    {
        QVERIFY(m_window.Open());
        m_folder = AddFolder(Catalog->Folders(), "Reading");
        m_folder->SetDescription("where the needle is");
        m_folder->SetSelected(true);
        AddBookmark(m_folder->Bookmarks(), "first");
        m_window.Form->RebuildFolderTree();
        SearchRec.Text = "earlier";
    }
    void cleanup()
    {
        m_window.Close();
        QVERIFY(!frmFind);
    }

    // Entries from entry 0 on, "|" between two.
    void history_data()
    {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QString aj = "a|b|c|d|e|f|g|h|i|j";
        QTest::newRow("c moves to the front") << aj << "c" << "c|a|b|d|e|f|g|h|i|j";
        QTest::newRow("z pushes j out") << aj << "z" << "z|a|b|c|d|e|f|g|h|i";
        QTest::newRow("J overwrites j, not kept twice") << aj << "J" << "J|a|b|c|d|e|f|g|h|i";
        QTest::newRow("C replaces c") << aj << "C" << "C|a|b|d|e|f|g|h|i|j";
        QTest::newRow("empty history") << "" << "x" << "x";
        QTest::newRow("blanks count") << "" << "  " << "  ";
        QTest::newRow("gaps keep their places") << "|b||d" << "x" << "x||b||d";
        QTest::newRow("nothing trimmed") << "c |c" << "c" << "c|c ";
        QTest::newRow("empty text: Enter does nothing") << "a|b" << "" << "a|b";
    }
    // Offered: entry 0 as the text, the other entries without gaps in the list;
    // again at the next opening.
    void history()
    {
        QFETCH(QString, history);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const auto offered = [](const QString &entries) {
            QStringList older = entries.split('|').mid(1);
            older.removeAll(QString());
            return QStringList{entries.section('|', 0, 0)} + older;
        };
        SetHistory(history.split('|'));
        QPointer<TfrmFind> dialog = Open();
        QCOMPARE(Offered(*dialog), offered(history));
        dialog->cmbTextToFind->clearEditText();
        QTest::keyClicks(dialog->cmbTextToFind, text);
        QCOMPARE(dialog->btnOK->isEnabled(), !text.isEmpty());
        QTest::keyClick(dialog->cmbTextToFind, Qt::Key_Return);
        QTRY_COMPARE(dialog.isNull(), !text.isEmpty());
        QCOMPARE(History().join('|'), expected);
        QCOMPARE(SearchRec.Text, text.isEmpty() ? QString("earlier") : text);
        delete dialog;
        QCOMPARE(Offered(*Open()), offered(expected));
    }

    void cancelTouchesNothing()
    {
        SetHistory({"a", "b"});
        QPointer<TfrmFind> dialog = Open();
        QTest::keyClicks(dialog->cmbTextToFind, "needle");
        // A fixed size: its height follows the font.
        CheckForm(dialog, "Find", {"lblTextToFind", "cmbTextToFind", "btnOK", "btnCancel",
                  "Bevel1"}, {294, 0});
        QTest::mouseClick(dialog->btnCancel, Qt::LeftButton);
        QTRY_VERIFY(!dialog);
        QCOMPARE(History(), QStringList({"a", "b"}));
        QCOMPARE(SearchRec.Text, QString("earlier"));
        QVERIFY(m_window.Form->memDescription->textCursor().selectedText().isEmpty());
    }

    // Its designed size in any font, fixed: it took the least size of its parts.
    void opensAtDesignedSize_data() { AddFontRows(); }
    void opensAtDesignedSize()
    {
        QFETCH(int, pixelSize);
        const AppFontScope font(pixelSize);
        TfrmFind *dialog = Open();
        CheckDesignedSize(dialog, {294, 100});
        CheckForm(dialog, "Find", {"lblTextToFind", "cmbTextToFind", "btnOK", "btnCancel",
                  "Bevel1"}, {294, 100});
    }

    // The last text comes selected whole, so typing replaces it; neither button is
    // the default (OK was, framed as such), but Enter presses the focused one.
    void typingReplacesTheLastText()
    {
        SetHistory({"old", "older"});
        QPointer<TfrmFind> dialog = Open();
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(dialog->focusWidget(), dialog->cmbTextToFind);
        QCOMPARE(dialog->cmbTextToFind->lineEdit()->selectedText(), QString("old"));
        QVERIFY(!dialog->btnOK->isDefault() && !dialog->btnCancel->isDefault());
        QTest::keyClicks(dialog->focusWidget(), "new");
        QCOMPARE(Offered(*dialog), QStringList({"new", "older"}));
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        QCOMPARE(dialog->focusWidget(), dialog->btnOK);
        QTest::keyClick(dialog->btnOK, Qt::Key_Return);
        QTRY_VERIFY(!dialog);
        QCOMPARE(History(), QStringList({"new", "old", "older"}));
    }

    // The search starts at the current folder; the pane shows the match and has the focus.
    void okShowsFirstMatch()
    {
        QPointer<TfrmFind> dialog = Open();
        QTest::keyClicks(dialog->cmbTextToFind, "NEEDLE");
        QTest::keyClick(dialog->cmbTextToFind, Qt::Key_Enter);
        QTRY_VERIFY(!dialog);
        QCOMPARE(m_window.Form->memDescription->textCursor().selectedText(), QString("needle"));
        QCOMPARE(m_window.Form->focusWidget(), m_window.Form->memDescription);
        QCOMPARE(SearchRec.Folder, m_folder);
        QVERIFY(m_window.Form->Action(ActionId::EditFindNext)->isEnabled());
    }
};

QTEST_MAIN(TestFindForm)
#include "tst_findform.moc"
