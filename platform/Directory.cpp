#include "platform/Directory.h"
#include "platform/VarnokelError.h"

#include <QFile>

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

std::vector<DirectoryEntry> ListDirectory(const QString &dir)
{
    const QByteArray encoded = QFile::encodeName(dir);
    const std::unique_ptr<DIR, int (*)(DIR *)> handle(::opendir(encoded.constData()), ::closedir);
    if (!handle)
        RaiseFolderError("Cannot read folder", dir, errno);
    std::vector<DirectoryEntry> entries;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(handle.get());
        if (!entry) {
            if (errno != 0)
                RaiseFolderError("Cannot read folder", dir, errno);
            break;
        }
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        entries.push_back(EntryOf(encoded + '/' + name, *entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry &a, const DirectoryEntry &b) { return a.name < b.name; });
    return entries;
}

void MakeDirectory(const QString &dir)
{
    if (::mkdir(QFile::encodeName(dir).constData(), 0777) != 0)
        RaiseFolderError("Cannot create folder", dir, errno);
}
