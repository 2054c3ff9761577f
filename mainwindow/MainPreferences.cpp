// The preferences dialog's command.
#include "dialogs/PreferencesForm.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"

void TfrmMain::ToolsPreferencesExecute()
{
    if (frmPreferences)
        return;
    frmPreferences = new TfrmPreferences(this);
    frmPreferences->exec(); // the dialog frees itself on closing
    activateWindow();
}
