#include "exchange/Import1x.h"
#include "exchange/LineFile.h"
#include "exchange/Merge.h"
#include "platform/Directory.h"
#include "platform/TextCodec.h"

#include <unordered_map>

namespace {

using Descriptions = std::unordered_map<QString, QString, TitleHash, TitleEqual>;

QString TrimmedText(QByteArrayView raw)
{
    return DecodeUtf8OrAnsi(TrimLine(raw));
}

// Title to description; of equal titles the last pair counts.
Descriptions ReadDescriptions(const QString &fileName)
{
    Descriptions descriptions;
    TLineReader lines(fileName);
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

void ReadBookmarks(TMerger &merger, TFolder &folder, const QString &fileName)
{
    TLineReader lines(fileName);
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

// dir + "/" + name; empty when name is (no such entry).
QString InFolder(const QString &dir, const QString &name)
{
    return name.isEmpty() ? QString() : dir + u'/' + name;
}

} // namespace

void ImportVarnokel1x(TCatalog &catalog, const QString &dir)
{
    // Names match without letter case, as where the 1.x version kept them.
    const CaseBlindNames names(dir);
    const QString treeFile = InFolder(dir, names.Find(QStringLiteral("folders.wnf")));
    const QString descriptionFile = InFolder(dir, names.Find(QStringLiteral("folddesc.wnf")));
    if (!IsExistingFile(treeFile) || !IsExistingFile(descriptionFile))
        return;
    const Descriptions descriptions = ReadDescriptions(descriptionFile);
    const QString linksDir = InFolder(dir, names.Find(QStringLiteral("Links")));
    // Listed once: only files found there are opened, so a title that holds "/"
    // or NUL names none.
    const CaseBlindNames links(linksDir);
    TMerger merger(catalog);
    TLineReader tree(treeFile);
    TFolder *previous = nullptr;
    qsizetype previousDepth = 0;
    QByteArrayView raw;
    while (tree.ReadLine(raw)) {
        const qsizetype depth = raw.count('\t');
        auto folder = std::make_unique<TFolder>();
        folder->SetTitle(TrimmedText(raw));
        if (const auto found = descriptions.find(folder->Title()); found != descriptions.end())
            folder->SetDescription(found->second);
        const QString linksFile =
            InFolder(linksDir, links.Find(folder->Title() + QStringLiteral(".wnl")));
        previous = merger.MergeFolder(TargetParent(previous, previousDepth, depth),
                                      std::move(folder));
        previousDepth = depth;
        if (IsExistingFile(linksFile))
            ReadBookmarks(merger, *previous, linksFile);
    }
}
