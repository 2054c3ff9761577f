// The Edit commands as a user gives them: cut, copy, paste and delete of rows
// and folders with the internal clipboard, what is selected afterwards, the
// delete question, undo and redo, Edit Item, the shortcuts and the pop-ups.
#include "CatalogOutline.h"
#include "CatalogShape.h"
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"
#include "program/MessageBox.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

class TestEditCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void removeRows_data();
    void removeRows();
    void copyRowsReplacesFolderCopy();
    void removeFolder_data();
    void removeFolder();
    void pastedFolderCopyIsSelected();
    void deleteQuestion_data();
    void deleteQuestion();
    void pastingTwiceIsTwoUndoSteps();
    void undoAtStartDoesNothing();
    void cutPasteUndoRedoRoundTrip();
    void editItem_data();
    void editItem();
    void shortcuts_data();
    void shortcuts();
    void descriptionPaneCopiesToSystemClipboard();
    void popupsHoldTheEditEntries();

private:
    // Builds the shape; A, when there, holds the bookmarks a0 .. a4; `current`
    // carries the Selected flag, so the rebuild makes it current.
    void Build(const QString &shape, const QString &current);
    void Trigger(ActionId id) { m_form->Action(id)->trigger(); }
    void FocusList(const QList<int> &rows);
    void FocusTree();
    QString Rows() const; // the current folder's bookmarks
    QStringList Clipboard() const;
    QByteArray SavedCatalog();

    MainWindowFixture m_window;
    TfrmMain *m_form = nullptr;
    QTemporaryDir *m_dir = nullptr;
    QStringList m_boxes;
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;
};

void TestEditCommands::initTestCase()
{
    SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
        m_boxes << request.Text;
        return m_answer;
    });
}

void TestEditCommands::init()
{
    m_boxes.clear();
    m_answer = QMessageBox::Ok;
    QVERIFY(m_window.Open());
    m_form = m_window.Form.get();
    m_dir = m_window.Dir.get();
}

void TestEditCommands::cleanup()
{
    m_window.Close();
}

void TestEditCommands::Build(const QString &shape, const QString &current)
{
    BuildShape(Catalog->Folders(), shape);
    if (TFolder *a = FolderNamed(*Catalog, "A"))
        AddBookmarks(a->Bookmarks(), {"a0", "a1", "a2", "a3", "a4"});
    if (TFolder *folder = FolderNamed(*Catalog, current))
        folder->SetSelected(true);
    m_form->RebuildFolderTree();
}

void TestEditCommands::FocusList(const QList<int> &rows)
{
    m_form->lvBookmarks->setFocus();
    QTRY_VERIFY(m_form->lvBookmarks->hasFocus());
    QItemSelection selection;
    const QAbstractItemModel *model = m_form->lvBookmarks->model();
    for (int row : rows)
        selection.select(model->index(row, 0), model->index(row, 3));
    m_form->lvBookmarks->selectionModel()->select(selection,
                                                  QItemSelectionModel::ClearAndSelect);
}

void TestEditCommands::FocusTree()
{
    m_form->trvFolders->setFocus();
    QTRY_VERIFY(m_form->trvFolders->hasFocus());
}

QString TestEditCommands::Rows() const
{
    return CurrentFolder ? Titles(CurrentFolder->Bookmarks()).join(' ') : QString();
}

QStringList TestEditCommands::Clipboard() const
{
    if (m_form->FClipboardFolder)
        return {"folder " + m_form->FClipboardFolder->Title()};
    return m_form->FClipboardBookmarks ? Titles(*m_form->FClipboardBookmarks) : QStringList();
}

