#pragma once
// Runs one command of the user interface: a failure that ends it reaches the
// user in the error box and the program goes on. Handlers are wrapped here so
// that no exception travels through the toolkit's own frames.

#include "program/MessageBox.h"
#include "platform/VarnokelError.h"

#include <new>

// Runs command; a failure is shown in the error box and swallowed.
template <typename Command>
void ReportFailure(Command &&command)
{
    try {
        command();
    } catch (const VarnokelError &error) {
        ShowErrorBox(error.Message());
    }
}

template <typename Command>
void Guarded(Command &&command)
{
    try {
        command();
    } catch (const VarnokelError &error) {
        ShowErrorBox(error.Message());
    } catch (const std::bad_alloc &) {
        ShowErrorBox(QStringLiteral("Out of memory"));
    }
}
