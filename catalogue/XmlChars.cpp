#include "catalogue/XmlChars.h"

#include <QStringView>

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// 1, or 2 for a surrogate pair, when XML holds the character at text[i]; else 0.
qsizetype XmlCharLength(QStringView text, qsizetype i)
{
    const char16_t u = text[i].unicode();
    if (QChar::isHighSurrogate(u))
        return i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 0;
    return !QChar::isLowSurrogate(u) && IsXmlChar(u) ? 1 : 0;
}

// The bytes that need a closer look: the forbidden C0 controls, and 0xEF, which
// begins U+FFFE and U+FFFF (and much else).
bool Suspect(unsigned char c)
{
    return c < 0x20 ? c != '\t' && c != '\n' && c != '\r' : c == 0xEF;
}

qsizetype NextSuspect(const unsigned char *p, qsizetype i, qsizetype n)
{
#if defined(__SSE2__)
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    for (; i + 16 <= n; i += 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i control = _mm_cmpeq_epi8(_mm_max_epu8(b, lastControl), lastControl);
        const __m128i allowed = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('\t')),
                         _mm_cmpeq_epi8(b, _mm_set1_epi8('\n'))),
            _mm_cmpeq_epi8(b, _mm_set1_epi8('\r')));
        const __m128i suspect = _mm_or_si128(_mm_andnot_si128(allowed, control),
                                             _mm_cmpeq_epi8(b, _mm_set1_epi8(char(0xEF))));
        if (const unsigned mask = unsigned(_mm_movemask_epi8(suspect)))
            return i + std::countr_zero(mask);
    }
#endif
    while (i < n && !Suspect(p[i]))
        ++i;
    return i;
}

// The first forbidden control or U+FFFE/U+FFFF in the bytes; -1 when none.
qsizetype FirstForbidden(QByteArrayView bytes, char32_t &character)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = NextSuspect(p, 0, n); i < n; i = NextSuspect(p, i + 1, n)) {
        if (p[i] < 0x20) {
            character = p[i];
            return i;
        }
        if (i + 2 < n && p[i + 1] == 0xBF && (p[i + 2] == 0xBE || p[i + 2] == 0xBF)) {
            character = p[i + 2] == 0xBE ? 0xFFFE : 0xFFFF;
            return i;
        }
    }
    return -1;
}

// Where the first sequence that is not UTF-8 begins, in bytes that hold one:
// long runs, cut where a sequence begins, are checked whole first.
qsizetype FirstInvalidUtf8(QByteArrayView utf8)
{
    constexpr qsizetype kRun = 4096;
    qsizetype i = 0;
    while (utf8.size() - i > kRun) {
        qsizetype end = i + kRun;
        while (end > i && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            --end;
        if (end == i || !utf8.sliced(i, end - i).isValidUtf8())
            break;
        i = end;
    }
    while (i < utf8.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const qsizetype length = lead < 0x80 ? 1
            : lead < 0xC2                     ? 0
            : lead < 0xE0                     ? 2
            : lead < 0xF0                     ? 3
            : lead < 0xF5                     ? 4
                                              : 0;
        if (length == 0 || length > utf8.size() - i || !utf8.sliced(i, length).isValidUtf8())
            return i;
        i += length;
    }
    return i;
}

} // namespace

QString XmlCharsOnly(const QString &text)
{
    qsizetype i = 0;
    for (qsizetype n; i < text.size() && (n = XmlCharLength(text, i)) > 0;)
        i += n;
    if (i == text.size())
        return text;
    QString clean = text.first(i);
    while (i < text.size()) {
        const qsizetype n = XmlCharLength(text, i);
        clean += QStringView(text).sliced(i, n);
        i += qMax(n, qsizetype(1));
    }
    return clean;
}

// A forbidden control inside a sequence cuts the bytes before it short, so the
// encoding fault is found first, where it begins.
XmlUtf8Fault CheckXmlUtf8(QByteArrayView utf8)
{
    char32_t character = 0;
    const qsizetype forbidden = FirstForbidden(utf8, character);
    const QByteArrayView before = forbidden < 0 ? utf8 : utf8.first(forbidden);
    if (!before.isValidUtf8())
        return {XmlUtf8Fault::Encoding, FirstInvalidUtf8(before), 0};
    if (forbidden >= 0)
        return {XmlUtf8Fault::Character, forbidden, character};
    return {};
}

qsizetype CompleteUtf8Size(QByteArrayView utf8)
{
    const qsizetype n = utf8.size();
    for (qsizetype k = 1; k <= qMin(n, qsizetype(3)); ++k) {
        const unsigned char c = static_cast<unsigned char>(utf8[n - k]);
        if ((c & 0xC0) == 0x80)
            continue;
        const qsizetype length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > k ? n - k : n;
    }
    return n;
}
