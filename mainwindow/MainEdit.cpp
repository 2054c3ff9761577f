// The Edit commands: add, edit, cut, copy, paste, delete, select all, undo, redo.
#include "mainwindow/MainForm.h"

void TfrmMain::EditUndoExecute()
{
}

void TfrmMain::EditRedoExecute()
{
}

void TfrmMain::EditAddFolderExecute()
{
}

void TfrmMain::EditAddBookmarkExecute()
{
}

void TfrmMain::EditEditItemExecute()
{
}

void TfrmMain::EditCutExecute()
{
}

void TfrmMain::EditCopyExecute()
{
}

void TfrmMain::EditPasteExecute()
{
}

void TfrmMain::EditSelectAllExecute()
{
}

void TfrmMain::EditDeleteExecute()
{
}
