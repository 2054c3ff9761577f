#include "platform/Directory.h"
#include "platform/TextCodec.h"
#include "platform/VarnokelError.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <memory>

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace {

[[noreturn]] void RaiseFolderError(const char *what, const QString &dir, int error)
{
    throw VarnokelError(QStringLiteral("%1 \"%2\". %3")
                            .arg(QLatin1StringView(what), dir, qt_error_string(error)));
}

DirectoryEntry EntryOf(const QByteArray &path, const dirent &entry)
{
    const QByteArray raw(entry.d_name);
    DirectoryEntry result{DecodeUtf8OrAnsi(raw), raw};
    unsigned char type = entry.d_type;
    struct stat info;
    if (type == DT_UNKNOWN && ::lstat(path.constData(), &info) == 0)
        type = S_ISLNK(info.st_mode) ? DT_LNK : S_ISDIR(info.st_mode) ? DT_DIR : DT_REG;
    result.isLink = type == DT_LNK;
    result.isDir = type == DT_DIR
        || (type == DT_LNK && ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode));
    return result;
}

} // namespace

DirectoryListing ReadDirectory(const QString &dir)
{
    return ReadDirectoryAt(QFile::encodeName(dir));
}

DirectoryListing ReadDirectoryAt(const QByteArray &encoded)
{
    DirectoryListing listing;
    const std::unique_ptr<DIR, int (*)(DIR *)> handle(::opendir(encoded.constData()), ::closedir);
    if (!handle) {
        listing.error = errno;
        return listing;
    }
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(handle.get());
        if (!entry) {
            listing.error = errno;
            break;
        }
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        listing.entries.push_back(EntryOf(encoded + '/' + name, *entry));
    }
    // Two names may show alike ("Caf\xE9" in Windows-1252 and "Café" in UTF-8).
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const DirectoryEntry &a, const DirectoryEntry &b) {
                  return a.name != b.name ? a.name < b.name : a.rawName < b.rawName;
              });
    return listing;
}

QByteArray CanonicalPath(const QByteArray &path)
{
    const std::unique_ptr<char, void (*)(void *)> resolved(::realpath(path.constData(), nullptr),
                                                           ::free);
    return resolved ? QByteArray(resolved.get()) : QByteArray();
}

std::vector<DirectoryEntry> ListDirectory(const QString &dir)
{
    DirectoryListing listing = ReadDirectory(dir);
    if (listing.error != 0)
        RaiseFolderError("Cannot read folder", dir, listing.error);
    return std::move(listing.entries);
}

void MakeDirectory(const QString &dir)
{
    if (::mkdir(QFile::encodeName(dir).constData(), 0777) != 0)
        RaiseFolderError("Cannot create folder", dir, errno);
}

CaseBlindNames::CaseBlindNames(const QString &dir) : m_entries(ReadDirectory(dir).entries)
{
    Index();
}

CaseBlindNames::CaseBlindNames(std::vector<DirectoryEntry> entries)
    : m_entries(std::move(entries))
{
    Index();
}

void CaseBlindNames::Index()
{
    // In listing order, so that of several names that differ in case the first counts.
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (!m_byName.contains(m_entries[i].name))
            m_byName.insert(m_entries[i].name, i);
        const QString folded = m_entries[i].name.toCaseFolded();
        if (!m_byFolded.contains(folded))
            m_byFolded.insert(folded, i);
    }
}

const DirectoryEntry *CaseBlindNames::FindEntry(const QString &name) const
{
    if (const auto exact = m_byName.constFind(name); exact != m_byName.cend())
        return &m_entries[*exact];
    const auto folded = m_byFolded.constFind(name.toCaseFolded());
    return folded == m_byFolded.cend() ? nullptr : &m_entries[*folded];
}

QString CaseBlindNames::Find(const QString &name) const
{
    const DirectoryEntry *entry = FindEntry(name);
    return entry ? entry->name : QString();
}

QString FindPathCaseBlind(const QString &path)
{
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return path;
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString dir = slash < 0 ? QStringLiteral(".") : path.left(qMax(slash, qsizetype(1)));
    const QString name = CaseBlindNames(dir).Find(path.mid(slash + 1));
    if (name.isEmpty())
        return {};
    return path.left(slash + 1) + name;
}
