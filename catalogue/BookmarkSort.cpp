// TBookmarks::Sort: one stable sort on precomputed collation keys.
//
// The order is that of the lines "field%index" compared by the locale with case
// ignored, fields that compare equal keeping their relative order. Beyond that
// tie, the index inside a line only decides between two different fields in two
// cases: one field continues the other with "%" and a digit ("x" / "x%1"), or the
// two differ only in accents ("Cafe" / "Café"). There the order of the lines
// depends on positions that change as items move, and moving one item at a time
// until the lines are in order can swap two items forever (positions 9 and 10:
// "%10" sorts before "%9"). So each field is keyed as field + "%0": the same
// order wherever the index plays no part, and one fixed order in those cases.
//
// The list is sorted again each time it is shown, so it mostly stands in order
// already (ascending, or descending after a reversed sort): one pass over
// neighbouring lines finds that and skips the sort. Under a real locale that pass
// compares the lines themselves, since making a key costs far more than that.

#include "catalogue/Bookmarks.h"
#include "catalogue/LocaleCollation.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

namespace {

const QString &SortField(const TBookmark &bookmark, TSortType key)
{
    static const QString none; // a mode out of range compares nothing: all fields equal
    switch (key) {
    case stTitle:
        return bookmark.Title();
    case stAddress:
        return bookmark.Address();
    case stLastVisit:
        return bookmark.LastVisit();
    case stAddDate:
        return bookmark.AddDate();
    default:
        return none;
    }
}

// The sort fields in list order. Reaching a field takes three loads, each waiting
// for the one before (bookmark, shared text block, characters), at addresses in no
// order once the list has been shuffled or sorted by another field; each is asked
// for some bookmarks ahead, so that the waits overlap with the work on the keys.
// It only reads, so several threads may use one reader at once.
class FieldReader
{
public:
    FieldReader(const TBookmarks &list, TSortType key) : m_list(list), m_key(key) {}

    QStringView At(int i) const
    {
        const int count = m_list.Count();
        if (i + 3 * kAhead < count)
            __builtin_prefetch(m_list.At(i + 3 * kAhead));
        if (i + 2 * kAhead < count)
            __builtin_prefetch(&SortField(*m_list.At(i + 2 * kAhead), m_key));
        if (i + kAhead < count) {
            const QString &ahead = SortField(*m_list.At(i + kAhead), m_key);
            const char *chars = reinterpret_cast<const char *>(ahead.constData());
            const qsizetype bytes = std::min<qsizetype>(ahead.size() * 2, 4 * 64);
            for (qsizetype offset = 0; offset < bytes; offset += 64)
                __builtin_prefetch(chars + offset);
        }
        return SortField(*m_list.At(i), m_key);
    }

private:
    static constexpr int kAhead = 4;
    const TBookmarks &m_list;
    TSortType m_key;
};

// The stable ascending order of count keys when they already stand in order,
// ascending or descending; empty otherwise. compareAdjacent(i) compares key i - 1
// with key i (negative, zero, positive); it is called for i = 1, 2, ... in turn,
// each once, and no further than the first sign that the keys are out of order.
// Descending keys give their runs of equal keys from last to first, each run in
// its own order.
template <typename Compare>
std::vector<int> PresortedOrder(int count, Compare compareAdjacent)
{
    std::vector<bool> equalToPrevious(static_cast<size_t>(count));
    bool rises = false;
    bool falls = false;
    for (int i = 1; i < count; ++i) {
        const int c = compareAdjacent(i);
        rises = rises || c < 0;
        falls = falls || c > 0;
        if (rises && falls)
            return {};
        equalToPrevious[size_t(i)] = c == 0;
    }
    std::vector<int> order(static_cast<size_t>(count));
    if (!falls) {
        std::iota(order.begin(), order.end(), 0);
        return order;
    }
    size_t out = 0;
    for (int end = count; end > 0;) {
        int start = end - 1;
        while (start > 0 && equalToPrevious[size_t(start)])
            --start;
        for (int i = start; i < end; ++i)
            order[out++] = i;
        end = start;
    }
    return order;
}

// The "C" locale's keys, all in one pool. QCollator compares there field + "%0"
// with each unit case-folded, a low surrogate after a high one as its whole code
// point, in code point order (its sort keys there would not fold case). Each
// folded unit is pooled plus one, so that 0 ends a key and a key sorts before the
// keys that continue it; an entry carries its key's first three values packed
// (each under 2^21), so that most comparisons read no pool.
class FoldedKeys
{
public:
    FoldedKeys(const TBookmarks &list, TSortType key)
    {
        const int count = list.Count();
        const FieldReader fields(list, key);
        m_entries.reserve(size_t(count));
        m_pool.reserve(size_t(count) * 32);
        for (int i = 0; i < count; ++i) {
            const size_t offset = Append(fields.At(i));
            const char32_t *k = m_pool.data() + offset; // at least "%0" and the end
            const uint64_t prefix = uint64_t(k[0]) << 42 | uint64_t(k[1]) << 21 | k[2];
            m_entries.push_back({prefix, offset, i});
        }
    }

