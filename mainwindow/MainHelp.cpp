// The Help menu's pages, the statistics and the about box.
#include "mainwindow/MainForm.h"

void TfrmMain::HelpHelpExecute()
{
}

void TfrmMain::HelpHomePageExecute()
{
}

void TfrmMain::HelpCheckForUpdatesExecute()
{
}

void TfrmMain::HelpFAQExecute()
{
}

void TfrmMain::HelpFeedbackExecute()
{
}

void TfrmMain::HelpAboutExecute()
{
}

void TfrmMain::ToolsStatisticsExecute()
{
}
