#pragma once
// Writes a whole file so that it is either replaced completely or left as it was:
// temporary file, flush, rename, then an fsync of the folder so the rename survives
// a power loss. Only when the folder refuses a temporary file and the file itself
// is writable is the file written in place and flushed. A failure raises
// VarnokelError naming the file and the reason.

#include <QByteArray>
#include <QString>

void WriteFileAtomically(const QString &fileName, const QByteArray &contents);

// Where an in-place save keeps its complete copy of the old file until the new one
// is on disk: "<state folder>/<file name>.before-save". A copy that exists at start
// is what a killed in-place save left.
QString InPlaceCopyPath(const QString &fileName);

// Removes the temporary files "<name>.XXXXXX" that a killed save left beside the file.
void RemoveSaveLeftovers(const QString &fileName);

// Raises "Unable to write to %s: %s" with the file's native path and the reason.
[[noreturn]] void RaiseWriteError(const QString &fileName, const QString &reason);
