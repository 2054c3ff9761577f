#pragma once
// Folders as the exchange needs them: a listing that tells a folder that cannot be
// read from an empty one (a listing through QDir cannot), making one folder level
// with the reason when it fails, and finding a name without regard to letter case,
// as the file system of the designed platform does. A listing keeps each name's
// bytes: a name copied from an old disk in a single-byte code page is no UTF-8, and
// a QString path made from it names another file, or none.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

struct DirectoryEntry
{
    QString name;       // to show: the bytes as UTF-8, or Windows-1252 where they are not
    QByteArray rawName; // the bytes the folder holds: what opens the entry
    bool isDir = false;  // symbolic links are followed
    bool isLink = false; // a symbolic link (to a folder, when isDir)
};

struct DirectoryListing
{
    std::vector<DirectoryEntry> entries; // what could be listed, sorted by name, then bytes
    int error = 0; // errno of a failure to open or read the folder, 0 when none
};

// Every entry but "." and "..", hidden ones included, sorted by name; never raises.
DirectoryListing ReadDirectory(const QString &dir);
// The same for a folder named by the bytes of its path (listed names joined by "/").
DirectoryListing ReadDirectoryAt(const QByteArray &dir);

// ReadDirectory's entries; raises "Cannot read folder "%s". %s" with the reason
// when the folder cannot be listed.
std::vector<DirectoryEntry> ListDirectory(const QString &dir);

// The path's bytes with every symbolic link, "." and ".." resolved; empty when it
// cannot be resolved (a part is missing or cannot be searched).
QByteArray CanonicalPath(const QByteArray &path);

// Makes one folder level; raises "Cannot create folder "%s". %s" with the reason.
void MakeDirectory(const QString &dir);

// The names of one folder, listed once, to be found without regard to letter case:
// "DE.INI" finds "de.ini". A folder that cannot be listed holds no names.
class CaseBlindNames
{
public:
    explicit CaseBlindNames(const QString &dir);
    // The names of a listing (ReadDirectoryAt).
    explicit CaseBlindNames(std::vector<DirectoryEntry> entries);

    // The entry named name (as shown, DirectoryEntry::name), or else the first entry
    // in listing order whose name differs from it in letter case alone; none when
    // there is none.
    const DirectoryEntry *FindEntry(const QString &name) const;
    // FindEntry's name as shown; empty when there is none.
    QString Find(const QString &name) const;

private:
    void Index();

    std::vector<DirectoryEntry> m_entries;
    QHash<QString, size_t> m_byName;   // shown name -> the first such entry
    QHash<QString, size_t> m_byFolded; // case-folded name -> the first such entry
};

// path with its last part named as on disk (see CaseBlindNames::Find): path itself
// when it exists, else its folder + "/" + the entry found; empty when none is.
QString FindPathCaseBlind(const QString &path);
