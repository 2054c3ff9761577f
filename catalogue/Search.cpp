#include "catalogue/Search.h"
#include "catalogue/Catalog.h"
#include "catalogue/FolderWalk.h"
#include "platform/AsciiCase.h"

#include <algorithm>
#include <vector>

namespace {

// Unit i of the text lower-cased character by character, which keeps every
// position: QString::toLower would turn "İ" into two units and shift the rest.
// A surrogate pair is lowered as one character when its lower case is a pair too.
inline char16_t LoweredUnit(const char16_t *s, qsizetype size, qsizetype i)
{
    const char16_t c = s[i];
    if (c < 0x80)
        return AsciiLowerChar(c);
    if (!QChar::isSurrogate(c))
        return QChar(c).toLower().unicode();
    const qsizetype high = QChar::isHighSurrogate(c) ? i : i - 1;
    if (high < 0 || high + 1 >= size || !QChar::isHighSurrogate(s[high])
        || !QChar::isLowSurrogate(s[high + 1]))
        return c;
    const char32_t lower = QChar::toLower(QChar::surrogateToUcs4(s[high], s[high + 1]));
    if (!QChar::requiresSurrogates(lower))
        return c;
    return high == i ? QChar::highSurrogate(lower) : QChar::lowSurrogate(lower);
}

QString Lowered(const QString &text)
{
    QString lowered(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        lowered[i] = QChar(LoweredUnit(QStringView(text).utf16(), text.size(), i));
    return lowered;
}

// The first index >= from at which the lower-cased needle occurs in the field
// lower-cased unit by unit; -1 when there is none. Nothing is allocated.
qsizetype FindLowered(const QString &field, qsizetype from, const QString &needle)
{
    const char16_t *s = QStringView(field).utf16();
    const char16_t *p = QStringView(needle).utf16();
    const qsizetype n = field.size();
    const qsizetype m = needle.size();
    for (qsizetype i = from; i + m <= n; ++i) {
        if (LoweredUnit(s, n, i) != p[0])
            continue;
        qsizetype j = 1;
        while (j < m && LoweredUnit(s, n, i + j) == p[j])
            ++j;
        if (j == m)
            return i;
    }
    return -1;
}

// Moves the cursor from place to place in tree order. List positions are learned
// once (GetIndex scans a list) and then carried along, so a walk through a folder
// of a million bookmarks, or past a hundred thousand sibling folders, stays linear.
class Walker
{
public:
    explicit Walker(TSearchRec &rec) : m_rec(rec) {}

    // The next place; false when there is none (the cursor keeps the last one).
    bool Advance()
    {
        if (!m_rec.Bookmark) {
            if (m_rec.Field == sfTitle) {
                m_rec.Field = sfDescription;
                return true;
            }
            m_rec.Field = sfTitle;
            return ToBookmark(0) || ToSubFolderOrNext();
        }
        if (m_rec.Field == sfTitle || m_rec.Field == sfAddress) {
            m_rec.Field = m_rec.Field == sfTitle ? sfAddress : sfDescription;
            return true;
        }
        m_rec.Field = sfTitle;
        if (m_bookmarkIndex < 0)
            m_bookmarkIndex = m_rec.Bookmark->GetIndex(); // its own list's position
        return ToBookmark(m_bookmarkIndex + 1) || ToSubFolderOrNext();
    }

private:
    bool ToBookmark(int index)
    {
        const TBookmarks &bookmarks = m_rec.Folder->Bookmarks();
        if (index >= bookmarks.Count())
            return false;
        m_rec.Bookmark = bookmarks.At(index);
        m_bookmarkIndex = index;
        return true;
    }

    bool ToSubFolderOrNext()
    {
        TFolder *next = nullptr;
        if (!m_rec.Folder->Folders().IsEmpty()) {
            next = m_rec.Folder->Folders().At(0);
            m_path.push_back(0);
        } else {
            next = NextFolderTracked();
        }
        if (!next)
            return false;
        m_rec.Folder = next;
        m_rec.Bookmark = nullptr;
        m_bookmarkIndex = -1;
        return true;
    }

    // NextFolder(m_rec.Folder), with the positions the walk already knows.
    TFolder *NextFolderTracked()
    {
        for (TFolder *f = m_rec.Folder; f && f->List(); f = f->Parent()) {
            const TFolders &list = *f->List();
            int index = -1;
            if (!m_path.empty()) {
                index = m_path.back();
                m_path.pop_back();
            }
            if (index < 0 || index >= list.Count() || list.At(index) != f)
                index = f->GetIndex();
            if (index < list.Count() - 1) {
                m_path.push_back(index + 1);
                return list.At(index + 1);
            }
        }
        return nullptr;
    }

    TSearchRec &m_rec;
    int m_bookmarkIndex = -1; // position of m_rec.Bookmark in its list; -1 unknown
    std::vector<int> m_path;  // positions of the folder and its ancestors, innermost last
};

bool HoldsFolder(const TFolders &roots, const TFolder *wanted)
{
    bool found = false;
    ForEachFolder(roots, [&found, wanted](const TFolder &folder) {
        found = found || &folder == wanted;
        return !found; // once found, the walk only passes the rest by
    });
    return found;
}

void RestartAtTitle(TSearchRec &rec)
{
    rec.Bookmark = nullptr;
    rec.Field = sfTitle;
    rec.FoundPos = 1;
    rec.NextPos = 1;
}

} // namespace

const QString &SearchFieldText(const TSearchRec &rec)
{
    static const QString none; // a folder has no address
    if (rec.Bookmark) {
        switch (rec.Field) {
        case sfAddress:
            return rec.Bookmark->Address();
        case sfDescription:
            return rec.Bookmark->Description();
        default:
            return rec.Bookmark->Title();
        }
    }
    if (rec.Field == sfTitle)
        return rec.Folder->Title();
    return rec.Field == sfDescription ? rec.Folder->Description() : none;
}

bool FindNext(TSearchRec &rec)
{
    if (rec.Text.isEmpty() || !rec.Folder)
        return false;
    const QString needle = Lowered(rec.Text);
    Walker walker(rec);
    for (;;) {
        rec.FoundPos = std::max(rec.NextPos, 1);
        const qsizetype at = FindLowered(SearchFieldText(rec), rec.FoundPos - 1, needle);
        if (at >= 0) {
            rec.FoundPos = int(at) + 1;
            rec.NextPos = rec.FoundPos + int(needle.size());
            return true;
        }
        rec.FoundPos = 1;
        rec.NextPos = 1;
        if (!walker.Advance())
            return false;
    }
}

TFolder *NextFolder(TFolder *folder)
{
    for (TFolder *f = folder; f && f->List(); f = f->Parent()) {
        const int index = f->GetIndex();
        if (index < f->List()->Count() - 1)
            return f->List()->At(index + 1);
    }
    return nullptr;
}

void ValidateSearchRec(TSearchRec &rec, const TCatalog &catalog)
{
    // Only pointers are compared: the objects named may have been freed.
    if (rec.Folder && !HoldsFolder(catalog.Folders(), rec.Folder)) {
        rec.Folder = nullptr;
        RestartAtTitle(rec);
        return;
    }
    const bool held = rec.Folder && rec.Folder->Bookmarks().IndexOf(rec.Bookmark) >= 0;
    if ((rec.Bookmark && !held) || (!rec.Bookmark && rec.Field == sfAddress))
        RestartAtTitle(rec);
}
