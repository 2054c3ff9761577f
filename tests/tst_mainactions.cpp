// The main window's actions as a user meets them: the menus, the tool bar and
// the pop-up menus with their captions and shortcuts, and which commands are
// enabled as the user works.
#include "MainWindowFixture.h"

#include <QClipboard>
#include <QMenuBar>
#include <QSettings>
#include <QToolBar>
#include <QtTest>

class TestMainActions : public QObject
{
    Q_OBJECT
    MainWindowFixture m;

    // The entries of the pop-up menu that a right click at the point opens.
    QString PopupAt(QWidget *viewport, const QPoint &point)
    {
        MainWindowFixture::Click(viewport, Qt::RightButton, {}, point);
        const auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        const QString entries = popup ? Entries(popup) : QString("no pop-up");
        MainWindowFixture::ClosePopup();
        return entries;
    }

private slots:
    void init() { QVERIFY(m.Open()); }
    void cleanup() { m.Close(); }

    void menuBarAndToolbar()
    {
        QStringList menus;
        for (const QAction *menu : m.Form->menuBar()->actions())
            menus << menu->text() + " {" + Entries(menu->menu()) + "}";
        QCOMPARE(menus, QStringList({
            "&File {&Save Ctrl+S; -; I&mport {&Varnokel 1.x...; &Internet Explorer...; "
            "&Firefox...; &Opera...}; E&xport {&Internet Explorer...; &Firefox...; &Opera...}; "
            "-; &HTML Generator...; -; &Print... Ctrl+P; -; &Exit}",
            "&Edit {&Undo Ctrl+Z; &Redo Ctrl+Y; -; Add F&older... Ctrl+Ins; Add &Bookmark... Ins; "
            "&Edit Item... F2; -; Cu&t Ctrl+X; &Copy Ctrl+C; &Paste Ctrl+V; Se&lect All Ctrl+A; "
            "-; &Delete Del; -; &Find... Ctrl+F; F&ind Next F3}",
            "&View {T&oolbar [x]; &Status Bar [x]; -; Sort by &Title; Sort by &Address; "
            "Sort by Last &Visit; Sort by Add &Date; &Unsorted [x]; -; &Reversed Order}",
            "&Tools {&Go; -; S&tatistics...; -; &Preferences...}",
            "&Help {&Help F1; -; H&ome Page; FA&Q; &Feedback; -; &About...}"}));
        // Images only, each with the caption less its "&" as its tip.
        QStringList tips;
        for (const QAction *a : m.Form->MainToolbar->actions())
            tips << (a->isSeparator() ? "-" : a->toolTip() + (a->icon().isNull() ? "?" : ""));
        QCOMPARE(tips.join("; "), QString("Save; -; Add Folder...; Add Bookmark...; Edit Item...; "
                                          "Delete; -; Undo; Redo; -; Go; -; Statistics...; "
                                          "Preferences...; -; Help"));
    }

    // A right click on the tool bar, on one of its buttons or on the menu bar offers
    // no menu of the toolkit's: its toggle hid the bar while View > Toolbar stayed
    // checked, and ShowToolbar=1 was stored. Should a menu open, the user takes
    // every entry; the bar, the View entry and the setting must still agree.
    void toolbarShowsAsTheViewMenuSays()
    {
        QToolBar *bar = m.Form->MainToolbar;
        QWidget *saveButton = bar->widgetForAction(m.Form->Action(ActionId::FileSave));
        QStringList offered;
        for (QWidget *place : {static_cast<QWidget *>(bar), saveButton,
                               static_cast<QWidget *>(m.Form->menuBar())}) {
            QTimer::singleShot(0, this, [&offered] { // a menu would wait for the user
                auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                if (!popup)
                    return;
                offered << Entries(popup);
                for (QAction *entry : popup->actions())
                    entry->trigger();
                popup->close();
            });
            MainWindowFixture::Click(place, Qt::RightButton, {},
                                     QPoint(place->width() - 4, place->height() / 2));
            QApplication::processEvents(); // the timer's turn when no menu waits
            QCOMPARE(m.Form->Action(ActionId::ViewToolbar)->isChecked(), bar->isVisible());
        }
        QCOMPARE(offered, QStringList());
        const bool shown = bar->isVisible();
        m.Form->Action(ActionId::FileExit)->trigger();
        const QSettings ini(m.Path("preferences.ini"), QSettings::IniFormat);
        QCOMPARE(ini.value("MainForm/ShowToolbar").toBool(), shown);
    }

