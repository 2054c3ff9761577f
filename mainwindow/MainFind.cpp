// Find and Find Next, and the display of a match in the tree, the list and the pane.
#include "mainwindow/MainForm.h"

void TfrmMain::EditFindExecute()
{
}

void TfrmMain::EditFindNextExecute()
{
}

void TfrmMain::ShowNextMatch()
{
}