    std::vector<int> AscendingOrder()
    {
        const int count = int(m_entries.size());
        std::vector<int> order = PresortedOrder(count, [this](int i) {
            return Compare(m_entries[size_t(i) - 1], m_entries[size_t(i)]);
        });
        if (!order.empty())
            return order;
        const auto less = [this](const Entry &a, const Entry &b) { return Compare(a, b) < 0; };
        std::stable_sort(m_entries.begin(), m_entries.end(), less);
        order.reserve(size_t(count));
        for (const Entry &entry : m_entries)
            order.push_back(entry.index);
        return order;
    }

private:
    struct Entry
    {
        uint64_t prefix;
        size_t offset; // in m_pool
        int index;
    };

    // Pools field + "%0" and the end mark; returns where the key starts.
    size_t Append(QStringView field)
    {
        const size_t offset = m_pool.size();
        m_pool.resize(offset + size_t(field.size()) + 3);
        char32_t *out = m_pool.data() + offset;
        char16_t last = 0;
        for (const QChar ch : field) {
            const char16_t unit = ch.unicode();
            char32_t c = unit;
            if (c < 0x80)
                c = AsciiLowerChar(c);
            else if (QChar::isLowSurrogate(c) && QChar::isHighSurrogate(last))
                c = QChar::toCaseFolded(QChar::surrogateToUcs4(last, unit));
            else
                c = QChar::toCaseFolded(c);
            *out++ = c + 1;
            last = unit;
        }
        *out++ = U'%' + 1;
        *out++ = U'0' + 1;
        *out = 0;
        return offset;
    }

    int Compare(const Entry &a, const Entry &b) const
    {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix ? -1 : 1;
        if ((a.prefix & 0x1fffff) == 0) // both ended within the prefix
            return 0;
        const char32_t *p = m_pool.data() + a.offset + 3;
        const char32_t *q = m_pool.data() + b.offset + 3;
        while (*p == *q && *p) {
            ++p;
            ++q;
        }
        return *p == *q ? 0 : (*p < *q ? -1 : 1);
    }

    std::vector<char32_t> m_pool;
    std::vector<Entry> m_entries;
};

// The order under a real locale: the lines compared as they stand first, keys
// only for a list out of order.
std::vector<int> CollatedOrder(const TBookmarks &list, TSortType key,
                               const LocaleCollation &collation)
{
    const int count = list.Count();
    const FieldReader fields(list, key);
    const auto makeLine = [&fields](int i, QString &line) {
        line.resize(0);
        line += fields.At(i);
        line += QLatin1String("%0");
    };
    QString previous;
    QString current;
    makeLine(0, current);
    std::vector<int> order = PresortedOrder(count, [&](int i) {
        previous.swap(current);
        makeLine(i, current);
        return collation.Compare(previous, current);
    });
    if (!order.empty())
        return order;
    return collation.AscendingOrder(count, makeLine);
}

// Positions 0..n-1 in ascending order of their fields; equal fields keep their order.
std::vector<int> AscendingOrder(const TBookmarks &list, TSortType key)
{
    // The default locale's collation: the user's LC_COLLATE unless the program set a locale.
    const QLocale locale = QLocale().collation();
    if (locale.language() != QLocale::C) {
        const LocaleCollation collation(locale);
        if (collation.IsValid())
            return CollatedOrder(list, key, collation);
    }
    return FoldedKeys(list, key).AscendingOrder();
}

} // namespace

void TBookmarks::Sort(TSortType key, bool reversed)
{
    if (key == stUnsorted || Count() < 2)
        return;
    std::vector<int> order = AscendingOrder(*this, key);
    if (reversed)
        std::reverse(order.begin(), order.end());
    int unmoved = 0;
    while (unmoved < Count() && order[size_t(unmoved)] == unmoved)
        ++unmoved;
    if (unmoved == Count())
        return;

    // Every bookmark object stays, with its Owner; only the order of the list changes.
    auto &items = Items();
    std::vector<std::unique_ptr<TBookmark>> sorted;
    sorted.reserve(items.size());
    for (int index : order)
        sorted.push_back(std::move(items[size_t(index)]));
    items.swap(sorted);
}
