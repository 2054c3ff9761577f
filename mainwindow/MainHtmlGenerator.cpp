// The HTML page generator's command.
#include "mainwindow/MainForm.h"
#include "dialogs/HTMLGeneratorForm.h"
#include "program/Globals.h"

void TfrmMain::FileHtmlGeneratorExecute()
{
    if (!frmHTMLGenerator)
        frmHTMLGenerator = new TfrmHTMLGenerator(this);
    frmHTMLGenerator->exec();
    UpdateActionStates();
}
