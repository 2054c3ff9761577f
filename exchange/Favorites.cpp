#include "exchange/Favorites.h"
#include "catalogue/FolderWalk.h"
#include "exchange/LineFile.h"
#include "exchange/Merge.h"
#include "platform/Directory.h"
#include "platform/IniFile.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <deque>
#include <utility>
#include <vector>

namespace {

const QString kSection = QStringLiteral("InternetShortcut");
// The address again, in UTF-7, when it has characters the writer's code page lacks.
const QString kUnicodeSection = QStringLiteral("InternetShortcut.W");
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
// (a folder, a FIFO, a device), cannot be read or has no such key. The Unicode
// address counts when it decodes to one line; an empty one says nothing.
QString ReadAddress(const QByteArray &path, const QString &shownName)
{
    const IniFile shortcut(shownName, ReadRegularFileAt(path, kLargestShortcut));
    const std::optional<QString> unicode =
        DecodeUtf7(shortcut.ReadString(kUnicodeSection, kUrlKey, QString()));
    if (unicode && !unicode->isEmpty() && !unicode->contains(u'\n') && !unicode->contains(u'\r'))
        return *unicode;
    return shortcut.ReadString(kSection, kUrlKey, QString());
}

// folder + "/" + name, with one "/" after the root folder too.
QByteArray InFolder(const QByteArray &folder, const QByteArray &name)
{
    return (folder.endsWith('/') ? folder : folder + '/') + name;
}

struct ImportFrame
{
    QByteArray canonical; // the folder's real path, without links, as bytes
    TFolder *folder;
    std::vector<DirectoryEntry> subfolders;
    size_t next = 0;
};

// Reads the shortcuts among the entries of the folder at path into folder and keeps
// its sub-folders. With no folder (the chosen folder itself) they go into a root
// folder titled chosenTitle, made at the first one.
ImportFrame EnterFolder(TMerger &merger, const QByteArray &path, const QByteArray &canonical,
                        TFolder *folder, const std::vector<DirectoryEntry> &entries,
                        const QString &chosenTitle = {})
{
    ImportFrame frame{canonical, folder, {}};
    TFolder *target = folder;
    for (const DirectoryEntry &entry : entries) {
        // Every entry named "*.url" counts, a folder too (it gives an empty address).
        if (entry.name.endsWith(kExtension, Qt::CaseInsensitive)) {
            if (!target) {
                auto root = std::make_unique<TFolder>();
                root->SetTitle(chosenTitle);
                target = merger.MergeFolder(nullptr, std::move(root));
            }
            auto bookmark = std::make_unique<TBookmark>();
            bookmark->SetTitle(entry.name.chopped(kExtension.size()));
            bookmark->SetAddress(ReadAddress(InFolder(path, entry.rawName), entry.name));
            merger.MergeBookmark(*target, std::move(bookmark));
        }
        if (entry.isDir && !entry.name.startsWith(u'.'))
            frame.subfolders.push_back(entry);
    }
    return frame;
}

// The walk of an import. The chosen folder's own tree comes first, depth-first;
// the folders that symbolic links lead to come after it, so a folder's shortcuts
// show where it really is. Each real folder inside the chosen one is entered once,
// however many links lead to it; a folder not entered (a link to one entered
// before, or out of the chosen folder, to "/" say) stays empty under its name.
// Paths are the bytes of the names listed, which need not be UTF-8.
class FavoritesWalk
{
public:
    FavoritesWalk(TCatalog &catalog, const QByteArray &chosen)
        : m_merger(catalog), m_inside(InFolder(chosen, {}))
    {
        m_entered.insert(chosen);
    }

    void Run(const QString &dir, const QByteArray &canonical, TFolder *folder,
             const std::vector<DirectoryEntry> &entries)
    {
        m_stack.push_back(EnterFolder(m_merger, QFile::encodeName(dir), canonical, folder,
                                      entries, QDir(QDir(dir).absolutePath()).dirName()));
        for (;;) {
            if (m_stack.empty()) {
                if (m_links.empty())
                    return;
                const auto [path, linked] = m_links.front();
                m_links.pop_front();
                Enter(CanonicalPath(path), linked);
            } else if (ImportFrame &top = m_stack.back(); top.next < top.subfolders.size()) {
                Step(top);
            } else {
                m_stack.pop_back();
            }
        }
    }

private:
    // Makes the next sub-folder of top, and enters it unless a link leads there.
    void Step(ImportFrame &top)
    {
        const DirectoryEntry entry = top.subfolders[top.next++];
        auto made = std::make_unique<TFolder>();
        made->SetTitle(entry.name);
        TFolder *used = m_merger.MergeFolder(top.folder, std::move(made));
        if (entry.isLink)
            m_links.push_back({InFolder(top.canonical, entry.rawName), used});
        else // below a real folder, a real sub-folder's path is real too
            Enter(InFolder(top.canonical, entry.rawName), used);
    }

    // Read by its real path: a path through links would be resolved anew at each
    // step, and fail beyond 40 links.
    void Enter(const QByteArray &canonical, TFolder *folder)
    {
        if (!canonical.startsWith(m_inside) || m_entered.contains(canonical))
            return;
        m_entered.insert(canonical);
        // A folder that cannot be read gives what could be listed, maybe nothing.
        const std::vector<DirectoryEntry> entries = ReadDirectoryAt(canonical).entries;
        m_stack.push_back(EnterFolder(m_merger, canonical, canonical, folder, entries));
    }

    TMerger m_merger;
    QByteArray m_inside; // the chosen folder's real path with a final "/"
    QSet<QByteArray> m_entered;
    std::vector<ImportFrame> m_stack;
    std::deque<std::pair<QByteArray, TFolder *>> m_links; // path, and the folder it fills
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
    const QByteArray chosen = CanonicalPath(QFile::encodeName(dir));
    // A chosen folder that cannot be read is an error: an import of nothing would
    // not say why.
    FavoritesWalk(catalog, chosen).Run(dir, chosen, folder, ListDirectory(dir));
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
