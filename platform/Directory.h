#pragma once
// Folders as the exchange needs them: a listing that tells a folder that cannot be
// read from an empty one (a listing through QDir cannot), making one folder level
// with the reason when it fails, and finding a name without regard to letter case,
// as the file system of the designed platform does.

#include <QHash>
#include <QSet>
#include <QString>

#include <vector>

struct DirectoryEntry
{
    QString name;
    bool isDir = false;  // symbolic links are followed
    bool isLink = false; // a symbolic link (to a folder, when isDir)
};

struct DirectoryListing
{
    std::vector<DirectoryEntry> entries; // what could be listed, sorted by name
    int error = 0; // errno of a failure to open or read the folder, 0 when none
};

// Every entry but "." and "..", hidden ones included, sorted by name; never raises.
DirectoryListing ReadDirectory(const QString &dir);

// ReadDirectory's entries; raises "Cannot read folder "%s". %s" with the reason
// when the folder cannot be listed.
std::vector<DirectoryEntry> ListDirectory(const QString &dir);

// Makes one folder level; raises "Cannot create folder "%s". %s" with the reason.
void MakeDirectory(const QString &dir);

// The names of one folder, listed once, to be found without regard to letter case:
// "DE.INI" finds "de.ini". A folder that cannot be listed holds no names.
class CaseBlindNames
{
public:
    explicit CaseBlindNames(const QString &dir);

    // The entry's name as it is on disk: name itself when an entry has it, else the
    // first entry in name order that differs from it in letter case alone; empty
    // when there is none.
    QString Find(const QString &name) const;

private:
    QSet<QString> m_names;              // every name on disk
    QHash<QString, QString> m_byFolded; // case-folded name -> the first such name
};

// path with its last part named as on disk (see CaseBlindNames::Find): path itself
// when it exists, else its folder + "/" + the entry found; empty when none is.
QString FindPathCaseBlind(const QString &path);
