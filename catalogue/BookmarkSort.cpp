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

#include "catalogue/Bookmarks.h"

#include <QCollator>
#include <QCollatorSortKey>

#include <algorithm>
#include <functional>
#include <string>
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

// What QCollator compares in the "C" locale, for field + "%0": each unit
// case-folded, a low surrogate after a high one as its whole code point, in code
// point order. (Its sort keys there would not fold case.)
std::u32string FoldedKey(QStringView field)
{
    std::u32string key(size_t(field.size()), U'\0');
    char16_t last = 0;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char16_t unit = field[i].unicode();
        char32_t c = unit;
        if (c < 0x80)
            c = char32_t(c - U'A') < 26 ? c + 32 : c;
        else if (QChar::isLowSurrogate(c) && QChar::isHighSurrogate(last))
            c = QChar::toCaseFolded(QChar::surrogateToUcs4(last, unit));
        else
            c = QChar::toCaseFolded(c);
        key[size_t(i)] = c;
        last = unit;
    }
    return key + U"%0";
}

// Positions 0..n-1 in ascending order of their keys; equal keys keep their order.
template <typename Key, typename Less>
std::vector<int> StableOrder(const std::vector<Key> &keys, Less less)
{
    std::vector<int> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return less(keys[size_t(a)], keys[size_t(b)]);
    });
    return order;
}

std::vector<int> AscendingOrder(const TBookmarks &list, TSortType key)
{
    // The default locale's collation: the user's LC_COLLATE unless the program set a locale.
    QCollator collator(QLocale().collation());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    if (collator.locale().language() == QLocale::C) {
        std::vector<std::u32string> keys;
        keys.reserve(size_t(list.Count()));
        for (const auto &bookmark : list)
            keys.push_back(FoldedKey(SortField(*bookmark, key)));
        return StableOrder(keys, std::less<>());
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(list.Count()));
    QString text;
    for (const auto &bookmark : list) {
        text.resize(0);
        text += SortField(*bookmark, key);
        text += QLatin1String("%0");
        keys.push_back(collator.sortKey(text));
    }
    return StableOrder(keys, [](const QCollatorSortKey &a, const QCollatorSortKey &b) {
        return a.compare(b) < 0;
    });
}

} // namespace

void TBookmarks::Sort(TSortType key, bool reversed)
{
    if (key == stUnsorted || Count() < 2)
        return;
    std::vector<int> order = AscendingOrder(*this, key);
    if (reversed)
        std::reverse(order.begin(), order.end());

    // Every bookmark object stays, with its Owner; only the order of the list changes.
    auto &items = Items();
    std::vector<std::unique_ptr<TBookmark>> sorted;
    sorted.reserve(items.size());
    for (int index : order)
        sorted.push_back(std::move(items[size_t(index)]));
    items.swap(sorted);
}
