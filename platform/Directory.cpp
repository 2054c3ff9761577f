#include "platform/Directory.h"
#include "platform/VarnokelError.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>

namespace {

[[noreturn]] void RaiseFolderError(const char *what, const QString &dir, int error)
{
    throw VarnokelError(QStringLiteral("%1 \"%2\". %3")
                            .arg(QLatin1StringView(what), dir, qt_error_string(error)));
}

DirectoryEntry EntryOf(const QByteArray &path, const dirent &entry)
{
    DirectoryEntry result{QFile::decodeName(entry.d_name)};
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
    DirectoryListing listing;
    const QByteArray encoded = QFile::encodeName(dir);
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
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const DirectoryEntry &a, const DirectoryEntry &b) { return a.name < b.name; });
    return listing;
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

CaseBlindNames::CaseBlindNames(const QString &dir)
{
    // In name order, so that of several names that differ in case the first counts.
    for (const DirectoryEntry &entry : ReadDirectory(dir).entries) {
        m_names.insert(entry.name);
        const QString folded = entry.name.toCaseFolded();
        if (!m_byFolded.contains(folded))
            m_byFolded.insert(folded, entry.name);
    }
}

QString CaseBlindNames::Find(const QString &name) const
{
    if (m_names.contains(name))
        return name;
    return m_byFolded.value(name.toCaseFolded());
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
