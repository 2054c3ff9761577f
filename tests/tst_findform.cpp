// The Find dialog: the history of texts it offers and keeps, when OK applies,
// what Cancel leaves alone, and the first match shown while it is still open.
#include "CatalogTree.h"
#include "catalogue/Catalog.h"
#include "dialogs/FindForm.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using History = std::array<QString, 10>;

namespace {

History ToHistory(const QStringList &entries)
{
    History history;
    std::copy(entries.begin(), entries.end(), history.begin());
    return history;
}

QStringList Entries(const History &history)
{
    return QStringList(history.begin(), history.end());
}

QStringList Items(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class TestFindForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void history_data();
    void history();
    void okOnlyWithText();
    void cancelTouchesNothing_data();
    void cancelTouchesNothing();
    void okShowsFirstMatchWhileOpen();
    void historyReachesPreferencesAtClose();

private:
    // Edit > Find as the user runs it, the modal dialog answered from a timer;
    // false when the answer left it open (it is then closed).
    bool RunFind(const std::function<void(TfrmFind &)> &answer);
    QString Path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TfrmMain> m_form;
    TFolder *m_folder = nullptr;
};

void TestFindForm::initTestCase()
{
    SetMessageBoxAnswerer([](const MessageBoxRequest &) { return QMessageBox::No; });
}

void TestFindForm::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_dir->path());
    m_form = std::make_unique<TfrmMain>();
    m_folder = AddFolder(Catalog->Folders(), "Reading");
    m_folder->SetDescription("where the needle is");
    m_folder->SetSelected(true);
    AddBookmark(m_folder->Bookmarks(), "first");
    m_form->RebuildFolderTree();
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TestFindForm::cleanup()
{
    m_form.reset();
    QVERIFY(!frmFind);
}

bool TestFindForm::RunFind(const std::function<void(TfrmFind &)> &answer)
{
    bool answered = false;
    bool leftOpen = false;
    QTimer timer; // dies with this call, so it cannot fire into a later test
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, [&] {
        if (!frmFind || !frmFind->isVisible())
            return;
        answered = true;
        answer(*frmFind);
        if (frmFind->isVisible()) {
            leftOpen = true;
            frmFind->reject();
        }
    });
    timer.start(0);
    m_form->Action(ActionId::EditFind)->trigger();
    return answered && !leftOpen;
}

void TestFindForm::history_data()
{
    QTest::addColumn<QStringList>("history"); // entry 0 first
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    const QStringList aj{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    QTest::newRow("c moves to the front")
        << aj << "c" << QStringList{"c", "a", "b", "d", "e", "f", "g", "h", "i", "j"};
    QTest::newRow("z pushes j out")
        << aj << "z" << QStringList{"z", "a", "b", "c", "d", "e", "f", "g", "h", "i"};
    QTest::newRow("J overwrites j, not kept twice")
        << aj << "J" << QStringList{"J", "a", "b", "c", "d", "e", "f", "g", "h", "i"};
    QTest::newRow("C replaces c")
        << aj << "C" << QStringList{"C", "a", "b", "d", "e", "f", "g", "h", "i", "j"};
    QTest::newRow("empty history") << QStringList() << "x" << QStringList{"x"};
    QTest::newRow("blanks count") << QStringList() << "  " << QStringList{"  "};
    QTest::newRow("gaps keep their places") << QStringList{"", "b", "", "d"} << "x"
                                            << QStringList{"x", "", "b", "", "d"};
    QTest::newRow("no blanks trimmed")
        << QStringList{"c ", "c"} << "c" << QStringList{"c", "c "};
}

void TestFindForm::history()
{
    QFETCH(QStringList, history);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    Prefs->Rec().LastString = ToHistory(history);
    // Offered: entry 0 as the text, the other entries without gaps in the list.
    const auto offered = [](const QStringList &entries) {
        QStringList older = entries.mid(1);
        older.removeAll(QString());
        return std::make_pair(entries.value(0), older);
    };
    QPointer<TfrmFind> dialog = new TfrmFind(m_form.get());
    dialog->show();
    QCOMPARE(std::make_pair(dialog->cmbTextToFind->currentText(), Items(dialog->cmbTextToFind)),
             offered(history));
    dialog->cmbTextToFind->clearEditText();
    QTest::keyClicks(dialog->cmbTextToFind, text);
    QTest::keyClick(dialog->cmbTextToFind, Qt::Key_Return);
    QTRY_VERIFY(!dialog);
    QCOMPARE(Entries(Prefs->Rec().LastString), Entries(ToHistory(expected)));
    QCOMPARE(SearchRec.Text, text);

    auto *again = new TfrmFind(m_form.get());
    QCOMPARE(std::make_pair(again->cmbTextToFind->currentText(), Items(again->cmbTextToFind)),
             offered(expected));
    delete again;
}

void TestFindForm::okOnlyWithText()
{
    Prefs->Rec().LastString = ToHistory({"", "older"});
    auto *dialog = new TfrmFind(m_form.get());
    dialog->show();
    QVERIFY(!dialog->btnOK->isEnabled());
    QTest::keyClick(dialog->cmbTextToFind, Qt::Key_Return);
    QVERIFY(dialog->isVisible()); // Enter does nothing while OK is disabled
    QCOMPARE(Entries(Prefs->Rec().LastString), Entries(ToHistory({"", "older"})));
    QTest::keyClick(dialog->cmbTextToFind, Qt::Key_Space);
    QVERIFY(dialog->btnOK->isEnabled());
    QTest::keyClick(dialog->cmbTextToFind, Qt::Key_Backspace);
    QVERIFY(!dialog->btnOK->isEnabled());
    dialog->cmbTextToFind->setCurrentIndex(0); // chosen from the drop-down
    QVERIFY(dialog->btnOK->isEnabled());
    delete dialog;
}

void TestFindForm::cancelTouchesNothing_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Cancel") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("close box") << 2;
}