    // Each format has its image, the same for its import and its export.
    void exchangeActionsShowTheirImages()
    {
        using A = ActionId;
        const auto image = [this](A id) {
            return m.Form->Action(id)->icon().pixmap(16, 16).toImage();
        };
        const A formats[4][2] = {{A::ImportVarnokel1x, A::ImportVarnokel1x},
                                 {A::ImportIE, A::ExportIE},
                                 {A::ImportFirefox, A::ExportFirefox},
                                 {A::ImportOpera, A::ExportOpera}};
        for (int f = 0; f < 4; ++f) {
            const QString name = m.Form->Action(formats[f][1])->objectName();
            QVERIFY2(!image(formats[f][0]).isNull(), qPrintable(name));
            QVERIFY2(image(formats[f][0]) == image(formats[f][1]), qPrintable(name));
            for (int g = 0; g < f; ++g)
                QVERIFY2(image(formats[f][0]) != image(formats[g][0]), qPrintable(name));
        }
    }

    void popupMenus()
    {
        m.Show("A:2 B", "A");
        QCOMPARE(PopupAt(m.Form->trvFolders->viewport(),
                         m.Form->trvFolders->visualItemRect(m.Node("B")).center()),
                 QString("Add F&older... Ctrl+Ins; Add &Bookmark... Ins; &Edit Item... F2; -; "
                         "Cu&t Ctrl+X; &Copy Ctrl+C; &Paste Ctrl+V; -; &Delete Del"));
        m.ClickNode("A");
        QCOMPARE(PopupAt(m.Form->lvBookmarks->viewport(), m.RowPoint(1)),
                 QString("&Go; -; Add &Bookmark... Ins; Add F&older... Ctrl+Ins; &Edit Item... F2; "
                         "-; Cu&t Ctrl+X; &Copy Ctrl+C; &Paste Ctrl+V; Se&lect All Ctrl+A; -; "
                         "&Delete Del"));
        QCOMPARE(Entries(m.Form->TrayIcon->contextMenu()),
                 QString("Show Main Window; &Preferences...; -; &About...; -; &Exit"));
    }

    // Undo and Redo follow the undo position; Paste the clipboard's content; Find
    // Next the search text; most commands a current folder.
    void statesFollowTheUser()
    {
        const QString noFolder = "FileSave FileHtmlGenerator FilePrint EditUndo EditRedo "
                                 "EditAddBookmark EditEditItem EditCut EditCopy %1EditSelectAll "
                                 "EditDelete EditFind EditFindNext ToolsGo";
        m.Show("A:2(A1) B");
        QCOMPARE(m.Disabled(), noFolder.arg("EditPaste "));
        m.ClickNode("A");
        QCOMPARE(m.Disabled(), QString("FileSave EditUndo EditRedo EditPaste EditFindNext"));
        m.Type(QKeySequence::Copy); // the folder
        m.ClickNode(QString());
        QCOMPARE(m.Disabled(), noFolder.arg(QString())); // a folder can be pasted anywhere
        m.ClickNode("A");
        m.Type(QKeySequence::Paste);
        QCOMPARE(m.Tree() + " / " + m.Disabled(), QString("A[A1] B A*[A1] / EditRedo EditFindNext"));
        m.Type(QKeySequence::Undo);
        QCOMPARE(m.Disabled(), QString("EditUndo EditFindNext"));
        m.Type(QKeySequence::Redo);
        QCOMPARE(m.Disabled(), QString("EditRedo EditFindNext"));
        m.Type(QKeySequence::Undo);
        m.Type(QKeySequence::Save);
        QCOMPARE(m.Disabled(), QString("FileSave EditUndo EditRedo EditFindNext"));
        SearchRec.Text = "x"; // as the find dialog leaves it
        m.ClickNode("B");
        QCOMPARE(m.Disabled(), QString("FileSave EditUndo EditRedo"));
        m.ClickNode("A");
        m.ClickRow(0);
        m.Type(QKeySequence::Copy); // bookmarks: pasted only into a folder
        m.ClickNode(QString());
        QCOMPARE(m.Disabled(), noFolder.arg("EditPaste "));
    }

