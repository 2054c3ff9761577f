// The HTML page generator's command.
#include "mainwindow/MainForm.h"

void TfrmMain::FileHtmlGeneratorExecute()
{
}
