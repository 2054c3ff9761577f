#include "exchange/Favorites.h"
#include "catalogue/FolderWalk.h"
#include "exchange/LineFile.h"
#include "exchange/Merge.h"
#include "platform/Directory.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

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
// (a folder, a FIFO, a device), cannot be read or has no such key.
QString ReadAddress(const QString &fileName)
{
    return IniFile(fileName, IniFile::Mode::WriteThrough, kLargestShortcut)
        .ReadString(kSection, kUrlKey, QString());
}

// folder + "/" + name, with one "/" after the root folder too.
QString InFolder(const QString &folder, const QString &name)
{
    return (folder.endsWith(u'/') ? folder : folder + u'/') + name;
}

struct ImportFrame
{
    QString dir;
    QString canonical; // the folder's real path, without links
    TFolder *folder;
    std::vector<DirectoryEntry> subfolders;
    size_t next = 0;
};

// Reads the shortcuts among dir's entries into folder and keeps its sub-folders.
// With no folder (the chosen folder itself) they go into a root folder titled with
// dir's name, made at the first one.
ImportFrame EnterFolder(TMerger &merger, const QString &dir, const QString &canonical,
                        TFolder *folder, const std::vector<DirectoryEntry> &entries)
{
    ImportFrame frame{dir, canonical, folder, {}};
    TFolder *target = folder;
    for (const DirectoryEntry &entry : entries) {
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

// The real folders an import may enter: those inside the chosen one, each once,
// however many links lead to it. A link out of the chosen folder (to "/", say)
// would otherwise bring in every folder of the disk.
class FolderVisits
{
public:
    explicit FolderVisits(const QString &chosen) : m_inside(InFolder(chosen, {}))
    {
        m_entered.insert(chosen);
    }

    // True the first time for a folder inside the chosen one.
    bool Enter(const QString &canonical)
    {
        if (!canonical.startsWith(m_inside) || m_entered.contains(canonical))
            return false;
        m_entered.insert(canonical);
        return true;
    }

private:
    QString m_inside; // the chosen folder's real path with a final "/"
    QSet<QString> m_entered;
};

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
    const QString chosen = QFileInfo(dir).canonicalFilePath();
    FolderVisits visits(chosen);
    std::vector<ImportFrame> stack;
    // A chosen folder that cannot be read is an error (an import of nothing would
    // not say why); a folder below it gives what could be listed, maybe nothing.
    stack.push_back(EnterFolder(merger, dir, chosen, folder, ListDirectory(dir)));
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
        // Below a real folder, a real sub-folder's path is real too.
        const QString canonical = entry.isLink ? QFileInfo(path).canonicalFilePath()
                                               : InFolder(top.canonical, entry.name);
        // A folder not entered stays, empty, under the name that led to it.
        if (visits.Enter(canonical))
            stack.push_back(EnterFolder(merger, path, canonical, used,
                                        ReadDirectory(path).entries));
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
