#pragma once
// The print dialog in one place: the user chooses the printer (or a PDF file)
// that a QPrinter prints to. Tests install an answerer instead of the modal dialog.

#include <functional>

class QPrinter;
class QWidget;

// Shows the modal print dialog for `printer`; false when the user cancels it.
bool ExecPrintDialog(QPrinter &printer, QWidget *owner);

// Replaces the dialog (tests): the answerer sets up the printer and returns
// whether to print. An empty answerer restores the dialog.
using PrintDialogAnswerer = std::function<bool(QPrinter &)>;
void SetPrintDialogAnswerer(PrintDialogAnswerer answerer);
