#pragma once
// The program's load and save of its catalogue file. A file that fails to load is
// kept before any save can replace it (TCatalog::LoadFromFile only reads).

#include <QString>

class TCatalog;

// Loads fileName into catalog as TCatalog::LoadFromFile does. An in-place save that
// did not end is repaired first (RepairInterruptedSave): the message that says so is
// returned, or an empty text; a repair that fails fails the load. When the load fails
// in any way (a reader's error, no memory left, any other exception), the catalogue
// is left as it was: nothing read before the failure stays. The file's exact bytes
// are kept (KeepCopy, "<file>.damaged"), and a VarnokelError follows: the reader's
// own message, or "Unable to load %1: %2" with the file and the reason, then a line
// naming the copy, or why none could be made, and one more naming the old file that
// an interrupted in-place save left (InPlaceCopyPath), when there is one.
QString LoadCatalogFile(TCatalog &catalog, const QString &fileName);

// Saves catalog to fileName as TCatalog::SaveToFile does. A file that failed to
// load without its copy being made is copied first; when that fails again, the save
// fails with the reason and leaves the file as it is.
void SaveCatalogFile(const TCatalog &catalog, const QString &fileName);
