#pragma once
// The program's own key ("Software\Quorvane\Varnokel PRO" on the original
// platform): the user's native settings store, organisation "Quorvane",
// application "Varnokel PRO". Written at close, never read by the program.

#include <QString>

// Writes the string value; a failure raises "Failed to set data for '%s'".
void WriteProgramKeyValue(const QString &name, const QString &value);
