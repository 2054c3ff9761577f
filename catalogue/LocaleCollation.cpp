#include "catalogue/LocaleCollation.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

namespace {

// The settings QCollator gives a collator with case ignored: canonical
// equivalents alike, accents counted, case not, digits one by one, punctuation
// compared like letters.
UCollator *OpenCollator(const QLocale &locale)
{
    const QByteArray name = locale.bcp47Name().replace(u'-', u'_').toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    UCollator *collator = ucol_open(name.constData(), &status);
    if (U_FAILURE(status))
        return nullptr;
    ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    if (U_FAILURE(status)) {
        ucol_close(collator);
        return nullptr;
    }
    return collator;
}

const UChar *Units(QStringView text)
{
    return reinterpret_cast<const UChar *>(text.utf16());
}

struct CloseCollator
{
    void operator()(UCollator *collator) const { ucol_close(collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CloseCollator>;

// A key's first 16 bytes, big-endian and padded with 0, decide most comparisons
// without reading the key itself; a key holds no 0 byte before its end mark.
struct Entry
{
    uint64_t high;
    uint64_t low;
    const char *rest; // the key from its 17th byte on, when it is that long
    int index;
};

Entry MakeEntry(const char *key, int index)
{
    uint64_t prefix[2] = {0, 0};
    bool ended = false;
    for (int i = 0; i < 16; ++i) {
        const uint8_t byte = ended ? 0 : uint8_t(key[i]);
        ended = byte == 0;
        prefix[i / 8] = prefix[i / 8] << 8 | byte;
    }
    return {prefix[0], prefix[1], key + 16, index};
}

// Equal keys order by position, which keeps equal texts in their order.
bool Less(const Entry &a, const Entry &b)
{
    if (a.high != b.high)
        return a.high < b.high;
    if (a.low != b.low)
        return a.low < b.low;
    if ((a.low & 0xff) != 0) { // both go on past the prefix
        const int c = std::strcmp(a.rest, b.rest);
        if (c != 0)
            return c < 0;
    }
    return a.index < b.index;
}

// Sort keys one after another in large blocks, which never move.
class KeyPool
{
public:
    // Returns the key of text, with its end mark.
    const char *Add(const UCollator *collator, QStringView text)
    {
        int32_t length = Write(collator, text);
        if (length > int32_t(m_free)) {
            NewBlock(std::max(kBlock, size_t(length)));
            length = Write(collator, text);
        }
        if (length <= 0) // a failure: keyed as an empty text
            return "";
        const char *key = m_next;
        m_next += length;
        m_free -= size_t(length);
        return key;
    }

private:
    static constexpr size_t kBlock = 256 * 1024;

    int32_t Write(const UCollator *collator, QStringView text)
    {
        return ucol_getSortKey(collator, Units(text), int32_t(text.size()),
                               reinterpret_cast<uint8_t *>(m_next), int32_t(m_free));
    }

    void NewBlock(size_t size)
    {
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        m_next = m_blocks.back().get();
        m_free = size;
    }

    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_next = nullptr;
    size_t m_free = 0;
};

// How many parts the texts are keyed and sorted in, each on a thread of its own
// before the parts are merged: making a key costs far more than comparing two,
// and a large folder has many to make.
int PartCount(int count)
{
    constexpr int kTextsPerPart = 8192;
    const int cores = int(std::min(8u, std::max(1u, std::thread::hardware_concurrency())));
    return std::clamp(count / kTextsPerPart, 1, cores);
}

// Keys the texts first..last-1 and sorts them by their keys.
void SortPart(const UCollator *collator, const LocaleCollation::TextAt &text, int first,
              int last, KeyPool &pool, Entry *entries)
{
    QString line;
    for (int i = first; i < last; ++i) {
        text(i, line);
        entries[i] = MakeEntry(pool.Add(collator, line), i);
    }
    std::sort(entries + first, entries + last, Less);
}

// The texts 0..total-1 cut into count parts of nearly equal size.
struct Parts
{
    int total;
    int count;
    // Where part begins (part == count: where the last one ends).
    int Bound(int part) const { return int(int64_t(total) * part / count); }
};

// Runs keyPart for each part, the first on this thread and each other on a thread
// of its own. A collator serves one thread at a time: each other part keys with a
// copy.
void SortParts(const UCollator *collator, int count,
               const std::function<void(const UCollator *, int)> &keyPart)
{
    std::vector<CollatorPtr> copies;
    std::vector<std::jthread> workers;
    copies.reserve(size_t(count));
    workers.reserve(size_t(count));
    for (int part = 1; part < count; ++part) {
        UErrorCode status = U_ZERO_ERROR;
        copies.emplace_back(ucol_clone(collator, &status));
        bool started = false;
        if (U_SUCCESS(status)) {
            try {
                workers.emplace_back(keyPart, copies.back().get(), part);
                started = true;
            } catch (const std::system_error &) {
            }
        }
        if (!started) // no copy or no thread: this one keys the part too
            keyPart(collator, part);
    }
    keyPart(collator, 0);
} // the workers are joined here, before their copies close

// Merges the sorted parts pairwise, then the pairs, and so on.
void MergeParts(std::vector<Entry> &entries, const Parts &parts)
{
    for (int width = 1; width < parts.count; width *= 2) {
        for (int part = 0; part + width < parts.count; part += 2 * width) {
            const auto begin = entries.begin();
            std::inplace_merge(begin + parts.Bound(part), begin + parts.Bound(part + width),
                               begin + parts.Bound(std::min(part + 2 * width, parts.count)),
                               Less);
        }
    }
}

} // namespace

LocaleCollation::LocaleCollation(const QLocale &locale) : m_collator(OpenCollator(locale)) {}

LocaleCollation::~LocaleCollation()
{
    if (m_collator)
        ucol_close(m_collator);
}

int LocaleCollation::Compare(QStringView a, QStringView b) const
{
    return ucol_strcoll(m_collator, Units(a), int32_t(a.size()), Units(b), int32_t(b.size()));
}

std::vector<int> LocaleCollation::AscendingOrder(int count, const TextAt &text) const
{
    std::vector<Entry> entries(size_t(std::max(count, 0)));
    const Parts parts{count, PartCount(count)};
    std::vector<KeyPool> pools(static_cast<size_t>(parts.count));
    const auto keyPart = [&](const UCollator *collator, int part) {
        SortPart(collator, text, parts.Bound(part), parts.Bound(part + 1), pools[size_t(part)],
                 entries.data());
    };
    SortParts(m_collator, parts.count, keyPart);
    MergeParts(entries, parts);
    std::vector<int> order;
    order.reserve(entries.size());
    for (const Entry &entry : entries)
        order.push_back(entry.index);
    return order;
}
