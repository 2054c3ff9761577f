// The preferences dialog's command.
#include "mainwindow/MainForm.h"

void TfrmMain::ToolsPreferencesExecute()
{
}
