#pragma once
// Writes a whole file so that it is either replaced completely or left as it was:
// temporary file, flush, rename, then an fsync of the folder so the rename survives
// a power loss. A failure raises VarnokelError naming the file and the reason.

#include <QByteArray>
#include <QString>

void WriteFileAtomically(const QString &fileName, const QByteArray &contents);

// Raises "Unable to write to %s: %s" with the file's native path and the reason.
[[noreturn]] void RaiseWriteError(const QString &fileName, const QString &reason);
