// The View menu's commands: the list's sort order and direction, the tool bar and
// the status bar; and the column captions and status panels they show.
#include "mainwindow/BookmarkListModel.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/StatusPanelRow.h"
#include "program/Globals.h"
#include "settings/Preferences.h"

#include <QAction>
#include <QLayout>
#include <QStatusBar>
#include <QToolBar>

void TfrmMain::SortCommand(TSortType sortType)
{
    Prefs->Rec().SortType = quint8(sortType);
    FillBookmarkList();
    ShowColumnCaptions();
}

void TfrmMain::ShowColumnCaptions()
{
    const int sortedColumn = Prefs->Rec().SortType - stTitle; // -1: unsorted
    const QString mark = Prefs->Rec().ReversedSort ? QStringLiteral(" -") : QStringLiteral(" +");
    for (int c = 0; c < 4; ++c)
        m_listModel->SetColumnCaption(c, ColumnBaseCaption[c] + (c == sortedColumn ? mark : ""));
}

void TfrmMain::ViewReversedOrderExecute()
{
    // The action has already flipped its own check mark.
    Prefs->Rec().ReversedSort = Action(ActionId::ViewReversedOrder)->isChecked();
    FillBookmarkList();
    ShowColumnCaptions();
}

void TfrmMain::ViewToolbarExecute()
{
    MainToolbar->setVisible(Action(ActionId::ViewToolbar)->isChecked());
}

void TfrmMain::ViewStatusBarExecute()
{
    MainStatusBar->setVisible(Action(ActionId::ViewStatusBar)->isChecked());
}

void TfrmMain::LayOutStatusPanels()
{
    m_statusPanelRow->LayOut();
    // The window's least width is the bar's, where every panel is whole; the
    // bar's layout forgets the row's old least width only when it is activated.
    MainStatusBar->layout()->invalidate();
    MainStatusBar->layout()->activate();
    MainStatusBar->setMinimumWidth(MainStatusBar->minimumSizeHint().width());
}
