#include "program/PrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

PrintDialogAnswerer &Answerer()
{
    static PrintDialogAnswerer answerer;
    return answerer;
}

} // namespace

bool ExecPrintDialog(QPrinter &printer, QWidget *owner)
{
    if (Answerer())
        return Answerer()(printer);
    QPrintDialog dialog(&printer, owner);
    // Only the printer is chosen: the lines go out whole, without page ranges.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

void SetPrintDialogAnswerer(PrintDialogAnswerer answerer)
{
    Answerer() = std::move(answerer);
}
