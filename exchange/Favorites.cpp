#include "exchange/Favorites.h"
#include "catalogue/FolderWalk.h"
#include "exchange/LineFile.h"
#include "exchange/Merge.h"
#include "platform/Directory.h"
#include "platform/IniFile.h"
#include "platform/VarnokelError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <vector>

namespace {

const QString kSection = QStringLiteral("InternetShortcut");
const QString kUrlKey = QStringLiteral("URL");
const QString kExtension = QStringLiteral(".url");

// The longest file name the file system takes, in bytes.
constexpr qsizetype kNameMax = 255;
// A shortcut holds one address of at most 2047 characters: a larger file is no
// shortcut, and is not read.
constexpr qint64 kLargestShortcut = 1024 * 1024;

// The title less \\ / : * ? " < > | and NUL, which no file name can hold.
QString WithoutForbidden(const QString &title)
{
    QString name = title;
    name.removeIf([](QChar c) {
        return c.isNull() || QStringView(u"\\/:*?\"<>|").contains(c);
    });
    return name;
}

bool IsDotName(const QString &name)
{
    return name == u"." || name == u"..";
}

// Cuts text to length units without splitting a surrogate pair.
void CutTo(QString &text, qsizetype length)
{
    if (length > 0 && length < text.size() && text[length - 1].isHighSurrogate())
        --length;
    text.truncate(length);
}

// Cuts name to at most maxBytes bytes of UTF-8 (a file name's encoding), at a
// character boundary.
void CutToBytes(QString &name, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < name.size()
                          && name[i + 1].isLowSurrogate();
        const qsizetype width = pair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (bytes + width > maxBytes) {
            name.truncate(i);
            return;
        }
        bytes += width;
        i += pair ? 1 : 0;
    }
}

// A folder title as a directory name; empty when the folder gets no directory.
QString FolderFileName(const QString &title)
{
    QString name = WithoutForbidden(title);
    if (TrimText(name).isEmpty() || IsDotName(name))
        return {};
    CutToBytes(name, kNameMax);
    return name;
}

// The address of a ".url" file; empty when it is no regular file of at most 1 MiB
// (a folder, a FIFO, a device) or has no such key.
QString ReadAddress(const QString &fileName)
{
    if (!IsExistingFile(fileName) || QFileInfo(fileName).size() > kLargestShortcut)
        return {};
    // The ini reader reads an unreadable file as empty; that must not pass silently.
    QFile probe(fileName);
    if (!probe.open(QIODevice::ReadOnly))
        throw VarnokelError(QStringLiteral("Cannot open file \"%1\". %2")
                                .arg(fileName, probe.errorString()));
    probe.close();
    return IniFile(fileName).ReadString(kSection, kUrlKey, QString());
}

struct ImportFrame
{
    QString dir;
    QString canonical; // to notice a symbolic link back to an enclosing folder
    TFolder *folder;
    std::vector<DirectoryEntry> subfolders;
    size_t next = 0;
};

// Reads dir's shortcuts into folder and lists its sub-folders. With no folder
// (the chosen folder itself) they go into a root folder titled with dir's name,
// made at the first one.
ImportFrame EnterFolder(TMerger &merger, const QString &dir, const QString &canonical,
                        TFolder *folder)
{
    ImportFrame frame{dir, canonical, folder, {}};
    TFolder *target = folder;
    for (const DirectoryEntry &entry : ListDirectory(dir)) {
        // Every entry named "*.url" counts, a folder too (it gives an empty address).
        if (entry.name.endsWith(kExtension, Qt::CaseInsensitive)) {
            if (!target) {
                auto root = std::make_unique<TFolder>();
                root->SetTitle(QDir(QDir(dir).absolutePath()).dirName());
                target = merger.MergeFolder(nullptr, std::move(root));
            }
            auto bookmark = std::make_unique<TBookmark>();
            bookmark->SetTitle(entry.name.chopped(kExtension.size()));
            bookmark->SetAddress(ReadAddress(dir + u'/' + entry.name));
            merger.MergeBookmark(*target, std::move(bookmark));
        }
        if (entry.isDir && !entry.name.startsWith(u'.'))
            frame.subfolders.push_back(entry);
    }
    return frame;
}

bool IsEnclosing(const std::vector<ImportFrame> &stack, const QString &canonical)
{
    for (const ImportFrame &frame : stack)
        if (frame.canonical == canonical)
            return true;
    return false;
}

void WriteShortcut(const QString &dir, const TBookmark &bookmark)
{
    const QString name = FavoriteFileName(bookmark.Title());
    if (name.isEmpty())
        return;
    const QString fileName = dir + u'/' + name + kExtension;
    const QFileInfo info(fileName);
    if (info.exists() || info.isSymLink()) // never overwritten, nor followed
        return;
    IniFile(fileName).WriteString(kSection, kUrlKey, bookmark.Address());
}

void EnsureDirectory(const QString &dir)
{
    if (!QFileInfo(dir).isDir())
        MakeDirectory(dir);
}

} // namespace

QString FavoriteFileName(const QString &title)
{
    QString name = WithoutForbidden(title);
    if (IsDotName(name))
        return {};
    if (name.size() > 208)
        CutTo(name, 207);
    // Longer names than the file system takes would fail to write.
    CutToBytes(name, kNameMax - kExtension.size());
    return name;
}

void ImportIE(TCatalog &catalog, const QString &dir, TFolder *folder)
{
    if (!QFileInfo(dir).isDir())
        return;
    TMerger merger(catalog);
    std::vector<ImportFrame> stack;
    stack.push_back(EnterFolder(merger, dir, QFileInfo(dir).canonicalFilePath(), folder));
    while (!stack.empty()) {
        ImportFrame &top = stack.back();
        if (top.next == top.subfolders.size()) {
            stack.pop_back();
            continue;
        }
        const DirectoryEntry entry = top.subfolders[top.next++];
        auto made = std::make_unique<TFolder>();
        made->SetTitle(entry.name);
        TFolder *used = merger.MergeFolder(top.folder, std::move(made));
        const QString path = top.dir + u'/' + entry.name;
        // Only a link can lead back up; below a real folder the path stays canonical.
        const QString canonical = entry.isLink ? QFileInfo(path).canonicalFilePath()
                                               : top.canonical + u'/' + entry.name;
        if (!entry.isLink || !IsEnclosing(stack, canonical))
            stack.push_back(EnterFolder(merger, path, canonical, used));
    }
}

void ExportIE(const TCatalog &catalog, const QString &dir, const TFolder *folder)
{
    EnsureDirectory(dir);
    // A folder's directory is made when the walk enters it, its shortcuts are
    // written when it leaves; a folder without a usable name is skipped whole.
    std::vector<QString> dirs{dir};
    const auto enter = [&dirs](const TFolder &sub) {
        const QString name = FolderFileName(sub.Title());
        if (name.isEmpty()) {
            dirs.emplace_back();
            return false;
        }
        dirs.push_back(dirs.back() + u'/' + name);
        EnsureDirectory(dirs.back());
        return true;
    };
    const auto leave = [&dirs](const TFolder &sub) {
        if (!dirs.back().isEmpty())
            for (const auto &bookmark : sub.Bookmarks())
                WriteShortcut(dirs.back(), *bookmark);
        dirs.pop_back();
    };
    WalkFolders(folder ? folder->Folders() : catalog.Folders(), enter, leave);
    if (folder)
        for (const auto &bookmark : folder->Bookmarks())
            WriteShortcut(dir, *bookmark);
}
