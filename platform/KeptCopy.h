#pragma once
// Copies of the user's files that the program keeps rather than lose what they
// hold: a catalogue file that failed to load is kept byte for byte under a name of
// its own before a save can replace it.

#include <QString>

// Copies fileName, byte for byte and flushed to the disk, to "<fileName><suffix>"
// beside it, or to "<fileName><suffix>.2", ".3" ... when that name is taken: an
// earlier copy is never overwritten, nor written through a symbolic link of that
// name. When the file's folder refuses new files, the copy goes to the same names in
// the state folder (made private to the user, mode 0700, when missing). Returns the copy's path.
// Raises "Unable to keep a copy of %1 as %2: %3" with the reason (without " as %2"
// when the file cannot be read; a FIFO or device is no file to copy).
QString KeepCopy(const QString &fileName, const QString &suffix);
