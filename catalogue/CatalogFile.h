#pragma once
// The program's load of its catalogue file at start, which keeps a file that fails
// to load before any save can replace it (TCatalog::LoadFromFile only reads).

#include <QString>

class TCatalog;

// Loads fileName into catalog as TCatalog::LoadFromFile does. When the load fails,
// the file's exact bytes are kept first (KeepCopy, "<file>.damaged"), and the
// failure goes on with its message followed by a line naming the copy, or why none
// could be made, and one more naming the old file that an interrupted in-place save
// left (InPlaceCopyPath), when there is one. An in-place save that did not end is
// repaired first (RepairInterruptedSave): the message that says so is returned, or
// an empty text; a repair that fails fails the load.
QString LoadCatalogFile(TCatalog &catalog, const QString &fileName);
