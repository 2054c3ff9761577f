#pragma once
// TEMPORARY until catalogue/Search.h lands.
#include <QString>
class TFolder; class TBookmark; class TCatalog;
enum TSearchField : unsigned char { sfTitle = 0, sfDescription = 1, sfAddress = 2 };
struct TSearchRec { QString Text; TFolder *Folder = nullptr; TBookmark *Bookmark = nullptr;
  TSearchField Field = sfTitle; int FoundPos = 1; int NextPos = 1; };
inline void ValidateSearchRec(TSearchRec &rec, const TCatalog &) { rec.Folder = nullptr; rec.Bookmark = nullptr; }