QByteArray TestEditCommands::SavedCatalog()
{
    const QString file = m_dir->filePath("snapshot.xml");
    Catalog->SaveToFile(file);
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestEditCommands::removeRows_data()
{
    QTest::addColumn<ActionId>("command");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QList<int>>("selected");
    for (ActionId command : {ActionId::EditCut, ActionId::EditDelete}) {
        const char *name = command == ActionId::EditCut ? "cut" : "delete";
        QTest::addRow("%s rows 4 and 5 of five: the last row", name)
            << command << QList<int>{3, 4} << "a0 a1 a2" << QList<int>{2};
        QTest::addRow("%s row 1: the former row 2", name)
            << command << QList<int>{0} << "a1 a2 a3 a4" << QList<int>{0};
        QTest::addRow("%s rows 2 and 4", name)
            << command << QList<int>{1, 3} << "a0 a2 a4" << QList<int>{1};
        QTest::addRow("%s every row", name)
            << command << QList<int>{0, 1, 2, 3, 4} << "" << QList<int>{};
    }
}

void TestEditCommands::removeRows()
{
    QFETCH(ActionId, command);
    QFETCH(QList<int>, rows);
    QFETCH(QString, left);
    QFETCH(QList<int>, selected);
    Prefs->Rec().ConfirmDeletingItems = false;
    Build("A B", "A");
    const QStringList before = Titles(CurrentFolder->Bookmarks());
    FocusList(rows);
    Trigger(command);
    QCOMPARE(Rows(), left);
    QCOMPARE(m_form->lvBookmarks->model()->rowCount(), int(CurrentFolder->Bookmarks().Count()));
    QCOMPARE(m_form->SelectedRows(), selected);
    QCOMPARE(m_form->StatusPanel[3]->text(),
             "Bookmarks:" + QString::number(CurrentFolder->Bookmarks().Count()));
    QVERIFY(Modified);
    QCOMPARE(Catalog->GetUndoCount(), 1);
    QStringList removed;
    for (int row : rows)
        removed << before[row];
    QCOMPARE(Clipboard(), command == ActionId::EditCut ? removed : QStringList());
    QVERIFY(m_boxes.isEmpty());
}

void TestEditCommands::copyRowsReplacesFolderCopy()
{
    Build("A B", "A");
    FocusTree();
    Trigger(ActionId::EditCopy);
    QCOMPARE(Clipboard(), QStringList{"folder A"});
    FocusList({1, 4});
    Trigger(ActionId::EditCopy);
    QCOMPARE(Clipboard(), QStringList({"a1", "a4"}));
    QCOMPARE(m_form->SelectedRows(), QList<int>({1, 4}));
    QVERIFY(!Modified);
    QCOMPARE(Catalog->GetUndoCount(), 0);
    m_form->SelectFolderNode(FolderNamed(*Catalog, "B"));
    Trigger(ActionId::EditPaste);
    QCOMPARE(Shape(Catalog->Folders()), QString("A B"));
    QCOMPARE(Rows(), QString("a1 a4"));
}

void TestEditCommands::removeFolder_data()
{
    QTest::addColumn<ActionId>("command");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("current"); // empty: none
    QTest::addColumn<QString>("pasted");  // after Paste, for Cut
    for (ActionId command : {ActionId::EditCut, ActionId::EditDelete}) {
        const char *name = command == ActionId::EditCut ? "cut" : "delete";
        QTest::addRow("%s middle of three: the next", name)
            << command << "A(A1 A2 A3) B" << "A2" << "A(A1 A3) B" << "A3" << "A(A1 A3 A2) B";
        QTest::addRow("%s last of three: the previous", name)
            << command << "A(A1 A2 A3) B" << "A3" << "A(A1 A2) B" << "A2" << "A(A1 A2 A3) B";
        QTest::addRow("%s only child: the parent", name)
            << command << "A(A1) B" << "A1" << "A B" << "A" << "A B A1";
        QTest::addRow("%s last root after a sub-tree", name)
            << command << "A(A1 A2) B(B1)" << "B" << "A(A1 A2)" << "A" << "A(A1 A2) B(B1)";
        QTest::addRow("%s first root: the next", name)
            << command << "A(A1) B" << "A" << "B" << "B" << "B A(A1)";
        QTest::addRow("%s only folder: none", name)
            << command << "A(A1)" << "A" << "" << "" << "A(A1)";
    }
}

void TestEditCommands::removeFolder()
{
    QFETCH(ActionId, command);
    QFETCH(QString, shape);
    QFETCH(QString, folder);
    QFETCH(QString, after);
    QFETCH(QString, current);
    QFETCH(QString, pasted);
    Prefs->Rec().ConfirmDeletingItems = false;
    Build(shape, folder);
    FocusTree();
    Trigger(command);
    QCOMPARE(Shape(Catalog->Folders()), after);
    QCOMPARE(CurrentFolder ? CurrentFolder->Title() : QString(), current);
    QCOMPARE(m_form->SelectedNodeFolder(), CurrentFolder);
    QCOMPARE(Catalog->GetUndoCount(), 1);
    QVERIFY(Modified);
    if (command == ActionId::EditDelete) {
        QVERIFY(Clipboard().isEmpty());
        return;
    }
    QCOMPARE(Clipboard(), QStringList{"folder " + folder});
    Trigger(ActionId::EditPaste); // enabled also without a current folder
    QCOMPARE(Shape(Catalog->Folders()), pasted);
    QCOMPARE(Clipboard(), QStringList{"folder " + folder}); // kept for the next paste
}

void TestEditCommands::pastedFolderCopyIsSelected()
{
    Build("A(A1) B", "A1");
    FocusTree();
    Trigger(ActionId::EditCopy);
    Trigger(ActionId::EditPaste);
    QCOMPARE(Shape(Catalog->Folders()), QString("A(A1 A1) B"));
    TFolder *copy = Catalog->Folders().At(0)->Folders().At(1);
    QCOMPARE(CurrentFolder, copy);
    // The flag follows the tree's selection, so the next start opens the copy.
    QVERIFY(copy->Selected());
    QVERIFY(!Catalog->Folders().At(0)->Folders().At(0)->Selected());
}

void TestEditCommands::deleteQuestion_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("language"); // the language file's DeleteItems
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("after"); // the current folder's rows, or the shape
    const auto ok = QMessageBox::Ok;
    QTest::newRow("three rows") << "list" << true << ok << "" << "Delete 3 selected items?"
                                << "rows a1 a3";
    QTest::newRow("three rows, Cancel") << "list" << true << QMessageBox::Cancel << ""
                                        << "Delete 3 selected items?" << "unchanged";
    QTest::newRow("a folder") << "tree" << true << ok << "" << "Delete 1 selected items?"
                              << "shape B";
    QTest::newRow("list focused without a row: the folder")
        << "list, no row" << true << ok << "" << "Delete 1 selected items?" << "shape B";
    QTest::newRow("not asked when off") << "list" << false << ok << "" << "" << "rows a1 a3";
    QTest::newRow("the language's text") << "list" << true << ok << "Really %d?"
                                         << "Really 3?" << "rows a1 a3";
    QTest::newRow("a text that does not fit ends the command")
        << "list" << false << ok << "Gone: %s"
        << "Format 'Gone: %s' invalid or incompatible with argument." << "unchanged";
}

