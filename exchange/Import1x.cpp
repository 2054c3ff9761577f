#include "exchange/Import1x.h"
#include "exchange/LineFile.h"
#include "exchange/Merge.h"
#include "platform/Directory.h"
#include "platform/RegularFile.h"
#include "platform/TextCodec.h"
#include "platform/VarnokelError.h"

#include <QFile>
#include <QSet>

#include <memory>
#include <unordered_map>
#include <utility>

namespace {

using Descriptions = std::unordered_map<QString, QString, TitleHash, TitleEqual>;

QString TrimmedText(QByteArrayView raw)
{
    return DecodeUtf8OrAnsi(TrimLine(raw));
}

// Title to description; of equal titles the last pair counts.
Descriptions ReadDescriptions(TLineReader &lines)
{
    Descriptions descriptions;
    QByteArrayView raw;
    while (lines.ReadLine(raw)) {
        QString title = TrimmedText(raw);
        QString description = lines.ReadLine(raw) ? TrimmedText(raw) : QString();
        descriptions.insert_or_assign(std::move(title), std::move(description));
    }
    return descriptions;
}

// A line of a ".wnl" block: trimmed, less its two-character prefix.
QString FieldOf(QByteArrayView raw)
{
    const QString text = TrimmedText(raw);
    qsizetype skip = qMin(qsizetype(2), text.size());
    if (skip < text.size() && text[skip].isLowSurrogate()) // keep a pair together
        ++skip;
    return text.sliced(skip);
}

void ReadBookmarks(TMerger &merger, TFolder &folder, TLineReader &lines)
{
    QByteArrayView raw;
    while (lines.ReadLine(raw)) {
        QString fields[5] = {FieldOf(raw)};
        for (int i = 1; i < 5; ++i)
            if (lines.ReadLine(raw))
                fields[i] = FieldOf(raw);
        auto bookmark = std::make_unique<TBookmark>();
        bookmark->SetTitle(fields[0]);
        bookmark->SetAddress(fields[1]);
        bookmark->SetLastVisit(fields[2]);
        bookmark->SetAddDate(fields[3]); // replaces today's date, also when empty
        bookmark->SetDescription(fields[4]);
        merger.MergeBookmark(folder, std::move(bookmark));
    }
}

// The folder whose sub-folders receive a folder of this depth (none: the root list).
// A deeper line is a child of the previous folder, however many levels deeper.
TFolder *TargetParent(TFolder *previous, qsizetype previousDepth, qsizetype depth)
{
    if (depth > previousDepth)
        return previous;
    TFolder *sibling = previous;
    for (qsizetype drop = previousDepth - depth; drop > 0 && sibling && sibling->Parent(); --drop)
        sibling = sibling->Parent();
    return sibling ? sibling->Parent() : nullptr;
}

// A file of a listed folder, found by its name without letter case, and opened by
// the bytes the listing gave (a name from an old disk need not be UTF-8).
class ListedFile
{
public:
    // shownDir names the folder in messages.
    ListedFile(const QByteArray &dir, const QString &shownDir, const CaseBlindNames &names,
               const QString &name)
    {
        if (const DirectoryEntry *entry = names.FindEntry(name)) {
            m_path = dir + '/' + entry->rawName;
            m_name = shownDir + u'/' + entry->name;
        }
    }

    const QByteArray &Path() const { return m_path; } // empty when no entry has the name
    const QString &Name() const { return m_name; }

    // Opens the file; false when it is missing or of another kind (a FIFO would
    // block), which the import takes as no file.
    bool Open()
    {
        if (!m_path.isEmpty())
            m_outcome = OpenRegularFile(m_path, m_file, m_error);
        return m_outcome == Outcome::Read || m_outcome == Outcome::Unreadable;
    }

    // The open file; raises "Cannot open file "%s". %s" when it could not be opened.
    QFile &File()
    {
        if (m_outcome != Outcome::Read)
            throw VarnokelError(
                QStringLiteral("Cannot open file \"%1\". %2").arg(m_name, m_error));
        return m_file;
    }

private:
    using Outcome = RegularFileContents::Outcome;

    QByteArray m_path;
    QString m_name;
    QFile m_file;
    Outcome m_outcome = Outcome::Missing;
    QString m_error;
};

// Reads each links file once per folder: a title repeated on many lines would
// otherwise read its file again for each (lines × bookmarks), and merging it again
// into the same folder adds nothing.
class LinksReader
{
public:
    LinksReader(TMerger &merger, const QString &dir, const CaseBlindNames &names)
        : m_merger(merger)
    {
        if (const DirectoryEntry *links = names.FindEntry(QStringLiteral("Links"))) {
            m_dir = QFile::encodeName(dir) + '/' + links->rawName;
            m_shownDir = dir + u'/' + links->name;
            m_names = std::make_unique<CaseBlindNames>(ReadDirectoryAt(m_dir).entries);
        }
    }

    // Merges the bookmarks of the links file named title into folder.
    void Read(TFolder &folder, const QString &title)
    {
        if (!m_names)
            return;
        // Listed once: only files found there are opened, so a title that holds "/"
        // or NUL names none.
        ListedFile file(m_dir, m_shownDir, *m_names, title + QStringLiteral(".wnl"));
        if (file.Path().isEmpty() || m_read.contains({&folder, file.Path()}) || !file.Open())
            return;
        m_read.insert({&folder, file.Path()});
        TLineReader lines(file.File(), file.Name());
        ReadBookmarks(m_merger, folder, lines);
    }

private:
    TMerger &m_merger;
    QByteArray m_dir;
    QString m_shownDir;
    std::unique_ptr<CaseBlindNames> m_names; // none: no "Links" folder
    QSet<std::pair<const TFolder *, QByteArray>> m_read;
};

} // namespace

void ImportVarnokel1x(TCatalog &catalog, const QString &dir)
{
    // Names match without letter case, as where the 1.x version kept them.
    const CaseBlindNames names(dir);
    const QByteArray encoded = QFile::encodeName(dir);
    ListedFile treeFile(encoded, dir, names, QStringLiteral("folders.wnf"));
    ListedFile descriptionFile(encoded, dir, names, QStringLiteral("folddesc.wnf"));
    if (!treeFile.Open() || !descriptionFile.Open())
        return;
    TLineReader descriptionLines(descriptionFile.File(), descriptionFile.Name());
    const Descriptions descriptions = ReadDescriptions(descriptionLines);
    TMerger merger(catalog);
    LinksReader links(merger, dir, names);
    TLineReader tree(treeFile.File(), treeFile.Name());
    TFolder *previous = nullptr;
    qsizetype previousDepth = 0;
    QByteArrayView raw;
    while (tree.ReadLine(raw)) {
        const qsizetype depth = raw.count('\t');
        auto folder = std::make_unique<TFolder>();
        folder->SetTitle(TrimmedText(raw));
        if (const auto found = descriptions.find(folder->Title()); found != descriptions.end())
            folder->SetDescription(found->second);
        // The file is named by the line's title, which the merge may clean.
        const QString title = folder->Title();
        previous = merger.MergeFolder(TargetParent(previous, previousDepth, depth),
                                      std::move(folder));
        previousDepth = depth;
        links.Read(*previous, title);
    }
}
