// Find and Find Next, and the display of a match in the tree, the list and the pane.
#include "catalogue/Catalog.h"
#include "dialogs/FindForm.h"
#include "mainwindow/BookmarkListModel.h"
#include "program/Globals.h"
#include "mainwindow/MainForm.h"
#include "settings/Language.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

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

// A folder's sibling indexes from the top level down. Paths compare as the tree
// shows its nodes: {1} < {1, 0} < {1, 4, 2} < {2}.
std::vector<int> IndexPath(const TFolder *folder)
{
    std::vector<int> path;
    for (const TFolder *f = folder; f; f = f->Parent())
        path.push_back(f->GetIndex());
    std::reverse(path.begin(), path.end());
    return path;
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

// Selects the match's folder when its node comes after the selected node. The
// selection change runs at once and starts the search anew at that folder's
// title, so the match itself shows at the next step. Only the two folders'
// paths are compared: no walk over the tree's nodes.
void TfrmMain::SelectMatchNode()
{
    const TFolder *selected = SelectedNodeFolder();
    if (SearchRec.Folder == selected)
        return;
    QTreeWidgetItem *node = NodeOfFolder(SearchRec.Folder);
    if (node && (!selected || IndexPath(SearchRec.Folder) > IndexPath(selected)))
        trvFolders->setCurrentItem(node);
}

// Makes the match's bookmark the only selected row when it lies below the
// current row of the list showing its folder; rows above are not looked at.
void TfrmMain::SelectMatchRow()
{
    if (!SearchRec.Bookmark || FListModel->Bookmarks() != &SearchRec.Folder->Bookmarks())
        return;
    const int row = SearchRec.Folder->Bookmarks().IndexOf(SearchRec.Bookmark);
    if (row > ItemIndex() && row < FListModel->rowCount()) {
        lvBookmarks->clearSelection();
        SelectRows({row});
    }
}