void TestEditCommands::deleteQuestion()
{
    QFETCH(QString, focus);
    QFETCH(bool, confirm);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, language);
    QFETCH(QString, box);
    QFETCH(QString, after);
    if (!language.isEmpty()) {
        QVERIFY(QDir(m_dir->path()).mkpath("languages"));
        QFile file(m_dir->filePath("languages/test.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Messages]\r\nDeleteItems=" + language.toUtf8() + "\r\n");
        file.close();
        Prefs->Rec().LanguageFile = "test.ini";
    }
    Prefs->Rec().ConfirmDeletingItems = confirm;
    m_answer = answer;
    Build("A B", "A");
    const QString outline = CatalogOutline(*Catalog);
    if (focus == "tree")
        FocusTree();
    else
        FocusList(focus == "list" ? QList<int>{0, 2, 4} : QList<int>{});
    Trigger(ActionId::EditDelete);
    QCOMPARE(m_boxes, box.isEmpty() ? QStringList() : QStringList{box});
    if (after == "unchanged") {
        QCOMPARE(CatalogOutline(*Catalog), outline);
        QCOMPARE(Catalog->GetUndoCount(), 0);
        QVERIFY(!Modified);
        QCOMPARE(m_form->lvBookmarks->model()->rowCount(), 5);
    } else {
        QCOMPARE(after.startsWith("rows") ? "rows " + Rows()
                                          : "shape " + Shape(Catalog->Folders()),
                 after);
        QCOMPARE(Catalog->GetUndoCount(), 1);
        QVERIFY(Modified);
    }
}

