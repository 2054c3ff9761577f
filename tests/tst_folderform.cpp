// The folder dialog: where a new folder goes and what is selected then, when
// Enter (with any modifiers) confirms, what is stored, and cancelling.
#include "FormCheck.h"
#include "CatalogShape.h"
#include "MainWindowFixture.h"
#include "dialogs/FolderForm.h"

#include <QtTest>
#include <QtWidgets>

class TestFolderForm : public QObject
{
    Q_OBJECT

    MainWindowFixture m_window;

    TfrmFolder *Open(TFolder *folder)
    {
        frmFolder = new TfrmFolder(m_window.Form.get(), folder);
        frmFolder->show();
        return frmFolder;
    }

private slots:
    void init() { QVERIFY(m_window.Open()); }
    void cleanup()
    {
        m_window.Close(); // takes a dialog still open with it
        QVERIFY(!frmFolder);
    }

    void addPlacesNewFolderBesideCurrent_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("after");
        QTest::newRow("empty catalogue") << "" << "" << "N";
        QTest::newRow("no current folder: the top level") << "A(A1) B" << "" << "A(A1) B N";
        QTest::newRow("a root folder current") << "A(A1) B" << "A" << "A(A1) B N";
        QTest::newRow("a sub-folder current: beside it") << "A(A1 A2) B" << "A1" << "A(A1 A2 N) B";
    }
    void addPlacesNewFolderBesideCurrent()
    {
        QFETCH(QString, shape);
        QFETCH(QString, current);
        BuildShape(Catalog->Folders(), shape);
        if (TFolder *folder = FolderNamed(*Catalog, current))
            folder->SetSelected(true);
        m_window.Form->RebuildFolderTree();
        QPointer<TfrmFolder> form = Open(nullptr);
        QTest::keyClicks(form->edTitle, "N");
        QTest::mouseClick(form->btnOK, Qt::LeftButton);
        QVERIFY(!frmFolder);
        QTRY_VERIFY(!form);
        QTEST(Shape(Catalog->Folders()), "after");
        QCOMPARE(CurrentFolder, FolderNamed(*Catalog, "N"));
        QCOMPARE(m_window.Form->SelectedNodeFolder(), CurrentFolder);
        QCOMPARE(m_window.Form->focusWidget(), m_window.Form->trvFolders);
        QCOMPARE(Catalog->GetUndoCount(), 1);
        QVERIFY(Modified);
    }

    // The title typed in add mode, or loaded in edit mode, enables OK unless blank.
    void keys_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("stored"); // none: the dialog stores nothing
        QTest::newRow("empty") << "" << "edTitle" << "Return" << false << "";
        QTest::newRow("blanks, tabs, line breaks; Enter in the description")
            << "\t\r\n \x01" << "memDescription" << "Return" << false << "";
        QTest::newRow("a word between blanks; Ctrl+Shift+Enter")
            << "  x  " << "edTitle" << "Ctrl+Shift+Return" << true << "x";
        QTest::newRow("a no-break space is no blank; keypad Enter")
            << "\u00a0" << "edTitle" << "Enter" << true << "\u00a0";
        QTest::newRow("Ctrl+Enter in the description")
            << "y" << "memDescription" << "Ctrl+Return" << true << "y";
        QTest::newRow("Esc in the description") << "y" << "memDescription" << "Esc" << true << "";
        QTest::newRow("Cancel") << "y" << "btnCancel" << "Space" << true << "";
    }
    void keys()
    {
        QFETCH(QString, title);
        QFETCH(QString, editor);
        QFETCH(QString, keys);
        QFETCH(bool, enabled);
        QFETCH(QString, stored);
        QCOMPARE(Open(AddFolder(Catalog->Folders(), title))->btnOK->isEnabled(), enabled);
        frmFolder->close();
        QPointer<TfrmFolder> form = Open(nullptr);
        form->edTitle->setText(title);
        form->memDescription->setPlainText("notes");
        const QKeyCombination key = QKeySequence(keys)[0];
        QTest::keyClick(form->findChild<QWidget *>(editor), key.key(), key.keyboardModifiers());
        if (!enabled) {
            QVERIFY(form->isVisible());
            QCOMPARE(form->memDescription->toPlainText(), QString("notes")); // no line added
        }
        QTRY_COMPARE(form.isNull(), enabled);
        QStringList titles{title};
        if (!stored.isEmpty())
            titles << stored;
        QCOMPARE(Titles(Catalog->Folders()), titles);
        QCOMPARE(Catalog->GetUndoCount(), int(!stored.isEmpty()));
        QCOMPARE(Modified, !stored.isEmpty());
        if (!stored.isEmpty())
            QCOMPARE(Catalog->Folders().At(1)->Description(), QString("notes"));
    }

    // Its designed size in any font, fixed: it opened at the size its memo asked
    // for (297 x 299) and could be resized.
    void opensAtDesignedSize_data() { AddFontRows(); }
    void opensAtDesignedSize()
    {
        QFETCH(int, pixelSize);
        const AppFontScope font(pixelSize);
        TfrmFolder *form = Open(nullptr);
        CheckDesignedSize(form, {297, 174});
        CheckForm(form, "Add/Edit Folder", {"lblTitle", "edTitle", "lblDescription",
                  "memDescription", "Bevel1", "btnOK", "btnCancel"}, {297, 174});
    }

    // Only the texts change; the editor's order is the tab order.
    void editStoresTrimmedTitle()
    {
        BuildShape(Catalog->Folders(), "A(A1) B");
        TFolder *a = FolderNamed(*Catalog, "A");
        a->SetExpanded(true);
        a->SetDescription("old");
        TfrmFolder *form = Open(a);
        CheckForm(form, "Add/Edit Folder", {"lblTitle", "edTitle", "lblDescription",
                  "memDescription", "Bevel1", "btnOK", "btnCancel"}, {297, 174});
        QCOMPARE(TabWalk(form, 4),
                 QStringList({"edTitle", "memDescription", "btnOK", "btnCancel"}));
        form->edTitle->setText("  Work\t");
        form->btnOK->click();
        QVERIFY(a->Description() == "old" && a->Expanded());
        QCOMPARE(Shape(Catalog->Folders()), QString("Work(A1) B"));
        Open(a); // left open: closing the main window frees it
    }

    // A pasted control character or U+FFFF once reached the catalogue file, which
    // then did not load.
    void storesOnlyWhatTheFileHolds()
    {
        BuildShape(Catalog->Folders(), "A");
        TFolder *a = FolderNamed(*Catalog, "A");
        TfrmFolder *form = Open(a);
        form->edTitle->setText(QStringLiteral("\uFFFF Work") + QChar(2));
        form->memDescription->setPlainText(QStringLiteral("a\uFFFEb") + QChar(0xD800));
        form->btnOK->click();
        QCOMPARE(a->Title(), QStringLiteral("Work"));
        QCOMPARE(a->Description(), QStringLiteral("ab"));
    }
};

QTEST_MAIN(TestFolderForm)
#include "tst_folderform.moc"
