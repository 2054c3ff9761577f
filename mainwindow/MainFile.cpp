// The File menu's own commands: save, the HTML page, print, exit. Its imports
// and exports are in MainExchange.cpp.
#include "catalogue/Folder.h"
#include "dialogs/HTMLGeneratorForm.h"
#include "mainwindow/MainForm.h"
#include "program/Globals.h"
#include "program/LinePrinter.h"
#include "program/PrintDialog.h"

#include <QPrinter>

void TfrmMain::FileSaveExecute()
{
    SaveCatalog();
    Modified = false;
    UpdateActionStates();
}

void TfrmMain::FileHtmlGeneratorExecute()
{
    if (!frmHTMLGenerator)
        frmHTMLGenerator = new TfrmHTMLGenerator(this);
    frmHTMLGenerator->exec();
    UpdateActionStates();
}

void TfrmMain::FilePrintExecute()
{
    if (!CurrentFolder || CurrentFolder->Bookmarks().Count() == 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!ExecPrintDialog(printer, this))
        return;
    TLinePrinter lines(printer);
    lines.SetFont(lvBookmarks->font());
    lines.WriteLine(QString());
    const TBookmarks &list = CurrentFolder->Bookmarks();
    for (int i = 0; i < list.Count(); ++i) {
        const TBookmark *bookmark = list.At(i);
        lines.SetFontSize(9);
        lines.WriteLine(QString(9, u' ') + bookmark->Title());
        lines.SetFontSize(7);
        lines.WriteLine(QString(15, u' ') + bookmark->Address());
        lines.WriteLine(QString());
    }
    lines.Close();
}

void TfrmMain::FileExitExecute()
{
    close();
}
