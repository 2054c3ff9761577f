#pragma once
// The catalogue file read in blocks for the streaming reader, and the scans it
// makes over them. The bytes not yet consumed move to the front of the buffer when
// more is read, so what a scan has found is whole in memory; the buffer grows for
// a run longer than itself. Offsets count from Data(). With SSE2 the scans take 16
// bytes at a time: the file is mostly indentation and values.

#include "catalogue/CatalogFileSyntax.h"
#include "catalogue/XmlChars.h"

#include <QFile>

#include <bit>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class CatalogFileInput
{
public:
    static constexpr qsizetype kBlock = 64 * 1024;

    // block: the bytes read at a time; tests make it small, so that every token
    // meets the end of a block somewhere.
    explicit CatalogFileInput(qsizetype block = kBlock) : m_block(qMax(block, qsizetype(1))) {}

    bool Open(const QString &fileName);

    const char *Data() const { return m_buffer.get() + m_pos; }
    qsizetype Size() const { return m_end - m_pos; }
    void Consume(qsizetype n) { m_pos += n; }
    // A read failed (the end of the file is no failure).
    bool Failed() const { return m_failed; }

    // Reads more, keeping what is not consumed; false at the end of the file.
    bool More();
    // Reads until n bytes are at hand; false when the file ends first.
    bool Ensure(qsizetype n);
    // The first c at or after from; -1 when the file ends first.
    qsizetype Find(char c, qsizetype from);

    // The first byte that is not white space; Size() at the end of the file.
    qsizetype SkipSpace()
    {
        qsizetype i = 0;
        for (;;) {
            const char *p = Data();
            const qsizetype n = Size();
#if defined(__SSE2__)
            for (; i + 16 <= n; i += 16)
                if (const unsigned space = Matches<' ', '\t', '\n', '\r'>(p + i); space != 0xFFFF)
                    return i + std::countr_zero(~space);
#endif
            for (; i < n; ++i)
                if (!CatalogFileSyntax::Is(p[i], CatalogFileSyntax::kSpace))
                    return i;
            if (!More())
                return i;
        }
    }

    // The first '<', '&', '>', or control character but tab and line feed at or
    // after from: where a text ends that holds nothing to resolve or refuse ("]]>",
    // a NUL). -1 when the file ends first, -2 at bytes before it that are not UTF-8
    // of characters XML allows. ascii tells whether the bytes from `from` to there
    // are all ASCII. Inlined into its one caller: called for every text, as a
    // function it cost the load a twentieth of its time.
    Q_ALWAYS_INLINE qsizetype FindTextEnd(qsizetype from, bool &ascii)
    {
        unsigned high = 0;
        qsizetype i = from;
        qsizetype whole = from; // the bytes before it are checked sequences
        for (;;) {
            const char *p = Data();
            const qsizetype n = Size();
#if defined(__SSE2__)
            // A sequence that begins in the 16 bytes ends before n.
            for (; i + 16 + 3 <= n; i += 16) {
                const unsigned ends = TextEnds(p + i);
                const unsigned before = ends ? (1u << std::countr_zero(ends)) - 1 : 0xFFFF;
                const unsigned nonAscii = HighBits(p + i) & before;
                if (nonAscii && !Utf8Sequences(p, i, nonAscii, whole))
                    return -2;
                high |= nonAscii;
                if (ends) {
                    ascii = !high;
                    return i + std::countr_zero(ends);
                }
            }
#endif
            for (; i < n; ++i) {
                const char c = p[i];
                if (c == '<' || c == '&' || c == '>'
                    || (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n')) {
                    ascii = !high;
                    return i;
                }
                if (!(c & 0x80) || i < whole)
                    continue;
                high = 1;
                if (n - i < 4)
                    break; // perhaps a sequence that goes on past n
                if (!Utf8Sequences(p, i, 1, whole))
                    return -2;
            }
            if (!More())
                return -1;
        }
    }

    // Where a name at p + from ends: the first '>', '/' or white space, or n when
    // there is none before n.
    static qsizetype NameEnd(const char *p, qsizetype from, qsizetype n)
    {
        qsizetype i = from;
#if defined(__SSE2__)
        for (; i + 16 <= n; i += 16)
            if (const unsigned ends = Matches<'>', '/', ' ', '\t', '\n', '\r'>(p + i))
                return i + std::countr_zero(ends);
#endif
        while (i < n && p[i] != '>' && p[i] != '/'
               && !CatalogFileSyntax::Is(p[i], CatalogFileSyntax::kSpace))
            ++i;
        return i;
    }

private:
    // Checks the UTF-8 sequences that begin at the bytes of mask (bit k: p[i + k]),
    // each with up to three bytes after it at hand, and sets whole past each; a
    // byte before whole is inside a sequence checked before. U+FFFE and U+FFFF are
    // UTF-8, but no characters of XML.
    Q_ALWAYS_INLINE static bool Utf8Sequences(const char *p, qsizetype i, unsigned mask,
                                              qsizetype &whole)
    {
        for (; mask; mask &= mask - 1) {
            const qsizetype at = i + std::countr_zero(mask);
            if (at < whole)
                continue;
            char32_t c = 0;
            const auto *bytes = reinterpret_cast<const unsigned char *>(p + at);
            const int size = Utf8SequenceSize(bytes, 4, c);
            if (size == 0 || c == 0xFFFE || c == 0xFFFF)
                return false;
            whole = at + size;
        }
        return true;
    }

#if defined(__SSE2__)
    // Bit k set when byte k of the 16 at p is one of Cs.
    template <char... Cs>
    static unsigned Matches(const char *p)
    {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        __m128i any = _mm_setzero_si128();
        ((any = _mm_or_si128(any, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Cs)))), ...);
        return unsigned(_mm_movemask_epi8(any));
    }
    // Bit k set when byte k of the 16 at p ends a text for FindTextEnd.
    static unsigned TextEnds(const char *p)
    {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i last = _mm_set1_epi8(0x1F);
        const __m128i control = _mm_andnot_si128(
            _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('\t')),
                         _mm_cmpeq_epi8(b, _mm_set1_epi8('\n'))),
            _mm_cmpeq_epi8(_mm_max_epu8(b, last), last));
        const __m128i markup = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('<')),
                         _mm_cmpeq_epi8(b, _mm_set1_epi8('&'))),
            _mm_cmpeq_epi8(b, _mm_set1_epi8('>')));
        return unsigned(_mm_movemask_epi8(_mm_or_si128(control, markup)));
    }
    // Bit k set when byte k of the 16 at p is not ASCII.
    static unsigned HighBits(const char *p)
    {
        return unsigned(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p))));
    }
#endif

    QFile m_file;
    std::unique_ptr<char[]> m_buffer;
    const qsizetype m_block;
    qsizetype m_capacity = 0;
    qsizetype m_pos = 0;
    qsizetype m_end = 0;
    bool m_failed = false;
};
