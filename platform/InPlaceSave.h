#pragma once
// The save in place (see AtomicFile.h) and the repair of one that did not end.
// Before it overwrites, an in-place save records beside its copy of the old file
// what it is about to write: the file, the new length and a hash of the new
// contents. The copy goes once the new file is on disk, then the record. A copy
// still there means that save did not end: the file may begin with the new contents
// and go on with the old ones, a tear that no parser can tell from a real file but
// the record can.

#include <QString>

struct SaveRepair
{
    enum class Outcome {
        None,     // no copy of a save of this file is left
        Ended,    // the file is whole: the copy went (set aside when the file is gone)
        Restored, // the file was torn: kept as keptAs, and the old file put back
    };
    Outcome outcome = Outcome::None;
    QString keptAs;
};

// Repairs what an in-place save of fileName left. When the file is exactly what the
// record names, or still the old file, the copy and the record go. Otherwise the
// file is kept as "<fileName>.damaged" (KeepCopy) and the old one is put back by the
// same safe write, under a record of its own, so that a kill during the repair is
// repaired next time. A copy without a record (an older version's) counts as a save
// that did not end; a record that names another file of the same name leaves the
// copy to that file. Raises VarnokelError, naming the copy, when the torn file cannot
// be kept or the old one cannot be put back; the copy stays then.
// beforeSave: the check every save makes first. A copy without a record is left to
// the in-place save, which sets it aside; an old file put back is set aside too
// ("<copy>.N"), since the save is about to replace it with what a failed load may
// have left empty.
SaveRepair RepairInterruptedSave(const QString &fileName, bool beforeSave = false);

// The one message that tells the user of a repair, naming the file put back and the
// torn file's copy; empty unless the file was restored.
QString RepairMessage(const QString &fileName, const SaveRepair &repair);

// Where an in-place save keeps its record, beside its copy of the old file.
QString SaveRecordPath(const QString &copy);
