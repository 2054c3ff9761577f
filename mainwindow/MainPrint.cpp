// Printing the current folder's bookmarks.
#include "mainwindow/MainForm.h"

void TfrmMain::FilePrintExecute()
{
}
