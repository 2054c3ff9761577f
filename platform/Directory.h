#pragma once
// Folders as the favourites exchange needs them: a listing that tells a folder that
// cannot be read from an empty one (a listing through QDir cannot), and making one
// folder level with the reason when it fails.

#include <QString>

#include <vector>

struct DirectoryEntry
{
    QString name;
    bool isDir = false;  // symbolic links are followed
    bool isLink = false; // a symbolic link (to a folder, when isDir)
};

// Every entry but "." and "..", hidden ones included, sorted by name. Raises
// "Cannot read folder "%s". %s" with the reason when the folder cannot be listed.
std::vector<DirectoryEntry> ListDirectory(const QString &dir);

// Makes one folder level; raises "Cannot create folder "%s". %s" with the reason.
void MakeDirectory(const QString &dir);