void TestEditCommands::pastingTwiceIsTwoUndoSteps()
{
    Prefs->Rec().SortType = stTitle; // the copies are sorted in
    Build("A B", "A");
    FocusList({0, 1});
    Trigger(ActionId::EditCopy);
    Trigger(ActionId::EditPaste);
    Trigger(ActionId::EditPaste);
    QCOMPARE(Rows(), QString("a0 a0 a0 a1 a1 a1 a2 a3 a4"));
    QCOMPARE(Catalog->GetUndoCount(), 2);
    Trigger(ActionId::EditUndo);
    QCOMPARE(Rows(), QString("a0 a0 a1 a1 a2 a3 a4"));
    Trigger(ActionId::EditUndo);
    QCOMPARE(Rows(), QString("a0 a1 a2 a3 a4"));
    QVERIFY(!m_form->Action(ActionId::EditUndo)->isEnabled());
    Trigger(ActionId::EditRedo);
    QCOMPARE(Rows(), QString("a0 a0 a1 a1 a2 a3 a4"));
}

void TestEditCommands::undoAtStartDoesNothing()
{
    Build("A B", "A");
    TFolder *shown = CurrentFolder;
    m_form->EditUndoExecute();
    QCOMPARE(CurrentFolder, shown); // not even rebuilt: the same folder object
    QCOMPARE(Catalog->GetUndoCount(), 0);
    QVERIFY(!Modified);
}

// Four changes undone give the file saved before them, byte for byte; redone,
// the file after them.
void TestEditCommands::cutPasteUndoRedoRoundTrip()
{
    Build("A(A1 A2) B(B1)", "A");
    for (const char *title : {"A", "B"}) // as the user left them: selecting opens them
        FolderNamed(*Catalog, title)->SetExpanded(true);
    m_form->RebuildFolderTree();
    FocusTree();
    m_form->SelectFolderNode(FolderNamed(*Catalog, "A2"));
    m_form->FileSaveExecute();
    const QByteArray before = SavedCatalog();
    Trigger(ActionId::EditCut);
    m_form->SelectFolderNode(FolderNamed(*Catalog, "B1"));
    Trigger(ActionId::EditPaste);
    m_form->SelectFolderNode(FolderNamed(*Catalog, "A"));
    FocusList({0, 2});
    Trigger(ActionId::EditCut);
    m_form->SelectFolderNode(FolderNamed(*Catalog, "B1"));
    Trigger(ActionId::EditPaste);
    QCOMPARE(Shape(Catalog->Folders()), QString("A(A1) B(B1 A2)"));
    const QByteArray changed = SavedCatalog();
    for (int i = 0; i < 4; ++i)
        Trigger(ActionId::EditUndo);
    QCOMPARE(SavedCatalog(), before);
    for (int i = 0; i < 4; ++i)
        Trigger(ActionId::EditRedo);
    QCOMPARE(SavedCatalog(), changed);
    for (int i = 0; i < 4; ++i)
        Trigger(ActionId::EditUndo);
    Trigger(ActionId::FileSave);
    QFile file(m_dir->filePath("bookmarks.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestEditCommands::editItem_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("title");
    QTest::newRow("a row") << "list" << "frmBookmark" << "a2";
    QTest::newRow("the tree") << "tree" << "frmFolder" << "A";
    QTest::newRow("the list without a row") << "list, no row" << "frmFolder" << "A";
    QTest::newRow("after a right press: the highlighted folder")
        << "right press on B" << "frmFolder" << "A";
}

void TestEditCommands::editItem()
{
    QFETCH(QString, focus);
    QFETCH(QString, form);
    QFETCH(QString, title);
    Build("A B", "A");
    if (focus == "list") {
        FocusList({2, 3});
    } else if (focus == "list, no row") {
        FocusList({});
    } else if (focus == "tree") {
        FocusTree();
    } else {
        QTreeWidget *tree = m_form->trvFolders;
        const QPoint b = tree->visualItemRect(tree->topLevelItem(1)).center();
        QTest::mousePress(tree->viewport(), Qt::RightButton, {}, b);
        QCOMPARE(CurrentFolder->Title(), QString("B"));
    }
    QString shown;
    QTimer::singleShot(0, this, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            shown = dialog->objectName() + " "
                    + dialog->findChild<QLineEdit *>("edTitle")->text();
            dialog->close();
        }
    });
    Trigger(ActionId::EditEditItem);
    QCOMPARE(shown, form + " " + title);
    QVERIFY(!frmFolder && !frmBookmark);
    QCOMPARE(Catalog->GetUndoCount(), 0);
}

