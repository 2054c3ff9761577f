#pragma once
// A main window over a temporary program folder, driven as a user drives it
// (clicks, keys, menu entries), and what it shows, as text; for the suites of
// the main window and of its dialogs. Also the walk of a dialog's tab order.

#include "CatalogShape.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"
#include "program/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

// A menu's entries as shown: captions with their shortcuts, "[x]" when checked,
// a sub-menu's entries in "{ }", "-" for a separator; hidden entries left out.
inline QString Entries(const QMenu *menu)
{
    QStringList entries;
    for (const QAction *a : menu->actions()) {
        QString text = a->isSeparator() ? QStringLiteral("-") : a->text();
        if (a->menu())
            text += " {" + Entries(a->menu()) + "}";
        if (!a->shortcut().isEmpty())
            text += ' ' + a->shortcut().toString(QKeySequence::PortableText);
        if (a->isChecked())
            text += " [x]";
        if (a->isVisible())
            entries << text;
    }
    return entries.join("; ");
}

struct MainWindowFixture
{
    // A file of the program folder, which is made on first use.
    QString Path(const QString &name)
    {
        if (!Dir) {
            // A window that closes writes the program key: into a test store, not
            // the user's own settings.
            QStandardPaths::setTestModeEnabled(true);
            Dir = std::make_unique<QTemporaryDir>();
            SetProgramFolder(Dir->path());
        }
        return Dir->filePath(name);
    }
    void Write(const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(Path(name)).absolutePath());
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    QByteArray Read(const QString &name)
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A new window over the folder's files, shown and active (QVERIFY it).
    bool Open()
    {
        Path(QString());
        Form.reset();
        Modified = false;
        Form = std::make_unique<TfrmMain>();
        return Activate();
    }
    bool Activate()
    {
        Form->show();
        QApplication::setActiveWindow(Form.get());
        return QTest::qWaitForWindowActive(Form.get());
    }
    void Close()
    {
        Form.reset();
        Dir.reset();
        Modified = false;
        SearchRec = TSearchRec();
    }

    // Every message box answered with Answer, and kept.
    void AnswerBoxes()
    {
        SetMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            Boxes << request;
            return Answer;
        });
    }

    // The folders of a shape (CatalogShape.h) in the tree, one of them highlighted.
    void Show(const QString &shape, const QString &highlighted = QString())
    {
        BuildShape(Catalog->Folders(), shape);
        if (TFolder *folder = FolderNamed(*Catalog, highlighted))
            folder->SetSelected(true);
        Form->RebuildFolderTree();
    }

    QTreeWidgetItem *Node(const QString &title) const
    {
        return Form->trvFolders->findItems(title, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }
    // A click on the folder's node; with no title, on the empty space below the nodes.
    void ClickNode(const QString &title, Qt::MouseButton button = Qt::LeftButton)
    {
        Click(Form->trvFolders->viewport(), button, {}, NodePoint(title));
        ClosePopup();
    }
    QPoint NodePoint(const QString &title) const
    {
        const QWidget *viewport = Form->trvFolders->viewport();
        return title.isEmpty() ? QPoint(5, viewport->height() - 5)
                               : Form->trvFolders->visualItemRect(Node(title)).center();
    }
    // A click on the arrow that opens and closes the folder's node.
    void ClickArrow(const QString &title)
    {
        const QTreeWidget *tree = Form->trvFolders;
        const QRect row = tree->visualItemRect(Node(title));
        const QPoint arrow(row.left() - tree->indentation() / 2, row.center().y());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, arrow);
    }
    // A click on a row of the list; -1: on the empty space below the rows.
    void ClickRow(int row, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        Click(Form->lvBookmarks->viewport(), button, keys, RowPoint(row));
        ClosePopup();
    }
    // A click; the right button also asks for the context menu, as the desktop does.
    static void Click(QWidget *widget, Qt::MouseButton button, Qt::KeyboardModifiers keys,
                      const QPoint &at)
    {
        QTest::mouseClick(widget, button, keys, at);
        if (button == Qt::RightButton) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at), keys);
            QApplication::sendEvent(widget, &event);
        }
    }
    // Clicks on these rows, the first plain, the others with Ctrl; none: a click
    // and Ctrl+Space, which leaves the list focused with no row selected.
    void ClickRows(const QList<int> &rows)
    {
        ClickRow(rows.value(0));
        for (int row : rows.mid(1))
            ClickRow(row, Qt::ControlModifier);
        if (rows.isEmpty())
            QTest::keyClick(Form->lvBookmarks, Qt::Key_Space, Qt::ControlModifier);
    }
    QPoint RowPoint(int row) const
    {
        const QTreeView *list = Form->lvBookmarks;
        return row < 0 ? QPoint(20, list->viewport()->height() - 5)
                       : list->visualRect(list->model()->index(row, 0)).center();
    }
    static void ClosePopup()
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }
    // Keys typed into the widget that has the focus, or into the window.
    void Type(const QKeySequence &keys)
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keySequence(focus ? focus : Form.get(), keys);
    }

    // The tree: titles in pre-order, an open node's sub-tree in "( )", a closed
    // one's in "[ ]", the highlighted node marked "*".
    static QString Nodes(const QTreeWidgetItem *parent)
    {
        QStringList nodes;
        for (int i = 0; i < parent->childCount(); ++i) {
            const QTreeWidgetItem *n = parent->child(i);
            const bool open = n->isExpanded();
            nodes << n->text(0) + (n->isSelected() ? "*" : "")
                         + (n->childCount() ? (open ? "(" : "[") + Nodes(n) + (open ? ")" : "]")
                                            : QString());
        }
        return nodes.join(' ');
    }
    QString Tree() const { return Nodes(Form->trvFolders->invisibleRootItem()); }
    // The list's titles, a selected row marked "*", the one with the focus mark ">".
    QString Rows() const
    {
        const QTreeView *list = Form->lvBookmarks;
        QStringList rows;
        for (int r = 0; r < list->model()->rowCount(); ++r)
            rows << (list->currentIndex().row() == r ? ">" : "")
                        + list->model()->index(r, 0).data().toString()
                        + (list->selectionModel()->rowIntersectsSelection(r, {}) ? "*" : "");
        return rows.join(' ');
    }
    // The status bar's panels 0 to 3 and the description pane.
    QString Status() const
    {
        QStringList texts;
        for (int i = 0; i < 4; ++i)
            texts << Form->StatusPanel[i]->text();
        return texts.join('|') + '|' + Form->memDescription->toPlainText();
    }
    // The disabled actions, in the order of the action list.
    QString Disabled() const
    {
        QStringList names;
        for (const QAction *action : Form->Actions())
            if (!action->isEnabled() && action->isVisible())
                names << action->objectName();
        return names.join(' ');
    }

    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TfrmMain> Form;
    QList<MessageBoxRequest> Boxes;
    QMessageBox::StandardButton Answer = QMessageBox::Ok;
};

// The names of the widgets that have the focus, from the one a freshly shown
// window gives it, pressing Tab after each.
inline QStringList TabWalk(QWidget *window, int count)
{
    QApplication::setActiveWindow(window);
    QStringList names;
    if (!QTest::qWaitForWindowActive(window))
        return names;
    for (int i = 0; i < count && QApplication::focusWidget(); ++i) {
        names << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return names;
}
