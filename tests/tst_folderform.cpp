// The folder dialog: where a new folder goes and what is selected then, when OK
// may be clicked, what is stored, Enter confirming and the ways to cancel.
#include "CatalogShape.h"
#include "MainWindowFixture.h"
#include "catalogue/Catalog.h"
#include "dialogs/FolderForm.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

class TestFolderForm : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_window.Open()); }
    void cleanup() { m_window.Close(); }

    void addPlacesNewFolderBesideCurrent_data();
    void addPlacesNewFolderBesideCurrent();
    void okEnabling_data();
    void okEnabling();
    void storesTrimmedTexts();
    void enterConfirms_data();
    void enterConfirms();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void tabOrder();

private:
    // The dialog as the Edit commands open it, shown without a modal loop.
    TfrmFolder *Open(TFolder *folder);

    MainWindowFixture m_window;
};

TfrmFolder *TestFolderForm::Open(TFolder *folder)
{
    frmFolder = new TfrmFolder(m_window.Form.get(), folder);
    frmFolder->show();
    return frmFolder;
}

void TestFolderForm::addPlacesNewFolderBesideCurrent_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty catalogue") << "" << "" << "N";
    QTest::newRow("no current folder: the top level") << "A(A1) B" << "" << "A(A1) B N";
    QTest::newRow("a root folder current") << "A(A1) B" << "A" << "A(A1) B N";
    QTest::newRow("a sub-folder current: beside it") << "A(A1 A2) B" << "A1" << "A(A1 A2 N) B";
}

void TestFolderForm::addPlacesNewFolderBesideCurrent()
{
    QFETCH(QString, shape);
    QFETCH(QString, current);
    QFETCH(QString, after);
    BuildShape(Catalog->Folders(), shape);
    if (TFolder *folder = FolderNamed(*Catalog, current))
        folder->SetSelected(true);
    m_window.Form->RebuildFolderTree();
    QPointer<TfrmFolder> form = Open(nullptr);
    QTest::keyClicks(form->edTitle, "N");
    QTest::mouseClick(form->btnOK, Qt::LeftButton);
    QVERIFY(!frmFolder);
    QTRY_VERIFY(!form);
    QCOMPARE(Shape(Catalog->Folders()), after);
    QVERIFY(CurrentFolder);
    QCOMPARE(CurrentFolder->Title(), QString("N"));
    QCOMPARE(m_window.Form->SelectedNodeFolder(), CurrentFolder);
    QCOMPARE(m_window.Form->focusWidget(), m_window.Form->trvFolders);
    QCOMPARE(Catalog->GetUndoCount(), 1);
    QVERIFY(Modified);
}

void TestFolderForm::okEnabling_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks") << "   " << false;
    QTest::newRow("tabs, line breaks, control characters") << "\t\r\n \x01" << false;
    QTest::newRow("a word between blanks") << "  x  " << true;
    QTest::newRow("a no-break space is no blank") << "\u00a0" << true;
}

// Typed in add mode, or loaded from the folder in edit mode.
void TestFolderForm::okEnabling()
{
    QFETCH(QString, title);
    QFETCH(bool, enabled);
    TfrmFolder *form = Open(nullptr);
    form->edTitle->setText("y");
    form->edTitle->setText(title);
    QCOMPARE(form->btnOK->isEnabled(), enabled);
    form->close();
    TFolder *folder = AddFolder(Catalog->Folders(), title);
    QCOMPARE(Open(folder)->btnOK->isEnabled(), enabled);
    frmFolder->close();
}

void TestFolderForm::storesTrimmedTexts()
{
    BuildShape(Catalog->Folders(), "A(A1) B");
    TFolder *a = FolderNamed(*Catalog, "A");
    a->SetExpanded(true);
    TfrmFolder *form = Open(a);
    QCOMPARE(form->edTitle->text(), QString("A"));
    form->btnOK->click(); // unchanged, still an undo step
    QCOMPARE(Catalog->GetUndoCount(), 1);
    QVERIFY(Modified);
    form = Open(a);
    form->edTitle->setText("  Work\t");
    form->memDescription->setPlainText("\n\n line one\nline two \n\n");
    form->btnOK->click();
    QCOMPARE(a->Title(), QString("Work"));
    QCOMPARE(a->Description(), QString("line one\nline two"));
    QVERIFY(a->Expanded());
    QCOMPARE(Shape(Catalog->Folders()), QString("Work(A1) B"));
    QCOMPARE(Catalog->GetUndoCount(), 2);
}

void TestFolderForm::enterConfirms_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("title");
    const QString editors[] = {"edTitle", "memDescription"};
    for (const QString &editor : editors) {
        const QByteArray e = editor.toLatin1();
        QTest::addRow("%s Enter", e.data()) << editor << int(Qt::Key_Return)
                                            << Qt::KeyboardModifiers() << "N";
        QTest::addRow("%s Ctrl+Shift+Enter", e.data())
            << editor << int(Qt::Key_Return) << (Qt::ControlModifier | Qt::ShiftModifier) << "N";
        QTest::addRow("%s keypad Enter", e.data()) << editor << int(Qt::Key_Enter)
                                                   << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                                   << "N";
        QTest::addRow("%s Enter while OK is disabled", e.data())
            << editor << int(Qt::Key_Return) << Qt::KeyboardModifiers() << " ";
    }
}

void TestFolderForm::enterConfirms()
{
    QFETCH(QString, editor);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, title);
    QPointer<TfrmFolder> form = Open(nullptr);
    form->edTitle->setText(title);
    form->memDescription->setPlainText("notes");
    QTest::keyClick(form->findChild<QWidget *>(editor), Qt::Key(key), modifiers);
    if (title.trimmed().isEmpty()) {
        QVERIFY(form->isVisible());
        QCOMPARE(form->memDescription->toPlainText(), QString("notes"));
        QCOMPARE(Catalog->GetUndoCount(), 0);
        return;
    }
    QTRY_VERIFY(!form);
    QCOMPARE(Shape(Catalog->Folders()), title);
    QCOMPARE(Catalog->Folders().At(0)->Description(), QString("notes"));
}

void TestFolderForm::cancelChangesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc in the title") << "edTitle";
    QTest::newRow("Esc in the description") << "memDescription";
    QTest::newRow("Cancel") << "btnCancel";
    QTest::newRow("the close box") << "close";
}

void TestFolderForm::cancelChangesNothing()
{
    QFETCH(QString, how);
    BuildShape(Catalog->Folders(), "A");
    QPointer<TfrmFolder> form = Open(Catalog->Folders().At(0));
    form->edTitle->setText("Changed");
    if (how == "close")
        form->close();
    else if (how == "btnCancel")
        QTest::mouseClick(form->btnCancel, Qt::LeftButton);
    else
        QTest::keyClick(form->findChild<QWidget *>(how), Qt::Key_Escape);
    QVERIFY(!frmFolder);
    QTRY_VERIFY(!form);
    QCOMPARE(Shape(Catalog->Folders()), QString("A"));
    QCOMPARE(Catalog->GetUndoCount(), 0);
    QVERIFY(!Modified);
}

void TestFolderForm::tabOrder()
{
    TfrmFolder *form = Open(nullptr);
    form->edTitle->setText("N"); // OK takes the focus only while enabled
    QCOMPARE(TabWalk(form, 4), QStringList({"edTitle", "memDescription", "btnOK", "btnCancel"}));
    form->close();
}

QTEST_MAIN(TestFolderForm)
#include "tst_folderform.moc"