void TestEditCommands::shortcuts_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("after"); // rows | selected rows | clipboard
    QTest::newRow("Ctrl+A selects every row")
        << (Qt::CTRL | Qt::Key_A) << "list" << "a0 a1 a2 a3 a4 | 0 1 2 3 4 | ";
    QTest::newRow("Ctrl+C copies rows")
        << (Qt::CTRL | Qt::Key_C) << "list" << "a0 a1 a2 a3 a4 | 1 | a1";
    QTest::newRow("Ctrl+X cuts rows")
        << (Qt::CTRL | Qt::Key_X) << "list" << "a0 a2 a3 a4 | 1 | a1";
    QTest::newRow("Del deletes rows") << QKeyCombination(Qt::Key_Delete) << "list"
                                      << "a0 a2 a3 a4 | 1 | ";
    QTest::newRow("Ctrl+C copies the folder")
        << (Qt::CTRL | Qt::Key_C) << "tree" << "a0 a1 a2 a3 a4 | 0 | folder A";
}

void TestEditCommands::shortcuts()
{
    QFETCH(QKeyCombination, key);
    QFETCH(QString, focus);
    QFETCH(QString, after);
    Prefs->Rec().ConfirmDeletingItems = false;
    Build("A B", "A");
    FocusList({1});
    if (focus == "tree") {
        FocusList({0});
        FocusTree();
    }
    QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    QStringList selected;
    for (int row : m_form->SelectedRows())
        selected << QString::number(row);
    QCOMPARE(Rows() + " | " + selected.join(' ') + " | " + Clipboard().join(' '), after);
}

void TestEditCommands::descriptionPaneCopiesToSystemClipboard()
{
    Build("A B", "A");
    CurrentFolder->SetDescription("Links to read");
    m_form->ShowFolderDescription();
    QGuiApplication::clipboard()->clear();
    m_form->memDescription->setFocus();
    QTRY_VERIFY(m_form->memDescription->hasFocus());
    m_form->memDescription->selectAll();
    QVERIFY(m_form->Action(ActionId::EditCopy)->isEnabled());
    Trigger(ActionId::EditCopy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("Description: Links to read"));
    QVERIFY(Clipboard().isEmpty());
}

void TestEditCommands::popupsHoldTheEditEntries()
{
    const auto entries = [](const QMenu *menu) {
        QStringList names;
        for (const QAction *action : menu->actions())
            names << (action->isSeparator() ? "-" : action->objectName());
        return names.join(' ');
    };
    QCOMPARE(entries(m_form->FoldersPopup),
             QString("EditAddFolder EditAddBookmark EditEditItem - EditCut EditCopy EditPaste - "
                     "EditDelete"));
    QCOMPARE(entries(m_form->BookmarksPopup),
             QString("ToolsGo - EditAddBookmark EditAddFolder EditEditItem - EditCut EditCopy "
                     "EditPaste EditSelectAll - EditDelete"));
}

QTEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
