// The File menu's imports and exports.
#include "mainwindow/MainForm.h"

void TfrmMain::ImportVarnokel1xExecute()
{
}

void TfrmMain::ImportIEExecute()
{
}

void TfrmMain::ImportFirefoxExecute()
{
}

void TfrmMain::ImportOperaExecute()
{
}

void TfrmMain::ExportIEExecute()
{
}

void TfrmMain::ExportFirefoxExecute()
{
}

void TfrmMain::ExportOperaExecute()
{
}
