#pragma once
// Starting the program with the user's desktop session: a desktop entry in the
// XDG autostart folder ($XDG_CONFIG_HOME/autostart, by default ~/.config/autostart)
// whose Exec line runs the program's file.

#include <QString>

// The autostart folder, without a trailing "/".
QString AutostartFolder();
// The entry's file in that folder, "varnokel.desktop".
QString AutostartEntryPath();

// The Exec value that runs programPath: the path as one quoted argument, escaped
// as desktop entries require ("\"", "`", "$", "\\" inside the quotes, "%" doubled,
// then the string escapes of the file format).
QString AutostartExecValue(const QString &programPath);

// Writes the entry atomically, making the folder first when it is missing. Raises
// "Failed to create key %s: %s" with the folder and the reason when it cannot be
// made, and "Failed to set data for '%s': %s" with the file and the reason when the
// entry cannot be written.
void WriteAutostartEntry(const QString &programPath);

// Removes the entry; a missing entry or a failure is not reported.
void RemoveAutostartEntry();
