#pragma once
// Small helpers shared by the test suites.

#include "platform/VarnokelError.h"

#include <QString>

// The message of the VarnokelError that f raises; an empty text when it raises none.
template <typename F>
QString ErrorOf(F &&f)
{
    try {
        f();
    } catch (const VarnokelError &e) {
        return e.Message();
    }
    return QString();
}
