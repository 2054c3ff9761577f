// Find and Find Next, and the display of a match in the tree, the list and the pane.
#include "catalogue/Catalog.h"
#include "dialogs/FindForm.h"
#include "mainwindow/BookmarkListModel.h"
#include "program/Globals.h"
#include "mainwindow/MainForm.h"
#include "settings/Language.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>

namespace {

// "Title:", "Description:" or "Address:" in the language in effect.
QString FieldLabel(TSearchField field)
{
    const auto text = [](const char *key, const char *defaultText) {
        return GetLanguageText(LanguageFile(), QStringLiteral("Misc"), QString::fromLatin1(key),
                               QString::fromLatin1(defaultText));
    };
    switch (field) {
    case sfDescription:
        return text("Description", "Description:");
    case sfAddress:
        return text("Address", "Address:");
    default:
        return text("Title", "Title:");
    }
}

} // namespace

void TfrmMain::EditFindExecute()
{
    if (!frmFind)
        frmFind = new TfrmFind(this);
    frmFind->exec();
}

void TfrmMain::EditFindNextExecute()
{
    ShowNextMatch();
}

void TfrmMain::ShowNextMatch()
{
    // Edits since the last step may have taken the cursor's folder or bookmark away.
    ValidateSearchRec(SearchRec, *Catalog);
    if (!FindNext(SearchRec)) {
        UpdateActionStates();
        return;
    }
    SelectMatchNode();
    SelectMatchRow();
    const QString prefix = FieldLabel(SearchRec.Field) + QLatin1Char(' ');
    memDescription->setPlainText(prefix + SearchFieldText(SearchRec));
    const int last = memDescription->document()->characterCount() - 1;
    const int start = std::min(int(prefix.size()) + SearchRec.FoundPos - 1, last);
    QTextCursor cursor = memDescription->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(std::min(start + SearchRec.NextPos - SearchRec.FoundPos, last),
                       QTextCursor::KeepAnchor);
    memDescription->setTextCursor(cursor);
    memDescription->setFocus(); // so that the selection shows
    UpdateActionStates();
}

// Selects the match's folder wherever its node lies, so that what the list
// shows and what the commands act on is the match's folder. The selection
// change runs at once and starts the search anew at that folder's title, so
// the match itself shows at the next step.
void TfrmMain::SelectMatchNode()
{
    if (SearchRec.Folder == SelectedNodeFolder())
        return;
    if (QTreeWidgetItem *node = NodeOfFolder(SearchRec.Folder))
        trvFolders->setCurrentItem(node);
}

// Makes the match's bookmark the one selected row, with the focus mark,
// wherever it lies in the list. The row is looked for from the current row
// outward: the next match mostly lies close to the last one.
void TfrmMain::SelectMatchRow()
{
    // A folder too deep for the tree has no node, and the list shows another one.
    if (!SearchRec.Bookmark || FListModel->Bookmarks() != &SearchRec.Folder->Bookmarks())
        return;
    const int row = FListModel->RowOf(SearchRec.Bookmark, ItemIndex());
    if (row < 0)
        return;
    SelectRows({row});
    lvBookmarks->scrollTo(FListModel->index(row, 0));
}
