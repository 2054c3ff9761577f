#pragma once
// The steps of a whole-file save that change the disk, each behind the tests' step
// hook (SetSaveStepHook), shared by the save through a temporary file (AtomicFile.cpp)
// and the save in place (InPlaceSave.cpp). Internal to the platform library. Each
// step returns 0 or the errno of its failure.

#include "platform/AtomicFile.h"

#include <QByteArray>
#include <QString>

// 0, or the errno the test hook fails this step with.
int BeforeStep(SaveStep step, const QString &path);

QString Reason(int error);

int WriteAll(int fd, const QString &path, const QByteArray &contents);
int SyncFile(int fd, const QString &path);
int TruncateFile(int fd, const QString &path, qint64 size);
int RenameFile(const QString &from, const QString &to);
void RemoveFile(const QString &path);
void SyncFolder(const QString &folder);
int ReadWhole(const QString &path, QByteArray &bytes);

// The file a save replaces: a symbolic link's target, followed as far as it leads
// (also to a file not there yet), so the link stays. Empty for a loop of links.
QString FinalFileName(const QString &fileName);

// How a save may go when the folder refuses the temporary file or its rename.
enum class SaveMode {
    ThroughTemporary, // not at all: the save fails (the in-place save's own copy and record)
    KeepingCopy,      // in place, the old file kept at InPlaceCopyPath() meanwhile
    PuttingBack,      // in place over a torn file, whose old contents that copy already holds
};

// The save of AtomicFile.h in the given mode; empty, or the reason of the failure.
QString SaveFile(const QString &fileName, const QByteArray &contents, SaveMode mode);

// The in-place half of SaveFile, for target, the regular file fileName leads to.
QString SaveInPlace(const QString &fileName, const QString &target, const QByteArray &contents,
                    SaveMode mode);
