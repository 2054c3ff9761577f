#include "catalogue/XmlChars.h"

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

// The first byte from i on that is not ASCII or is a control character but tab,
// line feed and carriage return; n when there is none.
qsizetype NextSpecial(const unsigned char *p, qsizetype i, qsizetype n)
{
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        // As signed bytes, those from 0x80 up are negative: less than a blank.
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i allowed = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('\t')),
                         _mm_cmpeq_epi8(b, _mm_set1_epi8('\n'))),
            _mm_cmpeq_epi8(b, _mm_set1_epi8('\r')));
        const __m128i special = _mm_andnot_si128(allowed, _mm_cmplt_epi8(b, _mm_set1_epi8(' ')));
        if (const unsigned mask = unsigned(_mm_movemask_epi8(special)))
            return i + std::countr_zero(mask);
    }
#endif
    for (; i < n; ++i)
        if (p[i] >= 0x80 || (p[i] < 0x20 && p[i] != '\t' && p[i] != '\n' && p[i] != '\r'))
            return i;
    return n;
}

} // namespace

qsizetype FirstNonXmlChar(QStringView text)
{
    qsizetype i = 0;
    for (qsizetype n; i < text.size() && (n = XmlCharLength(text, i)) > 0;)
        i += n;
    return i == text.size() ? -1 : i;
}

QString XmlCharsOnly(const QString &text)
{
    qsizetype i = FirstNonXmlChar(text);
    if (i < 0)
        return text;
    QString clean = text.first(i);
    while (i < text.size()) {
        const qsizetype n = XmlCharLength(text, i);
        clean += QStringView(text).sliced(i, n);
        i += qMax(n, qsizetype(1));
    }
    return clean;
}

// ASCII goes 16 bytes at a time, each other character by its sequence. Qt's
// isValidUtf8 took three times as long on a catalogue with an accented word in
// every few titles, and it knows nothing of the characters XML forbids.
XmlUtf8Fault CheckXmlUtf8(QByteArrayView utf8)
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const qsizetype n = utf8.size();
    for (qsizetype i = NextSpecial(p, 0, n); i < n;) {
        char32_t c = p[i];
        const int length = c < 0x80 ? 0 : Utf8SequenceSize(p + i, n - i, c);
        if (c >= 0x80 && length == 0)
            return {XmlUtf8Fault::Encoding, i, 0};
        if (length == 0 || !IsXmlChar(c))
            return {XmlUtf8Fault::Character, i, c};
        i = NextSpecial(p, i + length, n);
    }
    return {};
}
