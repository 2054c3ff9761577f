#pragma once
// The catalogue's resumable find: a cursor (TSearchRec) that FindNext moves to the
// next occurrence of its text, case ignored, in the order the folder tree shows:
// a folder's Title and Description, then each bookmark's Title, Address and
// Description, then its sub-folders, then the folders that follow; never wrapping.

#include <QString>

class TCatalog;
class TFolder;
class TBookmark;

enum TSearchField : unsigned char {
    sfTitle = 0,
    sfDescription = 1,
    sfAddress = 2, // bookmarks only
};

// Folder and Bookmark are plain references into the tree; the cursor owns nothing.
// Positions are 1-based, in QString code units.
struct TSearchRec
{
    QString Text;                  // empty: no search
    TFolder *Folder = nullptr;     // none: nothing to search
    TBookmark *Bookmark = nullptr; // none while the folder's own fields are searched
    TSearchField Field = sfTitle;
    int FoundPos = 1;              // start of the last match
    int NextPos = 1;               // where the next call searches from
};

// Moves the cursor to the next match after it: true with Folder, Bookmark and
// Field naming the field and FoundPos..NextPos-1 the match. False at the end of
// the catalogue (the cursor then stands on the last place searched, at its title,
// positions 1), and at once, cursor unchanged, for an empty Text or no Folder.
// Contract: Folder and Bookmark must be alive; after the tree may have changed
// (delete, cut, drag, undo, redo, import) call ValidateSearchRec first.
bool FindNext(TSearchRec &rec);

// The text of the field the cursor names: of Bookmark when set, else of Folder
// (which has no address). Folder must be set.
const QString &SearchFieldText(const TSearchRec &rec);

// The folder after the given folder's whole subtree in tree order; none at the end.
TFolder *NextFolder(TFolder *folder);

// Brings the cursor back into the catalogue's tree without touching the objects it
// names: a Folder no longer in the tree leaves no folder (FindNext finds nothing);
// a Bookmark that Folder does not hold is dropped and the search restarts at the
// folder's title. Only addresses are compared, so a new object at a freed one's
// address counts as in the tree (safe, though the place may differ). O(folders).
void ValidateSearchRec(TSearchRec &rec, const TCatalog &catalog);
