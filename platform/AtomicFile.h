#pragma once
// Writes a whole file so that it is either replaced completely or left as it was:
// a temporary file ".<name>.vk-save-XXXXXX" beside it, written, flushed, renamed over
// it, then an fsync of the folder so the rename survives a power loss. A symbolic
// link stays; its target is replaced, but only when it is a regular file or not
// there yet: anything else fails with "Not a regular file". Only when the folder
// refuses a temporary file or its rename (a sticky folder, another user's file) and
// the file itself is writable is the file written in place, and then only after a
// record of the new contents and a complete, flushed copy of the old file are kept
// at InPlaceCopyPath() (InPlaceSave.h); both go when the new file is on disk. What
// an earlier in-place save of the file left is repaired first. A failure raises
// VarnokelError naming the file and the reason.

#include <QByteArray>
#include <QString>

#include <functional>

void WriteFileAtomically(const QString &fileName, const QByteArray &contents);

// The same save, a failure returned as its reason (empty when the file is written).
QString TryWriteFileAtomically(const QString &fileName, const QByteArray &contents);

// Where an in-place save keeps its complete copy of the old file until the new one
// is on disk: "<state folder>/<file name>.before-save". A copy that exists at start
// is what a killed in-place save left (RepairInterruptedSave); one that is not the
// file's, the next in-place save moves aside to the first free "<copy>.1",
// "<copy>.2" ... rather than overwrite it.
QString InPlaceCopyPath(const QString &fileName);

// Removes what killed saves of the file left: their temporary files beside it (beside
// a link's target) and beside its in-place copy, and the ".vk-probe-XXXXXX" files of
// earlier versions. Nothing else: "bookmarks.xml.backup" is the user's. Every save
// first removes the temporary files beside its own file.
void RemoveSaveLeftovers(const QString &fileName);

// Raises "Unable to write to %s: %s" with the file's native path and the reason.
[[noreturn]] void RaiseWriteError(const QString &fileName, const QString &reason);

// Makes the folder and each missing folder above it with the given mode; returns 0,
// or the errno of the failure.
int MakeFolders(const QString &folder, unsigned mode);

// Past the file-size limit (ulimit -f) a write then fails with "File too large"
// instead of the signal SIGXFSZ ending the program with its changes unsaved.
void IgnoreFileSizeSignal();

// Tests only: a hook called before each step of a save that changes the disk, with
// the file or folder it changes. A non-zero errno from the hook fails the step as
// the system would; a hook may also end the process there.
enum class SaveStep { CreateTemporary, Reserve, Write, Truncate, Sync, Rename, Remove };
using SaveStepHook = std::function<int(SaveStep step, const QString &path)>;
void SetSaveStepHook(SaveStepHook hook);