    // While the read-only pane has the focus, the edit commands are the pane's:
    // only Copy applies, to its selected text, onto the desktop's clipboard.
    void descriptionPaneRulesTheEditActions()
    {
        m.Show("A:1 B", "A");
        FolderNamed(*Catalog, "B")->SetDescription("Links to read");
        m.ClickNode("A");
        m.Type(QKeySequence::Copy);
        m.Type(QKeySequence::Paste);
        m.ClickNode("B");
        QPlainTextEdit *pane = m.Form->memDescription;
        QTest::mouseClick(pane->viewport(), Qt::LeftButton);
        QTest::keyClicks(pane, "x");
        QCOMPARE(pane->toPlainText() + " / " + m.Disabled(),
                 QString("Description: Links to read / "
                         "EditUndo EditRedo EditCut EditCopy EditPaste EditDelete EditFindNext"));
        QCOMPARE(pane->grab().toImage().pixelColor(pane->width() - 5, pane->height() - 5),
                 pane->palette().color(QPalette::Button)); // on the button face
        QGuiApplication::clipboard()->clear();
        pane->selectAll();
        m.Type(QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("Description: Links to read"));
        QCOMPARE(m.Disabled(), QString("EditUndo EditRedo EditCut EditPaste EditDelete EditFindNext"));
        m.ClickNode("B");
        QCOMPARE(m.Disabled(), QString("EditRedo EditFindNext"));
    }

    void editMenuStatesHoweverItOpens_data()
    {
        QTest::addColumn<QString>("focus"); // the widget clicked before the menu opens
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QString>("disabled");
        const QString pane = "&Undo; &Redo; Cu&t; &Copy; &Paste; &Delete";
        QTest::newRow("pane, mouse") << "pane" << "mouse" << pane;
        QTest::newRow("pane, Alt+E") << "pane" << "Alt+E" << pane;
        QTest::newRow("pane, Alt, then E") << "pane" << "Alt E" << pane;
        QTest::newRow("tree, mouse") << "tree" << "mouse" << "&Redo";
        QTest::newRow("tree, Alt+E") << "tree" << "Alt+E" << "&Redo";
    }
    // With the description pane focused, Alt+E once opened the Edit menu with the
    // list's states: Undo, Cut, Copy, Paste and Delete enabled.
    void editMenuStatesHoweverItOpens()
    {
        QFETCH(QString, focus);
        QFETCH(QString, opening);
        m.Show("A:1 B", "A");
        m.ClickNode("A");
        m.Type(QKeySequence::Copy);
        m.Type(QKeySequence::Paste);
        if (focus == "pane")
            QTest::mouseClick(m.Form->memDescription->viewport(), Qt::LeftButton);
        else
            m.ClickNode("A");
        SearchRec.Text = "x"; // as the find dialog leaves it: shown when a menu opens
        QMenuBar *bar = m.Form->menuBar();
        QMenu *edit = bar->actions()[1]->menu();
        if (opening == "mouse") {
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              bar->actionGeometry(bar->actions()[1]).center());
        } else if (opening == "Alt+E") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_E);
        }
        QTRY_VERIFY(edit->isVisible());
        QStringList disabled;
        for (const QAction *a : edit->actions())
            if (!a->isSeparator() && !a->isEnabled())
                disabled << a->text();
        edit->close();
        QTEST(disabled.join("; "), "disabled");
    }

    // The entries of a menu opened by Alt+E act on the pane the states were for.
    void copyFromTheMenuOpenedByKeys()
    {
        m.Show("A:1 B", "A");
        FolderNamed(*Catalog, "B")->SetDescription("Links to read");
        m.ClickNode("B");
        QPlainTextEdit *pane = m.Form->memDescription;
        QTest::mouseClick(pane->viewport(), Qt::LeftButton);
        pane->selectAll();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(pane, Qt::Key_E, Qt::AltModifier);
        QMenu *edit = m.Form->menuBar()->actions()[1]->menu();
        QTRY_VERIFY(edit->isVisible());
        QVERIFY(m.Form->Action(ActionId::EditCopy)->isEnabled());
        QTest::keyClick(edit, Qt::Key_C);
        QTRY_VERIFY(!edit->isVisible());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("Description: Links to read"));
        QVERIFY(!m.Form->Action(ActionId::EditPaste)->isEnabled()); // no folder was copied
    }
};

QTEST_MAIN(TestMainActions)
#include "tst_mainactions.moc"