void TestFindForm::cancelTouchesNothing()
{
    QFETCH(int, way);
    Prefs->Rec().LastString = ToHistory({"a", "b"});
    SearchRec.Text = "earlier";
    SearchRec.Bookmark = m_folder->Bookmarks().At(0);
    SearchRec.NextPos = 3;
    const TSearchRec search = SearchRec;
    const QString pane = m_form->memDescription->toPlainText();
    QVERIFY(RunFind([way](TfrmFind &dialog) {
        QTest::keyClicks(dialog.cmbTextToFind, "needle");
        if (way == 0)
            QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(dialog.cmbTextToFind, Qt::Key_Escape);
        else
            dialog.close();
    }));
    QVERIFY(!frmFind);
    QCOMPARE(Entries(Prefs->Rec().LastString), Entries(ToHistory({"a", "b"})));
    QVERIFY(SearchRec.Text == search.Text && SearchRec.Folder == search.Folder
            && SearchRec.Bookmark == search.Bookmark && SearchRec.NextPos == search.NextPos);
    QCOMPARE(m_form->memDescription->toPlainText(), pane);
}

// The pane shows the match before the dialog goes; afterwards it has the focus.
void TestFindForm::okShowsFirstMatchWhileOpen()
{
    QStringList shownWhileOpen;
    connect(m_form->memDescription, &QPlainTextEdit::textChanged, this, [&] {
        if (frmFind && frmFind->isVisible())
            shownWhileOpen << m_form->memDescription->toPlainText();
    });
    QVERIFY(RunFind([](TfrmFind &dialog) {
        QTest::keyClicks(dialog.cmbTextToFind, "NEEDLE");
        QTest::keyClick(dialog.cmbTextToFind, Qt::Key_Enter);
    }));
    QCOMPARE(shownWhileOpen, QStringList{"Description: where the needle is"});
    QCOMPARE(m_form->memDescription->textCursor().selectedText(), QString("needle"));
    QCOMPARE(m_form->focusWidget(), m_form->memDescription);
    QVERIFY(m_form->Action(ActionId::EditFindNext)->isEnabled());
}

void TestFindForm::historyReachesPreferencesAtClose()
{
    QVERIFY(RunFind([](TfrmFind &dialog) {
        QTest::keyClicks(dialog.cmbTextToFind, "kept");
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    }));
    QVERIFY(!QFile::exists(Path("preferences.ini")));
    QVERIFY(m_form->close());
    m_form.reset();
    QFile file(Path("preferences.ini"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("LastString0=kept"));

    m_form = std::make_unique<TfrmMain>(); // the next run offers it again
    auto *dialog = new TfrmFind(m_form.get());
    QCOMPARE(dialog->cmbTextToFind->currentText(), QString("kept"));
    delete dialog;
}

QTEST_MAIN(TestFindForm)
#include "tst_findform.moc"
